#include "obl/controls/effects/OBLFillObject.h"
#include "obl/core/app/Oblsysin.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include "platform/win/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr COLORREF kBack = RGB(1, 130, 7);
constexpr TColor kInner = static_cast<TColor>(RGB(250, 240, 10));

std::unique_ptr<TBitmap> Surface(int width, int height)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(static_cast<TColor>(kBack));
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

// The device pixel, whatever origin the canvas has.
COLORREF At(TBitmap* bitmap, int x, int y)
{
    HDC dc = bitmap->Canvas()->Handle();
    POINT old;
    SetViewportOrgEx(dc, 0, 0, &old);
    COLORREF c = GetPixel(dc, x, y) & 0xFFFFFF;
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
    return c;
}

bool Inside(int x, int y, const TRect& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

void ExpectPixels(TBitmap* bitmap, const std::function<COLORREF(int, int)>& expected)
{
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x)
            if (At(bitmap, x, y) != expected(x, y)) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << At(bitmap, x, y) << ", expected "
                              << expected(x, y);
                return;
            }
}

std::unique_ptr<TBitmap> Picture(int width, int height, COLORREF color)
{
    auto bitmap = Surface(width, height);
    bitmap->Canvas()->Brush()->SetColor(static_cast<TColor>(color));
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

TEST(ShapeFill, NewObjectsHaveTheirDefaults)
{
    TOBLShapeFill shape;
    EXPECT_EQ(shape.Style(), sfBrush);
    EXPECT_EQ(shape.TileMode(), tmTile);
    EXPECT_EQ(shape.GetSetStr(), "{Brush}");
    TOBLFillObject fill;
    EXPECT_EQ(fill.Style(), sfNone);
    EXPECT_EQ(fill.Alignment(), agTopLeft);
    EXPECT_EQ(fill.Options(), (TOBLFillOptions{foFillInner, foGrUseBitmap}));
    auto bitmap = Surface(4, 4);
    EXPECT_FALSE(fill.FillCanvas(bitmap->Canvas(), Rect(0, 0, 4, 4), kInner));
    ExpectPixels(bitmap.get(), [](int, int) { return kBack; });
}

struct StyleCase {
    TOBLFillStyle style;
    TOBLTileMode tile;
    bool brushSolid, fillInner;
    const char* summary;
    bool transparent, mustRedraw;
};

TEST(ShapeFill, SummaryTransparencyAndRedrawFollowTheStyle)
{
    const StyleCase cases[] = {
        {sfNone, tmTile, true, true, "{Disabled}", true, true},
        {sfBrushBitmap, tmTile, true, true, "{}", false, false},
        {sfBrush, tmTile, true, false, "{Brush}", false, false},
        {sfBrush, tmTile, false, false, "{Brush}", true, false},
        {sfBrush, tmTile, false, true, "{Brush}", false, false},
        {sfBitmap, tmTile, true, false, "{Bitmap}", false, false},
        {sfBitmap, tmStretch, true, false, "{Bitmap}", false, true},
        {sfBitmapList, tmCenter, true, false, "{BitmapList}", true, true},
        {sfBitmapList, tmNone, true, true, "{BitmapList}", false, true},
        {sfGradient, tmTile, true, false, "{Gradient}", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.summary);
        TOBLFillObject fill;
        fill.SetFillStyle(c.style);
        fill.SetTileMode(c.tile);
        fill.Brush()->SetStyle(c.brushSolid ? bsSolid : bsCross);
        fill.SetOptions(c.fillInner ? TOBLFillOptions{foFillInner} : TOBLFillOptions{});
        EXPECT_EQ(fill.GetSetStr(), c.summary);
        EXPECT_EQ(fill.GetTransparent(), c.transparent);
        EXPECT_EQ(fill.GetMustRedraw(), c.mustRedraw);
    }
}

TEST(FillObject, OffsetsAndAlignmentNotifyOnlyWhereTheyShow)
{
    TOBLFillObject fill;
    fill.SetFillStyle(sfBitmap);
    ChangeCounter counter(fill);
    fill.SetInteger(0, 5);
    fill.SetAlignment(agCenter);
    EXPECT_EQ(fill.OffsetX(), 5);
    EXPECT_EQ(counter.count, 0) << "a tiled bitmap shows no placement";
    fill.SetTileMode(tmNone);
    EXPECT_EQ(counter.count, 1);
    fill.SetInteger(1, 3);
    fill.SetAlignment(agBottomRight);
    EXPECT_EQ(counter.count, 3);
    fill.Brush()->SetColor(clRed);
    EXPECT_EQ(counter.count, 4) << "the brush reports its changes";
}

TEST(FillObject, AssignCopiesAllButPlacementWithOneChange)
{
    TOBLFillObject source;
    source.SetFillStyle(sfGradient);
    source.SetTileMode(tmStretch);
    source.SetOptions({foQuickDraw});
    source.Brush()->SetColor(clRed);
    source.Gradient()->SetStyle(gstSquare);
    source.SetInteger(0, 7);
    source.SetAlignment(agCenter);
    auto picture = Picture(3, 2, RGB(9, 9, 9));
    source.SetBitmap(picture.get());
    TOBLFillObject target;
    ChangeCounter counter(target);
    target.Assign(&source);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(target.Style(), sfGradient);
    EXPECT_EQ(target.TileMode(), tmStretch);
    EXPECT_EQ(target.Options(), TOBLFillOptions{foQuickDraw});
    EXPECT_EQ(target.Brush()->Color(), clRed);
    EXPECT_EQ(target.Gradient()->Style(), gstSquare);
    EXPECT_EQ(target.Bitmap()->Width(), 3);
    EXPECT_EQ(target.OffsetX(), 0);
    EXPECT_EQ(target.Alignment(), agTopLeft);
}

TEST(FillObject, EmptyBitmapFillsTheInnerAndAnswersFalse)
{
    TOBLFillObject fill;
    fill.SetFillStyle(sfBitmap);
    auto bitmap = Surface(6, 5);
    EXPECT_FALSE(fill.FillCanvas(bitmap->Canvas(), Rect(1, 1, 4, 3), kInner));
    ExpectPixels(bitmap.get(), [](int x, int y) { return Inside(x, y, Rect(1, 1, 4, 3)) ? ColorToRGB(kInner) : kBack; });
}

TEST(FillObject, SolidBrushFillsInItsColour)
{
    TOBLFillObject fill;
    fill.SetFillStyle(sfBrush);
    fill.Brush()->SetColor(static_cast<TColor>(RGB(20, 40, 60)));
    auto bitmap = Surface(6, 5);
    EXPECT_TRUE(fill.FillCanvas(bitmap->Canvas(), Rect(2, 0, 6, 3), kInner));
    ExpectPixels(bitmap.get(), [](int x, int y) { return Inside(x, y, Rect(2, 0, 6, 3)) ? RGB(20, 40, 60) : kBack; });
}

TEST(FillObject, HatchGapsArePaintedInTheColour)
{
    TOBLFillObject fill;
    fill.SetFillStyle(sfBrush);
    fill.Brush()->SetColor(static_cast<TColor>(RGB(0, 0, 0)));
    fill.Brush()->SetStyle(bsHorizontal);
    auto bitmap = Surface(16, 16);
    EXPECT_TRUE(fill.FillCanvas(bitmap->Canvas(), Rect(0, 0, 16, 16), kInner));
    int lines = 0, gaps = 0, other = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            COLORREF c = At(bitmap.get(), x, y);
            lines += c == RGB(0, 0, 0);
            gaps += c == ColorToRGB(kInner);
            other += c != RGB(0, 0, 0) && c != ColorToRGB(kInner);
        }
    EXPECT_EQ(lines, 2 * 16) << "one hatch line every eight rows";
    EXPECT_EQ(gaps, 14 * 16);
    EXPECT_EQ(other, 0) << "no gap shows what was there before";
    // The mode is again the one the canvas chose for its hatch brush.
    EXPECT_EQ(GetBkMode(bitmap->Canvas()->Handle()), TRANSPARENT);
}

TEST(FillObject, BrushBitmapOnOlderSystemsRepeatsTheTopLeftEightByEight)
{
    bool wasNT = OBLSIWindowsNT;
    OBLSIWindowsNT = false;
    struct Restore {
        bool was;
        ~Restore() { OBLSIWindowsNT = was; }
    } restore{wasNT};
    auto pattern = Picture(32, 32, RGB(200, 0, 0));
    pattern->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(0, 0, 200)));
    pattern->Canvas()->FillRect(Rect(0, 0, 4, 4));
    TOBLFillObject fill;
    fill.SetFillStyle(sfBrushBitmap);
    fill.SetBitmap(pattern.get());
    auto bitmap = Surface(24, 24);
    EXPECT_TRUE(fill.FillCanvas(bitmap->Canvas(), Rect(0, 0, 24, 24), kInner));
    ExpectPixels(bitmap.get(), [](int x, int y) { return x % 8 < 4 && y % 8 < 4 ? RGB(0, 0, 200) : RGB(200, 0, 0); });
    EXPECT_EQ(bitmap->Canvas()->Brush()->Bitmap(), nullptr) << "the pattern leaves the canvas brush";
}

TEST(FillObject, UntiledBitmapIsAlignedAndOffsetOverTheInner)
{
    auto picture = Picture(2, 2, RGB(0, 0, 200));
    TOBLFillObject fill;
    fill.SetFillStyle(sfBitmap);
    fill.SetTileMode(tmNone);
    fill.SetBitmap(picture.get());
    fill.SetAlignment(agBottomRight);
    fill.SetInteger(0, -1);
    fill.SetOptions({foFillInner, foQuickDraw});
    auto bitmap = Surface(8, 8);
    EXPECT_TRUE(fill.FillCanvas(bitmap->Canvas(), Rect(1, 1, 7, 7), kInner));
    // Bottom right of (1, 1, 7, 7) is (5, 5, 7, 7); one pixel left of that.
    ExpectPixels(bitmap.get(), [](int x, int y) {
        if (Inside(x, y, Rect(4, 5, 6, 7)))
            return RGB(0, 0, 200);
        return Inside(x, y, Rect(1, 1, 7, 7)) ? ColorToRGB(kInner) : kBack;
    });
}

TEST(FillObject, TiledBitmapCoversTheArea)
{
    auto picture = Picture(3, 3, RGB(0, 0, 200));
    picture->Canvas()->SetPixels(0, 0, static_cast<TColor>(RGB(200, 0, 0)));
    TOBLFillObject fill;
    fill.SetFillStyle(sfBitmap);
    fill.SetBitmap(picture.get());
    auto bitmap = Surface(6, 6);
    EXPECT_TRUE(fill.FillCanvas(bitmap->Canvas(), Rect(0, 0, 6, 6), kInner));
    ExpectPixels(bitmap.get(), [](int x, int y) { return x % 3 == 0 && y % 3 == 0 ? RGB(200, 0, 0) : RGB(0, 0, 200); });
}

TEST(FillObject, GradientThroughABitmapStaysInsideTheRectangle)
{
    TOBLFillObject fill;
    fill.SetFillStyle(sfGradient);
    fill.Gradient()->SetStyle(gstTopLeftDiagonal);
    auto bitmap = Surface(10, 10);
    EXPECT_TRUE(fill.FillCanvas(bitmap->Canvas(), Rect(2, 2, 8, 8), kInner));
    int changedInside = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            bool inside = Inside(x, y, Rect(2, 2, 8, 8));
            if (!inside)
                ASSERT_EQ(At(bitmap.get(), x, y), kBack) << x << "," << y;
            else
                changedInside += At(bitmap.get(), x, y) != kBack;
        }
    EXPECT_EQ(changedInside, 36);
}

// ClipFill on a canvas whose origin is moved and which already has a clip region.
TEST(FillObject, ClipFillWorksInDeviceCoordinatesAndKeepsTheCallersClip)
{
    TOBLFillObject fill;
    fill.SetFillStyle(sfBrush);
    fill.Brush()->SetColor(static_cast<TColor>(RGB(0, 0, 200)));
    auto bitmap = Surface(20, 20);
    HDC dc = bitmap->Canvas()->Handle();
    SetViewportOrgEx(dc, 10, 5, nullptr);
    // The caller's clip: device (0, 0, 14, 20).
    HRGN callers = CreateRectRgn(0, 0, 14, 20);
    SelectClipRgn(dc, callers);
    // Logical (-2, 0, 6, 4) is device (8, 5, 16, 9); the fill paints R, and R is all it may
    // paint, so only device (8, 5, 14, 9) changes.
    EXPECT_TRUE(fill.ClipFill(bitmap->Canvas(), Rect(-2, 0, 6, 4), kInner, 0));
    HRGN after = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetClipRgn(dc, after), 1) << "the caller's clip is still there";
    EXPECT_TRUE(EqualRgn(after, callers));
    DeleteObject(after);
    SelectClipRgn(dc, nullptr);
    DeleteObject(callers);
    ExpectPixels(bitmap.get(), [](int x, int y) { return Inside(x, y, Rect(8, 5, 14, 9)) ? RGB(0, 0, 200) : kBack; });
    SetViewportOrgEx(dc, 0, 0, nullptr);
}

TEST(FillObject, ClipFillMovesTheClipByTheOffsetAndLeavesNoClipWhereThereWasNone)
{
    TOBLFillObject fill;
    fill.SetFillStyle(sfBrush);
    fill.Brush()->SetColor(static_cast<TColor>(RGB(0, 0, 200)));
    auto bitmap = Surface(12, 12);
    // The canvas takes the fill's brush and its own pen and font once; counted from then on.
    fill.FillCanvas(bitmap->Canvas(), Rect(0, 0, 0, 0), kInner);
    bitmap->Canvas()->Handle();
    int before = GdiLiveObjectCount();
    // Clip (2, 2, 8, 8) moved by (3, 1): the fill of (2, 2, 8, 8) shows at (5, 3, 8, 8).
    EXPECT_TRUE(fill.ClipFill(bitmap->Canvas(), Rect(2, 2, 8, 8), kInner, 3 | (1 << 16)));
    EXPECT_EQ(GdiLiveObjectCount(), before) << "the regions are deleted";
    HRGN after = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(bitmap->Canvas()->Handle(), after), 0);
    DeleteObject(after);
    ExpectPixels(bitmap.get(), [](int x, int y) { return Inside(x, y, Rect(5, 3, 8, 8)) ? RGB(0, 0, 200) : kBack; });
}

} // namespace
