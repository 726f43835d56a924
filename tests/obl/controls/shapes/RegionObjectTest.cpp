// The region settings object: the region of each shape, shapes without data, the user
// polygon of the points, the window region with its shadow, and the point-list border.
#include "obl/controls/shapes/OBLRegion.h"
#include "tests/obl/controls/shapes/RegionPixels.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include "platform/classlib/Forms.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/UserTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {


HRGN RegionOfData(const std::vector<BYTE>& data)
{
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
}

void SetPoints(TOBLRegion& region, std::initializer_list<TPoint> points)
{
    region.Points()->Clear();
    for (const TPoint& p : points)
        region.Points()->AddPoint(p);
}

TEST(RegionObject, EachShapeBuildsItsRegionInTheRectangle)
{
    const TRect R = Rect(0, 0, 60, 40);
    struct Case {
        TOBLRegionShape shape;
        std::function<HRGN()> expected;
    };
    const Case cases[] = {
        {rsRect, [&] { return CreateRectRgn(0, 0, 60, 40); }},
        {rsRoundRect, [&] { return CreateRoundRectRgn(0, 0, 60, 40, 20, 20); }},
        {rsElliptic, [&] { return CreateEllipticRgn(0, 0, 60, 40); }},
        {rsHalfRound, [&] { return CreateEllipticRgn(0, -40, 60, 40); }},
        {rsDiamond, [&] { return OBLCreateDiamondRgn(R); }},
        {rsStar, [&] { return OBLCreateStarRgn(R); }},
        {rsOctagon, [&] { return OBLCreateOctagonRgn(R); }},
        {rsComb, [&] { return OBLCreateCombRgn(R); }},
        {rsRoundShield, [&] { return OBLCreateRoundShieldRgn(R); }},
        {rsSharpShield, [&] { return OBLCreateSharpShieldRgn(R); }},
        // The nose is a tenth of the width, the bubbles' nose a sixth.
        {rsNoseRect, [&] { return OBLCreateNoseRectRgn(R, 6, epRightBottom); }},
        {rsRoundNoseRect, [&] { return OBLCreateRoundNoseRectRgn(R, 6, 20, 20, epRightBottom); }},
        {rsThinkBubble, [&] { return OBLCreateThinkBubbleRgn(R, 10, 4, epRightBottom); }},
        {rsRoundThinkBubble, [&] { return OBLCreateRoundThinkBubbleRgn(R, 10, 4, epRightBottom, 20, 20); }},
        {rsEllipticThinkBubble, [&] { return OBLCreateEllipticThinkBubbleRgn(R, 10, 4, epRightBottom); }},
    };
    for (const Case& c : cases) {
        TOBLRegion region;
        region.SetExtPos(epRightBottom);
        region.SetShape(c.shape);
        region.CreateRegion(R);
        ASSERT_NE(region.CurrentRegion(), nullptr) << static_cast<int>(c.shape);
        OwnedRgn want(c.expected());
        EXPECT_TRUE(EqualRgn(region.CurrentRegion(), want.h)) << "shape " << static_cast<int>(c.shape);
    }
}

TEST(RegionObject, OffsetAndShadowMoveTheShapesRectangle)
{
    TOBLRegion region;
    region.SetShape(rsRect);
    region.SetRegionOffset(TPoint{5, 3});
    region.CreateRegion(Rect(0, 0, 60, 40));
    OwnedRgn moved(CreateRectRgn(5, 3, 60, 40));
    EXPECT_TRUE(EqualRgn(region.CurrentRegion(), moved.h));

    TOBLRegion shadowed;
    shadowed.SetShape(rsRect);
    shadowed.Shadow()->SetStyle(hssSolid);
    shadowed.CreateRegion(Rect(0, 0, 60, 40));
    OwnedRgn smaller(CreateRectRgn(0, 0, 54, 34));
    EXPECT_TRUE(EqualRgn(shadowed.CurrentRegion(), smaller.h)) << "6 pixels narrower and lower";
}

TEST(RegionObject, ShapesWithoutDataHaveNoRegion)
{
    for (TOBLRegionShape shape : {rsBitmap, rsUserRegion, rsPointList}) {
        TOBLRegion region;
        region.SetShape(rsRect);
        region.CreateRegion(Rect(0, 0, 20, 20));
        region.SetShape(shape);
        region.CreateRegion(Rect(0, 0, 20, 20));
        EXPECT_EQ(region.CurrentRegion(), nullptr) << static_cast<int>(shape);
    }
}

TEST(RegionObject, StoredRegionsBecomeTheShape)
{
    OwnedRgn given(CreateEllipticRgn(2, 2, 18, 12));
    TOBLRegion user;
    user.SetUserRgn(given.h);
    user.SetShape(rsUserRegion);
    user.CreateRegion(Rect(0, 0, 100, 100));
    EXPECT_TRUE(EqualRgn(user.CurrentRegion(), given.h));

    TOBLRegion bitmap;
    bitmap.Mask()->GetRegionData(given.h);
    bitmap.SetShape(rsBitmap);
    bitmap.CreateRegion(Rect(0, 0, 100, 100));
    EXPECT_TRUE(EqualRgn(bitmap.CurrentRegion(), given.h));
}

TEST(RegionObject, PointListShapeFollowsThePoints)
{
    TOBLRegion region;
    SetPoints(region, {{0, 0}, {8, 0}, {0, 8}});
    EXPECT_TRUE(region.UserRegionData().empty()) << "no polygon before the shape asks for one";
    region.SetShape(rsPointList);
    OwnedRgn triangle(RegionOfData(region.UserRegionData()));
    EXPECT_EQ(Mask(triangle.h, 0, 0, 8, 3), (std::vector<std::string>{"#######.", "######..", "#####..."}));
    region.Points()->AddPoint(TPoint{8, 8});
    OwnedRgn four(RegionOfData(region.UserRegionData()));
    EXPECT_FALSE(PtInRegion(triangle.h, 4, 7));
    EXPECT_TRUE(PtInRegion(four.h, 4, 7)) << "the fourth point rebuilt the polygon";
    region.SetPoints(nullptr);
    EXPECT_TRUE(region.UserRegionData().empty()) << "an emptied list leaves no polygon behind";
}

TEST(RegionObject, PointsLeftOfTheOriginStayLeftOfIt)
{
    TOBLRegion region;
    SetPoints(region, {{-6, 0}, {6, 0}, {6, 6}, {-6, 6}});
    region.SetShape(rsPointList);
    OwnedRgn r(RegionOfData(region.UserRegionData()));
    RECT box{};
    GetRgnBox(r.h, &box);
    EXPECT_EQ(box.left, -6);
    EXPECT_EQ(box.right, 6);
}

TEST(RegionObject, PointsSetterCopiesIntoTheOwnedList)
{
    TOBLRegion region;
    region.SetShape(rsPointList);
    TOBLPointList* own = region.Points();
    {
        TOBLPointList given;
        for (TPoint p : {TPoint{0, 0}, TPoint{10, 0}, TPoint{0, 10}})
            given.AddPoint(p);
        region.SetPoints(&given);
    }
    EXPECT_EQ(region.Points(), own) << "the region keeps its own list";
    ASSERT_EQ(own->Count(), 3);
    EXPECT_EQ(own->Points(1).x, 10);
    EXPECT_FALSE(region.UserRegionData().empty()) << "the copied points made the polygon";
    region.SetPoints(nullptr);
    EXPECT_EQ(own->Count(), 0);
}

TEST(RegionObject, UserPolygonReplacesThePoints)
{
    TOBLRegion region;
    SetPoints(region, {{1, 1}, {2, 2}});
    const TPoint square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    region.SetUserPolygonRgn(square, 4);
    EXPECT_EQ(region.Points()->Count(), 4);
    OwnedRgn r(RegionOfData(region.UserRegionData()));
    OwnedRgn want(CreateRectRgn(0, 0, 4, 4));
    EXPECT_TRUE(EqualRgn(r.h, want.h));
}

TEST(RegionObject, AssignCopiesTheSettingsButNotThePoints)
{
    TOBLRegion source;
    source.SetShape(rsStar);
    source.SetRoundX(7);
    source.SetRoundY(9);
    source.SetExtPos(epBottomLeft);
    source.Shadow()->SetStyle(hssTracing);
    source.Border()->SetStyle(rbRaised);
    SetPoints(source, {{1, 2}, {3, 4}});
    TOBLRegion target;
    ChangeCounter changes(target);
    target.Assign(&source);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(target.Shape(), rsStar);
    EXPECT_EQ(target.RoundX(), 7);
    EXPECT_EQ(target.RoundY(), 9);
    EXPECT_EQ(target.ExtPos(), epBottomLeft);
    EXPECT_EQ(target.Shadow()->Style(), hssTracing);
    EXPECT_EQ(target.Border()->Style(), rbRaised);
    EXPECT_EQ(target.Points()->Count(), 0);
}

TEST(RegionObject, MaskAssignTakesOnlyASourceWithData)
{
    TBitmap picture;
    picture.SetSize(3, 2);
    TOBLRegionMask target;
    OwnedRgn rgn(CreateRectRgn(0, 0, 5, 5));
    target.GetRegionData(rgn.h);
    target.SetBorderBmp(0, &picture);
    TOBLRegionMask empty;
    target.Assign(&empty);
    EXPECT_EQ(target.RegionDataSize(), 0) << "its own data went";
    EXPECT_EQ(target.BorderBmp()->Width(), 3) << "its bitmaps stayed";

    TOBLRegionMask source;
    source.GetRegionData(rgn.h);
    target.Assign(&source);
    EXPECT_EQ(target.RegionData(), source.RegionData());
    EXPECT_TRUE(target.BorderBmp()->Empty()) << "a source with data gives its bitmaps";
}

TEST(RegionObject, MaskBlocksAreAllocatedBySizeOrHandedOver)
{
    TOBLRegionMask mask;
    mask.SetDataSize(48);
    EXPECT_EQ(mask.RegionDataSize(), 48) << "stored before any block";
    EXPECT_TRUE(mask.RegionData().empty());
    mask.GetMem();
    EXPECT_EQ(mask.RegionData(), std::vector<BYTE>(48, 0));
    EXPECT_EQ(mask.CreateRegion(), nullptr) << "no region in a block not yet filled";
    OwnedRgn two(CreateRectRgn(0, 0, 4, 4));
    OwnedRgn other(CreateRectRgn(6, 0, 9, 2));
    CombineRgn(two.h, two.h, other.h, RGN_OR);
    mask.GetRegionData(two.h);
    OwnedRgn back(mask.CreateRegion());
    EXPECT_TRUE(EqualRgn(back.h, two.h));

    // A block handed over becomes the mask's data; the size follows it, whatever was stored.
    TOBLRegionMask source;
    source.GetRegionData(other.h);
    mask.SetDataSize(5);
    mask.SetRegionData(source.RegionData());
    EXPECT_EQ(mask.RegionDataSize(), static_cast<int>(source.RegionData().size()));
    OwnedRgn handed(mask.CreateRegion());
    EXPECT_TRUE(EqualRgn(handed.h, other.h));
    mask.SetDataSize(-1);
    EXPECT_THROW(mask.GetMem(), EInvalidOperation);
    EXPECT_EQ(mask.RegionData(), source.RegionData()) << "the block held stays";
    mask.SetRegionData(source.RegionData());
    mask.GetMem();
    EXPECT_EQ(mask.RegionData(), std::vector<BYTE>(source.RegionData().size(), 0)) << "RegionDataSize bytes";
    mask.FreeMem();
    EXPECT_EQ(mask.RegionDataSize(), 0);

    // The "up" and "down" bitmaps are made only when missing: one the mask has stays.
    TBitmap picture;
    picture.SetSize(3, 2);
    mask.SetBorderBmp(TOBLRegionMask::bbBorderUp, &picture);
    TBitmap* up = mask.BorderUpBmp();
    mask.CreateBorderUpBmp();
    mask.CreateBorderDnBmp();
    EXPECT_EQ(mask.BorderUpBmp(), up);
    EXPECT_EQ(mask.BorderUpBmp()->Width(), 3);
    ASSERT_NE(mask.BorderDnBmp(), nullptr);
    EXPECT_TRUE(mask.BorderDnBmp()->Empty());
}

class WindowRegion : public testing::Test {
protected:
    void SetUp() override
    {
        UserResetWindowSystem();
        form_.reset(new TForm(nullptr));
        form_->SetBounds(10, 10, 120, 90);
        form_->HandleNeeded();
        region_.SetWindowControl(form_.get());
    }
    void TearDown() override
    {
        region_.FreeRegion();
        form_.reset();
        UserResetWindowSystem();
    }
    // The window's region, null when it has none.
    HRGN WindowRgn()
    {
        HRGN r = CreateRectRgn(0, 0, 0, 0);
        if (GetWindowRgn(form_->Handle(), r) == ERROR) {
            DeleteObject(r);
            return nullptr;
        }
        return r;
    }

    TOwned<TForm> form_;
    TOBLRegion region_;
};

TEST_F(WindowRegion, ShadowedShapeCoversShapeAndShadow)
{
    region_.SetShape(rsRect);
    region_.Shadow()->SetStyle(hssSolid);
    region_.CreateRegion(Rect(0, 0, 40, 30));
    region_.SetRegion();
    OwnedRgn got(WindowRgn());
    ASSERT_NE(got.h, nullptr);
    OwnedRgn want(CreateRectRgn(0, 0, 34, 24));
    OwnedRgn shadow(CreateRectRgn(6, 6, 40, 30));
    CombineRgn(want.h, want.h, shadow.h, RGN_OR);
    EXPECT_TRUE(EqualRgn(got.h, want.h));

    region_.SetShadowOff(true);
    region_.SetRegion();
    OwnedRgn plain(WindowRgn());
    OwnedRgn shape(CreateRectRgn(0, 0, 34, 24));
    EXPECT_TRUE(EqualRgn(plain.h, shape.h)) << "the shadow turned off stays out of the window";
}

TEST_F(WindowRegion, NoShapeLeavesTheWindowRectangular)
{
    region_.SetShape(rsElliptic);
    region_.CreateRegion(Rect(0, 0, 40, 30));
    region_.SetRegion();
    OwnedRgn shaped(WindowRgn());
    ASSERT_NE(shaped.h, nullptr);
    region_.SetShape(rsUserRegion);
    region_.CreateRegion(Rect(0, 0, 40, 30));
    region_.SetRegion();
    EXPECT_EQ(WindowRgn(), nullptr) << "not a 1-pixel window";
}

TEST_F(WindowRegion, FreeRegionGivesTheWindowBackItsRectangle)
{
    region_.SetShape(rsDiamond);
    region_.CreateRegion(Rect(0, 0, 40, 30));
    region_.SetRegion();
    OwnedRgn shaped(WindowRgn());
    ASSERT_NE(shaped.h, nullptr);
    region_.FreeRegion();
    EXPECT_EQ(WindowRgn(), nullptr);
}

// Paints on a white W x H bitmap and reads pixels back.
template <int W, int H>
class PaintedOn : public testing::Test {
protected:
    void SetUp() override
    {
        bitmap_.SetPixelFormat(pf24bit);
        bitmap_.SetSize(W, H);
        bitmap_.Canvas()->Brush()->SetColor(clWhite);
        bitmap_.Canvas()->FillRect(Rect(0, 0, W, H));
        region_.Border()->SetLightColor(clRed);
        region_.Border()->SetShadowColor(clBlue);
        region_.Border()->SetSingleColor(clGreen);
    }
    TColor At(int x, int y) { return bitmap_.Canvas()->Pixels(x, y); }

    TBitmap bitmap_;
    TOBLRegion region_;
};

class Painted : public PaintedOn<24, 24> {
protected:
    bool AllWhite()
    {
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                if (At(x, y) != clWhite)
                    return false;
        return true;
    }
    void PaintTriangle(TOBLRegionBorderStyle style)
    {
        region_.Border()->SetStyle(style);
        SetPoints(region_, {{4, 4}, {16, 4}, {16, 16}});
        region_.SetShape(rsPointList);
        region_.PaintRegionShape(bitmap_.Canvas(), Rect(0, 0, 24, 24));
    }
};

TEST_F(Painted, PointListBorderColoursEachSegmentByItsDirection)
{
    struct Case {
        TOBLRegionBorderStyle style;
        TColor right, down, closing;
    };
    const Case cases[] = {
        {rbRaised, clRed, clBlue, clBlue},      // the closing run goes up and left: left wins
        {rbLowered, clBlue, clRed, clRed},      // lowered swaps the colours
        {rbSingle, clGreen, clGreen, clGreen},  // one colour
        {rbRaisedpsb, clRed, clBlue, clBlue},
        {rbNone, clRed, clBlue, clBlue},        // unlike the shape painters', the two colours
    };
    for (const Case& c : cases) {
        SetUp();
        PaintTriangle(c.style);
        EXPECT_EQ(At(10, 4), c.right) << static_cast<int>(c.style);
        EXPECT_EQ(At(16, 10), c.down) << static_cast<int>(c.style);
        EXPECT_EQ(At(10, 10), c.closing) << static_cast<int>(c.style);
    }
}

TEST_F(Painted, ASinglePointPaintsNothing)
{
    region_.Border()->SetStyle(rbRaised);
    SetPoints(region_, {{5, 5}});
    region_.SetShape(rsPointList);
    region_.PaintRegionShape(bitmap_.Canvas(), Rect(0, 0, 24, 24));
    EXPECT_TRUE(AllWhite()) << "one point has no segment";
}

TEST_F(Painted, SolidShadowFillsTheShiftedShapeOutsideIt)
{
    region_.SetShape(rsRect);
    region_.Shadow()->SetStyle(hssSolid);
    region_.Shadow()->SetDepth(4);
    region_.Shadow()->SetColor(clNavy);
    region_.CreateRegion(Rect(0, 0, 20, 20));
    TRect r = Rect(0, 0, 20, 20);
    region_.DrawShadow(bitmap_.Canvas(), r);
    EXPECT_EQ(r.right, 16);
    EXPECT_EQ(r.bottom, 16);
    EXPECT_EQ(At(18, 18), clNavy);
    EXPECT_EQ(At(10, 10), clWhite) << "the shape itself is not shadowed";
    EXPECT_EQ(At(2, 18), clWhite);
}

// Every shape's border on a white 60 x 40 bitmap, raised: looking in from outside along a
// probe line, the upper or left side meets LightColor first and the lower or right side
// ShadowColor. The canvas's clip is the same afterwards.
class PaintedShape : public PaintedOn<60, 40> {
protected:
    void SetUp() override
    {
        PaintedOn::SetUp();
        region_.Border()->SetStyle(rbRaised);
    }
    // The first painted pixel from (x, y) on in steps of (dx, dy); white when none.
    TColor FirstPainted(int x, int y, int dx, int dy)
    {
        for (; x >= 0 && x < 60 && y >= 0 && y < 40; x += dx, y += dy)
            if (At(x, y) != clWhite)
                return At(x, y);
        return clWhite;
    }
};

TEST_F(PaintedShape, EveryShapeFramesUpperLeftLightAndLowerRightShadow)
{
    // The probe is a row (scanned from the left and from the right) or a column (from
    // the top and from the bottom), placed where the shape's edge has one colour.
    struct Case {
        TOBLRegionShape shape;
        bool column;
        int at;
    };
    const Case cases[] = {
        {rsRect, false, 20},       {rsRoundRect, false, 20},         {rsNoseRect, true, 30},
        {rsRoundNoseRect, true, 30}, {rsElliptic, false, 20},         {rsStar, false, 12},
        {rsRoundShield, false, 20}, {rsSharpShield, false, 20},       {rsDiamond, true, 15},
        {rsOctagon, true, 30},     {rsComb, true, 15},               {rsHalfRound, false, 20},
        {rsThinkBubble, false, 25}, {rsRoundThinkBubble, false, 25}, {rsEllipticThinkBubble, false, 25},
    };
    HDC dc = bitmap_.Canvas()->Handle();
    OwnedRgn clip(CreateRectRgn(0, 0, 60, 40));
    for (const Case& c : cases) {
        SetUp();
        SelectClipRgn(dc, clip.h);
        region_.SetShape(c.shape);
        region_.PaintRegionShape(bitmap_.Canvas(), Rect(0, 0, 60, 40));
        const int shape = static_cast<int>(c.shape);
        OwnedRgn after(CreateRectRgn(0, 0, 0, 0));
        ASSERT_EQ(GetClipRgn(dc, after.h), 1) << shape;
        EXPECT_TRUE(EqualRgn(after.h, clip.h)) << shape;
        SelectClipRgn(dc, nullptr);
        if (c.column) {
            EXPECT_EQ(FirstPainted(c.at, 0, 0, 1), clRed) << shape;
            EXPECT_EQ(FirstPainted(c.at, 39, 0, -1), clBlue) << shape;
        } else {
            EXPECT_EQ(FirstPainted(0, c.at, 1, 0), clRed) << shape;
            EXPECT_EQ(FirstPainted(59, c.at, -1, 0), clBlue) << shape;
        }
    }
}

// The nose's base is left open: the body's edge along it is not framed, the rest is.
TEST_F(PaintedShape, NoseBaseStaysUnframed)
{
    struct Case {
        TOBLRegionShape shape;
        int openY, framedY;
    };
    // W div 10 = 6: the body's left edge is at x 6; the base starts 5 (plain) or RoundY
    // 20 (round) below its top at y 6 and is 8 long.
    const Case cases[] = {{rsNoseRect, 15, 30}, {rsRoundNoseRect, 30, 15}};
    for (const Case& c : cases) {
        SetUp();
        region_.SetShape(c.shape);
        region_.PaintRegionShape(bitmap_.Canvas(), Rect(0, 0, 60, 40));
        EXPECT_EQ(FirstPainted(0, c.openY, 1, 0), clBlue) << "past the open base the right edge";
        EXPECT_EQ(FirstPainted(0, c.framedY, 1, 0), clRed);
        OwnedRgn after(CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(GetClipRgn(bitmap_.Canvas()->Handle(), after.h), 0) << "no clip before, none after";
    }
}

} // namespace

namespace {

// Region handles made on the way are deleted: rebuilding, applying and painting leave
// no GDI object behind.
TEST_F(WindowRegion, BuildingApplyingAndPaintingLeaveNoRegionBehind)
{
    TBitmap canvas;
    canvas.SetSize(60, 40);
    region_.Shadow()->SetStyle(hssSolid);
    for (TPoint p : {TPoint{0, 0}, TPoint{30, 0}, TPoint{0, 30}})
        region_.Points()->AddPoint(p);
    auto cycle = [&] {
        for (int shape = 0; shape <= static_cast<int>(rsPointList); ++shape) {
            region_.SetShape(static_cast<TOBLRegionShape>(shape));
            region_.CreateRegion(Rect(0, 0, 60, 40));
            region_.SetRegion();
            region_.PaintRegionShape(canvas.Canvas(), Rect(0, 0, 60, 40));
        }
        region_.FreeRegion();
    };
    cycle();
    const int live = GdiLiveObjectCount();
    cycle();
    cycle();
    EXPECT_EQ(GdiLiveObjectCount(), live);
}

} // namespace
