// Unit OBLButtonLayout: a glyph/text layout centred by default, plus the drop-down arrow
// that a button can draw beside its text or glyph.
#pragma once

#include "obl/core/draw/OBLGlyphTextLayout.h"
#include "platform/classlib/Graphics.h"

class TOBLButtonLayout : public TOBLGlyphTextLayout {
    VENDARO_CLASS(TOBLButtonLayout, TOBLGlyphTextLayout)
public:
    TOBLButtonLayout() : TOBLGlyphTextLayout(agCenter) {}

    // From another button layout: all ten values with one Change at the end; from a plain
    // layout only the five layout values.
    void Assign(TPersistent* source) override;

    bool Arrow() const { return arrow_; }
    void SetArrow(bool value);
    TColor ArrowColor() const { return arrowColor_; }
    void SetArrowColor(TColor value);
    // Gap in pixels between the arrow and the text or glyph.
    int ArrowIndent() const { return arrowIndent_; }
    void SetArrowIndent(int value);
    TOBLArrowPosition ArrowPosition() const { return arrowPosition_; }
    void SetArrowPosition(TOBLArrowPosition value);
    // The triangle is 2 * ArrowSize - 1 pixels wide; the range 2..10 is the property's.
    TOBLDDArrowSize ArrowSize() const { return arrowSize_; }
    void SetArrowSize(TOBLDDArrowSize value);

    static void Publish(TClassBuilder<TOBLButtonLayout>& c);

private:
    bool arrow_ = false;
    TColor arrowColor_ = clBlack;
    int arrowIndent_ = 3;
    TOBLArrowPosition arrowPosition_ = apRightText;
    TOBLDDArrowSize arrowSize_ = 3;
};
