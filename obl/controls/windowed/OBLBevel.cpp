#include "obl/controls/windowed/OBLBevel.h"

#include "obl/core/draw/Oblutils.h"
#include "platform/win/gdi/Gdi.h"

namespace {

bool IsFramed(TOBLBevelStyle style) { return style == bvFrameLowered || style == bvFrameRaised; }

UINT EdgeOf(TOBLEdgeStyle style)
{
    static const UINT edges[] = {BDR_RAISEDINNER, BDR_RAISEDOUTER, BDR_SUNKENINNER, BDR_SUNKENOUTER,
                                 EDGE_BUMP,       EDGE_ETCHED,     EDGE_RAISED,     EDGE_SUNKEN};
    return edges[static_cast<int>(style)];
}

UINT SideFlagsOf(TOBLFrameSides sides)
{
    UINT flags = 0;
    if (sides.Contains(fsBottom)) flags |= BF_BOTTOM;
    if (sides.Contains(fsTop)) flags |= BF_TOP;
    if (sides.Contains(fsRight)) flags |= BF_RIGHT;
    if (sides.Contains(fsLeft)) flags |= BF_LEFT;
    return flags;
}

} // namespace

void TOBLBevel::Publish(TClassBuilder<TOBLBevel>& c)
{
    using C = TOBLBevel;
    c.Property("StyleInner", &C::StyleInner, &C::SetBevelStyleInner).Default(bvNone);
    c.Property("StyleOuter", &C::StyleOuter, &C::SetBevelStyleOuter).Default(bvNone);
    c.Property("WidthInner", &C::WidthInner, &C::SetBevelWidthInner).Default(TOBLBevelWidth{1});
    c.Property("WidthOuter", &C::WidthOuter, &C::SetBevelWidthOuter).Default(TOBLBevelWidth{1});
    c.Property("BorderColor", &C::BorderColor, [](C& o, TColor v) { o.SetColor(0, v); }).Default(clBtnFace);
    c.Property("BorderSides", &C::BorderSides, &C::SetBorderSides)
        .Default(TOBLFrameSides{fsBottom, fsLeft, fsRight, fsTop});
    c.Property("BorderWidth", &C::BorderWidth, &C::SetBorderWidth).Default(TOBLBorderWidth{0});
    c.Property("BorderInnerWidth", &C::BorderInnerWidth, &C::SetBorderSpace).Default(TOBLBorderWidth{0});
    c.Property("EdgeStyle", &C::EdgeStyle, &C::SetEdgeStyle).Default(etEtched);
    c.Property("LightColor", &C::LightColor, [](C& o, TColor v) { o.SetColor(1, v); }).Default(clBtnHighlight);
    c.Property("Mode", &C::Mode, &C::SetMode).NoDefault();
    c.Property("ShadowColor", &C::ShadowColor, [](C& o, TColor v) { o.SetColor(2, v); }).Default(clBtnShadow);
    c.Property("StandardStyle", &C::StandardStyle, &C::SetStyle).Default(lsSingleLowered);
}

void TOBLBevel::Assign(TPersistent* Source)
{
    if (Source == this) return;
    auto* other = dynamic_cast<TOBLBevel*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    styleInner_ = other->styleInner_;
    styleOuter_ = other->styleOuter_;
    widthInner_ = other->widthInner_;
    widthOuter_ = other->widthOuter_;
    borderColor_ = other->borderColor_;
    borderSides_ = other->borderSides_;
    borderWidth_ = other->borderWidth_;
    borderInnerWidth_ = other->borderInnerWidth_;
    edgeStyle_ = other->edgeStyle_;
    lightColor_ = other->lightColor_;
    NoteModeSwitch(other->mode_);
    mode_ = other->mode_;
    shadowColor_ = other->shadowColor_;
    standardStyle_ = other->standardStyle_;
    Change();
}

void TOBLBevel::Change()
{
    ext_ = GetBevelExtend();
    extRightBottom_ = IsShadow() ? widthInner_ + widthOuter_ + borderInnerWidth_ : ext_;
    inherited::Change();
}

AnsiString TOBLBevel::GetSetStr()
{
    static const char* const names[] = {"Custom style", "Standard style", "Edged style", "Windows style"};
    return AnsiString("{") + names[static_cast<int>(mode_)] + "}";
}

int TOBLBevel::GetBevelExtend() const
{
    switch (mode_) {
    case bmCustom: {
        if (styleInner_ == bvShadow) return widthInner_ + borderInnerWidth_;
        int ext = borderWidth_ + borderInnerWidth_;
        if (styleInner_ == bvNone && styleOuter_ == bvNone) return ext;
        if (styleOuter_ != bvNone) ext += widthOuter_ + (IsFramed(styleOuter_) ? 1 : 0);
        if (styleInner_ != bvNone) ext += widthInner_ + (IsFramed(styleInner_) ? 1 : 0);
        return ext;
    }
    case bmStandard: return OBLDrawStdFrameExt(standardStyle_) + borderInnerWidth_;
    case bmEdge: return (borderSides_.Empty() ? 0 : 2) + borderInnerWidth_;
    case bmWindows: return windowsSupport_ ? 0 : borderInnerWidth_ + 2;
    }
    return 0;
}

bool TOBLBevel::GetRecreateWnd()
{
    // Only a switch of kind asks for a new window; the kind itself does not, or every
    // change of a Windows-style bevel would recreate the owner's window again.
    const bool pending = recreatePending_;
    recreatePending_ = false;
    return pending;
}

TRect TOBLBevel::ClientRect(const TRect& R) const
{
    TRect r = R;
    if (!IsShadow()) {
        InflateRect(&r, -ext_, -ext_);
        return r;
    }
    const int topLeft = widthInner_ + borderInnerWidth_;
    const int rightBottom = widthInner_ + widthOuter_ + borderInnerWidth_;
    return Rect(r.left + topLeft, r.top + topLeft, r.right - rightBottom, r.bottom - rightBottom);
}

TRect TOBLBevel::PaintBevel(TCanvas* Canvas, const TRect& R, bool Transparent)
{
    TRect r = R;
    // A shadow without a frame takes pixels only at the right and bottom: it is painted.
    if (ext_ == 0 && extRightBottom_ == 0) return r;
    switch (mode_) {
    case bmCustom: PaintCustom(Canvas, r, Transparent); break;
    case bmStandard: OBLDrawStdFrame(Canvas, r, standardStyle_, 0); break;
    case bmEdge: PaintEdge(Canvas, r); break;
    case bmWindows:
        if (windowsSupport_) return r;
        OBLDrawStdFrame(Canvas, r, lsLoweredExt, 0);
        break;
    }
    PaintFlatBorder(Canvas, r, borderInnerWidth_, Transparent);
    return r;
}

void TOBLBevel::PaintCustom(TCanvas* Canvas, TRect& R, bool Transparent)
{
    if (styleOuter_ == bvShadow) {
        OBLDrawFrameShadow(Canvas, R, lightColor_, shadowColor_, borderColor_, widthOuter_, widthInner_, Transparent,
                           0);
        return;
    }
    OBLDrawFrame3D(Canvas, R, styleOuter_, lightColor_, shadowColor_, widthOuter_);
    PaintFlatBorder(Canvas, R, borderWidth_, Transparent);
    OBLDrawFrame3D(Canvas, R, styleInner_, lightColor_, shadowColor_, widthInner_);
}

void TOBLBevel::PaintEdge(TCanvas* Canvas, TRect& R)
{
    if (borderSides_.Empty()) return;
    RECT edge = R;
    DrawEdge(Canvas->Handle(), &edge, EdgeOf(edgeStyle_), SideFlagsOf(borderSides_));
    // The inside is the same whichever sides were drawn.
    InflateRect(&R, -2, -2);
}

void TOBLBevel::PaintFlatBorder(TCanvas* Canvas, TRect& R, int Width, bool Transparent)
{
    if (Transparent) {
        InflateRect(&R, -Width, -Width);
        return;
    }
    Canvas->Brush()->SetColor(borderColor_);
    for (int i = 0; i < Width; ++i) {
        Canvas->FrameRect(R);
        InflateRect(&R, -1, -1);
    }
}

void TOBLBevel::SetBevelStyleInner(TOBLBevelStyle Value)
{
    if (styleInner_ == Value) return;
    if (styleInner_ == bvShadow) styleOuter_ = bvNone;
    styleInner_ = Value;
    if (Value == bvShadow) styleOuter_ = bvShadow;
    Change();
}

void TOBLBevel::SetBevelStyleOuter(TOBLBevelStyle Value)
{
    if (styleOuter_ == Value) return;
    if (styleOuter_ == bvShadow) styleInner_ = bvNone;
    styleOuter_ = Value;
    if (Value == bvShadow) styleInner_ = bvShadow;
    Change();
}

void TOBLBevel::SetColor(int Index, TColor Value)
{
    TColor* target = Index == 0 ? &borderColor_ : Index == 1 ? &lightColor_ : Index == 2 ? &shadowColor_ : nullptr;
    if (!target) {
        Change();
        return;
    }
    Store(*target, Value);
}

void TOBLBevel::NoteModeSwitch(TOBLBevelMode Value)
{
    if (windowsSupport_ && Value != mode_ && (mode_ == bmWindows || Value == bmWindows)) recreatePending_ = true;
}

void TOBLBevel::SetMode(TOBLBevelMode Value)
{
    if (mode_ == Value) return;
    NoteModeSwitch(Value);
    mode_ = Value;
    Change();
}

void TOBLBevel::SetStyle(TOBLBorderStyle Value)
{
    if (standardStyle_ == Value) return;
    standardStyle_ = Value;
    if (mode_ == bmStandard) Change();
}
