#include "UserFixture.h"

namespace {

const std::set<UINT> kMouse = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                               WM_RBUTTONUP, WM_MOUSELEAVE, WM_NCLBUTTONDOWN, WM_NCMOUSEMOVE, WM_MOUSEWHEEL};

class InputTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        top_ = Create(WS_POPUP | WS_VISIBLE, 100, 100, 200, 200);
        left_ = Create(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, top_);
        right_ = Create(WS_CHILD | WS_VISIBLE, 100, 0, 100, 100, top_);
        Pump();
        ClearLog();
    }
    HWND top_{}, left_{}, right_{};
};

TEST_F(InputTest, ClicksGoToTheWindowUnderThePointerWithClientCoordinates) {
    UserInjectClick(130, 140);
    std::vector<LoggedMessage> got;
    MSG m{};
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        if (kMouse.count(m.message))
            got.push_back({m.hwnd, m.message, m.wParam, m.lParam});
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1], (LoggedMessage{left_, WM_LBUTTONDOWN}));
    EXPECT_EQ(GET_X_LPARAM(got[1].lParam), 30);
    EXPECT_EQ(GET_Y_LPARAM(got[1].lParam), 40);
    EXPECT_EQ(got[1].wParam & MK_LBUTTON, MK_LBUTTON);
    EXPECT_EQ(got[2].wParam & MK_LBUTTON, 0u);
}

TEST_F(InputTest, CaptureRoutesEveryMouseMessageToTheCapturingWindow) {
    SetCapture(left_);
    UserInjectMouseMove(250, 150);
    UserInjectMouseMove(-20, -30);
    Pump();
    const std::vector<LoggedMessage> got = TakeAll({WM_MOUSEMOVE});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].window, left_);
    EXPECT_EQ(GET_X_LPARAM(got[0].lParam), 150);
    EXPECT_EQ(got[1].window, left_);
    EXPECT_EQ(GET_X_LPARAM(got[1].lParam), -120);
    EXPECT_EQ(GET_Y_LPARAM(got[1].lParam), -130);
    ClearLog();
    ReleaseCapture();
    EXPECT_EQ(Take(left_, {WM_CAPTURECHANGED}), std::vector<UINT>{WM_CAPTURECHANGED});
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, CaptureMovingToAnotherWindowTellsTheOldOne) {
    SetCapture(left_);
    ClearLog();
    EXPECT_EQ(SetCapture(right_), left_);
    const std::vector<LoggedMessage> got = TakeAll({WM_CAPTURECHANGED});
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].window, left_);
    EXPECT_EQ(reinterpret_cast<HWND>(got[0].lParam), right_);
}

TEST_F(InputTest, DoubleClickNeedsTheClassStyleTimeAndDistance) {
    struct Case { DWORD gap; int dx; std::vector<UINT> expected; };
    const std::vector<Case> cases = {
        {100, 0, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}},
        {100, 2, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}},
        {100, 3, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
        {GetDoubleClickTime() + 1, 0, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
    };
    for (const Case& c : cases) {
        clock_.Advance(5000);
        UserInjectMouseButton(MouseButton::Left, true, 120, 120);
        UserInjectMouseButton(MouseButton::Left, false, 120, 120);
        Pump();
        clock_.Advance(c.gap);
        UserInjectMouseButton(MouseButton::Left, true, 120 + c.dx, 120);
        UserInjectMouseButton(MouseButton::Left, false, 120 + c.dx, 120);
        Pump();
        EXPECT_EQ(Take(left_, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}), c.expected) << c.gap << "/" << c.dx;
    }
}

TEST_F(InputTest, NoDoubleClickForAClassWithoutTheStyle) {
    HWND plain = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 100, 50, 50, top_, nullptr, nullptr, nullptr);
    UINT_PTR staticClassHasDoubleClicks = GetClassLongA(plain, GCL_STYLE) & CS_DBLCLKS;
    WNDCLASSA wc{0, &UserTest::Procedure, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "NoDoubleClicks"};
    RegisterClassA(&wc);
    HWND child = CreateWindowExA(0, "NoDoubleClicks", "", WS_CHILD | WS_VISIBLE, 100, 100, 50, 50, top_, nullptr, nullptr, nullptr);
    Pump();
    ClearLog();
    for (int i = 0; i < 2; ++i) {
        UserInjectMouseButton(MouseButton::Left, true, 210, 210);
        UserInjectMouseButton(MouseButton::Left, false, 210, 210);
    }
    Pump();
    EXPECT_EQ(Take(child, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
    EXPECT_NE(staticClassHasDoubleClicks, 0u);
}

TEST_F(InputTest, MouseLeaveComesBeforeTheMoveIntoTheNextWindow) {
    UserInjectMouseMove(150, 150);
    Pump();
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, left_, HOVER_DEFAULT};
    ASSERT_TRUE(TrackMouseEvent(&track));
    ClearLog();
    UserInjectMouseMove(160, 150);
    UserInjectMouseMove(250, 150);
    UserInjectMouseMove(260, 150);
    Pump();
    const std::vector<LoggedMessage> got = TakeAll({WM_MOUSEMOVE, WM_MOUSELEAVE});
    const std::vector<LoggedMessage> expected = {{left_, WM_MOUSEMOVE}, {left_, WM_MOUSELEAVE}, {right_, WM_MOUSEMOVE},
                                                 {right_, WM_MOUSEMOVE}};
    EXPECT_EQ(got, expected);
}

TEST_F(InputTest, MouseLeaveIsReportedAlsoWhileAnotherWindowHoldsTheCapture) {
    UserInjectMouseMove(150, 150);
    Pump();
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, left_, HOVER_DEFAULT};
    TrackMouseEvent(&track);
    SetCapture(right_);
    ClearLog();
    UserInjectMouseMove(250, 150);
    Pump();
    const std::vector<LoggedMessage> got = TakeAll({WM_MOUSEMOVE, WM_MOUSELEAVE});
    const std::vector<LoggedMessage> expected = {{left_, WM_MOUSELEAVE}, {right_, WM_MOUSEMOVE}};
    EXPECT_EQ(got, expected);
}

TEST_F(InputTest, KeysGoToTheFocusAndTranslateToWindows1252Characters) {
    SetFocus(right_);
    ClearLog();
    UserInjectText("aB1");
    UserInjectKey(VK_OEM_102, true, '\xE0');
    UserInjectKey(VK_OEM_102, false);
    Pump();
    std::string chars;
    std::vector<UINT> keys;
    for (const LoggedMessage& m : TakeAll({WM_KEYDOWN, WM_KEYUP, WM_CHAR})) {
        EXPECT_EQ(m.window, right_);
        if (m.message == WM_CHAR)
            chars += static_cast<char>(m.wParam);
        else if (m.message == WM_KEYDOWN)
            keys.push_back(static_cast<UINT>(m.wParam));
    }
    EXPECT_EQ(chars, "aB1\xE0");
    EXPECT_EQ(keys, (std::vector<UINT>{'A', VK_SHIFT, 'B', '1', VK_OEM_102}));
}

TEST_F(InputTest, ControlWithBackspaceOrEnterGivesTheirControlCharacters) {
    SetFocus(right_);
    UserInjectKeyStroke(VK_BACK, false, true);
    UserInjectKeyStroke(VK_RETURN, false, true);
    UserInjectKeyStroke('A', false, true);
    UserInjectKeyStroke('1', false, true);
    Pump();
    std::string chars;
    for (const LoggedMessage& m : TakeAll({WM_CHAR}))
        chars += static_cast<char>(m.wParam);
    EXPECT_EQ(chars, std::string("\x7F\n\x01"));
}

TEST_F(InputTest, AltKeysBecomeSystemKeysAndLockKeysToggle) {
    SetFocus(left_);
    ClearLog();
    UserInjectKeyStroke('X', false, false, true);
    UserInjectKeyStroke(VK_CAPITAL);
    Pump();
    const std::vector<UINT> got = Take(left_, {WM_KEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_CHAR});
    EXPECT_EQ(got, (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_KEYDOWN}));
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 0x8000, 0);
    UserInjectKeyStroke(VK_CAPITAL);
    Pump();
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
}

TEST_F(InputTest, PressOnAnInactiveWindowActivatesItFirst) {
    HWND other = Create(WS_POPUP | WS_VISIBLE, 500, 500, 100, 100);
    SetActiveWindow(top_);
    ClearLog();
    UserInjectMouseButton(MouseButton::Left, true, 550, 550);
    Pump();
    EXPECT_EQ(Take(other, {WM_MOUSEACTIVATE, WM_ACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN}),
              (std::vector<UINT>{WM_MOUSEACTIVATE, WM_ACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN}));
    EXPECT_EQ(GetActiveWindow(), other);
}

TEST_F(InputTest, DraggingTheCaptionMovesTheWindowInsideTheButtonDownHandling) {
    HWND framed = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 150);
    Pump();
    std::vector<UINT> duringDown;
    Answer(framed, WM_NCLBUTTONDOWN, [&](WPARAM w, LPARAM l) {
        ClearLog();
        LRESULT r = DefWindowProcA(framed, WM_NCLBUTTONDOWN, w, l);
        duringDown = Take(framed, {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE, WM_MOVE});
        return r;
    });
    UserInjectMouseMove(400, 310);
    UserInjectMouseButton(MouseButton::Left, true, 400, 310);
    UserInjectMouseMove(420, 330);
    UserInjectMouseMove(450, 340);
    UserInjectMouseButton(MouseButton::Left, false, 450, 340);
    Pump();
    EXPECT_EQ(duringDown, (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_MOVE, WM_MOVE, WM_EXITSIZEMOVE}));
    RECT r{};
    GetWindowRect(framed, &r);
    EXPECT_EQ(r.left, 350);
    EXPECT_EQ(r.top, 330);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, WheelGoesToTheFocusWindow) {
    SetFocus(right_);
    ClearLog();
    UserInjectMouseWheel(-WHEEL_DELTA, 120, 120);
    Pump();
    const std::vector<LoggedMessage> got = TakeAll({WM_MOUSEWHEEL});
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got[0].window, right_);
    EXPECT_EQ(static_cast<SHORT>(HIWORD(got[0].wParam)), -WHEEL_DELTA);
}

}  // namespace

namespace {

TEST_F(InputTest, DisabledChildPassesClicksToItsParentAndADisabledWindowGetsNone) {
    EnableWindow(left_, FALSE);
    ClearLog();
    UserInjectClick(130, 130);
    Pump();
    EXPECT_TRUE(Take(left_, {WM_LBUTTONDOWN}).empty());
    EXPECT_EQ(Take(top_, {WM_LBUTTONDOWN}), std::vector<UINT>{WM_LBUTTONDOWN});
    EnableWindow(top_, FALSE);
    clock_.Advance(1000);
    UserInjectClick(250, 130);
    Pump();
    EXPECT_TRUE(TakeAll({WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
}

}  // namespace

#include "platform/win/user/NonClient.h"

namespace {

TEST_F(UserTest, CaptionButtonsRunTheirCommandsWhenReleasedOnThem) {
    struct Case { LRESULT hit; WPARAM command; };
    for (Case c : {Case{HTMINBUTTON, SC_MINIMIZE}, Case{HTMAXBUTTON, SC_MAXIMIZE}, Case{HTCLOSE, SC_CLOSE}}) {
        HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
        UserPumpMessages();
        const RECT button = UserCaptionButtonRect(top, c.hit);
        const POINT at{100 + (button.left + button.right) / 2, 100 + (button.top + button.bottom) / 2};
        ClearLog();
        UserInjectClick(at.x, at.y);
        UserPumpMessages();
        std::vector<WPARAM> commands;
        for (const LoggedMessage& m : TakeAll({WM_SYSCOMMAND}))
            commands.push_back(m.wParam & 0xFFF0);
        EXPECT_EQ(commands, std::vector<WPARAM>{c.command}) << c.hit;
        if (c.command == SC_CLOSE) {
            EXPECT_FALSE(IsWindow(top));
        } else {
            EXPECT_EQ(c.command == SC_MINIMIZE, IsIconic(top) != FALSE);
            EXPECT_EQ(c.command == SC_MAXIMIZE, IsZoomed(top) != FALSE);
            DestroyWindow(top);
        }
        clock_.Advance(1000);
    }
}

TEST_F(UserTest, ReleasingOffACaptionButtonRunsNothing) {
    HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    UserPumpMessages();
    const RECT button = UserCaptionButtonRect(top, HTCLOSE);
    const POINT at{100 + (button.left + button.right) / 2, 100 + (button.top + button.bottom) / 2};
    ClearLog();
    UserInjectMouseButton(MouseButton::Left, true, at.x, at.y);
    UserInjectMouseMove(at.x - 60, at.y + 50);
    UserInjectMouseButton(MouseButton::Left, false, at.x - 60, at.y + 50);
    UserPumpMessages();
    EXPECT_TRUE(TakeAll({WM_SYSCOMMAND}).empty());
    EXPECT_TRUE(IsWindow(top));
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace

namespace {

TEST_F(InputTest, HoverComesOnceAfterThePointerRestsForTheHoverTime) {
    UserInjectMouseMove(150, 150);
    Pump();
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_HOVER, left_, 200};
    ASSERT_TRUE(TrackMouseEvent(&track));
    ClearLog();
    clock_.Advance(150);
    UserInjectMouseMove(160, 150);  // moving on restarts the wait
    Pump();
    clock_.Advance(150);
    Pump();
    EXPECT_TRUE(TakeAll({WM_MOUSEHOVER}).empty());
    clock_.Advance(60);
    Pump();
    const std::vector<LoggedMessage> got = TakeAll({WM_MOUSEHOVER});
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].window, left_);
    EXPECT_EQ(GET_X_LPARAM(got[0].lParam), 60);
    clock_.Advance(1000);
    Pump();
    EXPECT_TRUE(TakeAll({WM_MOUSEHOVER}).empty());
    TRACKMOUSEEVENT query{sizeof(TRACKMOUSEEVENT), TME_QUERY, nullptr, 0};
    TrackMouseEvent(&query);
    EXPECT_EQ(query.dwFlags & TME_HOVER, 0u);
}

}  // namespace

namespace {

TEST_F(UserTest, DraggingASizingBorderResizesWithinTheTrackingLimits) {
    struct Case { int x, y, dx, dy; RECT expected; };
    const std::vector<Case> cases = {
        {398, 200, 30, 0, {100, 100, 430, 300}},       // right edge
        {101, 101, -20, -10, {80, 90, 400, 300}},      // top-left corner
        {398, 298, -250, -190, {100, 100, 212, 127}},  // bottom-right, held at the minimum track size
    };
    for (const Case& c : cases) {
        HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
        UserPumpMessages();
        ClearLog();
        UserInjectMouseMove(c.x, c.y);
        UserInjectMouseButton(MouseButton::Left, true, c.x, c.y);
        UserInjectMouseMove(c.x + c.dx, c.y + c.dy);
        UserInjectMouseButton(MouseButton::Left, false, c.x + c.dx, c.y + c.dy);
        UserPumpMessages();
        RECT r{};
        GetWindowRect(top, &r);
        EXPECT_EQ(r.left, c.expected.left) << c.x << "," << c.y;
        EXPECT_EQ(r.top, c.expected.top) << c.x << "," << c.y;
        EXPECT_EQ(r.right, c.expected.right) << c.x << "," << c.y;
        EXPECT_EQ(r.bottom, c.expected.bottom) << c.x << "," << c.y;
        EXPECT_EQ(Take(top, {WM_ENTERSIZEMOVE, WM_SIZING, WM_EXITSIZEMOVE}),
                  (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_SIZING, WM_EXITSIZEMOVE}));
        DestroyWindow(top);
        clock_.Advance(1000);
    }
}

}  // namespace

namespace {

TEST_F(UserTest, AGreyedCaptionButtonDoesNothing) {
    HWND top = Create(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 100, 100, 300, 200);
    UserPumpMessages();
    EXPECT_FALSE(UserCaptionButtonEnabled(top, HTMAXBUTTON));
    EXPECT_TRUE(UserCaptionButtonEnabled(top, HTMINBUTTON));
    const RECT button = UserCaptionButtonRect(top, HTMAXBUTTON);
    ASSERT_GT(button.right, button.left);
    ClearLog();
    UserInjectClick(100 + (button.left + button.right) / 2, 100 + (button.top + button.bottom) / 2);
    UserPumpMessages();
    EXPECT_TRUE(TakeAll({WM_SYSCOMMAND}).empty());
    EXPECT_FALSE(IsZoomed(top));
}

}  // namespace
