#include "obl/controls/edits/OBLCustomEdit.h"

#include "obl/core/base/Oblbase.h"
#include "obl/core/draw/Oblutils.h"
#include "obl/core/draw/OblutilsShared.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/User.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The 3D caption's character spacing on a device context while measuring; the previous
// spacing comes back afterwards, so other drawing on the canvas is not widened.
class CharacterExtra {
public:
    CharacterExtra(HDC dc, int extra) : dc_(dc), previous_(SetTextCharacterExtra(dc, extra)) {}
    ~CharacterExtra() { SetTextCharacterExtra(dc_, previous_); }
    CharacterExtra(const CharacterExtra&) = delete;
    CharacterExtra& operator=(const CharacterExtra&) = delete;

private:
    HDC dc_;
    int previous_;
};

// Hides the caret for a redraw (drawing over it would leave its inverted pixels behind)
// and shows it again at the end, whatever happens, when it was shown.
class HiddenCaret {
public:
    explicit HiddenCaret(TOBLCaret* caret) : caret_(caret), shown_(caret->Shown()) { caret_->Disable(); }
    ~HiddenCaret()
    {
        if (shown_) caret_->Enable();
    }
    HiddenCaret(const HiddenCaret&) = delete;
    HiddenCaret& operator=(const HiddenCaret&) = delete;

private:
    TOBLCaret* caret_;
    bool shown_;
};

constexpr int kLineFlags = DT_SINGLELINE | DT_NOPREFIX;

bool ExtrudeToTheLeft(TOBL3DCaption* F)
{
    return F->Orientation() == toBottomLeft || F->Orientation() == toTopLeft;
}

} // namespace

TOBLCustomEdit::TOBLCustomEdit(TComponent* AOwner)
    : TOBLBaseEdit(AOwner), customButtons_(new TOBLSpecialButtons(this, true))
{
}

TOBLCustomEdit::~TOBLCustomEdit()
{
    customButtons_.reset();
    SetAutoComplete(nullptr);
}

void TOBLCustomEdit::Publish(TClassBuilder<TOBLCustomEdit>& c)
{
    using C = TOBLCustomEdit;
    c.Redeclare("Font");
    c.Property("CharCase", &C::CharCase, &C::SetCharCase).Default(ecNormal);
    c.Property("Font3D", &C::Font3D, &C::SetFont3D);
    c.Property("MaxLength", &C::MaxLength, &C::SetMaxLength).Default(0);
    c.Property("HideSelection", &C::HideSelection, [](C& o, bool v) { o.SetBoolean(0, v); }).Default(true);
    c.Property("AutoSelect", &C::AutoSelect, [](C& o, bool v) { o.SetBoolean(4, v); }).Default(false);
    c.Property("OEMConvert", &C::OEMConvert, [](C& o, bool v) { o.SetBoolean(5, v); }).Default(false);
    c.Redeclare("ParentFont").Default(true);
}

// ---- Properties ------------------------------------------------------------------------

void TOBLCustomEdit::SetPasswordChar(char C)
{
    passwordChar_ = C;
    ChangedText(1);
}

void TOBLCustomEdit::SetAutoSize(bool B)
{
    if (B == autoSize_) return;
    autoSize_ = B;
    CorrectBounds();
}

void TOBLCustomEdit::SetCustomButtonWidth(int W)
{
    if (W == customButtonWidth_) return;
    customButtonWidth_ = W;
    if (Parent()) Perform(WM_SIZE, 0, 0);
}

void TOBLCustomEdit::SetCustomButtonStyle(TOBLUserButtonStyle S)
{
    if (S == customButtonStyle_) return;
    customButtonStyle_ = S;
    SetBorders();
}

void TOBLCustomEdit::SetAutoComplete(TComponent* A)
{
    if (A == autoComplete_) return;
    if (autoComplete_) autoComplete_->RemoveFreeNotification(this);
    autoComplete_ = A;
    if (autoComplete_) autoComplete_->FreeNotification(this);
}

bool TOBLCustomEdit::BackOneMore()
{
    TOBLEditAutoCompleteLink* link = AutoCompleteLink();
    return link && link->CompletesInPlace();
}

// The completion works on what was typed or put in by the caller: a drop's two halves, an
// undo or redo, a paste and the completion's own change are left as they are.
void TOBLCustomEdit::FinishedSetSelText()
{
    if (InOwnOperation()) return;
    if (TOBLEditAutoCompleteLink* link = AutoCompleteLink()) link->AutoCompleteText(this, Text());
}

void TOBLCustomEdit::GetCommandKey(WORD& Key, TShiftState Shift)
{
    const WORD key = Key;
    inherited::GetCommandKey(Key, Shift);
    TOBLEditAutoCompleteLink* link = AutoCompleteLink();
    if (key == VK_RETURN && link && link->AddsOnReturn()) link->Add(this, Text());
}

void TOBLCustomEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == autoComplete_) autoComplete_ = nullptr;
}

// ---- Custom buttons --------------------------------------------------------------------

void TOBLCustomEdit::BtnClick(int Index)
{
    if (Index >= 0 && Index < customButtons_->Count()) customButtons_->GetItem(Index)->DoClick();
}

void TOBLCustomEdit::DoAClick(TObject* Sender, int Index)
{
    if (Assigned(onCustomButtonClick_)) onCustomButtonClick_(this, Sender, Index);
}

void TOBLCustomEdit::SpecialButtonsChanged()
{
    if (HandleAllocated()) PostMessageA(Handle(), WM_SIZE, 0, 0);
}

void TOBLCustomEdit::ModifyPaintRect()
{
    paintRect_.right -= customButtons_->Count() * customButtonWidth_ + 1;
    SetBorders();
}

void TOBLCustomEdit::SetBorders()
{
    // A Windows bevel without themes is the window's own edge, outside the client area.
    const int top = Bevel()->Mode() == bmWindows && !UseXP() ? 0 : PaintRect().top;
    const int height = PaintRect().bottom - PaintRect().top;
    for (int i = 0; i < customButtons_->Count(); ++i) {
        TOBLSpeedButton* btn = customButtons_->GetItem(i)->Btn();
        if (!btn) continue;
        btn->SetStyle(customButtonStyle_);
        btn->SetBounds(PaintRect().right + 1 + i * customButtonWidth_, top, customButtonWidth_, height);
    }
}

// ---- Sizing ----------------------------------------------------------------------------

void TOBLCustomEdit::CorrectBounds()
{
    Canvas()->Font()->Assign(Font());
    if (!autoSize_) return;
    const int row = RowHeight("Qp") * 5 / 4;
    const int height = Bevel()->Mode() == bmWindows ? row + 5 : row + 2 * BevelExt();
    const int width = std::max(Width(), customButtons_->Count() * customButtonWidth_ + 30);
    SetBounds(Left(), Top(), width, height);
}

void TOBLCustomEdit::Loaded()
{
    inherited::Loaded();
    CorrectBounds();
}

void TOBLCustomEdit::GetChange(TObject* Sender)
{
    inherited::GetChange(Sender);
    if (Sender != Bevel() || Loading()) return;
    // The text rectangle and the buttons sit inside the bevel: a new width moves them.
    SetupRects();
    CorrectBounds();
    Invalidate();
}

void TOBLCustomEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case EM_SETPASSWORDCHAR:
        SetPasswordChar(static_cast<char>(Message.WParam & 0xFF));
        Message.Result = 0;
        return;
    case EM_GETPASSWORDCHAR: Message.Result = static_cast<unsigned char>(passwordChar_); return;
    case WM_KILLFOCUS: {
        inherited::WndProc(Message);
        TOBLEditAutoCompleteLink* link = AutoCompleteLink();
        if (link && link->AddsOnExit()) link->Add(this, Text());
        return;
    }
    case CM_FONTCHANGED:
    case CM_OBLBEVELCHANGED:
        inherited::WndProc(Message);
        CorrectBounds();
        return;
    default: inherited::WndProc(Message);
    }
}

// ---- Text ------------------------------------------------------------------------------

void TOBLCustomEdit::CreateSpecialText(AnsiString& S)
{
    S = passwordChar_ == '\0' ? Text() : StringOfChar(passwordChar_, Text().Length());
}

void TOBLCustomEdit::ChangedText(int At)
{
    CreateSpecialText(displayText_);
    inherited::ChangedText(At);
}

void TOBLCustomEdit::SetNewText()
{
    SetSelLength(0);
    ChangedText(1);
    if (Focused()) SetCaret();
}

void TOBLCustomEdit::DisplayChanged()
{
    SetCursorPos(1);
    SetSelLength(0);
    SetSelStart(CursorPos());
    CreateSpecialText(displayText_);
    Redraw(-1);
}

// ---- Measuring -------------------------------------------------------------------------

void TOBLCustomEdit::PrepareMeasuring(TCanvas* Canvas) { Canvas->Font()->Assign(Font()); }

int TOBLCustomEdit::PrefixWidth(TCanvas* Canvas, int Count)
{
    return Count > 0 ? Canvas->TextWidth(::Copy(displayText_, 1, Count)) : 0;
}

int TOBLCustomEdit::BaseX(TCanvas* Canvas)
{
    const TRect& r = TextRect();
    const int width = Canvas->TextWidth(displayText_);
    switch (Alignment()) {
    case taRightJustify: return r.right - width;
    case taCenter: return r.left + (r.right - r.left - width) / 2;
    default: return r.left;
    }
}

int TOBLCustomEdit::EmptyLineCaretX() const
{
    const TRect& r = TextRect();
    switch (Alignment()) {
    case taRightJustify: return r.right;
    case taCenter: return r.left + (r.right - r.left) / 2;
    default: return r.left;
    }
}

int TOBLCustomEdit::CaretX(TCanvas* Canvas, int X0)
{
    if (displayText_.IsEmpty()) return EmptyLineCaretX();
    int x = X0 + PrefixWidth(Canvas, CursorPos() - 1) - ScrollOffset();
    const TOBLThreeDStyle style = Font3D()->Style();
    if ((style == tdExtrude || style == tdExtrudeEnh) && ExtrudeToTheLeft(Font3D())) x += Font3D()->ShadowDepth();
    return x;
}

bool TOBLCustomEdit::ScrollToCaret(int X, int Base)
{
    const TRect& r = TextRect();
    if (X > r.right) {
        scrollOffset_ += X - r.right + r.left + 2;
        return true;
    }
    // Scrolling back stops where the line's start meets the left edge; a right or centred
    // line wider than the rectangle starts left of it, and scrolls back past offset 0.
    if (X < r.left && Base - scrollOffset_ < r.left) {
        const int floor = std::min(0, Base - static_cast<int>(r.left));
        scrollOffset_ = std::max(floor, scrollOffset_ - (std::abs(X) + r.left) - 2);
        return true;
    }
    return false;
}

void TOBLCustomEdit::SetCaret()
{
    if (!Focused() || !Caret()->Allowed()) return;
    TCanvas* canvas = Canvas();
    PrepareMeasuring(canvas);
    int base = 0;
    {
        CharacterExtra extra(canvas->Handle(), Font3D()->Tracing());
        base = BaseX(canvas);
    }
    int x0 = base;
    switch (Font3D()->Style()) {
    case tdSunken:
    case tdSunkenShadow: x0 += Font3D()->ShadowDepth(); break;
    case tdRaised:
    case tdRaisedShadow: x0 += Font3D()->LightDepth(); break;
    default: break;
    }
    --x0;
    const auto caretX = [&] {
        CharacterExtra extra(canvas->Handle(), Font3D()->Tracing());
        return CaretX(canvas, x0);
    };
    if (ScrollToCaret(caretX(), base)) DrawText(-1);
    SetOBLCaretPos(caretX() + 1, TextRect().top);
}

int TOBLCustomEdit::CalcMousePos(DWORD Point)
{
    const int x = static_cast<short>(LOWORD(Point));
    TCanvas* canvas = Canvas();
    PrepareMeasuring(canvas);
    CharacterExtra extra(canvas->Handle(), Font3D()->Tracing());
    const int base = BaseX(canvas) - ScrollOffset();
    const int length = displayText_.Length();
    for (int f = 1; f <= length; ++f)
        if (base + PrefixWidth(canvas, f) - canvas->TextWidth(::Copy(displayText_, f, 1)) / 2 >= x) return f;
    return length + 1;
}

int TOBLCustomEdit::PosFromChar(int Count)
{
    TCanvas* canvas = Canvas();
    PrepareMeasuring(canvas);
    CharacterExtra extra(canvas->Handle(), Font3D()->Tracing());
    return BaseX(canvas) - ScrollOffset() + PrefixWidth(canvas, Count);
}

// ---- Drawing ---------------------------------------------------------------------------

void TOBLCustomEdit::Paint()
{
    inherited::Paint();
    if (!Loading()) DrawText(-1);
}

void TOBLCustomEdit::DrawText(int Position)
{
    if (!HandleAllocated()) return;
    HiddenCaret hidden(Caret());
    TCanvas* canvas = DrawCanvas();
    PrepareMeasuring(canvas);
    // RowHeight measures on the control's canvas.
    PrepareMeasuring(Canvas());
    RepaintBack(PaintRect());
    DrawSpecialTextBackground(canvas, PaintRect());
    DrawLine(canvas);
    if (canvas != Canvas()) Canvas()->CopyRect(PaintRect(), canvas, PaintRect());
}

void TOBLCustomEdit::DrawLine(TCanvas* Canvas)
{
    TRect r = TextRect();
    int x1 = 0, x2 = 0;
    {
        CharacterExtra extra(Canvas->Handle(), Font3D()->Tracing());
        r.left = BaseX(Canvas) - ScrollOffset();
        if (SelectionShown()) {
            x1 = r.left + PrefixWidth(Canvas, SelStart() - 1);
            x2 = std::min(static_cast<int>(r.right), r.left + PrefixWidth(Canvas, SelStart() + SelLength() - 1));
        }
    }
    int dx = 0, dy = 0;
    DepthOffsets(dx, dy);
    // Only a line that reaches past the text rectangle's left edge (scrolled, or aligned
    // right or centred and wider than the rectangle) is cut at it; the caller's clipping
    // comes back afterwards.
    ClipRegionScope clip;
    if (ScrollOffset() != 0 || r.left < TextRect().left) clip.Select(Canvas->Handle(), TextRect());
    const TOBLDrawTextStyles styles = Enabled() ? TOBLDrawTextStyles{dtEnabled} : TOBLDrawTextStyles{dtDisabled};
    if (SelectionShown()) FillSelection(Canvas, r, x1, x2 + dx, dx, dy);
    OBLDrawTextExt(Canvas, displayText_, Font3D(), r, kLineFlags, styles, nullptr);
    if (!SelectionShown()) return;
    Canvas->Font()->SetColor(HighlightText());
    OBLDrawTextExt(Canvas, ::Copy(displayText_, SelStart(), SelLength()), Font3D(),
                   Rect(x1, r.top, x2 + dx + dy, r.bottom), kLineFlags, styles, nullptr);
    Canvas->Font()->SetColor(Font()->Color());
}

void TOBLCustomEdit::DepthOffsets(int& DX, int& DY) const
{
    const int light = Font3D()->LightDepth(), shadow = Font3D()->ShadowDepth();
    DX = DY = 0;
    switch (Font3D()->Style()) {
    case tdRaised: DX = light; break;
    case tdSunkenShadow: DX = shadow; DY = light; break;
    case tdSunken: DY = light; break;
    case tdRaisedShadow:
    case tdExtrudeEnh: DX = light; DY = shadow; break;
    case tdExtrude: DX = shadow; break;
    default: break;
    }
}

void TOBLCustomEdit::FillSelection(TCanvas* Canvas, const TRect& R, int X1, int X2, int DX, int DY)
{
    int right = X2;
    if (Font3D()->Style() == tdExtrudeEnh && ExtrudeToTheLeft(Font3D())) right += DX + DY;
    const int bottom = std::min(R.top + RowHeight(displayText_) + DX + DY, static_cast<int>(TextRect().bottom));
    Canvas->Brush()->SetColor(HighlightBack());
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Pen()->SetColor(HighlightBack());
    Canvas->Rectangle(X1 + DX, R.top, right, bottom);
}
