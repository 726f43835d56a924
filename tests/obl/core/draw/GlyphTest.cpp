#include "obl/core/draw/OBLButtonBase.h"
#include "obl/core/draw/OBLButtonLayout.h"
#include "obl/core/draw/oblglyph.h"
#include "platform/win/kernel/Resources.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr TColor kMask = static_cast<TColor>(RGB(255, 0, 255));

// A strip of cells of the size, cell k filled with its colour on a mask-coloured frame;
// the lower-left pixel (the transparent colour) is the mask colour.
std::unique_ptr<TBitmap> Strip(int cells, int size, int height = -1)
{
    if (height < 0) height = size;
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(cells * size, height);
    b->Canvas()->Brush()->SetColor(kMask);
    b->Canvas()->FillRect(Rect(0, 0, cells * size, height));
    for (int k = 0; k < cells; ++k) {
        b->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(40 * k + 20, 100, 200 - 30 * k)));
        b->Canvas()->FillRect(Rect(k * size + 2, 2, (k + 1) * size - 2, height - 2));
    }
    return b;
}

TColor CellColor(int k) { return static_cast<TColor>(RGB(40 * k + 20, 100, 200 - 30 * k)); }

class GlyphTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(OBLGlyphCache, nullptr) << "the cache outlived the glyphs"; }
};

TEST_F(GlyphTest, CellCountFromTheAssignedStrip)
{
    TOBLGlyph glyph;
    const struct {
        int width, height, expected;
    } cases[] = {{96, 16, 1}, {80, 16, 5}, {48, 16, 3}, {50, 16, 3}, {0, 16, 3}, {16, 16, 1}};
    for (auto c : cases) {
        SCOPED_TRACE(c.width);
        TBitmap b;
        b.SetSize(c.width, c.height);
        glyph.SetGlyph(&b);
        EXPECT_EQ(glyph.NumGlyphs(), c.expected);
    }
    glyph.SetNumGlyphs(6);
    EXPECT_EQ(glyph.NumGlyphs(), 1) << "above five is ignored";
    glyph.SetNumGlyphs(0);
    EXPECT_EQ(glyph.NumGlyphs(), 1);
}

TEST_F(GlyphTest, StateImagesAreSharedReusedAndFreed)
{
    auto glyph1 = std::make_unique<TOBLGlyph>();
    auto glyph2 = std::make_unique<TOBLGlyph>();
    ASSERT_NE(OBLGlyphCache, nullptr);
    glyph1->SetGlyph(Strip(1, 16).get());
    glyph2->SetGlyph(Strip(1, 16).get());

    // One cell serves up, down and mouse-over; the disabled image is generated once.
    const int up = glyph1->GetButtonGlyph(bsUp);
    EXPECT_EQ(glyph1->GetButtonGlyph(bsDown), up);
    EXPECT_EQ(glyph1->GetButtonGlyph(bsMouseOver), up);
    const int disabled = glyph1->GetButtonGlyph(bsDisabledDown);
    EXPECT_NE(disabled, up);
    EXPECT_EQ(glyph1->GetButtonGlyph(bsDisabledUp), disabled);

    glyph2->GetButtonGlyph(bsUp);
    EXPECT_EQ(glyph1->GlyphList(), glyph2->GlyphList()) << "one list per cell size";
    EXPECT_EQ(OBLGlyphCache->ListCount(), 1);
    TOBLGlyphList* list = glyph1->GlyphList();
    EXPECT_EQ(list->Count(), 3);

    // A freed cell is the next one handed out; the strip keeps its cells.
    const int cells = list->CellCount();
    glyph1->Init();
    EXPECT_EQ(list->Count(), 1);
    EXPECT_EQ(glyph2->GetButtonGlyph(bsDisabledUp), up);
    EXPECT_EQ(list->CellCount(), cells);

    // Another size has its own list; freeing the last glyph of it frees the list.
    {
        TOBLGlyph small;
        small.SetGlyph(Strip(1, 8).get());
        small.GetButtonGlyph(bsUp);
        EXPECT_EQ(OBLGlyphCache->ListCount(), 2);
    }
    EXPECT_EQ(OBLGlyphCache->ListCount(), 1);

    glyph1.reset();
    EXPECT_NE(OBLGlyphCache, nullptr);
    glyph2.reset();
    EXPECT_EQ(OBLGlyphCache, nullptr);
}

TEST_F(GlyphTest, GlyphlessButtonsFreeTheCacheOnce)
{
    // Several glyphs that never prepared an image: the last to go must not touch a cache
    // an earlier one already freed.
    std::vector<std::unique_ptr<TOBLGlyph>> glyphs;
    for (int i = 0; i < 3; ++i) glyphs.push_back(std::make_unique<TOBLGlyph>());
    for (auto& g : glyphs) {
        EXPECT_EQ(g->GetButtonGlyph(bsUp), -1);
        g.reset();
    }
    EXPECT_EQ(OBLGlyphCache, nullptr);
}

TEST_F(GlyphTest, ExplorerStyleShowsGreyUpAndTheMouseOverCell)
{
    TOBLGlyph glyph;
    glyph.SetStyle(gsExplorer);
    glyph.SetGlyph(Strip(3, 16).get());
    EXPECT_EQ(glyph.NumGlyphs(), 3);
    TBitmap over, up, down, open;
    glyph.GetStateBitmap(bsMouseOver, &over);
    EXPECT_EQ(over.Canvas()->Pixels(8, 8), CellColor(2));
    glyph.GetStateBitmap(bsUp, &up);
    const COLORREF grey = static_cast<COLORREF>(up.Canvas()->Pixels(8, 8));
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    // No cell for the pressed states: down shows the mouse-over cell; an open drop-down
    // counts as down, which without its own cell is the first cell unchanged.
    glyph.GetStateBitmap(bsDropDownOpen, &open);
    glyph.GetStateBitmap(bsDown, &down);
    EXPECT_EQ(down.Canvas()->Pixels(8, 8), CellColor(2));
    EXPECT_EQ(open.Canvas()->Pixels(8, 8), CellColor(0));
}

TEST_F(GlyphTest, EdgeCasesGiveNoGlyph)
{
    TOBLGlyph glyph;
    EXPECT_EQ(glyph.GetButtonGlyph(bsUp), -1) << "empty source";
    TBitmap narrow;
    narrow.SetSize(3, 16);
    glyph.SetGlyph(&narrow);
    glyph.SetNumGlyphs(5);
    EXPECT_EQ(glyph.GetButtonGlyph(bsUp), -1) << "cells 0 pixels wide";
    TBitmap untouched;
    untouched.SetSize(4, 4);
    glyph.GetStateBitmap(bsUp, &untouched);
    EXPECT_EQ(untouched.Width(), 4);
}

TEST_F(GlyphTest, ChangingTheSourceNotifiesAndDropsImages)
{
    TOBLGlyph glyph;
    glyph.SetGlyph(Strip(1, 16).get());
    glyph.GetButtonGlyph(bsUp);
    ASSERT_NE(glyph.GlyphList(), nullptr);
    struct Counter : TObject {
        int n = 0;
        void Hit(TObject*) { ++n; }
    } counter;
    glyph.SetOnChange(TNotifyEvent(&counter, &Counter::Hit));
    glyph.Glyph()->Canvas()->SetPixels(0, 0, clRed);
    EXPECT_GE(counter.n, 1);
    EXPECT_EQ(glyph.GlyphList(), nullptr);
}

TEST_F(GlyphTest, SetGlyphNotifiesOnceWhenTheGlyphIsWhole)
{
    TOBLGlyph glyph;
    // A handler that prepares the state image while it is notified.
    struct Preparer : TObject {
        TOBLGlyph* glyph = nullptr;
        int calls = 0;
        int numGlyphs = 0;
        TBitmap image;
        void Changed(TObject*)
        {
            ++calls;
            numGlyphs = glyph->NumGlyphs();
            glyph->GetStateBitmap(bsUp, &image);
        }
    } preparer;
    preparer.glyph = &glyph;
    glyph.SetOnChange(TNotifyEvent(&preparer, &Preparer::Changed));
    glyph.SetGlyph(Strip(3, 16).get());
    EXPECT_EQ(preparer.calls, 1);
    EXPECT_EQ(preparer.numGlyphs, 3);
    EXPECT_EQ(preparer.image.Width(), 16);
    EXPECT_EQ(preparer.image.Height(), 16);
    EXPECT_EQ(preparer.image.Canvas()->Pixels(8, 8), CellColor(0));
    // The image prepared in the handler is the one the glyph keeps.
    const int index = glyph.GetButtonGlyph(bsUp);
    EXPECT_GE(index, 0);
    EXPECT_EQ(glyph.GlyphList()->Width(), 16);
    // Back to one cell: notified once more, with the new count.
    glyph.SetGlyph(Strip(1, 16).get());
    EXPECT_EQ(preparer.calls, 2);
    EXPECT_EQ(preparer.numGlyphs, 1);
    glyph.SetOnChange(TNotifyEvent());
}

TEST_F(GlyphTest, GlyphListAddTakesImageAndMask)
{
    TOBLGlyphCache cache;
    TOBLGlyphList* list = cache.GetList(16, 16);
    auto image = Strip(2, 16);
    TBitmap mask;
    mask.SetSize(16, 16);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 16, 16));
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, 8, 16)); // the left half transparent
    EXPECT_EQ(list->Add(image.get(), &mask), 0);
    EXPECT_EQ(list->Add(image.get(), nullptr), 1);
    EXPECT_EQ(list->Count(), 2);
    TCanvas* pictures = list->Image()->Canvas();
    TCanvas* masks = list->Mask()->Canvas();
    // Only the first cell of the image is taken.
    EXPECT_EQ(pictures->Pixels(8, 8), CellColor(0));
    EXPECT_EQ(pictures->Pixels(16 + 8, 8), CellColor(0));
    EXPECT_EQ(masks->Pixels(4, 8), clWhite);
    EXPECT_EQ(masks->Pixels(12, 8), clBlack);
    // Without a mask the cell is opaque.
    EXPECT_EQ(masks->Pixels(16 + 4, 8), clBlack);
    EXPECT_EQ(masks->Pixels(16 + 12, 8), clBlack);
    // A freed cell is taken again.
    list->Delete(0);
    EXPECT_EQ(list->Add(image.get(), &mask), 0);
    EXPECT_EQ(list->Count(), 2);
}

TEST_F(GlyphTest, PaintOfAGlyphTooWideToCacheRaisesNothing)
{
    TOBLGlyph glyph;
    auto wide = Strip(1, 9000, 16);
    glyph.SetGlyph(wide.get());
    EXPECT_EQ(glyph.NumGlyphs(), 1);
    EXPECT_THROW(glyph.GetButtonGlyph(bsUp), EInvalidGraphicOperation) << "no strip holds the cell";
    TBitmap page;
    page.SetPixelFormat(pf32bit);
    page.SetSize(120, 40);
    page.Canvas()->Brush()->SetColor(clWhite);
    page.Canvas()->FillRect(Rect(0, 0, 120, 40));
    page.Canvas()->Font()->SetColor(clBlack);
    TOBLButtonLayout layout;
    for (TOBLButtonState state : {bsUp, bsDown, bsDisabledUp}) {
        EXPECT_NO_THROW(glyph.DrawButtonGlyphAndText(page.Canvas(), "WWW", nullptr, Rect(0, 0, 120, 40), state,
                                                     &layout, TOBLDrawTextStyles{dtEnabled}, false, 0));
    }
    // The caption is drawn alone.
    int dark = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            if (page.Canvas()->Pixels(x, y) == clBlack) ++dark;
    EXPECT_GT(dark, 0);
}

TEST_F(GlyphTest, DrawsTheStateImageThroughItsMask)
{
    TOBLGlyph glyph;
    glyph.SetGlyph(Strip(1, 16).get());
    TBitmap page;
    page.SetPixelFormat(pf32bit);
    page.SetSize(40, 40);
    page.Canvas()->Brush()->SetColor(clWhite);
    page.Canvas()->FillRect(Rect(0, 0, 40, 40));
    TOBLButtonLayout layout;
    glyph.DrawButtonGlyphAndText(page.Canvas(), "", nullptr, Rect(0, 0, 40, 40), bsUp, &layout,
                                 TOBLDrawTextStyles{dtEnabled}, false, 0);
    EXPECT_EQ(page.Canvas()->Pixels(20, 20), CellColor(0));
    EXPECT_EQ(page.Canvas()->Pixels(12, 12), clWhite) << "the mask colour is transparent";
}

TEST(BuiltInStrip, EveryKindHasBlackPixelsOnTheMaskColour)
{
    ASSERT_TRUE(RegisterBitmapFileResource(nullptr, MAKEINTRESOURCEA(OBLGlyphStripResource),
                                           OBLGlyphStripBitmapFile()));
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE(k);
        TBitmap b;
        OBLGetGlyphKind(&b, static_cast<TOBLGlyphKind>(k));
        ASSERT_EQ(b.Width(), 13);
        ASSERT_EQ(b.Height(), 14);
        int black = 0, other = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 13; ++x) {
                const TColor c = b.Canvas()->Pixels(x, y);
                if (c == clBlack) ++black;
                else if (c != OBLGlyphStripMaskColor) ++other;
            }
        EXPECT_GT(black, 5);
        EXPECT_EQ(other, 0);
        EXPECT_EQ(b.TransparentColor() & 0xFFFFFF, OBLGlyphStripMaskColor);
    }
}

} // namespace
