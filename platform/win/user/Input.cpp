// The input queue: raw events become mouse and key messages when they are retrieved.
#include "platform/win/user/Input.h"

#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/kernel/Time.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Focus.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/WindowObject.h"

#include <cstdlib>
#include <deque>

namespace {

constexpr UINT kDefaultDoubleClickTime = 500;
constexpr DWORD kDefaultHoverTime = 400;
constexpr int kHoverSquare = 4;
// Standard cursors are handles at a fixed distance from their ids.
constexpr DWORD_PTR kCursorHandleBase = 0x40000;
constexpr UINT kNonClientOffset = WM_MOUSEMOVE - WM_NCMOUSEMOVE;

enum class RawKind : BYTE { Move, Button, Wheel, Key };

struct RawEvent {
    RawKind kind;
    MouseButton button;
    bool down;
    POINT pt;
    int delta;
    BYTE virtualKey;
    char character;
    WPARAM keys;  // MK_ flags after the event
    DWORD time;
    bool leaveChecked;
};

struct Tracking {
    HWND window = nullptr;
    bool nonClient = false;
};

// A pending WM_MOUSEHOVER: due once the pointer rested within the hover square for the time.
struct HoverTracking {
    HWND window = nullptr;
    DWORD start = 0;
    DWORD time = 0;
    POINT anchor{};
};

struct InputState {
    std::deque<RawEvent> queue;
    BYTE asyncKeys[256]{};
    BYTE keys[256]{};
    POINT cursor{};
    HCURSOR currentCursor = nullptr;
    int cursorCount = 0;
    UINT doubleClickTime = kDefaultDoubleClickTime;
    // Last button press, for double clicks.
    HWND lastDownWindow = nullptr;
    UINT lastDownMessage = 0;
    DWORD lastDownTime = 0;
    POINT lastDownPoint{};
    Tracking tracking;
    HoverTracking hover;
    BYTE lastKey = 0;
    char lastKeyCharacter = 0;
};

InputState& State() {
    static InputState state;
    return state;
}

BYTE ButtonKey(MouseButton b) {
    return b == MouseButton::Left ? VK_LBUTTON : b == MouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
}

WPARAM CurrentMouseKeys(const BYTE* keys) {
    WPARAM k = 0;
    if (keys[VK_LBUTTON] & 0x80) k |= MK_LBUTTON;
    if (keys[VK_RBUTTON] & 0x80) k |= MK_RBUTTON;
    if (keys[VK_MBUTTON] & 0x80) k |= MK_MBUTTON;
    if (keys[VK_SHIFT] & 0x80) k |= MK_SHIFT;
    if (keys[VK_CONTROL] & 0x80) k |= MK_CONTROL;
    return k;
}

void SetKey(BYTE* keys, BYTE vk, bool down) {
    if (down) {
        if (!(keys[vk] & 0x80))
            keys[vk] ^= 0x01;
        keys[vk] |= 0x80;
    } else {
        keys[vk] &= static_cast<BYTE>(~0x80);
    }
}

// Left/right keys also move their common key.
void SetKeyWithCommon(BYTE* keys, BYTE vk, bool down) {
    SetKey(keys, vk, down);
    switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: SetKey(keys, VK_SHIFT, down); break;
    case VK_LCONTROL: case VK_RCONTROL: SetKey(keys, VK_CONTROL, down); break;
    case VK_LMENU: case VK_RMENU: SetKey(keys, VK_MENU, down); break;
    default: break;
    }
}

void Push(RawEvent e) {
    e.time = GetTickCount();
    State().queue.push_back(e);
    UserDisplay().Wake();
}

UINT ButtonMessage(MouseButton b, bool down) {
    switch (b) {
    case MouseButton::Left: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case MouseButton::Right: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
}

struct MouseTarget {
    HWND window = nullptr;
    LRESULT hit = HTNOWHERE;
};

MouseTarget TargetAt(POINT pt) {
    if (HWND capture = GetCapture())
        return {capture, HTCLIENT};
    HWND window = WindowFromPoint(pt);
    if (!window)
        return {};
    return {window, UserSend(window, WM_NCHITTEST, 0, UserPackPoint(pt.x, pt.y))};
}

bool IsDoubleClick(const InputState& s, HWND window, UINT message, const RawEvent& e) {
    return s.lastDownWindow == window && s.lastDownMessage == message && e.time - s.lastDownTime <= s.doubleClickTime &&
           std::abs(e.pt.x - s.lastDownPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(e.pt.y - s.lastDownPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

bool WantsDoubleClicks(HWND window, LRESULT hit) {
    if (hit != HTCLIENT)
        return true;
    WindowObject* w = UserFindWindow(window);
    return w && w->cls && (w->cls->style & CS_DBLCLKS);
}

// A WM_MOUSELEAVE (or WM_NCMOUSELEAVE) is due when the pointer left the tracked window.
bool LeaveDue(const InputState& s, POINT pt) {
    if (!s.tracking.window)
        return false;
    HWND under = WindowFromPoint(pt);
    if (under != s.tracking.window)
        return true;
    const LRESULT hit = UserSend(under, WM_NCHITTEST, 0, UserPackPoint(pt.x, pt.y));
    return s.tracking.nonClient ? hit == HTCLIENT : hit != HTCLIENT;
}

// Mouse activation of a press on an inactive top-level window; true when the press is eaten.
bool ActivateForPress(HWND window, LRESULT hit, UINT message) {
    const HWND top = UserTopLevelOf(window);
    if (!top || top == GetActiveWindow() || GetCapture())
        return false;
    const LRESULT answer = UserSend(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                    MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
    if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT)
        UserActivate(top, WA_CLICKACTIVE);
    return answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
}

MSG MouseMessage(const RawEvent& e, const MouseTarget& t, UINT clientMessage) {
    MSG m{t.window, clientMessage, e.keys, 0, e.time, e.pt};
    if (clientMessage == WM_MOUSEWHEEL) {
        m.wParam = MAKEWPARAM(static_cast<WORD>(e.keys), static_cast<WORD>(e.delta));
        m.lParam = UserPackPoint(e.pt.x, e.pt.y);
        return m;
    }
    if (t.hit == HTCLIENT) {
        POINT p = e.pt;
        ScreenToClient(t.window, &p);
        m.lParam = UserPackPoint(p.x, p.y);
    } else {
        m.message = clientMessage - kNonClientOffset;
        m.wParam = static_cast<WPARAM>(t.hit);
        m.lParam = UserPackPoint(e.pt.x, e.pt.y);
    }
    return m;
}

LPARAM KeyData(const RawEvent& e, bool wasDown, bool alt) {
    DWORD data = 1;
    data |= static_cast<DWORD>(e.virtualKey & 0xFF) << 16;
    if (alt) data |= 1u << 29;
    if (wasDown) data |= 1u << 30;
    if (!e.down) data |= 1u << 31;
    return static_cast<LPARAM>(static_cast<LONG>(data));
}

bool TakeKey(MSG* out, const MessageFilter& filter, bool remove, RawEvent& e) {
    InputState& s = State();
    HWND target = GetFocus();
    const bool alt = (s.keys[VK_MENU] & 0x80) || (e.virtualKey == VK_MENU && e.down);
    const bool control = (s.keys[VK_CONTROL] & 0x80) != 0;
    bool system = (alt && !control) || e.virtualKey == VK_F10;
    if (!target) {
        target = GetActiveWindow();
        system = true;
    }
    const UINT message = system ? (e.down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (e.down ? WM_KEYDOWN : WM_KEYUP);
    if (!target) {
        if (remove) {
            SetKeyWithCommon(s.keys, e.virtualKey, e.down);
            s.queue.pop_front();
        }
        return false;
    }
    if (!filter.Accepts(target, message))
        return false;
    const bool wasDown = (s.keys[e.virtualKey] & 0x80) != 0;
    *out = MSG{target, message, e.virtualKey, KeyData(e, wasDown, alt && !(e.virtualKey == VK_MENU && !e.down)), e.time, s.cursor};
    if (remove) {
        SetKeyWithCommon(s.keys, e.virtualKey, e.down);
        if (e.down) {
            s.lastKey = e.virtualKey;
            s.lastKeyCharacter = e.character;
        }
        s.queue.pop_front();
    }
    return true;
}

enum class Outcome { Message, Dropped, Blocked };

Outcome TakeMouse(MSG* out, const MessageFilter& filter, bool remove, RawEvent& e) {
    InputState& s = State();
    if (e.kind == RawKind::Move && !e.leaveChecked && LeaveDue(s, e.pt)) {
        const UINT leave = s.tracking.nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE;
        if (!filter.Accepts(s.tracking.window, leave))
            return Outcome::Blocked;
        *out = MSG{s.tracking.window, leave, 0, 0, e.time, e.pt};
        if (remove) {
            s.tracking = Tracking{};
            e.leaveChecked = true;
        }
        return Outcome::Message;
    }
    MouseTarget target = e.kind == RawKind::Wheel ? MouseTarget{GetFocus() ? GetFocus() : GetActiveWindow(), HTCLIENT}
                                                  : TargetAt(e.pt);
    // Nothing reaches a disabled top-level window (the owner of a modal dialog).
    if (target.window && e.kind != RawKind::Wheel && !GetCapture() && !IsWindowEnabled(UserTopLevelOf(target.window)))
        target = MouseTarget{};
    if (!target.window) {
        if (remove) {
            if (e.kind == RawKind::Button)
                SetKey(s.keys, ButtonKey(e.button), e.down);
            s.queue.pop_front();
        }
        return Outcome::Dropped;
    }
    UINT message = e.kind == RawKind::Move ? WM_MOUSEMOVE : e.kind == RawKind::Wheel ? WM_MOUSEWHEEL : ButtonMessage(e.button, e.down);
    const bool press = e.kind == RawKind::Button && e.down;
    const bool dbl = press && WantsDoubleClicks(target.window, target.hit) && IsDoubleClick(s, target.window, message, e);
    if (dbl)
        message += 2;  // WM_xBUTTONDOWN + 2 is WM_xBUTTONDBLCLK
    MSG m = MouseMessage(e, target, message);
    if (!filter.Accepts(m.hwnd, m.message))
        return Outcome::Blocked;
    if (!remove) {
        *out = m;
        return Outcome::Message;
    }
    const RawEvent event = e;
    s.queue.pop_front();
    if (s.hover.window && (std::abs(event.pt.x - s.hover.anchor.x) > kHoverSquare / 2 ||
                           std::abs(event.pt.y - s.hover.anchor.y) > kHoverSquare / 2)) {
        s.hover.anchor = event.pt;
        s.hover.start = event.time;
    }
    if (event.kind == RawKind::Button)
        SetKey(s.keys, ButtonKey(event.button), event.down);
    if (press) {
        s.lastDownWindow = dbl ? nullptr : target.window;
        s.lastDownMessage = dbl ? 0 : message;
        s.lastDownTime = event.time;
        s.lastDownPoint = event.pt;
    }
    if (press && ActivateForPress(target.window, target.hit, message))
        return Outcome::Dropped;
    if (!IsWindow(target.window))
        return Outcome::Dropped;
    if (event.kind != RawKind::Wheel && !GetCapture())
        UserSend(target.window, WM_SETCURSOR, reinterpret_cast<WPARAM>(target.window),
                 MAKELPARAM(static_cast<WORD>(target.hit), static_cast<WORD>(message)));
    if (!IsWindow(target.window))
        return Outcome::Dropped;
    *out = m;
    return Outcome::Message;
}

}  // namespace

bool UserTakeInputMessage(MSG* out, const MessageFilter& filter, bool remove) {
    InputState& s = State();
    while (!s.queue.empty()) {
        RawEvent& e = s.queue.front();
        if (e.kind == RawKind::Key) {
            const size_t before = s.queue.size();
            if (TakeKey(out, filter, remove, e))
                return true;
            if (s.queue.size() == before)
                return false;
            continue;
        }
        switch (TakeMouse(out, filter, remove, e)) {
        case Outcome::Message: return true;
        case Outcome::Blocked: return false;
        case Outcome::Dropped:
            if (!remove)
                return false;
            break;
        }
    }
    return false;
}

bool UserHasPendingInput() { return !State().queue.empty(); }

void UserInjectMouseMove(int x, int y) {
    InputState& s = State();
    s.cursor = {x, y};
    Push(RawEvent{RawKind::Move, MouseButton::Left, false, {x, y}, 0, 0, 0, CurrentMouseKeys(s.asyncKeys), 0, false});
}

void UserInjectMouseButton(MouseButton button, bool down, int x, int y) {
    InputState& s = State();
    s.cursor = {x, y};
    SetKey(s.asyncKeys, ButtonKey(button), down);
    Push(RawEvent{RawKind::Button, button, down, {x, y}, 0, 0, 0, CurrentMouseKeys(s.asyncKeys), 0, false});
}

void UserInjectMouseWheel(int delta, int x, int y) {
    InputState& s = State();
    s.cursor = {x, y};
    Push(RawEvent{RawKind::Wheel, MouseButton::Left, false, {x, y}, delta, 0, 0, CurrentMouseKeys(s.asyncKeys), 0, false});
}

void UserInjectKey(BYTE virtualKey, bool down, char character) {
    InputState& s = State();
    SetKeyWithCommon(s.asyncKeys, virtualKey, down);
    Push(RawEvent{RawKind::Key, MouseButton::Left, down, s.cursor, 0, virtualKey, character, 0, 0, false});
}

void UserInjectKeyStroke(BYTE virtualKey, bool shift, bool control, bool alt) {
    if (shift) UserInjectKey(VK_SHIFT, true);
    if (control) UserInjectKey(VK_CONTROL, true);
    if (alt) UserInjectKey(VK_MENU, true);
    UserInjectKey(virtualKey, true);
    UserInjectKey(virtualKey, false);
    if (alt) UserInjectKey(VK_MENU, false);
    if (control) UserInjectKey(VK_CONTROL, false);
    if (shift) UserInjectKey(VK_SHIFT, false);
}

namespace {

struct KeyFor {
    BYTE vk;
    bool shift;
};

// Keys of a US keyboard for the printable ASCII characters.
KeyFor KeyForCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') return {static_cast<BYTE>(u - 'a' + 'A'), false};
    if (u >= 'A' && u <= 'Z') return {static_cast<BYTE>(u), true};
    if (u >= '0' && u <= '9') return {static_cast<BYTE>(u), false};
    static const char* shiftedDigits = ")!@#$%^&*(";
    for (int i = 0; i < 10; ++i)
        if (shiftedDigits[i] == c) return {static_cast<BYTE>('0' + i), true};
    struct Oem { char plain; char shifted; BYTE vk; };
    static const Oem oem[] = {{';', ':', VK_OEM_1}, {'=', '+', VK_OEM_PLUS}, {',', '<', VK_OEM_COMMA},
                              {'-', '_', VK_OEM_MINUS}, {'.', '>', VK_OEM_PERIOD}, {'/', '?', VK_OEM_2},
                              {'`', '~', VK_OEM_3}, {'[', '{', VK_OEM_4}, {'\\', '|', VK_OEM_5},
                              {']', '}', VK_OEM_6}, {'\'', '"', VK_OEM_7}};
    for (const Oem& o : oem) {
        if (o.plain == c) return {o.vk, false};
        if (o.shifted == c) return {o.vk, true};
    }
    if (c == ' ') return {VK_SPACE, false};
    if (c == '\r' || c == '\n') return {VK_RETURN, false};
    if (c == '\t') return {VK_TAB, false};
    return {0, false};
}

}  // namespace

void UserInjectText(const AnsiString& text) {
    for (int i = 1; i <= text.Length(); ++i) {
        const KeyFor key = KeyForCharacter(text[i]);
        if (!key.vk) {
            // Characters without a key of their own come as a typed character of an OEM key.
            UserInjectKey(VK_OEM_102, true, text[i]);
            UserInjectKey(VK_OEM_102, false);
            continue;
        }
        if (key.shift) UserInjectKey(VK_SHIFT, true);
        UserInjectKey(key.vk, true);
        UserInjectKey(key.vk, false);
        if (key.shift) UserInjectKey(VK_SHIFT, false);
    }
}

void UserInjectClick(int x, int y, MouseButton button) {
    UserInjectMouseMove(x, y);
    UserInjectMouseButton(button, true, x, y);
    UserInjectMouseButton(button, false, x, y);
}

char UserCharacterForKey(BYTE vk, bool shift, bool capsLock, bool control) {
    if (vk >= 'A' && vk <= 'Z') {
        if (control)
            return static_cast<char>(vk - 'A' + 1);
        return static_cast<char>((shift != capsLock) ? vk : vk - 'A' + 'a');
    }
    if (control) {
        // The control characters a US keyboard gives besides Ctrl+letter.
        if (vk == VK_BACK)
            return 0x7F;
        return vk == VK_RETURN ? '\n' : 0;
    }
    if (vk >= '0' && vk <= '9')
        return shift ? ")!@#$%^&*("[vk - '0'] : static_cast<char>(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return static_cast<char>('0' + vk - VK_NUMPAD0);
    switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 0x1B;
    case VK_OEM_1: return shift ? ':' : ';';
    case VK_OEM_PLUS: return shift ? '+' : '=';
    case VK_OEM_COMMA: return shift ? '<' : ',';
    case VK_OEM_MINUS: return shift ? '_' : '-';
    case VK_OEM_PERIOD: return shift ? '>' : '.';
    case VK_OEM_2: return shift ? '?' : '/';
    case VK_OEM_3: return shift ? '~' : '`';
    case VK_OEM_4: return shift ? '{' : '[';
    case VK_OEM_5: return shift ? '|' : '\\';
    case VK_OEM_6: return shift ? '}' : ']';
    case VK_OEM_7: return shift ? '"' : '\'';
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    default: return 0;
    }
}

BOOL TranslateMessage(const MSG* message) {
    if (!message || (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN))
        return FALSE;
    InputState& s = State();
    const BYTE vk = static_cast<BYTE>(message->wParam);
    char c = (vk == s.lastKey && s.lastKeyCharacter) ? s.lastKeyCharacter : 0;
    if (!c)
        c = UserCharacterForKey(vk, (s.keys[VK_SHIFT] & 0x80) != 0, (s.keys[VK_CAPITAL] & 0x01) != 0,
                                (s.keys[VK_CONTROL] & 0x80) != 0 && !(s.keys[VK_MENU] & 0x80));
    if (!c)
        return FALSE;
    const UINT charMessage = message->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    PostMessageA(message->hwnd, charMessage, static_cast<BYTE>(c), message->lParam);
    return TRUE;
}

SHORT GetKeyState(int virtualKey) {
    const BYTE k = State().keys[virtualKey & 0xFF];
    return static_cast<SHORT>(((k & 0x80) ? 0xFF80 : 0) | (k & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey) {
    const BYTE k = State().asyncKeys[virtualKey & 0xFF];
    return static_cast<SHORT>((k & 0x80) ? 0x8000 : 0);
}

BOOL GetKeyboardState(BYTE* state) {
    if (!state)
        return FALSE;
    std::copy(std::begin(State().keys), std::end(State().keys), state);
    return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point)
        return FALSE;
    *point = State().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    UserInjectMouseMove(x, y);
    return TRUE;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
    if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT))
        return FALSE;
    InputState& s = State();
    if (track->dwFlags & TME_QUERY) {
        const HWND window = s.tracking.window ? s.tracking.window : s.hover.window;
        track->dwFlags = (s.tracking.window ? TME_LEAVE : 0) | (s.tracking.nonClient ? TME_NONCLIENT : 0) |
                         (s.hover.window ? TME_HOVER : 0);
        track->hwndTrack = window;
        track->dwHoverTime = s.hover.time;
        return TRUE;
    }
    if (!(track->dwFlags & (TME_LEAVE | TME_HOVER)) || !IsWindow(track->hwndTrack))
        return FALSE;
    if (track->dwFlags & TME_CANCEL) {
        if ((track->dwFlags & TME_LEAVE) && s.tracking.window == track->hwndTrack)
            s.tracking = Tracking{};
        if ((track->dwFlags & TME_HOVER) && s.hover.window == track->hwndTrack)
            s.hover = HoverTracking{};
        return TRUE;
    }
    if (track->dwFlags & TME_HOVER) {
        const DWORD time = track->dwHoverTime == HOVER_DEFAULT ? kDefaultHoverTime : track->dwHoverTime;
        s.hover = HoverTracking{track->hwndTrack, GetTickCount(), time, s.cursor};
    }
    if (!(track->dwFlags & TME_LEAVE))
        return TRUE;
    s.tracking = Tracking{track->hwndTrack, (track->dwFlags & TME_NONCLIENT) != 0};
    // Already outside: the leave comes at once.
    if (LeaveDue(s, s.cursor)) {
        PostMessageA(track->hwndTrack, s.tracking.nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        s.tracking = Tracking{};
    }
    return TRUE;
}

bool UserTakeHoverMessage(MSG* out, const MessageFilter& filter, bool remove) {
    InputState& s = State();
    if (!s.hover.window || static_cast<LONG>(GetTickCount() - s.hover.start) < static_cast<LONG>(s.hover.time))
        return false;
    if (!IsWindow(s.hover.window) || WindowFromPoint(s.cursor) != s.hover.window) {
        s.hover = HoverTracking{};
        return false;
    }
    if (!filter.Accepts(s.hover.window, WM_MOUSEHOVER))
        return false;
    POINT p = s.cursor;
    ScreenToClient(s.hover.window, &p);
    *out = MSG{s.hover.window, WM_MOUSEHOVER, CurrentMouseKeys(s.keys), UserPackPoint(p.x, p.y), GetTickCount(), s.cursor};
    if (remove)
        s.hover = HoverTracking{};
    return true;
}

bool UserNextHoverDue(DWORD* tick) {
    const InputState& s = State();
    if (!s.hover.window)
        return false;
    *tick = s.hover.start + s.hover.time;
    return true;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    // The standard cursors are shared handles named after their ids.
    if (instance || !IS_INTRESOURCE(name))
        return nullptr;
    const auto id = reinterpret_cast<DWORD_PTR>(name);
    if (id < 32512 || id > 32651)
        return nullptr;
    return reinterpret_cast<HCURSOR>(kCursorHandleBase + id);
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR old = State().currentCursor;
    State().currentCursor = cursor;
    if (cursor != old) {
        const auto value = reinterpret_cast<DWORD_PTR>(cursor);
        UserDisplay().CursorChanged(value > kCursorHandleBase ? value - kCursorHandleBase : 0);
    }
    return old;
}

HCURSOR GetCursor() { return State().currentCursor; }

int ShowCursor(BOOL show) { return show ? ++State().cursorCount : --State().cursorCount; }

UINT GetDoubleClickTime() { return State().doubleClickTime; }

BOOL SetDoubleClickTime(UINT milliseconds) {
    State().doubleClickTime = milliseconds ? milliseconds : kDefaultDoubleClickTime;
    return TRUE;
}

int UserPumpMessages() {
    int count = 0;
    MSG m{};
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
        ++count;
    }
    return count;
}

void UserForgetWindowInput(HWND window) {
    InputState& s = State();
    if (s.tracking.window == window)
        s.tracking = Tracking{};
    if (s.hover.window == window)
        s.hover = HoverTracking{};
    if (s.lastDownWindow == window)
        s.lastDownWindow = nullptr;
}

void UserResetInput() {
    State() = InputState{};
}
