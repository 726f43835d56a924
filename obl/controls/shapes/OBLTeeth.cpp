#include "obl/controls/shapes/OBLTeeth.h"

#include <algorithm>

void TOBLTeeth::SetCount(int Value)
{
    auto held = static_cast<TOBLTeethCount>(std::clamp(Value, 0, 50));
    if (count_ == held)
        return;
    count_ = held;
    Change();
}

void TOBLTeeth::SetDirection(TOBLDirection Value)
{
    if (direction_ == Value)
        return;
    direction_ = Value;
    Change();
}

void TOBLTeeth::SetBoolean(int Index, bool Value)
{
    bool* target = Index == 0 ? &offset_ : Index == 1 ? &setPerCount_ : nullptr;
    if (target) {
        if (*target == Value)
            return;
        *target = Value;
    }
    Change();
}

void TOBLTeeth::SetInteger(int Index, int Value)
{
    int* target = Index == 0 ? &width_ : Index == 1 ? &height_ : nullptr;
    if (target) {
        if (*target == Value)
            return;
        *target = Value;
    }
    Change();
}

void TOBLTeeth::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    auto* other = dynamic_cast<TOBLTeeth*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    count_ = other->count_;
    direction_ = other->direction_;
    height_ = other->height_;
    offset_ = other->offset_;
    setPerCount_ = other->setPerCount_;
    width_ = other->width_;
    Change();
}

void TOBLTeeth::Publish(TClassBuilder<TOBLTeeth>& c)
{
    using C = TOBLTeeth;
    c.Property("Count", &C::Count, &C::SetCount).Default(10);
    c.Property("Direction", &C::Direction, &C::SetDirection).Default(tdRight);
    c.Property("Height", &C::Height, [](C& o, int v) { o.SetInteger(1, v); }).Default(0);
    c.Property("Offset", &C::Offset, [](C& o, bool v) { o.SetBoolean(0, v); }).Default(true);
    c.Property("SetPerCount", &C::SetPerCount, [](C& o, bool v) { o.SetBoolean(1, v); }).Default(true);
    c.Property("Width", &C::Width, [](C& o, int v) { o.SetInteger(0, v); }).Default(10);
}
