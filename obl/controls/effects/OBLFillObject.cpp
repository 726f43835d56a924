#include "obl/controls/effects/OBLFillObject.h"

#include "obl/core/app/Oblsysin.h"
#include "obl/core/draw/Oblutils.h"
#include "platform/win/gdi/Gdi.h"

#include <algorithm>
#include <memory>

namespace {

// The inner rectangle's size placed in the outer one by the alignment.
TRect AlignedRect(TOBLAlignment alignment, int w, int h, const TRect& outer)
{
    int cw = outer.right - outer.left, ch = outer.bottom - outer.top;
    int dx = 0, dy = 0;
    switch (alignment) {
    case agTopCenter: case agCenter: case agBottomCenter: dx = (cw - w) / 2; break;
    case agTopRight: case agCenterRight: case agBottomRight: dx = cw - w; break;
    default: break;
    }
    switch (alignment) {
    case agCenterLeft: case agCenter: case agCenterRight: dy = (ch - h) / 2; break;
    case agBottomLeft: case agBottomCenter: case agBottomRight: dy = ch - h; break;
    default: break;
    }
    return Rect(outer.left + dx, outer.top + dy, outer.left + dx + w, outer.top + dy + h);
}

} // namespace

TOBLFillObject::TOBLFillObject() : brush_(new TBrush)
{
    brush_->SetOnChange(TNotifyEvent(static_cast<TOBLObject*>(this), &TOBLObject::GetChange));
    BeginUpdate();
    SetFillStyle(sfNone);
    EndUpdate(false);
}

TOBLFillObject::~TOBLFillObject() { brush_->SetOnChange(TNotifyEvent()); }

bool TOBLFillObject::ShowsPlacement() const
{
    return (style_ == sfBitmap || style_ == sfBitmapList) && tileMode_ == tmNone;
}

void TOBLFillObject::SetAlignment(TOBLAlignment Value)
{
    if (alignment_ == Value)
        return;
    alignment_ = Value;
    if (ShowsPlacement())
        Change();
}

void TOBLFillObject::SetInteger(int Index, int Value)
{
    int& field = Index == 0 ? offsetX_ : offsetY_;
    if (field == Value)
        return;
    field = Value;
    if (ShowsPlacement())
        Change();
}

void TOBLFillObject::SetOptions(TOBLFillOptions Value)
{
    if (options_ == Value)
        return;
    options_ = Value;
    Change();
}

void TOBLFillObject::SetBrush(TBrush* Value) { brush_->Assign(Value); }

void TOBLFillObject::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    auto* other = dynamic_cast<TOBLFillObject*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    BeginUpdate();
    brush_->Assign(other->brush_.get());
    options_ = other->options_;
    CopyShapeFill(*other);
    EndUpdate(true);
}

bool TOBLFillObject::GetTransparent() const
{
    switch (style_) {
    case sfNone: return true;
    case sfBrush: return !(brush_->Style() == bsSolid || options_.Contains(foFillInner));
    case sfBitmap:
    case sfBitmapList:
        if (tileMode_ == tmStretch || tileMode_ == tmTile)
            return false;
        return !options_.Contains(foFillInner);
    default: return false;
    }
}

void TOBLFillObject::FillInner(TCanvas* canvas, const TRect& r, TColor color)
{
    if (!options_.Contains(foFillInner))
        return;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(r);
}

void TOBLFillObject::FillBrushBitmap(TCanvas* canvas, const TRect& r)
{
    TBitmap* bitmap = Bitmap();
    // The brush keeps its own copy of the pattern, so it is cleared again whatever happens.
    struct ClearPattern {
        TCanvas* canvas;
        ~ClearPattern() { canvas->Brush()->SetBitmap(nullptr); }
    } clear{canvas};
    if (!bitmap->Empty()) {
        if (OBLSIWindowsNT) {
            canvas->Brush()->SetBitmap(bitmap);
        } else {
            // Older systems take only an 8 x 8 pattern.
            auto pattern = std::make_unique<TBitmap>();
            pattern->SetSize(8, 8);
            pattern->Canvas()->CopyRect(Rect(0, 0, 8, 8), bitmap->Canvas(), Rect(0, 0, 8, 8));
            canvas->Brush()->SetBitmap(pattern.get());
        }
    }
    canvas->FillRect(r);
}

void TOBLFillObject::FillBrush(TCanvas* canvas, const TRect& r, TColor color)
{
    canvas->Brush()->Assign(brush_.get());
    canvas->Pen()->SetColor(color);
    if (brush_->Style() == bsSolid || brush_->Style() == bsClear) {
        canvas->FillRect(r);
        return;
    }
    // The canvas leaves a hatch brush's gaps transparent; here they show Color. The
    // context's own background settings are put back afterwards.
    HDC dc = canvas->Handle();
    COLORREF oldColor = SetBkColor(dc, ColorToRGB(color) & 0xFFFFFF);
    int oldMode = SetBkMode(dc, OPAQUE);
    struct Restore {
        HDC dc;
        COLORREF color;
        int mode;
        ~Restore()
        {
            SetBkColor(dc, color);
            SetBkMode(dc, mode);
        }
    } restore{dc, oldColor, oldMode};
    canvas->FillRect(r);
}

bool TOBLFillObject::FillBitmap(TCanvas* canvas, const TRect& r, TColor color)
{
    TBitmap* bitmap = GetBitmap();
    if (bitmap->Empty()) {
        FillInner(canvas, r, color);
        return false;
    }
    WORD flags = options_.Contains(foQuickDraw) ? 0 : OBLBmpRealizePalette;
    switch (tileMode_) {
    case tmNone: {
        FillInner(canvas, r, color);
        TRect dest = AlignedRect(alignment_, bitmap->Width(), bitmap->Height(), r);
        OffsetRect(&dest, offsetX_, offsetY_);
        OBLBmpDraw(canvas, dest, bitmap, flags, 0);
        break;
    }
    case tmCenter:
        FillInner(canvas, r, color);
        OBLBmpDraw(canvas, r, bitmap, flags | OBLBmpCenter, 0);
        break;
    case tmStretch:
        OBLBmpDraw(canvas, r, bitmap, flags | OBLBmpStretch, 0);
        break;
    case tmTile:
        OBLBmpDraw(canvas, r, bitmap, flags | OBLBmpTile, 0);
        break;
    }
    return true;
}

bool TOBLFillObject::FillCanvas(TCanvas* Canvas, const TRect& R, TColor Color)
{
    if (!Canvas)
        return false;
    switch (style_) {
    case sfBrushBitmap:
        FillBrushBitmap(Canvas, R);
        return true;
    case sfBrush:
        FillBrush(Canvas, R, Color);
        return true;
    case sfBitmap:
    case sfBitmapList:
        return FillBitmap(Canvas, R, Color);
    case sfGradient: {
        TOBLGradient* gradient = Gradient();
        WORD flags = options_.Contains(foGrUseBitmap) ? OBLGradOffscreen : 0;
        if (gradient->PaletteRealize())
            flags |= OBLGradPalette;
        OBLGradientPaintExt(Canvas, R, gradient->Style(), gradient->ColorList(), gradient->GetPalette(), flags, 0);
        return true;
    }
    case sfNone:
        break;
    }
    return false;
}

bool TOBLFillObject::ClipFill(TCanvas* Canvas, const TRect& R, TColor Color, int Offset)
{
    if (!Canvas)
        return false;
    if (style_ == sfGradient && options_.Contains(foGrUseBitmap))
        return FillCanvas(Canvas, R, Color);
    HDC dc = Canvas->Handle();
    // Clip regions are in device coordinates, the rectangle in logical ones.
    POINT corners[2] = {{R.left, R.top}, {R.right, R.bottom}};
    LPtoDP(dc, corners, 2);
    int dx = Offset & 0xFFFF, dy = static_cast<int>((static_cast<unsigned>(Offset) >> 16) & 0xFFFF);
    HRGN region = CreateRectRgn(std::min(corners[0].x, corners[1].x) + dx, std::min(corners[0].y, corners[1].y) + dy,
                                std::max(corners[0].x, corners[1].x) + dx, std::max(corners[0].y, corners[1].y) + dy);
    HRGN saved = CreateRectRgn(0, 0, 0, 0);
    bool hadClip = GetClipRgn(dc, saved) == 1;
    struct Restore {
        HDC dc;
        HRGN region, saved;
        bool hadClip;
        ~Restore()
        {
            SelectClipRgn(dc, hadClip ? saved : nullptr);
            DeleteObject(region);
            DeleteObject(saved);
        }
    } restore{dc, region, saved, hadClip};
    // Inside the caller's clip as well: the fill never paints where the caller did not.
    ExtSelectClipRgn(dc, region, RGN_AND);
    return FillCanvas(Canvas, R, Color);
}

void TOBLFillObject::Publish(TClassBuilder<TOBLFillObject>& c)
{
    using C = TOBLFillObject;
    c.Property("Alignment", &C::Alignment, &C::SetAlignment).Default(agTopLeft);
    c.Property("Brush", &C::Brush, &C::SetBrush);
    c.Property("OffsetX", &C::OffsetX, [](C& o, int v) { o.SetInteger(0, v); }).Default(0);
    c.Property("OffsetY", &C::OffsetY, [](C& o, int v) { o.SetInteger(1, v); }).Default(0);
    c.Property("Options", &C::Options, &C::SetOptions).Default(TOBLFillOptions{foFillInner, foGrUseBitmap});
}
