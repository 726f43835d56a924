// A message box on a real X display without a window manager: the keyboard goes to the box
// (not to whatever lies under the pointer), with or without an owner window on the screen.
#include "UserFixture.h"

#include "platform/win/user/Dialogs.h"
#include "tests/support/TestDisplay.h"
#include "tests/support/X11TopLevel.h"

#define Region XlibRegion
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#undef Region

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

Window Named(Display* x, const std::string& caption)
{
    return FindTopLevelX11Window(x, caption.c_str(), X11Shown::Viewable);
}

// Whether the window's title bar shows the active colours: blue, where the inactive ones
// are grey. Looked at above the caption text, a third of the way across.
bool TitleBarActive(Display* x, Window window)
{
    XWindowAttributes a{};
    if (!window || !XGetWindowAttributes(x, window, &a))
        return false;
    XImage* image = XGetImage(x, window, a.width / 3, 5, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return false;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    const unsigned long red = (pixel >> 16) & 0xFF, blue = pixel & 0xFF;
    return blue > red + 0x30;
}

// A second X client, as the user's keyboard: finds the box by its caption, waits for it to
// have the keyboard, then presses the key where the keyboard goes. A box still open after
// that is closed through its close box, and the outcome says so.
class Keyboard {
public:
    // `owner`: the caption of the window behind the box, whose title bar is looked at too;
    // `whileUp` runs once the box has the keyboard and is drawn, before the key.
    // `pointer`: where the pointer rests, in screen coordinates.
    Keyboard(const std::string& display, std::string caption, KeySym key, std::string owner = {},
             POINT pointer = {1, 1}, std::function<void()> whileUp = {})
        : owner_(std::move(owner)), pointer_(pointer), whileUp_(std::move(whileUp)),
          thread_([this, display, caption = std::move(caption), key] { Run(display, caption, key); })
    {
    }
    ~Keyboard() { Join(); }
    void Join()
    {
        if (thread_.joinable())
            thread_.join();
    }

    std::atomic<bool> hadTheKeyboard{false};
    std::atomic<bool> closedByHand{false};
    std::atomic<bool> boxDrawnActive{false};
    std::atomic<bool> ownerDrawnInactive{false};

private:
    template <class Test>
    static bool Within(std::chrono::milliseconds limit, Test test)
    {
        for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;
             std::this_thread::sleep_for(20ms))
            if (test())
                return true;
        return false;
    }

    void Run(const std::string& display, const std::string& caption, KeySym key)
    {
        Display* x = XOpenDisplay(display.c_str());
        if (!x)
            return;
        const Window root = DefaultRootWindow(x);
        // The pointer rests where no window is, or on the owner when there is one to look at.
        XWarpPointer(x, None, root, 0, 0, 0, 0, pointer_.x, pointer_.y);
        XSync(x, False);
        Window box = 0;
        Within(5000ms, [&] { return (box = Named(x, caption)) != 0; });
        Window focus = 0;
        int revert = 0;
        hadTheKeyboard = box && Within(3000ms, [&] {
            XGetInputFocus(x, &focus, &revert);
            return focus == box;
        });
        if (hadTheKeyboard) {
            // Painting follows the activation: a moment for the title bars to show it.
            boxDrawnActive = Within(2000ms, [&] { return TitleBarActive(x, box); });
            if (!owner_.empty())
                ownerDrawnInactive = Within(2000ms, [&] { return !TitleBarActive(x, Named(x, owner_)); });
            if (whileUp_)
                whileUp_();
        }
        XGetInputFocus(x, &focus, &revert);
        for (int type : {KeyPress, KeyRelease}) {
            XEvent e{};
            e.xkey.type = type;
            e.xkey.display = x;
            e.xkey.window = focus > PointerRoot ? focus : root;
            e.xkey.root = root;
            e.xkey.time = CurrentTime;
            e.xkey.same_screen = True;
            e.xkey.keycode = XKeysymToKeycode(x, key);
            XSendEvent(x, InputFocus, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &e);
        }
        XSync(x, False);
        if (box && !Within(3000ms, [&] { return Named(x, caption) == 0; })) {
            closedByHand = true;
            XEvent e{};
            e.xclient.type = ClientMessage;
            e.xclient.window = box;
            e.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
            e.xclient.format = 32;
            e.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
            XSendEvent(x, box, False, NoEventMask, &e);
            XSync(x, False);
        }
        XCloseDisplay(x);
    }

    std::string owner_;
    POINT pointer_;
    std::function<void()> whileUp_;
    std::thread thread_;
};

class MessageBoxX11 : public UserTest {};

TEST_F(MessageBoxX11, ReturnSpaceAndEscapeReachTheBoxWhateverItsOwner)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(420, 800, 600);
    ASSERT_TRUE(display.Install());
    HWND shown = Create(WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 300, 300, 300, 200, nullptr, 0, "Finestra");
    HWND hidden = Create(WS_CAPTION | WS_SYSMENU, 200, 150, 300, 200, nullptr, 0, "Nascosta");
    Pump();
    const struct {
        KeySym key;
        UINT type;
        int answer;
    } keys[] = {
        {XK_Return, MB_OKCANCEL, IDOK},
        {XK_space, MB_OKCANCEL, IDOK},
        {XK_space, MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
        {XK_Escape, MB_YESNOCANCEL, IDCANCEL},
        {XK_Escape, MB_OK, IDOK},
    };
    const struct {
        HWND window;
        const char* what;
    } owners[] = {{nullptr, "no owner"}, {hidden, "an owner not yet shown"}, {shown, "an owner on the screen"}};
    int n = 0;
    for (const auto& owner : owners) {
        for (const auto& k : keys) {
            const std::string caption = "Errore " + std::to_string(++n);
            Keyboard keyboard(display.Name(), caption, k.key);
            const int answer = MessageBoxA(owner.window, "Invalid path: the folder does not exist.", caption.c_str(),
                                           k.type | MB_ICONSTOP);
            keyboard.Join();
            EXPECT_TRUE(keyboard.hadTheKeyboard) << owner.what << ", " << caption;
            EXPECT_FALSE(keyboard.closedByHand) << owner.what << ", " << caption;
            EXPECT_EQ(answer, k.answer) << owner.what << ", " << caption;
        }
    }
    UserResetWindowSystem();
    display.Stop();
}

// A window shown under the pointer takes the keyboard and stays the active window: the
// pointer's share of the keyboard that it loses on the way changes nothing.
TEST_F(MessageBoxX11, AWindowShownUnderThePointerStaysActive)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(420, 800, 600);
    ASSERT_TRUE(display.Install());
    Display* x = XOpenDisplay(display.Name().c_str());
    ASSERT_NE(x, nullptr);
    XWarpPointer(x, None, DefaultRootWindow(x), 0, 0, 0, 0, 300, 250);
    XSync(x, False);
    HWND form = Create(WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 200, 150, 300, 200, nullptr, 0, "Procedura di importazione");
    Window shown = 0, focus = 0;
    int revert = 0;
    for (int i = 0; i < 150 && (!shown || focus != shown); ++i) {
        Pump();
        std::this_thread::sleep_for(20ms);
        shown = Named(x, "Procedura di importazione");
        XGetInputFocus(x, &focus, &revert);
    }
    EXPECT_NE(shown, 0u);
    EXPECT_EQ(focus, shown);
    for (int i = 0; i < 10; ++i) {
        Pump();
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(GetActiveWindow(), form);
    XCloseDisplay(x);
    UserResetWindowSystem();
    display.Stop();
}


// Boxes shown one after the other over their owner, the pointer resting on the owner (as
// after a click on it): each box has the keyboard and the active title bar while it is up,
// the owner behind it the inactive one. When a box closes, the keyboard goes back to the
// root for a moment and the server lends it to the window under the pointer; that loan
// must not take the activation from the next box.
TEST_F(MessageBoxX11, BoxesInASequenceAreEachTheActiveWindow)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(420, 800, 600);
    ASSERT_TRUE(display.Install());
    HWND owner = Create(WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 200, 150, 400, 300, nullptr, 0, "Finestra");
    for (int i = 0; i < 50 || GetActiveWindow() != owner; ++i) {
        Pump();
        std::this_thread::sleep_for(10ms);
        ASSERT_LT(i, 300) << "the owner became active";
    }
    std::atomic<bool> screenSaved{!TestDisplay::CanSaveScreen()};
    for (int n = 1; n <= 3; ++n) {
        const std::string caption = "Avviso " + std::to_string(n);
        Keyboard keyboard(display.Name(), caption, XK_Return, "Finestra", POINT{230, 420}, [&, n] {
            if (n == 2 && TestDisplay::CanSaveScreen())
                screenSaved = display.SaveScreen("vendaro-message-box-second-in-a-sequence.png");
        });
        const int answer = MessageBoxA(owner, "I clienti gi\xE0 presenti in archivio non sono stati importati",
                                       caption.c_str(), MB_OK);
        keyboard.Join();
        EXPECT_TRUE(keyboard.hadTheKeyboard) << caption;
        EXPECT_TRUE(keyboard.boxDrawnActive) << caption;
        EXPECT_TRUE(keyboard.ownerDrawnInactive) << caption;
        EXPECT_FALSE(keyboard.closedByHand) << caption;
        EXPECT_EQ(answer, IDOK) << caption;
    }
    EXPECT_TRUE(screenSaved);
    UserResetWindowSystem();
    display.Stop();
}

} // namespace
