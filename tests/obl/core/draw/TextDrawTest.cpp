#include "obl/core/draw/OBL3DCaption.h"
#include "obl/core/draw/OBLButtonLayout.h"
#include "obl/core/draw/OBLFXCaption.h"
#include "obl/core/draw/Oblutils.h"
#include "platform/win/gdi/Gdi.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// Rectangles compared field by field, printed readably on failure.
struct R {
    int l, t, r, b;
    R(const RECT& x) : l(x.left), t(x.top), r(x.right), b(x.bottom) {}
    bool operator==(const R&) const = default;
};
[[maybe_unused]] std::ostream& operator<<(std::ostream& os, const R& r)
{
    return os << "(" << r.l << ", " << r.t << ", " << r.r << ", " << r.b << ")";
}

constexpr TColor kFace = static_cast<TColor>(RGB(0, 0, 200));
constexpr TColor kLight = static_cast<TColor>(RGB(230, 0, 0));
constexpr TColor kShadowInk = static_cast<TColor>(RGB(0, 160, 0));

class Page {
public:
    Page(int width, int height)
    {
        bitmap_.SetPixelFormat(pf32bit);
        bitmap_.SetSize(width, height);
        Clear();
        canvas()->Font()->SetName("Arial");
        canvas()->Font()->SetSize(12);
        canvas()->Font()->SetColor(kFace);
    }
    TCanvas* canvas() { return bitmap_.Canvas(); }
    void Clear()
    {
        canvas()->Brush()->SetStyle(bsSolid);
        canvas()->Brush()->SetColor(clWhite);
        canvas()->FillRect(Rect(0, 0, bitmap_.Width(), bitmap_.Height()));
    }
    // Bounding box of the pixels of the colour (any non-white colour without one).
    std::optional<TRect> Ink(std::optional<TColor> color = std::nullopt)
    {
        std::optional<TRect> box;
        for (int y = 0; y < bitmap_.Height(); ++y)
            for (int x = 0; x < bitmap_.Width(); ++x) {
                const TColor c = canvas()->Pixels(x, y);
                if (color ? c != *color : c == clWhite) continue;
                if (!box) box = Rect(x, y, x + 1, y + 1);
                box->left = std::min<int>(box->left, x);
                box->top = std::min<int>(box->top, y);
                box->right = std::max<int>(box->right, x + 1);
                box->bottom = std::max<int>(box->bottom, y + 1);
            }
        return box;
    }

private:
    TBitmap bitmap_;
};

bool Inside(const TRect& inner, const TRect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

struct LayoutCase {
    TOBLAlignment alignment;
    bool wordWrap;
    bool accelChars;
    TOBLThreeDStyle style;
    const char* text;
};

TEST(TextAndGlyph, DrawnTextStaysInTheMeasuredRectangle)
{
    const LayoutCase cases[] = {
        {agTopLeft, false, true, tdNone, "&Save"},
        {agCenter, false, false, tdNone, "a&&&&&&&&b"},
        {agBottomRight, false, true, tdRaised, "Raised"},
        {agCenterLeft, true, true, tdSunkenShadow, "two words"},
        {agTopCenter, true, false, tdShadow, "a&b &c"},
        {agBottomLeft, false, true, tdExtrude, "Extrude"},
        {agCenterRight, false, false, tdOutline, "&Outline"},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.text);
        Page page(200, 80);
        TOBL3DCaption effect;
        effect.SetStyle(c.style);
        effect.SetDepth(1, 2);
        TOBLButtonLayout layout;
        layout.SetAlignment(c.alignment);
        const TRect area = Rect(4, 4, 196, 76);

        TRect focus{};
        TOBLTextGlyphRects measured;
        OBLDrawTextAndGlyphExt(page.canvas(), c.text, &effect, area, nullptr, focus, nullptr, clNone, &layout,
                               c.wordWrap, c.accelChars, false, TOBLDrawTextStyles{dtEnabled, dtCalculate}, 0,
                               measured);
        ASSERT_FALSE(page.Ink()) << "measuring drew";

        TRect glyph{};
        TOBLTextGlyphRects drawn;
        OBLDrawTextAndGlyphExt(page.canvas(), c.text, &effect, area, nullptr, glyph, nullptr, clNone, &layout,
                               c.wordWrap, c.accelChars, false, TOBLDrawTextStyles{dtEnabled}, 0, drawn);
        EXPECT_EQ(R(drawn.Text), R(measured.Text));
        const auto ink = page.Ink();
        ASSERT_TRUE(ink);
        EXPECT_TRUE(Inside(*ink, measured.Text)) << ink->left << "," << ink->top << "," << ink->right << ","
                                                  << ink->bottom;
        // The ink reaches near the measured right edge: every measured character was drawn
        // (two pixels of margin, the effect's extent and the last glyph's bearing).
        EXPECT_GE(ink->right, measured.Text.right - 2 - 2 - 4);
    }
}

TEST(TextAndGlyph, EmptyTextCentresTheGlyphAlone)
{
    Page page(40, 40);
    TBitmap glyph;
    glyph.SetSize(10, 8);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(0, 0, 10, 8));
    TOBLButtonLayout layout;
    TRect source = Rect(0, 0, 10, 8);
    TOBLTextGlyphRects result;
    OBLDrawTextAndGlyphExt(page.canvas(), "", nullptr, Rect(0, 0, 40, 40), glyph.Canvas(), source, nullptr, clNone,
                           &layout, false, true, false, TOBLDrawTextStyles{dtEnabled}, 0, result);
    EXPECT_EQ(R(result.Glyph), R(Rect(15, 16, 25, 24)));
    ASSERT_TRUE(page.Ink(clRed));
    EXPECT_EQ(R(*page.Ink(clRed)), R(Rect(15, 16, 25, 24)));
}

TEST(TextAndGlyph, ArrowBesideTheGlyphIsDrawnInItsGap)
{
    constexpr TColor kArrow = static_cast<TColor>(RGB(0, 170, 0));
    TBitmap glyph;
    glyph.SetSize(10, 8);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(0, 0, 10, 8));
    // Glyph 10 x 8 alone in (0, 0, 60, 40): the block is 10 + indent 3 + arrow 5 wide,
    // centred at (21, 16); the arrow (5 x 3) sits at the glyph's middle height.
    const struct {
        TOBLArrowPosition position;
        TRect glyph, arrow;
    } cases[] = {
        {apRightGlyph, Rect(21, 16, 31, 24), Rect(34, 19, 39, 22)},
        {apLeftGlyph, Rect(29, 16, 39, 24), Rect(21, 19, 26, 22)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.position));
        Page page(60, 40);
        TOBLButtonLayout layout;
        layout.SetArrow(true);
        layout.SetArrowColor(kArrow);
        layout.SetArrowPosition(c.position);
        TRect source = Rect(0, 0, 10, 8);
        TOBLTextGlyphRects result;
        OBLDrawTextAndGlyphExt(page.canvas(), "", nullptr, Rect(0, 0, 60, 40), glyph.Canvas(), source, nullptr,
                               clNone, &layout, false, true, false, TOBLDrawTextStyles{dtEnabled}, 0, result);
        EXPECT_EQ(R(result.Glyph), R(c.glyph));
        ASSERT_TRUE(page.Ink(clRed));
        EXPECT_EQ(R(*page.Ink(clRed)), R(c.glyph)) << "the arrow keeps off the glyph";
        ASSERT_TRUE(page.Ink(kArrow));
        EXPECT_EQ(R(*page.Ink(kArrow)), R(c.arrow));
    }
    // Without a glyph the gap is reserved all the same, and the arrow is drawn in it, beside
    // the text and not over it.
    for (TOBLArrowPosition position : {apRightGlyph, apLeftGlyph}) {
        SCOPED_TRACE(static_cast<int>(position));
        Page page(120, 40);
        TOBLButtonLayout layout;
        layout.SetArrow(true);
        layout.SetArrowColor(kArrow);
        layout.SetArrowPosition(position);
        TRect none{};
        TOBLTextGlyphRects result;
        OBLDrawTextAndGlyphExt(page.canvas(), "Wm", nullptr, Rect(0, 0, 120, 40), nullptr, none, nullptr, clNone,
                               &layout, false, true, false, TOBLDrawTextStyles{dtEnabled}, 0, result);
        const auto arrow = page.Ink(kArrow);
        const auto text = page.Ink(kFace);
        ASSERT_TRUE(arrow);
        ASSERT_TRUE(text);
        EXPECT_EQ(arrow->right - arrow->left, 5);
        EXPECT_LE(arrow->right, text->left) << "left of the text, in the gap before it";
        EXPECT_GE(arrow->top, text->top);
        EXPECT_LE(arrow->bottom, text->bottom);
    }
}

TEST(TextDraw, RaisedDrawsLightAtTheOriginAndTheFaceOneDown)
{
    Page page(80, 30);
    TOBL3DCaption effect;
    effect.SetStyle(tdRaised);
    effect.SetColor(0, kLight);
    OBLDrawTextExt(page.canvas(), "H", &effect, Rect(5, 5, 75, 25), 0, TOBLDrawTextStyles{dtEnabled}, nullptr);
    const auto light = page.Ink(kLight), face = page.Ink(kFace);
    ASSERT_TRUE(light && face);
    EXPECT_EQ(face->left, light->left + 1);
    EXPECT_EQ(face->top, light->top + 1);
}

TEST(TextDraw, DisabledTextIsGreyOrSunken)
{
    Page page(80, 30);
    TOBL3DCaption effect;
    effect.SetColor(0, kLight);
    OBLDrawTextExt(page.canvas(), "H", &effect, Rect(5, 5, 75, 25), 0, TOBLDrawTextStyles{}, nullptr);
    EXPECT_TRUE(page.Ink(ColorToRGB(clGrayText)));
    EXPECT_FALSE(page.Ink(kLight));
    page.Clear();
    OBLDrawTextExt(page.canvas(), "H", &effect, Rect(5, 5, 75, 25), 0, TOBLDrawTextStyles{dt3DDisabled}, nullptr);
    EXPECT_TRUE(page.Ink(kLight)) << "sunken: the light copy shows";
}

TEST(TextDraw, RotationLeavesTheCanvasFontAsItWas)
{
    for (int angle : {0, 90, 180, 270}) {
        SCOPED_TRACE(angle);
        Page page(120, 120);
        TOBLFxCaption effect;
        effect.SetAngle(static_cast<TOBLAngle>(angle));
        effect.SetStyle(tdShadow);
        TRect r = Rect(0, 0, 120, 0);
        OBLDrawTextCalc("Turn", &effect, r, page.canvas()->Font(), false, true, 0, 0);
        OBLDrawTextExt(page.canvas(), "Turn", &effect, Rect(10, 10, 110, 110), 0, TOBLDrawTextStyles{dtEnabled},
                       nullptr);
        EXPECT_TRUE(page.Ink());
        LOGFONTA lf{};
        ASSERT_EQ(GetObjectA(page.canvas()->Font()->Handle(), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
        EXPECT_EQ(lf.lfEscapement, 0);
        EXPECT_EQ(page.canvas()->Font()->Name(), "Arial");
        EXPECT_EQ(page.canvas()->Font()->Size(), 12);
        EXPECT_EQ(page.canvas()->Font()->Color(), kFace);
    }
}

TEST(TextDraw, MeasuringRotatedTextStoresTheOriginSilently)
{
    TOBLFxCaption effect;
    effect.SetAngle(90);
    ChangeCounter changes(effect);
    TFont font;
    TRect r = Rect(0, 0, 100, 0);
    OBLDrawTextCalc("Rotated", &effect, r, &font, false, true, 0, 0);
    EXPECT_EQ(changes.count, 0);
    EXPECT_GT(r.bottom - r.top, r.right - r.left) << "a vertical text is taller than wide";
    EXPECT_NE(effect.PosY(), 0);

    effect.SetAngle(0);
    changes.count = 0;
    OBLDrawTextCalc("Flat", &effect, r, &font, false, true, 0, 0);
    EXPECT_EQ(effect.PosX(), 0);
    EXPECT_EQ(effect.PosY(), 0);
    EXPECT_EQ(changes.count, 0);
}

TEST(TextDraw, RotatedCaptionHidesItsPrefixCharacters)
{
    TOBLFxCaption effect;
    effect.SetAngle(90);
    // Ink of the text turned upwards from (20, 110), and the number of its pixels.
    const auto draw = [&](const char* text, int flags, int* pixels) {
        Page page(80, 120);
        effect.SetPosXY(0, 0);
        OBLDrawTextExt(page.canvas(), text, &effect, Rect(20, 110, 80, 120), flags, TOBLDrawTextStyles{dtEnabled},
                       nullptr);
        *pixels = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 80; ++x)
                if (page.canvas()->Pixels(x, y) != clWhite) ++*pixels;
        return page.Ink();
    };
    int plain = 0, prefixed = 0, literal = 0, single = 0, doubled = 0;
    const auto plainInk = draw("Wm", 0, &plain);
    const auto prefixedInk = draw("&Wm", 0, &prefixed);
    const auto literalInk = draw("&Wm", DT_NOPREFIX, &literal);
    ASSERT_TRUE(plainInk && prefixedInk && literalInk);
    // Along the turned baseline the prefixed caption is as long as the plain one; drawn
    // literally, the ampersand makes it longer.
    EXPECT_EQ(prefixedInk->top, plainInk->top);
    EXPECT_LT(literalInk->top, plainInk->top);
    // The accelerator is underlined: a line of the letter's width below the baseline.
    EXPECT_GT(prefixed, plain);
    EXPECT_GT(prefixedInk->right, plainInk->right);
    // "&&" shows one ampersand, as an ampersand drawn without prefix processing.
    const auto doubledInk = draw("&&", 0, &doubled);
    const auto singleInk = draw("&", DT_NOPREFIX, &single);
    ASSERT_TRUE(doubledInk && singleInk);
    EXPECT_EQ(doubled, single);
    EXPECT_EQ(R(*doubledInk), R(*singleInk));

    // Measured as drawn: with accelerator characters the prefix takes no room.
    TFont font;
    TRect withPrefix = Rect(0, 0, 100, 0), without = Rect(0, 0, 100, 0), literally = Rect(0, 0, 100, 0);
    OBLDrawTextCalc("&Wm", &effect, withPrefix, &font, false, true, 0, 0);
    OBLDrawTextCalc("Wm", &effect, without, &font, false, true, 0, 0);
    OBLDrawTextCalc("&Wm", &effect, literally, &font, false, false, 0, 0);
    EXPECT_EQ(R(withPrefix), R(without));
    EXPECT_GT(literally.bottom - literally.top, without.bottom - without.top);
}

TEST(TextDraw, ClippingGivesTheCallerItsClipRegionBack)
{
    Page page(100, 40);
    HDC dc = page.canvas()->Handle();
    HRGN own = CreateRectRgn(2, 3, 90, 35);
    SelectClipRgn(dc, own);
    DeleteObject(own);
    TOBL3DCaption effect;
    const TRect clip = Rect(0, 0, 20, 40);
    OBLDrawTextExt(page.canvas(), "Clipped text", &effect, Rect(5, 5, 95, 35), 0,
                   TOBLDrawTextStyles{dtEnabled, dtClip}, &clip);
    HRGN now = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetClipRgn(page.canvas()->Handle(), now), 1);
    RECT box{};
    GetRgnBox(now, &box);
    DeleteObject(now);
    EXPECT_EQ(R(box), R(Rect(2, 3, 90, 35)));

    // Pixels outside a clip region cannot be read back: look at the ink without one.
    SelectClipRgn(page.canvas()->Handle(), nullptr);
    const auto ink = page.Ink();
    ASSERT_TRUE(ink);
    EXPECT_LE(ink->right, 20) << R(*ink);

    // Without a clip region before, there is none after.
    Page plain(100, 40);
    OBLDrawTextExt(plain.canvas(), "x", &effect, Rect(5, 5, 95, 35), 0, TOBLDrawTextStyles{dtEnabled, dtClip},
                   nullptr);
    HRGN none = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(plain.canvas()->Handle(), none), 0);
    DeleteObject(none);
}

TEST(TextDraw, MeasuringOnALiveCanvasKeepsItsContextAndFont)
{
    Page page(100, 40);
    HDC before = page.canvas()->Handle();
    TFont other;
    other.SetName("Courier New");
    other.SetSize(30);
    TRect r = Rect(0, 0, 100, 0);
    OBLDrawTextCalcExt(page.canvas(), "Row", nullptr, r, &other, false, true, 0, 0);
    EXPECT_GT(r.bottom, 20);
    EXPECT_EQ(page.canvas()->Handle(), before);
    EXPECT_EQ(page.canvas()->Font()->Name(), "Arial");
    EXPECT_EQ(page.canvas()->Font()->Size(), 12);
    page.canvas()->TextOut(5, 5, "W");
    EXPECT_TRUE(page.Ink()) << "the canvas still draws into its bitmap";
}

TEST(TextDraw, MeasuringHelpers)
{
    TFont font;
    const int w = OBLGetFontHeight(&font);
    EXPECT_GT(w, 0);
    EXPECT_EQ(OBLGet3DTextHeight(nullptr, &font), w);
    TOBL3DCaption effect;
    effect.SetStyle(tdSunkenShadow);
    effect.SetDepth(0, 2);
    effect.SetDepth(1, 3);
    EXPECT_EQ(OBLGet3DTextHeight(&effect, &font), w + 5);
    EXPECT_EQ(OBLGet3DTextWidth("text", nullptr, &font), 0);
    EXPECT_GT(OBLGet3DTextWidth("text", &effect, &font), 5);

    // "&" with accelerators on measures as a blank.
    TRect amp = Rect(0, 0, 100, 0), blank = Rect(0, 0, 100, 0);
    OBLDrawTextCalc("&", nullptr, amp, &font, false, true, 0, 0);
    OBLDrawTextCalc(" ", nullptr, blank, &font, false, true, 0, 0);
    EXPECT_EQ(R(amp), R(blank));
}

TEST(TextDraw, AlignRectTable)
{
    const TRect inner = Rect(0, 0, 10, 4), outer = Rect(10, 20, 31, 35);
    const std::pair<TOBLAlignment, TRect> cases[] = {
        {agTopLeft, Rect(10, 20, 20, 24)},     {agTopCenter, Rect(15, 20, 25, 24)},
        {agTopRight, Rect(21, 20, 31, 24)},    {agCenterLeft, Rect(10, 25, 20, 29)},
        {agCenter, Rect(15, 25, 25, 29)},      {agCenterRight, Rect(21, 25, 31, 29)},
        {agBottomLeft, Rect(10, 31, 20, 35)},  {agBottomCenter, Rect(15, 31, 25, 35)},
        {agBottomRight, Rect(21, 31, 31, 35)},
    };
    for (auto [alignment, expected] : cases) EXPECT_EQ(R(OBLAlignRect(alignment, inner, outer)), R(expected));
}

} // namespace

namespace {

// The clip region of the context as a box; nothing when it has none.
std::optional<R> ClipBox(HDC dc)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    std::optional<R> box;
    if (GetClipRgn(dc, region) == 1) {
        RECT r{};
        GetRgnBox(region, &r);
        box = R(r);
    }
    DeleteObject(region);
    return box;
}

TEST(ClippingRoutines, BitmapsAndGradientsGiveTheClipRegionBack)
{
    TBitmap source;
    source.SetSize(10, 10);
    TList colours;
    OBLGradientCreateColorList(clBlack, clWhite, 4, &colours, true);
    const std::function<void(TCanvas*)> routines[] = {
        [&](TCanvas* c) { OBLBmpClipDrawExt(c, Rect(5, 5, 15, 15), source.Canvas(), Rect(0, 0, 10, 10), OBLBmpClip, 0, clNone, nullptr); },
        [&](TCanvas* c) { OBLGradientPaintExt(c, Rect(5, 5, 30, 30), gstVertical, &colours, nullptr, OBLGradClip, 0); },
    };
    for (const auto& routine : routines) {
        Page page(60, 40);
        HDC dc = page.canvas()->Handle();
        HRGN own = CreateRectRgn(1, 2, 50, 30);
        SelectClipRgn(dc, own);
        DeleteObject(own);
        routine(page.canvas());
        EXPECT_EQ(ClipBox(page.canvas()->Handle()), R(Rect(1, 2, 50, 30)));

        Page plain(60, 40);
        routine(plain.canvas());
        EXPECT_FALSE(ClipBox(plain.canvas()->Handle()));
    }
}

} // namespace
