// Control messages: font and colour propagation, mouse enter and leave, reflection of
// notifications, window recreation, windows bound to methods.
#include "tests/platform/classlib/controls/ControlsFixture.h"

#include "platform/rtl/Clock.h"

namespace {

// Records the control messages it receives.
template <class Base>
class TRecorder : public Base {
public:
    explicit TRecorder(TComponent* owner) : Base(owner) {}
    std::vector<std::string> seen;
    void WndProc(TMessage& message) override
    {
        switch (message.Msg) {
        case CM_MOUSEENTER: seen.push_back(std::string("enter ") + this->Name().c_str()); break;
        case CM_MOUSELEAVE: seen.push_back(std::string("leave ") + this->Name().c_str()); break;
        case CN_DRAWITEM: seen.push_back("CN_DRAWITEM"); message.Result = 7; return;
        case CN_COMMAND: seen.push_back("CN_COMMAND " + std::to_string(HIWORD(message.WParam))); return;
        default: break;
        }
        Base::WndProc(message);
    }
};

using TRecordingGraphic = TRecorder<TGraphicControl>;
using TRecordingPanel = TRecorder<TCustomControl>;

class ControlMessagesTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        form = new TForm(Application);
        form->SetBounds(50, 50, 300, 200);
        panel = new TRecordingPanel(form);
        panel->SetName("Panel");
        panel->SetParent(form);
        panel->SetBounds(10, 10, 120, 80);
        graphic = new TRecordingGraphic(form);
        graphic->SetName("Graphic");
        graphic->SetParent(panel);
        graphic->SetBounds(10, 10, 40, 20);
        form->Show();
        Application->ProcessMessages();
    }
    void MoveTo(TControl* control, int x, int y)
    {
        TPoint p = control->ClientToScreen(Point(x, y));
        UserInjectMouseMove(p.x, p.y);
        Application->ProcessMessages();
    }
    std::vector<std::string> Seen()
    {
        std::vector<std::string> all = panel->seen;
        all.insert(all.end(), graphic->seen.begin(), graphic->seen.end());
        panel->seen.clear();
        graphic->seen.clear();
        return all;
    }

    TForm* form = nullptr;
    TRecordingPanel* panel = nullptr;
    TRecordingGraphic* graphic = nullptr;
};

} // namespace

TEST_F(ControlMessagesTest, ParentFontChangesReachChildrenThatFollowTheirParent)
{
    auto* own = new TLabel(form);
    own->SetParent(panel);
    own->Font()->SetName("Arial");
    EXPECT_FALSE(own->ParentFont());
    form->Font()->SetHeight(-20);
    struct Case {
        TControl* control;
        int height;
        bool parentFont;
    };
    for (const Case& c : {Case{panel, -20, true}, Case{graphic, -20, true}, Case{own, -11, false}}) {
        SCOPED_TRACE(c.control->ClassName().c_str());
        EXPECT_EQ(c.control->Font()->Height(), c.height);
        EXPECT_EQ(c.control->ParentFont(), c.parentFont);
    }
    // Following the parent again takes its font at once.
    own->SetParentFont(true);
    EXPECT_EQ(own->Font()->Height(), -20);
    EXPECT_EQ(own->Font()->Name(), form->Font()->Name());
}

TEST_F(ControlMessagesTest, ParentColorFollowsUntilTheControlGetsItsOwn)
{
    graphic->SetParentColor(true);
    panel->SetColor(clRed);
    EXPECT_EQ(graphic->Color(), clRed);
    EXPECT_TRUE(graphic->ParentColor());
    graphic->SetColor(clBlue);
    EXPECT_FALSE(graphic->ParentColor());
    panel->SetColor(clLime);
    EXPECT_EQ(graphic->Color(), clBlue);
}

TEST_F(ControlMessagesTest, MouseEnterAndLeaveFollowTheMouseAcrossControls)
{
    MoveTo(panel, 100, 60);
    EXPECT_EQ(Seen(), std::vector<std::string>({"enter Panel"}));
    MoveTo(graphic, 5, 5);
    EXPECT_EQ(Seen(), std::vector<std::string>({"leave Panel", "enter Graphic"}));
    MoveTo(form, 250, 150);
    EXPECT_EQ(Seen(), std::vector<std::string>({"leave Graphic"}));
    // A disabled windowless control is entered as well.
    graphic->SetEnabled(false);
    MoveTo(graphic, 5, 5);
    EXPECT_EQ(Seen(), std::vector<std::string>({"enter Graphic"}));
}

TEST_F(ControlMessagesTest, MouseEnterAndLeaveWhileAnotherWindowHoldsTheCapture)
{
    SetCapture(form->Handle());
    MoveTo(graphic, 5, 5);
    EXPECT_EQ(Seen(), std::vector<std::string>({"enter Graphic"}));
    MoveTo(form, 250, 150);
    EXPECT_EQ(Seen(), std::vector<std::string>({"leave Graphic"}));
    ReleaseCapture();
}

TEST_F(ControlMessagesTest, ParentsReflectNotificationsToTheChildTheyName)
{
    auto* child = new TRecorder<TButton>(form);
    child->SetParent(panel);
    HWND window = child->Handle();
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_BUTTON;
    draw.hwndItem = window;
    EXPECT_EQ(SendMessageA(panel->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), 7);
    SendMessageA(panel->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(child->seen, std::vector<std::string>({"CN_DRAWITEM", "CN_COMMAND 0"}));
}

TEST_F(ControlMessagesTest, RecreatingAWindowKeepsChildrenTextAndState)
{
    auto* box = new TCheckBox(form);
    box->SetParent(panel);
    box->SetCaption("Anagrafica");
    box->SetChecked(true);
    HWND before = panel->Handle();
    panel->RecreateWnd();
    EXPECT_NE(panel->Handle(), before);
    EXPECT_TRUE(IsChild(panel->Handle(), box->Handle()));
    char text[32] = {};
    GetWindowTextA(box->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Anagrafica");
    EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ControlMessagesTest, FreeingAControlTakesItOutOfItsParentAndForm)
{
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    edit->SetFocus();
    EXPECT_EQ(form->ActiveControl(), edit);
    HWND window = edit->Handle();
    edit->Free();
    EXPECT_FALSE(IsWindow(window));
    // The form forgets the freed control (the window system may pass the focus on).
    EXPECT_TRUE(form->ActiveControl() == nullptr || form->ActiveControl() == panel);
    EXPECT_EQ(panel->ControlCount(), 1);
    // Freeing a parent frees the controls it contains.
    panel->Free();
    EXPECT_EQ(form->ComponentCount(), 0);
}

namespace {

struct MethodTarget : TObject {
    std::vector<UINT> seen;
    void Handle(TMessage& message)
    {
        seen.push_back(message.Msg);
        message.Result = 42;
    }
    void Hook(TMessage& message, bool& handled)
    {
        seen.push_back(message.Msg);
        handled = message.Msg == WM_USER + 1;
    }
};

} // namespace

TEST_F(ControlsTest, WindowsAndProceduresBoundToMethods)
{
    MethodTarget target;
    HWND window = AllocateHWnd(TWndMethod(&target, &MethodTarget::Handle));
    EXPECT_EQ(SendMessageA(window, WM_USER + 5, 0, 0), 42);
    WNDPROC procedure = MakeObjectInstance(TWndMethod(&target, &MethodTarget::Handle));
    EXPECT_EQ(CallWindowProcA(procedure, nullptr, WM_USER + 6, 0, 0), 42);
    FreeObjectInstance(procedure);
    DeallocateHWnd(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(target.seen, std::vector<UINT>({WM_USER + 5, WM_USER + 6}));
}

TEST_F(ControlsTest, MainWindowHooksAreFoundByMethodIdentity)
{
    MethodTarget target;
    HWND window = Application->Handle();
    TApplication::TWindowHook hook(&target, &MethodTarget::Hook);
    Application->HookMainWindow(hook);
    SendMessageA(window, WM_USER + 1, 0, 0);
    Application->UnhookMainWindow(TApplication::TWindowHook(&target, &MethodTarget::Hook));
    SendMessageA(window, WM_USER + 1, 0, 0);
    EXPECT_EQ(target.seen, std::vector<UINT>({WM_USER + 1}));
}

TEST_F(ControlsTest, ApplicationTitleNamesItsWindow)
{
    Application->SetTitle("ProceduraImportazione");
    char text[64] = {};
    GetWindowTextA(Application->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "ProceduraImportazione");
}

TEST_F(ControlsTest, MessageBoxesAndExceptionsGoThroughTheWindowSystemsBox)
{
    std::vector<MessageBoxRequest> requests;
    UserSetMessageBoxResponder([&](const MessageBoxRequest& r) {
        requests.push_back(r);
        return IDOK;
    });
    Application->SetTitle("Upgrade");
    EXPECT_EQ(Application->MessageBox("Procedura completa", "Procedura di importazione", 0), IDOK);
    Application->ShowException(Exception("Table does not exist"));
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].text, "Procedura completa");
    EXPECT_EQ(requests[0].caption, "Procedura di importazione");
    EXPECT_EQ(requests[0].type, 0u);
    EXPECT_EQ(requests[1].text, "Table does not exist.");
    EXPECT_EQ(requests[1].caption, "Upgrade");
    EXPECT_EQ(requests[1].type, MB_OK | MB_ICONSTOP);
}

TEST_F(ControlsTest, MessageDialogsAnswerTheChosenButton)
{
    std::vector<int> offered;
    AnsiString caption;
    SetMessageResponder([&](const AnsiString&, const AnsiString& c, const std::vector<int>& results) {
        offered = results;
        caption = c;
        return mrNo;
    });
    EXPECT_EQ(MessageDlg("Continuare?", mtConfirmation, {mbYes, mbNo, mbCancel}, 0), mrNo);
    EXPECT_EQ(offered, std::vector<int>({mrYes, mrNo, mrCancel}));
    EXPECT_EQ(caption, "Confirm");
    SetMessageResponder(nullptr);
    // The real dialog: Enter presses its first button.
    struct Presser : TObject {
        int calls = 0;
        void Idle(TObject*, bool&)
        {
            if (calls++ == 0)
                UserInjectKeyStroke(VK_RETURN);
        }
    } presser;
    Application->SetOnIdle(TIdleEvent(&presser, &Presser::Idle));
    EXPECT_EQ(MessageDlg("Sovrascrivere?", mtWarning, {mbYes, mbNo}, 0), mrYes);
    Application->SetOnIdle(TIdleEvent());
}

TEST_F(ControlsTest, OpenDialogPassesItsSettingsAndTakesTheChosenFile)
{
    TOwned<TOpenDialog> dialog(new TOpenDialog(nullptr));
    dialog->SetFileName("*.mdb");
    dialog->SetFilter("mdb|*.mdb");
    dialog->SetInitialDir("C:\\dati");
    std::string filter, file, dir;
    UserSetOpenFileResponder([&](const OPENFILENAMEA& ofn) -> std::optional<AnsiString> {
        filter.assign(ofn.lpstrFilter, 12);
        file = ofn.lpstrFile;
        dir = ofn.lpstrInitialDir;
        return AnsiString("C:\\dati\\dbVendaroBase4.mdb");
    });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(filter, std::string("mdb\0*.mdb\0\0", 12));
    EXPECT_EQ(file, "*.mdb");
    EXPECT_EQ(dir, "C:\\dati");
    EXPECT_EQ(dialog->FileName(), "C:\\dati\\dbVendaroBase4.mdb");
    UserSetOpenFileResponder([](const OPENFILENAMEA&) -> std::optional<AnsiString> { return std::nullopt; });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(dialog->FileName(), "C:\\dati\\dbVendaroBase4.mdb");
}

TEST_F(ControlMessagesTest, AHintShowsAfterTheMouseRestsAndHidesWhenItLeaves)
{
    TFakeClock clock(0.0, 1000);
    TClockOverride useClock(clock);
    graphic->SetHint("Avvia l'importazione");
    graphic->SetShowHint(true);
    MoveTo(graphic, 5, 5);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    clock.Advance(Application->HintPause() + 10);
    Application->ProcessMessages();
    THintWindow* hint = Application->HintWindow();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->IsShown());
    EXPECT_EQ(hint->Caption(), "Avvia l'importazione");
    TPoint cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(hint->Top(), cursor.y + 20);
    MoveTo(form, 250, 150);
    EXPECT_FALSE(hint->IsShown());
    // A control without ShowHint shows none.
    panel->SetHint("Pannello");
    MoveTo(panel, 100, 60);
    clock.Advance(Application->HintPause() + 10);
    Application->ProcessMessages();
    EXPECT_FALSE(hint->IsShown());
}

TEST_F(ControlMessagesTest, AnchoredChildrenFollowTheEdgesTheyAreAnchoredTo)
{
    struct Case {
        TAnchors anchors;
        TRect after;
    };
    const Case cases[] = {
        {{akLeft, akTop}, Bounds(10, 40, 30, 20)},
        {{akRight, akBottom}, Bounds(40, 50, 30, 20)},
        {{akLeft, akRight, akTop}, Bounds(10, 40, 60, 20)},
        {{akLeft, akTop, akBottom}, Bounds(10, 40, 30, 30)},
    };
    std::vector<TButton*> buttons;
    for (const Case& c : cases) {
        auto* b = new TButton(form);
        b->SetParent(panel);
        b->SetBounds(10, 40, 30, 20);
        b->SetAnchors(c.anchors);
        buttons.push_back(b);
    }
    panel->SetBounds(panel->Left(), panel->Top(), panel->Width() + 30, panel->Height() + 10);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(buttons[i]->BoundsRect().left, cases[i].after.left);
        EXPECT_EQ(buttons[i]->BoundsRect().top, cases[i].after.top);
        EXPECT_EQ(buttons[i]->BoundsRect().right, cases[i].after.right);
        EXPECT_EQ(buttons[i]->BoundsRect().bottom, cases[i].after.bottom);
    }
}

namespace {

struct ExceptionCatcher : TObject {
    std::vector<std::string> seen;
    void Caught(TObject*, Exception& e) { seen.push_back(e.Message().c_str()); }
};

} // namespace

TEST_F(ControlsTest, HandleExceptionPassesTheExceptionInFlightToOnException)
{
    ExceptionCatcher catcher;
    Application->SetOnException(TExceptionEvent(&catcher, &ExceptionCatcher::Caught));
    Application->HandleException(Application);  // nothing in flight: nothing happens
    try {
        throw EInvalidOperation("Errore o duplicazione dati");
    } catch (...) {
        Application->HandleException(Application);
    }
    try {
        throw 42;
    } catch (...) {
        Application->HandleException(Application);
    }
    EXPECT_EQ(catcher.seen, std::vector<std::string>({"Errore o duplicazione dati", "Unknown exception"}));
    Application->SetOnException(TExceptionEvent());
}

namespace {

// Sits in front of a control's window procedure and notes the icons it is given.
struct IconSpy : TObject {
    TControl* control = nullptr;
    TWndMethod original;
    std::vector<LPARAM> icons;
    void Spy(TMessage& message)
    {
        if (message.Msg == WM_SETICON)
            icons.push_back(message.LParam);
        original(message);
    }
};

} // namespace

TEST_F(ControlMessagesTest, AFormsIconGoesToItsWindowAndWindowProcCanBeReplaced)
{
    IconSpy spy;
    spy.original = form->WindowProc();
    form->SetWindowProc(TWndMethod(&spy, &IconSpy::Spy));
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HBITMAP color = CreateBitmap(16, 16, 1, 32, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(color);
    ASSERT_NE(icon, nullptr);
    form->Icon()->SetHandle(icon);
    ASSERT_EQ(spy.icons.size(), 1u);
    EXPECT_EQ(spy.icons[0], reinterpret_cast<LPARAM>(form->Icon()->Handle()));
    form->SetWindowProc(spy.original);
}

TEST_F(ControlMessagesTest, ControlsFindTheirFormAndWindowsTheirControl)
{
    EXPECT_EQ(GetParentForm(graphic), form);
    EXPECT_EQ(ValidParentForm(panel), form);
    EXPECT_EQ(FindControl(panel->Handle()), panel);
    EXPECT_EQ(FindControl(Application->Handle()), nullptr);
    TOwned<TLabel> loose(new TLabel(nullptr));
    loose->SetName("Loose");
    EXPECT_EQ(GetParentForm(loose.get()), nullptr);
    try {
        ValidParentForm(loose.get());
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Control 'Loose' has no parent window");
    }
}

TEST_F(ControlsTest, MDIChildFormsLiveInTheFramesClientWindow)
{
    TForm* frame = nullptr;
    Application->CreateForm(frame);
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(0, 0, 400, 300);
    frame->Show();
    Application->ProcessMessages();
    HWND client = frame->ClientHandle();
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(GetParent(client), frame->Handle());
    TForm* child = new TForm(Application);
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(10, 10, 150, 100);
    child->Show();
    Application->ProcessMessages();
    EXPECT_EQ(GetParent(child->Handle()), client);
    EXPECT_EQ(frame->MDIChildCount(), 1);
    EXPECT_EQ(frame->MDIChildren(0), child);
    // Without an MDI frame as main form there is nowhere to put a child.
    TForm* orphan = new TForm(nullptr);
    frame->SetFormStyle(fsNormal);
    orphan->SetFormStyle(fsMDIChild);
    EXPECT_THROW(orphan->Show(), EInvalidOperation);
    orphan->Free();
}

namespace {

// Snaps its width to a multiple of 25 whenever it is resized, from its own WM_SIZE.
class TSnappingPanel : public TCustomControl {
public:
    explicit TSnappingPanel(TComponent* owner) : TCustomControl(owner) {}
    std::vector<int> widthsAtSize;
    void WndProc(TMessage& message) override
    {
        TCustomControl::WndProc(message);
        if (message.Msg != WM_SIZE) return;
        widthsAtSize.push_back(Width());
        if (Width() % 25 != 0) SetBounds(Left(), Top(), Width() / 25 * 25, Height());
    }
};

} // namespace

TEST_F(ControlMessagesTest, AControlResizedFromItsOwnSizeMessageKeepsThatSize)
{
    auto* snapping = new TSnappingPanel(form);
    snapping->SetParent(form);
    snapping->SetBounds(0, 0, 50, 20);
    snapping->HandleNeeded();
    snapping->widthsAtSize.clear();
    snapping->SetBounds(0, 0, 110, 20);
    EXPECT_EQ(snapping->Width(), 100);
    // WM_SIZE finds the bounds already taken.
    EXPECT_EQ(snapping->widthsAtSize, (std::vector<int>{110, 100}));
    RECT r{};
    GetWindowRect(snapping->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 100);
}
