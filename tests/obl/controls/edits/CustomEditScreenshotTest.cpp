// One picture of the single-line edit's states: plain, selected in each alignment, scrolled
// while typing, a wide right-aligned line at its start, a password, custom buttons at the
// right edge, a raised 3D caption, disabled and fitted to a larger font; saved as a PNG
// under the build folder.
#include "CustomEditFixture.h"

#include "platform/win/gdi/Gdi.h"
#include "tests/support/TestDisplay.h"

#include <filesystem>
#include <functional>

namespace {

constexpr int kLeft = 110, kTop = 8, kRow = 32, kWidth = 170;

struct State {
    const char* label;
    std::function<void(TOBLCustomEdit&)> set;
};

class CustomEditScreenshot : public CustomEditFixture {
protected:
    // Each edit is focused while its state is set, so that its selection shows, and keeps
    // showing it once focus moves on.
    TOBLCustomEdit* Place(int top, const State& state)
    {
        TOBLCustomEdit* e = NewEdit(kLeft, top, "", kWidth);
        e->SetBoolean(0, false);
        Focus(e);
        state.set(*e);
        Pump();
        return e;
    }
};

TEST_F(CustomEditScreenshot, EditStates)
{
    const std::vector<State> states = {
        {"plain", [](TOBLCustomEdit& e) { e.SetText("Vendaro 5"); }},
        {"selected, left", [](TOBLCustomEdit& e) { e.SetText("Vendaro 5"); e.SetSelStart(3); e.SetSelLength(4); }},
        {"selected, right", [](TOBLCustomEdit& e) {
             e.SetAlignment(taRightJustify);
             e.SetText("Vendaro 5");
             e.SetSelStart(3);
             e.SetSelLength(4);
         }},
        {"selected, centre", [](TOBLCustomEdit& e) {
             e.SetAlignment(taCenter);
             e.SetText("Vendaro 5");
             e.SetSelStart(3);
             e.SetSelLength(4);
         }},
        {"typed past the edge", [](TOBLCustomEdit&) { Type("the quick brown fox jumps over the dog"); }},
        {"centre, scrolled", [](TOBLCustomEdit& e) {
             e.SetAlignment(taCenter);
             Type("the quick brown fox jumps over the dog");
             for (int i = 0; i < 3; ++i) Key(VK_LEFT, true);
         }},
        {"right, wide, Home", [](TOBLCustomEdit& e) {
             e.SetAlignment(taRightJustify);
             e.SetText("the quick brown fox jumps over the dog");
             Key(VK_HOME);
         }},
        {"password", [](TOBLCustomEdit& e) { e.SetPasswordChar('*'); e.SetText("secret"); }},
        {"custom buttons", [](TOBLCustomEdit& e) {
             e.SetText("with buttons at the edge");
             e.CustomButtons()->Add()->SetCaption("...");
             e.CustomButtons()->Add()->SetCaption("v");
         }},
        {"raised 3D caption", [](TOBLCustomEdit& e) {
             e.Font3D()->SetStyle(tdRaised);
             e.Font3D()->SetDepth(0, 1);
             e.SetText("Vendaro 5");
             e.SelectAll();
         }},
        {"disabled", [](TOBLCustomEdit& e) { e.SetText("Vendaro 5"); e.SetEnabled(false); }},
        {"auto size, 14 px", [](TOBLCustomEdit& e) {
             e.Font()->SetHeight(-14);
             e.SetAutoSize(true);
             e.SetText("Qp fitted");
         }},
    };
    form_->SetColor(clBtnFace);
    form_->SetBounds(0, 0, kLeft + kWidth + 16, kTop + static_cast<int>(states.size()) * kRow + 8);
    std::vector<TOBLCustomEdit*> edits;
    for (std::size_t i = 0; i < states.size(); ++i)
        edits.push_back(Place(kTop + static_cast<int>(i) * kRow, states[i]));
    form_->SetFocus();
    form_->Invalidate();
    form_->Update();
    Pump();

    const TRect& selected = edits[1]->TextRect();
    EXPECT_TRUE(Highlighted(edits[1], selected.left + WidthOf(edits[1], "Ve") + 1, selected.top));
    EXPECT_GT(edits[4]->ScrollOffset(), 0);
    EXPECT_LT(edits[6]->ScrollOffset(), 0) << "the wide right-aligned line shows its start";
    EXPECT_EQ(edits[7]->DisplayText(), "******");
    EXPECT_EQ(edits[8]->CustomButtons()->GetItem(1)->Btn()->BoundsRect().right, edits[8]->ClientWidth());
    EXPECT_GT(edits[11]->Height(), 21);

    const Surface* shown = UserWindowSurface(form_->Handle());
    ASSERT_NE(shown, nullptr);
    Surface picture = *shown;
    HDC dc = GdiCreateSurfaceDC(&picture, POINT{0, 0}, nullptr);
    ASSERT_NE(dc, nullptr);
    TCanvas labels;
    labels.SetHandle(dc);
    labels.Font()->SetName("MS Sans Serif");
    labels.Font()->SetHeight(-11);
    labels.Brush()->SetStyle(bsClear);
    for (std::size_t i = 0; i < states.size(); ++i)
        labels.TextOut(6, kTop + static_cast<int>(i) * kRow + 5, states[i].label);
    labels.SetHandle(nullptr);
    GdiDeleteSurfaceDC(dc);
    ASSERT_TRUE(TestDisplay::SavePng(picture, "custom-edit.png"));
    EXPECT_GT(std::filesystem::file_size(TestDisplay::ScreenshotPath("custom-edit.png")), 2000u);
}

} // namespace
