#include "obl/controls/shapes/OBLShadow.h"

#include "platform/rtl/NumConv.h"

#include <algorithm>

void TOBLShadow::SetColor(TColor Value)
{
    if (color_ == Value)
        return;
    color_ = Value;
    Change();
}

void TOBLShadow::SetDepth(int Value)
{
    auto held = static_cast<TOBLShadowDepth>(std::clamp(Value, 0, 40));
    if (depth_ == held)
        return;
    depth_ = held;
    Change();
}

void TOBLShadow::SetStyle(TOBLShadowStyle Value)
{
    if (style_ == Value)
        return;
    style_ = Value;
    Change();
}

void TOBLShadow::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    auto* other = dynamic_cast<TOBLShadow*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    color_ = other->color_;
    depth_ = other->depth_;
    style_ = other->style_;
    Change();
}

AnsiString TOBLShadow::GetSetStr()
{
    if (style_ == hssNone)
        return "{Disabled}";
    AnsiString text = style_ == hssSolid ? "solid" : "tracing";
    return "{" + text + ", " + IntToStr(depth_) + "}";
}

void TOBLShadow::Publish(TClassBuilder<TOBLShadow>& c)
{
    using C = TOBLShadow;
    c.Property("Color", &C::Color, &C::SetColor).Default(clBtnShadow);
    c.Property("Depth", &C::Depth, &C::SetDepth).Default(6);
    c.Property("Style", &C::Style, &C::SetStyle).Default(hssSolid);
}
