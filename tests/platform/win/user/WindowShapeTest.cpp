// Window regions: kept in the window table headless, the bounding shape of the X window
// on a real display (read back through the X Shape extension from a second connection).
#include "UserFixture.h"

#include "tests/support/TestDisplay.h"
#include "tests/support/X11TopLevel.h"

#define Region XlibRegion
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#undef Region

#include <vector>

namespace {

// A second client of the server, reading what the window system's own connection made.
class Observer {
public:
    explicit Observer(const std::string& name) : display_(XOpenDisplay(name.c_str())) {}
    ~Observer()
    {
        if (display_)
            XCloseDisplay(display_);
    }
    Display* Get() const { return display_; }

    // The top-level X window of that title (0 when there is none).
    Window Find(const char* title) const
    {
        XSync(display_, False);
        return FindTopLevelX11Window(display_, title);
    }

    // The window's bounding shape as a region of the window system.
    HRGN BoundingShape(Window x) const
    {
        XSync(display_, False);
        int count = 0, ordering = 0;
        XRectangle* rects = XShapeGetRectangles(display_, x, ShapeBounding, &count, &ordering);
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        for (int i = 0; i < count; ++i) {
            HRGN piece = CreateRectRgn(rects[i].x, rects[i].y, rects[i].x + rects[i].width, rects[i].y + rects[i].height);
            CombineRgn(shape, shape, piece, RGN_OR);
            DeleteObject(piece);
        }
        if (rects)
            XFree(rects);
        return shape;
    }

private:
    Display* display_;
};

class WindowShapeTest : public UserTest {
protected:
    void ExpectShapesShown(const std::string& displayName);
    HWND MakeWindow(const char* title) { return Create(WS_POPUP | WS_VISIBLE, 50, 40, 120, 80, nullptr, 0, title); }
};

TEST_F(WindowShapeTest, HeadlessKeepsTheRegionInTheWindowTable)
{
    HWND window = MakeWindow("headless");
    SetWindowRgn(window, CreateEllipticRgn(0, 0, 120, 80), TRUE);
    HRGN kept = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(window, kept), COMPLEXREGION);
    HRGN want = CreateEllipticRgn(0, 0, 120, 80);
    EXPECT_TRUE(EqualRgn(kept, want));
    SetWindowRgn(window, nullptr, TRUE);
    EXPECT_EQ(GetWindowRgn(window, kept), ERROR);
    DeleteObject(kept);
    DeleteObject(want);
}

TEST_F(WindowShapeTest, TheXWindowTakesTheRegionAsItsBoundingShape)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(230, 400, 300);
    ASSERT_TRUE(display.Install());
    ExpectShapesShown(display.Name());
    UserResetWindowSystem();
    display.Stop();
}

// Closes its connection before the server goes.
void WindowShapeTest::ExpectShapesShown(const std::string& displayName)
{
    Observer observer(displayName);
    ASSERT_TRUE(observer.Get());
    int eventBase = 0, errorBase = 0;
    ASSERT_TRUE(XShapeQueryExtension(observer.Get(), &eventBase, &errorBase));
    // One region given before the window shows, one after.
    HWND early = Create(WS_POPUP, 20, 20, 100, 60, nullptr, 0, "early");
    SetWindowRgn(early, CreateRoundRectRgn(0, 0, 100, 60, 30, 30), TRUE);
    ShowWindow(early, SW_SHOWNOACTIVATE);
    HWND late = MakeWindow("late");
    Pump();
    SetWindowRgn(late, CreateEllipticRgn(0, 0, 120, 80), TRUE);
    Pump();

    struct Case {
        const char* title;
        HRGN expected;
    };
    const Case cases[] = {{"early", CreateRoundRectRgn(0, 0, 100, 60, 30, 30)},
                          {"late", CreateEllipticRgn(0, 0, 120, 80)}};
    for (const Case& c : cases) {
        const Window x = observer.Find(c.title);
        ASSERT_NE(x, 0u) << c.title;
        HRGN shape = observer.BoundingShape(x);
        EXPECT_TRUE(EqualRgn(shape, c.expected)) << c.title;
        DeleteObject(shape);
        DeleteObject(c.expected);
    }

    SetWindowRgn(late, nullptr, TRUE);
    Pump();
    HRGN whole = observer.BoundingShape(observer.Find("late"));
    HRGN rect = CreateRectRgn(0, 0, 120, 80);
    EXPECT_TRUE(EqualRgn(whole, rect)) << "without a region the whole window shows again";
    DeleteObject(whole);
    DeleteObject(rect);
}

} // namespace
