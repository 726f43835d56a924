#include "obl/controls/graphic/OBLCustomSpeedButton.h"

#include "obl/core/draw/Oblutils.h"

namespace {

// The styles whose face lets the background show: the background is painted first.
bool PaintsBackground(TOBLUserButtonStyle style)
{
    return style == ubsExplorer || style == ubsExplorerColored || style == ubsWinXP || style == ubsWinXPCombo ||
           style == ubsWinXPTool;
}

bool IsExplorer(TOBLUserButtonStyle style) { return style == ubsExplorer || style == ubsExplorerColored; }

constexpr WORD kFaceFlags = 5, kHotFlag = 0x40, kSplitFlag = 0x80, kArrowFlags = 0x180;

} // namespace

TOBLCustomSpeedButton::TOBLCustomSpeedButton(TComponent* AOwner) : TOBLBaseGraphicButton(AOwner)
{
    SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable});
    SetAllowMouseOver(true);
    SetAllowTransparency(false);
    SetBounds(Left(), Top(), 23, 22);
    SetCtlXP(true);
}

void TOBLCustomSpeedButton::SetStyle(TOBLUserButtonStyle Value)
{
    if (Value == style_)
        return;
    const bool unColored = Value == ubsFlatUnColored || Value == ubsNavigator || Value == ubsExplorer;
    GlyphObject()->SetStyle(unColored ? gsExplorer : gsStandard);
    if (IsExplorer(Value))
        SetTransparent(true);
    else if (IsExplorer(style_))
        SetTransparent(false);
    style_ = Value;
    GetChange(this);
}

void TOBLCustomSpeedButton::SetGlyphKind(TOBLGlyphKind Value)
{
    if (Value == glyphKind_)
        return;
    if (!Loading())
        SetGlyph(nullptr);
    glyphKind_ = Value;
    if (Loading())
        return;
    if (Value == gkCustom)
        TOBLBaseGraphicButton::GetIMLChange(this);
    else
        Invalidate();
}

void TOBLCustomSpeedButton::RequestDefaultGlyph()
{
    SetNumGlyphs(1);
    TBitmap picture;
    OBLGetGlyphKind(&picture, glyphKind_);
    SetGlyph(&picture);
}

void TOBLCustomSpeedButton::SetUnColorMain(bool Value)
{
    GlyphObject()->SetStyle(Value ? gsExplorer : gsStandard);
    Invalidate();
}

bool TOBLCustomSpeedButton::ControlSupportsXP() { return style_ == ubsAutoDetect || IsXPStyle(); }

void TOBLCustomSpeedButton::GetIMLChange(TObject* Sender)
{
    if (glyphKind_ == gkCustom)
        TOBLBaseGraphicButton::GetIMLChange(Sender);
}

bool TOBLCustomSpeedButton::RepaintOnMouse()
{
    return (style_ >= ubsDelphiFlat && style_ <= ubsExplorerColored) || IsXPStyle() ||
           (style_ == ubsAutoDetect && UseXP());
}

bool TOBLCustomSpeedButton::IsHotState()
{
    return GlyphObject()->Style() == gsExplorer || IsXPStyle() || (style_ == ubsAutoDetect && UseXP());
}

void TOBLCustomSpeedButton::DrawFace(TCanvas* Canvas, const TRect& Rect, TOBLButtonState State, WORD Flags)
{
    // The face routine shrinks what it is given; the caller's rectangles stay whole.
    TRect face = Rect;
    OBLDrawBtnFaceExt(Parent(), Canvas, MouseOver(), face, style_, State, Flags, Color());
}

void TOBLCustomSpeedButton::Paint()
{
    if (Loading())
        return;
    TCanvas* canvas = Canvas();
    const TOBLButtonState state = State();
    const int bevel = OBLGetButtonBevel(style_, state);
    const TRect client = ClientRect();
    if (PaintsBackground(style_) &&
        !(CheckOptimized() && BackDrawArea(canvas, client, Point(Left(), Top()), 0))) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
    }
    TRect faceRect = client;
    TRect arrowRect{};
    if (ComboArrow()) {
        arrowRect = Rect(client.right - DropDownComboWidth(), client.top, client.right, client.bottom);
        faceRect.right = arrowRect.left + (bevel > 1 ? 1 : 0);
    }
    const WORD flags = kFaceFlags | (state == bsMouseOver ? kHotFlag : 0);
    if (Designing()) {
        DrawFace(canvas, faceRect, bsMouseOver, flags);
        if (ComboArrow())
            DrawFace(canvas, arrowRect, bsMouseOver, flags | kArrowFlags);
    } else if (ComboArrow()) {
        DrawFace(canvas, faceRect, state == bsDropDownOpen ? bsMouseOver : state, flags | kSplitFlag);
        DrawFace(canvas, arrowRect, state == bsDown ? bsMouseOver : state, flags | kArrowFlags);
    } else {
        DrawFace(canvas, faceRect, state, flags);
    }
    const bool themedArrow = UseXP() && (style_ == ubsWinXPCombo || style_ == ubsWinXPTool);
    if (ComboArrow() && !themedArrow)
        OBLDrawTriangle(canvas, arrowRect.left + (DropDownComboWidth() - 3) / 2, (Height() - 3) / 2, 3, clBlack, true,
                        Enabled());
    TRect content = faceRect;
    InflateRect(&content, -bevel, -bevel);
    if (state == bsOptionSet || state == bsDown || (state == bsDropDownOpen && !ComboArrow()))
        OffsetRect(&content, 1, 1);
    if (style_ == ubsWinXPCombo && UseXP())
        return;
    DrawGlyphAndText(canvas, content);
}
