#include "platform/classlib/Graphics.h"

#include "tests/platform/classlib/graphics/GraphicsFixtures.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class EventLog : public TObject {
public:
    void Changing(TObject*) { log += "<"; }
    void Changed(TObject*) { log += ">"; }
    AnsiString log;
};

struct BoundCanvas {
    explicit BoundCanvas(int w = 20, int h = 20) : dc(w, h), canvas(new TCanvas) { canvas->SetHandle(dc.dc()); }
    MemoryDC dc;
    TOwned<TCanvas> canvas;
};

} // namespace

TEST(Canvas, WithoutAHandleDrawingRaises)
{
    TOwned<TCanvas> canvas(new TCanvas);
    EXPECT_FALSE(canvas->HandleAllocated());
    try {
        canvas->Handle();
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
    }
    EXPECT_THROW(canvas->FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
    EXPECT_THROW(canvas->SetPenPos(Point(3, 4)), EInvalidOperation);
    // The drawing objects work without a context.
    canvas->Pen()->SetColor(clRed);
    EXPECT_EQ(canvas->Pen()->Color(), clRed);
    EXPECT_EQ(canvas->PenPos().x, 0);
}

TEST(Canvas, HandleRealisesPenBrushAndFont)
{
    BoundCanvas b;
    TCanvas& c = *b.canvas;
    c.Pen()->SetMode(pmXor);
    c.Font()->SetColor(clHighlightText);
    c.Brush()->SetColor(clBtnFace);
    HDC dc = c.Handle();
    EXPECT_EQ(dc, b.dc.dc());
    EXPECT_EQ(c.State(), csAllValid);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), c.Pen()->Handle());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), c.Brush()->Handle());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), c.Font()->Handle());
    EXPECT_EQ(GetROP2(dc), R2_XORPEN);
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    c.Brush()->SetStyle(bsClear);
    EXPECT_FALSE(c.State().Contains(csBrushValid));
    c.Handle();
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
}

TEST(Canvas, UnbindingRestoresTheContextsObjects)
{
    MemoryDC dc(10, 10);
    HGDIOBJ pen = GetCurrentObject(dc.dc(), OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(dc.dc(), OBJ_BRUSH);
    HGDIOBJ font = GetCurrentObject(dc.dc(), OBJ_FONT);
    int live = GdiLiveObjectCount();
    {
        TOwned<TCanvas> canvas(new TCanvas);
        canvas->SetHandle(dc.dc());
        canvas->Handle();
        canvas->Pen()->SetColor(clRed);   // deselected before the old pen goes
        canvas->Handle();
        EXPECT_NE(GetCurrentObject(dc.dc(), OBJ_PEN), pen);
        canvas->SetHandle(nullptr);
        EXPECT_EQ(GetCurrentObject(dc.dc(), OBJ_PEN), pen);
        EXPECT_EQ(GetCurrentObject(dc.dc(), OBJ_BRUSH), brush);
        EXPECT_EQ(GetCurrentObject(dc.dc(), OBJ_FONT), font);
        EXPECT_FALSE(canvas->HandleAllocated());
        EXPECT_TRUE(canvas->State().Empty());
        canvas->SetHandle(dc.dc());
        canvas->Handle();
    }
    // Freeing a bound canvas unbinds it too and frees its objects.
    EXPECT_EQ(GetCurrentObject(dc.dc(), OBJ_PEN), pen);
    EXPECT_EQ(GdiLiveObjectCount(), live);
}

TEST(Canvas, PenPositionCarriesAcrossContexts)
{
    MemoryDC first(10, 10);
    MemoryDC second(10, 10);
    TOwned<TCanvas> canvas(new TCanvas);
    canvas->SetHandle(first.dc());
    canvas->MoveTo(5, 6);
    canvas->SetHandle(second.dc());
    POINT p{};
    GetCurrentPositionEx(second.dc(), &p);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 6);
}

TEST(Canvas, ShapesUsePenAndBrush)
{
    BoundCanvas b;
    TCanvas& c = *b.canvas;
    c.Pen()->SetColor(clRed);
    c.Brush()->SetColor(clBlue);
    c.Rectangle(2, 2, 8, 8);
    EXPECT_EQ(b.dc.At(2, 2), kRed);
    EXPECT_EQ(b.dc.At(7, 7), kRed);
    EXPECT_EQ(b.dc.At(5, 5), kBlue);
    EXPECT_EQ(b.dc.At(8, 8), kWhite);
    c.Brush()->SetStyle(bsClear);
    c.Rectangle(10, 10, 16, 16);
    EXPECT_EQ(b.dc.At(10, 10), kRed);
    EXPECT_EQ(b.dc.At(13, 13), kWhite);
    c.MoveTo(0, 19);
    c.LineTo(5, 19);
    EXPECT_EQ(b.dc.At(4, 19), kRed);
    EXPECT_EQ(b.dc.At(5, 19), kWhite);
    EXPECT_EQ(c.PenPos().x, 5);
    c.Pen()->SetMode(pmNot);
    c.MoveTo(0, 0);
    c.LineTo(1, 0);
    EXPECT_EQ(b.dc.At(0, 0), RGB(0, 0, 0));
}

TEST(Canvas, FillFrameAndPolygon)
{
    BoundCanvas b;
    TCanvas& c = *b.canvas;
    c.Brush()->SetColor(clRed);
    c.FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(b.dc.At(3, 3), kRed);
    EXPECT_EQ(b.dc.At(4, 4), kWhite);
    c.Brush()->SetColor(clBlue);
    c.FrameRect(Rect(10, 10, 15, 15));
    EXPECT_EQ(b.dc.At(10, 12), kBlue);
    EXPECT_EQ(b.dc.At(12, 12), kWhite);
    c.Pen()->SetStyle(psClear);
    c.Brush()->SetColor(clRed);
    c.Polygon({Point(0, 10), Point(8, 10), Point(8, 18), Point(0, 18)});
    EXPECT_EQ(b.dc.At(4, 14), kRed);
    c.Pen()->SetStyle(psSolid);
    c.Pen()->SetColor(clBlue);
    c.Polyline({Point(0, 19), Point(3, 19)});
    EXPECT_EQ(b.dc.At(2, 19), kBlue);
}

TEST(Canvas, PixelsResolveSystemColours)
{
    BoundCanvas b;
    b.canvas->SetPixels(1, 1, clBtnShadow);
    EXPECT_EQ(b.dc.At(1, 1), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(b.canvas->Pixels(1, 1), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(b.canvas->Pixels(2, 2), static_cast<TColor>(kWhite));
}

TEST(Canvas, ClipRectFollowsTheContextClip)
{
    BoundCanvas b(30, 20);
    EXPECT_EQ(b.canvas->ClipRect().right, 30);
    EXPECT_EQ(b.canvas->ClipRect().bottom, 20);
    IntersectClipRect(b.dc.dc(), 2, 3, 10, 12);
    TRect r = b.canvas->ClipRect();
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 3);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(r.bottom, 12);
}

TEST(Canvas, TextUsesTheFontAndMovesThePen)
{
    BoundCanvas b(60, 30);
    TCanvas& c = *b.canvas;
    c.Font()->SetName(GDI_TEST_FACE);
    c.Font()->SetHeight(-10);
    c.Font()->SetColor(clRed);
    SIZE one = c.TextExtent("W");
    SIZE three = c.TextExtent("WWW");
    EXPECT_GT(one.cx, 0);
    EXPECT_EQ(three.cx, 3 * one.cx);
    EXPECT_EQ(c.TextWidth("WWW"), three.cx);
    EXPECT_EQ(c.TextHeight("W"), one.cy);
    c.Brush()->SetColor(clBlue);
    c.TextOut(0, 0, "WW");
    EXPECT_EQ(c.PenPos().x, 2 * one.cx);
    bool red = false;
    for (int y = 0; y < one.cy; ++y)
        for (int x = 0; x < 2 * one.cx; ++x)
            red = red || b.dc.At(x, y) == kRed;
    EXPECT_TRUE(red);
    EXPECT_EQ(b.dc.At(2 * one.cx, 0), kWhite);
}

TEST(Canvas, TextRectFillsUnlessTheBrushIsClear)
{
    BoundCanvas b(60, 30);
    TCanvas& c = *b.canvas;
    c.Font()->SetName(GDI_TEST_FACE);
    c.Brush()->SetColor(clBlue);
    c.TextRect(Rect(0, 0, 30, 20), 40, 40, "x");   // text outside the rectangle
    EXPECT_EQ(b.dc.At(29, 19), kBlue);
    EXPECT_EQ(b.dc.At(30, 19), kWhite);
    c.Brush()->SetStyle(bsClear);
    c.Brush()->SetColor(clRed);
    c.Brush()->SetStyle(bsClear);
    c.TextRect(Rect(30, 0, 60, 20), 100, 100, "x");
    EXPECT_EQ(b.dc.At(35, 5), kWhite);
}

TEST(Canvas, CopyRectStretchesWithTheCopyMode)
{
    BoundCanvas source(4, 4);
    source.canvas->Brush()->SetColor(clRed);
    source.canvas->FillRect(Rect(0, 0, 2, 4));
    BoundCanvas dest(8, 8);
    dest.canvas->CopyRect(Rect(0, 0, 8, 8), source.canvas.get(), Rect(0, 0, 4, 4));
    EXPECT_EQ(dest.dc.At(3, 7), kRed);
    EXPECT_EQ(dest.dc.At(4, 0), kWhite);
    dest.canvas->SetCopyMode(cmNotSrcCopy);
    dest.canvas->CopyRect(Rect(0, 0, 4, 4), source.canvas.get(), Rect(0, 0, 4, 4));
    EXPECT_EQ(dest.dc.At(0, 0), RGB(0, 255, 255));
    EXPECT_EQ(dest.dc.At(3, 3), RGB(0, 0, 0));
}

TEST(Canvas, DrawingCallsAreBracketedByChangeEvents)
{
    BoundCanvas b;
    EventLog log;
    b.canvas->SetOnChanging(TNotifyEvent(&log, &EventLog::Changing));
    b.canvas->SetOnChange(TNotifyEvent(&log, &EventLog::Changed));
    b.canvas->FillRect(Rect(0, 0, 2, 2));
    b.canvas->Ellipse(0, 0, 5, 5);
    b.canvas->TextExtent("a");   // measuring draws nothing
    EXPECT_EQ(log.log, "<><>");
}

TEST(Canvas, LockIsCountedAndRecursive)
{
    TOwned<TCanvas> canvas(new TCanvas);
    canvas->Lock();
    EXPECT_TRUE(canvas->TryLock());
    EXPECT_EQ(canvas->LockCount(), 2);
    canvas->Unlock();
    canvas->Unlock();
    EXPECT_EQ(canvas->LockCount(), 0);
}

TEST(Canvas, ShapeCallsReachTheContextWithTheCanvasState)
{
    BoundCanvas b(40, 40);
    TCanvas& c = *b.canvas;
    c.Pen()->SetColor(clRed);
    c.Pen()->SetMode(pmXor);
    c.Brush()->SetColor(clBlue);
    ASSERT_TRUE(GdiStartRecording(b.dc.dc()));
    c.RoundRect(1, 2, 30, 31, 5, 6);
    c.Ellipse(Rect(3, 4, 20, 21));
    c.Arc(1, 1, 20, 20, 0, 0, 20, 20);
    c.Pie(2, 2, 22, 22, 0, 0, 22, 0);
    c.Chord(3, 3, 23, 23, 0, 0, 23, 0);
    c.Brush()->SetStyle(bsClear);
    c.Rectangle(Rect(5, 6, 7, 8));
    GdiStopRecording(b.dc.dc());
    const std::vector<GdiRecordedCall> calls = GdiRecordedCalls(b.dc.dc());
    const char* names[] = {"RoundRect", "Ellipse", "Arc", "Pie", "Chord", "Rectangle"};
    const char* starts[] = {"1,2,30,31,5,6", "3,4,20,21", "1,1,20,20,0,0,20,20", "2,2,22,22,0,0,22,0",
                            "3,3,23,23,0,0,23,0", "5,6,7,8"};
    ASSERT_EQ(calls.size(), std::size(names));
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].function, names[i]);
        EXPECT_EQ(calls[i].arguments.rfind(starts[i], 0), 0u) << calls[i].arguments;
        EXPECT_EQ(calls[i].penColor, kRed);
        EXPECT_EQ(calls[i].rop2, R2_XORPEN);
    }
    EXPECT_EQ(calls[0].brushColor, kBlue);
    EXPECT_EQ(calls[0].brushStyle, BS_SOLID);
    EXPECT_EQ(calls[5].brushStyle, BS_HOLLOW);
}

TEST(Canvas, PublishesItsDrawingObjects)
{
    TOwned<TCanvas> canvas(new TCanvas);
    TPropList props = GetPropList(TCanvas::StaticClass());
    ASSERT_EQ(props.size(), 4u);
    EXPECT_EQ(props[0]->Name, "Brush");
    EXPECT_EQ(props[1]->Name, "CopyMode");
    EXPECT_EQ(props[1]->Default, cmSrcCopy);
    EXPECT_EQ(GetObjectProp(canvas.get(), "Font"), canvas->Font());
    TOwned<TPen> red(new TPen);
    red->SetColor(clRed);
    SetObjectProp(canvas.get(), "Pen", red.get());   // assigned, not replaced
    EXPECT_NE(canvas->Pen(), red.get());
    EXPECT_EQ(canvas->Pen()->Color(), clRed);
}
