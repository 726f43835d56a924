#include "DemoDialog.h"

#include "platform/win/gdi/Surface.h"
#include "tests/support/TestDisplay.h"

namespace {

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Draws the owner-drawn face: a solid fill, darker when pushed.
void AnswerDrawItem(HWND form) {
    UserTest::Answer(form, WM_DRAWITEM, [](WPARAM, LPARAM l) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        HBRUSH brush = CreateSolidBrush((item->itemState & ODS_SELECTED) ? RGB(0, 64, 32) : kOwnerDrawFace);
        FillRect(item->hDC, &item->rcItem, brush);
        DeleteObject(brush);
        return TRUE;
    });
}

void ExpectDialogPixels(const Surface& s, const DemoDialog& d) {
    RECT wr{};
    GetWindowRect(d.form, &wr);
    auto at = [&](HWND w, int x, int y) {
        POINT p{x, y};
        ClientToScreen(w, &p);
        return s.Pixel(p.x - wr.left, p.y - wr.top);
    };
    EXPECT_EQ(s.Pixel(4, 10), Rgb(GetSysColor(COLOR_ACTIVECAPTION))) << "caption";
    EXPECT_EQ(at(d.form, 280, 150), Rgb(GetSysColor(COLOR_BTNFACE))) << "client";
    EXPECT_EQ(at(d.button, 20, 12), Rgb(kOwnerDrawFace)) << "owner-drawn button";
    EXPECT_EQ(at(d.edit, 240, 10), Rgb(GetSysColor(COLOR_WINDOW))) << "edit";
    EXPECT_EQ(at(d.list, 3, 3), Rgb(GetSysColor(COLOR_WINDOW))) << "list box";
}

class DialogRenderTest : public UserTest {};

TEST_F(DialogRenderTest, HeadlessDialogPaintsEveryControlAndReactsToClicks) {
    HWND form = Create(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 40, 40, 360, 260, nullptr, 0,
                       "ProceduraImportazione");
    AnswerDrawItem(form);
    const DemoDialog d = CreateDemoDialog(form);
    Pump();
    ExpectDialogPixels(*UserWindowSurface(form), d);
    const POINT box = ScreenOf(d.check, 4, 8);
    UserInjectClick(box.x, box.y);
    const POINT item = ScreenOf(d.list, 10, 20);
    UserInjectClick(item.x, item.y);
    Pump();
    EXPECT_EQ(SendMessageA(d.check, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
    EXPECT_EQ(SendMessageA(d.list, LB_GETCURSEL, 0, 0), 20 / SendMessageA(d.list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(GetFocus(), d.list);
    EXPECT_TRUE(TestDisplay::SavePng(*UserWindowSurface(form), "vendaro-user-headless.png"));
}

TEST_F(DialogRenderTest, DialogShowsInARealXWindowUnderXvfb) {
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(91, 800, 600);
    ASSERT_TRUE(display.Install());
    HWND form = Create(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 40, 40, 360, 260, nullptr, 0,
                       "ProceduraImportazione");
    AnswerDrawItem(form);
    const DemoDialog d = CreateDemoDialog(form);
    Surface shown;
    EXPECT_EQ(TestDisplay::ReadBackWhenShown(form, shown, [this] { Pump(); }), 0)
        << "the real window shows what the dialog painted";
    ExpectDialogPixels(shown, d);
    EXPECT_TRUE(TestDisplay::SavePng(shown, "vendaro-user-x11.png"));
    if (TestDisplay::CanSaveScreen()) {
        EXPECT_TRUE(display.SaveScreen("vendaro-user-x11-root.png"));
    }
    UserResetWindowSystem();
    display.Stop();
}

}  // namespace
