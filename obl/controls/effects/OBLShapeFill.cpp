#include "obl/controls/effects/OBLShapeFill.h"

TOBLShapeFill::TOBLShapeFill() : bitmap_(new TBitmap), listBitmap_(new TBitmap), gradient_(new TOBLGradient)
{
    bitmap_->SetOnChange(TNotifyEvent(static_cast<TOBLObject*>(this), &TOBLObject::GetChange));
    gradient_->SetOnChange(TNotifyEvent(static_cast<TOBLObject*>(this), &TOBLObject::GetChange));
}

TOBLShapeFill::~TOBLShapeFill()
{
    bitmap_->SetOnChange(TNotifyEvent());
    gradient_->SetOnChange(TNotifyEvent());
}

void TOBLShapeFill::SetBitmap(TBitmap* Value) { bitmap_->Assign(Value); }

void TOBLShapeFill::SetGradient(TOBLGradient* Value)
{
    if (Value)
        gradient_->Assign(Value);
}

void TOBLShapeFill::SetListBitmap(TBitmap* Value) { listBitmap_->Assign(Value); }

void TOBLShapeFill::SetFillStyle(TOBLFillStyle Value)
{
    if (style_ == Value)
        return;
    style_ = Value;
    Change();
}

void TOBLShapeFill::SetTileMode(TOBLTileMode Value)
{
    if (tileMode_ == Value)
        return;
    tileMode_ = Value;
    Change();
}

TBitmap* TOBLShapeFill::GetBitmap() const
{
    switch (style_) {
    case sfBitmap: return bitmap_.get();
    case sfBitmapList: return listBitmap_.get();
    default: return nullptr;
    }
}

bool TOBLShapeFill::GetEmpty() const
{
    switch (style_) {
    case sfNone: return true;
    case sfBitmap:
    case sfBitmapList: return GetBitmap()->Empty();
    default: return false;
    }
}

bool TOBLShapeFill::GetMustRedraw() const
{
    switch (style_) {
    case sfBrushBitmap:
    case sfBrush: return false;
    case sfBitmap:
    case sfBitmapList: return tileMode_ != tmTile;
    default: return true;
    }
}

HPALETTE TOBLShapeFill::GetPalette() const
{
    switch (style_) {
    case sfBrushBitmap:
    case sfBitmap: return bitmap_->Palette();
    case sfBitmapList: return listBitmap_->Palette();
    case sfGradient: return gradient_->GetPalette();
    default: return nullptr;
    }
}

void TOBLShapeFill::CopyShapeFill(const TOBLShapeFill& source)
{
    bitmap_->Assign(source.bitmap_.get());
    listBitmap_->Assign(source.listBitmap_.get());
    gradient_->Assign(source.gradient_.get());
    style_ = source.style_;
    tileMode_ = source.tileMode_;
}

void TOBLShapeFill::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    auto* other = dynamic_cast<TOBLShapeFill*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    BeginUpdate();
    CopyShapeFill(*other);
    EndUpdate(true);
}

AnsiString TOBLShapeFill::GetSetStr()
{
    const char* text = "";
    switch (style_) {
    case sfNone: text = "Disabled"; break;
    case sfBrush: text = "Brush"; break;
    case sfBitmap: text = "Bitmap"; break;
    case sfBitmapList: text = "BitmapList"; break;
    case sfGradient: text = "Gradient"; break;
    case sfBrushBitmap: break;
    }
    return AnsiString("{") + text + "}";
}

void TOBLShapeFill::Publish(TClassBuilder<TOBLShapeFill>& c)
{
    using C = TOBLShapeFill;
    c.Property("Bitmap", &C::Bitmap, &C::SetBitmap);
    c.Property("Style", &C::Style, &C::SetFillStyle).NoDefault().Stored(&C::IsStyleStored);
    c.Property("Gradient", &C::Gradient, &C::SetGradient);
    c.Property("TileMode", &C::TileMode, &C::SetTileMode).Default(tmTile);
}
