// Scroll boxes: ranges from the children, scroll messages moving them; data modules.
#include "tests/platform/classlib/controls/ControlsFixture.h"

#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/ScrollBars.h"

namespace {

// Watches the scroll box's messages on their way to its window procedure.
class TScrollWatcher : public TObject {
public:
    explicit TScrollWatcher(TWinControl* target) : target_(target), saved_(target->WindowProc())
    {
        target->SetWindowProc(TWndMethod(this, &TScrollWatcher::Watch));
    }
    ~TScrollWatcher() override { target_->SetWindowProc(saved_); }
    void Watch(TMessage& m)
    {
        if (m.Msg == WM_VSCROLL) codes.push_back(LOWORD(m.WParam));
        if (m.Msg == WM_PAINT) {
            ++paints;
            GetUpdateRect(target_->Handle(), &painted, FALSE);
        }
        target_->WndProc(m);
    }

    std::vector<WORD> codes;
    int paints = 0;
    RECT painted{};

private:
    TWinControl* target_;
    TWndMethod saved_;
};

class ScrollBoxTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        form = new TForm(Application);
        form->SetBounds(20, 20, 400, 300);
        box = new TScrollBox(form);
        box->SetParent(form);
        box->SetBounds(10, 10, 150, 100);
        child = new TButton(form);
        child->SetParent(box);
        child->SetBounds(10, 200, 75, 25);
        form->Show();
        Application->ProcessMessages();
    }
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongA(box->Handle(), GWL_STYLE)); }

    TForm* form = nullptr;
    TScrollBox* box = nullptr;
    TButton* child = nullptr;
};

} // namespace

TEST_F(ScrollBoxTest, ChildrenBeyondTheClientAreaBringUpAScrollBar)
{
    EXPECT_EQ(box->VertScrollBar()->Range(), 225);
    EXPECT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_TRUE(Style() & WS_VSCROLL);
    EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_FALSE(Style() & WS_HSCROLL);
    box->VertScrollBar()->SetVisible(false);
    EXPECT_FALSE(Style() & WS_VSCROLL);
}

TEST_F(ScrollBoxTest, ScrollMessagesMoveTheChildren)
{
    int client = box->ClientHeight();
    int maximum = 225 - client;
    struct Case {
        WPARAM code;
        int position;
    };
    const Case cases[] = {
        {SB_LINEDOWN, 8},
        {SB_LINEDOWN, 16},
        {SB_LINEUP, 8},
        {SB_BOTTOM, maximum},
        {SB_LINEDOWN, maximum},
        {MAKEWPARAM(SB_THUMBPOSITION, 30), 30},
        {MAKEWPARAM(SB_THUMBTRACK, 50), 30},
        {SB_TOP, 0},
        {SB_LINEUP, 0},
    };
    for (const Case& c : cases) {
        SendMessageA(box->Handle(), WM_VSCROLL, c.code, 0);
        SCOPED_TRACE(c.code);
        EXPECT_EQ(box->VertScrollBar()->Position(), c.position);
        EXPECT_EQ(child->Top(), 200 - c.position);
    }
    box->ScrollInView(child);
    EXPECT_EQ(child->Top() + child->Height(), client);
}

TEST_F(ScrollBoxTest, TheWindowsBarFollowsRangeAndPosition)
{
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    SendMessageA(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    ASSERT_TRUE(GetScrollInfo(box->Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, 224);
    EXPECT_EQ(info.nPage, static_cast<UINT>(box->ClientHeight()));
    EXPECT_EQ(info.nPos, 8);
}

TEST_F(ScrollBoxTest, AClickOnTheBarsArrowScrollsOneLineThenEnds)
{
    TScrollWatcher watcher(box);
    std::vector<WORD>& codes = watcher.codes;
    RECT client{};
    GetClientRect(box->Handle(), &client);
    POINT corner{client.right, client.bottom};
    ClientToScreen(box->Handle(), &corner);
    UserInjectClick(corner.x + GetSystemMetrics(SM_CXVSCROLL) / 2, corner.y - 4);
    Application->ProcessMessages();
    EXPECT_EQ(codes, (std::vector<WORD>{SB_LINEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(box->VertScrollBar()->Position(), 8);
    EXPECT_EQ(child->Top(), 192);
}

TEST_F(ScrollBoxTest, TheWheelScrollsThreeLinesANotchThenEnds)
{
    TScrollWatcher watcher(box);
    std::vector<WORD>& codes = watcher.codes;
    box->SetFocus();
    POINT inside = box->ClientToScreen(Point(5, 5));
    UserInjectMouseWheel(-WHEEL_DELTA, inside.x, inside.y);
    Application->ProcessMessages();
    EXPECT_EQ(codes, (std::vector<WORD>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(box->VertScrollBar()->Position(), 24);
    UserInjectMouseWheel(WHEEL_DELTA, inside.x, inside.y);
    Application->ProcessMessages();
    EXPECT_EQ(box->VertScrollBar()->Position(), 0);
    EXPECT_EQ(child->Top(), 200);
}

TEST_F(ScrollBoxTest, ScrollingMovesTheBitsAndRepaintsOnlyTheUncoveredStrip)
{
    TScrollWatcher watcher(box);
    SendMessageA(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    Application->ProcessMessages();
    EXPECT_EQ(watcher.paints, 1);
    EXPECT_EQ(watcher.painted.top, box->ClientHeight() - 8);
    EXPECT_EQ(watcher.painted.bottom, box->ClientHeight());
}

// Notes where the control thinks it is when the window tells it that it moved.
class TMoveWatcher : public TObject {
public:
    explicit TMoveWatcher(TWinControl* target) : target_(target), saved_(target->WindowProc())
    {
        target->SetWindowProc(TWndMethod(this, &TMoveWatcher::Watch));
    }
    ~TMoveWatcher() override { target_->SetWindowProc(saved_); }
    void Watch(TMessage& m)
    {
        if (m.Msg == WM_MOVE) tops.push_back(target_->Top());
        target_->WndProc(m);
    }
    std::vector<int> tops;

private:
    TWinControl* target_;
    TWndMethod saved_;
};

TEST_F(ScrollBoxTest, ScrolledChildWindowsKnowTheirNewPlaceWhenTheyHearOfTheMove)
{
    TMoveWatcher watcher(child);
    SendMessageA(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(watcher.tops, std::vector<int>{192});
}

TEST_F(ScrollBoxTest, RangesThatFollowTheChildrenAreNotWritten)
{
    box->SetName("Box");
    child->SetName("Child");
    TStringStream automatic;
    automatic.WriteComponent(box);
    EXPECT_EQ(std::string(automatic.DataString().c_str()).find("Range"), std::string::npos);
    box->SetAutoScroll(false);
    box->VertScrollBar()->SetRange(300);
    TStringStream fixed;
    fixed.WriteComponent(box);
    EXPECT_NE(std::string(fixed.DataString().c_str()).find("VertScrollBar.Range = 300"), std::string::npos)
        << fixed.DataString().c_str();
}

namespace {

class TTestModule : public TDataModule {
    VENDARO_CLASS(TTestModule, TDataModule)
public:
    explicit TTestModule(TComponent* owner) : TDataModule(owner) {}
    void ModuleCreate(TObject*) { EventLog().push_back("module create"); }
    static void Publish(TClassBuilder<TTestModule>& c) { c.Method("ModuleCreate", &TTestModule::ModuleCreate); }
};

} // namespace

TEST_F(ControlsTest, DataModulesAreCreatedFromTheirDescription)
{
    RegisterClass(TTestModule::StaticClass());
    RegisterFormDescription("TTestModule", R"(object TestModule: TTestModule
  OnCreate = ModuleCreate
  object OpenDialog1: TOpenDialog
    Filter = 'mdb|*.mdb'
  end
end
)");
    TTestModule* module = nullptr;
    Application->CreateForm(module);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->ComponentCount(), 1);
    EXPECT_EQ(TakeLog(), std::vector<std::string>({"module create"}));
    // A data module is not a form: the main form is still to come.
    EXPECT_EQ(Application->MainForm(), nullptr);
}

namespace {

class TUndescribed : public TForm {
    VENDARO_CLASS(TUndescribed, TForm)
public:
    explicit TUndescribed(TComponent* owner) : TForm(owner) {}
};

} // namespace

TEST_F(ControlsTest, AFormClassWithoutADescriptionIsRefused)
{
    TUndescribed* form = nullptr;
    EXPECT_THROW(Application->CreateForm(form), EResNotFound);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0);
}
