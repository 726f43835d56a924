// Unit OBLShape: the settings of a drawn shape, owning its shadow, bevel and brush.
// It has no Assign of its own: assigning to it is the class library's error.
#pragma once

#include "obl/controls/shapes/OBLShadow.h"
#include "obl/controls/shapes/OBLSimpleBevel.h"

VENDARO_ENUM(TOBLShapeType, stEllipse, stRectangle, stRoundRect, stDirectUp, stDirectRight, stDirectDown,
             stDirectLeft, stDiamond, stComb, stOctagon, stStar)

class TOBLShape : public TOBLObject {
    VENDARO_CLASS(TOBLShape, TOBLObject)
public:
    TOBLShape();
    ~TOBLShape() override;

    TOBLSimpleBevel* Bevel() const { return bevel_.get(); }
    TBrush* Brush() const { return brush_.get(); }
    TOBLShadow* Shadow() const { return shadow_.get(); }
    // The object setters copy the given values into the owned objects.
    void SetBevel(TOBLSimpleBevel* Value);
    void SetBrush(TBrush* Value);
    void SetShadow(TOBLShadow* Value);

    TOBLPercent RoundPercent() const { return roundPercent_; }
    // Values above 100 are held at 100.
    void SetRoundPercent(int Value);
    TOBLShapeType Shape() const { return shape_; }
    void SetShape(TOBLShapeType Value);
    bool Square() const { return square_; }
    void SetSquare(bool Value);

    static void Publish(TClassBuilder<TOBLShape>& c);

private:
    TOwned<TOBLSimpleBevel> bevel_;
    TOwned<TBrush> brush_;
    TOBLPercent roundPercent_ = 33;
    TOwned<TOBLShadow> shadow_;
    TOBLShapeType shape_ = stRectangle;
    bool square_ = false;
};
