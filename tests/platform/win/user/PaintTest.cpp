#include "UserFixture.h"

#include "platform/win/gdi/Surface.h"

namespace {

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

const std::set<UINT> kPaint = {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND};

TEST_F(UserTest, ShowingAWindowPaintsFrameBackgroundAndClient) {
    HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 120, 80);
    ClearLog();
    UserPumpMessages();
    EXPECT_EQ(Take(top, kPaint), (std::vector<UINT>{WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}));
    Surface* surface = UserWindowSurface(top);
    ASSERT_NE(surface, nullptr);
    RECT client{};
    GetClientRect(top, &client);
    POINT inside{client.right / 2, client.bottom / 2};
    ClientToScreen(top, &inside);
    // The class brush (COLOR_BTNFACE + 1) fills the client area; the caption starts in the active caption colour.
    EXPECT_EQ(surface->Pixel(inside.x, inside.y), Rgb(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(surface->Pixel(4, 10), Rgb(GetSysColor(COLOR_ACTIVECAPTION)));
    EXPECT_NE(Rgb(GetSysColor(COLOR_ACTIVECAPTION)), Rgb(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(UserTest, InvalidateWithoutEraseSkipsTheBackground) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 60, 60);
    UserPumpMessages();
    struct Case { BOOL erase; std::vector<UINT> expected; };
    for (const Case& c : {Case{FALSE, {WM_PAINT}}, Case{TRUE, {WM_PAINT, WM_ERASEBKGND}}}) {
        ClearLog();
        RECT r{0, 0, 10, 10};
        InvalidateRect(top, &r, c.erase);
        UserPumpMessages();
        EXPECT_EQ(Take(top, kPaint), c.expected);
    }
    ClearLog();
    UserPumpMessages();
    EXPECT_TRUE(Take(top, kPaint).empty());
}

TEST_F(UserTest, BeginPaintReportsTheUpdateRectangleAndValidates) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 60, 60);
    UserPumpMessages();
    RECT a{5, 5, 10, 10}, b{20, 30, 25, 40};
    InvalidateRect(top, &a, FALSE);
    InvalidateRect(top, &b, FALSE);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(top, &update, FALSE));
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(top, &ps);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(ps.rcPaint.left, 5);
    EXPECT_EQ(ps.rcPaint.top, 5);
    EXPECT_EQ(ps.rcPaint.right, 25);
    EXPECT_EQ(ps.rcPaint.bottom, 40);
    // Drawing is clipped to the update region.
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(top, &ps);
    Surface* s = UserWindowSurface(top);
    EXPECT_EQ(s->Pixel(6, 6), 0u);
    EXPECT_NE(s->Pixel(15, 15), 0u);
    EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));
}

TEST_F(UserTest, ChildrenPaintAtTheirOffsetClippedByParentAndSiblings) {
    HWND top = Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100);
    // Children created earlier lie above the later ones.
    HWND upper = Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 40, 40, 80, 80, top);
    HWND lower = Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10, 10, 50, 50, top);
    EXPECT_EQ(GetWindow(top, GW_CHILD), upper);
    EXPECT_EQ(GetWindow(upper, GW_HWNDNEXT), lower);
    UserPumpMessages();
    HDC dc = GetDC(lower);
    RECT all{0, 0, 200, 200};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(lower, dc);
    Surface* s = UserWindowSurface(top);
    struct Case { int x, y; bool black; };
    for (Case c : {Case{12, 12, true}, Case{59, 35, true}, Case{45, 45, false}, Case{65, 20, false}, Case{5, 5, false}})
        EXPECT_EQ(s->Pixel(c.x, c.y) == 0, c.black) << c.x << "," << c.y;
}

}  // namespace

namespace {

TEST_F(UserTest, ScrollWindowMovesChildrenAndRepaintsTheUncoveredStrip) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 10, 20, 30, 30, top);
    UserPumpMessages();
    ClearLog();
    ASSERT_TRUE(ScrollWindow(top, 0, -15, nullptr, nullptr));
    RECT r{};
    GetWindowRect(child, &r);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.left, 10);
    UserPumpMessages();
    EXPECT_EQ(Take(top, {WM_PAINT, WM_ERASEBKGND}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    RECT clip{0, 0, 50, 50};
    RECT updated{};
    EXPECT_EQ(ScrollWindowEx(top, 5, 0, nullptr, &clip, nullptr, &updated, 0), SIMPLEREGION);
    // Only the strip the bits left behind needs painting.
    EXPECT_EQ(updated.left, 0);
    EXPECT_EQ(updated.right, 5);
    EXPECT_EQ(updated.bottom, 50);
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 10);
}

TEST_F(UserTest, ScrollWindowMovesTheBitsOnTheWindowsSurface) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 60, 60);
    UserPumpMessages();
    HDC dc = GetDC(top);
    RECT square{10, 10, 20, 20};
    FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(top, dc);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(ScrollWindowEx(top, 0, -5, nullptr, nullptr, update, nullptr, 0), SIMPLEREGION);
    RECT invalid{};
    GetRgnBox(update, &invalid);
    DeleteObject(update);
    EXPECT_EQ(invalid.top, 55);
    EXPECT_EQ(invalid.bottom, 60);
    Surface* s = UserWindowSurface(top);
    struct Case { int x, y; bool black; };
    for (Case c : {Case{12, 5, true}, Case{12, 14, true}, Case{12, 17, false}, Case{12, 4, false}})
        EXPECT_EQ(s->Pixel(c.x, c.y) == 0, c.black) << c.x << "," << c.y;
}

TEST_F(UserTest, PrintDrawsTheFrameAndTheClientIntoAnotherDc) {
    HWND top = Create(WS_POPUP | WS_BORDER, 0, 0, 40, 30);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, 40, 30};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SendMessageA(top, WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT);
    EXPECT_EQ(GetPixel(memory, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(GetPixel(memory, 5, 5), GetSysColor(COLOR_BTNFACE));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace
