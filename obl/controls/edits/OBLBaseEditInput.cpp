// Unit OBLBaseEdit, the engine's input: the key commands, typed characters, the mouse
// (placing the cursor, selecting, moving the selected text by dragging, scrolling while the
// button is held), the clipboard, the edit's own context menu, focus and caret, and the
// standard edit control's messages, answered from the engine's own text and selection.
#include "obl/controls/edits/OBLBaseEdit.h"

#include "obl/core/app/oblclass.h"
#include "obl/core/base/Oblconst.h"
#include "platform/classlib/Clipbrd.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Menus.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr WORD AutoScrollInterval = 200;
constexpr char LF = '\n';

// A client point as the messages pack it (16 + 16 bits).
TPoint UnpackPoint(LPARAM Packed) { return Point(GET_X_LPARAM(Packed), GET_Y_LPARAM(Packed)); }

// Sets a flag for the length of a scope, so that an exception does not leave it set.
class TScopedFlag {
public:
    TScopedFlag(bool& Flag, bool Value) : flag_(Flag) { flag_ = Value; }
    ~TScopedFlag() { flag_ = false; }
    TScopedFlag(const TScopedFlag&) = delete;
    TScopedFlag& operator=(const TScopedFlag&) = delete;

private:
    bool& flag_;
};

bool EditModeHolds(TOBLEditMode Flag) { return OBLApplication && OBLApplication->EditMode().Contains(Flag); }

void SetModeFlag(TOBLEditModes& Mode, TOBLEditMode Flag, bool On)
{
    if (On)
        Mode.Include(Flag);
    else
        Mode.Exclude(Flag);
}

// Windows-1252 text at a message's pointer; nothing for a null one.
AnsiString TextAt(LPARAM Pointer)
{
    const char* p = reinterpret_cast<const char*>(Pointer);
    return p ? AnsiString(p) : AnsiString();
}

}

// ---------------------------------------------------------------------------------------
// Keyboard

void TOBLBaseEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    inherited::KeyDown(Key, Shift);
    FollowModifierKeys(Shift);
    GetCommandKey(Key, Shift);
}

void TOBLBaseEdit::KeyUp(WORD& Key, TShiftState Shift)
{
    inherited::KeyUp(Key, Shift);
    FollowModifierKeys(Shift);
}

void TOBLBaseEdit::FollowModifierKeys(TShiftState Shift)
{
    if (!OBLApplication)
        return;
    // One flag at a time, in the order the modes are announced.
    const std::pair<TOBLEditMode, TShiftStateItem> flags[] = {{emAlt, ssAlt}, {emCtrl, ssCtrl}, {emShift, ssShift}};
    for (const auto& [mode, key] : flags) {
        TOBLEditModes m = OBLApplication->EditMode();
        SetModeFlag(m, mode, Shift.Contains(key));
        OBLApplication->SetEditMode(m);
    }
}

void TOBLBaseEdit::FollowModifierKeys()
{
    // The shared mode may be stale: the keys may have been released while another window
    // had the keyboard.
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    FollowModifierKeys(shift);
}

void TOBLBaseEdit::GetCommandKey(WORD& Key, TShiftState Shift)
{
    if (!Enabled())
        return;
    const int selLength = SelLength();
    switch (Key) {
    case VK_INSERT: InsertKey(); break;
    case VK_HOME:
        if (EditModeHolds(emCtrl))
            SetInteger(5, 1);
        else
            GotoParaStart();
        break;
    case VK_END: GotoParaEnd(); break;
    case VK_LEFT: MoveLeft(); break;
    case VK_RIGHT: MoveRight(); break;
    case VK_DELETE: DeleteKey(); break;
    case VK_BACK: BackspaceKey(); break;
    case VK_ESCAPE: SetInteger(2, 0); break;
    default: ControlLetter(Key); break;
    }
    if (SelLength() != selLength)
        Redraw(CursorPos());
}

void TOBLBaseEdit::InsertKey()
{
    if (EditModeHolds(emShift)) {
        if (editEnabled_)
            PasteFromClipboard();
    } else if (EditModeHolds(emCtrl)) {
        CopyToClipboard();
    } else if (!EditModeHolds(emAlt) && OBLApplication) {
        TOBLEditModes m = OBLApplication->EditMode();
        SetModeFlag(m, emInsert, !m.Contains(emInsert));
        OBLApplication->SetEditMode(m);
    }
}

void TOBLBaseEdit::MoveLeft()
{
    if (CursorPos() <= 1)
        return;
    int p = CursorPos() - 1;
    // Landing between the CR and the LF of a line break goes on to the CR.
    if (p > 1 && CharAt(p) == LF)
        --p;
    SetInteger(5, p);
    if (EditModeHolds(emCtrl))
        GotoPrevWord();
}

void TOBLBaseEdit::MoveRight()
{
    if (Text().IsEmpty() || CursorPos() > Text().Length())
        return;
    int p = CursorPos() + 1;
    if (CharAt(p) == LF)
        ++p;
    SetInteger(5, p);
    if (EditModeHolds(emCtrl))
        GotoNextWord();
}

void TOBLBaseEdit::DeleteKey()
{
    if (EditModeHolds(emShift)) {
        if (editEnabled_)
            CutToClipboard();
        return;
    }
    if (!editEnabled_ || ReadOnly() || Text().IsEmpty())
        return;
    if (SelLength() == 0) {
        // At the end there is nothing to delete: no change, no event.
        if (SelStart() > Text().Length())
            return;
        SetInteger(2, 1);
    }
    SetSelText(AnsiString());
}

void TOBLBaseEdit::BackspaceKey()
{
    if (!editEnabled_ || ReadOnly() || SelStart() < 1)
        return;
    const int selLength = SelLength();
    // Nothing before the cursor: no change and no redraw.
    if (CursorPos() == 1 && SelStart() == 1 && selLength == 0)
        return;
    if (selLength == 0) {
        SetInteger(1, CursorPos() - 1);
        SetInteger(2, 1);
    } else if (BackOneMore() && SelStart() > 1) {
        // The selection and the one character before it, wherever the cursor stands in
        // the selection (after a completion it stands at its start, after Shift+Right at
        // its end).
        SetInteger(1, SelStart() - 1);
        SetInteger(2, selLength + 1);
    }
    SetSelText(AnsiString());
}

void TOBLBaseEdit::ControlLetter(WORD& Key)
{
    if (!EditModeHolds(emCtrl))
        return;
    switch (Key) {
    case 'A': SelectAll(); break;
    case 'C': CopyToClipboard(); break;
    case 'V':
        if (editEnabled_)
            PasteFromClipboard();
        break;
    case 'X':
        if (editEnabled_)
            CutToClipboard();
        break;
    default: return;
    }
    Key = 0;
}

void TOBLBaseEdit::KeyPress(char& Key)
{
    if (!editEnabled_)
        return;
    inherited::KeyPress(Key);
    const auto code = static_cast<unsigned char>(Key);
    // Control characters insert nothing: Enter, Tab, Backspace, and DEL (Ctrl+Backspace).
    if (code < 32 || code == 127)
        return;
    char c = Key;
    if (CharCase() == ecUpperCase && c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    else if (CharCase() == ecLowerCase && c >= 'A' && c <= 'Z')
        c = static_cast<char>(c - 'A' + 'a');
    const TScopedFlag typing(typing_, true);
    SetSelText(AnsiString(&c, 1));
}

// ---------------------------------------------------------------------------------------
// Clipboard and the context menu's commands

// With nothing selected there is nothing to copy: what the clipboard holds stays.
void TOBLBaseEdit::CopyToClipboard()
{
    if (AllowCopyPaste() && SelLength() > 0)
        Clipboard()->SetAsText(GetSelText());
}

void TOBLBaseEdit::CutToClipboard()
{
    if (!AllowCopyPaste() || SelLength() == 0)
        return;
    // The clipboard gets exactly what is removed: a line break whole.
    if (AllowedOperation(AnsiString()))
        WidenSelectionToLineBreaks();
    CopyToClipboard();
    SetSelText(AnsiString());
}

void TOBLBaseEdit::PasteFromClipboard()
{
    // With no text on the clipboard the text and the selection stay, as in the system's
    // edit.
    if (!AllowCopyPaste() || !Clipboard()->HasFormat(CF_TEXT))
        return;
    const TOwnOperation own(this);
    SetSelText(Clipboard()->AsText());
}

void TOBLBaseEdit::DoUndo(TObject*) { Undo(); }
void TOBLBaseEdit::DoCut(TObject*) { CutToClipboard(); }
void TOBLBaseEdit::DoCopy(TObject*) { CopyToClipboard(); }
void TOBLBaseEdit::DoPaste(TObject*) { PasteFromClipboard(); }
void TOBLBaseEdit::DoClear(TObject*) { ClearSelection(); }
void TOBLBaseEdit::DoSelectAll(TObject*) { SelectAll(); }

void TOBLBaseEdit::ShowContextMenu(const TPoint& At)
{
    auto* menu = new TPopupMenu(this);
    const bool writable = !ReadOnly();
    const bool clipboard = AllowCopyPaste();
    const struct {
        AnsiString caption;
        bool enabled;
        void (TOBLBaseEdit::*action)(TObject*);
    } items[] = {
        {LoadResString(_IDS_UNDO), CanUndo(), &TOBLBaseEdit::DoUndo},
        {"-", true, nullptr},
        // An edit that never copies or pastes (a password) offers none of the three.
        {LoadResString(_IDS_CUT), SelLength() >= 1 && writable && clipboard, &TOBLBaseEdit::DoCut},
        {LoadResString(_IDS_COPY), SelLength() > 0 && clipboard, &TOBLBaseEdit::DoCopy},
        {LoadResString(_IDS_INSERT), Clipboard()->HasFormat(CF_TEXT) && writable && clipboard, &TOBLBaseEdit::DoPaste},
        {LoadResString(_IDS_DELETE), SelLength() > 0, &TOBLBaseEdit::DoClear},
        {"-", true, nullptr},
        {LoadResString(_IDS_SELECTALL), !Text().IsEmpty(), &TOBLBaseEdit::DoSelectAll},
    };
    for (const auto& item : items) {
        auto* entry = new TMenuItem(menu);
        entry->SetCaption(item.caption);
        entry->SetEnabled(item.enabled);
        if (item.action)
            entry->SetOnClick(TNotifyEvent(this, item.action));
        menu->Items()->Add(entry);
    }
    const TPoint screen = ClientToScreen(At);
    const std::weak_ptr<const void> alive = Liveness();
    menu->Popup(screen.x, screen.y);
    // The chosen command runs while the menu still exists.
    Application->ProcessMessages();
    if (!alive.expired())
        FreeObject(menu);
}

// ---------------------------------------------------------------------------------------
// Mouse

void TOBLBaseEdit::WMMouseMove(TMessage& Message)
{
    inherited::WndProc(Message);
    if (!Enabled())
        return;
    lastMousePoint_ = static_cast<DWORD>(Message.LParam);
    if (Message.WParam != MK_LBUTTON)
        return;
    const int cursorPos = CursorPos();
    {
        const TScopedFlag selecting(mouseSelecting_, selectionAllowed_);
        SetInteger(5, CalcMousePos(lastMousePoint_));
    }
    if (CursorPos() != cursorPos)
        Redraw(CursorPos());
}

void TOBLBaseEdit::WMLButtonDown(TMessage& Message)
{
    const std::weak_ptr<const void> alive = Liveness();
    inherited::WndProc(Message);
    if (alive.expired() || !Enabled())
        return;
    if (!Focused() && CanFocus())
        SetFocus();
    // The press point itself: the last move may have been elsewhere.
    lastMousePoint_ = static_cast<DWORD>(Message.LParam);
    FollowModifierKeys();
    DoLeftMouseBtn();
    StartAutoScroll();
}

void TOBLBaseEdit::StartAutoScroll()
{
    if (autoScrollTimer_ != -1 || !OBLApplication)
        return;
    const WORD ident = OBLApplication->AddTimer(AutoScrollInterval, TNotifyEvent(this, &TOBLBaseEdit::DoOnTimer));
    // Identifier 0: every application timer is taken; the press works without scrolling.
    if (ident != 0)
        autoScrollTimer_ = ident;
}

void TOBLBaseEdit::DoLeftMouseBtn()
{
    const int p = CalcMousePos(lastMousePoint_);
    const int selLength = SelLength();
    if (!dragging_ && dragText_ && SelStart() < p && p < SelStart() + SelLength()) {
        savedCursor_ = Screen->Cursor();
        dragging_ = true;
        Screen->SetCursor(crDrag);
    }
    SetInteger(5, p);
    if (SelLength() != selLength)
        Redraw(CursorPos());
}

void TOBLBaseEdit::DoOnTimer(TObject*)
{
    // The release went to another window (the capture was taken away): the press is over.
    if (GetKeyState(VK_LBUTTON) >= 0) {
        EndPress();
        return;
    }
    FollowModifierKeys();
    const TScopedFlag selecting(mouseSelecting_, SelLength() > 0);
    DoLeftMouseBtn();
}

bool TOBLBaseEdit::EndPress()
{
    FreeTimer();
    if (!dragging_)
        return false;
    Screen->SetCursor(savedCursor_);
    dragging_ = false;
    return true;
}

void TOBLBaseEdit::WMLButtonUp(TMessage& Message)
{
    const std::weak_ptr<const void> alive = Liveness();
    inherited::WndProc(Message);
    if (alive.expired() || !EndPress())
        return;
    int b = CursorPos();
    const bool outside = b < SelStart() || b > SelStart() + SelLength();
    // A read-only edit keeps its text where it is: the drop only places the cursor.
    if (!outside || ReadOnly()) {
        SetInteger(2, 0);
        SetInteger(1, CursorPos());
        Redraw(-1);
        return;
    }
    // What is moved is exactly what is removed: a line break whole. The move is one
    // operation of the edit's own, though it takes two changes.
    const TOwnOperation own(this);
    WidenSelectionToLineBreaks();
    const AnsiString moved = GetSelText();
    SetSelText(AnsiString());
    if (b > SelStart())
        b -= moved.Length();
    if (CharAt(b) == LF)
        --b;
    SetInteger(5, b);
    SetSelText(moved);
    Redraw(b);
    SetInteger(5, b);
}

void TOBLBaseEdit::WMLButtonDblClk(TMessage& Message)
{
    inherited::WndProc(Message);
    if (!Enabled() || !selectionAllowed_)
        return;
    BeginUpdate();
    SelectCurrentWord();
    EndUpdate();
    Redraw(CursorPos());
}

void TOBLBaseEdit::WMRButtonUp(TMessage& Message)
{
    if (!Enabled() || PopupMenu()) {
        inherited::WndProc(Message);
        return;
    }
    ShowContextMenu(UnpackPoint(Message.LParam));
}

// ---------------------------------------------------------------------------------------
// Focus and caret

void TOBLBaseEdit::WMSetFocus(TMessage& Message)
{
    inherited::WndProc(Message);
    FollowModifierKeys();
    CreateBack();
    if (Caret()->Style() == csDefault) {
        Canvas()->Font()->Assign(Font());
        Caret()->SetWord(4, RowHeight("Qp"));
    }
    Caret()->BuildCaret();
    Caret()->Enable();
    if (RedrawOnEnter())
        Redraw(-1);
    if (Flat()) {
        RestoreBorderFront();
        if (UseXP())
            Redraw(-1);
    }
    // The selection shows while focused, whatever HideSelection says of the unfocused edit.
    if (AutoSelect())
        SelectAll();
    selectionHidden_ = false;
    if (SelLength() > 0)
        Redraw(-1);
    SetCaret();
}

void TOBLBaseEdit::WMKillFocus(TMessage& Message)
{
    if (HideSelection() && SelLength() > 0) {
        selectionHidden_ = true;
        Redraw(-1);
    }
    inherited::WndProc(Message);
    if (RedrawOnExit())
        Redraw(-1);
    Caret()->DestroyCaret();
    if (freeBackOnExit_)
        FreeBack();
}

void TOBLBaseEdit::CMFontChanged(TMessage& Message)
{
    inherited::WndProc(Message);
    Canvas()->Font()->Assign(Font());
    Caret()->SetWord(4, RowHeight("Qp"));
    // The system caret belongs to the focused window: another edit's stays where it is.
    if (!Focused())
        return;
    Caret()->BuildCaret();
    Caret()->Enable();
    SetCaret();
}

void TOBLBaseEdit::SetOBLCaretPos(int X, int Y)
{
    if (Caret()->Style() == csUnder)
        Y += Canvas()->TextHeight("Qp") - 3;
    else if (Caret()->Style() == csUnderBlock)
        Y += Canvas()->TextHeight("Qp") - Caret()->Height() - 2;
    ::SetCaretPos(X, Y);
}

// ---------------------------------------------------------------------------------------
// Borders, themes and state messages

void TOBLBaseEdit::RestoreBorderFront()
{
    if (!UseXP() || Bevel()->Mode() != bmWindows)
        inherited::RestoreBorderFront();
    else
        RestoreThemedBorder();
}

void TOBLBaseEdit::RestoreBorderBack()
{
    if (!UseXP())
        inherited::RestoreBorderBack();
    else
        RestoreThemedBorder();
}

void TOBLBaseEdit::RestoreThemedBorder()
{
    if (Transparent())
        Invalidate();
    else if (Flat())
        Redraw(-1);
}

void TOBLBaseEdit::DoThemeChanged()
{
    inherited::DoThemeChanged();
    RecreateWnd();
}

void TOBLBaseEdit::CMMouseEnter(TMessage& Message)
{
    inherited::WndProc(Message);
    if (FocusOnMouseAbove() && Enabled()) {
        if (!Focused() && CanFocus())
            SetFocus();
    } else if (UseXP() && Flat()) {
        Invalidate();
    }
}

void TOBLBaseEdit::CMMouseLeave(TMessage& Message)
{
    inherited::WndProc(Message);
    if (UseXP() && Flat())
        Redraw(-1);
}

void TOBLBaseEdit::WMSize(TMessage& Message)
{
    inherited::WndProc(Message);
    if (Focused())
        CreateBack();
    else
        SetupRects();
}

// The window keeps a copy of the text as well; the engine's own Text is what counts, unless
// a descendant takes over the window text (the skip switch). The text it already holds is
// no change, and nothing is told.
void TOBLBaseEdit::WMSetText(TMessage& Message)
{
    inherited::WndProc(Message);
    const AnsiString text = TextAt(Message.LParam);
    const bool changed = skipWindowText_ || text != Text();
    if (!skipWindowText_)
        SetText(text);
    Message.Result = TRUE;
    if (changed)
        GetChange(this);
}

void TOBLBaseEdit::WMGetText(TMessage& Message)
{
    if (skipWindowText_) {
        inherited::WndProc(Message);
        return;
    }
    const AnsiString text = GetText();
    const auto size = static_cast<int>(Message.WParam);
    char* buffer = reinterpret_cast<char*>(Message.LParam);
    Message.Result = 0;
    if (size <= 0 || !buffer)
        return;
    const int n = std::min(text.Length(), size - 1);
    std::memcpy(buffer, text.c_str(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    Message.Result = n;
}

// ---------------------------------------------------------------------------------------
// The standard edit control's messages (positions there are 0-based)

void TOBLBaseEdit::EMSetSel(WPARAM Start, LPARAM End)
{
    const auto start = static_cast<int>(static_cast<LONG>(Start));
    const auto end = static_cast<int>(static_cast<LONG>(End));
    const int length = Text().Length();
    if (start < 0) {
        // No selection, the cursor where it is.
        SetInteger(2, 0);
        SetInteger(1, CursorPos());
        return;
    }
    if (start == 0 && end == -1) {
        SelectAll();
        return;
    }
    // A negative end is the end of the text; the smaller position starts the selection.
    const int from = std::min(start, length);
    const int to = end < 0 ? length : std::min(end, length);
    SetInteger(5, from + 1);
    SetInteger(1, std::min(from, to) + 1);
    SetInteger(2, std::abs(to - from));
}

void TOBLBaseEdit::EMGetLine(TMessage& Message)
{
    char* buffer = reinterpret_cast<char*>(Message.LParam);
    Message.Result = 0;
    if (!buffer)
        return;
    WORD room = 0;
    std::memcpy(&room, buffer, sizeof room);
    const int n = std::min<int>(Text().Length(), room);
    std::memcpy(buffer, Text().c_str(), static_cast<std::size_t>(n));
    Message.Result = n;
}

void TOBLBaseEdit::EMPosFromChar(TMessage& Message)
{
    const int count = std::clamp(static_cast<int>(Message.LParam), 0, Text().Length());
    const TPoint p = Point(PosFromChar(count), 0);
    if (auto* target = reinterpret_cast<POINT*>(Message.WParam))
        *target = p;
    Message.Result = MAKELONG(static_cast<WORD>(p.x), 0);
}

int TOBLBaseEdit::PosFromChar(int Count)
{
    return RowWidth(::Copy(Text(), 1, Count)) + TextRect().left - ScrollOffset();
}

void TOBLBaseEdit::EditMessage(TMessage& Message)
{
    const int selStart = SelStart(), selEnd = SelStart() + SelLength();
    Message.Result = 0;
    switch (Message.Msg) {
    case EM_GETSEL:
        if (auto* p = reinterpret_cast<DWORD*>(Message.WParam)) *p = static_cast<DWORD>(selStart - 1);
        if (auto* p = reinterpret_cast<DWORD*>(Message.LParam)) *p = static_cast<DWORD>(selEnd - 1);
        Message.Result = MAKELONG(static_cast<WORD>(selStart - 1), static_cast<WORD>(selEnd - 1));
        return;
    case EM_SETSEL: EMSetSel(Message.WParam, Message.LParam); return;
    case EM_GETRECT:
        if (auto* r = reinterpret_cast<RECT*>(Message.LParam)) *r = TextRect();
        return;
    case EM_SETRECT: case EM_SETRECTNP: case EM_SCROLL: case EM_LINESCROLL: case EM_SCROLLCARET:
    case EM_SETHANDLE: case EM_LINEINDEX: case EM_GETHANDLE: case EM_GETTHUMB: case EM_LINEFROMCHAR:
    case EM_GETFIRSTVISIBLELINE: case EM_GETWORDBREAKPROC: case EM_GETMARGINS: case EM_FMTLINES:
    case EM_SETTABSTOPS: case EM_SETWORDBREAKPROC: case EM_SETMARGINS: case EM_SETPASSWORDCHAR:
    case EM_GETPASSWORDCHAR: return;
    case EM_GETMODIFY: Message.Result = Modified(); return;
    case EM_SETMODIFY: SetBoolean(2, Message.WParam != 0); return;
    case EM_GETLINECOUNT: Message.Result = 1; return;
    case EM_LINELENGTH: Message.Result = Text().Length(); return;
    case EM_REPLACESEL:
        SetSelText(TextAt(Message.LParam));
        if (Message.WParam == 0)
            ClearUndo();
        return;
    case EM_GETLINE: EMGetLine(Message); return;
    case EM_LIMITTEXT: SetInteger(0, static_cast<int>(Message.WParam)); return;
    case EM_CANUNDO: Message.Result = CanUndo(); return;
    case EM_UNDO:
        Undo();
        Message.Result = CanUndo();
        return;
    case EM_EMPTYUNDOBUFFER: EmptyUndoStack(); return;
    case EM_SETREADONLY:
        SetBoolean(1, Message.WParam != 0);
        Message.Result = 1;
        return;
    case EM_GETLIMITTEXT: Message.Result = MaxLength(); return;
    case EM_POSFROMCHAR: EMPosFromChar(Message); return;
    case EM_CHARFROMPOS: {
        // The character under the point, and its line.
        const int index = CalcMousePos(static_cast<DWORD>(Message.LParam)) - 1;
        const int line = CalcMouseRow(static_cast<SHORT>(HIWORD(static_cast<DWORD>(Message.LParam))));
        Message.Result = MAKELONG(static_cast<WORD>(index), static_cast<WORD>(line));
        return;
    }
    default: inherited::WndProc(Message);
    }
}

void TOBLBaseEdit::WndProc(TMessage& Message)
{
    const UINT msg = Message.Msg;
    if (msg >= EM_GETSEL && msg <= EM_CHARFROMPOS) {
        EditMessage(Message);
        return;
    }
    switch (msg) {
    case WM_GETDLGCODE:
        inherited::WndProc(Message);
        Message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case WM_MOUSEMOVE: WMMouseMove(Message); return;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); return;
    case WM_LBUTTONUP: WMLButtonUp(Message); return;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); return;
    case WM_RBUTTONUP: WMRButtonUp(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case CM_FONTCHANGED: CMFontChanged(Message); return;
    case CM_MOUSEENTER: CMMouseEnter(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(Message);
        Redraw(-1);
        return;
    case WM_SIZE: WMSize(Message); return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_SETTEXT: WMSetText(Message); return;
    case WM_GETTEXT: WMGetText(Message); return;
    case WM_GETTEXTLENGTH: Message.Result = Text().Length(); return;
    case WM_COPY: CopyToClipboard(); return;
    case WM_CUT: CutToClipboard(); return;
    case WM_PASTE: PasteFromClipboard(); return;
    case WM_CLEAR: SetSelText(AnsiString()); return;
    default: inherited::WndProc(Message);
    }
}
