// Styled forms in real X windows under Xvfb: the styled title bar, active and inactive,
// over a picture background and over an owner-drawn one, saved as PNG screenshots.
#include "obl/controls/forms/OBLBack.h"
#include "obl/controls/forms/OBLFormStyler.h"
#include "obl/core/app/Oblsysin.h"
#include "obl/core/containers/oblcont.h"
#include "obl/core/draw/Oblutils.h"
#include "tests/obl/controls/forms/FormsFixture.h"
#include "tests/support/TestDisplay.h"

#include <memory>

namespace {

// A diagonal band of warm colours on an owner-drawn background.
struct Stripes : TObject {
    void Paint(TObject*, TCanvas* canvas, const TRect& rect)
    {
        OBLGradientPaint(canvas, rect, static_cast<TColor>(0x60C0FF), static_cast<TColor>(0x2040A0), 24, gstVertical,
                         0, 0);
        canvas->Brush()->SetColor(clWhite);
        canvas->Pen()->SetColor(static_cast<TColor>(0x204080));
        canvas->Ellipse(rect.right / 2 - 30, rect.bottom / 2 - 30, rect.right / 2 + 30, rect.bottom / 2 + 30);
    }
};

class FormsScreenshotTest : public FormsFixture {
protected:
    static void Save(TForm* form, const char* name, Surface& shown)
    {
        EXPECT_EQ(TestDisplay::ReadBackWhenShown(form->Handle(), shown, [] { Pump(); }), 0)
            << name << ": the X window shows what the form painted";
        EXPECT_TRUE(TestDisplay::SavePng(shown, name)) << name;
    }
    // The bar's right end: the last step of the gradient towards the caption colour, or the
    // window's own bar.
    static std::uint32_t BarEnd(TForm* form, const Surface& shown)
    {
        RECT bar{}, text{};
        WORD flags = OBLNC_CAPTIONTOTEXTEND;
        OBLNCCalcDrawingArea(form->Handle(), bar, text, flags);
        return shown.Pixel(bar.right - 1, bar.top);
    }
};

TEST_F(FormsScreenshotTest, StyledFormsWithEachPainterActiveAndInactive)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(231, 800, 600);
    ASSERT_TRUE(display.Install());

    // A picture of an image list behind the first form; the default styler over it.
    TForm* pictured = MakeForm(300, 160, clBtnFace, 30, 30);
    pictured->SetCaption("Archivio articoli");
    auto* list = new TOBLBitmapList(pictured);
    std::unique_ptr<TBitmap> tile(Quarters(24, 24, static_cast<TColor>(0xE0F0F0), static_cast<TColor>(0xC8DCE6),
                                           static_cast<TColor>(0xC8DCE6), static_cast<TColor>(0xB4C8D2)));
    AddPicture(list, tile.get());
    ShowAndPaint(pictured);
    auto* back = new TOBLBack(pictured);
    back->SetImageList(list);
    back->Loaded();
    auto* plainStyler = new TOBLFormStyler(pictured);
    plainStyler->SetColors(24);
    plainStyler->Loaded();

    // An owner-drawn background behind the second; its styler paints while inactive too,
    // with a font and a 3D effect of its own.
    TForm* drawn = MakeForm(300, 160, clBtnFace, 380, 30, bsSingle);
    drawn->SetCaption("Listino prezzi");
    Stripes stripes;
    ShowAndPaint(drawn);
    auto* fill = new TOBLCustomFormFill(drawn);
    fill->SetPaintMode(pcOwnerDraw);
    fill->SetOnPaint(TOBLPaintEvent(&stripes, &Stripes::Paint));
    fill->Loaded();
    auto* fancy = new TOBLFormStyler(drawn);
    fancy->SetOptions(TOBLFormStyleOptions{fsAdjustRect, fsUseFontColor, fsInactiveGradient, fsUseFormCaption});
    fancy->SetColors(64);
    fancy->SetAlignment(taCenter);
    fancy->Font()->SetName("Arial");
    fancy->Font()->SetHeight(-13);
    fancy->Font()->SetStyle(TFontStyles{fsBold, fsItalic});
    fancy->Font()->SetColor(clYellow);
    fancy->Font3D()->SetStyle(tdRaisedShadow);
    fancy->Loaded();

    Surface shown;
    ASSERT_EQ(GetActiveWindow(), drawn->Handle());
    Save(drawn, "forms-ownerdraw-active.png", shown);
    EXPECT_EQ(BarEnd(drawn, shown), PixelOf(clActiveCaption));
    Save(pictured, "forms-back-inactive.png", shown);
    // The window's own inactive bar: a grey of its gradient, none of the styler's colours.
    const std::uint32_t own = BarEnd(pictured, shown);
    EXPECT_EQ(own & 0xFF, (own >> 16) & 0xFF);
    EXPECT_NE(own, PixelOf(clInactiveCaption));

    pictured->SetFocus();
    Pump();
    ASSERT_EQ(GetActiveWindow(), pictured->Handle());
    Save(pictured, "forms-back-active.png", shown);
    EXPECT_EQ(BarEnd(pictured, shown), PixelOf(clActiveCaption));
    EXPECT_EQ(FormsFixture::ClientPixel(pictured, 0, 0), 0xF0F0E0u);
    Save(drawn, "forms-ownerdraw-inactive.png", shown);
    EXPECT_EQ(BarEnd(drawn, shown), PixelOf(clInactiveCaption));

    delete pictured;
    delete drawn;
    display.Stop();
}

} // namespace
