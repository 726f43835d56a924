#include "obl/core/draw/OBLButtonBase.h"
#include "obl/core/draw/OBLButtonLayout.h"
#include "obl/core/draw/OBLFXCaption.h"
#include "obl/core/draw/Oblutils.h"
#include "obl/core/draw/oblglyph.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/kernel/Resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <memory>

namespace {

std::string ShotPath()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::temp_directory_path() : exe.parent_path()).string() + "/obl-captions-glyphs.png";
}

// A 16 x 16 glyph of three cells (up, disabled, mouse-over): a filled square and a bar on
// the mask colour.
std::unique_ptr<TBitmap> ThreeCellGlyph()
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(48, 16);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(static_cast<TColor>(RGB(255, 0, 255)));
    c->FillRect(Rect(0, 0, 48, 16));
    const TColor colours[3] = {static_cast<TColor>(RGB(0, 120, 0)), static_cast<TColor>(RGB(120, 120, 120)),
                               static_cast<TColor>(RGB(0, 90, 220))};
    for (int k = 0; k < 3; ++k) {
        c->Brush()->SetColor(colours[k]);
        c->FillRect(Rect(k * 16 + 2, 2, k * 16 + 14, 14));
        c->Brush()->SetColor(clYellow);
        c->FillRect(Rect(k * 16 + 5, 7, k * 16 + 11, 9));
    }
    return b;
}

TEST(CaptionScreenshot, StylesRotationsAndGlyphStates)
{
    ASSERT_TRUE(RegisterBitmapFileResource(nullptr, MAKEINTRESOURCEA(OBLGlyphStripResource),
                                           OBLGlyphStripBitmapFile()));
    constexpr int W = 660, H = 420;
    TBitmap page;
    page.SetPixelFormat(pf32bit);
    page.SetSize(W, H);
    TCanvas* c = page.Canvas();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, W, H));
    c->Font()->SetName("Arial");
    c->Font()->SetSize(14);
    c->Font()->SetStyle(TFontStyles{fsBold});
    c->Font()->SetColor(static_cast<TColor>(RGB(20, 40, 160)));

    // Every 3D style, two columns.
    const char* names[] = {"tdNone", "tdSunken", "tdRaised", "tdSunkenShadow", "tdRaisedShadow", "tdPColorSunken",
                           "tdPColorRaised", "tdShadow", "tdOutline", "tdExtrude", "tdExtrudeEnh"};
    for (int s = 0; s <= static_cast<int>(tdExtrudeEnh); ++s) {
        TOBL3DCaption effect;
        effect.SetStyle(static_cast<TOBLThreeDStyle>(s));
        effect.SetDepth(1, 3);
        effect.SetColor(0, clWhite);
        effect.SetColor(1, static_cast<TColor>(RGB(90, 90, 90)));
        const int x = s < 6 ? 10 : 200, y = 10 + (s % 6) * 34;
        OBLDrawTextExt(c, names[s], &effect, Rect(x, y, x + 185, y + 32), 0, TOBLDrawTextStyles{dtEnabled}, nullptr);
    }
    {
        TOBL3DCaption disabled;
        disabled.SetStyle(tdNone);
        OBLDrawTextExt(c, "disabled 3D", &disabled, Rect(200, 180, 390, 212), 0, TOBLDrawTextStyles{dt3DDisabled},
                       nullptr);
    }

    // Rotations, each measured then drawn in its own box.
    int x = 400;
    for (int angle : {0, 90, 180, 270}) {
        TOBLFxCaption fx;
        fx.SetStyle(tdRaisedShadow);
        fx.SetColor(0, clWhite);
        fx.SetAngle(static_cast<TOBLAngle>(angle));
        TRect size = Rect(0, 0, 200, 0);
        OBLDrawTextCalc("Rot " + IntToStr(angle), &fx, size, c->Font(), false, true, 0, 0);
        const TRect box = Bounds(x, 10, size.right, size.bottom);
        c->Brush()->SetStyle(bsClear);
        c->Pen()->SetColor(static_cast<TColor>(RGB(200, 200, 200)));
        c->Rectangle(box);
        OBLDrawTextExt(c, "Rot " + IntToStr(angle), &fx, box, 0, TOBLDrawTextStyles{dtEnabled}, nullptr);
        x += size.right + 8;
    }

    // Buttons with glyph and caption in their states, standard and explorer style.
    c->Font()->SetSize(9);
    c->Font()->SetStyle(TFontStyles{});
    c->Font()->SetColor(clBtnText);
    const std::pair<TOBLButtonState, const char*> states[] = {
        {bsUp, "Up"}, {bsDisabledUp, "Disabled"}, {bsMouseOver, "Over"}, {bsDown, "Down"}, {bsDisabledDown, "Dis.down"}};
    for (int row = 0; row < 2; ++row) {
        TOBLGlyph glyph;
        glyph.SetStyle(row == 0 ? gsStandard : gsExplorer);
        glyph.SetGlyph(ThreeCellGlyph().get());
        TOBLButtonLayout layout;
        for (int i = 0; i < 5; ++i) {
            auto [state, caption] = states[i];
            TRect r = Bounds(10 + i * 128, 230 + row * 50, 120, 40);
            OBLDrawBtnFace(c, state == bsMouseOver, r, ubsWin40, state, 0x01, clBtnFace);
            TOBLDrawTextStyles styles;
            if (state != bsDisabledUp && state != bsDisabledDown) styles.Include(dtEnabled);
            TOBL3DCaption effect;
            glyph.DrawButtonGlyphAndText(c, caption, &effect, r, state, &layout, styles, false, 0);
        }
    }

    // The built-in glyph kinds, enlarged.
    for (int k = 1; k <= 8; ++k) {
        TBitmap kind;
        OBLGetGlyphKind(&kind, static_cast<TOBLGlyphKind>(k));
        c->StretchDraw(Bounds(10 + (k - 1) * 60, 340, 39, 42), &kind);
    }

    Surface surface(W, H, 0xFFFFFF);
    // Colours are 0x00BBGGRR, surface pixels 0x00RRGGBB.
    for (int y = 0; y < H; ++y)
        for (int xx = 0; xx < W; ++xx) {
            const COLORREF v = ColorToRGB(c->Pixels(xx, y));
            surface.SetPixel(xx, y, (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v));
        }
    const std::string path = ShotPath();
    ASSERT_TRUE(SaveSurfacePng(surface, path));
    EXPECT_GT(std::filesystem::file_size(path), 10000u);
    std::cout << "screenshot: " << path << "\n";
    EXPECT_EQ(OBLGlyphCache, nullptr);
}

} // namespace
