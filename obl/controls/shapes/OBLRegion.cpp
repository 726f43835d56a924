#include "obl/controls/shapes/OBLRegion.h"

#include "obl/controls/shapes/ClipKeeper.h"
#include "obl/core/app/oblclass.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/win/gdi/Gdi.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// X is kept unsigned in a point list; a point left of the origin comes back above 32767.
TPoint SignedPoint(TOBLPointList* list, int index)
{
    TPoint p{0, 0};
    list->GetPoint(index, p);
    p.x = static_cast<std::int16_t>(static_cast<std::uint16_t>(p.x));
    return p;
}

std::vector<TPoint> SignedPoints(TOBLPointList* list)
{
    std::vector<TPoint> points(static_cast<std::size_t>(list->Count()));
    for (int i = 0; i < list->Count(); ++i)
        points[static_cast<std::size_t>(i)] = SignedPoint(list, i);
    return points;
}

std::vector<BYTE> RegionDataOf(HRGN rgn)
{
    const DWORD size = rgn ? GetRegionData(rgn, 0, nullptr) : 0;
    std::vector<BYTE> data(size);
    if (size == 0 || GetRegionData(rgn, size, reinterpret_cast<RGNDATA*>(data.data())) != size)
        data.clear();
    return data;
}

// The region of a polygon of points, or null for one beyond TOBLRegion::PolygonRowLimit.
HRGN PolygonRegion(const TPoint* points, int count)
{
    if (count <= 0)
        return nullptr;
    long long rows = 0;
    for (int i = 0; i < count; ++i)
        rows += std::abs(static_cast<long long>(points[i].y) - points[(i + 1) % count].y);
    return rows > TOBLRegion::PolygonRowLimit ? nullptr : CreatePolygonRgn(points, count, ALTERNATE);
}

HRGN CopyRegion(HRGN rgn)
{
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(copy, rgn, nullptr, RGN_COPY);
    return copy;
}

// Unites the region with itself moved by (d, d).
void AddShadowCopy(HRGN rgn, int d)
{
    HRGN moved = CopyRegion(rgn);
    OffsetRgn(moved, d, d);
    CombineRgn(rgn, rgn, moved, RGN_OR);
    DeleteObject(moved);
}

bool LoweredStyle(TOBLRegionBorderStyle style)
{
    return style == rbLowered || style == rbSingleLowered || style == rbLoweredpsb;
}

} // namespace

TOBLRegion::TOBLRegion()
    : points_(new TOBLPointList), border_(new TOBLRegionBorder), mask_(new TOBLRegionMask), shadow_(new TOBLRgnShadow)
{
    const TNotifyEvent change(static_cast<TOBLObject*>(this), &TOBLObject::GetChange);
    border_->SetOnChange(change);
    mask_->SetOnChange(change);
    shadow_->SetOnChange(change);
    points_->SetOnChange(TNotifyEvent(this, &TOBLRegion::GetPointListChange));
}

TOBLRegion::~TOBLRegion()
{
    points_->SetOnChange(TNotifyEvent());
    points_.reset();
    ReplaceCurrent(nullptr);
    if (inUse_)
        DeleteObject(inUse_);
    windowControl_ = nullptr;
    shadow_->SetOnChange(TNotifyEvent());
    mask_->SetOnChange(TNotifyEvent());
    border_->SetOnChange(TNotifyEvent());
}

void TOBLRegion::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TOBLRegion*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    if (other == this)
        return;
    BeginUpdate();
    SetShape(other->shape_);
    roundX_ = other->roundX_;
    roundY_ = other->roundY_;
    shadow_->Assign(other->shadow_.get());
    extPos_ = other->extPos_;
    border_->Assign(other->border_.get());
    mask_->Assign(other->mask_.get());
    EndUpdate(true);
}

void TOBLRegion::SetPoints(TOBLPointList* Value)
{
    if (Value == points_.get())
        return;
    points_->BeginUpdate();
    if (Value)
        Value->Clone(points_.get());
    else
        points_->Clear();
    points_->EndUpdate(true);
}

void TOBLRegion::SetShape(TOBLRegionShape Value)
{
    if (shape_ == Value)
        return;
    shape_ = Value;
    if (shape_ == rsPointList)
        RebuildPointRegion();
    Change();
}

void TOBLRegion::SetExtPos(TOBLExtPos Value)
{
    if (extPos_ == Value)
        return;
    extPos_ = Value;
    Change();
}

void TOBLRegion::SetRoundX(int Value)
{
    if (roundX_ == Value || !IsCoordinate(Value))
        return;
    roundX_ = Value;
    Change();
}

void TOBLRegion::SetRoundY(int Value)
{
    if (roundY_ == Value || !IsCoordinate(Value))
        return;
    roundY_ = Value;
    Change();
}

int TOBLRegion::ShadowDepth() const { return shadow_->Style() == hssNone ? 0 : shadow_->Depth(); }

void TOBLRegion::GetPointListChange(TObject*)
{
    if (shape_ == rsPointList)
        RebuildPointRegion();
}

// An emptied list takes its polygon with it, so the window does not keep the old shape;
// so does a polygon too complex for a region (beyond PolygonRowLimit, or one that
// CreatePolygonRgn makes none of).
void TOBLRegion::RebuildPointRegion()
{
    if (points_->Count() == 0) {
        userData_.clear();
        return;
    }
    const std::vector<TPoint> points = SignedPoints(points_.get());
    HRGN polygon = PolygonRegion(points.data(), static_cast<int>(points.size()));
    SetUserRgn(polygon);
    if (polygon)
        DeleteObject(polygon);
}

void TOBLRegion::SetUserRgn(HRGN Rgn) { userData_ = RegionDataOf(Rgn); }

void TOBLRegion::SetUserPolygonRgn(const TPoint* Points, int Count)
{
    points_->BeginUpdate();
    points_->Clear();
    for (int i = 0; i < Count; ++i)
        points_->AddPoint(Points[i]);
    points_->EndUpdate(false);
    HRGN polygon = PolygonRegion(Points, Count);
    SetUserRgn(polygon);
    if (polygon)
        DeleteObject(polygon);
}

bool TOBLRegion::WindowDestroying() const
{
    return windowControl_ && windowControl_->ComponentState().Contains(csDestroying);
}

bool TOBLRegion::Designing() const
{
    return windowControl_ && windowControl_->ComponentState().Contains(csDesigning);
}

void TOBLRegion::ReplaceCurrent(HRGN Rgn)
{
    if (current_)
        DeleteObject(current_);
    current_ = Rgn;
}

HRGN TOBLRegion::UserRegion() const
{
    if (userData_.empty())
        return nullptr;
    return ExtCreateRegion(nullptr, static_cast<DWORD>(userData_.size()),
                           reinterpret_cast<const RGNDATA*>(userData_.data()));
}

HRGN TOBLRegion::BuildRegion(const TRect& R) const
{
    const int W = R.right - R.left;
    switch (shape_) {
    case rsRect: return CreateRectRgnIndirect(&R);
    case rsRoundRect: return CreateRoundRectRgn(R.left, R.top, R.right, R.bottom, roundX_, roundY_);
    case rsBitmap: return mask_->CreateRegion();
    case rsNoseRect: return OBLCreateNoseRectRgn(R, W / 10, extPos_);
    case rsRoundNoseRect: return OBLCreateRoundNoseRectRgn(R, W / 10, roundX_, roundY_, extPos_);
    case rsElliptic: return CreateEllipticRgnIndirect(&R);
    case rsStar: return OBLCreateStarRgn(R);
    case rsRoundShield: return OBLCreateRoundShieldRgn(R);
    case rsSharpShield: return OBLCreateSharpShieldRgn(R);
    case rsDiamond: return OBLCreateDiamondRgn(R);
    case rsOctagon: return OBLCreateOctagonRgn(R);
    case rsComb: return OBLCreateCombRgn(R);
    case rsHalfRound: return CreateEllipticRgn(R.left, 2 * R.top - R.bottom, R.right, R.bottom);
    case rsUserRegion: return Designing() ? CreateRectRgnIndirect(&R) : UserRegion();
    case rsThinkBubble: return OBLCreateThinkBubbleRgn(R, W / 6, bubbleCount_, extPos_);
    case rsRoundThinkBubble: return OBLCreateRoundThinkBubbleRgn(R, W / 6, bubbleCount_, extPos_, roundX_, roundY_);
    case rsEllipticThinkBubble: return OBLCreateEllipticThinkBubbleRgn(R, W / 6, bubbleCount_, extPos_);
    case rsPointList: return UserRegion();
    }
    return nullptr;
}

void TOBLRegion::CreateRegion(const TRect& R)
{
    if (WindowDestroying())
        return;
    TRect r = R;
    r.left += regionOffset_.x;
    r.top += regionOffset_.y;
    ReplaceCurrent(nullptr);
    const int depth = ShadowDepth();
    r.right -= depth;
    r.bottom -= depth;
    current_ = BuildRegion(r);
}

void TOBLRegion::CreateSpecialRectRgn(const TRect& R)
{
    if (!WindowDestroying())
        ReplaceCurrent(CreateRectRgnIndirect(&R));
}

void TOBLRegion::SetRegion()
{
    if (!current_) {
        // No shape: the window stays (or becomes again) a plain rectangle.
        FreeRegion();
        return;
    }
    HRGN result = CopyRegion(current_);
    if (!shadowOff_ && ShadowDepth() > 0)
        AddShadowCopy(result, ShadowDepth());
    if (!inUse_)
        inUse_ = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(inUse_, result, nullptr, RGN_COPY);
    if (windowControl_ && windowControl_->HandleAllocated())
        SetWindowRgn(windowControl_->Handle(), result, TRUE);
    else
        DeleteObject(result);
}

void TOBLRegion::FreeRegion()
{
    if (!inUse_)
        return;
    if (windowControl_ && windowControl_->HandleAllocated())
        SetWindowRgn(windowControl_->Handle(), nullptr, FALSE);
    DeleteObject(inUse_);
    inUse_ = nullptr;
}

void TOBLRegion::DrawShadow(TCanvas* Canvas, TRect& R)
{
    if (shadow_->Style() == hssNone)
        return;
    const int depth = shadow_->Depth();
    R.right -= depth;
    R.bottom -= depth;
    if (shadowOff_ || !current_)
        return;
    HRGN area = CopyRegion(current_);
    OffsetRgn(area, depth, depth);
    CombineRgn(area, area, current_, RGN_DIFF);
    TBrush* brush = Canvas->Brush();
    TPen* pen = Canvas->Pen();
    if (shadow_->Style() == hssTracing && OBLApplication) {
        brush->SetBitmap(OBLApplication->GetBrushBitmap(shadow_->Color()));
        pen->SetMode(pmMask);
    } else {
        brush->SetColor(shadow_->Color());
        brush->SetStyle(bsSolid);
    }
    pen->SetStyle(psClear);
    FillRgn(Canvas->Handle(), area, brush->Handle());
    DeleteObject(area);
    brush->SetBitmap(nullptr);
    brush->SetStyle(bsClear);
    pen->SetMode(pmCopy);
    pen->SetStyle(psSolid);
}

void TOBLRegion::PaintPointListBorder(TCanvas* Canvas)
{
    const TOBLRegionBorderStyle style = border_->Style();
    // One point has no segment to draw. Every style but the single one, rbNone too, draws
    // the outline in the two colours.
    if (points_->Count() < 2)
        return;
    TColor light = border_->LightColor(), shadow = border_->ShadowColor();
    if (LoweredStyle(style))
        std::swap(light, shadow);
    if (style == rbSingle)
        light = shadow = border_->SingleColor();
    const std::vector<TPoint> points = SignedPoints(points_.get());
    TPen* pen = Canvas->Pen();
    pen->SetColor(light);
    Canvas->MoveTo(points[0].x, points[0].y);
    const std::size_t n = points.size();
    for (std::size_t i = 1; i <= n; ++i) {
        const TPoint from = points[i - 1], to = points[i % n];
        if (to.y > from.y)
            pen->SetColor(shadow);
        if (to.y < from.y)
            pen->SetColor(light);
        if (to.x < from.x)
            pen->SetColor(shadow);
        if (to.x > from.x)
            pen->SetColor(light);
        Canvas->LineTo(to.x, to.y);
    }
}

void TOBLRegion::PaintRegionShape(TCanvas* Canvas, const TRect& R)
{
    TRect r = R;
    r.left += regionOffset_.x;
    r.top += regionOffset_.y;
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetWidth(2);
    DrawShadow(Canvas, r);
    const TOBLRegionBorder& b = *border_;
    const TColor light = b.LightColor(), shadow = b.ShadowColor(), single = b.SingleColor();
    const TOBLRegionBorderStyle style = b.Style();
    const int W = r.right - r.left;
    switch (shape_) {
    case rsRect: OBLFrameRectRgn(Canvas, r, light, shadow, single, style); break;
    case rsRoundRect: OBLFrameRoundRectRgn(Canvas, r, light, shadow, single, style, roundX_, roundY_); break;
    case rsNoseRect:
    case rsRoundNoseRect: PaintNoseBorder(Canvas, r, W / 10); break;
    case rsElliptic: OBLFrameEllipticRgn(Canvas, r, light, shadow, single, style); break;
    case rsStar: OBLFrameStarRgn(Canvas, r, light, shadow, single, style); break;
    case rsRoundShield: OBLFrameRoundShieldRgn(Canvas, r, light, shadow, single, style); break;
    case rsSharpShield: OBLFrameSharpShieldRgn(Canvas, r, light, shadow, single, style); break;
    case rsDiamond: OBLFrameDiamondRgn(Canvas, r, light, shadow, single, style); break;
    case rsOctagon: OBLFrameOctagonRgn(Canvas, r, light, shadow, single, style); break;
    case rsComb: OBLFrameCombRgn(Canvas, r, light, shadow, single, style); break;
    case rsHalfRound: OBLFrameHalfRoundRgn(Canvas, r, light, shadow, single, style); break;
    case rsThinkBubble:
        OBLFrameThinkBubbleRgn(Canvas, r, W / 6, bubbleCount_, extPos_, light, shadow, single, style);
        break;
    case rsRoundThinkBubble:
        OBLFrameRoundThinkBubbleRgn(Canvas, r, W / 6, bubbleCount_, extPos_, roundX_, roundY_, light, shadow, single,
                                    style);
        break;
    case rsEllipticThinkBubble:
        OBLFrameEllipticThinkBubbleRgn(Canvas, r, W / 6, bubbleCount_, extPos_, light, shadow, single, style);
        break;
    case rsPointList: PaintPointListBorder(Canvas); break;
    case rsBitmap:
    case rsUserRegion: break;
    }
}

// The nose's own edges stay unframed: the box across its base is kept out of the clip
// while the body is framed, and the clip is put back afterwards.
void TOBLRegion::PaintNoseBorder(TCanvas* Canvas, const TRect& R, int NoseSize)
{
    const bool round = shape_ == rsRoundNoseRect;
    TRect body = R;
    const auto nose = OBLNosePoints(body, NoseSize, extPos_, round ? OBLRoundNoseOffset(extPos_, roundX_, roundY_) : 5);
    const int grow = round ? 4 : 2;
    const TOBLRegionBorder& b = *border_;
    ClipKeeper keep(Canvas);
    ExcludeClipRect(Canvas->Handle(), std::min(nose[1].x, nose[2].x) - grow, std::min(nose[1].y, nose[2].y) - grow,
                    std::max(nose[1].x, nose[2].x) + grow, std::max(nose[1].y, nose[2].y) + grow);
    if (round)
        OBLFrameRoundRectRgn(Canvas, body, b.LightColor(), b.ShadowColor(), b.SingleColor(), b.Style(), roundX_,
                             roundY_);
    else
        OBLFrameRectRgn(Canvas, body, b.LightColor(), b.ShadowColor(), b.SingleColor(), b.Style());
}

void TOBLRegion::ReadPointList(TReader* Reader)
{
    // Read whole before anything changes, so a damaged list leaves the points as they were.
    std::vector<int> values;
    Reader->ReadListBegin();
    while (!Reader->EndOfList())
        values.push_back(Reader->ReadInteger());
    Reader->ReadListEnd();
    if (values.size() % 2 != 0)
        throw EReadError(SReadError);
    // One rebuild of the polygon for the whole list.
    points_->BeginUpdate();
    points_->Clear();
    for (std::size_t i = 0; i < values.size(); i += 2)
        points_->AddPoint(TPoint{values[i], values[i + 1]});
    points_->EndUpdate(true);
}

void TOBLRegion::WritePointList(TWriter* Writer)
{
    Writer->WriteListBegin();
    for (int i = 0; i < points_->Count(); ++i) {
        TPoint p{0, 0};
        points_->GetPoint(i, p);
        Writer->WriteInteger(p.x);
        Writer->WriteInteger(p.y);
    }
    Writer->WriteListEnd();
}

void TOBLRegion::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        "PointList", [this](TReader* r) { ReadPointList(r); }, [this](TWriter* w) { WritePointList(w); },
        points_->Count() > 0);
}

void TOBLRegion::Publish(TClassBuilder<TOBLRegion>& c)
{
    using C = TOBLRegion;
    c.Property("Shape", &C::Shape, &C::SetShape).Default(rsRoundRect);
    c.Property("ExtPos", &C::ExtPos, &C::SetExtPos).Default(epLeftTop);
    c.Property("Mask", &C::Mask, &C::SetMask);
    c.Property("RoundX", &C::RoundX, &C::SetRoundX).Default(20).ReadRange(MinCoordinate, MaxCoordinate);
    c.Property("RoundY", &C::RoundY, &C::SetRoundY).Default(20).ReadRange(MinCoordinate, MaxCoordinate);
    c.Property("Shadow", &C::Shadow, &C::SetShadow);
}

void TOBLBorderRegion::Publish(TClassBuilder<TOBLBorderRegion>& c)
{
    c.Property("Border", &TOBLBorderRegion::Border, &TOBLBorderRegion::SetBorder);
}
