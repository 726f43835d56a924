// When a form read from its description gets its windows: not while it is read, but once
// every property is in place and Loaded has run, a form read visible showing right away.
#include "tests/platform/classlib/controls/ControlsFixture.h"

#include "platform/win/user/User.h"

namespace {

using Log = std::vector<std::string>;

// A window whose border depends on a property; like most, it does not pass a change on to
// its window while it is being read.
class TFramedProbe : public TCustomControl {
    VENDARO_CLASS(TFramedProbe, TCustomControl)
public:
    explicit TFramedProbe(TComponent* owner) : TCustomControl(owner) {}

    bool Framed() const { return framed_; }
    void SetFramed(bool v)
    {
        framed_ = v;
        if (HandleAllocated() && !ComponentState().Contains(csLoading))
            RecreateWnd();
    }
    // Setting it asks for the window there and then, as code that talks to its window does.
    bool AskWindow() const { return askWindow_; }
    void SetAskWindow(bool v)
    {
        askWindow_ = v;
        if (v)
            HandleNeeded();
    }
    void Loaded() override
    {
        TCustomControl::Loaded();
        loaded_ = true;
    }

    static void Publish(TClassBuilder<TFramedProbe>& c)
    {
        c.Property("Framed", &TFramedProbe::Framed, &TFramedProbe::SetFramed).Default(false);
        c.Property("AskWindow", &TFramedProbe::AskWindow, &TFramedProbe::SetAskWindow).Default(false);
    }

protected:
    void CreateParams(TCreateParams& params) override
    {
        TCustomControl::CreateParams(params);
        if (framed_)
            params.ExStyle |= WS_EX_CLIENTEDGE;
    }
    void CreateWnd() override
    {
        TCustomForm* form = GetParentForm();
        const bool settled = loaded_ && form && !form->ComponentState().Contains(csLoading);
        EventLog().push_back("window " + std::string(Name().c_str()) + (framed_ ? " framed" : "") +
                             (settled ? "" : " while reading"));
        TCustomControl::CreateWnd();
    }

private:
    bool framed_ = false;
    bool askWindow_ = false;
    bool loaded_ = false;
};

class TReadingForm : public TForm {
    VENDARO_CLASS(TReadingForm, TForm)
public:
    explicit TReadingForm(TComponent* owner) : TForm(owner) {}

    TFramedProbe* Probe(const char* name) const { return dynamic_cast<TFramedProbe*>(FindComponent(name)); }
    void FormShow(TObject*) { EventLog().push_back("show"); }

    static void Publish(TClassBuilder<TReadingForm>& c) { c.Method("FormShow", &TReadingForm::FormShow); }

protected:
    void CreateWnd() override
    {
        EventLog().push_back("window " + std::string(Name().c_str()));
        TForm::CreateWnd();
    }
};

const char* const kFormHead = R"(object ReadingForm: TReadingForm
  Left = 40
  Top = 30
  Width = 300
  Height = 200
  Caption = 'Letto'
)";

// The children come after every property of the form, Visible among them.
const char* const kChildren = R"(  OnShow = FormShow
  object Probe1: TFramedProbe
    Left = 8
    Top = 8
    Width = 100
    Height = 30
    Framed = True
  end
  object Box1: TGroupBox
    Left = 8
    Top = 50
    Width = 200
    Height = 80
    object Probe2: TFramedProbe
      Left = 8
      Top = 20
      Width = 100
      Height = 30
      Framed = True
    end
  end
  object Probe3: TFramedProbe
    Left = 120
    Top = 8
    Width = 100
    Height = 30
  end
end
)";

std::string Description(bool visible) { return std::string(kFormHead) + (visible ? "  Visible = True\n" : "") + kChildren; }

bool HasClientEdge(TWinControl* control) { return (GetWindowLongA(control->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0; }

class FormReadingTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        RegisterClass(TFramedProbe::StaticClass());
        RegisterClass(TReadingForm::StaticClass());
    }
    void TearDown() override
    {
        readForm_.reset();
        UnRegisterClass(TReadingForm::StaticClass());
        UnRegisterClass(TFramedProbe::StaticClass());
        ControlsTest::TearDown();
    }

    TReadingForm* CreateReadingForm(bool visible)
    {
        RegisterFormDescription("TReadingForm", Description(visible).c_str());
        TReadingForm* form = nullptr;
        Application->CreateForm(form);
        return form;
    }
    TReadingForm* ReadFromStream(bool visible)
    {
        TStringStream s{AnsiString(Description(visible).c_str())};
        readForm_.reset(s.ReadComponent(nullptr));
        return dynamic_cast<TReadingForm*>(readForm_.get());
    }

    // The windows of a shown form: each probe's border as it was read, all of them visible.
    static void ExpectShownAsDescribed(TReadingForm* form)
    {
        ASSERT_TRUE(form->HandleAllocated());
        EXPECT_TRUE(form->Showing());
        EXPECT_TRUE(IsWindowVisible(form->Handle()));
        struct Case {
            const char* name;
            bool framed;
        };
        for (const Case& c : {Case{"Probe1", true}, Case{"Probe2", true}, Case{"Probe3", false}}) {
            SCOPED_TRACE(c.name);
            TFramedProbe* probe = form->Probe(c.name);
            ASSERT_NE(probe, nullptr);
            ASSERT_TRUE(probe->HandleAllocated());
            EXPECT_TRUE(IsWindowVisible(probe->Handle()));
            EXPECT_EQ(HasClientEdge(probe), c.framed);
        }
        auto* box = dynamic_cast<TWinControl*>(form->FindComponent("Box1"));
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(IsChild(box->Handle(), form->Probe("Probe2")->Handle()));
    }

    TOwned<TComponent> readForm_;
};

// The form's window first, then its children's in z-order, each with all it was read with;
// then the form shows.
const Log kWindowsThenShow = {"window ReadingForm", "window Probe1 framed", "window Probe2 framed", "window Probe3",
                              "show"};

} // namespace

TEST_F(FormReadingTest, AFormReadVisibleGetsItsWindowsOnceItIsReadAndLoaded)
{
    struct Case {
        const char* how;
        bool fromStream;
    };
    for (const Case& c : {Case{"created by the application", false}, Case{"read from a stream", true}}) {
        SCOPED_TRACE(c.how);
        EventLog().clear();
        TReadingForm* form = c.fromStream ? ReadFromStream(true) : CreateReadingForm(true);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(TakeLog(), kWindowsThenShow);
        ExpectShownAsDescribed(form);
    }
}

TEST_F(FormReadingTest, AFormReadHiddenGetsItsWindowsWhenShown)
{
    TReadingForm* form = CreateReadingForm(false);
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_FALSE(form->Probe("Probe1")->HandleAllocated());
    EXPECT_EQ(TakeLog(), Log{});
    form->Show();
    EXPECT_EQ(TakeLog(), kWindowsThenShow);
    ExpectShownAsDescribed(form);
}

// Children read onto a form already on screen wait for their reading as well.
TEST_F(FormReadingTest, ChildrenReadOntoAShownFormGetTheirWindowsOnceRead)
{
    auto* form = new TReadingForm(Application);
    form->Show();
    TakeLog();
    TStringStream s{AnsiString(Description(false).c_str())};
    s.ReadComponent(form);
    EXPECT_EQ(TakeLog(), Log({"window Probe1 framed", "window Probe2 framed", "window Probe3"}));
    ExpectShownAsDescribed(form);
}

// A child that asks for its window while it is read gets it, with its form's; the children
// read before it still wait for the end of the reading.
TEST_F(FormReadingTest, AWindowAskedForWhileReadingBringsNoOtherChildsWindow)
{
    RegisterFormDescription("TReadingForm", std::string(kFormHead).append(R"(  Visible = True
  OnShow = FormShow
  object Probe1: TFramedProbe
    Framed = True
  end
  object Asker: TFramedProbe
    AskWindow = True
  end
  object Probe3: TFramedProbe
  end
end
)").c_str());
    TReadingForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(TakeLog(), Log({"window ReadingForm", "window Asker while reading", "window Probe1 framed", "window Probe3",
                              "show"}));
    EXPECT_TRUE(HasClientEdge(form->Probe("Probe1")));
    for (const char* name : {"Probe1", "Asker", "Probe3"})
        EXPECT_TRUE(IsWindowVisible(form->Probe(name)->Handle())) << name;
}

// A window that cannot be made once the form is read fails the reading, as it always did:
// nothing of the form is left.
TEST_F(FormReadingTest, AVisibleFormWhoseWindowCannotBeMadeIsNotCreated)
{
    RegisterFormDescription("TReadingForm", "object ReadingForm: TReadingForm\n  Visible = True\n"
                                            "  FormStyle = fsMDIChild\nend\n");
    TReadingForm* form = nullptr;
    EXPECT_THROW(Application->CreateForm(form), EReadError);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0);
}

// A group box places its children below its caption without asking for its window, which
// would bring the form's with it while the form is read.
TEST_F(FormReadingTest, AGroupBoxAlignsBelowItsCaptionWithoutAWindow)
{
    auto* form = new TReadingForm(Application);
    auto* box = new TGroupBox(form);
    box->SetParent(form);
    box->SetBounds(8, 8, 200, 100);
    auto* inner = new TFramedProbe(form);
    inner->SetParent(box);
    inner->SetAlign(alClient);
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_FALSE(box->HandleAllocated());
    auto place = [inner] {
        return std::vector<int>{inner->Left(), inner->Top(), inner->Left() + inner->Width(), inner->Top() + inner->Height()};
    };
    const std::vector<int> placed = place();
    form->Show();
    box->Canvas()->SetFont(box->Font());
    const int caption = box->Canvas()->TextHeight("0");
    EXPECT_GT(caption, 0);
    EXPECT_EQ(placed, std::vector<int>({2, caption + 2, 198, 98})) << "inside the 3-D frame, below the caption";
    box->Realign();
    EXPECT_EQ(place(), placed) << "the same with a window";
}
