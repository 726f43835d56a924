// One picture of the bevel kinds on windowed controls: the custom frames, the standard
// frames, the edges, and the window's own border, flat borders, a shadow and a transparent
// control over its container's gradient; saved as a PNG under the build folder.
#include "WindowedFixture.h"

#include "platform/win/gdi/Gdi.h"
#include "tests/support/Screenshot.h"

#include <functional>

namespace {

constexpr int kLeft = 80, kTop = 8, kColumn = 92, kRow = 52, kColumns = 8;

struct Cell {
    const char* name;
    std::function<void(TOBLBevel&)> set;
};

class Screenshot : public WindowedFixture {};

TEST_F(Screenshot, BevelKinds)
{
    std::vector<std::pair<const char*, std::vector<Cell>>> rows;
    std::vector<Cell> custom;
    for (TOBLBevelStyle style : {bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal})
        custom.push_back({"", [style](TOBLBevel& b) {
                              b.SetBevelStyleOuter(style);
                              b.SetBevelWidthOuter(2);
                          }});
    custom.push_back({"", [](TOBLBevel& b) {
                          b.SetBevelStyleOuter(bvRaised);
                          b.SetBorderWidth(3);
                          b.SetBevelStyleInner(bvLowered);
                      }});
    custom.push_back({"", [](TOBLBevel& b) {
                          b.SetBevelStyleOuter(bvShadow);
                          b.SetBevelWidthOuter(4);
                          b.SetColor(1, clBlack);
                      }});
    custom.push_back({"", [](TOBLBevel& b) {
                          b.SetBorderWidth(3);
                          b.SetBorderSpace(2);
                          b.SetColor(0, clNavy);
                      }});
    rows.push_back({"custom", custom});
    std::vector<Cell> standard;
    for (TOBLBorderStyle style : {lsSingle, lsLowered, lsRaised, lsRaisedExt, lsLoweredExt, lsFrameInset,
                                  lsSingleLowered, lsDoubleRaised})
        standard.push_back({"", [style](TOBLBevel& b) {
                                b.SetMode(bmStandard);
                                b.SetStyle(style);
                            }});
    rows.push_back({"standard", standard});
    std::vector<Cell> edges;
    for (int style = 0; style < 8; ++style)
        edges.push_back({"", [style](TOBLBevel& b) {
                             b.SetMode(bmEdge);
                             b.SetEdgeStyle(static_cast<TOBLEdgeStyle>(style));
                         }});
    rows.push_back({"edge", edges});
    rows.push_back({"other",
                    {{"", [](TOBLBevel& b) { b.SetMode(bmWindows); }},
                     {"", [](TOBLBevel& b) {
                          b.SetMode(bmEdge);
                          b.SetBorderSides(TOBLFrameSides{fsBottom});
                      }},
                     {"", [](TOBLBevel& b) {
                          b.SetBevelStyleOuter(bvShadow);
                          b.SetBevelWidthInner(0);
                          b.SetBevelWidthOuter(5);
                      }}}});

    form_->SetColor(clBtnFace);
    form_->SetBounds(0, 0, kLeft + kColumns * kColumn + 8, kTop + (static_cast<int>(rows.size()) + 1) * kRow + 8);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t col = 0; col < rows[r].second.size(); ++col) {
            auto* c = AddWindowed<TBevelledWindowed>(kLeft + static_cast<int>(col) * kColumn,
                                                     kTop + static_cast<int>(r) * kRow);
            c->SetBounds(c->Left(), c->Top(), 84, 44);
            c->SetColor(clWindow);
            rows[r].second[col].set(*c->Bevel());
        }
    // Transparent bevelled controls over a container's gradient.
    const int gradientTop = kTop + static_cast<int>(rows.size()) * kRow;
    auto* panel = AddWindowed<TGradientContainer>(kLeft, gradientTop);
    panel->SetBounds(kLeft, gradientTop, 3 * kColumn, 48);
    std::vector<TLendingChild*> lending;
    for (int i = 0; i < 3; ++i) {
        auto* c = AddWindowed<TLendingChild>(4 + i * kColumn, 2, panel);
        c->SetBounds(c->Left(), c->Top(), 84, 44);
        c->SetColor(clWindow);
        c->SetTransparent(i > 0);
        c->Bevel()->SetBevelStyleOuter(i == 2 ? bvFrameRaised : bvLowered);
        c->Bevel()->SetBevelWidthOuter(2);
        lending.push_back(c);
    }
    form_->Invalidate();
    form_->Update();
    Pump();
    // The transparent ones show the gradient inside their frames.
    for (TLendingChild* c : lending) {
        EXPECT_NE(PixelOf(c, 0, 20), PixelOf(c, 20, 20)) << c->Left() << " " << c->Transparent() << " " << c->paints;
    }
    EXPECT_EQ(PixelOf(lending[0], 20, 20), Rgb(clWindow));
    for (int i = 1; i < 3; ++i) EXPECT_EQ(PixelOf(lending[i], 20, 20), Rgb(TGradientPanel::ColorAtRow(22, 48)));
    ASSERT_NO_FATAL_FAILURE(SaveLabelledWindow(form_->Handle(), "windowed-bevels.png", 3000u, [&](TCanvas& labels) {
        for (std::size_t r = 0; r < rows.size(); ++r)
            labels.TextOut(6, kTop + static_cast<int>(r) * kRow + 16, rows[r].first);
        labels.TextOut(6, gradientTop + 16, "over gradient");
    }));
}

} // namespace
