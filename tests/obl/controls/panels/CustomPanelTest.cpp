// The panel's background from its parent: which parents lend one, where the panel's client
// area lies in it, and the pixels a transparent panel shows, through its effects or not.
#include "PanelFixture.h"

#include "platform/win/gdi/Gdi.h"

namespace {

class CustomPanelTest : public PanelFixture {};

TEST_F(CustomPanelTest, ANewPanelIsAnOpaqueContainerOfButtonFace)
{
    auto* p = AddWindowed<TProbePanel>(10, 10);
    EXPECT_EQ(p->Color(), clBtnFace);
    EXPECT_TRUE(p->ControlStyle() == (TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque,
                                                    csDoubleClicks, csReplicatable}));
}

TEST_F(CustomPanelTest, OnlyATransparentPanelOverALendingParentHasABackground)
{
    auto* lender = AddWindowed<TGradientContainer>(0, 0);
    lender->SetBounds(0, 0, 150, 100);
    auto* plainForm = new TForm(nullptr);
    plainForm->SetBounds(0, 0, 100, 100);
    plainForm->HandleNeeded();
    struct Case {
        const char* parent;
        TWinControl* where;
        bool lends;
    };
    GradientForm();
    for (const Case& k : {Case{"lending control", lender, true}, Case{"form with a form shape", form_, true},
                          Case{"plain form", plainForm, false}}) {
        auto* p = new TProbePanel(k.where);
        p->SetParent(k.where);
        p->SetBounds(160, 10, 40, 30);
        p->HandleNeeded();
        EXPECT_FALSE(p->BackBitmapCheck()) << k.parent;
        EXPECT_EQ(p->BackBitmap(), nullptr) << k.parent;
        p->SetTransparent(true);
        EXPECT_EQ(p->BackBitmapCheck(), k.lends) << k.parent;
        EXPECT_EQ(p->BackBitmap() != nullptr, k.lends) << k.parent;
    }
    FreeObject(plainForm);
}

TEST_F(CustomPanelTest, ATransparentPanelOnAPlainFormFillsWithItsColour)
{
    auto* p = AddWindowed<TProbePanel>(10, 10);
    p->SetColor(clLime);
    p->SetTransparent(true);
    Redraw();
    EXPECT_FALSE(p->BackBitmapCheck());
    EXPECT_EQ(PixelOf(p, 50, 20), Rgb(clLime));
}

TEST_F(CustomPanelTest, ASymmetricWindowBorderIsSkipped)
{
    GradientForm();
    auto* p = AddWindowed<TProbeBevelPanel>(30, 40);
    p->Bevel()->SetMode(bmWindows);
    p->SetBounds(30, 40, 104, 60);
    p->SetTransparent(true);
    p->HandleNeeded();
    ASSERT_EQ(p->Width() - p->ClientWidth(), 4);
    EXPECT_EQ(V(p->BackMapPoint(Point(0, 0))), (std::vector<int>{32, 42}));
    EXPECT_EQ(V(p->BackMapPoint(Point(7, 5))), (std::vector<int>{39, 47}));
    p->SetTransparent(false);
    EXPECT_EQ(V(p->BackMapPoint(Point(7, 5))), (std::vector<int>{7, 5})) << "no background, no mapping";
}

// Transparent panels on the gradient form, one inside another, show exactly the form's
// background under each of their pixels, border or not.
TEST_F(CustomPanelTest, TransparentPanelsShowTheFormsBackgroundUnderThem)
{
    GradientForm();
    auto* outer = AddWindowed<TProbeBevelPanel>(20, 30);
    outer->SetBounds(20, 30, 200, 160);
    outer->Bevel()->SetMode(bmWindows);
    outer->SetTransparent(true);
    auto* inner = AddWindowed<TProbePanel>(15, 25, outer);
    inner->SetBounds(15, 25, 120, 100);
    inner->SetTransparent(true);
    auto* opaque = AddWindowed<TProbePanel>(140, 25, outer);
    opaque->SetBounds(140, 25, 40, 40);
    opaque->SetColor(clLime);
    Redraw();
    ASSERT_TRUE(inner->BackBitmapCheck());
    for (TControl* c : std::initializer_list<TControl*>{outer, inner})
        for (int y : {0, 1, 37, 99})
            EXPECT_EQ(PixelOf(c, 10, y), FormBackUnder(c, 10, y)) << c->Left() << " row " << y;
    EXPECT_NE(PixelOf(inner, 10, 0), PixelOf(inner, 10, 99)) << "the gradient runs down the panel";
    EXPECT_EQ(PixelOf(opaque, 5, 5), Rgb(clLime));
}

TEST_F(CustomPanelTest, APanelInALendingControlCopiesItsPieceOfThePicture)
{
    auto* lender = AddWindowed<TGradientContainer>(0, 0);
    lender->SetBounds(0, 0, 200, 150);
    auto* p = AddWindowed<TProbePanel>(30, 50, lender);
    p->SetTransparent(true);
    Redraw();
    for (int y : {0, 20, 39}) EXPECT_EQ(PixelOf(p, 3, y), Rgb(TGradientPanel::ColorAtRow(50 + y, 150))) << y;
}

// The effects apply to the panel's piece of the background; passed on to the children,
// the panel copies the background plain.
TEST_F(CustomPanelTest, EffectsProcessTheBackgroundUnlessPassedOn)
{
    GradientForm();
    auto* p = AddWindowed<TProbePanel>(40, 50);
    p->SetTransparent(true);
    p->BackFX()->SetBool(3, true);
    Redraw();
    EXPECT_EQ(PixelOf(p, 6, 9), FormBackUnder(p, 6, 9) ^ 0xFFFFFFu) << "inverted";
    p->SetPassBackFX(true);
    Redraw();
    EXPECT_EQ(PixelOf(p, 6, 9), FormBackUnder(p, 6, 9));
}

// A buffered effect keeps its result: the panel copies it from the buffer, not from the
// parent's picture, until the buffer goes (as on a resize).
TEST_F(CustomPanelTest, ABufferedEffectIsCopiedFromItsBuffer)
{
    auto* lender = AddWindowed<TGradientContainer>(0, 0);
    lender->SetBounds(0, 0, 200, 150);
    auto* p = AddWindowed<TProbePanel>(30, 50, lender);
    p->SetTransparent(true);
    p->BackFX()->SetBool(3, true);
    p->BackFX()->SetBool(4, true);
    Redraw();
    ASSERT_TRUE(p->BackFX()->BufferValid());
    const std::uint32_t processed = Rgb(TGradientPanel::ColorAtRow(60, 150)) ^ 0xFFFFFFu;
    EXPECT_EQ(PixelOf(p, 3, 10), processed);
    // The lender's picture changes behind the buffer's back.
    lender->BackBitmap()->Canvas()->Brush()->SetColor(clLime);
    lender->BackBitmap()->Canvas()->FillRect(Rect(0, 0, 200, 150));
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(20, 20);
    ASSERT_TRUE(p->BackDrawArea(target.Canvas(), Rect(0, 0, 20, 20), Point(0, 0), 0));
    EXPECT_EQ(Rgb(target.Canvas()->Pixels(3, 10)), processed) << "from the buffer";
    p->SetBounds(30, 50, 90, 40);
    EXPECT_FALSE(p->BackFX()->BufferValid()) << "a resize drops the buffer";
    ASSERT_TRUE(p->BackDrawArea(target.Canvas(), Rect(0, 0, 20, 20), Point(0, 0), 0));
    EXPECT_EQ(Rgb(target.Canvas()->Pixels(3, 10)), Rgb(clLime) ^ 0xFFFFFFu);
}

} // namespace
