// The X11 backend: every visible top-level window is one undecorated X window that
// shows the window's surface (frame and caption drawn by the window system itself).
// X events become the same raw input tests inject. All Xlib use stays in this file and in the
// clipboard's (X11Clipboard.cpp).
#include "platform/win/user/Display.h"

#include "platform/rtl/CodePage.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/kernel/Time.h"
#include "platform/win/user/Focus.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/WindowObject.h"
#include "platform/win/user/X11Clipboard.h"
#include "platform/win/user/X11Presenter.h"
#include "platform/win/user/X11Shape.h"

// Xlib's own region type would clash with the window system's Region.
#define Region XlibRegion
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>
#undef Region

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace {

struct KeyMapping {
    KeySym keysym;
    BYTE vk;
};

constexpr KeyMapping kKeys[] = {
    {XK_BackSpace, VK_BACK},   {XK_Tab, VK_TAB},         {XK_Return, VK_RETURN},   {XK_KP_Enter, VK_RETURN},
    {XK_Escape, VK_ESCAPE},    {XK_space, VK_SPACE},     {XK_Prior, VK_PRIOR},     {XK_Next, VK_NEXT},
    {XK_End, VK_END},          {XK_Home, VK_HOME},       {XK_Left, VK_LEFT},       {XK_Up, VK_UP},
    {XK_Right, VK_RIGHT},      {XK_Down, VK_DOWN},       {XK_Insert, VK_INSERT},   {XK_Delete, VK_DELETE},
    {XK_Shift_L, VK_SHIFT},    {XK_Shift_R, VK_SHIFT},   {XK_Control_L, VK_CONTROL}, {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU},       {XK_Alt_R, VK_MENU},      {XK_ISO_Level3_Shift, VK_MENU}, {XK_Caps_Lock, VK_CAPITAL},
    {XK_Num_Lock, VK_NUMLOCK}, {XK_Scroll_Lock, VK_SCROLL}, {XK_Pause, VK_PAUSE}, {XK_Menu, VK_APPS},
    {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Add, VK_ADD}, {XK_KP_Subtract, VK_SUBTRACT}, {XK_KP_Decimal, VK_DECIMAL},
    {XK_KP_Divide, VK_DIVIDE}, {XK_semicolon, VK_OEM_1}, {XK_equal, VK_OEM_PLUS}, {XK_comma, VK_OEM_COMMA},
    {XK_minus, VK_OEM_MINUS}, {XK_period, VK_OEM_PERIOD}, {XK_slash, VK_OEM_2}, {XK_grave, VK_OEM_3},
    {XK_bracketleft, VK_OEM_4}, {XK_backslash, VK_OEM_5}, {XK_bracketright, VK_OEM_6}, {XK_apostrophe, VK_OEM_7},
};

// Requests on windows the server already dropped fail harmlessly; the default handler would end the process.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

BYTE VirtualKeyFor(KeySym sym) {
    if (sym >= XK_a && sym <= XK_z)
        return static_cast<BYTE>('A' + (sym - XK_a));
    if (sym >= XK_A && sym <= XK_Z)
        return static_cast<BYTE>('A' + (sym - XK_A));
    if (sym >= XK_0 && sym <= XK_9)
        return static_cast<BYTE>('0' + (sym - XK_0));
    if (sym >= XK_F1 && sym <= XK_F12)
        return static_cast<BYTE>(VK_F1 + (sym - XK_F1));
    if (sym >= XK_KP_0 && sym <= XK_KP_9)
        return static_cast<BYTE>(VK_NUMPAD0 + (sym - XK_KP_0));
    for (const KeyMapping& k : kKeys)
        if (k.keysym == sym)
            return k.vk;
    return VK_OEM_102;
}

class X11Display : public DisplayBackend {
public:
    X11Display(Display* display, bool sharedMemory)
        : display_(display), presenter_(std::make_shared<X11Presenter>(display, sharedMemory)) {
        // Both names in one request: each would otherwise wait for its own answer.
        char* names[] = {const_cast<char*>("WM_DELETE_WINDOW"), const_cast<char*>("_MOTIF_WM_HINTS")};
        Atom atoms[2] = {};
        XInternAtoms(display_, names, 2, False, atoms);
        deleteWindow_ = atoms[0];
        motifHints_ = atoms[1];
        if (pipe(wake_) == 0) {
            fcntl(wake_[0], F_SETFL, O_NONBLOCK);
            fcntl(wake_[1], F_SETFL, O_NONBLOCK);
        }
        UserSetScreenSizeFromDisplay();
        X11ClipboardAttach(display_);
    }
    ~X11Display() override {
        X11ClipboardDetach(display_);
        presenter_.reset();
        for (auto& [hwnd, x] : windows_)
            XDestroyWindow(display_, x);
        for (auto& [shape, cursor] : cursors_)
            XFreeCursor(display_, cursor);
        XCloseDisplay(display_);
        close(wake_[0]);
        close(wake_[1]);
    }

    bool IsHeadless() const override { return false; }

    void PollEvents() override {
        while (XPending(display_)) {
            XEvent event;
            XNextEvent(display_, &event);
            if (!X11ClipboardHandleEvent(event))
                Translate(event);
        }
    }

    bool WaitForEvents(bool hasDeadline, DWORD dueTick) override {
        Present();
        XFlush(display_);
        if (XPending(display_))
            return true;
        pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wake_[0], POLLIN, 0}};
        int timeout = -1;
        if (hasDeadline)
            timeout = std::max(0, static_cast<int>(static_cast<LONG>(dueTick - GetTickCount())));
        poll(fds, 2, timeout);
        char drain[64];
        while (read(wake_[0], drain, sizeof drain) > 0) {
        }
        return true;
    }

    void Wake() override {
        const char byte = 1;
        [[maybe_unused]] ssize_t written = write(wake_[1], &byte, 1);
    }

    void WindowShown(HWND window) override {
        Window x = Ensure(window);
        if (!x)
            return;
        XMapRaised(display_, x);
        Place(window, x);
        XFlush(display_);
    }

    // The keyboard goes to the active window without help from a window manager (there may
    // be none: keys would go to whatever lies under the pointer). A window not yet on the
    // screen takes it when it is mapped.
    void WindowActivated(HWND window) override {
        Window x = Find(window);
        if (!x || x == focused_ || !mapped_.count(x))
            return;
        askedFocus_.insert(x);
        XSetInputFocus(display_, x, RevertToParent, CurrentTime);
        XFlush(display_);
    }

    void WindowHidden(HWND window) override {
        if (Window x = Find(window)) {
            XUnmapWindow(display_, x);
            XFlush(display_);
        }
    }

    void WindowGeometryChanged(HWND window) override {
        if (Window x = Find(window)) {
            Place(window, x);
            ChangedWhole(window, x);
        }
    }

    void WindowDestroyed(HWND window) override {
        auto it = windows_.find(window);
        if (it == windows_.end())
            return;
        byX_.erase(it->second);
        mapped_.erase(it->second);
        askedFocus_.erase(it->second);
        if (focused_ == it->second)
            focused_ = 0;
        presenter_->Forget(it->second);
        XDestroyWindow(display_, it->second);
        windows_.erase(it);
        XFlush(display_);
    }

    void WindowShapeChanged(HWND window) override {
        WindowObject* w = UserFindWindow(window);
        if (Window x = Find(window); x && w) {
            X11ApplyWindowShape(display_, x, *w);
            XFlush(display_);
        }
    }

    void WindowTextChanged(HWND window) override {
        WindowObject* w = UserFindWindow(window);
        Window x = Find(window);
        if (!w || !x)
            return;
        const std::string title = AnsiToUtf8(w->text);
        XStoreName(display_, x, title.c_str());
        XFlush(display_);
    }

    void SurfaceChanged(HWND window, const RECT& area) override {
        if (Window x = Find(window))
            presenter_->Changed(x, area);
        if (presenter_->Overdue())
            Present();
    }

    void Present() override {
        presenter_->Present([this](Window x) -> const Surface* {
            auto it = byX_.find(x);
            WindowObject* w = it == byX_.end() ? nullptr : UserFindWindow(it->second);
            return w && w->surface && (w->style & WS_VISIBLE) ? w->surface.get() : nullptr;
        });
    }

    void CursorChanged(DWORD_PTR id) override {
        const unsigned shape = ShapeForCursor(id);
        auto it = cursors_.find(shape);
        if (it == cursors_.end())
            it = cursors_.emplace(shape, XCreateFontCursor(display_, shape)).first;
        for (auto& [hwnd, x] : windows_)
            XDefineCursor(display_, x, it->second);
        XFlush(display_);
    }

    bool ReadBack(HWND window, Surface* into) override {
        Window x = Find(window);
        WindowObject* w = UserFindWindow(window);
        if (!x || !w || !into)
            return false;
        XSync(display_, False);
        XImage* image = XGetImage(display_, x, 0, 0, static_cast<unsigned>(w->Width()), static_cast<unsigned>(w->Height()), AllPlanes, ZPixmap);
        if (!image)
            return false;
        into->Resize(w->Width(), w->Height());
        for (int y = 0; y < w->Height(); ++y)
            for (int px = 0; px < w->Width(); ++px)
                into->SetPixel(px, y, static_cast<std::uint32_t>(XGetPixel(image, px, y)) & 0xFFFFFF);
        XDestroyImage(image);
        return true;
    }

private:
    void UserSetScreenSizeFromDisplay() {
        const int screen = DefaultScreen(display_);
        SetScreenSize(DisplayWidth(display_, screen), DisplayHeight(display_, screen));
    }

    static unsigned ShapeForCursor(DWORD_PTR id) {
        switch (id) {
        case 32513: return XC_xterm;
        case 32514: case 32650: return XC_watch;
        case 32515: return XC_crosshair;
        case 32516: return XC_center_ptr;
        case 32642: case 32643: case 32646: case 32640: return XC_fleur;
        case 32644: return XC_sb_h_double_arrow;
        case 32645: return XC_sb_v_double_arrow;
        case 32648: return XC_X_cursor;
        case 32649: return XC_hand2;
        case 32651: return XC_question_arrow;
        default: return XC_left_ptr;
        }
    }

    Window Find(HWND window) const {
        auto it = windows_.find(window);
        return it == windows_.end() ? 0 : it->second;
    }

    Window Ensure(HWND window) {
        if (Window x = Find(window))
            return x;
        WindowObject* w = UserFindWindow(window);
        if (!w || !w->IsTopLevel())
            return 0;
        const int screen = DefaultScreen(display_);
        XSetWindowAttributes attributes{};
        attributes.background_pixmap = None;
        attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                                KeyReleaseMask | FocusChangeMask | StructureNotifyMask;
        attributes.override_redirect = (w->style & WS_POPUP) && !(w->style & WS_CAPTION) ? True : False;
        Window x = XCreateWindow(display_, RootWindow(display_, screen), w->rect.left, w->rect.top,
                                 static_cast<unsigned>(std::max(w->Width(), 1)), static_cast<unsigned>(std::max(w->Height(), 1)), 0,
                                 CopyFromParent, InputOutput, CopyFromParent,
                                 CWBackPixmap | CWEventMask | CWOverrideRedirect, &attributes);
        // No window-manager decoration: the window system draws its own frame.
        const long hints[5] = {2, 0, 0, 0, 0};
        XChangeProperty(display_, x, motifHints_, motifHints_, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(hints), 5);
        Atom protocols[] = {deleteWindow_};
        XSetWMProtocols(display_, x, protocols, 1);
        windows_[window] = x;
        byX_[x] = window;
        // Its pixels from now on live where the server reads them.
        if (w->surface)
            w->surface->SetMemorySource(X11SharedMemorySource(presenter_));
        WindowTextChanged(window);
        // A new X window is whole: only a window region needs the shape extension.
        if (w->shape)
            X11ApplyWindowShape(display_, x, *w);
        return x;
    }

    void Place(HWND window, Window x) {
        WindowObject* w = UserFindWindow(window);
        if (!w)
            return;
        XSizeHints hints{};
        hints.flags = PPosition | USPosition;
        hints.x = w->rect.left;
        hints.y = w->rect.top;
        XSetWMNormalHints(display_, x, &hints);
        XMoveResizeWindow(display_, x, w->rect.left, w->rect.top, static_cast<unsigned>(std::max(w->Width(), 1)),
                          static_cast<unsigned>(std::max(w->Height(), 1)));
    }

    void ChangedWhole(HWND window, Window x) {
        if (WindowObject* w = UserFindWindow(window); w && w->surface)
            presenter_->Changed(x, RECT{0, 0, w->surface->Width(), w->surface->Height()});
    }

    void Translate(XEvent& event) {
        auto it = byX_.find(event.xany.window);
        if (it == byX_.end())
            return;
        const HWND window = it->second;
        switch (event.type) {
        case Expose:
            presenter_->Changed(event.xexpose.window, RECT{event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                                                           event.xexpose.y + event.xexpose.height});
            break;
        case MotionNotify: UserInjectMouseMove(event.xmotion.x_root, event.xmotion.y_root); break;
        case ButtonPress:
        case ButtonRelease: Button(event.xbutton); break;
        case KeyPress:
        case KeyRelease: Key(event.xkey); break;
        case FocusIn:
            // The pointer's share of the keyboard (the focus went back to the root, which
            // lends the keys to the window under the pointer) is not the keyboard itself:
            // it comes, for instance, when one message box closes over its owner and the
            // next one is on its way, and must not take the activation from that box.
            if (event.xfocus.detail == NotifyPointer)
                break;
            focused_ = event.xfocus.window;
            // The answer to a focus the window system asked for itself activates nothing: the
            // activation came first and may have moved on since.
            if (auto asked = askedFocus_.find(event.xfocus.window); asked != askedFocus_.end())
                askedFocus_.erase(asked);
            else if (GetActiveWindow() != window && IsWindowVisible(window))
                UserActivate(window, WA_ACTIVE);
            break;
        case FocusOut:
            // The pointer's share of the keyboard, which the window loses as it takes the
            // keyboard itself: no change of the active window.
            if (event.xfocus.detail == NotifyPointer)
                break;
            if (focused_ == event.xfocus.window)
                focused_ = 0;
            if (GetActiveWindow() == window && event.xfocus.mode == NotifyNormal)
                UserActivate(nullptr, WA_INACTIVE);
            break;
        case MapNotify:
            mapped_.insert(event.xmap.window);
            if (GetActiveWindow() == window)
                WindowActivated(window);
            break;
        case UnmapNotify: mapped_.erase(event.xunmap.window); break;
        case ClientMessage:
            if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_)
                PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        default: break;
        }
    }

    void Button(const XButtonEvent& e) {
        const bool down = e.type == ButtonPress;
        if (e.button == 4 || e.button == 5) {
            if (down)
                UserInjectMouseWheel(e.button == 4 ? WHEEL_DELTA : -WHEEL_DELTA, e.x_root, e.y_root);
            return;
        }
        const MouseButton button = e.button == 1 ? MouseButton::Left : e.button == 3 ? MouseButton::Right : MouseButton::Middle;
        UserInjectMouseButton(button, down, e.x_root, e.y_root);
    }

    void Key(XKeyEvent& e) {
        char buffer[8] = {};
        KeySym sym = NoSymbol;
        const int count = XLookupString(&e, buffer, sizeof buffer, &sym, nullptr);
        const KeySym plain = XLookupKeysym(&e, 0);
        const BYTE vk = VirtualKeyFor(plain != NoSymbol ? plain : sym);
        // Latin-1 characters are the same bytes in Windows-1252.
        char character = 0;
        if (count == 1 && static_cast<unsigned char>(buffer[0]) >= 0x20)
            character = buffer[0];
        else if (sym >= 0xA0 && sym <= 0xFF)
            character = static_cast<char>(sym);
        else if (sym == XK_EuroSign)
            character = '\x80';
        UserInjectKey(vk, e.type == KeyPress, character);
    }

    Display* display_;
    Atom deleteWindow_;
    Atom motifHints_;
    int wake_[2] = {-1, -1};
    Window focused_ = 0;  // the X window that has the keyboard, 0 when none of ours
    std::set<Window> mapped_;  // on the screen, as the server last told
    std::multiset<Window> askedFocus_;  // focus requests whose FocusIn has not come yet
    std::map<HWND, Window> windows_;
    std::map<Window, HWND> byX_;
    std::map<unsigned, Cursor> cursors_;
    std::shared_ptr<X11Presenter> presenter_;
};

}  // namespace

std::unique_ptr<DisplayBackend> UserCreateX11Display(const char* displayName, bool sharedMemory) {
    Display* display = XOpenDisplay(displayName);
    if (!display)
        return nullptr;
    XSetErrorHandler(IgnoreXError);
    return std::make_unique<X11Display>(display, sharedMemory);
}

bool UserSelectDisplayFromEnvironment() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return false;
    std::unique_ptr<DisplayBackend> x11 = UserCreateX11Display(name);
    if (!x11)
        return false;
    UserInstallDisplay(std::move(x11));
    return true;
}

bool UserHeadlessRequested() {
    const char* value = std::getenv(kHeadlessVariable);
    return value && *value && std::strcmp(value, "0") != 0;
}

bool UserOpenProgramDisplay(std::string& problem) {
    problem.clear();
    // The fonts load while the display is reached and the first windows are made.
    if (UserHeadlessRequested()) {
        GdiStartFontSetup();
        return true;
    }
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        problem = "cannot open display (DISPLAY is not set)";
        return false;
    }
    GdiStartFontSetup();
    std::unique_ptr<DisplayBackend> x11 = UserCreateX11Display(name);
    if (!x11) {
        problem = std::string("cannot open display ") + name;
        return false;
    }
    UserInstallDisplay(std::move(x11));
    return true;
}

bool UserReadBackWindow(HWND window, Surface* into) { return UserDisplay().ReadBack(window, into); }
