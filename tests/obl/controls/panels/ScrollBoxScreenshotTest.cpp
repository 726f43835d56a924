// One picture of the scroll box's states on a gradient form: the window's edge with and
// without Ctl3D, custom and edged bevels, both scroll bars, and transparent boxes whose
// transparent children (every other one) show the form's gradient, before and after
// scrolling; saved as a PNG under the build folder.
#include "ScrollBoxFixture.h"

#include "platform/win/gdi/Gdi.h"
#include "tests/support/TestDisplay.h"

#include <filesystem>
#include <functional>

namespace {

constexpr int kColumn = 200, kRow = 150, kWidth = 180, kHeight = 110;

struct State {
    const char* name;
    std::function<void(TProbeScrollBox&)> set;
};

class ScrollBoxScreenshot : public ScrollBoxFixture {};

TEST_F(ScrollBoxScreenshot, ScrollBoxStates)
{
    GradientForm();
    form_->SetBounds(0, 0, 3 * kColumn + 12, 2 * kRow + 12);
    Redraw();
    const std::vector<State> states = {
        {"windows edge", [](TProbeScrollBox&) {}},
        {"no Ctl3D", [](TProbeScrollBox& b) { b.SetCtl3D(false); }},
        {"custom bevel", [](TProbeScrollBox& b) {
             b.Bevel()->SetMode(bmCustom);
             b.Bevel()->SetBevelStyleOuter(bvRaised);
             b.Bevel()->SetBevelWidthOuter(2);
             b.Bevel()->SetBorderWidth(2);
             b.Bevel()->SetBevelStyleInner(bvLowered);
         }},
        {"edged, both bars", [](TProbeScrollBox& b) {
             b.Bevel()->SetMode(bmEdge);
             b.Bevel()->SetEdgeStyle(etBump);
             static_cast<TControl*>(b.Controls(0))->SetWidth(260);
         }},
        {"transparent", [](TProbeScrollBox& b) { b.SetTransparent(true); }},
        {"transparent, scrolled", [](TProbeScrollBox& b) { b.SetTransparent(true); }},
    };
    std::vector<TProbeScrollBox*> boxes;
    for (std::size_t i = 0; i < states.size(); ++i) {
        const int left = 8 + static_cast<int>(i % 3) * kColumn, top = 8 + static_cast<int>(i / 3) * kRow;
        auto* box = Add<TProbeScrollBox>(left, top);
        box->SetBounds(left, top, kWidth, kHeight);
        box->SetColor(clWindow);
        for (int row = 0; row < 4; ++row) {
            auto* child = Add<TBackChild>(8, 8 + 50 * row, box);
            child->SetBounds(8, 8 + 50 * row, 120, 36);
            child->SetColor(clBtnFace);
            // In a transparent box every other child is opaque, to show where they are.
            if (row % 2 == 0) child->SetTransparent(false);
        }
        states[i].set(*box);
        box->Realign();
        boxes.push_back(box);
    }
    Redraw();
    WheelDown(boxes[5]);
    ClickDownArrow(boxes[5]);
    // The transparent ones show the form's gradient in their client area and children.
    for (int i : {4, 5}) {
        EXPECT_EQ(WrongRows(boxes[i], 150, boxes[i]->ClientHeight()), std::vector<int>{}) << i;
        EXPECT_EQ(WrongRows(boxes[i]->Controls(1), 60, 36), std::vector<int>{}) << i;
    }
    EXPECT_EQ(PixelOf(boxes[0], 150, 20), Rgb(clWindow));
    EXPECT_TRUE(boxes[3]->ScrollBarsVisible());

    const Surface* shown = UserWindowSurface(form_->Handle());
    ASSERT_NE(shown, nullptr);
    Surface picture = *shown;
    HDC dc = GdiCreateSurfaceDC(&picture, POINT{0, 0}, nullptr);
    ASSERT_NE(dc, nullptr);
    TCanvas labels;
    labels.SetHandle(dc);
    labels.Font()->SetName("MS Sans Serif");
    labels.Font()->SetHeight(-11);
    labels.Font()->SetColor(clWhite);
    labels.Brush()->SetStyle(bsClear);
    for (std::size_t i = 0; i < states.size(); ++i)
        labels.TextOut(8 + static_cast<int>(i % 3) * kColumn, 8 + static_cast<int>(i / 3) * kRow + kHeight + 6,
                       states[i].name);
    labels.SetHandle(nullptr);
    GdiDeleteSurfaceDC(dc);
    ASSERT_TRUE(TestDisplay::SavePng(picture, "panels-scrollbox.png"));
    EXPECT_GT(std::filesystem::file_size(TestDisplay::ScreenshotPath("panels-scrollbox.png")), 3000u);
}

} // namespace
