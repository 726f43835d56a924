// The base dialog component, through a small descendant that builds its form and shows
// it on the scripted modal path: the script runs while the dialog is shown and closes it.
#include "obl/controls/forms/OBLBaseDialog.h"
#include "obl/core/app/Oblsysin.h"
#include "platform/classlib/StdCtrls.h"
#include "tests/obl/controls/forms/FormsFixture.h"

#include <functional>
#include <memory>
#include <set>

namespace {

constexpr int kWidth = 240, kHeight = 140;

// A dialog of its own: a form with a help button, a styler and a background painter,
// both painters off until the dialog component turns them on, as a form description
// would leave them.
class TTestDialog : public TOBLBaseDialog {
    VENDARO_CLASS(TTestDialog, TOBLBaseDialog)
public:
    explicit TTestDialog(TComponent* AOwner) : TOBLBaseDialog(AOwner) {}

    bool Execute() override
    {
        TOwned<TForm> dialog(new TForm(Application));
        form = dialog.get();
        form->SetBorderStyle(bsDialog);
        form->SetBounds(0, 0, kWidth, kHeight);
        form->SetColor(clBtnFace);
        help = new TButton(form);
        help->SetParent(form);
        help->SetBounds(10, 10, 75, 25);
        help->SetCaption("?");
        styler = new TOBLFormStyler(form);
        styler->SetOptions(stylerOptions);
        back = new TOBLBack(form);
        for (TOBLWndProcComponent* painter : {static_cast<TOBLWndProcComponent*>(styler),
                                              static_cast<TOBLWndProcComponent*>(back)}) {
            painter->SetEnabled(false);
            painter->Loaded();
        }
        struct Forget {
            TForm*& form;
            ~Forget() { form = nullptr; }
        } forget{form};
        if (showFirst)
            form->Show();
        result = BaseExecute(form, relative, help, styler, back, "Scegli");
        return result == mrOk;
    }

    TControl* relative = nullptr;
    bool showFirst = false;
    TOBLFormStyleOptions stylerOptions = OBLDefaultFormStyleOptions;
    TModalResult result = mrNone;
    TForm* form = nullptr;
    TButton* help = nullptr;
    TOBLFormStyler* styler = nullptr;
    TOBLBack* back = nullptr;
};

struct HelpHandler : TObject {
    void Click(TObject*) {}
};

// Runs the script once the dialog is shown and painted, then closes it with OK. A message
// posted to the dialog keeps the modal loop going until it sees the result (a loop that
// has nothing left to wait for ends the application).
struct ModalScript : TObject {
    TTestDialog* dialog = nullptr;
    std::function<void()> whileShown;
    TCustomForm* current = nullptr;
    int shown = 0;
    void Idle(TObject*, bool&)
    {
        if (dialog->form == nullptr || !dialog->form->Visible())
            return;
        ++shown;
        current = dialog->CurrentDialog();
        if (whileShown)
            whileShown();
        dialog->form->SetModalResult(mrOk);
        PostMessageA(dialog->form->Handle(), WM_NULL, 0, 0);
    }
};

class BaseDialogTest : public FormsFixture {
protected:
    void SetUp() override
    {
        FormsFixture::SetUp();
        dialog = new TTestDialog(Application);
        script.dialog = dialog;
        Application->SetOnIdle(TIdleEvent(&script, &ModalScript::Idle));
    }
    void TearDown() override
    {
        Application->SetOnIdle(TIdleEvent());
        FormsFixture::TearDown();
    }

    TTestDialog* dialog = nullptr;
    ModalScript script;
    std::function<void()>& whileShown = script.whileShown;
    const int& shown = script.shown;
    TCustomForm*& current = script.current;
};

TEST_F(BaseDialogTest, TheBaseExecutesNothing)
{
    TOBLBaseDialog base(nullptr);
    EXPECT_FALSE(base.Execute());
    EXPECT_EQ(base.Position(), bpCenter);
    EXPECT_EQ(base.RelatePos(), brScreen);
    EXPECT_EQ(base.CaptionColors(), 32);
    EXPECT_EQ(base.Effect(), deNone);
    EXPECT_FALSE(base.UseStyler());
    EXPECT_EQ(base.GetHints()->Count(), 0);
    TStringList hints;
    hints.Add("Cerca");
    hints.Add("Chiudi");
    base.SetHints(&hints);
    hints.Clear();
    EXPECT_EQ(base.GetHints()->Count(), 2) << "a copy";
    EXPECT_EQ(base.GetHints()->Strings(1), "Chiudi");
}

// Called with the dialog before it is shown.
struct Customizer : TObject {
    TObject* dialog = nullptr;
    bool visible = true;
    void Customize(TObject* sender)
    {
        dialog = sender;
        visible = static_cast<TCustomForm*>(sender)->Visible();
    }
};

TEST_F(BaseDialogTest, CustomizingAndEveryOpeningEffectComeBeforeTheDialogShows)
{
    Customizer customizer;
    dialog->SetOnCustomize(TNotifyEvent(&customizer, &Customizer::Customize));
    for (TOBLDlgEffect effect : {deNone, deExplode, deExplodeExt}) {
        dialog->SetEffect(effect);
        TObject* shownDialog = nullptr;
        whileShown = [&] { shownDialog = dialog->form; };
        EXPECT_TRUE(dialog->Execute()) << static_cast<int>(effect);
        EXPECT_EQ(customizer.dialog, shownDialog) << static_cast<int>(effect);
        EXPECT_FALSE(customizer.visible) << static_cast<int>(effect);
    }
    EXPECT_EQ(shown, 3);
}

TEST_F(BaseDialogTest, TheCaptionIsTheTitleOrTheDescendantsDefaultAndChangesWhileShown)
{
    AnsiString seen;
    whileShown = [&] { seen = dialog->form->Caption(); };
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(shown, 1);
    EXPECT_NE(current, nullptr) << "current while shown";
    EXPECT_EQ(seen, "Scegli");
    EXPECT_EQ(dialog->CurrentDialog(), nullptr);

    dialog->SetCaptionTitle("Archivio");
    whileShown = [&] {
        seen = dialog->form->Caption();
        dialog->SetCaptionTitle("Archivio clienti");
        EXPECT_EQ(dialog->form->Caption(), "Archivio clienti");
    };
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(seen, "Archivio");
    EXPECT_EQ(dialog->CaptionTitle(), "Archivio clienti");
}

TEST_F(BaseDialogTest, AStylerThatKeepsTheCaptionIsRetitled)
{
    dialog->SetUseStyler(true);
    dialog->stylerOptions = OBLDefaultFormStyleOptions - TOBLFormStyleOptions{fsUseFormCaption};
    whileShown = [&] {
        EXPECT_EQ(dialog->styler->Caption(), "Scegli");
        dialog->SetCaptionTitle("Archivio");
        EXPECT_EQ(dialog->styler->Caption(), "Archivio");
        EXPECT_EQ(GetWindowTextLengthA(dialog->form->Handle()), 1);
    };
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(shown, 1);
}

TEST_F(BaseDialogTest, TheHelpButtonShowsOnlyWithAHelpCaption)
{
    HelpHandler handler;
    const TNotifyEvent click(&handler, &HelpHandler::Click);
    struct Case {
        const char* caption;
        bool handler;
        bool visible;
        const char* shownCaption;
    };
    for (const Case& c : {Case{"", true, false, "?"}, Case{"", false, false, "?"}, Case{"&Aiuto", false, true, "&Aiuto"},
                          Case{"&Aiuto", true, true, "&Aiuto"}}) {
        dialog->SetHelpCaption(c.caption);
        dialog->SetOnHelpClick(c.handler ? click : TNotifyEvent());
        bool visible = !c.visible;
        AnsiString caption;
        TNotifyEvent onClick;
        whileShown = [&] {
            visible = dialog->help->Visible();
            caption = dialog->help->Caption();
            onClick = dialog->help->OnClick();
        };
        dialog->Execute();
        EXPECT_EQ(visible, c.visible) << c.caption << c.handler;
        EXPECT_EQ(caption, c.shownCaption) << c.caption << c.handler;
        EXPECT_EQ(onClick == click, c.visible && c.handler) << c.caption << c.handler;
    }
}

TEST_F(BaseDialogTest, TheDialogIsPlacedInTheScreenOrAgainstAControl)
{
    const int screenW = Screen->Width(), screenH = Screen->Height();
    struct Case {
        TOBLDlgPosition position;
        int left, top;
    };
    for (const Case& c : {Case{bpCenter, (screenW - kWidth) / 2, (screenH - kHeight) / 2}, Case{bpTopLeft, 0, 0},
                          Case{bpBottomRight, screenW - kWidth, screenH - kHeight}}) {
        dialog->SetPosition(c.position);
        TRect placed{};
        whileShown = [&] { placed = dialog->form->BoundsRect(); };
        dialog->Execute();
        EXPECT_EQ(placed.left, c.left) << static_cast<int>(c.position);
        EXPECT_EQ(placed.top, c.top) << static_cast<int>(c.position);
    }

    // Against a control inside another form: its place on the screen; RelatePos is not asked.
    TForm* owner = MakeForm(300, 200, clBtnFace, 100, 80);
    auto* anchor = new TButton(owner);
    anchor->SetParent(owner);
    anchor->SetBounds(30, 20, 80, 25);
    ShowAndPaint(owner);
    const TPoint corner = anchor->ClientToScreen(Point(0, 0));
    dialog->relative = anchor;
    dialog->SetRelatePos(brScreenWorkArea);
    dialog->SetPosition(bpTopLeft);
    TRect placed{};
    whileShown = [&] { placed = dialog->form->BoundsRect(); };
    dialog->Execute();
    EXPECT_EQ(placed.left, corner.x);
    EXPECT_EQ(placed.top, corner.y);
}

TEST_F(BaseDialogTest, TheStylerAndTheBackgroundAreApplied)
{
    auto* list = new TOBLBitmapList(Application);
    std::unique_ptr<TBitmap> first(Quarters(4, 4, clRed, clRed, clRed, clRed));
    std::unique_ptr<TBitmap> second(Quarters(4, 4, clLime, clBlue, clBlue, clLime));
    AddPicture(list, first.get());
    AddPicture(list, second.get());
    dialog->SetImageList(list);
    dialog->SetListIndex(1);
    dialog->SetUseStyler(true);
    dialog->SetCaptionColors(6);
    std::set<std::uint32_t> steps;
    std::uint32_t corner = 0, next = 0;
    whileShown = [&] {
        EXPECT_TRUE(dialog->styler->Enabled());
        EXPECT_EQ(dialog->styler->Colors(), 6);
        EXPECT_TRUE(dialog->styler->Options().Contains(fsCheckSystemGradient));
        EXPECT_TRUE(dialog->back->Enabled());
        EXPECT_EQ(dialog->back->ImageList(), list);
        EXPECT_EQ(dialog->back->ListIndex(), 1);
        RECT bar{}, text{};
        WORD flags = OBLNC_CAPTIONTOTEXTEND;
        OBLNCCalcDrawingArea(dialog->form->Handle(), bar, text, flags);
        for (int x = bar.left; x < bar.right; ++x)
            steps.insert(WindowPixel(dialog->form, x, bar.top));
        corner = ClientPixel(dialog->form, 0, 0);
        next = ClientPixel(dialog->form, 2, 0);
    };
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(steps.size(), 6u);
    EXPECT_EQ(corner, PixelOf(clLime));
    EXPECT_EQ(next, PixelOf(clBlue));

    // Without the styler the styler stays off, and still checks for system gradients.
    dialog->SetUseStyler(false);
    dialog->stylerOptions = TOBLFormStyleOptions{fsUseFormCaption};
    bool enabled = true;
    TOBLFormStyleOptions options;
    whileShown = [&] {
        enabled = dialog->styler->Enabled();
        options = dialog->styler->Options();
    };
    dialog->Execute();
    EXPECT_FALSE(enabled);
    EXPECT_EQ(options, (TOBLFormStyleOptions{fsUseFormCaption, fsCheckSystemGradient}));
}

TEST_F(BaseDialogTest, TheCurrentDialogIsClearedWhenShowingFails)
{
    dialog->showFirst = true;
    EXPECT_THROW(dialog->Execute(), EInvalidOperation);
    EXPECT_EQ(dialog->CurrentDialog(), nullptr);
    // The freed form is not touched.
    dialog->SetCaptionTitle("Dopo");
    EXPECT_EQ(dialog->CaptionTitle(), "Dopo");
    EXPECT_EQ(shown, 0);
}

} // namespace
