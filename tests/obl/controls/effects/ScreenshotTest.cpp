// One picture of fills, gradients and effects, rendered headless and saved as a PNG
// beside the test executable.
#include "obl/controls/effects/OBLBitmapEffectObject.h"
#include "obl/controls/effects/OBLFillObject.h"
#include "obl/core/containers/oblcont.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/Surface.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr int kCell = 64, kGap = 8, kLeft = 90;

std::string PngPath()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::temp_directory_path() : exe.parent_path()).string() + "/effects-fills.png";
}

TRect Cell(int row, int column)
{
    int x = kLeft + column * (kCell + kGap), y = 10 + row * (kCell + 24);
    return Rect(x, y, x + kCell, y + kCell);
}

// A small scene to process: a horizontal gradient with a disc and a bar.
std::unique_ptr<TBitmap> Scene()
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(kCell, kCell);
    TOBLFillObject back;
    back.SetFillStyle(sfGradient);
    back.Gradient()->SetStyle(gstHorizontal);
    back.Gradient()->SetColor(static_cast<TColor>(RGB(255, 200, 0)));
    back.Gradient()->SetEndColor(static_cast<TColor>(RGB(0, 90, 200)));
    back.Gradient()->SetColorCount(32);
    TCanvas* c = bitmap->Canvas();
    back.FillCanvas(c, Rect(0, 0, kCell, kCell), clWhite);
    c->Brush()->SetColor(static_cast<TColor>(RGB(220, 20, 60)));
    c->Pen()->SetColor(clBlack);
    c->Ellipse(6, 6, 34, 34);
    c->Brush()->SetColor(static_cast<TColor>(RGB(20, 160, 60)));
    c->Rectangle(30, 40, 60, 56);
    return bitmap;
}

std::unique_ptr<TBitmap> Checker()
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(16, 16);
    TCanvas* c = bitmap->Canvas();
    c->Brush()->SetColor(static_cast<TColor>(RGB(240, 240, 240)));
    c->FillRect(Rect(0, 0, 16, 16));
    c->Brush()->SetColor(static_cast<TColor>(RGB(60, 90, 160)));
    for (int y = 0; y < 16; y += 4)
        for (int x = (y / 4) % 2 * 4; x < 16; x += 8)
            c->FillRect(Rect(x, y, x + 4, y + 4));
    return bitmap;
}

TEST(Screenshot, FillsGradientsAndEffects)
{
    Surface surface(kLeft + 11 * (kCell + kGap), 3 * (kCell + 24) + 10, 0xFFFFFF);
    {
        ScreenshotCanvas on(surface, "Arial", -12);
        ASSERT_NE(on.Handle(), nullptr);
        TCanvas& canvas = on.Canvas();
        canvas.TextOut(8, 10 + kCell / 2 - 6, "Fills");
        canvas.TextOut(8, 10 + (kCell + 24) + kCell / 2 - 6, "Gradients");
        canvas.TextOut(8, 10 + 2 * (kCell + 24) + kCell / 2 - 6, "Effects");

        // Fills: solid, hatch with coloured gaps, tiled, centred, brush bitmap, none.
        auto checker = Checker();
        const std::vector<std::function<void(TOBLFillObject&)>> fills = {
            [](TOBLFillObject& f) {
                f.SetFillStyle(sfBrush);
                f.Brush()->SetColor(static_cast<TColor>(RGB(70, 130, 180)));
            },
            [](TOBLFillObject& f) {
                f.SetFillStyle(sfBrush);
                f.Brush()->SetColor(static_cast<TColor>(RGB(128, 0, 0)));
                f.Brush()->SetStyle(bsDiagCross);
            },
            [&](TOBLFillObject& f) {
                f.SetFillStyle(sfBitmap);
                f.SetBitmap(checker.get());
            },
            [&](TOBLFillObject& f) {
                f.SetFillStyle(sfBitmap);
                f.SetTileMode(tmCenter);
                f.SetBitmap(checker.get());
            },
            [&](TOBLFillObject& f) {
                f.SetFillStyle(sfBitmap);
                f.SetTileMode(tmStretch);
                f.SetBitmap(checker.get());
            },
            [&](TOBLFillObject& f) {
                f.SetFillStyle(sfBrushBitmap);
                f.SetBitmap(checker.get());
            },
        };
        for (std::size_t i = 0; i < fills.size(); ++i) {
            TOBLFillObject fill;
            fills[i](fill);
            fill.ClipFill(&canvas, Cell(0, static_cast<int>(i)), static_cast<TColor>(RGB(255, 230, 120)), 0);
        }

        // The ten gradient styles.
        for (int s = 0; s < 10; ++s) {
            TOBLFillObject fill;
            fill.SetFillStyle(sfGradient);
            fill.Gradient()->SetStyle(static_cast<TOBLGradientStyle>(s));
            fill.Gradient()->SetColor(static_cast<TColor>(RGB(200, 0, 40)));
            fill.Gradient()->SetEndColor(static_cast<TColor>(RGB(20, 40, 120)));
            fill.Gradient()->SetColorCount(24);
            fill.FillCanvas(&canvas, Cell(1, s), clWhite);
        }

        // The scene through each effect; the last blends the picture of an image list.
        TOBLBitmapList pictures(nullptr);
        pictures.Add(nullptr);
        pictures.Items(0)->SetBitmap(checker.get());
        const std::vector<std::function<void(TOBLBitmapEffectObject&)>> effects = {
            [](TOBLBitmapEffectObject&) {},
            [](TOBLBitmapEffectObject& e) { e.SetBool(2, true); },
            [](TOBLBitmapEffectObject& e) { e.SetBool(0, true); },
            [](TOBLBitmapEffectObject& e) { e.SetBool(1, true); },
            [](TOBLBitmapEffectObject& e) { e.SetBool(3, true); },
            [](TOBLBitmapEffectObject& e) { e.SetBrightness(90); },
            [](TOBLBitmapEffectObject& e) { e.SetBrightness(-90); },
            [](TOBLBitmapEffectObject& e) {
                e.AlphaBlend()->FillObject()->SetFillStyle(sfBrush);
                e.AlphaBlend()->FillObject()->Brush()->SetColor(clWhite);
                e.AlphaBlend()->SetStrength(0.4f);
            },
            [](TOBLBitmapEffectObject& e) {
                e.AlphaBlend()->FillObject()->SetFillStyle(sfGradient);
                e.AlphaBlend()->FillObject()->Gradient()->SetStyle(gstElliptic);
                e.AlphaBlend()->SetStrength(0.5f);
            },
            [](TOBLBitmapEffectObject& e) {
                e.SetBool(2, true);
                e.SetBool(0, true);
                e.SetBrightness(40);
            },
            [&](TOBLBitmapEffectObject& e) {
                e.AlphaBlend()->FillObject()->SetFillStyle(sfBitmapList);
                e.AlphaBlend()->SetImageList(&pictures);
                e.AlphaBlend()->SetStrength(0.5f);
            },
        };
        for (std::size_t i = 0; i < effects.size(); ++i) {
            TOBLBitmapEffectObject effect;
            effects[i](effect);
            auto picture = Scene();
            effect.Draw(picture.get());
            TRect cell = Cell(2, static_cast<int>(i));
            canvas.Draw(cell.left, cell.top, picture.get());
        }
    }
    const std::string path = PngPath();
    ASSERT_TRUE(SaveSurfacePng(surface, path));
    EXPECT_GT(std::filesystem::file_size(path), 10000u);

    auto at = [&](int row, int column, int dx, int dy) {
        TRect c = Cell(row, column);
        return surface.Pixel(c.left + dx, c.top + dy);
    };
    EXPECT_EQ(at(0, 0, 30, 30), 0x4682B4u) << "solid fill";
    EXPECT_EQ(at(1, 1, 30, 0), 0xC80028u) << "a vertical gradient starts in its first colour";
    // The grey scale cell holds only greys; the vertical flip has the bar at its top.
    std::uint32_t g = at(2, 1, 20, 20);
    EXPECT_EQ(g & 0xFF, (g >> 8) & 0xFF);
    EXPECT_EQ(at(2, 2, 45, kCell - 1 - 48), at(2, 0, 45, 48));
    EXPECT_EQ(at(2, 3, kCell - 1 - 45, 48), at(2, 0, 45, 48));
    EXPECT_EQ(at(2, 4, 45, 48), 0xFFFFFFu ^ at(2, 0, 45, 48));
    // The image-list picture (blue at the checker's top-left square) half over the scene.
    auto half = [](std::uint32_t a, std::uint32_t b) {
        std::uint32_t r = 0;
        for (int shift = 0; shift < 24; shift += 8)
            r |= static_cast<std::uint32_t>(std::nearbyint((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2.0))
                 << shift;
        return r;
    };
    EXPECT_EQ(at(2, 10, 1, 1), half(at(2, 0, 1, 1), 0x3C5AA0u));
    EXPECT_EQ(at(2, 10, 5, 1), half(at(2, 0, 5, 1), 0xF0F0F0u));
    // Nothing outside the cells but the labels.
    EXPECT_EQ(surface.Pixel(kLeft + 6 * (kCell + kGap) + 20, 30), 0xFFFFFFu);
}

} // namespace
