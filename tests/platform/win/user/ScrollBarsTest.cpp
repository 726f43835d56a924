#include "UserFixture.h"

#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/ScrollBars.h"
#include "platform/win/gdi/Surface.h"

namespace {

TEST_F(UserTest, ScrollBarShowsOnlyWhileTheRangeExceedsThePage) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    struct Case { int min, max; UINT page; UINT extra; bool visible; };
    for (Case c : {Case{0, 99, 10, 0, true}, Case{0, 9, 10, 0, false}, Case{0, 9, 10, SIF_DISABLENOSCROLL, true},
                   Case{0, 50, 0, 0, true}, Case{5, 5, 0, 0, false}}) {
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | c.extra, c.min, c.max, c.page, 0, 0};
        SetScrollInfo(top, SB_VERT, &info, TRUE);
        EXPECT_EQ((GetWindowLongA(top, GWL_STYLE) & WS_VSCROLL) != 0, c.visible) << c.max << "/" << c.page;
    }
    RECT client{};
    GetClientRect(top, &client);
    EXPECT_EQ(client.right, 200);
    SetScrollRange(top, SB_VERT, 0, 100, TRUE);
    GetClientRect(top, &client);
    EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
}

TEST_F(UserTest, ScrollPositionStaysInTheRangeLessThePage) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
    SetScrollInfo(top, SB_HORZ, &info, TRUE);
    struct Case { int set; int expected; };
    for (Case c : {Case{50, 50}, Case{95, 90}, Case{-3, 0}}) {
        SetScrollPos(top, SB_HORZ, c.set, TRUE);
        EXPECT_EQ(GetScrollPos(top, SB_HORZ), c.expected) << c.set;
    }
    SCROLLINFO read{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(top, SB_HORZ, &read));
    EXPECT_EQ(read.nMax, 99);
    EXPECT_EQ(read.nPage, 10u);
}

TEST_F(UserTest, PressesOnTheBarSendScrollCommands) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 20, 0, 0};
    SetScrollInfo(top, SB_VERT, &info, TRUE);
    UserPumpMessages();
    const int x = 200 - GetSystemMetrics(SM_CXVSCROLL) / 2;
    const RECT thumb = UserScrollThumbRect(top, SB_VERT);
    ASSERT_GT(thumb.bottom, thumb.top);
    struct Case { int y; std::vector<WORD> codes; };
    const std::vector<Case> cases = {
        {5, {SB_LINEUP, SB_ENDSCROLL}},
        {195, {SB_LINEDOWN, SB_ENDSCROLL}},
        {150, {SB_PAGEDOWN, SB_ENDSCROLL}},
    };
    for (const Case& c : cases) {
        ClearLog();
        UserInjectClick(x, c.y);
        UserPumpMessages();
        std::vector<WORD> codes;
        for (const LoggedMessage& m : TakeAll({WM_VSCROLL}))
            codes.push_back(LOWORD(m.wParam));
        EXPECT_EQ(codes, c.codes) << c.y;
        clock_.Advance(1000);
    }
    ClearLog();
    const int grab = (thumb.top + thumb.bottom) / 2;
    UserInjectMouseButton(MouseButton::Left, true, x, grab);
    UserInjectMouseMove(x, grab + 40);
    UserInjectMouseButton(MouseButton::Left, false, x, grab + 40);
    UserPumpMessages();
    std::vector<WORD> codes;
    int finalPos = -1;
    for (const LoggedMessage& m : TakeAll({WM_VSCROLL})) {
        codes.push_back(LOWORD(m.wParam));
        if (LOWORD(m.wParam) == SB_THUMBPOSITION)
            finalPos = HIWORD(m.wParam);
    }
    EXPECT_EQ(codes, (std::vector<WORD>{SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
    EXPECT_GT(finalPos, 0);
    EXPECT_LE(finalPos, 80);
}

TEST_F(UserTest, AChildReachingUnderTheBarLeavesTheBarPainted) {
    HWND top = Create(WS_POPUP | WS_CLIPCHILDREN, 0, 0, 100, 100);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
    SetScrollInfo(top, SB_VERT, &info, FALSE);
    Create(WS_CHILD | WS_VISIBLE, 50, 40, 80, 20, top);
    ShowWindow(top, SW_SHOW);
    Pump();
    const Surface* s = UserWindowSurface(top);
    ASSERT_NE(s, nullptr);
    const int x = 100 - GetSystemMetrics(SM_CXVSCROLL) / 2;
    // The child is clipped to the client area: under it the bar's track shows as elsewhere.
    EXPECT_EQ(s->Pixel(x, 50), s->Pixel(x, 75));
}

TEST_F(UserTest, BarsTakeTheWidthAndHeightTheSettingsGive) {
    SetScrollBarSize(17, 21);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(SM_CXHSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 21);
    EXPECT_EQ(GetSystemMetrics(SM_CYVSCROLL), 21);
    HWND top = Create(WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 100, 100);
    RECT client{};
    GetClientRect(top, &client);
    SetScrollBarSize(16, 16);
    EXPECT_EQ(client.right, 100 - 17);
    EXPECT_EQ(client.bottom, 100 - 21);
}

TEST_F(UserTest, ListBoxScrollsByItsBar) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 0, 0, 150, 65, top, nullptr, nullptr, nullptr);
    SendMessageA(list, LB_SETITEMHEIGHT, 0, 13);
    for (int i = 0; i < 20; ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("riga"));
    UserPumpMessages();
    const POINT down = ScreenOf(list, 150 - 8, 65 - 4);
    UserInjectClick(down.x, down.y);
    UserPumpMessages();
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 1);
    EXPECT_EQ(GetScrollPos(list, SB_VERT), 1);
    SendMessageA(list, LB_SETCURSEL, 19, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 15);
    EXPECT_EQ(GetScrollPos(list, SB_VERT), 15);
}

}  // namespace
