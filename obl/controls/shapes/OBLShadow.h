// Unit OBLShadow: the drop shadow of a drawn shape.
#pragma once

#include "obl/core/base/OBLObject.h"
#include "obl/core/draw/Oblgraph.h"
#include "platform/classlib/Graphics.h"

#include <cstdint>

class TOBLShadow : public TOBLObject {
    VENDARO_CLASS(TOBLShadow, TOBLObject)
public:
    TOBLShadow() = default;

    // From another shadow every value with one notification; from itself nothing.
    void Assign(TPersistent* Source) override;
    // "{solid, 6}", "{tracing, 6}" or "{Disabled}".
    AnsiString GetSetStr() override;

    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    TOBLShadowDepth Depth() const { return depth_; }
    // Values above 40 are held at 40.
    void SetDepth(int Value);
    TOBLShadowStyle Style() const { return style_; }
    void SetStyle(TOBLShadowStyle Value);

    static void Publish(TClassBuilder<TOBLShadow>& c);

protected:
    TColor color_ = clBtnShadow;
    TOBLShadowDepth depth_ = 6;
    TOBLShadowStyle style_ = hssSolid;
};
