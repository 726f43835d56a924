// The presenter against a real X server: what it pushes is exactly the surface's pixels,
// only the areas it was told about are sent, and both ways of sending give the same.
// Google Test first: Xlib's macros (None, Bool) would clash with its names.
#include <gtest/gtest.h>

#include "platform/win/gdi/Surface.h"
#include "platform/win/user/X11Presenter.h"
#include "tests/support/TestDisplay.h"

#include <X11/Xutil.h>

#include <memory>

namespace {

class PresenterScreen {
public:
    explicit PresenterScreen(const std::string& name) : display_(XOpenDisplay(name.c_str())) {}
    ~PresenterScreen()
    {
        if (display_)
            XCloseDisplay(display_);
    }
    Display* display() const { return display_; }

    Window Show(int width, int height)
    {
        XSetWindowAttributes attributes{};
        attributes.background_pixel = 0x123456;
        attributes.override_redirect = True;
        attributes.event_mask = ExposureMask;
        const Window window = XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, static_cast<unsigned>(width),
                                            static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                            CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
        XMapWindow(display_, window);
        XEvent event;
        XWindowEvent(display_, window, ExposureMask, &event);
        return window;
    }

    // What the server shows of the window, as a surface.
    Surface Shown(Window window, int width, int height)
    {
        XSync(display_, False);
        Surface shown(width, height);
        XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                  AllPlanes, ZPixmap);
        if (!image)
            return Surface();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                shown.SetPixel(x, y, static_cast<std::uint32_t>(XGetPixel(image, x, y)));
        XDestroyImage(image);
        return shown;
    }

private:
    Display* display_;
};

int Differing(const Surface& a, const Surface& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return -1;
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            differing += a.Pixel(x, y) != b.Pixel(x, y);
    return differing;
}

void FillArea(Surface& s, const RECT& r, std::uint32_t rgb)
{
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            s.SetPixel(x, y, rgb);
}

TEST(X11Presenter, PushesExactlyTheChangedAreasThroughSharedMemoryOrPlainRequests)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay server(91, 320, 240);
    const auto backend = server.Start();
    ASSERT_NE(backend, nullptr);
    for (const bool sharedMemory : {true, false}) {
        SCOPED_TRACE(sharedMemory ? "shared memory" : "plain requests");
        PresenterScreen screen(server.Name());
        ASSERT_NE(screen.display(), nullptr);
        const auto shared = std::make_shared<X11Presenter>(screen.display(), sharedMemory);
        X11Presenter& presenter = *shared;
        EXPECT_EQ(presenter.SharesMemory(), sharedMemory) << "a local Xvfb takes shared memory";
        const Window window = screen.Show(64, 48);
        Surface surface(64, 48);
        surface.SetMemorySource(X11SharedMemorySource(shared));
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                surface.SetPixel(x, y, static_cast<std::uint32_t>(x * 0x040000 + y * 0x000500 + (x ^ y)));
        EXPECT_EQ(surface.Memory() != nullptr, sharedMemory) << "shared images only where memory is shared";
        auto present = [&] { presenter.Present([&](Window) { return &surface; }); };

        presenter.Changed(window, RECT{0, 0, 64, 48});
        present();
        EXPECT_EQ(Differing(screen.Shown(window, 64, 48), surface), 0) << "the whole surface";

        // Drawn on in two places, told about one: only that one changes on the screen.
        const Surface before = surface;
        FillArea(surface, RECT{10, 5, 30, 20}, 0xFF8000);
        FillArea(surface, RECT{50, 40, 60, 48}, 0x00FF00);
        presenter.Changed(window, RECT{10, 5, 30, 20});
        present();
        Surface expected = before;
        FillArea(expected, RECT{10, 5, 30, 20}, 0xFF8000);
        EXPECT_EQ(Differing(screen.Shown(window, 64, 48), expected), 0) << "only the area told about";

        // Areas reaching past the surface are cut to it; a new size gets a new shared image.
        XResizeWindow(screen.display(), window, 80, 60);
        surface.Resize(80, 60, 0x3366CC);
        presenter.Changed(window, RECT{-10, -10, 200, 200});
        present();
        EXPECT_EQ(Differing(screen.Shown(window, 80, 60), surface), 0) << "after the resize";

        // Nothing told, nothing sent; a window without a surface drops its changes.
        const Surface resized = surface;
        FillArea(surface, RECT{0, 0, 80, 60}, 0);
        present();
        presenter.Changed(window, RECT{0, 0, 80, 60});
        presenter.Present([](Window) { return nullptr; });
        present();
        EXPECT_EQ(Differing(screen.Shown(window, 80, 60), resized), 0);
        presenter.Forget(window);
        XDestroyWindow(screen.display(), window);
    }
}

TEST(X11Presenter, ASurfaceLetGoByItsPresenterKeepsItsPixels)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay server(91, 320, 240);
    const auto backend = server.Start();
    ASSERT_NE(backend, nullptr);
    PresenterScreen screen(server.Name());
    ASSERT_NE(screen.display(), nullptr);
    auto presenter = std::make_shared<X11Presenter>(screen.display(), true);
    const Window window = screen.Show(40, 30);
    Surface surface(40, 30, 0x205080);
    surface.SetMemorySource(X11SharedMemorySource(presenter));
    FillArea(surface, RECT{5, 5, 25, 15}, 0xFFEE00);
    const SurfaceMemory* first = surface.Memory();
    ASSERT_NE(first, nullptr) << "a local Xvfb takes shared memory";

    // A new size takes a new shared image.
    XResizeWindow(screen.display(), window, 50, 30);
    surface.Resize(50, 30, 0x000080);
    EXPECT_NE(surface.Memory(), nullptr);
    EXPECT_NE(surface.Memory(), first);
    presenter->Changed(window, RECT{0, 0, 50, 30});
    presenter->Present([&](Window) { return &surface; });
    EXPECT_EQ(Differing(screen.Shown(window, 50, 30), surface), 0);

    // The presenter gone, the pixels stay, and those of a new size are the surface's own.
    const Surface kept = surface;
    presenter.reset();
    EXPECT_EQ(Differing(surface, kept), 0);
    surface.Resize(20, 10);
    EXPECT_EQ(surface.Memory(), nullptr);
    EXPECT_EQ(surface.Pixel(7, 7), 0xFFEE00u);
    XDestroyWindow(screen.display(), window);
}

} // namespace
