// Unit OBLTeeth: the serrated edge of a toothed rectangle.
#pragma once

#include "obl/core/base/OBLObject.h"
#include "obl/core/draw/Oblgraph.h"

#include <cstdint>

using TOBLTeethCount = std::uint8_t; // 0..50

class TOBLTeeth : public TOBLObject {
    VENDARO_CLASS(TOBLTeeth, TOBLObject)
public:
    TOBLTeeth() = default;

    void Assign(TPersistent* Source) override;

    TOBLTeethCount Count() const { return count_; }
    // Values above 50 are held at 50.
    void SetCount(int Value);
    TOBLDirection Direction() const { return direction_; }
    void SetDirection(TOBLDirection Value);
    // Index 0 Offset, 1 SetPerCount; another index only notifies.
    void SetBoolean(int Index, bool Value);
    bool Offset() const { return offset_; }
    bool SetPerCount() const { return setPerCount_; }
    // Index 0 Width, 1 Height; another index only notifies.
    void SetInteger(int Index, int Value);
    int Width() const { return width_; }
    int Height() const { return height_; }

    static void Publish(TClassBuilder<TOBLTeeth>& c);

private:
    TOBLTeethCount count_ = 10;
    TOBLDirection direction_ = tdRight;
    int height_ = 0;
    bool offset_ = true;
    bool setPerCount_ = true;
    int width_ = 10;
};
