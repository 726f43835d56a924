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
