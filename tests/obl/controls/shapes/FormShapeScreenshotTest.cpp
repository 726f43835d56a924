// Shaped forms on a real X display (Xvfb): what lies outside a form's region shows the
// desktop behind it. The screen is read back from a second connection and saved as
// "formshape-screen.png" in the screenshots folder beside the test program.
#include "obl/controls/graphic/OBLSpeedButton.h"
#include "obl/controls/shapes/OBLFormShape.h"
#include "obl/core/startup/OBLUnits.h"

#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/user/Input.h"
#include "tests/obl/controls/shapes/RootScreen.h"
#include "tests/support/TestDisplay.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr int kScreenWidth = 830, kScreenHeight = 300;

bool ReadScreen(const std::string& displayName, Surface& into)
{
    return ReadRootScreen(displayName, kScreenWidth, kScreenHeight, into);
}

class FormShapeScreenshot : public testing::Test {
protected:
    void SetUp() override
    {
        if (!TestDisplay::Installed())
            GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(display_.Install());
        ResetControlsState();
        FormsInitialization();
        OBLInitializeUnits();
    }
    void TearDown() override
    {
        if (!display_.Running())
            return;
        OBLFinalizeUnits();
        FormsFinalization();
        ResetControlsState();
        UserResetWindowSystem();
        display_.Stop();
    }

    TForm* MakeForm(const char* caption, int left, TColor color)
    {
        auto* form = new TForm(Application);
        form->SetBorderStyle(bsSingle);
        form->SetCaption(caption);
        form->SetColor(color);
        form->SetBounds(left, 30, 240, 220);
        return form;
    }

    // Shows the forms and waits until the server shows what they painted.
    void ShowAndSettle(std::initializer_list<TForm*> forms)
    {
        for (TForm* f : forms)
            f->Show();
        for (TForm* f : forms) {
            Surface shown;
            EXPECT_EQ(TestDisplay::ReadBackWhenShown(f->Handle(), shown, [] { UserPumpMessages(); }), 0)
                << "the window shows what the form painted";
        }
    }

    TestDisplay display_{250, kScreenWidth, kScreenHeight};
};

TEST_F(FormShapeScreenshot, TheDesktopShowsWhereTheRegionCutsTheFormAway)
{
    Surface before;
    ASSERT_TRUE(ReadScreen(display_.Name(), before));

    // A diamond with a raised border on a gradient fill, its caption kept.
    TForm* diamond = MakeForm("Diamond", 20, clBtnFace);
    auto* s1 = new TOBLFormShape(diamond);
    s1->Region()->SetShape(rsDiamond);
    s1->Region()->Border()->SetStyle(rbRaised);
    s1->Region()->Border()->SetLightColor(clWhite);
    s1->Region()->Border()->SetShadowColor(clNavy);
    s1->FillObject()->Gradient()->SetColor(static_cast<TColor>(RGB(255, 200, 0)));
    s1->FillObject()->Gradient()->SetEndColor(static_cast<TColor>(RGB(200, 40, 40)));
    s1->FillObject()->SetFillStyle(sfGradient);
    auto* label = new TLabel(diamond);
    label->SetParent(diamond);
    label->SetBounds(92, 90, 60, 16);
    label->SetCaption("OBL");
    s1->Loaded();

    // An arrow of user points with a shadow, without caption.
    TForm* arrow = MakeForm("Arrow", 290, static_cast<TColor>(RGB(40, 140, 220)));
    auto* s2 = new TOBLFormShape(arrow);
    s2->SetShowFormCaption(false);
    s2->Region()->Shadow()->SetStyle(hssSolid);
    s2->Region()->Shadow()->SetColor(clGray);
    s2->Region()->Border()->SetStyle(rbRaised);
    s2->Region()->Border()->SetLightColor(clWhite);
    s2->Region()->Border()->SetShadowColor(clBlack);
    const TPoint points[] = {{0, 60}, {120, 60}, {120, 0}, {220, 90}, {120, 180}, {120, 120}, {0, 120}};
    s2->Region()->SetShape(rsPointList);
    s2->SetPolygonShape(points, 7);
    s2->Loaded();

    // A rectangle with a round nose at its upper left corner, its body framed raised, a
    // gradient fill and a transparent button showing that fill through its face.
    TForm* nose = MakeForm("Nose", 560, clBtnFace);
    auto* s3 = new TOBLFormShape(nose);
    s3->Region()->SetShape(rsRoundNoseRect);
    s3->Region()->Border()->SetStyle(rbRaised);
    s3->Region()->Border()->SetLightColor(clWhite);
    s3->Region()->Border()->SetShadowColor(clNavy);
    s3->FillObject()->Gradient()->SetColor(static_cast<TColor>(RGB(120, 220, 120)));
    s3->FillObject()->Gradient()->SetEndColor(static_cast<TColor>(RGB(20, 90, 160)));
    s3->FillObject()->SetFillStyle(sfGradient);
    auto* button = new TOBLSpeedButton(nose);
    button->SetParent(nose);
    button->SetStyle(ubsExplorer);
    button->SetTransparent(true);
    button->SetCaption("Go");
    button->SetBounds(80, 80, 80, 30);
    s3->Loaded();

    ShowAndSettle({diamond, arrow, nose});
    Surface screen;
    ASSERT_TRUE(ReadScreen(display_.Name(), screen));
    EXPECT_TRUE(TestDisplay::SavePng(screen, "formshape-screen.png"));

    const TPoint d = diamond->ClientToScreen(Point(0, 0));
    const int dw = diamond->ClientWidth(), dh = diamond->ClientHeight();
    const TPoint a = arrow->ClientToScreen(Point(0, 0));
    const TPoint n = nose->ClientToScreen(Point(0, 0));
    const int nh = nose->ClientHeight();
    struct Probe {
        const char* what;
        TPoint at;
        bool desktop;
    };
    const Probe probes[] = {
        {"diamond's lower left corner", {d.x + 3, d.y + dh - 3}, true},
        {"diamond's lower right corner", {d.x + dw - 3, d.y + dh - 3}, true},
        {"diamond's middle", {d.x + dw / 2, d.y + dh / 2 + 20}, false},
        {"diamond's caption", {d.x + 10, d.y - 8}, false},
        {"arrow's caption strip", {a.x + 10, a.y - 8}, true},
        {"above the arrow's shaft", {a.x + 20, a.y + 30}, true},
        {"the arrow's shaft", {a.x + 20, a.y + 90}, false},
        {"the arrow's head", {a.x + 150, a.y + 90}, false},
        {"left of the nose's body", {n.x + 2, n.y + nh - 20}, true},
        {"the nose", {n.x + 16, n.y + 40}, false},
        {"the nose's body", {n.x + 60, n.y + nh / 2}, false},
    };
    for (const Probe& p : probes) {
        const bool same = screen.Pixel(p.at.x, p.at.y) == before.Pixel(p.at.x, p.at.y);
        EXPECT_EQ(same, p.desktop) << p.what << " at " << p.at.x << "," << p.at.y;
    }
}

} // namespace
