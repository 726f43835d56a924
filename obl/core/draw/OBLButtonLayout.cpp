#include "obl/core/draw/OBLButtonLayout.h"

namespace {

template <class T>
bool Store(T& field, T value)
{
    if (field == value) return false;
    field = value;
    return true;
}

} // namespace

void TOBLButtonLayout::SetArrow(bool value)
{
    if (Store(arrow_, value)) Change();
}

void TOBLButtonLayout::SetArrowColor(TColor value)
{
    if (Store(arrowColor_, value)) Change();
}

void TOBLButtonLayout::SetArrowIndent(int value)
{
    if (IsCoordinate(value) && Store(arrowIndent_, value)) Change();
}

void TOBLButtonLayout::SetArrowPosition(TOBLArrowPosition value)
{
    if (Store(arrowPosition_, value)) Change();
}

void TOBLButtonLayout::SetArrowSize(TOBLDDArrowSize value)
{
    if (Store(arrowSize_, value)) Change();
}

void TOBLButtonLayout::Assign(TPersistent* source)
{
    if (source == this) return;
    auto* layout = dynamic_cast<TOBLButtonLayout*>(source);
    if (layout == nullptr) {
        inherited::Assign(source);
        return;
    }
    BeginUpdate();
    SetAlignment(layout->Alignment());
    SetAlignText2Glyph(layout->AlignText2Glyph());
    SetOffset(0, layout->OffsetX());
    SetOffset(1, layout->OffsetY());
    SetSpacing(layout->Spacing());
    arrow_ = layout->arrow_;
    arrowIndent_ = layout->arrowIndent_;
    arrowPosition_ = layout->arrowPosition_;
    arrowColor_ = layout->arrowColor_;
    arrowSize_ = layout->arrowSize_;
    EndUpdate(true);
}

void TOBLButtonLayout::Publish(TClassBuilder<TOBLButtonLayout>& c)
{
    using C = TOBLButtonLayout;
    // Centred is this layout's default: a centred button layout writes no Alignment.
    c.Redeclare("Alignment").Default(agCenter);
    c.Property("Arrow", &C::Arrow, &C::SetArrow).Default(false);
    c.Property("ArrowColor", &C::ArrowColor, &C::SetArrowColor).Default(clBlack);
    c.Property("ArrowIndent", &C::ArrowIndent, &C::SetArrowIndent).Default(3).ReadRange(MinCoordinate, MaxCoordinate);
    c.Property("ArrowPosition", &C::ArrowPosition, &C::SetArrowPosition).Default(apRightText);
    c.Property("ArrowSize", &C::ArrowSize, &C::SetArrowSize).Default(3);
}
