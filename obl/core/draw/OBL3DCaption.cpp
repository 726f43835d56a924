#include "obl/core/draw/OBL3DCaption.h"

namespace {

template <class T>
bool Store(T& field, T value)
{
    if (field == value) return false;
    field = value;
    return true;
}

const char* EffectWord(TOBLThreeDStyle style)
{
    switch (style) {
    case tdNone: return "Disabled";
    case tdSunken: return "sunken";
    case tdRaised: return "raised";
    case tdSunkenShadow: return "sunken shadow";
    case tdRaisedShadow: return "raised shadow";
    case tdPColorSunken: return "PColor sunken";
    case tdShadow: return "shadow";
    case tdOutline: return "outline";
    case tdExtrude: return "extrude";
    case tdExtrudeEnh: return "extrude enh";
    default: return "";  // tdPColorRaised has no word of its own
    }
}

} // namespace

void TOBL3DCaption::SetDisabledStyle(TOBLDisabledStyle value)
{
    if (Store(disabledStyle_, value)) Change();
}

void TOBL3DCaption::SetDepth(int index, std::uint8_t value)
{
    if (Store(index == 0 ? lightDepth_ : shadowDepth_, value)) Change();
}

void TOBL3DCaption::SetColor(int index, TColor value)
{
    if (Store(index == 0 ? lightColor_ : shadowColor_, value)) Change();
}

void TOBL3DCaption::SetStyle(TOBLThreeDStyle value)
{
    if (Store(style_, value)) Change();
}

void TOBL3DCaption::SetOrientation(TOBLThreeDOrientation value)
{
    if (Store(orientation_, value)) Change();
}

void TOBL3DCaption::SetTracing(int value)
{
    if (value >= kMinTracing && value <= kMaxTracing && Store(tracing_, value)) Change();
}

void TOBL3DCaption::CopyEffect(const TOBL3DCaption& source)
{
    disabledStyle_ = source.disabledStyle_;
    lightDepth_ = source.lightDepth_;
    shadowDepth_ = source.shadowDepth_;
    lightColor_ = source.lightColor_;
    shadowColor_ = source.shadowColor_;
    style_ = source.style_;
    tracing_ = source.tracing_;
}

void TOBL3DCaption::Assign(TPersistent* source)
{
    if (source == this) return;
    if (auto* caption = dynamic_cast<TOBL3DCaption*>(source)) {
        CopyEffect(*caption);
        Change();
        return;
    }
    inherited::Assign(source);
}

AnsiString TOBL3DCaption::GetSetStr()
{
    return AnsiString("{") + EffectWord(style_) + "}";
}

void TOBL3DCaption::Publish(TClassBuilder<TOBL3DCaption>& c)
{
    using C = TOBL3DCaption;
    c.Property("DisabledStyle", &C::DisabledStyle, &C::SetDisabledStyle).Default(dsAuto);
    c.Property("LightDepth", &C::LightDepth, [](C& o, std::uint8_t v) { o.SetDepth(0, v); }).Default(1);
    c.Property("ShadowDepth", &C::ShadowDepth, [](C& o, std::uint8_t v) { o.SetDepth(1, v); }).Default(1);
    c.Property("LightColor", &C::LightColor, [](C& o, TColor v) { o.SetColor(0, v); }).Default(clBtnHighlight);
    c.Property("Orientation", &C::Orientation, &C::SetOrientation).Default(toTopLeft);
    c.Property("ShadowColor", &C::ShadowColor, [](C& o, TColor v) { o.SetColor(1, v); }).Default(clBtnShadow);
    c.Property("Style", &C::Style, &C::SetStyle).Default(tdNone);
    c.Property("Tracing", &C::Tracing, &C::SetTracing).Default(0).ReadRange(kMinTracing, kMaxTracing);
}
