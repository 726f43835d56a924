// One picture of fill panels (brush, gradient, stretched bitmap; captions at several places,
// one rotated) and button panels (grids of several shapes and styles, one over a gradient),
// saved as a PNG in the build folder's screenshots.
#include "PanelFixture.h"

#include "obl/controls/panels/OBLButtonPanel.h"
#include "tests/support/Screenshot.h"

namespace {

class TShownFillPanel : public TOBLCustomPanelFill {
    VENDARO_CLASS(TShownFillPanel, TOBLCustomPanelFill)
public:
    explicit TShownFillPanel(TComponent* owner) : TOBLCustomPanelFill(owner) {}
};

class FillPanelScreenshotTest : public PanelFixture {
protected:
    TShownFillPanel* Fill(int left, int top, const char* caption, TOBLAlignment alignment)
    {
        auto* p = AddWindowed<TShownFillPanel>(left, top);
        p->SetBounds(left, top, 120, 70);
        p->Bevel()->SetBevelStyleOuter(bvRaised);
        p->Bevel()->SetBevelStyleInner(bvLowered);
        p->SetCaption(caption);
        p->SetAlignment(alignment);
        p->Font()->SetName(OBL_DEFAULTFONT);
        return p;
    }
    TOBLButtonPanel* Buttons(int left, int top, int count, int width, TOBLUserButtonStyle style)
    {
        auto* p = AddWindowed<TOBLButtonPanel>(left, top);
        p->Bevel()->SetBevelStyleOuter(bvRaised);
        p->SetBtnSize(1, 36);
        p->SetBtnSize(0, 22);
        p->SetBtnStyle(style);
        for (int i = 0; i < count; ++i) {
            const int index = p->AddButton();
            p->Buttons()->GetItem(index)->SetCaption(AnsiString(("B" + std::to_string(index + 1)).c_str()));
        }
        p->SetBounds(left, top, width, 30);
        return p;
    }
};

TEST_F(FillPanelScreenshotTest, FillPanelsAndButtonPanels)
{
    form_->SetBounds(0, 0, 520, 260);
    form_->SetColor(static_cast<TColor>(RGB(190, 200, 220)));

    TShownFillPanel* brush = Fill(8, 8, "Pennello", agTopLeft);
    brush->FillObject()->Brush()->SetColor(static_cast<TColor>(RGB(250, 230, 160)));
    brush->FillObject()->SetFillStyle(sfBrush);

    TShownFillPanel* gradient = Fill(136, 8, "Sfumato", agCenter);
    gradient->FillObject()->Gradient()->SetColor(clNavy);
    gradient->FillObject()->Gradient()->SetEndColor(clAqua);
    gradient->FillObject()->Gradient()->SetStyle(gstHorizontal);
    gradient->FillObject()->SetFillStyle(sfGradient);
    gradient->Font()->SetColor(clWhite);

    TShownFillPanel* stretched = Fill(264, 8, "Bitmap", agBottomRight);
    TBitmap quarters;
    quarters.SetPixelFormat(pf24bit);
    quarters.SetSize(2, 2);
    quarters.Canvas()->SetPixels(0, 0, clRed);
    quarters.Canvas()->SetPixels(1, 0, clLime);
    quarters.Canvas()->SetPixels(0, 1, clBlue);
    quarters.Canvas()->SetPixels(1, 1, clYellow);
    stretched->FillObject()->SetBitmap(&quarters);
    stretched->FillObject()->SetTileMode(tmStretch);
    stretched->FillObject()->SetFillStyle(sfBitmap);

    TShownFillPanel* rotated = Fill(392, 8, "Ruotato", agCenter);
    rotated->SetBounds(392, 8, 60, 120);
    rotated->CaptionFx()->SetAngle(90);
    rotated->FillObject()->Brush()->SetColor(static_cast<TColor>(RGB(200, 230, 200)));
    rotated->FillObject()->SetFillStyle(sfBrush);

    // A 3-column grid of 7, a row of 4 flat ones, one column of 2, and a grid on a gradient.
    Buttons(8, 90, 7, 116, ubsWin40);
    Buttons(136, 90, 4, 160, ubsFlat);
    Buttons(8, 170, 2, 40, ubsWin31);
    TOBLButtonPanel* onGradient = Buttons(136, 150, 6, 116, ubsExplorer);
    onGradient->FillObject()->Gradient()->SetColor(clMaroon);
    onGradient->FillObject()->Gradient()->SetEndColor(clYellow);
    onGradient->FillObject()->Gradient()->SetStyle(gstVertical);
    onGradient->FillObject()->SetFillStyle(sfGradient);
    Redraw();

    const Surface* surface = UserWindowSurface(form_->Handle());
    ASSERT_NE(surface, nullptr);
    ASSERT_NO_FATAL_FAILURE(SaveScreenshot(*surface, "panels-fill-and-buttons.png", 5000u));

    // The bevel's light and dark lines frame the fill.
    EXPECT_EQ(PixelOf(brush, 0, 0), Rgb(brush->Bevel()->LightColor()));
    EXPECT_EQ(PixelOf(brush, 119, 69), Rgb(brush->Bevel()->ShadowColor()));
    // The fills show inside the bevels, the stretched bitmap in its four quarters.
    EXPECT_EQ(PixelOf(brush, 100, 30), Rgb(static_cast<TColor>(RGB(250, 230, 160))));
    EXPECT_EQ(PixelOf(stretched, 20, 15), Rgb(clRed));
    EXPECT_EQ(PixelOf(stretched, 100, 55), Rgb(clYellow));
    EXPECT_EQ(onGradient->Width(), 3 * 36 + 2);
    EXPECT_EQ(onGradient->Height(), 2 * 22 + 2);
}

} // namespace
