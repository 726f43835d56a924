#include "obl/controls/effects/OBLBitmapEffectObject.h"

#include "obl/controls/effects/OBLBitmapPiece.h"

#include <algorithm>
#include <memory>

namespace {

// The pixel routines work on 24-bit images only; anything else (a monochrome picture
// above all) is converted first.
void Make24(TBitmap* bitmap)
{
    if (bitmap->PixelFormat() != pf24bit)
        bitmap->SetPixelFormat(pf24bit);
}

TRect Whole(TBitmap* bitmap) { return Rect(0, 0, bitmap->Width(), bitmap->Height()); }

// The rectangle cut to the bitmap.
TRect CutTo(TBitmap* bitmap, const TRect& r)
{
    return Rect(std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, bitmap->Width()),
                std::min(r.bottom, bitmap->Height()));
}

bool Empty(const TRect& r) { return r.right <= r.left || r.bottom <= r.top; }

} // namespace

TOBLBitmapEffectObject::TOBLBitmapEffectObject() : alphaBlend_(new TOBLAlphaObject)
{
    alphaBlend_->SetOnChange(TNotifyEvent(static_cast<TOBLObject*>(this), &TOBLObject::GetChange));
}

TOBLBitmapEffectObject::~TOBLBitmapEffectObject()
{
    buffer_.reset();
    alphaBlend_->SetOnChange(TNotifyEvent());
}

void TOBLBitmapEffectObject::Change()
{
    DestroyBuffer();
    inherited::Change();
}

void TOBLBitmapEffectObject::SetAlphaBlend(TOBLAlphaObject* Value)
{
    if (Value)
        alphaBlend_->Assign(Value);
}

bool TOBLBitmapEffectObject::GetBool(int Index) const
{
    switch (Index) {
    case 0: return flipVertical_;
    case 1: return flipHorizontal_;
    case 2: return grayScale_;
    case 3: return invert_;
    case 4: return buffered_;
    case 5: return monochrome_;
    default: return false;
    }
}

void TOBLBitmapEffectObject::SetBool(int Index, bool Value)
{
    bool* field = nullptr;
    switch (Index) {
    case 0: field = &flipVertical_; break;
    case 1: field = &flipHorizontal_; break;
    case 2: field = &grayScale_; break;
    case 3: field = &invert_; break;
    case 4: field = &buffered_; break;
    case 5: field = &monochrome_; break;
    default: return;
    }
    if (*field == Value)
        return;
    *field = Value;
    if (Index == 4) {
        bufferValid_ = false;
        if (Value)
            buffer_.reset(new TBitmap);
        else
            buffer_.reset();
    }
    GetChange(this);
}

void TOBLBitmapEffectObject::SetBrightness(TOBLBrightness Value)
{
    auto held = static_cast<TOBLBrightness>(std::clamp<int>(Value, -255, 255));
    if (brightness_ == held)
        return;
    brightness_ = held;
    GetChange(this);
}

bool TOBLBitmapEffectObject::Enabled() const
{
    return flipVertical_ || flipHorizontal_ || grayScale_ || invert_ || brightness_ != 0 || alphaBlend_->Enabled();
}

void TOBLBitmapEffectObject::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    auto* other = dynamic_cast<TOBLBitmapEffectObject*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    flipVertical_ = other->flipVertical_;
    flipHorizontal_ = other->flipHorizontal_;
    grayScale_ = other->grayScale_;
    invert_ = other->invert_;
    brightness_ = other->brightness_;
    SetBool(4, other->buffered_);
    alphaBlend_->Assign(other->alphaBlend_.get());
    EndUpdate(true);
}

AnsiString TOBLBitmapEffectObject::GetSetStr()
{
    AnsiString text;
    auto add = [&](bool on, const char* word) {
        if (!on)
            return;
        if (!text.IsEmpty())
            text += ",";
        text += word;
    };
    add(alphaBlend_->FillObject()->Style() != sfNone, "alpha");
    add(flipVertical_, "FV");
    add(flipHorizontal_, "FH");
    add(grayScale_, "GS");
    add(invert_, "INV");
    add(brightness_ != 0, "B");
    return "{" + (text.IsEmpty() ? AnsiString("Disabled") : text) + "}";
}

bool TOBLBitmapEffectObject::DrawBuffer(TBitmap* target)
{
    if (!buffered_ || !bufferValid_ || !buffer_)
        return false;
    target->Canvas()->Draw(0, 0, buffer_.get());
    return true;
}

void TOBLBitmapEffectObject::FillBuffer(TBitmap* from)
{
    if (!buffered_ || bufferValid_ || !buffer_)
        return;
    buffer_->Assign(from);
    bufferValid_ = true;
}

void TOBLBitmapEffectObject::ApplyPixelEffects(TBitmap* bitmap, const TRect& rect)
{
    TPoint at{rect.left, rect.top};
    // The properties do what their names say (FlipVertical top to bottom, FlipHorizontal left
    // to right); the routines are named after the axis they turn about, so each property
    // calls the routine of the other name.
    if (flipVertical_)
        OBLBMPFlipHorizonzal(bitmap, rect, bitmap, at);
    if (flipHorizontal_)
        OBLBMPFlipVertical(bitmap, rect, bitmap, at);
    if (grayScale_)
        OBLBMPGrayScale(bitmap, rect, bitmap, at);
    if (invert_)
        OBLBMPInvert(bitmap, rect, bitmap, at);
}

void TOBLBitmapEffectObject::Draw(TBitmap* Bitmap)
{
    if (!Bitmap || DrawBuffer(Bitmap))
        return;
    if (!Bitmap->Empty()) {
        if (flipVertical_ || flipHorizontal_ || grayScale_ || invert_)
            Make24(Bitmap);
        ApplyPixelEffects(Bitmap, Whole(Bitmap));
        if (monochrome_)
            Bitmap->SetMonochrome(true);
        if (brightness_ != 0) {
            Make24(Bitmap);
            OBLBMPBrightness(Bitmap, Whole(Bitmap), Bitmap, brightness_, TPoint{0, 0});
        }
        alphaBlend_->AlphaBlend(Bitmap);
    }
    FillBuffer(Bitmap);
}

void TOBLBitmapEffectObject::DrawCopy(TBitmap* Source, TBitmap* Target)
{
    if (!Source || !Target)
        return;
    Target->SetSize(Source->Width(), Source->Height());
    Target->Canvas()->Draw(0, 0, Source);
    Draw(Target);
}

void TOBLBitmapEffectObject::DrawCopyFromRect(TBitmap* Source, const TRect& Rect, TBitmap* Target)
{
    if (!Source || !Target)
        return;
    TRect r = CutTo(Source, Rect);
    if (!Empty(r))
        Target->Canvas()->CopyRect(::Rect(0, 0, r.right - r.left, r.bottom - r.top), Source->Canvas(), r);
    Draw(Target);
}

void TOBLBitmapEffectObject::DrawCopyRect(TBitmap* Source, const TRect& Rect, const TPoint& Point, TBitmap* Target)
{
    if (!Source || !Target || DrawBuffer(Target))
        return;
    TRect r = CutTo(Source, Rect);
    if (!Empty(r)) {
        TRect piece = ::Rect(Point.x + r.left - Rect.left, Point.y + r.top - Rect.top, 0, 0);
        piece.right = piece.left + (r.right - r.left);
        piece.bottom = piece.top + (r.bottom - r.top);
        Target->Canvas()->CopyRect(piece, Source->Canvas(), r);
        if (flipVertical_ || flipHorizontal_ || grayScale_ || invert_ || brightness_ != 0)
            Make24(Target);
        ApplyPixelEffects(Target, piece);
        if (brightness_ != 0)
            OBLBMPBrightness(Target, piece, Target, brightness_, TPoint{piece.left, piece.top});
    }
    FillBuffer(Target);
}

void TOBLBitmapEffectObject::DrawCutRect(TBitmap* Source, const TRect& SourceRect, const TRect& DestRect,
                                         TBitmap* Target)
{
    if (!Source || !Target)
        return;
    std::unique_ptr<TBitmap> piece = OBLCopyPiece(Source, SourceRect);
    if (!piece)
        return;
    Draw(piece.get());
    TCanvas* canvas = Target->Canvas();
    canvas->CopyRect(canvas->ClipRect(), Source->Canvas(), SourceRect);
    canvas->CopyRect(DestRect, piece->Canvas(), DestRect);
}

void TOBLBitmapEffectObject::DrawCutRect2(TBitmap* Source, const TRect& SourceRect, const TRect& DestRect,
                                          TBitmap* Target)
{
    if (!Source || !Target || DrawBuffer(Target))
        return;
    int w = SourceRect.right - SourceRect.left, h = SourceRect.bottom - SourceRect.top;
    if (w > 0 && h > 0) {
        Target->Canvas()->CopyRect(Rect(0, 0, w, h), Source->Canvas(), SourceRect);
        TRect d = CutTo(Target, DestRect);
        if (!Empty(d)) {
            Make24(Target);
            ApplyPixelEffects(Target, d);
            if (brightness_ != 0)
                OBLBMPBrightness(Target, d, Target, brightness_, TPoint{d.left, d.top});
            TOBLFillObject* fill = alphaBlend_->FillObject();
            if (fill->Style() != sfNone) {
                auto blend = std::make_unique<TBitmap>();
                blend->SetPixelFormat(pf24bit);
                blend->SetSize(w + 2, h + 2);
                fill->FillCanvas(blend->Canvas(), blend->Canvas()->ClipRect(), clWhite);
                OBLBMPAlphaBlend(Target, blend.get(), d, TPoint{d.left, d.top}, Target, alphaBlend_->Strength(),
                                 TPoint{d.left, d.top});
            }
        }
    }
    FillBuffer(Target);
}

void TOBLBitmapEffectObject::Publish(TClassBuilder<TOBLBitmapEffectObject>& c)
{
    using C = TOBLBitmapEffectObject;
    c.Property("AlphaBlend", &C::AlphaBlend, &C::SetAlphaBlend);
    c.Property("FlipVertical", &C::FlipVertical, [](C& o, bool v) { o.SetBool(0, v); }).Default(false);
    c.Property("FlipHorizontal", &C::FlipHorizontal, [](C& o, bool v) { o.SetBool(1, v); }).Default(false);
    c.Property("GrayScale", &C::GrayScale, [](C& o, bool v) { o.SetBool(2, v); }).Default(false);
    c.Property("Invert", &C::Invert, [](C& o, bool v) { o.SetBool(3, v); }).Default(false);
    c.Property("Buffered", &C::Buffered, [](C& o, bool v) { o.SetBool(4, v); }).Default(false);
    c.Property("Brightness", &C::Brightness, &C::SetBrightness).Default(TOBLBrightness{0});
}
