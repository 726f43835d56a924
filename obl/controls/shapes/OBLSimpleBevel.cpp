#include "obl/controls/shapes/OBLSimpleBevel.h"

#include <algorithm>

void TOBLSimpleBevel::SetColor(int Index, TColor Value)
{
    TColor* target = Index == 0 ? &lightColor_ : Index == 1 ? &shadowColor_ : Index == 2 ? &color_ : nullptr;
    if (target) {
        if (*target == Value)
            return;
        *target = Value;
    }
    Change();
}

void TOBLSimpleBevel::SetWidth(int Value)
{
    auto held = static_cast<TOBLBevelWidth>(std::clamp(Value, 0, 50));
    if (width_ == held)
        return;
    width_ = held;
    Change();
}

void TOBLSimpleBevel::SetStyle(TOBLSimpleBevelStyle Value)
{
    if (style_ == Value)
        return;
    style_ = Value;
    Change();
}

void TOBLSimpleBevel::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    auto* other = dynamic_cast<TOBLSimpleBevel*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    color_ = other->color_;
    width_ = other->width_;
    style_ = other->style_;
    lightColor_ = other->lightColor_;
    shadowColor_ = other->shadowColor_;
    Change();
}

AnsiString TOBLSimpleBevel::GetSetStr()
{
    static const char* const names[] = {"Normal", "Inset", "Offset"};
    return AnsiString("{") + names[static_cast<int>(style_)] + "}";
}

void TOBLSimpleBevel::Publish(TClassBuilder<TOBLSimpleBevel>& c)
{
    using C = TOBLSimpleBevel;
    c.Property("Color", &C::Color, [](C& o, TColor v) { o.SetColor(2, v); }).Default(clBlack);
    c.Property("Width", &C::Width, &C::SetWidth).Default(2);
    c.Property("Style", &C::Style, &C::SetStyle).Default(sbNormal);
    c.Property("LightColor", &C::LightColor, [](C& o, TColor v) { o.SetColor(0, v); }).Default(clBtnHighlight);
    c.Property("ShadowColor", &C::ShadowColor, [](C& o, TColor v) { o.SetColor(1, v); }).Default(clBtnShadow);
}
