// The speed button's faces, checked by pixels, and its styles.
#include "ButtonScene.h"
#include "GraphicFixture.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kFace = 0xC0C0C0, kShadow = 0x808080,
                        kGlyph = 0x006400;

class SpeedButtonTest : public GraphicFixture {
protected:
    TStateButton<TOBLSpeedButton>* Make(TOBLUserButtonStyle style, bool combo, TOBLButtonState state)
    {
        auto* b = new TStateButton<TOBLSpeedButton>(form_);
        b->SetParent(form_);
        b->SetStyle(style);
        b->SetBounds(10, 10, 40, 24);
        TBitmap glyph;
        SmallGlyph(&glyph);
        b->SetGlyph(&glyph);
        if (combo) {
            b->SetDropDown(new TPopupMenu(form_));
            b->SetDropDownCombo(true);
        }
        b->Force(state);
        form_->Invalidate();
        form_->Update();
        return b;
    }
    // The first glyph pixel, row by row; (-1, -1) when no glyph pixel shows.
    TPoint GlyphAt(TControl* b)
    {
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x)
                if (PixelOf(b, x, y) == kGlyph)
                    return Point(x, y);
        return Point(-1, -1);
    }
};

TEST_F(SpeedButtonTest, EveryStateHasItsFace)
{
    struct Case {
        TOBLUserButtonStyle style;
        bool combo;
        TOBLButtonState state;
        std::uint32_t topLeft, bottomRight;  // the face's corners
        std::uint32_t arrowTopRight;         // the arrow face's corner (face corner without one)
        int glyphShift;                      // -1: the glyph is greyed
        bool dithered;                       // a pressed group member's checkered face
    };
    const Case cases[] = {
        {ubsWin40, false, bsUp, kWhite, kBlack, kBlack, 0, false},
        {ubsWin40, false, bsMouseOver, kWhite, kBlack, kBlack, 0, false},
        {ubsWin40, false, bsDown, kBlack, kWhite, kWhite, 1, false},
        {ubsWin40, false, bsDisabledUp, kWhite, kBlack, kBlack, -1, false},
        {ubsWin40, false, bsOptionSet, kBlack, kWhite, kWhite, 1, true},
        {ubsWin40, false, bsDropDownOpen, kBlack, kWhite, kWhite, 1, false},
        {ubsFlat, false, bsUp, kFace, kFace, kFace, 0, false},
        {ubsFlat, false, bsMouseOver, kWhite, kShadow, kShadow, 0, false},
        {ubsFlat, false, bsDown, kShadow, kWhite, kWhite, 1, false},
        {ubsFlat, false, bsDisabledUp, kFace, kFace, kFace, -1, false},
        {ubsFlat, false, bsOptionSet, kShadow, kWhite, kWhite, 1, true},
        {ubsFlat, false, bsDropDownOpen, kShadow, kWhite, kWhite, 1, false},
        // Split: the main face looks hot while the menu is open, the arrow face open; the
        // caption and glyph stay where they are.
        {ubsFlat, true, bsDropDownOpen, kWhite, kShadow, kWhite, 0, false},
        {ubsFlat, true, bsDown, kShadow, kWhite, kFace, 1, false},
        {ubsWin40, true, bsDropDownOpen, kWhite, kBlack, kWhite, 0, false},
        {ubsWin40, true, bsUp, kWhite, kBlack, kBlack, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << int(c.style) << " combo " << c.combo << " state "
                                        << int(c.state));
        TStateButton<TOBLSpeedButton>* up = Make(c.style, c.combo, bsUp);
        const TPoint upGlyph = GlyphAt(up);
        up->Free();
        auto* b = Make(c.style, c.combo, c.state);
        EXPECT_EQ(PixelOf(b, 0, 0), c.topLeft);
        const int faceRight = c.combo ? b->Width() - b->DropDownComboWidth() - 1 : b->Width() - 1;
        EXPECT_EQ(PixelOf(b, faceRight, b->Height() - 1), c.bottomRight);
        EXPECT_EQ(PixelOf(b, b->Width() - 1, 0), c.arrowTopRight);
        const TPoint glyph = GlyphAt(b);
        if (c.glyphShift < 0) {
            EXPECT_EQ(glyph.x, -1) << "a disabled glyph is greyed";
            // In the up glyph's place, the embossed image: the black frame in the shadow
            // colour with its highlight one pixel down and right, the rest see-through.
            const TPoint cell = Point(upGlyph.x - 2, upGlyph.y - 2);
            const auto at = [&](int x, int y) { return PixelOf(b, cell.x + x, cell.y + y); };
            for (int i : {1, 4, 8}) {
                EXPECT_EQ(at(i, 1), kShadow) << "top of the frame, " << i;
                EXPECT_EQ(at(1, i), kShadow) << "left of the frame, " << i;
                EXPECT_EQ(at(8, i), kShadow) << "right of the frame, " << i;
                EXPECT_EQ(at(i, 8), kShadow) << "bottom of the frame, " << i;
                EXPECT_EQ(at(9, i + 1), kWhite) << "highlight right of the frame, " << i;
                EXPECT_EQ(at(i + 1, 9), kWhite) << "highlight below the frame, " << i;
            }
            EXPECT_EQ(at(3, 2), kWhite) << "highlight inside, below the frame's top";
            EXPECT_EQ(at(2, 3), kWhite) << "highlight inside, right of the frame's left";
            for (TPoint p : {Point(4, 4), Point(0, 0), Point(9, 0), Point(0, 9)})
                EXPECT_EQ(at(p.x, p.y), kFace) << "the face shows through at " << p.x << "," << p.y;
        } else {
            EXPECT_EQ(glyph.x, upGlyph.x + c.glyphShift);
            EXPECT_EQ(glyph.y, upGlyph.y + c.glyphShift);
        }
        EXPECT_EQ(PixelOf(b, 3, 12) != PixelOf(b, 4, 12), c.dithered);
        b->Free();
    }
}

TEST_F(SpeedButtonTest, TheArrowTriangleNeedsAnArrowArea)
{
    auto* b = Make(ubsWin40, false, bsUp);
    b->SetGlyph(nullptr);
    b->SetDropDown(new TPopupMenu(form_));
    form_->Invalidate();
    form_->Update();
    for (int y = 3; y < b->Height() - 3; ++y)
        for (int x = 3; x < b->Width() - 3; ++x)
            ASSERT_EQ(PixelOf(b, x, y), kFace) << x << "," << y;
    b->SetDropDownCombo(true);
    form_->Update();
    const int x = b->Width() - b->DropDownComboWidth() + (b->DropDownComboWidth() - 3) / 2;
    const int y = (b->Height() - 3) / 2;
    EXPECT_EQ(PixelOf(b, x + 2, y), kBlack) << "the triangle's top row";
    EXPECT_EQ(PixelOf(b, x + 2, y + 2), kBlack) << "its tip";
}

TEST_F(SpeedButtonTest, TheContentLiesInsideTheBevelOnce)
{
    // With the glyph at the top left, its place tells how far the content was shrunk.
    TPoint at[2];
    const TOBLUserButtonStyle styles[2] = {ubsWin40, ubsFlat};
    for (int i = 0; i < 2; ++i) {
        auto* b = Make(styles[i], false, bsUp);
        b->ButtonLayout()->SetAlignment(agTopLeft);
        form_->Update();
        at[i] = GlyphAt(b);
        b->Free();
    }
    const int difference = OBLGetButtonBevel(ubsWin40, bsUp) - OBLGetButtonBevel(ubsFlat, bsUp);
    ASSERT_NE(difference, 0);
    EXPECT_EQ(at[0].x - at[1].x, difference);
    EXPECT_EQ(at[0].y - at[1].y, difference);
}

TEST_F(SpeedButtonTest, ExplorerStylesAreTransparentAndShowTheContainersBackground)
{
    auto* b = Add<TOBLSpeedButton>(10, 10);
    b->SetStyle(ubsExplorer);
    EXPECT_TRUE(b->Transparent());
    EXPECT_FALSE(b->ControlStyle().Contains(csOpaque));
    b->SetStyle(ubsFlat);
    EXPECT_FALSE(b->Transparent());
    EXPECT_TRUE(b->ControlStyle().Contains(csOpaque));
    b->SetTransparent(true);
    b->SetStyle(ubsWin31);
    EXPECT_TRUE(b->Transparent()) << "between other styles the setting stays";

    auto* panel = Add<TGradientPanel>(0, 0);
    panel->SetBounds(0, 0, 200, 150);
    auto* over = Add<TOBLSpeedButton>(20, 60, panel);
    over->SetStyle(ubsExplorer);
    form_->Update();
    panel->areaRequests = 0;
    over->Invalidate();
    form_->Update();
    EXPECT_GT(panel->areaRequests, 0);
    for (int y : {1, 10, 20})
        EXPECT_EQ(PixelOf(over, 5, y), Rgb(TGradientPanel::ColorAtRow(60 + y, 150))) << y;
    // A container without a cached background: the button fills with its colour.
    panel->lends = false;
    over->Invalidate();
    form_->Update();
    EXPECT_EQ(PixelOf(over, 5, 10), Rgb(over->Color()));
}

TEST_F(SpeedButtonTest, GlyphKindsAndTheirStoredGlyph)
{
    auto* b = Add<TOBLSpeedButton>(10, 10);
    TBitmap glyph;
    SmallGlyph(&glyph);
    b->SetGlyph(&glyph);
    b->SetGlyphKind(gkFolder);
    EXPECT_TRUE(b->Glyph()->Empty()) << "a built-in kind clears the glyph";
    b->RequestDefaultGlyph();
    EXPECT_EQ(b->Glyph()->Width(), OBLGlyphCellWidth);
    EXPECT_EQ(b->NumGlyphs(), 1);
}

} // namespace

namespace {

// A component of the form that lends the form's background, as the form shape does.
class TFormBackground : public TComponent, public TOBLBackProvider {
    VENDARO_CLASS(TFormBackground, TComponent)
public:
    explicit TFormBackground(TComponent* owner) : TComponent(owner) {}
    bool IsFormShape() override { return true; }
    bool BackBitmapCheck() override { return true; }
    TBitmap* BackBitmap() override { return nullptr; }
    bool BackDrawArea(TCanvas* canvas, const TRect& rect, const TPoint& point, WORD flags) override
    {
        origins.push_back(point);
        canvas->Brush()->SetColor(clTeal);
        canvas->FillRect(rect);
        return true;
    }
    TPoint BackMapPoint(const TPoint& point) override { return point; }
    std::vector<TPoint> origins;
};

TEST_F(SpeedButtonTest, OnAFormTheBackgroundComesFromTheFormShape)
{
    auto* b = Add<TOBLSpeedButton>(30, 40);
    b->SetStyle(ubsExplorer);
    // A container elsewhere on the form lends its background to its own children only.
    auto* panel = Add<TGradientPanel>(150, 10);
    panel->SetBounds(150, 10, 100, 100);
    form_->Update();
    panel->areaRequests = 0;
    b->Invalidate();
    form_->Update();
    EXPECT_EQ(PixelOf(b, 5, 10), Rgb(b->Color())) << "no form shape lends a background yet";
    EXPECT_EQ(panel->areaRequests, 0);
    auto* background = new TFormBackground(form_);
    b->Invalidate();
    form_->Update();
    ASSERT_FALSE(background->origins.empty());
    EXPECT_EQ(V(background->origins.back()), V(Point(30, 40))) << "the button's place in the form";
    EXPECT_EQ(PixelOf(b, 5, 10), Rgb(clTeal));
}

} // namespace
