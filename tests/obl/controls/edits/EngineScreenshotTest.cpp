// One picture of the edit engine's states: text with and without a selection, highlight
// colours, the bevel kinds around it, a flat border, a transparent edit over its
// container's gradient, the buffered background, and a text after typing, undo and redo;
// saved as a PNG under the build folder.
#include "EngineFixture.h"

#include "platform/win/gdi/Gdi.h"
#include "tests/support/Screenshot.h"

#include <functional>

namespace {

constexpr int kLeft = 110, kTop = 8, kRow = 34, kWidth = 150;

struct State {
    const char* label;
    std::function<void(TEngineEdit&)> set;
};

class EngineScreenshot : public EngineFixture {
protected:
    TEngineEdit* Place(TWinControl* parent, int left, int top, const State& state)
    {
        auto* edit = Add<TEngineEdit>(left, top, parent);
        edit->SetBounds(left, top, kWidth, 24);
        edit->Font()->SetName("MS Sans Serif");
        edit->Font()->SetHeight(-11);
        // Laid out as the edit's sizing does, then again for the bevel the state gives it.
        edit->SetupRects();
        state.set(*edit);
        edit->SetupRects();
        edit->Invalidate();
        return edit;
    }
};

TEST_F(EngineScreenshot, EngineStates)
{
    const std::vector<State> states = {
        {"plain", [](TEngineEdit& e) { e.SetText("Vendaro 5"); }},
        {"selected", [](TEngineEdit& e) { e.SetText("Vendaro 5"); e.Select(3, 4); }},
        {"colours", [](TEngineEdit& e) {
             e.SetText("Vendaro 5");
             e.SetHighlightBack(clMaroon);
             e.SetHighlightText(clYellow);
             e.SelectAll();
         }},
        {"custom bevel", [](TEngineEdit& e) {
             e.Bevel()->SetMode(bmCustom);
             e.Bevel()->SetBevelStyleOuter(bvRaised);
             e.Bevel()->SetBevelWidthOuter(2);
             e.SetHeight(28);
             e.SetText("raised");
         }},
        {"edge bevel", [](TEngineEdit& e) {
             e.Bevel()->SetMode(bmEdge);
             e.SetHeight(28);
             e.SetText("edged");
         }},
        {"flat", [](TEngineEdit& e) {
             e.Bevel()->SetMode(bmCustom);
             e.Bevel()->SetBevelStyleOuter(bvLowered);
             e.Bevel()->SetBevelWidthOuter(2);
             e.SetFlat(true);
             e.SetHeight(28);
             e.SetText("flat, border hidden");
         }},
        {"buffered", [](TEngineEdit& e) {
             e.SetColor(clInfoBk);
             e.SetText("through the back bitmap");
             e.CreateBack();
         }},
        {"type, undo, redo", [](TEngineEdit& e) {
             e.Type("abc");
             e.Undo();
             e.Redo();
             e.Type("d");
         }},
    };
    form_->SetColor(clBtnFace);
    form_->SetBounds(0, 0, kLeft + kWidth + 16, kTop + (static_cast<int>(states.size()) + 2) * kRow + 8);
    std::vector<TEngineEdit*> edits;
    for (std::size_t i = 0; i < states.size(); ++i)
        edits.push_back(Place(form_, kLeft, kTop + static_cast<int>(i) * kRow, states[i]));
    const int gradientTop = kTop + static_cast<int>(states.size()) * kRow;
    auto* panel = Add<TGradientContainer>(kLeft - 4, gradientTop);
    panel->SetBounds(kLeft - 4, gradientTop, kWidth + 8, 2 * kRow - 4);
    TEngineEdit* transparent = Place(panel, 4, 4, {"", [](TEngineEdit& e) {
                                                       e.SetTransparent(true);
                                                       e.Bevel()->SetMode(bmCustom);
                                                       e.Bevel()->SetBevelStyleOuter(bvLowered);
                                                       e.Bevel()->SetBevelWidthOuter(1);
                                                       e.SetText("over the gradient");
                                                       e.Select(6, 3);
                                                   }});
    form_->Invalidate();
    form_->Update();
    Pump();

    // The selection is painted in the highlight colours, the transparent edit shows the
    // gradient behind its text, the buffered one its own colour.
    EXPECT_EQ(PixelOf(edits[2], edits[2]->TextRect().left + 1, edits[2]->TextRect().top + 1), Rgb(clMaroon));
    EXPECT_EQ(PixelOf(transparent, transparent->ClientWidth() - 4, 12), Rgb(TGradientPanel::ColorAtRow(4 + 12, panel->Height())));
    EXPECT_EQ(PixelOf(edits[6], edits[6]->ClientWidth() - 4, 12), Rgb(clInfoBk));
    EXPECT_EQ(edits[7]->Str(), "abd");

    ASSERT_NO_FATAL_FAILURE(SaveLabelledWindow(form_->Handle(), "edit-engine.png", 2000u, [&](TCanvas& labels) {
        for (std::size_t i = 0; i < states.size(); ++i)
            labels.TextOut(6, kTop + static_cast<int>(i) * kRow + 6, states[i].label);
        labels.TextOut(6, gradientTop + 10, "transparent");
    }));
}

} // namespace
