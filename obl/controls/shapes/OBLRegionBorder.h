// The border painted along a window region: its style and three colours.
#pragma once

#include "obl/controls/shapes/oblregion.h"
#include "obl/core/base/OBLObject.h"

VENDARO_ENUM_NAMES(TOBLRegionBorderStyle, rbNone, rbLowered, rbRaised, rbSingle, rbSingleRaised, rbSingleLowered,
                   rbRaisedpsb, rbLoweredpsb)

class TOBLRegionBorder : public TOBLObject {
    VENDARO_CLASS(TOBLRegionBorder, TOBLObject)
public:
    TOBLRegionBorder() = default;

    // From another border the four values with one notification.
    void Assign(TPersistent* Source) override;

    TOBLRegionBorderStyle Style() const { return style_; }
    void SetStyle(TOBLRegionBorderStyle Value);
    TColor LightColor() const { return lightColor_; }
    void SetLightColor(TColor Value);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor Value);
    TColor SingleColor() const { return singleColor_; }
    void SetSingleColor(TColor Value);

    static void Publish(TClassBuilder<TOBLRegionBorder>& c);

private:
    template <typename T> void Store(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        Change();
    }

    TOBLRegionBorderStyle style_ = rbSingle;
    TColor lightColor_ = clBtnHighlight;
    TColor shadowColor_ = clBtnShadow;
    TColor singleColor_ = clBlack;
};
