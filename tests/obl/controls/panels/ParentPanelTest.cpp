// The parent panel's cached background: when it is kept, built, rebuilt and dropped, and
// what the panel and its transparent children copy from it.
#include "PanelFixture.h"

#include "platform/win/gdi/Gdi.h"

namespace {

class ParentPanelTest : public PanelFixture {
protected:
    // A picture panel at (30, 20) of 100 x 60 showing picture 0 of the tile list.
    TProbeParentPanel* PicturePanel()
    {
        list_ = TileList();
        auto* p = AddWindowed<TProbeParentPanel>(30, 20);
        p->SetBounds(30, 20, 100, 60);
        p->SetImageList(list_);
        return p;
    }
    static std::uint32_t Tile(int picture, int x, int y) { return Rgb(TileColor(picture, x, y)); }

    TOBLImageList* list_ = nullptr;
};

TEST_F(ParentPanelTest, AnOpaquePanelWithoutAPictureKeepsNoCache)
{
    GradientForm();
    auto* p = AddWindowed<TProbeParentPanel>(30, 20);
    auto* child = AddWindowed<TProbePanel>(5, 5, p);
    child->SetTransparent(true);
    child->SetColor(clLime);
    Redraw();
    EXPECT_EQ(p->Back(), nullptr);
    EXPECT_FALSE(p->BackBitmapCheck());
    EXPECT_FALSE(child->BackBitmapCheck());
    EXPECT_EQ(PixelOf(child, 3, 3), Rgb(clLime));
    EXPECT_TRUE(p->GetEmpty());
    // Transparent, the panel lends what its own parent lends, still without a cache.
    p->SetTransparent(true);
    Redraw();
    EXPECT_EQ(p->Back(), nullptr);
    ASSERT_TRUE(child->BackBitmapCheck());
    EXPECT_EQ(PixelOf(child, 3, 3), FormBackUnder(child, 3, 3));
    EXPECT_EQ(PixelOf(p, 70, 30), FormBackUnder(p, 70, 30));
}

TEST_F(ParentPanelTest, APictureIsTiledIntoTheCacheAndLentToTheChildren)
{
    TProbeParentPanel* p = PicturePanel();
    auto* child = AddWindowed<TProbePanel>(21, 13, p);
    child->SetBounds(21, 13, 35, 30);
    child->SetTransparent(true);
    auto* opaque = AddWindowed<TProbePanel>(60, 13, p);
    opaque->SetBounds(60, 13, 20, 20);
    opaque->SetColor(clLime);
    Redraw();
    ASSERT_NE(p->Back(), nullptr);
    EXPECT_EQ(p->Back()->Width(), 100);
    EXPECT_EQ(p->Back()->Height(), 60);
    EXPECT_FALSE(p->GetEmpty());
    EXPECT_EQ(PixelOf(p, 3, 4), Tile(0, 3, 4));
    EXPECT_EQ(PixelOf(p, 40, 50), Tile(0, 40, 50));
    for (int x : {0, 7, 30})
        EXPECT_EQ(PixelOf(child, x, 2), Tile(0, 21 + x, 15)) << "the child's piece of the picture, x " << x;
    EXPECT_EQ(PixelOf(opaque, 5, 5), Rgb(clLime));
    // Another picture is a new background for the children too.
    p->SetIndex(0, 1);
    Pump();
    form_->Update();
    EXPECT_EQ(PixelOf(child, 7, 2), Tile(1, 28, 15));
    EXPECT_EQ(PixelOf(p, 3, 4), Tile(1, 3, 4));
}

// The cache holds the client area while the panel shrinks both ways; otherwise, and when
// it grows, it is built again at the new size.
TEST_F(ParentPanelTest, ShrinkingKeepsTheCacheAndGrowingRebuildsIt)
{
    TProbeParentPanel* p = PicturePanel();
    TBitmap* back = p->Back();
    ASSERT_NE(back, nullptr);
    back->Canvas()->SetPixels(2, 2, clLime);
    struct Case {
        int width, height, backWidth, backHeight;
        bool kept;
    };
    for (const Case& k : {Case{90, 50, 100, 60, true}, Case{80, 50, 100, 60, true}, Case{80, 60, 80, 60, false},
                          Case{120, 70, 120, 70, false}}) {
        p->SetBounds(30, 20, k.width, k.height);
        ASSERT_NE(p->Back(), nullptr);
        EXPECT_EQ(p->Back()->Width(), k.backWidth) << k.width << "x" << k.height;
        EXPECT_EQ(p->Back()->Height(), k.backHeight) << k.width << "x" << k.height;
        EXPECT_EQ(Rgb(p->Back()->Canvas()->Pixels(2, 2)), k.kept ? Rgb(clLime) : Tile(0, 2, 2));
        p->Back()->Canvas()->SetPixels(2, 2, clLime);
    }
}

TEST_F(ParentPanelTest, ATransparentPanelCachesItsParentsBackgroundOnlyWhenItPassesItsEffectsOn)
{
    GradientForm();
    auto* p = AddWindowed<TProbeParentPanel>(30, 20);
    p->SetBounds(30, 20, 120, 80);
    p->SetTransparent(true);
    p->SetPassBackFX(true);
    EXPECT_EQ(p->Back(), nullptr) << "no effect to pass on";
    p->BackFX()->SetBool(3, true);
    ASSERT_NE(p->Back(), nullptr);
    EXPECT_EQ(Rgb(p->Back()->Canvas()->Pixels(5, 70)), FormBack(35, 90));
    // A move takes the piece of the background at the new place.
    p->SetBounds(30, 100, 120, 80);
    ASSERT_NE(p->Back(), nullptr);
    EXPECT_EQ(Rgb(p->Back()->Canvas()->Pixels(5, 70)), FormBack(35, 170));
    p->SetPassBackFX(false);
    EXPECT_EQ(p->Back(), nullptr);
}

// The whole client area asked for copies only the canvas's clip box, from the place of the
// clip box relative to the asking control.
TEST_F(ParentPanelTest, AWholeClientRequestCopiesTheClipBoxAtTheRequestersPlace)
{
    TProbeParentPanel* p = PicturePanel();
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(100, 60);
    target.Canvas()->Brush()->SetColor(clBlack);
    target.Canvas()->FillRect(Rect(0, 0, 100, 60));
    HRGN clip = CreateRectRgn(10, 5, 30, 20);
    SelectClipRgn(target.Canvas()->Handle(), clip);
    DeleteObject(clip);
    ASSERT_TRUE(p->BackDrawArea(target.Canvas(), p->ClientRect(), Point(3, 6), 0));
    SelectClipRgn(target.Canvas()->Handle(), nullptr);
    EXPECT_EQ(Rgb(target.Canvas()->Pixels(10, 5)), Tile(0, 13, 11));
    EXPECT_EQ(Rgb(target.Canvas()->Pixels(29, 19)), Tile(0, 32, 25));
    EXPECT_EQ(Rgb(target.Canvas()->Pixels(9, 5)), 0u) << "outside the clip box";
    EXPECT_EQ(Rgb(target.Canvas()->Pixels(30, 19)), 0u);
    // Any other rectangle is copied from itself moved by the point.
    ASSERT_TRUE(p->BackDrawArea(target.Canvas(), Rect(40, 30, 50, 40), Point(3, 6), 0));
    EXPECT_EQ(Rgb(target.Canvas()->Pixels(40, 30)), Tile(0, 43, 36));
}

TEST_F(ParentPanelTest, RemovingTheImageListDropsTheCache)
{
    TProbeParentPanel* p = PicturePanel();
    ASSERT_NE(p->Back(), nullptr);
    EXPECT_EQ(p->GetPalette(), list_->Palette(0));
    FreeObject(list_);
    EXPECT_EQ(p->ImageList(), nullptr);
    EXPECT_EQ(p->Back(), nullptr);
    EXPECT_EQ(p->GetPalette(), nullptr);
    EXPECT_TRUE(p->GetEmpty());
}

} // namespace
