// The title-bar styler: the pixels of the styled title bar, active and inactive, its
// gradient steps, the caption it keeps and gives back, and when it leaves the bar alone.
#include "obl/controls/forms/OBLFormStyler.h"
#include "obl/core/app/Oblsysin.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/base/Oblxpstyles.h"
#include "obl/core/draw/Oblutils.h"
#include "tests/obl/controls/forms/FormsFixture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>

namespace {

class StylerTest : public FormsFixture {
protected:
    // The bar and caption-text rectangles the styler paints in pcControl.
    struct Areas {
        RECT bar{};
        RECT text{};
        WORD flags = 0;
    };
    static Areas AreasOf(TForm* form)
    {
        Areas a;
        a.flags = OBLNC_CAPTIONTOTEXTEND | (form->BorderStyle() == bsSingle ? OBLNC_FORCEICON : 0);
        OBLNCCalcDrawingArea(form->Handle(), a.bar, a.text, a.flags);
        return a;
    }
    // A styler on the form, hooked as when the form is read.
    static TOBLFormStyler* Attach(TForm* form, TOBLFormStyleOptions options = OBLDefaultFormStyleOptions)
    {
        auto* styler = new TOBLFormStyler(form);
        styler->SetOptions(options);
        styler->Loaded();
        return styler;
    }
    // The gradient the styler should paint over the bar, drawn on a bitmap.
    static std::unique_ptr<TBitmap> ExpectedGradient(const RECT& bar, TColor to, int colors)
    {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetPixelFormat(pf24bit);
        bitmap->SetSize(bar.right, bar.bottom);
        OBLGradientPaint(bitmap->Canvas(), bar, clBlack, to, static_cast<TOBLColorCount>(colors), gstHorizontal, 0, 0);
        return bitmap;
    }
    // The top row of the bar right of the icon, as the window shows it.
    static std::vector<std::uint32_t> TopRow(TForm* form, const Areas& a)
    {
        std::vector<std::uint32_t> row;
        for (int x = a.text.left; x < a.bar.right; ++x)
            row.push_back(WindowPixel(form, x, a.bar.top));
        return row;
    }
    static std::vector<std::uint32_t> TopRow(TBitmap* bitmap, const Areas& a)
    {
        std::vector<std::uint32_t> row;
        for (int x = a.text.left; x < a.bar.right; ++x)
            row.push_back(PixelOf(bitmap->Canvas()->Pixels(x, a.bar.top)));
        return row;
    }
    static std::vector<std::uint32_t> TextArea(TForm* form, const Areas& a)
    {
        std::vector<std::uint32_t> pixels;
        for (int y = a.text.top; y < a.text.bottom; ++y)
            for (int x = a.text.left; x < a.text.right; ++x)
                pixels.push_back(WindowPixel(form, x, y));
        return pixels;
    }
    static int CountInText(TForm* form, const Areas& a, TColor color)
    {
        int count = 0;
        for (int y = a.text.top; y < a.text.bottom; ++y)
            for (int x = a.text.left; x < a.text.right; ++x)
                count += WindowPixel(form, x, y) == PixelOf(color);
        return count;
    }
    // A shown form activated after the given one, so that one is inactive.
    static TForm* ShowAnother()
    {
        TForm* other = MakeForm(100, 60, clBtnFace, 400, 300);
        ShowAndPaint(other);
        return other;
    }
};

TEST_F(StylerTest, AnActiveFormGetsTheGradientAndItsCaptionInTheCaptionTextColour)
{
    TForm* form = MakeForm(220, 80, clBtnFace);
    ShowAndPaint(form);
    ASSERT_EQ(GetActiveWindow(), form->Handle());
    TOBLFormStyler* styler = Attach(form);
    EXPECT_TRUE(styler->FormActive());
    const Areas a = AreasOf(form);
    ASSERT_GT(a.text.right - a.text.left, 50);
    auto expected = ExpectedGradient(a.bar, clActiveCaption, 32);
    EXPECT_EQ(TopRow(form, a), TopRow(expected.get(), a));
    EXPECT_GT(CountInText(form, a, clCaptionText), 5) << "the caption text";
    // Each activation change paints it again: after the frame's own repaint.
    TForm* other = ShowAnother();
    EXPECT_FALSE(styler->FormActive());
    form->SetFocus();
    Pump();
    EXPECT_TRUE(styler->FormActive());
    EXPECT_EQ(TopRow(form, a), TopRow(expected.get(), a));
    delete other;
}

// The window icon comes back on top of the gradient: the window's own bar around it,
// above and below it as well as beside it, gives way to the gradient.
TEST_F(StylerTest, TheIconComesBackOnTheGradientWithoutTheWindowsBarBehindIt)
{
    TForm* plain = MakeForm(220, 80, clBtnFace, 60, 60);
    plain->SetCaption("");  // the icon alone, without the window's caption text beside it
    ShowAndPaint(plain);
    const Areas a = AreasOf(plain);
    ASSERT_NE(a.flags & OBLNC_CAPTIONICON, 0);
    ASSERT_GT(a.text.left - a.bar.left, 16);
    // The icon as the window shows it, on its own active bar.
    int white = 0;
    for (int y = a.bar.top; y < a.bar.bottom; ++y)
        for (int x = a.bar.left; x < a.text.left; ++x)
            white += WindowPixel(plain, x, y) == 0xFFFFFFu;
    ASSERT_GT(white, 20) << "the window's icon";
    delete plain;

    TForm* form = MakeForm(220, 80, clBtnFace, 60, 60);
    ShowAndPaint(form);
    Attach(form);
    auto expected = ExpectedGradient(a.bar, clActiveCaption, 32);
    for (int x = a.bar.left; x < a.text.left; ++x)
        for (int y : {static_cast<int>(a.bar.top), static_cast<int>(a.bar.bottom) - 1}) {
            EXPECT_EQ(WindowPixel(form, x, y), PixelOf(expected->Canvas()->Pixels(x, y))) << x << "," << y;
        }
    int whiteNow = 0;
    for (int y = a.bar.top; y < a.bar.bottom; ++y)
        for (int x = a.bar.left; x < a.text.left; ++x)
            whiteNow += WindowPixel(form, x, y) == 0xFFFFFFu;
    EXPECT_EQ(whiteNow, white) << "the icon itself stays";
    // A second full paint copies the styled bar: the icon still stands on the gradient.
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    for (int x = a.bar.left; x < a.text.left; ++x)
        EXPECT_EQ(WindowPixel(form, x, a.bar.top), PixelOf(expected->Canvas()->Pixels(x, a.bar.top))) << x;
}

// With the form's own caption the window draws its text right beside the icon, partly in
// the copy the styler takes: only the icon comes back, never a column of that text, however
// the styler places its caption.
TEST_F(StylerTest, OnlyTheIconComesBackBesideTheWindowsOwnCaption)
{
    for (TAlignment alignment : {taLeftJustify, taCenter, taRightJustify}) {
        TForm* form = MakeForm(300, 60, clBtnFace, 60, 60, bsSingle);
        form->SetCaption("Listino prezzi");
        ShowAndPaint(form);
        TOBLFormStyler* styler = new TOBLFormStyler(form);
        styler->SetOptions(TOBLFormStyleOptions{fsAdjustRect, fsUseFontColor, fsUseFormCaption});
        styler->SetAlignment(alignment);
        styler->Font()->SetColor(clYellow);
        styler->Loaded();
        const Areas a = AreasOf(form);
        ASSERT_NE(a.flags & OBLNC_CAPTIONICON, 0);
        auto expected = ExpectedGradient(a.bar, clActiveCaption, 32);
        // The columns left of the caption area that hold anything but the gradient.
        std::vector<int> drawn;
        for (int x = a.bar.left; x < a.text.left; ++x)
            for (int y = a.bar.top; y < a.bar.bottom; ++y)
                if (WindowPixel(form, x, y) != PixelOf(expected->Canvas()->Pixels(x, y))) {
                    drawn.push_back(x);
                    break;
                }
        ASSERT_FALSE(drawn.empty()) << "the icon";
        EXPECT_EQ(drawn.back() - drawn.front() + 1, static_cast<int>(drawn.size()))
            << "a stroke apart from the icon, at column " << drawn.back();
        EXPECT_LE(static_cast<int>(drawn.size()), OBLNCCAPTIONICONWIDTH());
        delete form;
    }
}

TEST_F(StylerTest, TheGradientHasTheChosenNumberOfSteps)
{
    for (int colors : {2, 5, 12}) {
        // A dialog frame has no icon: the whole bar is the gradient's.
        TForm* form = MakeForm(260, 60, clBtnFace, 40, 40, bsDialog);
        ShowAndPaint(form);
        TOBLFormStyler* styler = Attach(form);
        styler->SetColors(static_cast<TOBLColorCount>(colors));
        const Areas a = AreasOf(form);
        ASSERT_EQ(a.flags & OBLNC_CAPTIONICON, 0);
        std::set<std::uint32_t> steps;
        for (int x = a.bar.left; x < a.bar.right; ++x)
            steps.insert(WindowPixel(form, x, a.bar.top));
        EXPECT_EQ(static_cast<int>(steps.size()), colors) << colors;
        EXPECT_EQ(WindowPixel(form, a.bar.left, a.bar.top), 0u) << "from black";
        EXPECT_EQ(WindowPixel(form, a.bar.right - 1, a.bar.top), PixelOf(clActiveCaption)) << "to the caption colour";
        delete form;
    }
}

TEST_F(StylerTest, AnInactiveFormKeepsItsOwnFrameUnlessAskedForTheInactiveGradient)
{
    TForm* form = MakeForm(220, 80, clBtnFace);
    TForm* plain = MakeForm(220, 80, clBtnFace, 60, 60);
    ShowAndPaint(form);
    TOBLFormStyler* styler = Attach(form);
    ShowAndPaint(plain);
    TForm* other = ShowAnother();
    const Areas a = AreasOf(form);
    EXPECT_FALSE(styler->FormActive());
    EXPECT_EQ(TopRow(form, a), TopRow(plain, a)) << "the system's inactive bar";
    EXPECT_EQ(CountInText(form, a, clCaptionText), 0);

    // Asking for a repaint of the frame keeps it inactive.
    styler->NCPaint();
    EXPECT_EQ(TopRow(form, a), TopRow(plain, a));

    styler->SetOptions(OBLDefaultFormStyleOptions + TOBLFormStyleOptions{fsInactiveGradient});
    auto expected = ExpectedGradient(a.bar, clInactiveCaption, 32);
    EXPECT_EQ(TopRow(form, a), TopRow(expected.get(), a));
    EXPECT_GT(CountInText(form, a, clInactiveCaptionText), 5);
    // And after the next frame paint too.
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(TopRow(form, a), TopRow(expected.get(), a));
    delete other;
}

// A caption the styler holds is never lost: an inactive form shows it in the inactive
// text colour over the system's inactive bar, and a styler that paints nothing (pcNone)
// leaves the real caption to the window.
TEST_F(StylerTest, AnInactiveFormKeepsTheCaptionTheStylerHolds)
{
    const TOBLFormStyleOptions own = OBLDefaultFormStyleOptions - TOBLFormStyleOptions{fsUseFormCaption};
    for (TOBLPaintMode mode : {pcControl, pcNone}) {
        SCOPED_TRACE(static_cast<int>(mode));
        TForm* plain = MakeForm(220, 80, clBtnFace, 60, 60);
        ShowAndPaint(plain);
        TForm* form = MakeForm(220, 80, clBtnFace);
        ShowAndPaint(form);
        TOBLFormStyler* styler = Attach(form, own);
        styler->SetPaintMode(mode);
        TForm* other = ShowAnother();
        ASSERT_NE(GetActiveWindow(), form->Handle());
        const Areas a = AreasOf(form);
        EXPECT_EQ(TopRow(form, a), TopRow(plain, a)) << "the system's inactive bar, no gradient";
        EXPECT_GT(CountInText(form, a, clInactiveCaptionText), 5) << "the caption";
        EXPECT_EQ(styler->Caption(), "Anagrafica");
        // And again after the next frame paint.
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_GT(CountInText(form, a, clInactiveCaptionText), 5) << "after a frame paint";
        if (mode == pcControl) {
            // A new caption replaces the old one on the inactive bar: what shows is what a
            // fresh frame paint shows.
            styler->SetCaption("Fornitori");
            const std::vector<std::uint32_t> text = TextArea(form, a);
            RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            EXPECT_EQ(TextArea(form, a), text);
        }
        // Active again, the caption is there as well.
        form->SetFocus();
        Pump();
        ASSERT_EQ(GetActiveWindow(), form->Handle());
        EXPECT_GT(CountInText(form, a, clCaptionText), 5) << "active";
        delete other;
        delete form;
        delete plain;
    }
}

TEST_F(StylerTest, OwnFontSettingsRepaintTheCaptionInTheFontsColour)
{
    TForm* form = MakeForm(220, 80, clBtnFace);
    ShowAndPaint(form);
    TOBLFormStyler* styler = Attach(form, TOBLFormStyleOptions{fsAdjustRect, fsUseFontColor, fsUseFormCaption});
    const Areas a = AreasOf(form);
    styler->Font()->SetName("Arial");
    styler->Font()->SetHeight(-12);
    styler->Font()->SetColor(clLime);
    EXPECT_GT(CountInText(form, a, clLime), 5);
    EXPECT_EQ(CountInText(form, a, clCaptionText), 0);
    // Without fsUseFontColor the caption text colour wins over the font's.
    styler->SetOptions(TOBLFormStyleOptions{fsAdjustRect, fsUseFormCaption});
    EXPECT_EQ(CountInText(form, a, clLime), 0);
    EXPECT_GT(CountInText(form, a, clCaptionText), 5);
    // With the default font the styler's font does not matter: no repaint for its changes.
    styler->SetOptions(OBLDefaultFormStyleOptions + TOBLFormStyleOptions{fsUseFontColor});
    const std::vector<std::uint32_t> before = TopRow(form, a);
    styler->Font()->SetColor(clRed);
    EXPECT_EQ(CountInText(form, a, clRed), 0);
    EXPECT_EQ(TopRow(form, a), before);
}

TEST_F(StylerTest, TheCaptionIsAlignedInItsArea)
{
    TForm* form = MakeForm(260, 60, clBtnFace);
    ShowAndPaint(form);
    TOBLFormStyler* styler = Attach(form);
    const Areas a = AreasOf(form);
    for (TAlignment alignment : {taLeftJustify, taRightJustify, taCenter}) {
        styler->SetAlignment(alignment);
        int first = a.text.right, last = a.text.left - 1;
        for (int y = a.text.top; y < a.text.bottom; ++y)
            for (int x = a.text.left; x < a.text.right; ++x)
                if (WindowPixel(form, x, y) == PixelOf(clCaptionText)) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        ASSERT_LT(first, last) << static_cast<int>(alignment);
        const int before = first - a.text.left, after = a.text.right - 1 - last;
        switch (alignment) {
        case taLeftJustify: EXPECT_LT(before, 4); break;
        case taRightJustify: EXPECT_LT(after, 4); break;
        default: EXPECT_LE(std::abs(before - after), 3); break;
        }
        EXPECT_GT(std::max(before, after), 40) << static_cast<int>(alignment);
    }
}

TEST_F(StylerTest, DefaultOptionsKeepTheFormsCaption)
{
    TForm* form = MakeForm(200, 60, clBtnFace);
    ShowAndPaint(form);
    TOBLFormStyler* styler = Attach(form);
    EXPECT_EQ(form->Caption(), "Anagrafica");
    EXPECT_EQ(GetWindowTextLengthA(form->Handle()), 10);
    EXPECT_EQ(styler->Caption(), "Anagrafica");
    form->SetCaption("Fornitori");
    styler->ForceNCPaint();
    EXPECT_EQ(styler->Caption(), "Fornitori");
}

TEST_F(StylerTest, WithoutTheFormCaptionTheWindowReportsOneBlank)
{
    TForm* form = MakeForm(200, 60, clBtnFace);
    ShowAndPaint(form);
    TOBLFormStyler* styler = Attach(form, OBLDefaultFormStyleOptions - TOBLFormStyleOptions{fsUseFormCaption});
    EXPECT_EQ(styler->Caption(), "Anagrafica");
    EXPECT_EQ(GetWindowTextLengthA(form->Handle()), 1);
    EXPECT_EQ(form->Caption(), " ");
    const Areas a = AreasOf(form);
    EXPECT_GT(CountInText(form, a, clCaptionText), 5) << "the styler draws the caption it keeps";

    // The copy never passes the buffer's end: at most size - 1 characters and the NUL.
    struct Case {
        WPARAM size;
        LRESULT result;
        const char* bytes;  // the five bytes of the buffer afterwards
    };
    for (const Case& c : {Case{0, 0, "xxxx"}, Case{1, 0, "\0xxx"}, Case{2, 1, " \0xx"}, Case{4, 1, " \0xx"}}) {
        char buffer[5] = "xxxx";
        EXPECT_EQ(SendMessageA(form->Handle(), WM_GETTEXT, c.size, reinterpret_cast<LPARAM>(buffer)), c.result)
            << c.size;
        EXPECT_EQ(std::memcmp(buffer, c.bytes, 5), 0) << c.size;
    }
    EXPECT_EQ(SendMessageA(form->Handle(), WM_GETTEXT, 8, 0), 0) << "no buffer";
}

TEST_F(StylerTest, SwitchingTheFormCaptionOptionKeepsTheCaption)
{
    TForm* form = MakeForm(200, 60, clBtnFace);
    ShowAndPaint(form);
    TOBLFormStyler* styler = Attach(form);
    const TOBLFormStyleOptions own = OBLDefaultFormStyleOptions - TOBLFormStyleOptions{fsUseFormCaption};
    for (int round = 0; round < 2; ++round) {
        styler->SetOptions(own);
        EXPECT_EQ(styler->Caption(), "Anagrafica") << round;
        EXPECT_EQ(GetWindowTextLengthA(form->Handle()), 1) << round;
        styler->SetOptions(OBLDefaultFormStyleOptions);
        EXPECT_EQ(form->Caption(), "Anagrafica") << round;
        EXPECT_EQ(styler->Caption(), "Anagrafica") << round;
    }
}

TEST_F(StylerTest, DisablingFreeingOrDeletingGivesTheCaptionAndTheOwnTitleBarBack)
{
    for (const char* way : {"disable", "Free", "delete"}) {
        SCOPED_TRACE(way);
        TForm* plain = MakeForm(200, 60, clBtnFace, 60, 60);
        ShowAndPaint(plain);
        TForm* form = MakeForm(200, 60, clBtnFace);
        ShowAndPaint(form);
        TOBLFormStyler* styler = Attach(form, OBLDefaultFormStyleOptions - TOBLFormStyleOptions{fsUseFormCaption});
        const Areas a = AreasOf(form);
        const std::vector<std::uint32_t> styled = TopRow(form, a);
        if (std::string(way) == "Free")
            styler->Free();
        else if (std::string(way) == "delete")
            delete styler;
        else
            styler->SetEnabled(false);
        EXPECT_EQ(form->Caption(), "Anagrafica");
        EXPECT_EQ(GetWindowTextLengthA(form->Handle()), 10);
        // The window paints its own active bar again, and its inactive one as a form
        // without styler does.
        EXPECT_NE(TopRow(form, a), styled);
        TForm* other = ShowAnother();
        EXPECT_EQ(TopRow(form, a), TopRow(plain, a));
        delete other;
        delete form;
        delete plain;
    }
}

TEST_F(StylerTest, AFormThatGoesFreesItsStylerWithoutTouchingItsCaption)
{
    TForm* form = MakeForm(200, 60, clBtnFace);
    ShowAndPaint(form);
    Attach(form, OBLDefaultFormStyleOptions - TOBLFormStyleOptions{fsUseFormCaption});
    delete form;
    EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(StylerTest, ASystemThatPaintsGradientsItselfIsLeftAloneAboveEightBits)
{
    TForm* plain = MakeForm(200, 60, clBtnFace, 60, 60);
    ShowAndPaint(plain);
    TForm* form = MakeForm(200, 60, clBtnFace);
    ShowAndPaint(form);
    ASSERT_GT(OBLSIColorDepth(), 8);
    OBLFinalizeUnits();
    SetThemeModuleState(TThemeModuleState::Active);
    OBLInitializeUnits();
    ASSERT_TRUE(XPThemesAvailable);
    TOBLFormStyler* styler = Attach(form);
    EXPECT_TRUE(styler->SystemGradient());
    const Areas a = AreasOf(form);
    SetActiveWindow(plain->Handle());
    Pump();
    const std::vector<std::uint32_t> systemBar = TopRow(plain, a);
    SetActiveWindow(form->Handle());
    Pump();
    EXPECT_EQ(TopRow(form, a), systemBar) << "nothing painted over the system's bar";
    auto expected = ExpectedGradient(a.bar, clActiveCaption, 32);
    styler->SetOptions(OBLDefaultFormStyleOptions - TOBLFormStyleOptions{fsCheckSystemGradient});
    EXPECT_EQ(TopRow(form, a), TopRow(expected.get(), a));

    // A theme library without IsAppThemed counts as not themed.
    IsAppThemed.Bind(nullptr);
    TForm* second = MakeForm(200, 60, clBtnFace, 80, 80);
    TOBLFormStyler* unthemed = new TOBLFormStyler(second);
    EXPECT_FALSE(unthemed->SystemGradient());
}

TEST_F(StylerTest, OwnerDrawHandsTheBarAndTheCaptionToTheHandlersClipped)
{
    struct Painter : TObject {
        TRect bar{}, text{};
        void Bar(TObject*, TCanvas* canvas, const TRect& rect)
        {
            bar = rect;
            canvas->Brush()->SetColor(clLime);
            canvas->FillRect(Rect(0, 0, 2000, 2000));
        }
        void Caption(TObject*, TCanvas* canvas, const TRect& rect)
        {
            text = rect;
            canvas->Brush()->SetColor(clFuchsia);
            canvas->FillRect(Rect(0, 0, 2000, 2000));
        }
    } painter;
    TForm* form = MakeForm(200, 60, clBtnFace);
    ShowAndPaint(form);
    auto* styler = new TOBLFormStyler(form);
    styler->SetOnPaint(TOBLPaintEvent(&painter, &Painter::Bar));
    styler->SetOnCaptionPaint(TOBLPaintEvent(&painter, &Painter::Caption));
    styler->SetPaintMode(pcOwnerDraw);
    styler->Loaded();
    RECT bar{}, text{};
    WORD flags = OBLNC_CAPTIONTOTEXTEND | OBLNC_CAPTIONTOTEXTSTART;
    OBLNCCalcDrawingArea(form->Handle(), bar, text, flags);
    EXPECT_EQ(Edges(painter.bar), Edges(bar));
    EXPECT_EQ(Edges(painter.text), Edges(text));
    EXPECT_EQ(WindowPixel(form, text.left + 2, text.top + 2), PixelOf(clFuchsia));
    EXPECT_EQ(WindowPixel(form, bar.right - 1, bar.top), bar.right > text.right ? PixelOf(clLime) : PixelOf(clFuchsia));
    // Nothing outside the bar: the client area keeps the form's colour.
    EXPECT_EQ(ClientPixel(form, 5, 5), PixelOf(clBtnFace));
    EXPECT_NE(WindowPixel(form, 0, 0), PixelOf(clLime));
}

// A designer subclass that can mark its form as being designed.
class TDesignForm : public TForm {
public:
    explicit TDesignForm(TComponent* owner) : TForm(owner) { SetDesigning(true); }
};

// One styler per form, in the designer and at run time alike: a second would keep the
// first one's blank as the form's caption and give that back.
TEST_F(StylerTest, OneStylerPerFormInTheDesignerAndAtRunTime)
{
    auto* designed = new TDesignForm(Application);
    TForm* running = MakeForm(100, 50, clBtnFace);
    for (TForm* form : {static_cast<TForm*>(designed), running}) {
        EXPECT_NO_THROW(new TOBLFormStyler(form));
        try {
            new TOBLFormStyler(form);
            ADD_FAILURE() << "a second styler";
        } catch (const OBLEOneInstError& e) {
            EXPECT_NE(Pos("TOBLFormStyler", e.Message()), 0) << e.Message().c_str();
        }
        EXPECT_EQ(form->ComponentCount(), 1);
    }
    // Without a form to style, at run time, nothing is checked.
    TOwned<TComponent> holder(new TComponent(nullptr));
    new TOBLFormStyler(holder.get());
    EXPECT_NO_THROW(new TOBLFormStyler(holder.get()));
}

} // namespace
