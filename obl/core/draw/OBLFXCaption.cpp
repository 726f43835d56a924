#include "obl/core/draw/OBLFXCaption.h"

#include "platform/rtl/NumConv.h"

void TOBLFxCaption::SetAngle(TOBLAngle value)
{
    if (value == angle_) return;
    angle_ = value == 360 ? 0 : value;
    Change();
}

void TOBLFxCaption::SetPos(int index, std::uint16_t value)
{
    std::uint16_t& field = index == 0 ? posX_ : posY_;
    if (field == value) return;
    field = value;
    Change();
}

void TOBLFxCaption::SetPosXY(std::uint16_t x, std::uint16_t y)
{
    BeginUpdate();
    SetPos(0, x);
    SetPos(1, y);
    EndUpdate(false);
}

void TOBLFxCaption::Assign(TPersistent* source)
{
    if (source == this) return;
    if (auto* caption = dynamic_cast<TOBLFxCaption*>(source)) {
        CopyEffect(*caption);
        posX_ = caption->posX_;
        posY_ = caption->posY_;
        angle_ = caption->angle_;
        Change();
        return;
    }
    inherited::Assign(source);
}

AnsiString TOBLFxCaption::GetSetStr()
{
    AnsiString summary = inherited::GetSetStr();
    if (angle_ == 0) return summary;
    if (summary == "{Disabled}")
        summary = "{";
    else
        summary[summary.Length()] = ',';
    return summary + " rot: " + IntToStr(angle_) + "\xB0}";
}

void TOBLFxCaption::Publish(TClassBuilder<TOBLFxCaption>& c)
{
    using C = TOBLFxCaption;
    c.Property("Angle", &C::Angle, &C::SetAngle).Default(0);
    c.Property("PosX", &C::PosX, [](C& o, std::uint16_t v) { o.SetPos(0, v); }).Default(0);
    c.Property("PosY", &C::PosY, [](C& o, std::uint16_t v) { o.SetPos(1, v); }).Default(0);
}
