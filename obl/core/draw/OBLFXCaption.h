// Unit OBLFXCaption: a 3D caption that can also be rotated. The text routines compute the
// origin of rotated text and write it back into PosX/PosY.
#pragma once

#include "obl/core/draw/OBL3DCaption.h"

class TOBLFxCaption : public TOBL3DCaption {
    VENDARO_CLASS(TOBLFxCaption, TOBL3DCaption)
public:
    TOBLFxCaption() = default;

    // From another Fx caption also copies angle and origin; from a plain 3D caption only
    // the effect.
    void Assign(TPersistent* source) override;
    // The effect summary with the rotation added, "{sunken, rot: 45°}".
    AnsiString GetSetStr() override;

    // Degrees counter-clockwise; 360 is kept as 0.
    TOBLAngle Angle() const { return angle_; }
    void SetAngle(TOBLAngle value);
    std::uint16_t PosX() const { return posX_; }
    std::uint16_t PosY() const { return posY_; }
    // Index 0 sets PosX, 1 PosY.
    void SetPos(int index, std::uint16_t value);
    // Sets the origin without notifying anyone: the text routines call it while measuring.
    void SetPosXY(std::uint16_t x, std::uint16_t y);

    static void Publish(TClassBuilder<TOBLFxCaption>& c);

private:
    TOBLAngle angle_ = 0;
    std::uint16_t posX_ = 0;
    std::uint16_t posY_ = 0;
};
