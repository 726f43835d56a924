#include "obl/controls/effects/OBLGradient.h"

#include "obl/core/draw/Oblutils.h"
#include "platform/rtl/NumConv.h"
#include "platform/win/gdi/Gdi.h"

#include <algorithm>
#include <vector>

namespace {

template <class T>
bool Store(T& field, T value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

void* ColorItem(TColor color) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(color)); }

const char* StyleText(TOBLGradientStyle style)
{
    switch (style) {
    case gstHorizontal: return "horizontal";
    case gstVertical: return "vertical";
    case gstSquare: return "square";
    case gstElliptic: return "elliptic";
    case gstTopLeft: return "top left";
    case gstTopRight: return "top right";
    case gstBottomLeft: return "bottom left";
    case gstBottomRight: return "bottom right";
    case gstTopLeftDiagonal: return "top left diag";
    case gstTopRightDiagonal: return "top right diag";
    }
    return "";
}

} // namespace

TOBLGradient::TOBLGradient() : colorList_(new TList), colors_(new TList) { Prepare(); }

TOBLGradient::~TOBLGradient() { DropPalette(); }

void TOBLGradient::DropPalette()
{
    // The handle goes also when the palette cannot be deleted (still selected somewhere):
    // keeping it would only leak it at the next preparation.
    if (palette_)
        DeleteObject(palette_);
    palette_ = nullptr;
}

void TOBLGradient::Prepare()
{
    DropPalette();
    colorList_->Clear();
    if (twoColors_) {
        OBLGradientCreateColorList(color_, endColor_, colorCount_, colorList_.get(), true);
    } else if (colors_->Count() >= 2) {
        int n = colors_->Count();
        // At least one colour per segment: with more user colours than steps the list
        // still paints (the first colour of each segment).
        auto steps = static_cast<std::uint8_t>(std::max(1, colorCount_ / n));
        OBLGradientCreateColorList(OBLGradientColorAt(colors_.get(), 0), OBLGradientColorAt(colors_.get(), 1), steps,
                                   colorList_.get(), true);
        for (int i = 1; i <= n - 2; ++i)
            OBLGradientCreateColorList(OBLGradientColorAt(colors_.get(), i), OBLGradientColorAt(colors_.get(), i + 1),
                                       steps, colorList_.get(), false);
    }
    if (paletteRealize_)
        palette_ = OBLGradientCreatePalette(colorList_.get());
}

void TOBLGradient::Change()
{
    Prepare();
    inherited::Change();
}

void TOBLGradient::SetColor(TColor Value)
{
    if (Store(color_, Value))
        Change();
}

void TOBLGradient::SetColorCount(TOBLColorCount Value)
{
    if (Store(colorCount_, std::clamp<TOBLColorCount>(Value, 2, 236)))
        Change();
}

void TOBLGradient::SetStyle(TOBLGradientStyle Value)
{
    if (Store(style_, Value))
        Change();
}

void TOBLGradient::SetEndColor(TColor Value)
{
    if (Store(endColor_, Value))
        Change();
}

void TOBLGradient::SetPaletteRealize(bool Value)
{
    if (Store(paletteRealize_, Value))
        Change();
}

void TOBLGradient::SetTwoColors(bool Value)
{
    if (Store(twoColors_, Value))
        Change();
}

void TOBLGradient::SetColors(TList* Value)
{
    if (!Value || Value == colors_.get())
        return;
    colors_->Clear();
    for (int i = 0; i < Value->Count(); ++i)
        colors_->Add(Value->Items(i));
    Change();
}

void TOBLGradient::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    auto* other = dynamic_cast<TOBLGradient*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    BeginUpdate();
    colorCount_ = other->colorCount_;
    color_ = other->color_;
    style_ = other->style_;
    endColor_ = other->endColor_;
    paletteRealize_ = other->paletteRealize_;
    twoColors_ = other->twoColors_;
    colors_->Clear();
    for (int i = 0; i < other->colors_->Count(); ++i)
        colors_->Add(other->colors_->Items(i));
    EndUpdate(true);
}

AnsiString TOBLGradient::GetSetStr()
{
    return AnsiString(StyleText(style_)) + ", Col: " + IntToStr(colorCount_) +
           (twoColors_ ? ", 2 col mode" : ", mult. col mode");
}

void TOBLGradient::PaintGradient(TCanvas* Canvas, const TRect& R)
{
    OBLGradientPaintExt(Canvas, R, style_, colorList_.get(), palette_, paletteRealize_ ? OBLGradPalette : 0, 0);
}

void TOBLGradient::SetRealPalette(TCanvas* Canvas)
{
    if (!paletteRealize_ || !Canvas || !palette_)
        return;
    HDC dc = Canvas->Handle();
    SelectPalette(dc, palette_, FALSE);
    RealizePalette(dc);
}

void TOBLGradient::ReadColorList(TReader* Reader)
{
    // Read whole before anything changes, so damaged text leaves the colours as they were.
    std::vector<TColor> read;
    Reader->ReadListBegin();
    while (!Reader->EndOfList())
        read.push_back(static_cast<TColor>(Reader->ReadInteger()));
    Reader->ReadListEnd();
    colors_->Clear();
    for (TColor color : read)
        colors_->Add(ColorItem(color));
    Change();
}

void TOBLGradient::WriteColorList(TWriter* Writer)
{
    Writer->WriteListBegin();
    for (int i = 0; i < colors_->Count(); ++i)
        Writer->WriteInteger(OBLGradientColorAt(colors_.get(), i));
    Writer->WriteListEnd();
}

void TOBLGradient::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        "ColorList", [this](TReader* r) { ReadColorList(r); }, [this](TWriter* w) { WriteColorList(w); },
        colors_->Count() > 0);
}

void TOBLGradient::Publish(TClassBuilder<TOBLGradient>& c)
{
    using C = TOBLGradient;
    c.Property("Color", &C::Color, &C::SetColor).Default(clBlue);
    c.Property("ColorCount", &C::ColorCount, &C::SetColorCount).Default(TOBLColorCount{16});
    c.Property("Style", &C::Style, &C::SetStyle).Default(gstVertical);
    c.Property("EndColor", &C::EndColor, &C::SetEndColor).Default(clBlack);
    c.Property("PaletteRealize", &C::PaletteRealize, &C::SetPaletteRealize).Default(false);
    c.Property("TwoColors", &C::TwoColors, &C::SetTwoColors).Default(true);
}
