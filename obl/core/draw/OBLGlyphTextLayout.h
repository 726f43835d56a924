// Unit OBLGlyphTextLayout: where a control's glyph/text block sits in its drawing
// rectangle and where the text stands relative to the glyph.
#pragma once

#include "obl/core/base/OBLObject.h"
#include "obl/core/draw/Oblgraph.h"

class TOBLGlyphTextLayout : public TOBLObject {
    VENDARO_CLASS(TOBLGlyphTextLayout, TOBLObject)
public:
    TOBLGlyphTextLayout() = default;

    // Copies the five layout values from another layout, with one Change.
    void Assign(TPersistent* source) override;

    TOBLAlignment Alignment() const { return alignment_; }
    void SetAlignment(TOBLAlignment value);
    TOBLTextArrange AlignText2Glyph() const { return alignText2Glyph_; }
    void SetAlignText2Glyph(TOBLTextArrange value);
    // Shift in pixels of text and glyph after alignment.
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    // Index 0 sets OffsetX, 1 OffsetY. Offsets and Spacing outside the coordinate space
    // (MinCoordinate .. MaxCoordinate) are dropped.
    void SetOffset(int index, int value);
    // Gap in pixels between glyph and text.
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);

    static void Publish(TClassBuilder<TOBLGlyphTextLayout>& c);

protected:
    explicit TOBLGlyphTextLayout(TOBLAlignment alignment) : alignment_(alignment) {}

private:
    TOBLTextArrange alignText2Glyph_ = taRight;
    int offsetX_ = 0;
    int offsetY_ = 0;
    int spacing_ = 2;
    TOBLAlignment alignment_ = agTopLeft;
};
