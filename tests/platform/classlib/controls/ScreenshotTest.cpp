// The dialog in a real X window under Xvfb: created from its description, painted, driven by
// injected input and closed; the window's pixels are read back from the X server.
#include "tests/platform/classlib/controls/ControlsFixture.h"

#include "platform/win/gdi/Surface.h"
#include "tests/support/TestDisplay.h"

namespace {

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

void PumpFor(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        Application->ProcessMessages();
        usleep(10000);
    }
}

class ScreenshotTest : public ControlsTest {
protected:
    void TearDown() override
    {
        ControlsTest::TearDown();
        UserInstallDisplay(nullptr);
    }
};

} // namespace

TEST_F(ScreenshotTest, DialogShowsInARealXWindowAndIsDrivenAndClosed)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(141, 800, 600);
    ASSERT_TRUE(display.Install());
    TTestDialog* form = ShowDialog();

    Surface shown;
    ASSERT_EQ(TestDisplay::ReadBackWhenShown(form->Handle(), shown, [] { Application->ProcessMessages(); }), 0)
        << "the real window shows what the dialog painted";
    TPoint origin = form->ClientOrigin();
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    auto at = [&](TControl* control, int x, int y) {
        TPoint p = control->ClientToScreen(Point(x, y));
        return shown.Pixel(p.x - window.left, p.y - window.top);
    };
    EXPECT_EQ(shown.Pixel(origin.x - window.left + 420, origin.y - window.top + 295), Rgb(GetSysColor(COLOR_BTNFACE)))
        << "form client";
    EXPECT_EQ(at(form->Edit1(), 200, 10), Rgb(GetSysColor(COLOR_WINDOW))) << "edit";
    EXPECT_EQ(at(form->ListBox1(), 200, 100), Rgb(GetSysColor(COLOR_WINDOW))) << "list box";
    EXPECT_EQ(at(form->OkButton(), 4, 20), Rgb(GetSysColor(COLOR_BTNFACE))) << "button face";
    // The group box's etched frame runs through the middle of its caption's line.
    form->GroupBox1()->Canvas()->SetFont(form->GroupBox1()->Font());
    int line = form->GroupBox1()->Canvas()->TextHeight("0") / 2;
    TPoint box0 = form->GroupBox1()->ClientOrigin();
    auto boxAt = [&](int x, int y) { return shown.Pixel(box0.x - window.left + x, box0.y - window.top + y); };
    EXPECT_EQ(boxAt(300, line), Rgb(GetSysColor(COLOR_BTNHIGHLIGHT))) << "group box frame light";
    EXPECT_EQ(boxAt(300, line - 1), Rgb(GetSysColor(COLOR_BTNSHADOW))) << "group box frame shadow";
    EXPECT_EQ(boxAt(300, 20), Rgb(GetSysColor(COLOR_BTNFACE))) << "group box inside";
    EXPECT_EQ(at(form->CheckBox1(), 134, 1), Rgb(GetSysColor(COLOR_BTNFACE))) << "check box background";
    EXPECT_TRUE(TestDisplay::SavePng(shown, "vendaro-controls-dialog.png"));

    // Driven through the real window: tick a box, type a path, then close with Escape.
    TPoint box = form->CheckBox1()->ClientToScreen(Point(6, 8));
    UserInjectClick(box.x, box.y);
    PumpFor(5);
    form->Edit1()->SetFocus();
    UserInjectText("C:\\dbVendaroBase4.mdb");
    PumpFor(10);
    EXPECT_TRUE(form->CheckBox1()->Checked());
    EXPECT_EQ(form->Edit1()->Text(), "C:\\dbVendaroBase4.mdb");
    Surface driven;
    EXPECT_EQ(TestDisplay::ReadBackWhenShown(form->Handle(), driven, [] { Application->ProcessMessages(); }), 0);
    EXPECT_TRUE(TestDisplay::SavePng(driven, "vendaro-controls-dialog-driven.png"));
    if (TestDisplay::CanSaveScreen()) {
        EXPECT_TRUE(display.SaveScreen("vendaro-controls-root.png"));
    }
    form->SetOnClose(TCloseEvent());
    UserInjectKeyStroke(VK_ESCAPE);
    PumpFor(2);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    form->Close();
    EXPECT_TRUE(Application->Terminated());
    FormsFinalization();
    UserResetWindowSystem();
    display.Stop();
}
