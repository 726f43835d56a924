// Creating a whole dialog from its form description, showing it and driving it with input.
#include "tests/platform/classlib/controls/ControlsFixture.h"

#include "platform/win/gdi/Surface.h"

using Log = std::vector<std::string>;

TEST_F(ControlsTest, CreateFormBuildsEveryComponentWithParentsAndEvents)
{
    TTestDialog* form = CreateDialog();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(Application->MainForm(), form);
    EXPECT_EQ(TakeLog(), Log({"FormCreate"}));
    EXPECT_EQ(form->Caption(), "Procedura di importazione");
    EXPECT_EQ(form->BorderStyle(), bsDialog);
    struct Case {
        TControl* control;
        TWinControl* parent;
        TRect bounds;
    };
    const Case cases[] = {
        {form->GroupBox1(), form, Bounds(8, 8, 409, 113)},
        {form->Label1(), form->GroupBox1(), Bounds(8, 24, 241, 13)},
        {form->Edit1(), form->GroupBox1(), Bounds(8, 48, 385, 21)},
        {form->SearchButton(), form->GroupBox1(), Bounds(8, 80, 89, 25)},
        {form->CheckBox1(), form, Bounds(8, 136, 137, 17)},
        {form->ListBox1(), form, Bounds(176, 136, 217, 113)},
        {form->OkButton(), form, Bounds(8, 264, 137, 25)},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.control, nullptr);
        SCOPED_TRACE(c.control->Name().c_str());
        EXPECT_EQ(c.control->Parent(), c.parent);
        EXPECT_EQ(c.control->Left(), c.bounds.left);
        EXPECT_EQ(c.control->Top(), c.bounds.top);
        if (c.control != form->Label1()) {
            EXPECT_EQ(c.control->Width(), c.bounds.right - c.bounds.left);
            EXPECT_EQ(c.control->Height(), c.bounds.bottom - c.bounds.top);
        }
        EXPECT_EQ(c.control->Owner(), form);
    }
    EXPECT_TRUE(form->OkButton()->Default());
    EXPECT_TRUE(form->CancelButton()->Cancel());
    EXPECT_EQ(form->ListBox1()->Items()->Count(), 2);
    EXPECT_EQ(form->ListBox1()->ItemHeight(), 13);
    EXPECT_EQ(form->OpenDialog1()->Filter(), "mdb|*.mdb");
    EXPECT_TRUE(form->OkButton()->OnClick().Assigned());
    EXPECT_EQ(form->CheckBox2()->TabOrder(), 2);
    // An auto-sized label takes the size of its caption in its font.
    TLabel* label = form->Label1();
    EXPECT_EQ(label->Width(), label->Canvas()->TextWidth(label->Caption()));
    EXPECT_EQ(label->Height(), label->Canvas()->TextHeight(label->Caption()));
}

TEST_F(ControlsTest, ShowingMakesRealWindowsWithTheDescribedClientSize)
{
    TTestDialog* form = ShowDialog();
    // OnShow runs before the form is activated and its first control entered.
    EXPECT_EQ(TakeLog(), Log({"FormCreate", "FormShow", "enter Edit1"}));
    ASSERT_TRUE(form->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->ClientWidth(), 425);
    EXPECT_EQ(form->ClientHeight(), 300);
    EXPECT_TRUE(IsChild(form->GroupBox1()->Handle(), form->Edit1()->Handle()));
    char text[64] = {};
    GetWindowTextA(form->SearchButton()->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "&Cerca database");
    EXPECT_EQ(SendMessageA(form->ListBox1()->Handle(), LB_GETCOUNT, 0, 0), 2);
    // The first control in tab order has the focus once the form is active.
    EXPECT_EQ(GetFocus(), form->Edit1()->Handle());
    EXPECT_EQ(form->ActiveControl(), form->Edit1());
}

TEST_F(ControlsTest, ButtonClickSetsModalResultBeforeOnClick)
{
    TTestDialog* form = ShowDialog();
    TakeLog();
    Click(form->OkButton());
    EXPECT_EQ(TakeLog(), Log({"exit Edit1", "enter OkButton", "OkClick modal=1"}));
    EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(ControlsTest, EnterPressesTheDefaultButtonAndEscapeTheCancelButton)
{
    TTestDialog* form = ShowDialog();
    TakeLog();
    Stroke(VK_RETURN);
    EXPECT_EQ(TakeLog(), Log({"OkClick modal=1"}));
    Stroke(VK_ESCAPE);
    EXPECT_EQ(TakeLog(), Log({"CancelClick"}));
    EXPECT_EQ(form->ModalResult(), mrCancel);
    // A focused button is the one Enter presses.
    form->SearchButton()->SetFocus();
    TakeLog();
    Stroke(VK_RETURN);
    EXPECT_EQ(TakeLog(), Log({"SearchClick"}));
}

TEST_F(ControlsTest, AcceleratorsClickButtonsAndToggleCheckBoxes)
{
    TTestDialog* form = ShowDialog();
    TakeLog();
    UserInjectKeyStroke('C', false, false, true);
    Application->ProcessMessages();
    // "&Cerca database" comes first in the broadcast order of its group box.
    EXPECT_EQ(TakeLog(), Log({"SearchClick"}));
    (void)form;
}

TEST_F(ControlsTest, FocusChangesRunExitThenEnterSynchronously)
{
    TTestDialog* form = ShowDialog();
    TakeLog();
    form->OkButton()->SetFocus();
    EXPECT_EQ(TakeLog(), Log({"exit Edit1", "enter OkButton"}));
    EXPECT_EQ(form->ActiveControl(), form->OkButton());
    Stroke(VK_TAB, true);
    EXPECT_EQ(form->ActiveControl(), form->ListBox1());
    EXPECT_EQ(TakeLog(), Log({"exit OkButton"}));
    Stroke(VK_TAB);
    Stroke(VK_TAB);
    EXPECT_EQ(form->ActiveControl(), form->CancelButton());
}

TEST_F(ControlsTest, TabOrderFollowsTheDescription)
{
    TTestDialog* form = ShowDialog();
    std::vector<TWinControl*> order;
    const TWinControl* expected[] = {form->Edit1(), form->SearchButton(), form->CheckBox1(), form->CheckBox2(),
                                     form->ListBox1(), form->OkButton(), form->CancelButton()};
    for (const TWinControl* e : expected) {
        EXPECT_EQ(form->ActiveControl(), e);
        Stroke(VK_TAB);
    }
    EXPECT_EQ(form->ActiveControl(), form->Edit1());
}

TEST_F(ControlsTest, CheckBoxClicksToggleAndFireOnClick)
{
    TTestDialog* form = ShowDialog();
    TakeLog();
    Click(form->CheckBox1());
    EXPECT_TRUE(form->CheckBox1()->Checked());
    EXPECT_EQ(SendMessageA(form->CheckBox1()->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    Click(form->CheckBox1());
    EXPECT_FALSE(form->CheckBox1()->Checked());
    // The click focuses the box first.
    EXPECT_EQ(TakeLog(), Log({"exit Edit1", "CheckBox1 on", "CheckBox1 off"}));
    form->CheckBox2()->SetChecked(true);
    EXPECT_EQ(TakeLog(), Log({"CheckBox2 on"}));
    form->CheckBox2()->SetFocus();
    Stroke(VK_SPACE);
    EXPECT_FALSE(form->CheckBox2()->Checked());
}

TEST_F(ControlsTest, TypingIntoTheEditChangesItsText)
{
    TTestDialog* form = ShowDialog();
    TakeLog();
    UserInjectText("C:\\db");
    Application->ProcessMessages();
    EXPECT_EQ(form->Edit1()->Text(), "C:\\db");
    Log log = TakeLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "change C:\\db");
    form->Edit1()->SetTextProperty("x");
    EXPECT_EQ(TakeLog(), Log({"change x"}));
    // The text outlives the window.
    form->Edit1()->SetMaxLength(3);
    form->RecreateWnd();
    EXPECT_EQ(form->Edit1()->Text(), "x");
    EXPECT_EQ(form->Edit1()->MaxLength(), 3);
}

TEST_F(ControlsTest, ClickingAWindowlessLabelUsesClickEvents)
{
    TTestDialog* form = ShowDialog();
    TakeLog();
    Click(form->Label1());
    EXPECT_EQ(TakeLog(), Log({"label click"}));
    // Released outside: no click, and the capture is given back.
    TPoint inside = CenterOf(form->Label1());
    UserInjectMouseButton(MouseButton::Left, true, inside.x, inside.y);
    Application->ProcessMessages();
    EXPECT_TRUE(form->Label1()->MouseCapture());
    TPoint outside = form->Label1()->ClientToScreen(Point(form->Label1()->Width() + 20, 40));
    UserInjectMouseMove(outside.x, outside.y);
    UserInjectMouseButton(MouseButton::Left, false, outside.x, outside.y);
    Application->ProcessMessages();
    EXPECT_FALSE(form->Label1()->MouseCapture());
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(ControlsTest, ListBoxSelectionFollowsClicks)
{
    TTestDialog* form = ShowDialog();
    TListBox* list = form->ListBox1();
    EXPECT_EQ(list->ItemIndex(), -1);
    TPoint p = list->ClientToScreen(Point(10, 13 + 5));
    UserInjectClick(p.x, p.y);
    Application->ProcessMessages();
    EXPECT_EQ(list->ItemIndex(), 1);
    list->Items()->Add("terzo");
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(list->ItemIndex(), 1);
    list->SetItemIndex(7);
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ControlsTest, ShowModalEndsWithTheButtonsResult)
{
    TTestDialog* form = CreateDialog();
    int idleCalls = 0;
    struct Clicker : TObject {
        TTestDialog* form;
        int* calls;
        void Idle(TObject*, bool&)
        {
            if ((*calls)++ == 0) {
                TPoint p = form->CancelButton()->ClientToScreen(Point(5, 5));
                UserInjectClick(p.x, p.y);
            }
        }
    } clicker;
    clicker.form = form;
    clicker.calls = &idleCalls;
    Application->SetOnIdle(TIdleEvent(&clicker, &Clicker::Idle));
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    Application->SetOnIdle(TIdleEvent());
    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST_F(ControlsTest, ClosingTheMainFormEndsTheApplication)
{
    TTestDialog* form = CreateDialog();
    struct Closer : TObject {
        TTestDialog* form;
        void Idle(TObject*, bool&) { form->Close(); }
    } closer;
    closer.form = form;
    Application->SetOnIdle(TIdleEvent(&closer, &Closer::Idle));
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    Application->SetOnIdle(TIdleEvent());
}

TEST_F(ControlsTest, TheFocusedButtonOrElseTheDefaultOneShowsAsDefault)
{
    TTestDialog* form = ShowDialog();
    auto type = [](TButton* b) { return static_cast<DWORD>(GetWindowLongA(b->Handle(), GWL_STYLE)) & BS_TYPEMASK; };
    struct Step {
        TWinControl* focus;
        DWORD ok, search;
    };
    const Step steps[] = {
        {form->Edit1(), BS_DEFPUSHBUTTON, BS_PUSHBUTTON},
        {form->SearchButton(), BS_PUSHBUTTON, BS_DEFPUSHBUTTON},
        {form->CheckBox1(), BS_DEFPUSHBUTTON, BS_PUSHBUTTON},
        {form->CancelButton(), BS_PUSHBUTTON, BS_PUSHBUTTON},
    };
    for (const Step& s : steps) {
        s.focus->SetFocus();
        SCOPED_TRACE(s.focus->Name().c_str());
        EXPECT_EQ(type(form->OkButton()), s.ok);
        EXPECT_EQ(type(form->SearchButton()), s.search);
    }
    EXPECT_EQ(type(form->CancelButton()), static_cast<DWORD>(BS_DEFPUSHBUTTON));
}

TEST_F(ControlsTest, TabOrdersReadInAnyOrderEndAtTheirDescribedPlaces)
{
    // The import dialog's second group lists its boxes out of tab order.
    RegisterFormDescription("TForm", R"(object GroupForm: TForm
  object GroupBox2: TGroupBox
    object CheckBox5: TCheckBox
      TabOrder = 5
    end
    object CheckBox1: TCheckBox
      TabOrder = 0
    end
    object CheckBox2: TCheckBox
      TabOrder = 1
    end
    object CheckBox3: TCheckBox
      TabOrder = 2
    end
    object CheckBox6: TCheckBox
      TabOrder = 6
    end
    object CheckBox7: TCheckBox
      TabOrder = 7
    end
    object CheckBox8: TCheckBox
      TabOrder = 8
    end
    object CheckBox4: TCheckBox
      TabOrder = 4
    end
    object ListBox1: TListBox
      TabOrder = 3
    end
  end
end
)");
    TForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    const char* expected[] = {"CheckBox1", "CheckBox2", "CheckBox3", "ListBox1", "CheckBox4",
                              "CheckBox5", "CheckBox6", "CheckBox7", "CheckBox8"};
    for (int i = 0; i < 9; ++i) {
        auto* control = dynamic_cast<TWinControl*>(form->FindComponent(expected[i]));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->TabOrder(), i) << expected[i];
    }
}

TEST_F(ControlsTest, UpgradeStyleLabelsKeepTheirOwnBoldFontAndSize)
{
    RegisterFormDescription("TForm", R"(object UpgradeForm: TForm
  Caption = 'Gestione upgrade database Vendaro 5'
  ClientHeight = 161
  ClientWidth = 563
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  object Label1: TLabel
    Left = 16
    Top = 24
    Width = 521
    Height = 17
    AutoSize = False
    Caption = 'Questa procedura permette di aggiornare il database del programma Vendaro 5'
    Font.Name = 'MS Sans Serif'
    Font.Height = -11
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label2: TLabel
    Left = 16
    Top = 120
    Width = 529
    Height = 17
    Caption = '-'
  end
end
)");
    TForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    auto* bold = dynamic_cast<TLabel*>(form->FindComponent("Label1"));
    auto* plain = dynamic_cast<TLabel*>(form->FindComponent("Label2"));
    ASSERT_TRUE(bold && plain);
    EXPECT_EQ(bold->Width(), 521);
    EXPECT_EQ(bold->Height(), 17);
    EXPECT_FALSE(bold->ParentFont());
    EXPECT_TRUE(bold->Font()->Style().Contains(fsBold));
    EXPECT_TRUE(plain->ParentFont());
    form->Font()->SetHeight(-14);
    EXPECT_EQ(bold->Font()->Height(), -11);
    EXPECT_EQ(plain->Font()->Height(), -14);
    EXPECT_FALSE(plain->Font()->Style().Contains(fsBold));
    // The status label follows its caption.
    plain->SetCaption("Aggiornamento completato");
    plain->Canvas()->SetFont(plain->Font());
    EXPECT_EQ(plain->Width(), plain->Canvas()->TextWidth("Aggiornamento completato"));
}

namespace {

struct KeyWatcher : TObject {
    std::vector<std::string> log;
    void FormKey(TObject*, WORD& key, TShiftState)
    {
        log.push_back("form " + std::to_string(key));
        if (key == VK_F2)
            key = 0;
    }
    void EditKey(TObject*, WORD& key, TShiftState) { log.push_back("edit " + std::to_string(key)); }
};

} // namespace

TEST_F(ControlsTest, AFormWithKeyPreviewSeesItsControlsKeysFirst)
{
    TTestDialog* form = ShowDialog();
    KeyWatcher w;
    form->SetOnKeyDown(TKeyEvent(&w, &KeyWatcher::FormKey));
    form->Edit1()->SetOnKeyDown(TKeyEvent(&w, &KeyWatcher::EditKey));
    Stroke(VK_F3);
    EXPECT_EQ(w.log, std::vector<std::string>({"edit 114"}));
    w.log.clear();
    form->SetKeyPreview(true);
    Stroke(VK_F3);
    Stroke(VK_F2);
    EXPECT_EQ(w.log, std::vector<std::string>({"form 114", "edit 114", "form 113"}));
}

TEST_F(ControlsTest, TheCursorFollowsTheControlUnderTheMouseUnlessTheScreenSetsOne)
{
    TTestDialog* form = ShowDialog();
    form->Label1()->SetCursor(crHandPoint);
    TPoint p = CenterOf(form->Label1());
    UserInjectMouseMove(p.x, p.y);
    Application->ProcessMessages();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    Screen->SetCursor(crHourGlass);
    UserInjectMouseMove(p.x + 1, p.y);
    Application->ProcessMessages();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    Screen->SetCursor(crDefault);
}

TEST_F(ControlsTest, StandardWindowsPaintWithTheirControlsColours)
{
    TTestDialog* form = ShowDialog();
    form->CheckBox2()->SetColor(clYellow);
    form->Edit1()->SetColor(clAqua);
    form->Repaint();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Application->ProcessMessages();
    Surface* surface = UserWindowSurface(form->Handle());
    ASSERT_NE(surface, nullptr);
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    auto at = [&](TControl* control, int x, int y) {
        TPoint p = control->ClientToScreen(Point(x, y));
        return surface->Pixel(p.x - window.left, p.y - window.top);
    };
    auto rgb = [](TColor c) {
        COLORREF v = ColorToRGB(c);
        return static_cast<std::uint32_t>((GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v));
    };
    struct Case {
        TControl* control;
        int x, y;
        TColor color;
    };
    const Case cases[] = {
        {form->CheckBox1(), 134, 1, clBtnFace},
        {form->CheckBox2(), 134, 1, clYellow},
        {form->Edit1(), 300, 10, clAqua},
        {form->ListBox1(), 150, 100, clWindow},
        {form->GroupBox1(), 300, 30, clBtnFace},
    };
    for (const Case& c : cases)
        EXPECT_EQ(at(c.control, c.x, c.y), rgb(c.color)) << c.control->Name().c_str();
}

TEST_F(ControlsTest, AWrittenFormDescriptionReadsBackIntoTheSameForm)
{
    TTestDialog* form = CreateDialog();
    form->CheckBox2()->SetChecked(true);
    form->Edit1()->SetTextProperty("C:\\dati\\dbVendaroBase4.mdb");
    TStringStream written;
    written.WriteComponent(form);
    const AnsiString& text = written.DataString();
    EXPECT_NE(Pos("object GroupBox1: TGroupBox", text), 0) << text.c_str();
    EXPECT_NE(Pos("OnClick = OkButtonClick", text), 0);
    EXPECT_NE(Pos("object OpenDialog1: TOpenDialog", text), 0);
    EXPECT_NE(Pos("Text = 'C:\\dati\\dbVendaroBase4.mdb'", text), 0);
    EXPECT_EQ(Pos("Caption = 'C:", text), 0) << "an edit's text is no caption";
    for (const char* unwritten : {"ParentColor", "TabStop", "Visible", "Checked ", "Color = clWindow"})
        EXPECT_EQ(Pos(unwritten, text), 0) << unwritten << " holds its default";

    RegisterFormDescription("TTestDialog", text);
    TTestDialog* copy = nullptr;
    FreeAndNil(form);
    Application->CreateForm(copy);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Edit1()->Parent(), copy->GroupBox1());
    EXPECT_TRUE(copy->CheckBox2()->Checked());
    EXPECT_EQ(copy->CheckBox2()->TabOrder(), 2);
    EXPECT_EQ(copy->ListBox1()->Items()->Text(), "primo\r\nsecondo\r\n");
    EXPECT_EQ(copy->OkButton()->ModalResult(), mrOk);
    EXPECT_EQ(copy->Edit1()->Text(), "C:\\dati\\dbVendaroBase4.mdb");
    EXPECT_TRUE(copy->OkButton()->OnClick().Assigned());
    EXPECT_EQ(copy->BorderStyle(), bsDialog);
}

// A control made to follow its parent's colour that was given a colour of its own keeps it
// through a description also when that colour is the declared default, which is not written:
// what it was made with stands until its own properties are read.
TEST_F(ControlsTest, AColourOfItsOwnReadsBackAlsoWhenItIsTheDeclaredDefault)
{
    TTestDialog* form = CreateDialog();
    ASSERT_NE(form->Color(), clWindow);
    form->CheckBox1()->SetColor(clWindow);
    form->Label1()->SetColor(clRed);
    TStringStream written;
    written.WriteComponent(form);
    RegisterFormDescription("TTestDialog", written.DataString());
    TTestDialog* copy = nullptr;
    FreeAndNil(form);
    Application->CreateForm(copy);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->CheckBox1()->Color(), clWindow);
    EXPECT_FALSE(copy->CheckBox1()->ParentColor());
    EXPECT_EQ(copy->Label1()->Color(), clRed);
    EXPECT_EQ(copy->CheckBox2()->Color(), copy->Color()) << "a control that leaves it to its parent follows it";
    EXPECT_TRUE(copy->CheckBox2()->ParentColor());
}

// New size limits bring the control's size within them at once, set one by one or assigned.
TEST_F(ControlsTest, NewSizeLimitsApplyToTheControlAtOnce)
{
    TTestDialog* form = CreateDialog();
    TControl* box = form->ListBox1();
    box->SetBounds(box->Left(), box->Top(), 120, 90);
    box->Constraints()->SetMaxHeight(40);
    EXPECT_EQ(box->Height(), 40);
    box->Constraints()->SetMinWidth(150);
    EXPECT_EQ(box->Width(), 150);
    TSizeConstraints limits;
    limits.SetMaxWidth(60);
    box->SetConstraints(&limits);
    EXPECT_EQ(box->Width(), 60);
    EXPECT_EQ(box->Height(), 40) << "limits given up leave the size as it is";
}

TEST_F(ControlsTest, AnchorsCountFromTheDescribedClientSize)
{
    RegisterFormDescription("TForm", R"(object AnchoredForm: TForm
  BorderStyle = bsSingle
  ClientHeight = 100
  ClientWidth = 200
  object Button1: TButton
    Left = 110
    Top = 60
    Width = 80
    Height = 30
    Anchors = [akRight, akBottom]
  end
end
)");
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    Application->ProcessMessages();
    auto* button = dynamic_cast<TButton*>(form->FindComponent("Button1"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Left(), 110);
    EXPECT_EQ(button->Top(), 60);
    form->SetFormClientWidth(250);
    EXPECT_EQ(button->Left(), 160);
    EXPECT_EQ(button->Top(), 60);
}

namespace {

struct ModalScript : TObject {
    TTestDialog* form = nullptr;
    int idle = 0;
    TCloseAction action = caHide;
    bool allowClose = true;
    void Idle(TObject*, bool&)
    {
        ++idle;
        if (idle <= 2)
            UserInjectKeyStroke(VK_ESCAPE);
    }
    void Query(TObject*, bool& canClose)
    {
        canClose = allowClose;
        allowClose = true;
    }
    void Closing(TObject*, TCloseAction& a) { a = action; }
};

} // namespace

TEST_F(ControlsTest, AModalFormThatRefusesToCloseStaysAndOneFreedOnCloseGoes)
{
    TTestDialog* form = CreateDialog();
    ModalScript script;
    script.form = form;
    script.allowClose = false;
    script.action = caFree;
    form->SetOnCloseQuery(TCloseQueryEvent(&script, &ModalScript::Query));
    form->SetOnClose(TCloseEvent(&script, &ModalScript::Closing));
    Application->SetOnIdle(TIdleEvent(&script, &ModalScript::Idle));
    int forms = Screen->FormCount();
    // The first Escape is refused by OnCloseQuery, the second closes.
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(script.idle, 2);
    EXPECT_FALSE(Application->Terminated());
    Application->SetOnIdle(TIdleEvent());
    Application->ProcessMessages();
    EXPECT_EQ(Screen->FormCount(), forms - 1);
}
