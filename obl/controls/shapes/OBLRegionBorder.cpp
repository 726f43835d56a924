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
