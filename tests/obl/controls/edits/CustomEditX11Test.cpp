// The single-line edit in a real X window under Xvfb: typed keys arrive as text, the line
// scrolls to keep the caret inside, and the window as the server shows it is saved as a PNG.
#include "CustomEditFixture.h"

#include "tests/support/TestDisplay.h"

namespace {

class CustomEditX11Test : public CustomEditFixture {};

TEST_F(CustomEditX11Test, TypedTextArrivesAndScrolls)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(360, 400, 200);
    ASSERT_TRUE(display.Install());
    auto* form = new TForm(form_);
    form->SetBorderStyle(bsNone);
    form->SetBounds(40, 40, 160, 41);
    form->Show();
    auto* e = new TOBLCustomEdit(form);
    e->SetParent(form);
    e->Font()->SetName("MS Sans Serif");
    e->Font()->SetHeight(-11);
    e->SetBounds(10, 10, 140, 21);
    e->SetHighlightBack(clMaroon);
    e->CustomButtons()->Add()->SetCaption("...");
    Pump();
    Focus(e);

    Type("Vendaro 5, importa e aggiorna");
    EXPECT_EQ(e->Text(), "Vendaro 5, importa e aggiorna");
    EXPECT_GT(e->ScrollOffset(), 0);
    const TPoint caret = CaretPos();
    EXPECT_GE(caret.x, e->TextRect().left);
    EXPECT_LE(caret.x, e->TextRect().right + 1);
    for (int i = 0; i < 7; ++i) Key(VK_LEFT, true);
    EXPECT_EQ(e->SelLength(), 7);

    Surface shown;
    const auto pump = [] { PumpKeys(); };
    EXPECT_EQ(TestDisplay::ReadBackWhenShown(form->Handle(), shown, pump), 0);
    // The selection's highlight reaches the server's picture, left of the custom button.
    const TPoint at = form->ScreenToClient(e->ClientToScreen(Point(e->TextRect().right - 3, e->TextRect().top)));
    EXPECT_EQ(shown.Pixel(at.x, at.y) & 0xFFFFFF, Rgb(clMaroon));
    EXPECT_TRUE(TestDisplay::SavePng(shown, "custom-edit-x11.png"));
    FreeObject(form);
}

} // namespace
