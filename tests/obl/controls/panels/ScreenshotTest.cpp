// One picture of the panel kinds on a form filled with a gradient by its form shape:
// transparent bevel panels of every bevel kind, a flat one with its bevel hidden, an opaque
// one, background effects, and parent panels lending their cache to transparent children;
// saved as a PNG under the build folder.
#include "PanelFixture.h"

#include "platform/win/gdi/Gdi.h"
#include "tests/support/Screenshot.h"

#include <functional>

namespace {

constexpr int kLeft = 8, kTop = 22, kColumn = 96, kRow = 86;

class Screenshot : public PanelFixture {
protected:
    TOBLImageList* list_ = nullptr;
};

TEST_F(Screenshot, PanelKinds)
{
    GradientForm();
    form_->SetBounds(0, 0, kLeft + 6 * kColumn + 4, kTop + 2 * kRow + 8);
    struct Cell {
        const char* label;
        std::function<void(TProbeBevelPanel&)> set;
    };
    const std::vector<Cell> bevels = {
        {"raised", [](TProbeBevelPanel& p) { p.Bevel()->SetBevelStyleOuter(bvRaised), p.Bevel()->SetBevelWidthOuter(2); }},
        {"frame", [](TProbeBevelPanel& p) { p.Bevel()->SetBevelStyleOuter(bvFrameLowered); }},
        {"standard", [](TProbeBevelPanel& p) { p.Bevel()->SetMode(bmStandard), p.Bevel()->SetStyle(lsDoubleRaised); }},
        {"windows", [](TProbeBevelPanel& p) { p.Bevel()->SetMode(bmWindows); }},
        {"flat", [](TProbeBevelPanel& p) { p.Bevel()->SetBevelStyleOuter(bvRaised), p.SetFlat(true); }},
        {"opaque", [](TProbeBevelPanel& p) {
             p.Bevel()->SetMode(bmEdge);
             p.SetTransparent(false);
         }},
    };
    std::vector<TProbeBevelPanel*> bevelled;
    for (std::size_t i = 0; i < bevels.size(); ++i) {
        auto* p = AddWindowed<TProbeBevelPanel>(kLeft + static_cast<int>(i) * kColumn, kTop);
        p->SetBounds(p->Left(), p->Top(), 88, 60);
        p->SetTransparent(true);
        bevels[i].set(*p);
        bevelled.push_back(p);
    }
    // Second row: background effects, and parent panels with transparent children.
    const int row = kTop + kRow;
    auto* inverted = AddWindowed<TProbeBevelPanel>(kLeft, row);
    inverted->SetBounds(kLeft, row, 88, 60);
    inverted->SetTransparent(true);
    inverted->BackFX()->SetBool(3, true);
    auto* grey = AddWindowed<TProbeBevelPanel>(kLeft + kColumn, row);
    grey->SetBounds(kLeft + kColumn, row, 88, 60);
    grey->SetTransparent(true);
    grey->BackFX()->SetBool(2, true);
    grey->Bevel()->SetBevelStyleOuter(bvLowered);
    list_ = TileList();
    auto* pictured = AddWindowed<TProbeParentPanel>(kLeft + 2 * kColumn, row);
    pictured->SetBounds(kLeft + 2 * kColumn, row, 184, 60);
    pictured->SetImageList(list_);
    pictured->Bevel()->SetBevelStyleOuter(bvRaised);
    pictured->Bevel()->SetBevelWidthOuter(2);
    std::vector<TProbeBevelPanel*> onPicture;
    for (int i = 0; i < 2; ++i) {
        auto* c = AddWindowed<TProbeBevelPanel>(10 + i * 86, 12, pictured);
        c->SetBounds(10 + i * 86, 12, 76, 36);
        c->SetTransparent(true);
        c->Bevel()->SetBevelStyleOuter(i == 0 ? bvLowered : bvFrameRaised);
        onPicture.push_back(c);
    }
    auto* passing = AddWindowed<TProbeParentPanel>(kLeft + 4 * kColumn, row);
    passing->SetBounds(kLeft + 4 * kColumn, row, 184, 60);
    passing->SetTransparent(true);
    passing->BackFX()->SetBool(3, true);
    passing->SetPassBackFX(true);
    passing->Bevel()->SetMode(bmEdge);
    auto* overCache = AddWindowed<TProbeBevelPanel>(10, 12, passing);
    overCache->SetBounds(10, 12, 76, 36);
    overCache->SetTransparent(true);
    overCache->Bevel()->SetBevelStyleOuter(bvRaised);
    auto* greyChild = AddWindowed<TProbeBevelPanel>(96, 12, passing);
    greyChild->SetBounds(96, 12, 76, 36);
    greyChild->SetTransparent(true);
    greyChild->BackFX()->SetBool(2, true);
    MoveAway();
    Redraw();

    // What the picture must show: the form's background inside the transparent bevels,
    // the picture under the children of the picture panel.
    for (std::size_t i = 0; i + 1 < bevelled.size(); ++i)
        EXPECT_EQ(PixelOf(bevelled[i], 40, 30), FormBackUnder(bevelled[i], 40, 30)) << bevels[i].label;
    EXPECT_EQ(PixelOf(bevelled[4], 0, 30), FormBackUnder(bevelled[4], 0, 30)) << "flat: the bevel is hidden";
    EXPECT_EQ(PixelOf(bevelled[5], 40, 30), Rgb(clBtnFace));
    EXPECT_EQ(PixelOf(inverted, 40, 30), FormBackUnder(inverted, 40, 30) ^ 0xFFFFFFu);
    EXPECT_EQ(PixelOf(onPicture[1], 30, 20), Rgb(TileColor(0, 96 + 30, 32)));
    for (int y : {4, 30, 55}) EXPECT_EQ(PixelOf(passing, 4, y), FormBackUnder(passing, 4, y)) << y;
    EXPECT_EQ(PixelOf(overCache, 30, 20), FormBackUnder(overCache, 30, 20));

    ASSERT_NO_FATAL_FAILURE(SaveLabelledWindow(form_->Handle(), "panels-kinds.png", 3000u, [&](TCanvas& labels) {
        labels.Font()->SetColor(clWhite);
        for (std::size_t i = 0; i < bevels.size(); ++i)
            labels.TextOut(kLeft + static_cast<int>(i) * kColumn, kTop - 15, bevels[i].label);
        const char* second[] = {"inverted", "grey", "picture parent", "", "cache of parent, passed on"};
        for (int i = 0; i < 5; ++i) labels.TextOut(kLeft + i * kColumn, row - 15, second[i]);
    }));
}

} // namespace
