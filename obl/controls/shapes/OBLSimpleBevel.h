// Unit OBLSimpleBevel: the two-colour border of a drawn shape.
#pragma once

#include "obl/core/base/OBLObject.h"
#include "obl/core/draw/Oblgraph.h"
#include "platform/classlib/Graphics.h"

#include <cstdint>

VENDARO_ENUM(TOBLSimpleBevelStyle, sbNormal, sbInset, sbOffset)

class TOBLSimpleBevel : public TOBLObject {
    VENDARO_CLASS(TOBLSimpleBevel, TOBLObject)
public:
    TOBLSimpleBevel() = default;

    void Assign(TPersistent* Source) override;
    // "{Normal}", "{Inset}" or "{Offset}".
    AnsiString GetSetStr() override;

    // Index 0 LightColor, 1 ShadowColor, 2 Color; another index only notifies.
    void SetColor(int Index, TColor Value);
    TColor Color() const { return color_; }
    TColor LightColor() const { return lightColor_; }
    TColor ShadowColor() const { return shadowColor_; }
    TOBLBevelWidth Width() const { return width_; }
    // Values above 50 are held at 50.
    void SetWidth(int Value);
    TOBLSimpleBevelStyle Style() const { return style_; }
    void SetStyle(TOBLSimpleBevelStyle Value);

    static void Publish(TClassBuilder<TOBLSimpleBevel>& c);

private:
    TColor color_ = clBlack;
    TOBLBevelWidth width_ = 2;
    TOBLSimpleBevelStyle style_ = sbNormal;
    TColor lightColor_ = clBtnHighlight;
    TColor shadowColor_ = clBtnShadow;
};
