// The fill panel: its cache from the fill object and the effects, kept after a shrink for
// fills that do not depend on the panel's size, rebuilt otherwise and on every growth, and
// never stale in the effects' buffer; the rotated caption's font,
// set without a window and without a loop; painting that changes nothing; and the fonts
// its children follow.
#include "PanelFixture.h"

#include "obl/controls/graphic/OBLSpeedButton.h"
#include "obl/controls/panels/OBLCustomPanelFill.h"

namespace {

class TProbeFillPanel : public TPanelProbe<TOBLCustomPanelFill> {
    VENDARO_CLASS(TProbeFillPanel, TOBLCustomPanelFill)
public:
    explicit TProbeFillPanel(TComponent* owner) : TPanelProbe(owner) {}

    int paints = 0;
    int captionChanges = 0;
    int fontMessages = 0;

    void GetChange(TObject* Sender) override
    {
        if (Sender == CaptionFx()) ++captionChanges;
        inherited::GetChange(Sender);
    }
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == CM_FONTCHANGED) ++fontMessages;
        inherited::WndProc(Message);
    }
    static void Publish(TClassBuilder<TProbeFillPanel>& c)
    {
        using C = TProbeFillPanel;
        PublishControl(c);
        c.Property("Bevel", &C::Bevel, &C::SetBevel);
        c.Property("CaptionFx", &C::CaptionFx, &C::SetCaptionFx);
        c.Property("FillObject", &C::FillObject, &C::SetFillObject);
        c.Property("Alignment", &C::Alignment, &C::SetAlignment).Default(agCenter);
    }

protected:
    void Paint() override
    {
        ++paints;
        inherited::Paint();
    }
};

class FillPanelTest : public PanelFixture {
protected:
    TProbeFillPanel* NewPanel(int width = 100, int height = 60)
    {
        auto* p = AddWindowed<TProbeFillPanel>(30, 20);
        p->SetBounds(30, 20, width, height);
        Pump();
        return p;
    }
    static std::uint32_t BackPixel(TOBLCustomPanelFill* p, int x, int y) { return Rgb(p->Back()->Canvas()->Pixels(x, y)); }
};

TEST_F(FillPanelTest, TheCacheComesFromTheFillOrTheParentsBackground)
{
    GradientForm();
    struct Case {
        const char* name;
        TOBLFillStyle style;
        bool transparent, passes;
        bool cache;
    };
    const Case cases[] = {
        {"no fill", sfNone, false, false, false},
        {"a brush", sfBrush, false, false, true},
        {"transparent", sfBrush, true, false, false},
        {"transparent passing its effects", sfNone, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TProbeFillPanel* p = NewPanel();
        p->FillObject()->Brush()->SetColor(clLime);
        p->FillObject()->SetFillStyle(c.style);
        p->SetTransparent(c.transparent);
        if (c.passes) {
            p->BackFX()->SetBool(3, true);
            p->SetPassBackFX(true);
        }
        Redraw();
        ASSERT_EQ(p->Back() != nullptr, c.cache);
        if (c.cache) {
            EXPECT_EQ((std::vector<int>{p->Back()->Width(), p->Back()->Height()}), (std::vector<int>{100, 60}));
            EXPECT_EQ(p->Back()->PixelFormat(), pf24bit);
            // The brush as it is, the parent's background through the inversion.
            EXPECT_EQ(BackPixel(p, 10, 30), c.passes ? ~FormBackUnder(p, 10, 30) & 0xFFFFFF : Rgb(clLime));
            EXPECT_EQ(PixelOf(p, 10, 30), BackPixel(p, 10, 30));
        }
        FreeObject(p);
    }
}

TEST_F(FillPanelTest, ShrinkingAsWellAsGrowingRebuildsTheCache)
{
    TProbeFillPanel* p = NewPanel(100, 60);
    TBitmap halves;
    halves.SetPixelFormat(pf24bit);
    halves.SetSize(2, 1);
    halves.Canvas()->SetPixels(0, 0, clRed);
    halves.Canvas()->SetPixels(1, 0, clBlue);
    p->FillObject()->SetBitmap(&halves);
    p->FillObject()->SetTileMode(tmStretch);
    p->FillObject()->SetFillStyle(sfBitmap);
    EXPECT_EQ(BackPixel(p, 35, 10), Rgb(clRed));
    p->SetBounds(30, 20, 60, 60);
    Pump();
    ASSERT_EQ(p->Back()->Width(), 60);
    EXPECT_EQ(BackPixel(p, 35, 10), Rgb(clBlue));
    EXPECT_EQ(PixelOf(p, 35, 10), Rgb(clBlue));
    p->SetBounds(30, 20, 140, 60);
    Pump();
    ASSERT_EQ(p->Back()->Width(), 140);
    EXPECT_EQ(BackPixel(p, 65, 10), Rgb(clRed));
}

TEST_F(FillPanelTest, AShrinkKeepsTheCacheOfAFillThatDoesNotDependOnTheSize)
{
    TBitmap halves;
    halves.SetPixelFormat(pf24bit);
    halves.SetSize(2, 1);
    halves.Canvas()->SetPixels(0, 0, clRed);
    halves.Canvas()->SetPixels(1, 0, clBlue);
    struct Case {
        const char* name;
        TOBLFillStyle style;
        TOBLTileMode tile;
        bool kept;
    };
    const Case cases[] = {
        {"a brush", sfBrush, tmTile, true},
        {"a brush bitmap", sfBrushBitmap, tmTile, true},
        {"a tiled bitmap", sfBitmap, tmTile, true},
        {"a stretched bitmap", sfBitmap, tmStretch, false},
        {"a centred bitmap", sfBitmap, tmCenter, false},
        {"a gradient", sfGradient, tmTile, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TProbeFillPanel* p = NewPanel(100, 60);
        p->FillObject()->Brush()->SetColor(clLime);
        p->FillObject()->SetBitmap(&halves);
        p->FillObject()->SetTileMode(c.tile);
        p->FillObject()->SetFillStyle(c.style);
        ASSERT_NE(p->Back(), nullptr);
        const std::uint32_t before = BackPixel(p, 35, 10);
        p->SetBounds(30, 20, 60, 40);
        Pump();
        EXPECT_EQ((std::vector<int>{p->Back()->Width(), p->Back()->Height()}),
                  c.kept ? (std::vector<int>{100, 60}) : (std::vector<int>{60, 40}));
        if (c.kept) {
            EXPECT_EQ(BackPixel(p, 35, 10), before);
            EXPECT_EQ(PixelOf(p, 35, 10), before);
        }
        // A growth past the cache builds it again at the new size, whatever the fill.
        p->SetBounds(30, 20, 120, 40);
        Pump();
        EXPECT_EQ((std::vector<int>{p->Back()->Width(), p->Back()->Height()}), (std::vector<int>{120, 40}));
        FreeObject(p);
    }
}

TEST_F(FillPanelTest, TheEffectsBufferIsNotKeptAcrossAChangeOfTheFill)
{
    TProbeFillPanel* p = NewPanel();
    p->BackFX()->SetBool(4, true);  // buffered
    p->BackFX()->SetBool(3, true);  // inverted
    p->FillObject()->Brush()->SetColor(clRed);
    p->FillObject()->SetFillStyle(sfBrush);
    EXPECT_EQ(BackPixel(p, 5, 5), Rgb(clAqua));
    p->FillObject()->Brush()->SetColor(clBlue);
    EXPECT_EQ(BackPixel(p, 5, 5), Rgb(clYellow));
    Redraw();
    EXPECT_EQ(PixelOf(p, 5, 5), Rgb(clYellow));
}

TEST_F(FillPanelTest, ARotatedCaptionTakesTheDefaultFaceOnceWithoutAWindowWhileRead)
{
    RegisterClasses({TForm::StaticClass(), TProbeFillPanel::StaticClass()});
    const char* text = "object Host: TForm\n"
                       "  object Fill: TProbeFillPanel\n"
                       "    Caption = 'Ruotato'\n"
                       "    CaptionFx.Angle = 90\n"
                       "    Font.Name = 'MS Sans Serif'\n"
                       "  end\n"
                       "end\n";
    TOwned<TForm> host(new TForm(nullptr));
    TStringStream in{AnsiString(text)};
    in.ReadComponent(host.get());
    auto* p = dynamic_cast<TProbeFillPanel*>(host->FindComponent("Fill"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->windowsMade, 0);
    EXPECT_FALSE(p->HandleAllocated());
    EXPECT_EQ(p->Font()->Name(), OBL_DEFAULTFONT);
    EXPECT_FALSE(p->ParentFont());
    // The default face is rotatable: another angle asks for no further font change.
    const int messages = p->fontMessages;
    p->CaptionFx()->SetAngle(45);
    EXPECT_EQ(p->fontMessages, messages);
    EXPECT_EQ(p->Font()->Name(), OBL_DEFAULTFONT);
    UnRegisterClass(TProbeFillPanel::StaticClass());
}

TEST_F(FillPanelTest, PaintingARotatedCaptionChangesNothing)
{
    TProbeFillPanel* p = NewPanel();
    p->Font()->SetName(OBL_DEFAULTFONT);
    p->SetCaption("Ruotato");
    p->CaptionFx()->SetAngle(90);
    p->FillObject()->SetFillStyle(sfBrush);
    Redraw();
    p->captionChanges = 0;
    const int paints = p->paints;
    Redraw();
    Pump();
    EXPECT_EQ(p->paints, paints + 1);
    EXPECT_EQ(p->captionChanges, 0);
}

TEST_F(FillPanelTest, ChildrenKeepFollowingThePanelsFontAndThePanelItsParents)
{
    TProbeFillPanel* p = NewPanel();
    auto* child = Add<TOBLSpeedButton>(4, 4, p);
    auto* own = Add<TOBLSpeedButton>(40, 4, p);
    own->Font()->SetColor(clGreen);
    ASSERT_TRUE(child->ParentFont());
    ASSERT_FALSE(own->ParentFont());
    // The panel follows the form's font and tells its children.
    form_->Font()->SetColor(clMaroon);
    EXPECT_TRUE(p->ParentFont());
    EXPECT_EQ(p->Font()->Color(), clMaroon);
    EXPECT_TRUE(child->ParentFont());
    EXPECT_EQ(child->Font()->Color(), clMaroon);
    EXPECT_FALSE(own->ParentFont());
    EXPECT_EQ(own->Font()->Color(), clGreen);
    // A caption effect's change tells the children of the font too.
    p->CaptionFx()->SetTracing(2);
    EXPECT_TRUE(child->ParentFont());
    // Its own font ends the panel's following; the children follow the new one.
    p->Font()->SetColor(clNavy);
    EXPECT_FALSE(p->ParentFont());
    EXPECT_TRUE(child->ParentFont());
    EXPECT_EQ(child->Font()->Color(), clNavy);
}

} // namespace

namespace {

// Counts the colour-changed messages its parent sends it.
class TColourListener : public TCustomControl {
    VENDARO_CLASS(TColourListener, TCustomControl)
public:
    explicit TColourListener(TComponent* owner) : TCustomControl(owner) {}
    int colourMessages = 0;
    int backMessages = 0;
    void WndProc(TMessage& Message) override
    {
        colourMessages += Message.Msg == CM_COLORCHANGED;
        backMessages += Message.Msg == CM_OBLBACKCHANGED;
        inherited::WndProc(Message);
    }
};

TEST_F(FillPanelTest, ChildrenHearOfGradientResizesBevelsAndNewFills)
{
    TProbeFillPanel* p = NewPanel();
    auto* child = AddWindowed<TColourListener>(5, 5, p);
    p->FillObject()->Brush()->SetColor(clRed);
    p->FillObject()->SetFillStyle(sfBrush);
    EXPECT_GE(child->backMessages, 1);
    // A brush is the same at any size: a resize tells the children nothing.
    child->colourMessages = 0;
    p->SetBounds(30, 20, 90, 60);
    Pump();
    EXPECT_EQ(child->colourMessages, 0);
    // A gradient is laid out over the panel: every resize redraws it and tells them.
    p->FillObject()->Gradient()->SetColor(clBlack);
    p->FillObject()->Gradient()->SetEndColor(clWhite);
    p->FillObject()->Gradient()->SetStyle(gstHorizontal);
    p->FillObject()->SetFillStyle(sfGradient);
    child->colourMessages = 0;
    p->SetBounds(30, 20, 80, 60);
    Pump();
    EXPECT_EQ(child->colourMessages, 1);
    EXPECT_EQ(p->Back()->Width(), 80);
    EXPECT_EQ(BackPixel(p, 0, 30), Rgb(clBlack));
    child->colourMessages = 0;
    p->Bevel()->SetBevelStyleOuter(bvRaised);
    EXPECT_EQ(child->colourMessages, 1);
}

TEST_F(FillPanelTest, AnImageListPictureBecomesTheListFill)
{
    TProbeFillPanel* p = NewPanel();
    p->FillObject()->SetFillStyle(sfBitmapList);
    EXPECT_EQ(p->Back(), nullptr);
    p->SetImageList(TileList());
    p->SetIndex(0, 1);
    ASSERT_NE(p->Back(), nullptr);
    EXPECT_EQ(p->FillObject()->ListBitmap()->Width(), 16);
    EXPECT_EQ(BackPixel(p, 3, 5), Rgb(TileColor(1, 3, 5)));
    EXPECT_EQ(BackPixel(p, 19, 21), Rgb(TileColor(1, 3, 5)));
    p->SetImageList(nullptr);
    EXPECT_TRUE(p->FillObject()->ListBitmap()->Empty());
    EXPECT_EQ(p->Back(), nullptr);
}

} // namespace
