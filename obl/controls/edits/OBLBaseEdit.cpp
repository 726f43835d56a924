#include "obl/controls/edits/OBLBaseEdit.h"

#include "obl/core/app/oblclass.h"
#include "obl/core/base/Oblxpstyles.h"
#include "obl/core/draw/Oblutils.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/kernel/OemText.h"

#include <algorithm>
#include <memory>
#include <string>

namespace {

// Sets a flag for the length of a scope, so that it drops again when the scope is left by
// an exception too.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagScope() { flag_ = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
};

bool EditModeHolds(TOBLEditMode Mode) { return OBLApplication && OBLApplication->EditMode().Contains(Mode); }

// Characters the OEM code page lacks are replaced, as the console would show them.
void PassThroughOem(AnsiString& S)
{
    CharToOemA(S.c_str(), S.data());
    OemToCharA(S.c_str(), S.data());
}

constexpr UINT TextFlags = DT_SINGLELINE | DT_NOPREFIX;

} // namespace

TOBLBaseEdit::TOBLBaseEdit(TComponent* AOwner)
    : TOBLCustomBevelPanel(AOwner), caret_(new TOBLCaret(this)), font3D_(new TOBL3DCaption),
      undoStack_(new TOBLDynLIFOBuffer), redoStack_(new TOBLDynLIFOBuffer)
{
    caret_->SetPos(1, 1);
    font3D_->SetOnChange(TNotifyEvent(this, &TOBLBaseEdit::GetChange));
    for (TOBLDynLIFOBuffer* stack : {undoStack_.get(), redoStack_.get()})
        stack->SetOnDestroyItem(TOBLDestroyItemEvent(this, &TOBLBaseEdit::DoDestroyBufferEntry));
    delimiters_.set(' ');
    controlStyle_.Exclude(csAcceptsControls);
    SetHeight(21);
    Bevel()->SetMode(bmWindows);
    SetCursor(crIBeam);
    // Its own colour and the tab stop are what an edit is made with, so a description
    // stores ParentColor and TabStop only when they differ from these.
    SetColor(clWhite);
    SetDefaultParentColor(false);
    SetDefaultTabStop(true);
}

TOBLBaseEdit::~TOBLBaseEdit()
{
    FreeBack();
    FreeTimer();
    redoStack_.reset();
    undoStack_.reset();
    caret_.reset();
    font3D_->SetOnChange(TNotifyEvent());
    font3D_.reset();
}

void TOBLBaseEdit::Publish(TClassBuilder<TOBLBaseEdit>& c)
{
    using C = TOBLBaseEdit;
    PublishControl(c);
    c.Property("Bevel", &C::Bevel, &C::SetBevel);
    c.Property("HighlightBack", &C::HighlightBack, &C::SetHighlightBack).Default(clHighlight);
    c.Property("HighlightText", &C::HighlightText, &C::SetHighlightText).Default(clHighlightText);
    c.Property("FocusOnMouseAbove", &C::FocusOnMouseAbove, [](C& o, bool v) { o.SetBoolean(6, v); }).Default(false);
    c.Property("Caret", &C::Caret, &C::SetCaretVal);
    c.Redeclare("Color").Default(clWhite);
    // Made with the text cursor, so that is the default a form description leaves out.
    c.Redeclare("Cursor").Default(crIBeam);
    c.Property("OnCursorPosChanged", &C::OnCursorPosChanged, &C::SetOnCursorPosChanged);
    c.Property("OnTextChangedAt", &C::OnTextChangedAt, &C::SetOnTextChangedAt);
    c.Property("OnChange", &C::OnChange, &C::SetOnChange);
    c.Property("OnModified", &C::OnModified, &C::SetOnModified);
}

// ---- Text ------------------------------------------------------------------------------

void TOBLBaseEdit::SetText(const AnsiString& S)
{
    if (S == text_) return;
    text_ = S;
    if (maxLength_ > 0 && text_.Length() > maxLength_) text_.SetLength(maxLength_);
    // The history goes with the text it was made on: its records name positions and
    // characters of the old text, and replayed on the new one they would garble it.
    ClearUndo();
    SetCursorPos(1);
    SetSelLength(0);
    SetSelStart(cursorPos_);
    SetNewText();
}

AnsiString TOBLBaseEdit::GetText()
{
    GetNewText();
    return text_;
}

void TOBLBaseEdit::SetSelText(const AnsiString& S)
{
    if (!AllowedOperation(S)) return;
    // A replay puts back exactly what the record holds: no conversion, no line-break
    // widening, no length limit.
    const bool replay = Replaying();
    AnsiString inserted = S;
    if (oemConvert_ && !inserted.IsEmpty() && !replay) PassThroughOem(inserted);
    BeforeChangeText();
    auto record = std::make_unique<TOBLUndoRecord>();
    record->CursorPos = cursorPos_;
    const int at = selStart_;
    if (!replay) AdjustForLineBreaks();

    const AnsiString removed = ::Copy(text_, selStart_, selLength_);
    HandleReplaceText(selStart_, removed);
    Delete(text_, selStart_, selLength_);
    selLength_ = 0;
    HandleInsertText(selStart_, inserted);
    int newCursor = selStart_;
    if (replay || maxLength_ <= 0 || text_.Length() + inserted.Length() <= maxLength_) {
        ::Insert(inserted, text_, selStart_);
        newCursor = selStart_ + inserted.Length();
    } else {
        inserted = AnsiString();
    }

    // The text as it was: nothing to undo, nothing to tell (a copy or cut with nothing
    // selected, Delete at the end, a replacement by the same characters).
    const bool changed = removed != inserted;
    if (changed) {
        record->SelStart = selStart_;
        record->OldText = removed;
        record->SelLength = removed.Length();
        record->NewText = inserted;
        record->NewLength = inserted.Length();
        RecordChange(std::move(record));
        SetModifiedFlag(true);
        ChangedText(at);
    }
    SetCursorPos(newCursor);
    BeginUpdate();
    SetSelLength(0);
    EndUpdate();
    SetSelStart(cursorPos_);
    if (changed) FinishedSetSelText();
}

void TOBLBaseEdit::ChangeTextTo(const AnsiString& S)
{
    AnsiString target = S;
    if (maxLength_ > 0 && target.Length() > maxLength_) target.SetLength(maxLength_);
    if (target == text_) return;
    // What both texts begin and end with stays; neither end splits a CR/LF pair, since the
    // change would take the other half with it.
    const int shorter = std::min(text_.Length(), target.Length());
    int head = 0;
    while (head < shorter && text_[head + 1] == target[head + 1]) ++head;
    if (head > 0 && CharAt(head) == '\r' && CharAt(head + 1) == '\n') --head;
    int tail = 0;
    while (tail < shorter - head && text_[text_.Length() - tail] == target[target.Length() - tail]) ++tail;
    const int end = text_.Length() - tail; // last replaced position
    if (tail > 0 && CharAt(end) == '\r' && CharAt(end + 1) == '\n') --tail;
    const TOwnOperation own(this);
    SetSelStart(head + 1);
    SetSelLength(text_.Length() - head - tail);
    SetSelText(::Copy(target, head + 1, target.Length() - head - tail));
}

// A selection that ends on the CR of a pair takes its LF; one that starts on the LF takes
// its CR.
void TOBLBaseEdit::WidenSelectionToLineBreaks()
{
    if (selLength_ == 0) return;
    const int last = selStart_ + selLength_ - 1;
    if (CharAt(last) == '\r' && CharAt(last + 1) == '\n') ++selLength_;
    if (CharAt(selStart_) == '\n' && CharAt(selStart_ - 1) == '\r') {
        --selStart_;
        ++selLength_;
    }
}

// A CR/LF pair is removed or replaced whole, and nothing is inserted between its halves.
// Only a typed character overwrites: overwrite mode is the keyboard's state, so a paste, a
// replacement or a deletion with nothing selected never takes the next character with it.
void TOBLBaseEdit::AdjustForLineBreaks()
{
    if (selLength_ != 0) {
        WidenSelectionToLineBreaks();
        return;
    }
    if (CharAt(selStart_) == '\n' && CharAt(selStart_ - 1) == '\r') --selStart_;
    if (typing_ && !EditModeHolds(emInsert) && selStart_ <= text_.Length()) {
        selLength_ = 1;
        if (CharAt(selStart_) == '\r' && CharAt(selStart_ + 1) == '\n') ++selLength_;
    }
}

void TOBLBaseEdit::RecordChange(std::unique_ptr<TOBLUndoRecord> Record)
{
    if (undoing_) {
        canRedo_ = true;
        redoStack_->Put(Record.release());
        return;
    }
    canUndo_ = true;
    undoStack_->Put(Record.release());
    if (!redoing_) {
        redoStack_->Clear();
        canRedo_ = false;
    }
}

AnsiString TOBLBaseEdit::GetSelText() const { return ::Copy(text_, selStart_, selLength_); }

void TOBLBaseEdit::SetSelTextBuf(const char* P) { SetSelText(P ? AnsiString(P) : AnsiString()); }

void TOBLBaseEdit::ClearSelection() { SetSelText(AnsiString()); }

void TOBLBaseEdit::SelectAll()
{
    selStart_ = 1;
    selLength_ = text_.Length();
    Redraw(-1);
}

void TOBLBaseEdit::Replace(int Start, int Count, const AnsiString& S)
{
    const int savedStart = selStart_;
    const int savedLength = selLength_;
    SetSelStart(Start);
    SetSelLength(Count);
    SetSelText(S);
    SetSelStart(savedStart);
    SetSelLength(savedLength);
}

void TOBLBaseEdit::Upper(int Start, int Count) { Replace(Start, Count, UpperCase(::Copy(text_, Start, Count))); }

void TOBLBaseEdit::Lower(int Start, int Count) { Replace(Start, Count, LowerCase(::Copy(text_, Start, Count))); }

void TOBLBaseEdit::Cut(int Start, int Count, AnsiString& S)
{
    SetSelStart(Start);
    SetSelLength(Count);
    S = GetSelText();
    SetSelText(AnsiString());
}

void TOBLBaseEdit::Insert(int Position, const AnsiString& S)
{
    SetSelLength(0);
    SetSelStart(Position);
    SetSelText(S);
}

void TOBLBaseEdit::Add(const AnsiString& S) { SetText(text_ + S); }

AnsiString TOBLBaseEdit::Copy(int Start, int Count) const { return ::Copy(text_, Start, Count); }

int TOBLBaseEdit::RowWidth(const AnsiString& S)
{
    if (S.IsEmpty()) return 0;
    TRect r = textRect_;
    if (HandleAllocated())
        OBLDrawTextCalcExt(Canvas(), S, font3D_.get(), r, Font(), false, false, 0, TextFlags);
    else
        OBLDrawTextCalc(S, font3D_.get(), r, Font(), false, false, 0, TextFlags);
    return r.right - r.left;
}

int TOBLBaseEdit::RowHeight(const AnsiString& S)
{
    int height = 0;
    if (HandleAllocated()) {
        height = Canvas()->TextHeight(S);
    } else {
        // Measured without making the window.
        TOwned<TBitmap> scratch(new TBitmap);
        scratch->Canvas()->Font()->Assign(Font());
        height = scratch->Canvas()->TextHeight(S);
    }
    const TOBLThreeDStyle style = font3D_->Style();
    if (style == tdSunkenShadow || style == tdRaisedShadow || style == tdShadow) height += font3D_->ShadowDepth();
    return height;
}

AnsiString TOBLBaseEdit::GetCurrentWord() const
{
    int first = cursorPos_;
    while (first > 1 && !IsDelimiter(CharAt(first - 1))) --first;
    int end = cursorPos_;
    while (end <= text_.Length() && !IsDelimiter(CharAt(end))) ++end;
    return ::Copy(text_, first, end - first);
}

int TOBLBaseEdit::CountWords() const
{
    int words = 0;
    bool inWord = false;
    for (int i = 1; i <= text_.Length(); ++i) {
        const bool delimiter = IsDelimiter(text_[i]);
        if (!delimiter && !inWord) ++words;
        inWord = !delimiter;
    }
    return words;
}

// ---- Selection and cursor --------------------------------------------------------------

int TOBLBaseEdit::ClampPos(int P) const { return std::clamp(P, 1, text_.Length() + 1); }

void TOBLBaseEdit::SetInteger(int Index, int Value)
{
    switch (Index) {
    case 0:
        maxLength_ = Value;
        break;
    case 1:
        selStart_ = Value;
        KeepSelectionInText();
        break;
    case 2: {
        const int length = std::clamp(Value, 0, text_.Length() - selStart_ + 1);
        if (length == selLength_) break;
        selLength_ = length;
        Redraw(-1);
        break;
    }
    case 5:
        prevCursorPos_ = cursorPos_;
        cursorPos_ = ClampPos(Value);
        ApplySelectionRule();
        KeepSelectionInText();
        CursorPosChanged();
        break;
    default:
        break;
    }
}

// The rule extends from wherever SelStart was put, which need not be the cursor.
void TOBLBaseEdit::KeepSelectionInText()
{
    selStart_ = ClampPos(selStart_);
    selLength_ = std::clamp(selLength_, 0, text_.Length() - selStart_ + 1);
}

void TOBLBaseEdit::ApplySelectionRule()
{
    if (typing_ || dragging_) return;
    if (!selectionAllowed_ && EditModeHolds(emShift)) {
        TOBLEditModes mode = OBLApplication->EditMode();
        mode.Exclude(emShift);
        OBLApplication->SetEditMode(mode);
    }
    const int oldPos = prevCursorPos_;
    const int newPos = cursorPos_;
    int& s = selStart_;
    int& l = selLength_;
    if (!EditModeHolds(emShift) && !mouseSelecting_) {
        l = 0;
        s = newPos;
        return;
    }
    if (l == 0) {
        l = std::abs(oldPos - newPos);
        if (newPos < oldPos) s = newPos;
    } else if (s < newPos && newPos < s + l) {
        if (newPos > oldPos) {
            l = s + l - newPos;
            s = newPos;
        } else {
            l = newPos - s;
        }
    } else if (s < newPos) {
        if (s < oldPos) {
            l = newPos - s;
        } else {
            s = s + l;
            l = newPos - s;
        }
    } else if (s == oldPos) {
        l = l + (s - newPos);
        s = newPos;
    } else {
        l = s - newPos;
        s = newPos;
    }
}

void TOBLBaseEdit::CursorPosChanged()
{
    if (HandleAllocated()) SetCaret();
    onCursorPosChanged_(this);
}

void TOBLBaseEdit::GotoParaStart()
{
    int p = cursorPos_;
    while (p > 1 && CharAt(p - 1) != '\n') --p;
    SetCursorPos(p);
}

void TOBLBaseEdit::GotoParaEnd()
{
    int p = cursorPos_;
    while (p <= text_.Length() && CharAt(p) != '\r') ++p;
    SetCursorPos(p);
}

void TOBLBaseEdit::GotoNextWord()
{
    int p = cursorPos_;
    if (IsDelimiter(CharAt(p)) && p < text_.Length()) ++p;
    while (p <= text_.Length() && !IsDelimiter(CharAt(p))) ++p;
    SetCursorPos(p);
}

void TOBLBaseEdit::GotoPrevWord()
{
    int p = cursorPos_;
    if (IsDelimiter(CharAt(p)) && p > 1) --p;
    while (p > 1 && !IsDelimiter(CharAt(p))) --p;
    SetCursorPos(p);
}

void TOBLBaseEdit::SelectCurrentWord()
{
    if (text_.IsEmpty()) return;
    int first = cursorPos_;
    if (IsDelimiter(CharAt(first)) && first > 1) --first;
    while (first > 1 && !IsDelimiter(CharAt(first))) --first;
    // A delimiter at the very start is not part of the word either.
    if (IsDelimiter(CharAt(first))) ++first;
    int end = cursorPos_;
    while (end <= text_.Length() && !IsDelimiter(CharAt(end))) ++end;
    SetSelStart(first);
    SetSelLength(end - first);
}

void TOBLBaseEdit::SelectRightWord()
{
    int last = cursorPos_;
    while (last < text_.Length() && !IsDelimiter(CharAt(last))) ++last;
    const int length = last - cursorPos_ + (IsDelimiter(CharAt(last)) ? 0 : 1);
    SetSelStart(cursorPos_);
    SetSelLength(length);
}

void TOBLBaseEdit::SelectLeftWord()
{
    int first = cursorPos_;
    while (first > 1 && !IsDelimiter(CharAt(first))) --first;
    if (IsDelimiter(CharAt(first))) ++first;
    SetSelStart(first);
    SetSelLength(cursorPos_ - selStart_);
}

int TOBLBaseEdit::GetSelTextBuf(char* Buffer, int Size)
{
    if (!Buffer || Size <= 0) return 0;
    const AnsiString selected = GetSelText();
    const int count = std::min(selected.Length(), Size - 1);
    std::copy_n(selected.data(), count, Buffer);
    Buffer[count] = '\0';
    return count;
}

void TOBLBaseEdit::Clear()
{
    SelectAll();
    SetSelText(AnsiString());
}

// ---- Undo ------------------------------------------------------------------------------

void TOBLBaseEdit::Undo()
{
    if (!canUndo_) return;
    Replay(undoStack_.get(), undoing_);
    if (undoStack_->isEmpty()) canUndo_ = false;
}

void TOBLBaseEdit::Redo()
{
    if (!canRedo_) return;
    Replay(redoStack_.get(), redoing_);
    if (redoStack_->isEmpty()) canRedo_ = false;
}

void TOBLBaseEdit::Replay(TOBLDynLIFOBuffer* Stack, bool& Flag)
{
    if (Stack->isEmpty()) return;
    // A read-only edit refuses the change: the record stays for later.
    if (!AllowedOperation(static_cast<TOBLUndoRecord*>(Stack->Top()->Item)->OldText)) return;
    std::unique_ptr<TOBLUndoRecord> record(static_cast<TOBLUndoRecord*>(Stack->Get()));
    {
        const TOwnOperation own(this);
        TFlagScope replaying(Flag);
        SetSelStart(record->SelStart);
        SetSelLength(record->NewLength);
        SetSelText(record->OldText);
    }
    SetCursorPos(record->CursorPos);
    SetSelStart(record->SelStart);
    SetSelLength(record->SelLength);
}

void TOBLBaseEdit::ClearUndo()
{
    redoStack_->Clear();
    undoStack_->Clear();
    canUndo_ = false;
    canRedo_ = false;
}

void TOBLBaseEdit::EmptyUndoStack()
{
    undoStack_->Clear();
    canUndo_ = false;
}

void TOBLBaseEdit::DoDestroyBufferEntry(TObject* Sender, void* Item) { delete static_cast<TOBLUndoRecord*>(Item); }

// ---- Properties ------------------------------------------------------------------------

void TOBLBaseEdit::SetBoolean(int Index, bool Value)
{
    switch (Index) {
    case 0:
        hideSelection_ = Value;
        // An unfocused edit shows its selection exactly when it does not hide it.
        if (!Focused() && selectionHidden_ != Value) {
            selectionHidden_ = Value;
            if (SelLength() > 0) Redraw(-1);
        }
        break;
    case 1:
        readOnly_ = Value;
        if (UseXP()) Invalidate();
        break;
    case 2:
        SetModifiedFlag(Value);
        break;
    case 4:
        autoSelect_ = Value;
        break;
    case 5:
        oemConvert_ = Value;
        break;
    case 6:
        focusOnMouseAbove_ = Value;
        break;
    default:
        break;
    }
}

void TOBLBaseEdit::SetModifiedFlag(bool Value)
{
    if (Value == modified_) return;
    modified_ = Value;
    onModified_(this);
}

void TOBLBaseEdit::SetAlignment(TAlignment A)
{
    if (A == alignment_) return;
    alignment_ = A;
    scrollOffset_ = 0;
    DoAlignmentChange();
    Redraw(-1);
    if (HandleAllocated()) SetCaret();
}

void TOBLBaseEdit::SetFont3D(TOBL3DCaption* F)
{
    font3D_->Assign(F);
    Perform(CM_FONTCHANGED, 0, 0);
}

void TOBLBaseEdit::SetCaretVal(TOBLCaret* C) { caret_->Assign(C); }

void TOBLBaseEdit::SetHighlightText(TColor Value)
{
    if (Value == highlightText_) return;
    highlightText_ = Value;
    Redraw(-1);
}

void TOBLBaseEdit::SetHighlightBack(TColor Value)
{
    if (Value == highlightBack_) return;
    highlightBack_ = Value;
    Redraw(-1);
}

void TOBLBaseEdit::GetChange(TObject* Sender)
{
    inherited::GetChange(Sender);
    // Settings read from a form description are no change of the edit.
    if (!Loading()) onChange_(this);
}

void TOBLBaseEdit::BeginUpdate() { ++updateCount_; }

void TOBLBaseEdit::EndUpdate()
{
    if (updateCount_ > 0) {
        --updateCount_;
        return;
    }
    if (!noRedraw_) Redraw(-1);
}

void TOBLBaseEdit::ChangedText(int At)
{
    if (!Updating()) Redraw(cursorPos_);
    if (Loading()) return;
    onTextChangedAt_(this, At);
    onChange_(this);
}

void TOBLBaseEdit::Redraw(int Position)
{
    if (HandleAllocated()) DrawText(Position);
}

void TOBLBaseEdit::FreeTimer()
{
    if (autoScrollTimer_ == -1) return;
    const auto ident = static_cast<WORD>(autoScrollTimer_);
    autoScrollTimer_ = -1;
    if (!OBLApplication) return;
    if (TOBLTimerItem* item = OBLApplication->GetTimer(ident)) {
        item->SetEnabled(false);
        item->SetOnTimer(TNotifyEvent());
    }
    OBLApplication->RemoveTimer(ident);
}

// ---- Layout and painting ---------------------------------------------------------------

void TOBLBaseEdit::SetupRects()
{
    if (Updating() || Loading()) return;
    LayoutRects();
}

void TOBLBaseEdit::LayoutRects()
{
    innerRect_ = ClientRect();
    ModifyInnerRect();
    paintRect_ = innerRect_;
    ModifyPaintRect();
    textRect_ = paintRect_;
    InflateRect(&textRect_, -1, -1);
    ModifyTextRect();
}

void TOBLBaseEdit::ModifyInnerRect()
{
    if (UseXP() && Bevel()->Mode() == bmWindows && HandleAllocated()) {
        AnsiString className;
        int part = 0, state = 0;
        GetXPBevelParams(className, part, state);
        const std::u16string wide(className.c_str(), className.c_str() + className.Length());
        HTHEME theme = OpenThemeData(Handle(), wide.c_str());
        const TRect bounds = innerRect_;
        GetThemeBackgroundContentRect(theme, Canvas()->Handle(), EP_EDITTEXT, state, &bounds, &innerRect_);
        CloseThemeData(theme);
        return;
    }
    InflateRect(&innerRect_, -BevelExt(), -BevelExt());
}

void TOBLBaseEdit::CreateBack()
{
    if (!buffered_) return;
    if (!backBitmap_) backBitmap_.reset(new TBitmap);
    backBitmap_->SetSize(Width(), Height());
    RepaintBack(ClientRect());
    LayoutRects();
}

TCanvas* TOBLBaseEdit::DrawCanvas() { return buffered_ && backBitmap_ ? backBitmap_->Canvas() : Canvas(); }

void TOBLBaseEdit::RepaintBack(const TRect& Rect)
{
    if (!HandleAllocated()) return;
    TCanvas* canvas = DrawCanvas();
    if (CheckOptimized() && BackDrawArea(canvas, Rect, Point(0, 0), 0)) return;
    if (UseXP()) {
        TOwned<TBitmap> border(new TBitmap);
        border->SetSize(ClientWidth(), ClientHeight());
        BevelXP(border->Canvas(), ClientRect());
        canvas->CopyRect(Rect, border->Canvas(), Rect);
        return;
    }
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(Rect);
}

bool TOBLBaseEdit::RedrawOnExit() { return UseXP() && Flat(); }

void TOBLBaseEdit::Paint()
{
    if (Updating() || Loading()) return;
    FillControl();
    if (!Focused() && Flat() && !Designing() && !UseXP())
        RestoreBorderBack();
    else if (UseXP() && Bevel()->Mode() == bmWindows)
        BevelXP(Canvas(), ClientRect());
    else
        Bevel()->PaintBevel(Canvas(), ClientRect(), Transparent());
    SetCaret();
}

void TOBLBaseEdit::Loaded()
{
    inherited::Loaded();
    SetupRects();
    if (HandleAllocated()) Paint();
}
