#include "obl/controls/shapes/OBLShape.h"

#include <algorithm>

TOBLShape::TOBLShape() : bevel_(new TOBLSimpleBevel), brush_(new TBrush), shadow_(new TOBLShadow)
{
    TNotifyEvent change(static_cast<TOBLObject*>(this), &TOBLObject::GetChange);
    bevel_->SetOnChange(change);
    brush_->SetOnChange(change);
    shadow_->SetOnChange(change);
}

TOBLShape::~TOBLShape()
{
    bevel_->SetOnChange(TNotifyEvent());
    brush_->SetOnChange(TNotifyEvent());
    shadow_->SetOnChange(TNotifyEvent());
}

void TOBLShape::SetBevel(TOBLSimpleBevel* Value)
{
    if (Value)
        bevel_->Assign(Value);
}

void TOBLShape::SetBrush(TBrush* Value)
{
    if (Value)
        brush_->Assign(Value);
}

void TOBLShape::SetShadow(TOBLShadow* Value)
{
    if (Value)
        shadow_->Assign(Value);
}

void TOBLShape::SetRoundPercent(int Value)
{
    auto held = static_cast<TOBLPercent>(std::clamp(Value, 0, 100));
    if (roundPercent_ == held)
        return;
    roundPercent_ = held;
    Change();
}

void TOBLShape::SetShape(TOBLShapeType Value)
{
    if (shape_ == Value)
        return;
    shape_ = Value;
    Change();
}

void TOBLShape::SetSquare(bool Value)
{
    if (square_ == Value)
        return;
    square_ = Value;
    Change();
}

void TOBLShape::Publish(TClassBuilder<TOBLShape>& c)
{
    using C = TOBLShape;
    c.Property("Bevel", &C::Bevel, &C::SetBevel);
    c.Property("Brush", &C::Brush, &C::SetBrush);
    c.Property("RoundPercent", &C::RoundPercent, &C::SetRoundPercent).Default(33);
    c.Property("Shadow", &C::Shadow, &C::SetShadow);
    c.Property("Shape", &C::Shape, &C::SetShape).Default(stRectangle);
    c.Property("Square", &C::Square, &C::SetSquare).Default(false);
}
