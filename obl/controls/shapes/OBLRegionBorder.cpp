#include "obl/controls/shapes/OBLRegionBorder.h"

void TOBLRegionBorder::SetStyle(TOBLRegionBorderStyle Value) { Store(style_, Value); }
void TOBLRegionBorder::SetLightColor(TColor Value) { Store(lightColor_, Value); }
void TOBLRegionBorder::SetShadowColor(TColor Value) { Store(shadowColor_, Value); }
void TOBLRegionBorder::SetSingleColor(TColor Value) { Store(singleColor_, Value); }

void TOBLRegionBorder::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    auto* other = dynamic_cast<TOBLRegionBorder*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    style_ = other->style_;
    lightColor_ = other->lightColor_;
    shadowColor_ = other->shadowColor_;
    singleColor_ = other->singleColor_;
    Change();
}

void TOBLRegionBorder::Publish(TClassBuilder<TOBLRegionBorder>& c)
{
    using C = TOBLRegionBorder;
    c.Property("Style", &C::Style, &C::SetStyle).Default(rbSingle);
    c.Property("LightColor", &C::LightColor, &C::SetLightColor).Default(clBtnHighlight);
    c.Property("ShadowColor", &C::ShadowColor, &C::SetShadowColor).Default(clBtnShadow);
    c.Property("SingleColor", &C::SingleColor, &C::SetSingleColor).Default(clBlack);
}
