// The single-line "EDIT" class: text, selection, caret, keyboard and mouse editing,
// clipboard commands, one level of undo and the EM_ messages of a single-line edit.
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/ControlDrawing.h"
#include "platform/win/user/StandardClasses.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr int kDefaultLimit = 0x7FFFFFFE;
constexpr int kMargin = 1;

struct EditData {
    int anchor = 0;  // selection: anchor and caret, 0-based character positions
    int caret = 0;
    int scroll = 0;  // pixels scrolled to the left
    bool modified = false;
    int limit = kDefaultLimit;
    char password = 0;
    AnsiString undoText;
    bool canUndo = false;
    bool selecting = false;
    int leftMargin = kMargin;
    int rightMargin = kMargin;
};

EditData& Data(HWND window) { return UserClassData<EditData>(window); }
AnsiString& Text(HWND window) { return UserFindWindow(window)->text; }
DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }
int SelStart(const EditData& d) { return std::min(d.anchor, d.caret); }
int SelEnd(const EditData& d) { return std::max(d.anchor, d.caret); }

AnsiString Shown(HWND window) {
    const EditData& d = Data(window);
    const AnsiString& text = Text(window);
    return d.password ? StringOfChar(d.password, text.Length()) : text;
}

int TextWidth(HWND window, int count) {
    const AnsiString shown = Shown(window);
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, UserControlFont(window));
    SIZE size{};
    GetTextExtentPoint32A(dc, shown.c_str(), std::min(count, shown.Length()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

int LineHeight(HWND window) { return UserControlFontHeight(window); }

int ClientWidth(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r.right;
}

// Character position nearest to a client x coordinate.
int PositionAt(HWND window, int x) {
    const EditData& d = Data(window);
    const int target = x + d.scroll - d.leftMargin;
    const int length = Text(window).Length();
    int previous = 0;
    for (int i = 1; i <= length; ++i) {
        const int width = TextWidth(window, i);
        if (target < (previous + width) / 2 + (width - previous) % 2)
            return i - 1;
        previous = width;
    }
    return length;
}

void ScrollToCaret(HWND window) {
    EditData& d = Data(window);
    const int x = TextWidth(window, d.caret);
    const int visible = ClientWidth(window) - d.leftMargin - d.rightMargin;
    if (x - d.scroll > visible)
        d.scroll = x - visible;
    if (x < d.scroll)
        d.scroll = std::max(0, x - visible / 3);
}

void PlaceCaret(HWND window) {
    if (GetFocus() != window)
        return;
    const EditData& d = Data(window);
    const int height = LineHeight(window);
    RECT r{};
    GetClientRect(window, &r);
    SetCaretPos(d.leftMargin + TextWidth(window, d.caret) - d.scroll, std::max(0, (r.bottom - height) / 2));
}

void Refresh(HWND window) {
    ScrollToCaret(window);
    InvalidateRect(window, nullptr, TRUE);
    PlaceCaret(window);
}

void Changed(HWND window) {
    Data(window).modified = true;
    UserNotifyParent(window, EN_UPDATE);
    UserNotifyParent(window, EN_CHANGE);
}

// Replaces the selection by `insert`, keeping the limit, case and digit rules of the style.
bool ReplaceSelection(HWND window, AnsiString insert, bool undoable) {
    EditData& d = Data(window);
    AnsiString& text = Text(window);
    const DWORD style = Style(window);
    if (style & ES_UPPERCASE)
        for (int i = 1; i <= insert.Length(); ++i) insert[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(insert[i])));
    if (style & ES_LOWERCASE)
        for (int i = 1; i <= insert.Length(); ++i) insert[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(insert[i])));
    const int start = SelStart(d), end = SelEnd(d);
    const int room = d.limit - (text.Length() - (end - start));
    if (room < insert.Length()) {
        insert = Copy(insert, 1, std::max(room, 0));
        UserNotifyParent(window, EN_MAXTEXT);
    }
    if (insert.IsEmpty() && start == end)
        return false;
    if (undoable) {
        d.undoText = text;
        d.canUndo = true;
    }
    text = Copy(text, 1, start) + insert + Copy(text, end + 1, text.Length());
    d.anchor = d.caret = start + insert.Length();
    Refresh(window);
    Changed(window);
    return true;
}

bool ReadOnly(HWND window) { return (Style(window) & ES_READONLY) != 0; }

void CopySelection(HWND window) {
    const EditData& d = Data(window);
    if (d.password || SelStart(d) == SelEnd(d))
        return;
    if (!OpenClipboard(window))
        return;
    EmptyClipboard();
    UserSetClipboardText(Copy(Text(window), SelStart(d) + 1, SelEnd(d) - SelStart(d)));
    CloseClipboard();
}

void Paste(HWND window) {
    if (ReadOnly(window))
        return;
    AnsiString text = UserClipboardText();
    const int stop = Pos("\r", text) ? Pos("\r", text) : Pos("\n", text);
    if (stop)
        text = Copy(text, 1, stop - 1);
    ReplaceSelection(window, text, true);
}

void Undo(HWND window) {
    EditData& d = Data(window);
    if (!d.canUndo || ReadOnly(window))
        return;
    AnsiString previous = Text(window);
    Text(window) = d.undoText;
    d.undoText = previous;
    d.anchor = d.caret = Text(window).Length();
    Refresh(window);
    Changed(window);
}

void MoveCaret(HWND window, int position, bool extend) {
    EditData& d = Data(window);
    d.caret = std::clamp(position, 0, Text(window).Length());
    if (!extend)
        d.anchor = d.caret;
    Refresh(window);
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0xC0 || c == '_'; }

int WordLeft(const AnsiString& text, int pos) {
    while (pos > 0 && !IsWordChar(text[pos])) --pos;
    while (pos > 0 && IsWordChar(text[pos])) --pos;
    return pos;
}

int WordRight(const AnsiString& text, int pos) {
    const int length = text.Length();
    while (pos < length && IsWordChar(text[pos + 1])) ++pos;
    while (pos < length && !IsWordChar(text[pos + 1])) ++pos;
    return pos;
}

LRESULT KeyDown(HWND window, WPARAM key) {
    EditData& d = Data(window);
    const bool shift = GetKeyState(VK_SHIFT) < 0, control = GetKeyState(VK_CONTROL) < 0;
    const AnsiString& text = Text(window);
    switch (key) {
    case VK_LEFT: MoveCaret(window, control ? WordLeft(text, d.caret) : d.caret - 1, shift); break;
    case VK_RIGHT: MoveCaret(window, control ? WordRight(text, d.caret) : d.caret + 1, shift); break;
    case VK_HOME: MoveCaret(window, 0, shift); break;
    case VK_END: MoveCaret(window, text.Length(), shift); break;
    case VK_DELETE:
        if (ReadOnly(window))
            break;
        if (shift) {
            CopySelection(window);
            ReplaceSelection(window, "", true);
        } else {
            if (SelStart(d) == SelEnd(d))
                d.caret = std::min(d.caret + 1, text.Length());
            ReplaceSelection(window, "", true);
        }
        break;
    case VK_INSERT:
        if (control) CopySelection(window);
        else if (shift) Paste(window);
        break;
    default: break;
    }
    return 0;
}

LRESULT Char(HWND window, WPARAM code) {
    EditData& d = Data(window);
    const char c = static_cast<char>(code);
    switch (c) {
    case 0x01: d.anchor = 0; d.caret = Text(window).Length(); Refresh(window); return 0;
    case 0x03: CopySelection(window); return 0;
    case 0x16: Paste(window); return 0;
    case 0x18: if (!ReadOnly(window)) { CopySelection(window); ReplaceSelection(window, "", true); } return 0;
    case 0x1A: Undo(window); return 0;
    case '\b':
        if (ReadOnly(window))
            return 0;
        if (SelStart(d) == SelEnd(d) && d.anchor > 0)
            d.anchor = d.caret - 1;
        ReplaceSelection(window, "", true);
        return 0;
    default: break;
    }
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || ReadOnly(window))
        return 0;
    if ((Style(window) & ES_NUMBER) && !(c >= '0' && c <= '9'))
        return 0;
    ReplaceSelection(window, AnsiString(c), true);
    return 0;
}

LRESULT MouseDown(HWND window, LPARAM lParam, bool dbl) {
    SetFocus(window);
    if (!IsWindow(window))
        return 0;
    EditData& d = Data(window);
    const int pos = PositionAt(window, GET_X_LPARAM(lParam));
    if (dbl) {
        const AnsiString& text = Text(window);
        int start = pos, end = pos;
        while (start > 0 && IsWordChar(text[start])) --start;
        while (end < text.Length() && IsWordChar(text[end + 1])) ++end;
        d.anchor = start;
        d.caret = end;
        Refresh(window);
        return 0;
    }
    SetCapture(window);
    d.selecting = true;
    MoveCaret(window, pos, GetKeyState(VK_SHIFT) < 0);
    return 0;
}

void Paint(HWND window, HDC dc) {
    const EditData& d = Data(window);
    RECT client{};
    GetClientRect(window, &client);
    const bool plain = !IsWindowEnabled(window) || ReadOnly(window);
    HBRUSH background = UserControlColours(window, dc, plain ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    FillRect(dc, &client, background);
    HGDIOBJ old = SelectObject(dc, UserControlFont(window));
    if (!IsWindowEnabled(window))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    const AnsiString shown = Shown(window);
    const int top = std::max<int>(0, (client.bottom - LineHeight(window)) / 2);
    const int x = d.leftMargin - d.scroll;
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, x, top, shown.c_str(), shown.Length());
    const bool showSelection = GetFocus() == window || (Style(window) & ES_NOHIDESEL);
    if (showSelection && SelStart(d) != SelEnd(d)) {
        const int left = x + TextWidth(window, SelStart(d));
        RECT sel{left, top, x + TextWidth(window, SelEnd(d)), top + LineHeight(window)};
        FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        const AnsiString part = Copy(shown, SelStart(d) + 1, SelEnd(d) - SelStart(d));
        TextOutA(dc, left, top, part.c_str(), part.Length());
    }
    SelectObject(dc, old);
}

LRESULT GetSel(HWND window, WPARAM start, LPARAM end) {
    const EditData& d = Data(window);
    if (start) *reinterpret_cast<DWORD*>(start) = static_cast<DWORD>(SelStart(d));
    if (end) *reinterpret_cast<DWORD*>(end) = static_cast<DWORD>(SelEnd(d));
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(SelStart(d)), static_cast<WORD>(SelEnd(d))));
}

LRESULT SetSel(HWND window, WPARAM start, LPARAM end) {
    EditData& d = Data(window);
    const int length = Text(window).Length();
    auto s = static_cast<int>(static_cast<LONG>(start));
    auto e = static_cast<int>(static_cast<LONG>(end));
    if (s < 0) {
        d.anchor = d.caret;
    } else {
        if (e < 0 || e > length) e = length;
        d.anchor = std::min(s, length);
        d.caret = e;
    }
    Refresh(window);
    return 0;
}

LRESULT GetLine(HWND window, LPARAM buffer) {
    if (!buffer)
        return 0;
    char* out = reinterpret_cast<char*>(buffer);
    WORD size = 0;
    std::memcpy(&size, out, sizeof(size));
    const AnsiString& text = Text(window);
    const int count = std::min<int>(size, text.Length());
    std::memcpy(out, text.c_str(), static_cast<size_t>(count));
    return count;
}

LRESULT SetText(HWND window, LPARAM text) {
    EditData& d = Data(window);
    AnsiString value = text ? reinterpret_cast<LPCSTR>(text) : "";
    Text(window) = Copy(value, 1, d.limit);
    d.anchor = d.caret = 0;
    d.scroll = 0;
    d.modified = false;
    d.canUndo = false;
    Refresh(window);
    UserNotifyParent(window, EN_UPDATE);
    UserNotifyParent(window, EN_CHANGE);
    return TRUE;
}

LRESULT EditMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    EditData& d = Data(window);
    switch (message) {
    case EM_GETSEL: return GetSel(window, wParam, lParam);
    case EM_SETSEL: return SetSel(window, wParam, lParam);
    case EM_REPLACESEL: ReplaceSelection(window, lParam ? reinterpret_cast<LPCSTR>(lParam) : "", wParam != 0); return 0;
    case EM_GETMODIFY: return d.modified ? TRUE : FALSE;
    case EM_SETMODIFY: d.modified = wParam != 0; return 0;
    case EM_LIMITTEXT: d.limit = wParam ? static_cast<int>(std::min<WPARAM>(wParam, kDefaultLimit)) : kDefaultLimit; return 0;
    case EM_GETLIMITTEXT: return d.limit;
    case EM_SETREADONLY:
        SetWindowLongA(window, GWL_STYLE, wParam ? (Style(window) | ES_READONLY) : (Style(window) & ~ES_READONLY));
        InvalidateRect(window, nullptr, TRUE);
        return TRUE;
    case EM_SETPASSWORDCHAR: d.password = static_cast<char>(wParam); Refresh(window); return 0;
    case EM_GETPASSWORDCHAR: return static_cast<BYTE>(d.password);
    case EM_CANUNDO: return d.canUndo ? TRUE : FALSE;
    case EM_UNDO: Undo(window); return TRUE;
    case EM_EMPTYUNDOBUFFER: d.canUndo = false; d.undoText = AnsiString(); return 0;
    case EM_GETLINECOUNT: return 1;
    case EM_LINEINDEX: return (static_cast<LONG>(wParam) <= 0) ? 0 : -1;
    case EM_LINEFROMCHAR: return 0;
    case EM_LINELENGTH: return Text(window).Length();
    case EM_GETLINE: return GetLine(window, lParam);
    case EM_GETFIRSTVISIBLELINE: return 0;
    case EM_SCROLLCARET: Refresh(window); return TRUE;
    case EM_SETMARGINS:
        if (wParam & EC_LEFTMARGIN) d.leftMargin = LOWORD(static_cast<DWORD_PTR>(lParam));
        if (wParam & EC_RIGHTMARGIN) d.rightMargin = HIWORD(static_cast<DWORD_PTR>(lParam));
        Refresh(window);
        return 0;
    case EM_GETMARGINS: return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(d.leftMargin), static_cast<WORD>(d.rightMargin)));
    case EM_POSFROMCHAR: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index > Text(window).Length())
            return -1;
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(d.leftMargin + TextWidth(window, index) - d.scroll), 0));
    }
    case EM_CHARFROMPOS: return PositionAt(window, GET_X_LPARAM(lParam));
    case EM_GETRECT: {
        RECT r{};
        GetClientRect(window, &r);
        r.left += d.leftMargin;
        r.right -= d.rightMargin;
        if (lParam) *reinterpret_cast<RECT*>(lParam) = r;
        return 0;
    }
    default: return 0;
    }
}

LRESULT EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= EM_GETSEL && message <= EM_CHARFROMPOS)
        return EditMessage(window, message, wParam, lParam);
    EditData& d = Data(window);
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETTEXT: return SetText(window, lParam);
    case WM_CHAR: return Char(window, wParam);
    case WM_KEYDOWN: return KeyDown(window, wParam);
    case WM_LBUTTONDOWN: return MouseDown(window, lParam, false);
    case WM_LBUTTONDBLCLK: return MouseDown(window, lParam, true);
    case WM_MOUSEMOVE:
        if (d.selecting && GetCapture() == window)
            MoveCaret(window, PositionAt(window, GET_X_LPARAM(lParam)), true);
        return 0;
    case WM_LBUTTONUP:
        if (d.selecting) {
            d.selecting = false;
            if (GetCapture() == window)
                ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED: d.selecting = false; return 0;
    case WM_SETFOCUS:
        CreateCaret(window, nullptr, 1, LineHeight(window));
        PlaceCaret(window);
        ShowCaret(window);
        InvalidateRect(window, nullptr, TRUE);
        UserNotifyParent(window, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        DestroyCaret();
        InvalidateRect(window, nullptr, TRUE);
        UserNotifyParent(window, EN_KILLFOCUS);
        return 0;
    case WM_CUT: if (!ReadOnly(window)) { CopySelection(window); ReplaceSelection(window, "", true); } return 0;
    case WM_COPY: CopySelection(window); return 0;
    case WM_PASTE: Paste(window); return 0;
    case WM_CLEAR: if (!ReadOnly(window)) ReplaceSelection(window, "", true); return 0;
    case WM_UNDO: Undo(window); return TRUE;
    case WM_SIZE: Refresh(window); return 0;
    case WM_SETFONT: {
        LRESULT r = DefWindowProcA(window, message, wParam, lParam);
        Refresh(window);
        return r;
    }
    case WM_ENABLE: InvalidateRect(window, nullptr, TRUE); return 0;
    default: break;
    }
    LRESULT painted = 0;
    if (UserPaintWholeClient(window, message, wParam, Paint, painted))
        return painted;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void UserRegisterEditClass() {
    UserRegisterSystemClass("EDIT", CS_DBLCLKS | CS_PARENTDC, EditProcedure, nullptr, LoadCursorA(nullptr, IDC_IBEAM));
}
