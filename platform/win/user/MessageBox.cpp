// MessageBox: a modal captioned window with the text, an optional icon and the buttons
// of its type. The owner is disabled while it runs. Enter chooses the default button,
// Escape and closing choose the dismiss answer, Tab moves between the buttons.
#include "platform/win/user/Dialogs.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/ControlDrawing.h"
#include "platform/win/user/ModalLoop.h"
#include "platform/win/user/NonClient.h"

#include <algorithm>
#include <vector>

namespace {

constexpr char kBoxClass[] = "VendaroMessageBox";
constexpr int kButtonWidth = 75, kButtonHeight = 23, kGap = 6, kMargin = 12, kIconSize = 32;
constexpr int kMinimumTextWidth = 100, kMaximumTextWidth = 480;

struct BoxState {
    int result = 0;
    bool done = false;
    UINT type = 0;
};

MessageBoxResponder& Responder() {
    static MessageBoxResponder responder;
    return responder;
}

struct ButtonSpec {
    int id;
    const char* label;
};

std::vector<ButtonSpec> ButtonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Annulla"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Interrompi"}, {IDRETRY, "&Riprova"}, {IDIGNORE, "&Ignora"}};
    case MB_YESNOCANCEL: return {{IDYES, "&S\xEC"}, {IDNO, "&No"}, {IDCANCEL, "Annulla"}};
    case MB_YESNO: return {{IDYES, "&S\xEC"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Riprova"}, {IDCANCEL, "Annulla"}};
    default: return {{IDOK, "OK"}};
    }
}

int DefaultIndex(UINT type, size_t count) {
    const size_t index = (type & MB_DEFMASK) >> 8;
    return static_cast<int>(index < count ? index : 0);
}

// The stop sign: a red disc with a white cross.
void PaintStopIcon(HDC dc, const RECT& r) {
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    HPEN outline = CreatePen(PS_SOLID, 1, RGB(128, 0, 0));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, outline);
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    HPEN cross = CreatePen(PS_SOLID, 4, RGB(255, 255, 255));
    SelectObject(dc, cross);
    const int inset = kIconSize * 9 / 32;
    MoveToEx(dc, r.left + inset, r.top + inset, nullptr);
    LineTo(dc, r.right - inset, r.bottom - inset);
    MoveToEx(dc, r.right - inset - 1, r.top + inset, nullptr);
    LineTo(dc, r.left + inset - 1, r.bottom - inset);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(cross);
    DeleteObject(outline);
    DeleteObject(brush);
}

void PaintIcon(HDC dc, UINT icon) {
    const RECT r{kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};
    if (icon == MB_ICONHAND) {
        PaintStopIcon(dc, r);
        return;
    }
    const COLORREF colour = icon == MB_ICONHAND ? RGB(255, 0, 0) : icon == MB_ICONEXCLAMATION ? RGB(255, 255, 0) : RGB(0, 0, 255);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    const char* mark = icon == MB_ICONQUESTION ? "?" : icon == MB_ICONASTERISK ? "i" : "!";
    RECT text = r;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, icon == MB_ICONEXCLAMATION ? RGB(0, 0, 0) : RGB(255, 255, 255));
    DrawTextA(dc, mark, 1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT BoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = static_cast<BoxState*>(UserFindWindow(window)->classData.get());
    switch (message) {
    case WM_COMMAND:
        if (state && HIWORD(wParam) == BN_CLICKED) {
            state->result = LOWORD(wParam);
            state->done = true;
        }
        return 0;
    case WM_CLOSE:
        if (state) {
            state->result = UserMessageBoxDismissAnswer(state->type);
            state->done = true;
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(window, &ps);
        if (state && (state->type & MB_ICONMASK))
            PaintIcon(dc, state->type & MB_ICONMASK);
        EndPaint(window, &ps);
        return 0;
    }
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

SIZE MeasureText(const AnsiString& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, kMaximumTextWidth, 0};
    DrawTextA(dc, text.c_str(), text.Length(), &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {std::max<LONG>(r.right, kMinimumTextWidth), std::max<LONG>(r.bottom, 13)};
}

struct Layout {
    SIZE client;
    RECT text;
    int buttonsTop;
    int buttonsLeft;
};

// `minimumWidth`: the client width the caption needs to be shown whole.
Layout LayoutFor(const AnsiString& text, UINT type, size_t buttons, int minimumWidth) {
    const SIZE measured = MeasureText(text);
    const int iconWidth = (type & MB_ICONMASK) ? kIconSize + kMargin : 0;
    const int buttonsWidth = static_cast<int>(buttons) * kButtonWidth + static_cast<int>(buttons - 1) * kGap;
    const int textHeight = std::max<int>(measured.cy, (type & MB_ICONMASK) ? kIconSize : 0);
    const int width = std::max({kMargin * 2 + iconWidth + static_cast<int>(measured.cx), kMargin * 2 + buttonsWidth,
                                minimumWidth});
    Layout l{};
    l.text = {kMargin + iconWidth, kMargin, kMargin + iconWidth + measured.cx, kMargin + textHeight};
    l.buttonsTop = kMargin + textHeight + kMargin;
    l.buttonsLeft = (width - buttonsWidth) / 2;
    l.client = {width, l.buttonsTop + kButtonHeight + kMargin};
    return l;
}

HWND BuildBox(HWND owner, const AnsiString& text, const AnsiString& caption, UINT type, std::vector<HWND>& buttons) {
    UserRegisterSystemClass(kBoxClass, 0, BoxProcedure, reinterpret_cast<HBRUSH>(static_cast<DWORD_PTR>(COLOR_BTNFACE + 1)),
                            LoadCursorA(nullptr, IDC_ARROW));
    const std::vector<ButtonSpec> specs = ButtonsFor(type);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    // The frame's size around a client area, measured on a sample rectangle.
    const RECT sample{0, 0, 400, 300};
    const RECT inner = UserDefaultClientRect(style, WS_EX_DLGMODALFRAME, sample);
    const int frameWidth = inner.left + (sample.right - inner.right);
    const int frameHeight = inner.top + (sample.bottom - inner.bottom);
    const Layout l = LayoutFor(text, type, specs.size(),
                               UserCaptionMinimumWidth(style, WS_EX_DLGMODALFRAME, caption) - frameWidth);
    const SIZE size{l.client.cx + frameWidth, l.client.cy + frameHeight};
    const POINT at = UserPlaceOverOwner(owner, size);
    HWND box = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kBoxClass, caption.c_str(), style, at.x, at.y, size.cx,
                               size.cy, owner, nullptr, nullptr, nullptr);
    auto state = std::make_shared<BoxState>();
    state->type = type;
    UserFindWindow(box)->classData = state;
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, l.text.left, l.text.top,
                                 l.text.right - l.text.left, l.text.bottom - l.text.top, box, nullptr, nullptr, nullptr);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    const int defaultIndex = DefaultIndex(type, specs.size());
    for (size_t i = 0; i < specs.size(); ++i) {
        const DWORD kind = static_cast<int>(i) == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        HWND b = CreateWindowExA(0, "BUTTON", specs[i].label, WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind,
                                 l.buttonsLeft + static_cast<int>(i) * (kButtonWidth + kGap), l.buttonsTop, kButtonWidth,
                                 kButtonHeight, box, reinterpret_cast<HMENU>(static_cast<DWORD_PTR>(specs[i].id)), nullptr, nullptr);
        SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        buttons.push_back(b);
    }
    ShowWindow(box, SW_SHOW);
    SetFocus(buttons[static_cast<size_t>(defaultIndex)]);
    return box;
}

// Keys of the box: Enter presses the focused button, Escape dismisses, Tab and arrows move the focus.
bool HandleKey(const MSG& m, const std::vector<HWND>& buttons, BoxState& state) {
    if (m.message != WM_KEYDOWN)
        return m.message == WM_CHAR && (m.wParam == '\r' || m.wParam == 0x1B || m.wParam == '\t');
    auto focused = std::find(buttons.begin(), buttons.end(), GetFocus());
    switch (m.wParam) {
    case VK_RETURN:
        state.result = focused != buttons.end() ? GetDlgCtrlID(*focused) : IDOK;
        state.done = true;
        return true;
    case VK_ESCAPE:
        if ((state.type & MB_TYPEMASK) != MB_YESNO && (state.type & MB_TYPEMASK) != MB_ABORTRETRYIGNORE) {
            state.result = UserMessageBoxDismissAnswer(state.type);
            state.done = true;
        }
        return true;
    case VK_TAB: case VK_RIGHT: case VK_LEFT: {
        const bool back = m.wParam == VK_LEFT || (m.wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0);
        const long count = static_cast<long>(buttons.size());
        long index = focused == buttons.end() ? 0 : focused - buttons.begin();
        index = (index + (back ? count - 1 : 1)) % count;
        SetFocus(buttons[static_cast<size_t>(index)]);
        return true;
    }
    default: return false;
    }
}

int RunBox(HWND owner, const AnsiString& text, const AnsiString& caption, UINT type) {
    std::vector<HWND> buttons;
    HWND box = BuildBox(owner, text, caption, type, buttons);
    auto state = std::static_pointer_cast<BoxState>(UserFindWindow(box)->classData);
    if (!UserRunModalLoop(box, owner, [&](const MSG& m) { return HandleKey(m, buttons, *state); },
                          [&] { return state->done; }))
        state->result = UserMessageBoxDismissAnswer(type);
    DestroyWindow(box);
    if (owner && IsWindow(owner) && IsWindowVisible(owner))
        SetActiveWindow(UserTopLevelOf(owner));
    return state->result;
}

}  // namespace

int UserMessageBoxDismissAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: case MB_YESNOCANCEL: case MB_RETRYCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDOK;
    }
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (owner && !IsWindow(owner))
        owner = nullptr;
    const AnsiString body = text ? text : "";
    const AnsiString title = caption ? caption : "Errore";  // the caption the system shows for none
    if (Responder())
        return Responder()(MessageBoxRequest{owner, body, title, type});
    return RunBox(owner, body, title, type);
}

void UserSetMessageBoxResponder(MessageBoxResponder responder) { Responder() = std::move(responder); }
