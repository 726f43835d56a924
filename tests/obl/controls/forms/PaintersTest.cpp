// The form painters: the owner-draw fill and the picture background, checked by the
// pixels the form's window shows.
#include "obl/controls/forms/OBLBack.h"
#include "obl/controls/forms/OBLCustomFormFill.h"
#include "obl/core/containers/oblcont.h"
#include "tests/obl/controls/forms/FormsFixture.h"

#include <memory>

namespace {

constexpr TColor kFormColor = static_cast<TColor>(0x0000C0);  // dark red
constexpr TColor kRed = clRed, kGreen = clLime, kBlue = clBlue, kYellow = clYellow;

// Paints a blue bar over the top half of what it is given and keeps what it was given.
struct OwnerDraw : TObject {
    TRect given{};
    int calls = 0;
    void Paint(TObject*, TCanvas* canvas, const TRect& rect)
    {
        ++calls;
        given = rect;
        canvas->Brush()->SetColor(kBlue);
        canvas->FillRect(Rect(rect.left, rect.top, rect.right, rect.bottom / 2));
    }
};

class PaintersTest : public FormsFixture {
protected:
    // A painter of the class on the form, hooked as when the form is read.
    template <class P>
    static P* Attach(TForm* form)
    {
        auto* painter = new P(form);
        painter->Loaded();
        return painter;
    }
    // An owner-draw fill painting through the handler, the form painted once with it.
    static TOBLCustomFormFill* AttachOwnerDraw(TForm* form, OwnerDraw& draw)
    {
        auto* fill = Attach<TOBLCustomFormFill>(form);
        fill->SetPaintMode(pcOwnerDraw);
        fill->SetOnPaint(TOBLPaintEvent(&draw, &OwnerDraw::Paint));
        Repaint(form);
        return fill;
    }
    static void Repaint(TForm* form)
    {
        form->Update();
        Pump();
    }
};

TEST_F(PaintersTest, OwnerDrawPaintsThroughTheHandlerOverTheFormColour)
{
    TForm* form = MakeForm(80, 60, kFormColor);
    ShowAndPaint(form);
    OwnerDraw draw;
    TOBLCustomFormFill* fill = AttachOwnerDraw(form, draw);
    EXPECT_GE(draw.calls, 1);
    EXPECT_EQ(Edges(draw.given), Edges(Rect(0, 0, 80, 60)));
    EXPECT_EQ(ClientPixel(form, 5, 5), PixelOf(kBlue));
    EXPECT_EQ(ClientPixel(form, 79, 29), PixelOf(kBlue));
    EXPECT_EQ(ClientPixel(form, 5, 45), PixelOf(kFormColor));

    // Without the default fill the handler gets the background as it was: the form's old
    // colour stays where the handler does not paint.
    form->SetColor(kGreen);
    fill->SetDefaultFill(false);
    Repaint(form);
    EXPECT_EQ(ClientPixel(form, 5, 45), PixelOf(kFormColor));
    EXPECT_EQ(ClientPixel(form, 5, 5), PixelOf(kBlue));
}

TEST_F(PaintersTest, TheFormErasesItselfWhenThePainterHasNothingToPaint)
{
    struct Case {
        const char* name;
        TOBLPaintMode mode;
        bool handler;
    };
    for (const Case& c : {Case{"owner draw without handler", pcOwnerDraw, false}, Case{"none", pcNone, true},
                          Case{"control in the base", pcControl, true}}) {
        TForm* form = MakeForm(60, 40, kGreen);
        ShowAndPaint(form);
        OwnerDraw draw;
        auto* fill = Attach<TOBLCustomFormFill>(form);
        if (c.handler)
            fill->SetOnPaint(TOBLPaintEvent(&draw, &OwnerDraw::Paint));
        fill->SetPaintMode(c.mode);
        form->SetColor(kYellow);
        Repaint(form);
        EXPECT_EQ(draw.calls, 0) << c.name;
        EXPECT_EQ(ClientPixel(form, 5, 5), PixelOf(kYellow)) << c.name;
        delete form;
    }
}

TEST_F(PaintersTest, BackTilesAPictureOfABitmapList)
{
    TForm* form = MakeForm(50, 30, kFormColor);
    auto* list = new TOBLBitmapList(form);
    std::unique_ptr<TBitmap> picture(Quarters(8, 6, kRed, kGreen, kBlue, kYellow));
    AddPicture(list, picture.get());
    ShowAndPaint(form);
    auto* back = Attach<TOBLBack>(form);
    back->SetImageList(list);
    Repaint(form);
    // The picture repeats from the client area's corner, to its far edges.
    struct Probe {
        int x, y;
        TColor color;
    };
    for (Probe p : {Probe{0, 0, kRed}, Probe{5, 1, kGreen}, Probe{1, 4, kBlue}, Probe{7, 5, kYellow},
                    Probe{8, 0, kRed}, Probe{13, 9, kYellow}, Probe{49, 29, kBlue}, Probe{48, 24, kRed}})
        EXPECT_EQ(ClientPixel(form, p.x, p.y), PixelOf(p.color)) << p.x << "," << p.y;
}

TEST_F(PaintersTest, BackShowsThePictureTheIndexesChooseFromAnImageList)
{
    TForm* form = MakeForm(40, 20, kFormColor);
    auto* list = new TOBLImageList(form);
    TOBLImageListItem* strip = list->Items(list->Add(nullptr));
    strip->SetWidth(4);
    strip->SetHeight(4);
    for (TColor color : {kRed, kGreen, kBlue}) {
        std::unique_ptr<TBitmap> solid(Quarters(4, 4, color, color, color, color));
        strip->Add(solid.get(), nullptr);
    }
    ShowAndPaint(form);
    auto* back = Attach<TOBLBack>(form);
    back->SetImageList(list);
    back->SetImageIndex(1);
    Repaint(form);
    EXPECT_EQ(ClientPixel(form, 0, 0), PixelOf(kGreen));
    EXPECT_EQ(ClientPixel(form, 39, 19), PixelOf(kGreen));

    // A new index repaints the form at once; a negative one is ignored.
    back->SetImageIndex(2);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(form->Handle(), &update, FALSE));
    Repaint(form);
    EXPECT_EQ(ClientPixel(form, 20, 10), PixelOf(kBlue));
    back->SetImageIndex(-1);
    EXPECT_EQ(back->ImageIndex(), 2);

    // A picture the list does not hold lets the form erase itself.
    back->SetImageIndex(3);
    Repaint(form);
    EXPECT_EQ(ClientPixel(form, 20, 10), PixelOf(kFormColor));
    // So does an owner-draw Back without a handler.
    back->SetImageIndex(0);
    back->SetPaintMode(pcOwnerDraw);
    Repaint(form);
    EXPECT_EQ(ClientPixel(form, 20, 10), PixelOf(kFormColor));
}

TEST_F(PaintersTest, DisablingGivesTheFormItsOwnBackgroundAndProcedureBack)
{
    TForm* form = MakeForm(30, 20, kFormColor);
    auto* list = new TOBLBitmapList(form);
    std::unique_ptr<TBitmap> picture(Quarters(4, 4, kRed, kRed, kRed, kRed));
    AddPicture(list, picture.get());
    ShowAndPaint(form);
    const LONG_PTR own = GetWindowLongA(form->Handle(), GWL_WNDPROC);
    auto* back = Attach<TOBLBack>(form);
    back->SetImageList(list);
    Repaint(form);
    EXPECT_EQ(ClientPixel(form, 3, 3), PixelOf(kRed));
    back->SetEnabled(false);
    EXPECT_EQ(GetWindowLongA(form->Handle(), GWL_WNDPROC), own);
    Repaint(form);
    EXPECT_EQ(ClientPixel(form, 3, 3), PixelOf(kFormColor));
    back->SetEnabled(true);
    Repaint(form);
    EXPECT_EQ(ClientPixel(form, 3, 3), PixelOf(kRed));
    // Freeing the list drops it: the form erases itself again.
    delete list;
    EXPECT_EQ(back->ImageList(), nullptr);
    Repaint(form);
    EXPECT_EQ(ClientPixel(form, 3, 3), PixelOf(kFormColor));
}

TEST_F(PaintersTest, SettingsOfAFormWithoutWindowLeaveItWithout)
{
    TForm* form = MakeForm(30, 20, kFormColor);
    auto* list = new TOBLBitmapList(form);
    auto* back = new TOBLBack(form);
    back->SetImageList(list);
    back->SetImageIndex(1);
    back->SetPaintMode(pcOwnerDraw);
    back->SetDefaultFill(false);
    back->Invalidate();
    EXPECT_FALSE(form->HandleAllocated());
}

TEST_F(PaintersTest, ResizingAndScrollingRepaintWithoutErasing)
{
    TForm* form = MakeForm(60, 40, kFormColor);
    ShowAndPaint(form);
    OwnerDraw draw;
    AttachOwnerDraw(form, draw);
    for (UINT message : {WM_SIZE, WM_HSCROLL, WM_VSCROLL}) {
        ValidateRect(form->Handle(), nullptr);
        SendMessageA(form->Handle(), message, 0, 0);
        RECT update{};
        EXPECT_TRUE(GetUpdateRect(form->Handle(), &update, FALSE)) << message;
        EXPECT_EQ(update.right - update.left, 60) << message;
        const int before = draw.calls;
        Repaint(form);
        EXPECT_EQ(draw.calls, before) << message << ": no erasing";
    }
    ValidateRect(form->Handle(), nullptr);
    SendMessageA(form->Handle(), WM_PALETTECHANGED, 0, 0);
    const int before = draw.calls;
    Repaint(form);
    EXPECT_EQ(draw.calls, before + 1) << "a palette change erases";
}

TEST_F(PaintersTest, PublishedPropertiesPerClassAndTheGlobalListStoredAsInternal)
{
    EXPECT_NE(GetPropInfo(TOBLCustomFormFill::StaticClass(), "OnPaint"), nullptr);
    EXPECT_EQ(GetPropInfo(TOBLBack::StaticClass(), "OnPaint"), nullptr);
    for (const char* name : {"About", "DefaultFill", "Enabled", "ImageList", "ImageIndex", "ListIndex", "PaintMode"})
        EXPECT_NE(GetPropInfo(TOBLBack::StaticClass(), name), nullptr) << name;

    RegisterClass(TOBLBack::StaticClass());
    TOBLBack back(nullptr);
    back.SetName("Back1");
    back.SetImageList(OBLContainer->BitmapList());
    back.SetListIndex(2);
    back.SetPaintMode(pcOwnerDraw);
    TStringStream out;
    out.WriteComponent(&back);
    const AnsiString text = out.DataString();
    EXPECT_NE(Pos("Internal = 'OBLBML30'", text), 0) << text.c_str();
    EXPECT_EQ(Pos("ImageList", text), 0) << text.c_str();
    EXPECT_NE(Pos("PaintMode = pcOwnerDraw", text), 0) << text.c_str();

    TStringStream in(text);
    TOwned<TComponent> read(in.ReadComponent(nullptr));
    auto* copy = dynamic_cast<TOBLBack*>(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ImageList(), OBLContainer->BitmapList());
    EXPECT_EQ(copy->ListIndex(), 2);
    EXPECT_EQ(copy->PaintMode(), pcOwnerDraw);
    read.reset();
    UnRegisterClass(TOBLBack::StaticClass());
}

} // namespace
