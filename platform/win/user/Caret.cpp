// CreateCaret, DestroyCaret, ShowCaret/HideCaret with a cumulative hide count, and the
// blink: the caret is drawn by inverting its rectangle on the owner's client area.
#include "platform/win/user/Caret.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Timers.h"
#include "platform/win/user/WindowObject.h"

#include <memory>

namespace {

constexpr UINT kDefaultBlinkTime = 530;
constexpr UINT_PTR kBlinkTimerId = 0xFFFF;

struct Caret {
    HWND owner = nullptr;
    int width = 0;
    int height = 0;
    bool grey = false;
    HBITMAP bitmap = nullptr;  // private copy of the caret bitmap
    POINT position{};
    int hideCount = 1;
    bool drawn = false;
};

struct CaretGlobals {
    std::unique_ptr<Caret> caret;
    UINT blinkTime = kDefaultBlinkTime;
};

CaretGlobals& Globals() {
    static CaretGlobals globals;
    return globals;
}

Caret* Current() { return Globals().caret.get(); }

HBITMAP CopyBitmap(HBITMAP source, int* width, int* height) {
    BITMAP info{};
    if (!GetObjectA(source, sizeof(info), &info))
        return nullptr;
    *width = info.bmWidth;
    *height = info.bmHeight;
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP copy = CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight);
    HGDIOBJ oldFrom = SelectObject(from, source);
    HGDIOBJ oldTo = SelectObject(to, copy);
    BitBlt(to, 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return copy;
}

// Inverts the caret's rectangle (XOR with its bitmap, or a grey pattern).
void Toggle(Caret& c) {
    if (!IsWindow(c.owner))
        return;
    HDC dc = GetDC(c.owner);
    if (c.bitmap) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, c.bitmap);
        BitBlt(dc, c.position.x, c.position.y, c.width, c.height, source, 0, 0, SRCINVERT);
        SelectObject(source, old);
        DeleteDC(source);
    } else {
        HGDIOBJ old = SelectObject(dc, GetStockObject(c.grey ? GRAY_BRUSH : WHITE_BRUSH));
        PatBlt(dc, c.position.x, c.position.y, c.width, c.height, PATINVERT);
        SelectObject(dc, old);
    }
    ReleaseDC(c.owner, dc);
    c.drawn = !c.drawn;
}

void Erase(Caret& c) {
    if (c.drawn)
        Toggle(c);
}

void BlinkTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    if (Caret* c = Current(); c && c->hideCount == 0)
        Toggle(*c);
}

void StartBlink(Caret& c) {
    if (IsWindow(c.owner))
        UserSetCosmeticTimer(c.owner, kBlinkTimerId, Globals().blinkTime, BlinkTimerProc);
}

void Discard() {
    Caret* c = Current();
    if (!c)
        return;
    Erase(*c);
    if (IsWindow(c->owner))
        KillTimer(c->owner, kBlinkTimerId);
    if (c->bitmap)
        DeleteObject(c->bitmap);
    Globals().caret.reset();
}

}  // namespace

BOOL CreateCaret(HWND window, HBITMAP bitmap, int width, int height) {
    if (!IsWindow(window))
        return FALSE;
    Discard();
    auto c = std::make_unique<Caret>();
    c->owner = window;
    // A bitmap handle of 1 asks for a grey caret; any other handle is copied at its own size.
    const bool grey = bitmap == reinterpret_cast<HBITMAP>(1);
    c->grey = grey;
    c->width = width > 0 ? width : 1;
    c->height = height > 0 ? height : 1;
    if (bitmap && !grey) {
        c->bitmap = CopyBitmap(bitmap, &c->width, &c->height);
        if (!c->bitmap)
            return FALSE;
    }
    Globals().caret = std::move(c);
    return TRUE;
}

BOOL DestroyCaret() {
    if (!Current())
        return FALSE;
    Discard();
    return TRUE;
}

BOOL ShowCaret(HWND window) {
    Caret* c = Current();
    if (!c || (window && window != c->owner) || c->hideCount == 0)
        return FALSE;
    if (--c->hideCount == 0) {
        Toggle(*c);
        StartBlink(*c);
    }
    return TRUE;
}

BOOL HideCaret(HWND window) {
    Caret* c = Current();
    if (!c || (window && window != c->owner))
        return FALSE;
    if (c->hideCount++ == 0) {
        Erase(*c);
        KillTimer(c->owner, kBlinkTimerId);
    }
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    Caret* c = Current();
    if (!c)
        return FALSE;
    if (c->position.x == x && c->position.y == y)
        return TRUE;
    Erase(*c);
    c->position = {x, y};
    if (c->hideCount == 0) {
        Toggle(*c);
        StartBlink(*c);
    }
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
    Caret* c = Current();
    if (!c || !point)
        return FALSE;
    *point = c->position;
    return TRUE;
}

UINT GetCaretBlinkTime() { return Globals().blinkTime; }

BOOL SetCaretBlinkTime(UINT milliseconds) {
    Globals().blinkTime = milliseconds;
    if (Caret* c = Current(); c && c->hideCount == 0)
        StartBlink(*c);
    return TRUE;
}

BOOL GetGUIThreadInfo(DWORD thread, GUITHREADINFO* info) {
    if (thread != 0 || !info || info->cbSize != sizeof(GUITHREADINFO))
        return FALSE;
    *info = GUITHREADINFO{sizeof(GUITHREADINFO), 0, GetActiveWindow(), GetFocus(), GetCapture(), nullptr,
                          nullptr, nullptr, {}};
    if (Caret* c = Current()) {
        info->hwndCaret = c->owner;
        info->rcCaret = {c->position.x, c->position.y, c->position.x + c->width, c->position.y + c->height};
        if (c->hideCount == 0)
            info->flags |= GUI_CARETBLINKING;
    }
    return TRUE;
}

bool UserGetCaretState(CaretState* state) {
    Caret* c = Current();
    if (!c || !state)
        return false;
    *state = CaretState{c->owner, c->width, c->height, c->grey, c->bitmap != nullptr, c->position, c->hideCount, c->drawn};
    return true;
}

void UserForgetCaretOwner(HWND window) {
    Caret* c = Current();
    if (c && c->owner == window) {
        c->drawn = false;
        Discard();
    }
}

void UserCaretHideForPaint(HWND window) {
    Caret* c = Current();
    if (c && c->owner == window)
        HideCaret(window);
}

void UserCaretShowAfterPaint(HWND window) {
    Caret* c = Current();
    if (c && c->owner == window)
        ShowCaret(window);
}

void UserResetCaret() {
    if (Caret* c = Current()) {
        c->drawn = false;
        if (c->bitmap)
            DeleteObject(c->bitmap);
    }
    Globals() = CaretGlobals{};
}
