// The form shape on a headless form: the window region it gives, its removal, the owner
// check, the messages it answers (size, erase, hit test and drag) and the background it
// hands to controls, also when the form comes from a form description.
#include "obl/controls/graphic/OBLSpeedButton.h"
#include "obl/controls/shapes/OBLFormShape.h"
#include "obl/core/containers/oblcont.h"
#include "obl/core/startup/OBLUnits.h"

#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Messages.h"
#include "platform/win/user/UserTesting.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct OwnedRgn {
    HRGN h;
    explicit OwnedRgn(HRGN r) : h(r) {}
    ~OwnedRgn() { DeleteObject(h); }
    OwnedRgn(const OwnedRgn&) = delete;
};

class TSizeLogForm : public TForm {
    VENDARO_CLASS(TSizeLogForm, TForm)
public:
    explicit TSizeLogForm(TComponent* owner) : TForm(owner) {}
    int sizes = 0;

    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_SIZE)
            ++sizes;
        TForm::WndProc(m);
    }
};

class FormShape : public testing::Test {
protected:
    void SetUp() override
    {
        UserResetWindowSystem();
        ResetControlsState();
        FormsInitialization();
        OBLInitializeUnits();
        RegisterClass(TOBLFormShape::StaticClass());
        form_ = new TSizeLogForm(Application);
        form_->SetBorderStyle(bsSingle);
        form_->SetBounds(100, 80, 200, 150);
        form_->HandleNeeded();
        original_ = reinterpret_cast<WNDPROC>(GetWindowLongA(form_->Handle(), GWL_WNDPROC));
    }
    void TearDown() override
    {
        UnRegisterClass(TOBLFormShape::StaticClass());
        OBLFinalizeUnits();
        FormsFinalization();
        ResetControlsState();
        UserResetWindowSystem();
    }

    // A form shape as a form description makes it: loading ends with Loaded.
    TOBLFormShape* MakeShape(TOBLRegionShape shape)
    {
        auto* s = new TOBLFormShape(form_);
        s->Region()->SetShape(shape);
        s->Loaded();
        return s;
    }

    // The form window's region, null when it has none.
    std::unique_ptr<OwnedRgn> WindowRgn()
    {
        HRGN r = CreateRectRgn(0, 0, 0, 0);
        if (GetWindowRgn(form_->Handle(), r) == ERROR) {
            DeleteObject(r);
            return nullptr;
        }
        return std::make_unique<OwnedRgn>(r);
    }

    static int Frame() { return GetSystemMetrics(SM_CXDLGFRAME); }
    static int Strip() { return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYDLGFRAME); }

    // Client point to window point of the form.
    TPoint InWindow(int x, int y) { return TPoint{x + Frame(), y + Strip()}; }
    TPoint OnScreen(int x, int y)
    {
        TPoint p = form_->ClientToScreen(Point(x, y));
        return p;
    }

    void Drag(TPoint from, int dx, int dy)
    {
        UserInjectMouseMove(from.x, from.y);
        UserInjectMouseButton(MouseButton::Left, true, from.x, from.y);
        UserInjectMouseMove(from.x + dx, from.y + dy);
        UserInjectMouseButton(MouseButton::Left, false, from.x + dx, from.y + dy);
        UserPumpMessages();
    }

    TSizeLogForm* form_ = nullptr;
    WNDPROC original_ = nullptr;
};

TEST_F(FormShape, OnlyAFormCanOwnIt)
{
    TComponent holder(nullptr);
    try {
        new TOBLFormShape(&holder);
        FAIL() << "a non-form owner was taken";
    } catch (const OBLEOneInstError& e) {
        EXPECT_EQ(e.Message(), "TOBLFormShape:\rInvalid owner (<>TForm) or second instance on a form");
    }
    EXPECT_EQ(holder.ComponentCount(), 0) << "the refused component is gone";
    EXPECT_THROW(new TOBLFormShape(nullptr), OBLEOneInstError);
}

TEST_F(FormShape, CutsTheFormToTheShapeBelowTheCaption)
{
    TOBLFormShape* shape = MakeShape(rsElliptic);
    EXPECT_TRUE(shape->Hooked());
    auto rgn = WindowRgn();
    ASSERT_TRUE(rgn);
    const int cw = 200 - 2 * Frame(), ch = 150 - 2 * Frame() - GetSystemMetrics(SM_CYCAPTION);
    // The ellipse of the client rectangle grown by one pixel, moved to the client's place.
    OwnedRgn want(CreateEllipticRgn(-1, -1, cw + 1, ch + 1));
    OffsetRgn(want.h, Frame(), Strip());
    OwnedRgn strip(CreateRectRgn(0, 0, 200, Strip()));
    CombineRgn(want.h, want.h, strip.h, RGN_OR);
    EXPECT_TRUE(EqualRgn(rgn->h, want.h));
    const TPoint corner = InWindow(cw - 1, ch - 1), middle = InWindow(cw / 2, ch / 2);
    EXPECT_FALSE(PtInRegion(rgn->h, corner.x, corner.y));
    EXPECT_TRUE(PtInRegion(rgn->h, middle.x, middle.y));
    EXPECT_TRUE(PtInRegion(rgn->h, 2, 2)) << "the caption stays";

    shape->SetShowFormCaption(false);
    rgn = WindowRgn();
    ASSERT_TRUE(rgn);
    EXPECT_FALSE(PtInRegion(rgn->h, 2, 2)) << "the caption strip is cut out";
    EXPECT_TRUE(PtInRegion(rgn->h, middle.x, middle.y));
}

TEST_F(FormShape, ShadowWidensTheWindowRegion)
{
    TOBLFormShape* shape = MakeShape(rsRect);
    shape->Region()->Shadow()->SetStyle(hssSolid);
    auto rgn = WindowRgn();
    ASSERT_TRUE(rgn);
    const int cw = 200 - 2 * Frame(), ch = 150 - 2 * Frame() - GetSystemMetrics(SM_CYCAPTION);
    // In client coordinates the shape (-1, -1, cw - 5, ch - 5) and its shadow (5, 5, cw + 1, ch + 1).
    struct Probe {
        TPoint client;
        bool inside;
    };
    const Probe probes[] = {
        {{0, 0}, true}, {{cw - 2, 10}, true}, {{cw - 2, 2}, false}, {{2, ch - 2}, false}, {{cw - 1, ch - 1}, true}};
    for (const Probe& p : probes) {
        const TPoint w = InWindow(p.client.x, p.client.y);
        EXPECT_EQ(PtInRegion(rgn->h, w.x, w.y) != FALSE, p.inside) << p.client.x << "," << p.client.y;
    }
}

TEST_F(FormShape, MinimisedFormKeepsOnlyItsCaptionStrip)
{
    MakeShape(rsElliptic);
    ShowWindow(form_->Handle(), SW_MINIMIZE);
    UserPumpMessages();
    ASSERT_TRUE(GetWindowLongA(form_->Handle(), GWL_STYLE) & WS_MINIMIZE);
    auto rgn = WindowRgn();
    ASSERT_TRUE(rgn);
    RECT wr{};
    GetWindowRect(form_->Handle(), &wr);
    OwnedRgn want(CreateRectRgn(0, 0, wr.right - wr.left, Strip()));
    EXPECT_TRUE(EqualRgn(rgn->h, want.h));
}

TEST_F(FormShape, ShapesWithoutDataLeaveTheFormRectangular)
{
    TOBLFormShape* shape = MakeShape(rsBitmap);
    EXPECT_FALSE(WindowRgn()) << "an empty mask";
    EXPECT_EQ(form_->Width(), 200) << "an empty mask bitmap does not resize the form";
    shape->Region()->SetShape(rsDiamond);
    ASSERT_TRUE(WindowRgn());
    shape->Region()->SetShape(rsUserRegion);
    EXPECT_FALSE(WindowRgn()) << "no user region: the diamond's region went";
    OwnedRgn user(CreateEllipticRgn(0, 0, 50, 50));
    shape->SetRegionShape(user.h);
    auto given = WindowRgn();
    ASSERT_TRUE(given) << "the user region shapes the form";
    EXPECT_TRUE(PtInRegion(given->h, Frame() + 25, Strip() + 25));
    EXPECT_FALSE(PtInRegion(given->h, Frame() + 60, Strip() + 25));
    shape->Region()->SetShape(rsPointList);
    EXPECT_FALSE(WindowRgn()) << "no points";
    const TPoint triangle[] = {{0, 0}, {150, 0}, {0, 100}};
    shape->SetPolygonShape(triangle, 3);
    EXPECT_TRUE(WindowRgn()) << "the polygon shapes the form";
}

// A staircase of one-pixel rows, one band each, from the top of the form down.
static HRGN Staircase(int rows)
{
    std::vector<char> data(sizeof(RGNDATAHEADER) + static_cast<std::size_t>(rows) * sizeof(RECT));
    const RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rows),
                               static_cast<DWORD>(rows * sizeof(RECT)), {0, 0, 0, 0}};
    std::memcpy(data.data(), &header, sizeof header);
    for (int y = 0; y < rows; ++y) {
        const RECT r{y % 9, y, y % 9 + 120, y + 1};
        std::memcpy(data.data() + sizeof header + static_cast<std::size_t>(y) * sizeof(RECT), &r, sizeof r);
    }
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
}

TEST_F(FormShape, AComplexShapeIsCutToTheWindowBeforeItIsCombined)
{
    TOBLFormShape* shape = MakeShape(rsUserRegion);
    shape->Region()->Shadow()->SetStyle(hssSolid);
    // The floor: making the region once from its data, which giving it to the form
    // shape must do too.
    auto start = std::chrono::steady_clock::now();
    OwnedRgn tall(Staircase(300000));
    const auto floor = std::chrono::steady_clock::now() - start;
    OwnedRgn shortStairs(Staircase(200));
    start = std::chrono::steady_clock::now();
    shape->SetRegionShape(tall.h);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    auto got = WindowRgn();
    ASSERT_TRUE(got);
    RECT box{};
    GetRgnBox(got->h, &box);
    EXPECT_LE(box.bottom, 150) << "nothing below the window";
    // The rows below the 150-pixel window change nothing of the region in it.
    shape->SetRegionShape(shortStairs.h);
    auto want = WindowRgn();
    ASSERT_TRUE(want);
    EXPECT_TRUE(EqualRgn(got->h, want->h));
    // Combining the whole shape for its shadow and caption takes some 7 times the floor.
    EXPECT_LT(elapsed, 4 * floor);
}

TEST_F(FormShape, BitmapShapeSizesTheFormToTheMask)
{
    TOBLFormShape* shape = MakeShape(rsRect);
    TBitmap border;
    border.SetSize(120, 70);
    OwnedRgn stored(CreateEllipticRgn(0, 0, 120, 70));
    shape->Region()->Mask()->SetBorderBmp(0, &border);
    shape->Region()->Mask()->GetRegionData(stored.h);
    shape->Region()->SetShape(rsBitmap);
    EXPECT_EQ(form_->Width(), 120 + 6 + 2 * Frame()) << "the shadow's depth is added";
    EXPECT_EQ(form_->Height(), 70 + 6 + 2 * Frame() + GetSystemMetrics(SM_CYCAPTION));
    auto rgn = WindowRgn();
    ASSERT_TRUE(rgn);
    EXPECT_TRUE(PtInRegion(rgn->h, Frame() + 60, Strip() + 35));
    EXPECT_FALSE(PtInRegion(rgn->h, Frame() + 1, Strip() + 68));
}

TEST_F(FormShape, DisablingOrFreeingGivesTheRectangleBack)
{
    TOBLFormShape* shape = MakeShape(rsStar);
    ASSERT_TRUE(WindowRgn());
    shape->SetEnabled(false);
    EXPECT_FALSE(WindowRgn()) << "disabled";
    EXPECT_FALSE(shape->Hooked());
    shape->Region()->SetShape(rsDiamond);
    EXPECT_FALSE(WindowRgn()) << "changes while disabled do not shape the form";
    shape->SetEnabled(true);
    EXPECT_TRUE(WindowRgn()) << "enabled again";
    shape->Free();
    EXPECT_FALSE(WindowRgn()) << "freed";
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(form_->Handle(), GWL_WNDPROC)), original_);
}

TEST_F(FormShape, SizeChangesReachTheFormAndReshapeIt)
{
    MakeShape(rsElliptic);
    const int before = form_->sizes;
    // Sized as the user sizes it: the window first, the form's bounds follow.
    SetWindowPos(form_->Handle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_GT(form_->sizes, before) << "WM_SIZE is passed on to the form";
    EXPECT_EQ(form_->ClientWidth(), 300 - 2 * Frame());
    auto rgn = WindowRgn();
    ASSERT_TRUE(rgn);
    RECT box{};
    GetRgnBox(rgn->h, &box);
    EXPECT_EQ(box.right, 300) << "the region follows the new size";
}

// Made in code, the shape is never loaded: it shapes its form once the form has a window,
// follows its sizes from then on, and shapes a window made anew as well.
TEST_F(FormShape, MadeInCodeItShapesItsFormOnceTheFormHasAWindow)
{
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsSingle);
    form->SetBounds(40, 40, 200, 150);
    ASSERT_FALSE(form->HandleAllocated());
    auto* shape = new TOBLFormShape(form);
    shape->Region()->SetShape(rsElliptic);
    ASSERT_FALSE(form->HandleAllocated()) << "the shape makes no window of its own accord";
    form->Show();
    UserPumpMessages();
    ASSERT_TRUE(form->HandleAllocated());
    EXPECT_TRUE(shape->Hooked());
    // The window region is the ellipse under the caption strip, for the window's size and
    // frame: the client rectangle grown by one pixel, moved to the client's place.
    const auto shaped = [form](int width, int height, int frame) {
        HRGN r = CreateRectRgn(0, 0, 0, 0);
        const bool given = GetWindowRgn(form->Handle(), r) != ERROR;
        const int strip = GetSystemMetrics(SM_CYCAPTION) + frame;
        OwnedRgn want(CreateEllipticRgn(-1, -1, width - 2 * frame + 1, height - frame - strip + 1));
        OffsetRgn(want.h, frame, strip);
        OwnedRgn caption(CreateRectRgn(0, 0, width, strip));
        CombineRgn(want.h, want.h, caption.h, RGN_OR);
        const bool same = given && EqualRgn(r, want.h);
        DeleteObject(r);
        return same;
    };
    EXPECT_TRUE(shaped(200, 150, Frame()));
    SetWindowPos(form->Handle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UserPumpMessages();
    EXPECT_TRUE(shaped(300, 200, Frame())) << "the region follows the new size";

    // A new window (another border style) loses the old window's region: it is shaped again.
    form->SetBorderStyle(bsSizeable);
    form->HandleNeeded();
    UserPumpMessages();
    EXPECT_TRUE(shape->Hooked());
    EXPECT_TRUE(shaped(300, 200, GetSystemMetrics(SM_CXFRAME)));
    FreeObject(form);
}

// The shape's rectangle is the client area grown by one pixel, so the window region takes
// in a pixel of the frame around the client: there the border goes on, the frame does not
// show (the diamond's tips, a rounded rectangle's edges).
TEST_F(FormShape, TheFramePixelsInsideTheRegionShowTheBorder)
{
    const auto surfaceColour = [](TColor c) {
        const COLORREF v = ColorToRGB(c);
        return static_cast<std::uint32_t>((v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF));
    };
    for (TOBLRegionShape kind : {rsDiamond, rsRoundRect}) {
        SCOPED_TRACE(static_cast<int>(kind));
        TOBLFormShape* shape = MakeShape(kind);
        shape->Region()->Border()->SetStyle(rbRaised);
        shape->Region()->Border()->SetLightColor(clWhite);
        shape->Region()->Border()->SetShadowColor(clNavy);
        form_->Show();
        RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        UserPumpMessages();
        auto rgn = WindowRgn();
        ASSERT_TRUE(rgn);
        const RECT client{Frame(), Strip(), Frame() + form_->ClientWidth(), Strip() + form_->ClientHeight()};
        const Surface* surface = UserWindowSurface(form_->Handle());
        int band = 0;
        for (int y = Strip(); y < form_->Height(); ++y)
            for (int x = 0; x < form_->Width(); ++x) {
                const bool inClient = x >= client.left && x < client.right && y >= client.top && y < client.bottom;
                if (inClient || !PtInRegion(rgn->h, x, y))
                    continue;
                ++band;
                const std::uint32_t pixel = surface->Pixel(x, y) & 0xFFFFFF;
                EXPECT_TRUE(pixel == surfaceColour(clWhite) || pixel == surfaceColour(clNavy)) << x << "," << y;
            }
        EXPECT_GT(band, 0);
        shape->Free();
    }
}

TEST_F(FormShape, EmptyClientSpotsDragTheFormControlsDoNot)
{
    auto* label = new TLabel(form_);
    label->SetParent(form_);
    label->SetBounds(10, 10, 60, 20);
    label->SetCaption("label");
    MakeShape(rsRect);
    form_->Show();
    UserPumpMessages();
    RECT start{};
    GetWindowRect(form_->Handle(), &start);
    Drag(OnScreen(120, 80), 30, 20);
    RECT moved{};
    GetWindowRect(form_->Handle(), &moved);
    EXPECT_EQ(moved.left - start.left, 30);
    EXPECT_EQ(moved.top - start.top, 20);
    // A second drag works too: the first left no button held down.
    Drag(OnScreen(120, 80), -10, 5);
    RECT again{};
    GetWindowRect(form_->Handle(), &again);
    EXPECT_EQ(again.left - moved.left, -10);
    EXPECT_EQ(again.top - moved.top, 5);
    Drag(OnScreen(20, 15), 40, 40);
    RECT onLabel{};
    GetWindowRect(form_->Handle(), &onLabel);
    EXPECT_EQ(onLabel.left, again.left) << "pressing on the label does not drag";
}

TEST_F(FormShape, NotDragableFormsStayPut)
{
    TOBLFormShape* shape = MakeShape(rsRect);
    shape->SetFormDragable(false);
    form_->Show();
    UserPumpMessages();
    RECT start{};
    GetWindowRect(form_->Handle(), &start);
    Drag(OnScreen(120, 80), 30, 20);
    RECT after{};
    GetWindowRect(form_->Handle(), &after);
    EXPECT_EQ(after.left, start.left);
}

class FormShapePaint : public FormShape {
protected:
    // The client pixel as the window shows it after a full repaint over black.
    std::uint32_t ClientPixel(int x, int y)
    {
        HDC dc = GetDC(form_->Handle());
        RECT all{0, 0, 400, 400};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(form_->Handle(), dc);
        RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        const TPoint p = InWindow(x, y);
        return UserWindowSurface(form_->Handle())->Pixel(p.x, p.y);
    }
    static std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
};

TEST_F(FormShapePaint, EraseFillsTheBackgroundOrLeavesItToTheFill)
{
    TOBLFormShape* shape = MakeShape(rsRect);
    shape->Region()->Border()->SetStyle(rbNone);
    form_->Show();
    UserPumpMessages();
    const std::uint32_t face = Rgb(GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ClientPixel(90, 60), face) << "no fill: the default erase";
    shape->FillObject()->SetFillStyle(sfBrush);
    shape->FillObject()->Brush()->SetColor(clRed);
    EXPECT_EQ(ClientPixel(90, 60), 0xFF0000u) << "the fill paints the background";
    // A bitmap shape that does not paint its bitmap still has its background erased.
    shape->FillObject()->SetFillStyle(sfNone);
    shape->SetUseRgnBitmap(false);
    OwnedRgn stored(CreateRectRgn(0, 0, 150, 100));
    shape->Region()->Mask()->GetRegionData(stored.h);
    shape->Region()->SetShape(rsBitmap);
    EXPECT_EQ(ClientPixel(40, 40), face);
}

TEST_F(FormShapePaint, BackgroundIsHandedToControls)
{
    TOBLFormShape* shape = MakeShape(rsRect);
    EXPECT_FALSE(shape->BackBitmapCheck());
    EXPECT_EQ(shape->BackBitmap(), nullptr);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(10, 10);
    EXPECT_FALSE(shape->BackDrawArea(target.Canvas(), Rect(0, 0, 10, 10), TPoint{5, 5}, 0));
    shape->FillObject()->SetFillStyle(sfBrush);
    shape->FillObject()->Brush()->SetColor(clLime);
    shape->PaintBorder(nullptr);
    EXPECT_TRUE(shape->BackBitmapCheck());
    ASSERT_NE(shape->BackBitmap(), nullptr);
    EXPECT_EQ(shape->BackBitmap()->Width(), form_->ClientWidth());
    EXPECT_TRUE(shape->BackDrawArea(target.Canvas(), Rect(0, 0, 10, 10), TPoint{5, 5}, 0));
    EXPECT_EQ(target.Canvas()->Pixels(3, 3), clLime);
    EXPECT_EQ(shape->BackMapPoint(TPoint{7, 9}).y, 9);
}

// A list index the bitmap list has no entry for (a negative one) gives the bitmap-list fill no
// picture: painting and resizing raise nothing, and entry 0 fills with its picture.
TEST_F(FormShapePaint, AListIndexTheListHasNoEntryForFillsWithoutItsPicture)
{
    std::vector<std::string> boxes;
    UserSetMessageBoxResponder([&](const MessageBoxRequest& request) {
        boxes.push_back(request.text.str());
        return IDOK;
    });
    TOBLFormShape* shape = MakeShape(rsRect);
    shape->Region()->Border()->SetStyle(rbNone);
    auto* pictures = new TOBLBitmapList(form_);
    TBitmap picture;
    picture.SetSize(8, 8);
    picture.Canvas()->Brush()->SetColor(clLime);
    picture.Canvas()->FillRect(Rect(0, 0, 8, 8));
    pictures->Items(pictures->Add(nullptr))->SetBitmap(&picture);
    shape->SetImageList(pictures);
    shape->SetListIndex(-1);
    shape->FillObject()->SetFillStyle(sfBitmapList);
    form_->Show();
    UserPumpMessages();
    ClientPixel(90, 60);
    form_->SetBounds(100, 80, 230, 170);
    UserPumpMessages();
    EXPECT_NE(ClientPixel(90, 60), 0x00FF00u);
    EXPECT_EQ(shape->ListIndex(), -1);
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    shape->SetListIndex(0);
    EXPECT_EQ(ClientPixel(90, 60), 0x00FF00u);
    UserSetMessageBoxResponder(nullptr);
}

// A transparent windowless button on the form shows the part of the form shape's
// background that lies under it; opaque it fills itself with its colour.
TEST_F(FormShapePaint, TransparentButtonShowsTheShapesBackgroundUnderIt)
{
    TOBLFormShape* shape = MakeShape(rsRect);
    shape->Region()->Border()->SetStyle(rbNone);
    // Red left of x 50, blue from there on, over the whole client area.
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(form_->ClientWidth(), form_->ClientHeight());
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(Rect(0, 0, 50, picture.Height()));
    picture.Canvas()->Brush()->SetColor(clBlue);
    picture.Canvas()->FillRect(Rect(50, 0, picture.Width(), picture.Height()));
    shape->FillObject()->SetBitmap(&picture);
    shape->FillObject()->SetFillStyle(sfBitmap);
    auto* button = new TOBLSpeedButton(form_);
    button->SetParent(form_);
    button->SetStyle(ubsExplorer);
    button->SetTransparent(false);
    button->SetColor(clYellow);
    button->SetBounds(30, 40, 40, 24);
    form_->Show();
    UserPumpMessages();
    EXPECT_EQ(ClientPixel(35, 50), 0xFFFF00u) << "opaque: its own colour";
    button->SetTransparent(true);
    EXPECT_EQ(ClientPixel(35, 50), 0xFF0000u) << "left of x 50 the red part";
    EXPECT_EQ(ClientPixel(65, 50), 0x0000FFu) << "right of it the blue part";
    EXPECT_EQ(ClientPixel(20, 50), 0xFF0000u) << "the form beside the button";
}

class FormShapeDescription : public FormShape {
protected:
    void Read(const std::string& text)
    {
        TStringStream s(AnsiString(text.c_str()));
        s.ReadComponent(form_);
    }
    static std::string Described(const std::string& shapeLines)
    {
        return "object Form1: TSizeLogForm\n  Left = 100\n  Top = 80\n  Width = 200\n  Height = 150\n"
               "  BorderStyle = bsSingle\n  object Shape1: TOBLFormShape\n" +
               shapeLines + "  end\nend\n";
    }
};

TEST_F(FormShapeDescription, ShapesTheFormItIsReadWith)
{
    Read(Described("    Region.Shape = rsDiamond\n    ShowFormCaption = False\n"));
    auto rgn = WindowRgn();
    ASSERT_TRUE(rgn);
    const int cw = form_->ClientWidth();
    const TPoint top = InWindow(cw / 2, 2), corner = InWindow(2, 2);
    EXPECT_TRUE(PtInRegion(rgn->h, top.x, top.y));
    EXPECT_FALSE(PtInRegion(rgn->h, corner.x, corner.y));
    EXPECT_FALSE(PtInRegion(rgn->h, 2, 2));
    TStringStream out;
    out.WriteComponent(form_);
    EXPECT_NE(std::string(out.DataString().c_str()).find("Region.Shape = rsDiamond"), std::string::npos);
}

TEST_F(FormShapeDescription, DamagedRegionDataRaisesTheReadErrorAndLeavesTheFormRectangular)
{
    // A header that announces two rectangles and brings one.
    const std::string damaged = "    Region.Shape = rsBitmap\n    Region.Mask.RegionDataSize = 48\n"
                                "    Region.Mask.RegionData = {\n"
                                "      2000000001000000020000002000000000000000000000000A0000000A000000\n"
                                "      00000000000000000A0000000A000000}\n";
    EXPECT_THROW(Read(Described(damaged)), EReadError);
    EXPECT_FALSE(WindowRgn());
}

} // namespace

namespace {

TEST_F(FormShapeDescription, GlobalImageListIsStoredAsItsIdentAndPaintsTheBackground)
{
    TOBLBitmapList* global = OBLContainer->BitmapList();
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
    global->Items(global->Add(nullptr))->SetBitmap(&picture);

    TOBLFormShape* shape = MakeShape(rsRect);
    shape->SetName("Shape1");
    shape->SetImageList(global);
    shape->FillObject()->SetFillStyle(sfBitmapList);
    TStringStream out;
    out.WriteComponent(form_);
    const std::string text = out.DataString().c_str();
    EXPECT_NE(text.find("Internal = 'OBLBML30'"), std::string::npos) << text;
    EXPECT_EQ(text.find("ImageList ="), std::string::npos) << "a global list is no reference";

    shape->PaintBorder(nullptr);
    EXPECT_EQ(shape->BackBitmap()->Canvas()->Pixels(20, 20), clFuchsia) << "the list's picture, tiled";

    shape->Free();
    Read(text);
    auto* back = static_cast<TOBLFormShape*>(form_->FindComponent("Shape1"));
    ASSERT_NE(back, nullptr) << text;
    EXPECT_EQ(back->ImageList(), global);
    global->Clear();
}

} // namespace

namespace {

TEST_F(FormShape, ForgetsAnImageListThatGoes)
{
    TOBLFormShape* shape = MakeShape(rsRect);
    auto* list = new TOBLBitmapList(form_);
    shape->SetImageList(list);
    EXPECT_EQ(list->LinkCount(), 1);
    list->Free();
    EXPECT_EQ(shape->ImageList(), nullptr);
}

} // namespace

namespace {

TEST_F(FormShape, ReshapingLeavesNoRegionBehind)
{
    TOBLFormShape* shape = MakeShape(rsElliptic);
    shape->Region()->Shadow()->SetStyle(hssSolid);
    shape->PaintBorder(nullptr);
    const int live = GdiLiveObjectCount();
    for (int i = 0; i < 3; ++i) {
        shape->SetShowFormCaption(i % 2 == 0);
        shape->ReRegion();
        shape->PaintBorder(nullptr);
    }
    shape->SetShowFormCaption(true);
    EXPECT_EQ(GdiLiveObjectCount(), live);
}

} // namespace

namespace {

TEST_F(FormShape, AtDesignTimeOneShapePerFormAndTheWindowStaysWhole)
{
    form_->SetDesigning(true);
    TOBLFormShape* shape = MakeShape(rsElliptic);
    EXPECT_FALSE(WindowRgn()) << "the designer's form keeps its rectangle";
    EXPECT_THROW(new TOBLFormShape(form_), OBLEOneInstError);
    EXPECT_EQ(form_->ComponentCount(), 1);
    shape->SetShowFormCaption(false);
    EXPECT_TRUE(shape->Region()->CurrentRegion()) << "built all the same, only not given to the window";
    EXPECT_FALSE(WindowRgn());
    form_->SetDesigning(false);
}

} // namespace

namespace {

// A shown, active form holding a shape ends in any way without the shape touching it
// half-destroyed (its window's last messages, activation among them, reach the hook).
TEST_F(FormShape, AShownFormWithAShapeEndsInAnyWay)
{
    for (const char* way : {"Free", "delete", "window first, then delete"}) {
        SCOPED_TRACE(way);
        auto* form = new TForm(Application);
        form->SetBorderStyle(bsSingle);
        form->SetBounds(40, 40, 200, 150);
        auto* shape = new TOBLFormShape(form);
        shape->Region()->SetShape(rsRoundRect);
        form->Show();
        UserPumpMessages();
        ASSERT_TRUE(shape->Hooked());
        const std::string w = way;
        if (w == "Free") {
            form->Free();
        } else {
            if (w != "delete")
                DestroyWindow(form->Handle());
            delete form;
        }
        UserPumpMessages();
    }
}

// Shapes freed in the order made, or code that put its own dispatch over the form's,
// leave the form's dispatch working and nothing of theirs behind.
TEST_F(FormShape, ShapesLeaveTheFormsDispatchInAnyOrder)
{
    const TWndMethod own = form_->WindowProc();
    TOBLFormShape* first = MakeShape(rsElliptic);
    TOBLFormShape* second = MakeShape(rsDiamond);
    delete first;
    EXPECT_TRUE(second->Hooked());
    second->Free();
    EXPECT_TRUE(form_->WindowProc() == own) << "the form's own dispatch is back";

    // Code that subclasses the form after the shape keeps its dispatch, which still
    // reaches the form; the shape's part ends with the form.
    struct TSubclass : TObject {
        TWndMethod saved;
        int messages = 0;
        void Dispatch(TMessage& m)
        {
            ++messages;
            saved(m);
        }
    } subclass;
    TOBLFormShape* shape = MakeShape(rsElliptic);
    subclass.saved = form_->WindowProc();
    form_->SetWindowProc(TWndMethod(&subclass, &TSubclass::Dispatch));
    delete shape;
    const int sizes = form_->sizes;
    SetWindowPos(form_->Handle(), nullptr, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_GT(subclass.messages, 0);
    EXPECT_GT(form_->sizes, sizes) << "messages still reach the form";
    EXPECT_FALSE(WindowRgn());
    FreeAndNil(form_);
}

} // namespace
