#include "UserFixture.h"

#include "platform/win/user/NonClient.h"

namespace {

const std::set<UINT> kLifeCycle = {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                                   WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_ACTIVATEAPP,
                                   WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_DESTROY, WM_NCDESTROY,
                                   WM_PARENTNOTIFY};

TEST_F(UserTest, CreatingAVisibleTopLevelWindowSendsTheCreationAndActivationSequence) {
    HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20, 300, 200);
    ASSERT_TRUE(IsWindow(top));
    const std::vector<UINT> expected = {WM_GETMINMAXINFO, WM_NCCREATE,     WM_NCCALCSIZE, WM_CREATE,
                                        WM_SIZE,          WM_MOVE,         WM_SHOWWINDOW, WM_WINDOWPOSCHANGING,
                                        WM_ACTIVATEAPP,   WM_NCACTIVATE,   WM_ACTIVATE,   WM_SETFOCUS,
                                        WM_WINDOWPOSCHANGED};
    EXPECT_EQ(Take(top, kLifeCycle), expected);
    EXPECT_EQ(GetActiveWindow(), top);
    EXPECT_EQ(GetFocus(), top);
}

TEST_F(UserTest, ChildCreationSizesFromTheNonClientAreaAndNotifiesTheParent) {
    HWND top = Create(WS_POPUP, 0, 0, 200, 200);
    ClearLog();
    HWND child = Create(WS_CHILD | WS_BORDER, 5, 6, 50, 40, top, WS_EX_CLIENTEDGE, "", 7);
    const std::vector<UINT> expected = {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE};
    EXPECT_EQ(Take(child, kLifeCycle), expected);
    EXPECT_EQ(Take(top, kLifeCycle), std::vector<UINT>{WM_PARENTNOTIFY});
    RECT client{};
    GetClientRect(child, &client);
    // One pixel of border and two of client edge on each side.
    EXPECT_EQ(client.right, 50 - 6);
    EXPECT_EQ(client.bottom, 40 - 6);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetDlgItem(top, 7), child);
}

TEST_F(UserTest, FailingCreationAnswersNoWindow) {
    struct Case { UINT message; LRESULT answer; std::vector<UINT> expected; };
    const std::vector<Case> cases = {
        {WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
        {WM_CREATE, -1, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
    };
    for (const Case& c : cases) {
        Answer(nullptr, c.message, [&](WPARAM, LPARAM) { return c.answer; });
        ClearLog();
        EXPECT_EQ(Create(WS_CHILD, 0, 0, 10, 10, GetDesktopWindow()), nullptr) << c.message;
        std::vector<UINT> got;
        for (const LoggedMessage& m : TakeAll({WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY})) {
            EXPECT_FALSE(IsWindow(m.window));
            got.push_back(m.message);
        }
        EXPECT_EQ(got, c.expected);
        Answer(nullptr, c.message, [](WPARAM, LPARAM) { return TRUE; });
    }
}

TEST_F(UserTest, DestroyingSendsDestroyToParentFirstAndNonClientDestroyToChildrenFirst) {
    HWND top = Create(WS_POPUP, 0, 0, 200, 200);
    HWND child = Create(WS_CHILD, 0, 0, 50, 50, top);
    HWND grandChild = Create(WS_CHILD, 0, 0, 10, 10, child);
    ClearLog();
    ASSERT_TRUE(DestroyWindow(top));
    const std::vector<LoggedMessage> got = TakeAll({WM_DESTROY, WM_NCDESTROY});
    const std::vector<LoggedMessage> expected = {{top, WM_DESTROY},          {child, WM_DESTROY},
                                                 {grandChild, WM_DESTROY},   {grandChild, WM_NCDESTROY},
                                                 {child, WM_NCDESTROY},      {top, WM_NCDESTROY}};
    EXPECT_EQ(got, expected);
    for (HWND h : {top, child, grandChild})
        EXPECT_FALSE(IsWindow(h));
}

TEST_F(UserTest, DestroyingTheFocusedChildGivesTheFocusToItsParent) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
    SetFocus(child);
    ClearLog();
    DestroyWindow(child);
    EXPECT_EQ(GetFocus(), top);
    EXPECT_EQ(Take(child, {WM_KILLFOCUS, WM_DESTROY}), (std::vector<UINT>{WM_KILLFOCUS, WM_DESTROY}));
}

TEST_F(UserTest, FocusChangeKillsTheOldFocusBeforeSettingTheNew) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND a = Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
    HWND b = Create(WS_CHILD | WS_VISIBLE, 60, 0, 50, 50, top);
    EXPECT_EQ(SetFocus(a), top);
    HWND focusDuringKill = nullptr;
    Answer(a, WM_KILLFOCUS, [&](WPARAM, LPARAM) { focusDuringKill = GetFocus(); return 0; });
    ClearLog();
    EXPECT_EQ(SetFocus(b), a);
    const std::vector<LoggedMessage> got = TakeAll({WM_KILLFOCUS, WM_SETFOCUS});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], (LoggedMessage{a, WM_KILLFOCUS}));
    EXPECT_EQ(reinterpret_cast<HWND>(got[0].wParam), b);
    EXPECT_EQ(got[1], (LoggedMessage{b, WM_SETFOCUS}));
    EXPECT_EQ(reinterpret_cast<HWND>(got[1].wParam), a);
    EXPECT_EQ(focusDuringKill, b);
    EXPECT_EQ(SetFocus(b), b);
    EXPECT_TRUE(TakeAll({WM_KILLFOCUS, WM_SETFOCUS}).empty());
}

TEST_F(UserTest, ActivatingAnotherTopLevelWindowDeactivatesTheFirst) {
    HWND first = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200);
    HWND second = Create(WS_OVERLAPPEDWINDOW, 50, 50, 200, 200);
    ClearLog();
    EXPECT_EQ(SetActiveWindow(second), first);
    const std::vector<LoggedMessage> got = TakeAll({WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS, WM_SETFOCUS});
    const std::vector<LoggedMessage> expected = {{first, WM_NCACTIVATE}, {first, WM_ACTIVATE},  {second, WM_NCACTIVATE},
                                                 {second, WM_ACTIVATE},  {first, WM_KILLFOCUS}, {second, WM_SETFOCUS}};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(LOWORD(got[1].wParam), WA_INACTIVE);
    EXPECT_EQ(LOWORD(got[3].wParam), WA_ACTIVE);
    EXPECT_EQ(reinterpret_cast<HWND>(got[3].lParam), first);
}

TEST_F(UserTest, HidingTheActiveWindowActivatesTheNextVisibleOne) {
    HWND first = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200);
    HWND second = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 200);
    ASSERT_EQ(GetActiveWindow(), second);
    ShowWindow(second, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_FALSE(IsWindowVisible(second));
}

TEST_F(UserTest, SetWindowPosSendsSizeAndMoveOnlyForWhatChanged) {
    HWND top = Create(WS_POPUP, 0, 0, 100, 100);
    struct Case { int x, y, w, h; UINT flags; std::vector<UINT> expected; };
    const std::vector<Case> cases = {
        {10, 10, 100, 100, SWP_NOZORDER, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE}},
        {10, 10, 120, 90, SWP_NOZORDER, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}},
        {0, 0, 50, 50, SWP_NOZORDER | SWP_NOMOVE, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}},
        {0, 0, 50, 50, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE, {}},
    };
    for (const Case& c : cases) {
        ClearLog();
        SetWindowPos(top, nullptr, c.x, c.y, c.w, c.h, c.flags);
        EXPECT_EQ(Take(top, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE}), c.expected);
    }
    RECT r{};
    GetWindowRect(top, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right - r.left, 50);
}

TEST_F(UserTest, CoordinatesMapThroughTheClientAreas) {
    HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 50, 300, 200);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 10, 20, 100, 50, top);
    const RECT client = UserDefaultClientRect(WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS, 0, RECT{100, 50, 400, 250});
    POINT p{1, 2};
    ClientToScreen(child, &p);
    EXPECT_EQ(p.x, client.left + 10 + 1);
    EXPECT_EQ(p.y, client.top + 20 + 2);
    POINT back = p;
    ScreenToClient(child, &back);
    EXPECT_EQ(back.x, 1);
    EXPECT_EQ(back.y, 2);
    POINT mapped{1, 2};
    MapWindowPoints(child, top, &mapped, 1);
    EXPECT_EQ(mapped.x, 11);
    EXPECT_EQ(mapped.y, 22);
    EXPECT_EQ(WindowFromPoint(p), child);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{11, 22}), child);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{200, 150}), top);
}

TEST_F(UserTest, HitTestOfACaptionedSizableWindow) {
    HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    const RECT close = UserCaptionButtonRect(top, HTCLOSE);
    const RECT max = UserCaptionButtonRect(top, HTMAXBUTTON);
    const RECT min = UserCaptionButtonRect(top, HTMINBUTTON);
    struct Case { int x, y; LRESULT hit; };
    const std::vector<Case> cases = {
        {150, 150, HTCLIENT},    {101, 150, HTLEFT},        {398, 150, HTRIGHT},       {200, 101, HTTOP},
        {200, 298, HTBOTTOM},    {101, 101, HTTOPLEFT},     {398, 298, HTBOTTOMRIGHT}, {200, 110, HTCAPTION},
        {106, 110, HTSYSMENU},   {100 + close.left + 2, 100 + close.top + 2, HTCLOSE},
        {100 + max.left + 2, 100 + max.top + 2, HTMAXBUTTON}, {100 + min.left + 2, 100 + min.top + 2, HTMINBUTTON},
        {99, 150, HTNOWHERE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SendMessageA(top, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)), c.hit) << c.x << "," << c.y;
}

TEST_F(UserTest, WindowRegionLimitsHitTestingAndBelongsToTheWindow) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HRGN region = CreateRectRgn(0, 0, 50, 50);
    ASSERT_TRUE(SetWindowRgn(top, region, TRUE));
    EXPECT_EQ(SendMessageA(top, WM_NCHITTEST, 0, MAKELPARAM(10, 10)), HTCLIENT);
    EXPECT_EQ(SendMessageA(top, WM_NCHITTEST, 0, MAKELPARAM(70, 70)), HTNOWHERE);
    EXPECT_EQ(WindowFromPoint(POINT{70, 70}), nullptr);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(top, copy), SIMPLEREGION);
    RECT box{};
    GetRgnBox(copy, &box);
    EXPECT_EQ(box.right, 50);
    DeleteObject(copy);
    SetWindowRgn(top, nullptr, FALSE);
    EXPECT_EQ(WindowFromPoint(POINT{70, 70}), top);
}

TEST_F(UserTest, SubclassingThroughTheWindowProcedureLong) {
    HWND top = Create(WS_POPUP, 0, 0, 100, 100);
    static WNDPROC saved = nullptr;
    static int seen = 0;
    seen = 0;
    WNDPROC replacement = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_USER + 1)
            ++seen;
        return CallWindowProcA(saved, w, m, wp, lp);
    };
    saved = reinterpret_cast<WNDPROC>(SetWindowLongA(top, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(replacement)));
    EXPECT_EQ(saved, &UserTest::Procedure);
    ClearLog();
    SendMessageA(top, WM_USER + 1, 0, 0);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(Take(top, {WM_USER + 1}), std::vector<UINT>{WM_USER + 1});
    SetWindowLongA(top, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
    EXPECT_EQ(GetWindowLongA(top, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&UserTest::Procedure));
}

TEST_F(UserTest, TextsGoThroughTheTextMessages) {
    HWND top = Create(WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0, "Titolo");
    char buffer[4];
    EXPECT_EQ(GetWindowTextA(top, buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "Tit");
    EXPECT_EQ(GetWindowTextLengthA(top), 6);
    SetWindowTextA(top, "Nuovo titolo");
    EXPECT_EQ(FindWindowA("UserTestWindow", "Nuovo titolo"), top);
    EXPECT_EQ(FindWindowA(nullptr, "Titolo"), nullptr);
}

TEST_F(UserTest, SetParentToTheDesktopMakesATopLevelWindow) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top);
    EXPECT_EQ(SetParent(child, GetDesktopWindow()), top);
    EXPECT_FALSE(IsChild(top, child));
    EXPECT_NE(UserWindowSurface(child), nullptr);
    SetWindowPos(child, HWND_TOPMOST, 300, 300, 80, 40, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), child);
    EXPECT_TRUE(GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetActiveWindow(), top);
}

}  // namespace

namespace {

TEST_F(UserTest, HidingTheFocusedChildGivesTheFocusToItsParent) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND panel = Create(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, top);
    HWND edit = Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, panel);
    SetFocus(edit);
    ShowWindow(panel, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
    SetFocus(edit);  // a hidden window may still take the focus, as in the original
    EnableWindow(edit, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(UserTest, RightClickOnTheCaptionOffersTheWindowMenu) {
    HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    UserPumpMessages();
    HMENU offered = nullptr;
    UserSetPopupMenuResponder([&](HMENU menu, POINT) { offered = menu; return static_cast<UINT>(SC_MINIMIZE); });
    ClearLog();
    UserInjectMouseButton(MouseButton::Right, true, 250, 110);
    UserInjectMouseButton(MouseButton::Right, false, 250, 110);
    UserPumpMessages();
    EXPECT_EQ(offered, GetSystemMenu(top, FALSE));
    EXPECT_TRUE(IsIconic(top));
}

}  // namespace
