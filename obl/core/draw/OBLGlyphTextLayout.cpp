#include "obl/core/draw/OBLGlyphTextLayout.h"

#include "platform/classlib/Graphics.h"

void TOBLGlyphTextLayout::SetAlignment(TOBLAlignment value)
{
    if (alignment_ == value) return;
    alignment_ = value;
    Change();
}

void TOBLGlyphTextLayout::SetAlignText2Glyph(TOBLTextArrange value)
{
    if (alignText2Glyph_ == value) return;
    alignText2Glyph_ = value;
    Change();
}

void TOBLGlyphTextLayout::SetOffset(int index, int value)
{
    int& field = index == 0 ? offsetX_ : offsetY_;
    if (field == value || !IsCoordinate(value)) return;
    field = value;
    Change();
}

void TOBLGlyphTextLayout::SetSpacing(int value)
{
    if (spacing_ == value || !IsCoordinate(value)) return;
    spacing_ = value;
    Change();
}

void TOBLGlyphTextLayout::Assign(TPersistent* source)
{
    if (source == this) return;
    if (auto* layout = dynamic_cast<TOBLGlyphTextLayout*>(source)) {
        alignText2Glyph_ = layout->alignText2Glyph_;
        offsetX_ = layout->offsetX_;
        offsetY_ = layout->offsetY_;
        spacing_ = layout->spacing_;
        alignment_ = layout->alignment_;
        Change();
        return;
    }
    inherited::Assign(source);
}

void TOBLGlyphTextLayout::Publish(TClassBuilder<TOBLGlyphTextLayout>& c)
{
    using C = TOBLGlyphTextLayout;
    // A plain layout's Alignment has no stored default, so it is always written; the button
    // layout, which starts centred, redeclares it with agCenter.
    c.Property("Alignment", &C::Alignment, &C::SetAlignment).NoDefault();
    c.Property("AlignText2Glyph", &C::AlignText2Glyph, &C::SetAlignText2Glyph).Default(taRight);
    // Distances beyond the coordinate space are dropped by the setters and refused by the reader.
    c.Property("OffsetX", &C::OffsetX, [](C& o, int v) { o.SetOffset(0, v); })
        .Default(0)
        .ReadRange(MinCoordinate, MaxCoordinate);
    c.Property("OffsetY", &C::OffsetY, [](C& o, int v) { o.SetOffset(1, v); })
        .Default(0)
        .ReadRange(MinCoordinate, MaxCoordinate);
    c.Property("Spacing", &C::Spacing, &C::SetSpacing).Default(2).ReadRange(MinCoordinate, MaxCoordinate);
}
