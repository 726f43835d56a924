// A window procedure that paints over its own non-client area after the default
// procedure (as a title-bar painter does): frame paints and activation changes reach it,
// and what it draws on its window DC is what the window shows, headless and in a real
// X window.
#include "UserFixture.h"

#include "platform/win/gdi/Surface.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "tests/support/TestDisplay.h"

namespace {

constexpr COLORREF kActiveMark = RGB(255, 0, 255), kInactiveMark = RGB(0, 160, 0);

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

class NonClientPaintTest : public UserTest {
protected:
    // A caption window that marks a strip of its title bar in the colour of its state.
    HWND CreateMarked(int x, int y)
    {
        HWND window = Create(WS_CAPTION | WS_SYSMENU | WS_VISIBLE, x, y, 240, 120, nullptr, 0, "Marcata");
        Answer(window, WM_NCPAINT, [window](WPARAM w, LPARAM l) {
            const LRESULT result = DefWindowProcA(window, WM_NCPAINT, w, l);
            Mark(window, GetActiveWindow() == window);
            return result;
        });
        Answer(window, WM_NCACTIVATE, [window](WPARAM w, LPARAM l) {
            const LRESULT result = DefWindowProcA(window, WM_NCACTIVATE, w, l);
            Mark(window, w != 0);
            return result;
        });
        return window;
    }
    static void Mark(HWND window, bool active)
    {
        HDC dc = GetWindowDC(window);
        RECT strip = kStrip;
        HBRUSH brush = CreateSolidBrush(active ? kActiveMark : kInactiveMark);
        FillRect(dc, &strip, brush);
        DeleteObject(brush);
        ReleaseDC(window, dc);
    }
    static std::uint32_t StripPixel(const Surface& s) { return s.Pixel(kStrip.left + 5, kStrip.top + 3); }

    static constexpr RECT kStrip{30, 6, 110, 14};
};

TEST_F(NonClientPaintTest, FramePaintsAndActivationChangesReachTheWindowProcedure)
{
    HWND window = CreateMarked(40, 40);
    SetActiveWindow(window);
    Pump();
    EXPECT_EQ(StripPixel(*UserWindowSurface(window)), Rgb(kActiveMark));
    HWND other = Create(WS_CAPTION | WS_VISIBLE, 400, 300, 100, 80, nullptr, 0, "Altra");
    SetActiveWindow(other);
    Pump();
    EXPECT_EQ(StripPixel(*UserWindowSurface(window)), Rgb(kInactiveMark));
    SetActiveWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(StripPixel(*UserWindowSurface(window)), Rgb(kActiveMark));
    // The rest of the bar is the default procedure's.
    EXPECT_NE(UserWindowSurface(window)->Pixel(kStrip.right + 4, kStrip.top + 3), Rgb(kActiveMark));
}

TEST_F(NonClientPaintTest, TheCaptionRunsColumnByColumnFromItsColourToItsGradientColour)
{
    // Each column's channels step evenly from the first column's colour to the last's.
    auto mixed = [](COLORREF from, COLORREF to, int x, int last) {
        auto channel = [&](int a, int b) { return a + (b - a) * x / last; };
        return static_cast<std::uint32_t>((channel(GetRValue(from), GetRValue(to)) << 16) |
                                          (channel(GetGValue(from), GetGValue(to)) << 8) |
                                          channel(GetBValue(from), GetBValue(to)));
    };
    HWND window = Create(WS_CAPTION | WS_VISIBLE, 20, 20, 431, 90, nullptr, 0, "");
    HWND other = Create(WS_CAPTION | WS_VISIBLE, 500, 300, 100, 80, nullptr, 0, "");
    const int frame = GetSystemMetrics(SM_CXDLGFRAME), last = 431 - 2 * frame - 1;
    for (const bool active : {true, false}) {
        SCOPED_TRACE(active ? "active" : "inactive");
        SetActiveWindow(active ? window : other);
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        const COLORREF from = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        const COLORREF to = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
        const Surface& s = *UserWindowSurface(window);
        int wrong = 0;
        for (int x = 0; x <= last; ++x)
            for (const int y : {frame, frame + 8})
                wrong += s.Pixel(frame + x, y) != mixed(from, to, x, last);
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(s.Pixel(frame + last + 1, frame), Rgb(GetSysColor(COLOR_BTNFACE))) << "the frame after the caption";
    }
}

TEST_F(NonClientPaintTest, TheRealWindowShowsWhatTheProcedurePaintedOverItsFrame)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(251, 640, 480);
    ASSERT_TRUE(display.Install());
    HWND window = CreateMarked(40, 40);
    SetActiveWindow(window);
    Surface shown;
    EXPECT_EQ(TestDisplay::ReadBackWhenShown(window, shown, [this] { Pump(); }), 0);
    EXPECT_EQ(StripPixel(shown), Rgb(kActiveMark));
    HWND other = Create(WS_CAPTION | WS_VISIBLE, 300, 300, 100, 80, nullptr, 0, "Altra");
    SetActiveWindow(other);
    EXPECT_EQ(TestDisplay::ReadBackWhenShown(window, shown, [this] { Pump(); }), 0);
    EXPECT_EQ(StripPixel(shown), Rgb(kInactiveMark));
    UserResetWindowSystem();
    display.Stop();
}

}  // namespace
