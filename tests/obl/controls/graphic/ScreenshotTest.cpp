// One picture of every kind of graphic button in every state, over a gradient container,
// saved as a PNG in the build folder's screenshots.
#include "ButtonScene.h"
#include "GraphicFixture.h"

#include "tests/support/Screenshot.h"

namespace {

constexpr int kColumn = 76, kRow = 34, kLeft = 4, kTop = 4;

class ScreenshotTest : public GraphicFixture {};

TEST_F(ScreenshotTest, EveryButtonKindInEveryState)
{
    struct Kind {
        const char* name;
        std::function<TOBLBaseGraphicButton*(TWinControl*, TOBLButtonState)> make;
    };
    auto* faces = FaceList(form_);
    TBitmap glyph;
    SmallGlyph(&glyph);
    auto speed = [&](TOBLUserButtonStyle style, bool combo) {
        return [&, style, combo](TWinControl* parent, TOBLButtonState state) -> TOBLBaseGraphicButton* {
            auto* b = new TStateButton<TOBLSpeedButton>(form_);
            b->SetParent(parent);
            b->SetStyle(style);
            b->SetBounds(0, 0, 64, 26);
            b->SetCaption("Apri");
            b->SetGlyph(&glyph);
            if (combo || state == bsDropDownOpen)
                b->SetDropDown(new TPopupMenu(form_));
            if (combo) {
                b->SetDropDownCombo(true);
                b->SetWidth(64);
            }
            b->Force(state);
            return b;
        };
    };
    auto mm = [&](bool transparent) {
        return [&, transparent](TWinControl* parent, TOBLButtonState state) -> TOBLBaseGraphicButton* {
            auto* b = new TStateButton<TOBLCustomMMButton>(form_);
            b->SetParent(parent);
            b->SetBounds(0, 0, kFaceWidth, kFaceHeight);
            b->SetTransparent(transparent);
            b->SetColor(clBtnFace);
            b->SetCaption("Play");
            b->Font()->SetColor(clWhite);
            UseFaces(b, faces);
            if (state == bsDropDownOpen)
                b->SetDropDown(new TPopupMenu(form_));
            b->Force(state);
            return b;
        };
    };
    const std::vector<Kind> kinds = {
        {"Win40", speed(ubsWin40, false)},         {"Win31", speed(ubsWin31, false)},
        {"Flat", speed(ubsFlat, false)},           {"Explorer", speed(ubsExplorer, false)},
        {"Navigator", speed(ubsNavigator, false)}, {"Win40 combo", speed(ubsWin40, true)},
        {"Flat combo", speed(ubsFlat, true)},      {"MM opaque", mm(false)},
        {"MM transparent", mm(true)},
    };
    form_->SetBounds(0, 0, kLeft + 6 * kColumn + 8, kTop + static_cast<int>(kinds.size()) * kRow + 8);
    auto* panel = new TGradientPanel(form_);
    panel->SetParent(form_);
    panel->SetBounds(0, 0, form_->Width(), form_->Height());
    std::vector<TOBLBaseGraphicButton*> buttons;
    for (std::size_t row = 0; row < kinds.size(); ++row)
        for (std::size_t column = 0; column < kSceneStates.size(); ++column) {
            TOBLBaseGraphicButton* b = kinds[row].make(panel, kSceneStates[column]);
            b->SetLeft(kLeft + static_cast<int>(column) * kColumn);
            b->SetTop(kTop + static_cast<int>(row) * kRow);
            EXPECT_EQ(b->State(), kSceneStates[column] == bsDisabledUp ? bsDisabledUp : kSceneStates[column])
                << kinds[row].name << " " << kSceneStateNames[column];
            buttons.push_back(b);
        }
    form_->Invalidate();
    form_->Update();
    const Surface* surface = UserWindowSurface(form_->Handle());
    ASSERT_NE(surface, nullptr);
    ASSERT_NO_FATAL_FAILURE(SaveScreenshot(*surface, "graphic-buttons.png", 5000u));

    // The transparent multimedia buttons show the container's gradient at their corners,
    // the opaque ones their colour.
    const std::size_t transparentRow = kinds.size() - 1, opaqueRow = kinds.size() - 2;
    for (std::size_t column = 0; column < kSceneStates.size(); ++column) {
        TOBLBaseGraphicButton* clear = buttons[transparentRow * kSceneStates.size() + column];
        const int y = clear->Top();
        EXPECT_EQ(PixelOf(clear, 0, 0), Rgb(TGradientPanel::ColorAtRow(y, panel->Height())))
            << kSceneStateNames[column];
        TOBLBaseGraphicButton* opaque = buttons[opaqueRow * kSceneStates.size() + column];
        EXPECT_EQ(PixelOf(opaque, 0, 0), Rgb(clBtnFace));
    }
}

} // namespace
