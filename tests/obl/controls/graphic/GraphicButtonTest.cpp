// The graphic button engine, driven through speed buttons: groups, the hot state and its
// polling timer, repeated click, the drop-down menu and its arrow area, the accelerator,
// capture loss and handlers that free the button.
#include "obl/controls/graphic/OBLSpeedButton.h"

#include "platform/classlib/ActnList.h"
#include "platform/classlib/ImgList.h"

#include "GraphicFixture.h"

namespace {

class TFreeingHandler : public TObject {
    VENDARO_CLASS(TFreeingHandler, TObject)
public:
    void FreeSender(TObject* sender)
    {
        ++calls;
        static_cast<TComponent*>(sender)->Free();
    }
    int calls = 0;
};

class GraphicButtonTest : public GraphicFixture {
protected:
    TOBLSpeedButton* Button(int left, int top, TWinControl* parent = nullptr)
    {
        auto* button = Add<TOBLSpeedButton>(left, top, parent);
        button->SetOnClick(TNotifyEvent(&log_, &TEventLog::Click));
        return button;
    }
    int Clicks() const { return log_.Count("click"); }
};

TEST_F(GraphicButtonTest, ANewSpeedButtonHasItsDocumentedSettings)
{
    auto* b = Button(10, 10);
    EXPECT_EQ(b->Width(), 23);
    EXPECT_EQ(b->Height(), 22);
    EXPECT_EQ(b->Style(), ubsAutoDetect);
    EXPECT_TRUE(b->AllowMouseOver());
    EXPECT_FALSE(b->AllowTransparency());
    EXPECT_TRUE(b->CtlXP());
    EXPECT_EQ(b->ControlStyle(), (TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable}));
    EXPECT_EQ(b->State(), bsUp);
    EXPECT_EQ(b->RepeatingDelay(), 500);
    EXPECT_EQ(b->RepeatingInterval(), 100);
    EXPECT_EQ(b->DropDownComboWidth(), 12);
}

TEST_F(GraphicButtonTest, OneButtonOfAGroupIsDownAtATime)
{
    TOBLSpeedButton* b[3] = {Button(10, 10), Button(40, 10), Button(70, 10)};
    for (TOBLSpeedButton* button : b)
        button->SetGroupIndex(1);
    ClickAt(b[0], 5, 5);
    EXPECT_TRUE(b[0]->Pressed());
    EXPECT_EQ(b[0]->State(), bsOptionSet);
    ClickAt(b[1], 5, 5);
    EXPECT_FALSE(b[0]->Pressed());
    EXPECT_EQ(b[0]->State(), bsUp);
    EXPECT_TRUE(b[1]->Pressed());
    EXPECT_EQ(Clicks(), 2);

    // Without AllowAllUp the pressed one stays down and does not click.
    ClickAt(b[1], 5, 5);
    EXPECT_TRUE(b[1]->Pressed());
    EXPECT_EQ(Clicks(), 2);

    // AllowAllUp set on one member spreads to the group; then a click releases.
    b[2]->SetAllowAllUp(true);
    EXPECT_TRUE(b[0]->AllowAllUp());
    EXPECT_TRUE(b[1]->AllowAllUp());
    ClickAt(b[1], 5, 5);
    EXPECT_FALSE(b[1]->Pressed());
    EXPECT_EQ(Clicks(), 3);
    for (TOBLSpeedButton* button : b)
        EXPECT_FALSE(button->Pressed());
}

TEST_F(GraphicButtonTest, PressedCountsOnlyInAGroup)
{
    auto* b = Button(10, 10);
    b->SetPressed(true);
    EXPECT_FALSE(b->Pressed());
    b->SetGroupIndex(2);
    b->SetPressed(true);
    EXPECT_TRUE(b->Pressed());
    b->SetPressed(false);
    EXPECT_TRUE(b->Pressed()) << "a group without AllowAllUp keeps one down";
    b->SetEnabled(false);
    EXPECT_EQ(b->State(), bsDisabledDown);
    b->SetEnabled(true);
    EXPECT_EQ(b->State(), bsOptionSet);
}

TEST_F(GraphicButtonTest, ReleaseOutsideFiresNoClick)
{
    auto* b = Button(10, 10);
    MoveTo(b, 5, 5);
    Press(b, 5, 5);
    EXPECT_EQ(b->State(), bsDown);
    MoveTo(b, 60, 60);
    EXPECT_EQ(b->State(), bsUp);
    Release(b, 60, 60);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_FALSE(b->Captured());
}

TEST_F(GraphicButtonTest, HitTestingExcludesTheRightAndBottomEdges)
{
    auto* b = Button(10, 10);
    struct Case {
        int x, y;
        bool clicks;
    };
    const Case cases[] = {{0, 0, true}, {22, 21, true}, {23, 5, false}, {5, 22, false}};
    for (const Case& c : cases) {
        log_.events.clear();
        MoveTo(b, 5, 5);
        Press(b, 5, 5);
        MoveTo(b, c.x, c.y);
        Release(b, c.x, c.y);
        EXPECT_EQ(Clicks(), c.clicks ? 1 : 0) << c.x << "," << c.y;
    }
}

TEST_F(GraphicButtonTest, RepeatedClickFiresAtOnceAfterTheDelayAndAtTheInterval)
{
    auto* b = Button(10, 10);
    b->SetRepeatedClick(true);
    MoveTo(b, 5, 5);
    Press(b, 5, 5);
    EXPECT_EQ(Clicks(), 1) << "the press clicks at once";
    ASSERT_NE(b->TimerId(1), 0);
    Run(450);
    EXPECT_EQ(Clicks(), 1);
    Run(50);
    EXPECT_EQ(Clicks(), 2) << "after the delay";
    Run(100);
    EXPECT_EQ(Clicks(), 3);
    Run(100);
    EXPECT_EQ(Clicks(), 4);
    // Outside the button the repetitions pause.
    MoveTo(b, 60, 60);
    Run(300);
    EXPECT_EQ(Clicks(), 4);
    MoveTo(b, 5, 5);
    Run(100);
    EXPECT_EQ(Clicks(), 5);
    const WORD timer = b->TimerId(1);
    Release(b, 5, 5);
    EXPECT_EQ(Clicks(), 5) << "the release adds no click";
    EXPECT_EQ(b->TimerId(1), 0);
    EXPECT_EQ(OBLApplication->GetTimer(timer), nullptr);
}

// Counts the repetitions a descendant hears of.
class TRepeatCountingButton : public TOBLSpeedButton {
    VENDARO_CLASS(TRepeatCountingButton, TOBLSpeedButton)
public:
    explicit TRepeatCountingButton(TComponent* owner) : TOBLSpeedButton(owner) {}
    int repetitions = 0;

protected:
    void DoRepeatedClick() override
    {
        ++repetitions;
        inherited::DoRepeatedClick();
    }
};

TEST_F(GraphicButtonTest, EveryRepetitionGoesThroughDoRepeatedClickTheFirstToo)
{
    auto* b = Add<TRepeatCountingButton>(10, 10);
    b->SetOnClick(TNotifyEvent(&log_, &TEventLog::Click));
    b->SetRepeatedClick(true);
    MoveTo(b, 5, 5);
    Press(b, 5, 5);
    EXPECT_EQ(b->repetitions, 1) << "the press";
    EXPECT_EQ(Clicks(), 1);
    Run(500);
    EXPECT_EQ(b->repetitions, 2) << "after the delay";
    Run(100);
    EXPECT_EQ(b->repetitions, 3);
    EXPECT_EQ(Clicks(), 3);
    Release(b, 5, 5);
}

TEST_F(GraphicButtonTest, ADelayOrIntervalBetweenThePoolsPaceWaitsForItsNextTick)
{
    struct Case {
        WORD delay, interval;
        int firstAfter, nextAfter;  // ms, at the pool's 50 ms pace
    };
    for (const Case& c : {Case{120, 100, 150, 100}, Case{30, 70, 50, 100}, Case{499, 1, 500, 50}}) {
        SCOPED_TRACE(testing::Message() << "delay " << c.delay << " interval " << c.interval);
        log_.events.clear();
        auto* b = Button(10, 10);
        b->SetRepeatedClick(true);
        b->SetRepeatingDelay(c.delay);
        b->SetRepeatingInterval(c.interval);
        MoveTo(b, 5, 5);
        for (int press = 0; press < 2; ++press) {
            const int before = Clicks();
            ASSERT_NO_THROW(Press(b, 5, 5));
            EXPECT_EQ(Clicks(), before + 1) << "the press clicks at once";
            Run(c.firstAfter - 50);
            EXPECT_EQ(Clicks(), before + 1);
            Run(50);
            EXPECT_EQ(Clicks(), before + 2) << "after the delay";
            Run(c.nextAfter);
            EXPECT_EQ(Clicks(), before + 3) << "after the interval";
            Release(b, 5, 5);
            EXPECT_EQ(b->TimerId(1), 0);
            EXPECT_FALSE(b->Captured());
        }
        b->Free();
    }
}

TEST_F(GraphicButtonTest, TimersEndWhenTheCaptureGoesElsewhere)
{
    auto* b = Button(10, 10);
    b->SetRepeatedClick(true);
    MoveTo(b, 5, 5);
    Press(b, 5, 5);
    const WORD timer = b->TimerId(1);
    ASSERT_NE(timer, 0);
    // Another window takes the mouse: the release will never come to the button.
    auto* other = new TForm(nullptr);
    other->SetBounds(400, 300, 50, 50);
    other->Show();
    SetCapture(other->Handle());
    Run(600);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(b->TimerId(1), 0);
    EXPECT_EQ(OBLApplication->GetTimer(timer), nullptr);
    EXPECT_FALSE(b->Captured());
    EXPECT_NE(b->State(), bsDown);
    ReleaseCapture();
    FreeObject(other);

    // The class library's cancel-mode message ends a press the same way.
    MoveTo(b, 5, 5);
    Press(b, 5, 5);
    ASSERT_NE(b->TimerId(1), 0);
    b->Perform(CM_CANCELMODE, 0, 0);
    EXPECT_EQ(b->TimerId(1), 0);
    EXPECT_FALSE(b->Captured());
}

TEST_F(GraphicButtonTest, TheHotStateIsPolledAndItsTimerLivesOnlyWhileHot)
{
    auto* b = Button(10, 10);
    MoveTo(b, 5, 5);
    EXPECT_EQ(b->State(), bsMouseOver);
    const WORD timer = b->TimerId(0);
    ASSERT_NE(timer, 0);
    Run(300);
    EXPECT_EQ(b->State(), bsMouseOver) << "the cursor is still over it";
    // The button moves away from under a resting cursor: no mouse message tells it.
    b->SetLeft(150);
    Pump();
    EXPECT_EQ(b->State(), bsMouseOver);
    Run(100);
    EXPECT_EQ(b->State(), bsUp);
    EXPECT_EQ(b->TimerId(0), 0);
    EXPECT_EQ(OBLApplication->GetTimer(timer), nullptr);
}

TEST_F(GraphicButtonTest, MouseEnterAndExitFollowTheHotState)
{
    auto* b = Button(10, 10);
    b->SetOnMouseEnter(TNotifyEvent(&log_, &TEventLog::Enter));
    b->SetOnMouseExit(TNotifyEvent(&log_, &TEventLog::Exit));
    MoveTo(b, 5, 5);
    MoveAway();
    EXPECT_EQ(log_.events, (std::vector<std::string>{"enter", "exit"}));
    EXPECT_EQ(b->State(), bsUp);
    EXPECT_FALSE(b->MouseOver());
    b->SetEnabled(false);
    MoveTo(b, 5, 5);
    EXPECT_EQ(b->State(), bsDisabledUp);
    EXPECT_EQ(b->TimerId(0), 0);
}

TEST_F(GraphicButtonTest, DropDownComboOpensOnlyFromTheArrowArea)
{
    auto* b = Button(10, 10);
    auto* menu = new TPopupMenu(form_);
    b->SetDropDown(menu);
    b->SetOnDropDown(TNotifyEvent(&log_, &TEventLog::DropDown));
    b->SetDropDownCombo(true);
    EXPECT_EQ(b->Width(), 35);
    EXPECT_TRUE(b->ComboArrow());
    std::vector<TOBLButtonState> statesWhileOpen;
    std::vector<POINT> popupAt;
    UserSetPopupMenuResponder([&](HMENU, POINT at) -> UINT {
        statesWhileOpen.push_back(b->State());
        popupAt.push_back(at);
        return 0;
    });
    ClickAt(b, 10, 5);
    EXPECT_EQ(log_.events, std::vector<std::string>{"click"});
    EXPECT_TRUE(statesWhileOpen.empty());
    log_.events.clear();
    ClickAt(b, 30, 5);
    EXPECT_EQ(log_.events, std::vector<std::string>{"dropdown"});
    EXPECT_EQ(statesWhileOpen, std::vector<TOBLButtonState>{bsDropDownOpen});
    ASSERT_EQ(popupAt.size(), 1u);
    const TPoint below = b->ClientToScreen(Point(0, b->Height()));
    EXPECT_EQ(popupAt[0].x, below.x);
    EXPECT_EQ(popupAt[0].y, below.y);
    EXPECT_FALSE(b->GetDroppedState());
    b->SetDropDownCombo(false);
    EXPECT_EQ(b->Width(), 23);
    // At the right edge, moved down by the indent.
    b->SetDropDownRight(true);
    b->SetDropDownIndent(4);
    ClickAt(b, 5, 5);
    ASSERT_EQ(popupAt.size(), 2u);
    const TPoint right = b->ClientToScreen(Point(b->Width(), 0));
    EXPECT_EQ(popupAt[1].x, right.x);
    EXPECT_EQ(popupAt[1].y, right.y + 4);
}

TEST_F(GraphicButtonTest, AFreedMenuTakesTheArrowAreaWithIt)
{
    auto* b = Button(10, 10);
    auto* menu = new TPopupMenu(form_);
    b->SetDropDown(menu);
    b->SetDropDownCombo(true);
    ASSERT_TRUE(b->ComboArrow());
    FreeObject(menu);
    EXPECT_EQ(b->DropDownMenu(), nullptr);
    EXPECT_FALSE(b->ComboArrow());
    ClickAt(b, 30, 5);
    EXPECT_EQ(Clicks(), 1) << "the whole button clicks again";
}

TEST_F(GraphicButtonTest, AHandlerMayFreeTheButton)
{
    TFreeingHandler handler;
    // From the click of a release.
    auto* b = Button(10, 10);
    b->SetOnClick(TNotifyEvent(&handler, &TFreeingHandler::FreeSender));
    ClickAt(b, 5, 5);
    EXPECT_EQ(handler.calls, 1);
    EXPECT_EQ(form_->ControlCount(), 0);

    // From the repeat timer: the pool's item is removed while it fires.
    b = Button(10, 10);
    b->SetRepeatedClick(true);
    int clicksBeforeFree = 0;
    struct Counter : TObject {
        int* clicks = nullptr;
        TFreeingHandler* handler = nullptr;
        void Click(TObject* sender)
        {
            if (++*clicks == 2)
                handler->FreeSender(sender);
        }
    } counter;
    counter.clicks = &clicksBeforeFree;
    counter.handler = &handler;
    b->SetOnClick(TNotifyEvent(&counter, &Counter::Click));
    MoveTo(b, 5, 5);
    Press(b, 5, 5);
    Run(600);
    EXPECT_EQ(clicksBeforeFree, 2);
    EXPECT_EQ(form_->ControlCount(), 0);
    EXPECT_EQ(OBLApplication->TimerPool()->GetCount(), 0);
    Release(form_, 15, 15);

    // From the drop-down event and from the accelerator.
    b = Button(10, 10);
    b->SetDropDown(new TPopupMenu(form_));
    b->SetOnDropDown(TNotifyEvent(&handler, &TFreeingHandler::FreeSender));
    MoveTo(b, 5, 5);
    Press(b, 5, 5);
    Release(form_, 15, 15);
    EXPECT_EQ(form_->ControlCount(), 0);
    b = Button(10, 10);
    b->SetCaption("&Apri");
    b->SetOnClick(TNotifyEvent(&handler, &TFreeingHandler::FreeSender));
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'A', 0), 1);
    EXPECT_EQ(form_->ControlCount(), 0);
}

TEST_F(GraphicButtonTest, TheAcceleratorClicksAndTestsTheCursorInTheButtonsOwnCoordinates)
{
    auto* panel = Add<TGradientPanel>(100, 80);
    panel->SetBounds(100, 80, 150, 100);
    auto* b = Button(10, 10, panel);
    b->SetCaption("&Salva");
    // The cursor rests over the button: it stays hot after the click.
    MoveTo(b, 5, 5);
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'S', 0), 1);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_TRUE(b->MouseOver());
    // A cursor at the button's position in the form's coordinates is not over it.
    MoveTo(form_, 12, 12);
    b->Perform(CM_DIALOGCHAR, 'S', 0);
    EXPECT_EQ(Clicks(), 2);
    EXPECT_FALSE(b->MouseOver());
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'X', 0), 0);
    EXPECT_EQ(Clicks(), 2);

    // In a group the key toggles.
    b->SetGroupIndex(3);
    b->SetAllowAllUp(true);
    b->Perform(CM_DIALOGCHAR, 'S', 0);
    EXPECT_TRUE(b->Pressed());
    b->Perform(CM_DIALOGCHAR, 'S', 0);
    EXPECT_FALSE(b->Pressed());
}

TEST_F(GraphicButtonTest, AnActionGivesItsPictureAndOneWithoutAPictureLeavesTheGlyph)
{
    auto* images = new TImageList(form_);
    images->SetWidth(8);
    images->SetHeight(8);
    for (TColor color : {clRed, clLime}) {
        TBitmap picture;
        picture.SetSize(8, 8);
        picture.Canvas()->Brush()->SetColor(color);
        picture.Canvas()->FillRect(Rect(0, 0, 8, 8));
        images->Add(&picture, nullptr);
    }
    auto* actions = new TActionList(form_);
    actions->SetImages(images);
    auto* action = new TAction(form_);
    action->SetActionList(actions);

    auto* empty = Button(10, 10);
    auto* own = Button(40, 10);
    TBitmap mine;
    mine.SetSize(5, 5);
    own->SetGlyph(&mine);
    empty->SetAction(action);
    own->SetAction(action);
    EXPECT_TRUE(empty->Glyph()->Empty());
    EXPECT_EQ(own->Glyph()->Width(), 5) << "an action without a picture leaves the glyph";
    action->SetCaption("Ancora");
    EXPECT_EQ(own->Glyph()->Width(), 5) << "however often the action changes";

    action->SetImageIndex(1);
    for (TOBLSpeedButton* b : {empty, own}) {
        ASSERT_EQ(b->Glyph()->Width(), 8);
        EXPECT_EQ(b->Glyph()->Canvas()->Pixels(4, 4), clLime);
    }
    action->SetImageIndex(0);
    for (TOBLSpeedButton* b : {empty, own})
        EXPECT_EQ(b->Glyph()->Canvas()->Pixels(4, 4), clRed) << "the glyph follows the action's picture";
    action->SetCaption("Di nuovo");
    EXPECT_EQ(own->Glyph()->Canvas()->Pixels(4, 4), clRed);
}

} // namespace

namespace {

TEST_F(GraphicButtonTest, InAnMDIChildOfAnInactiveApplicationTheHotStateStaysAway)
{
    TOwned<TForm> child(new TForm(nullptr));
    child->SetFormStyle(fsMDIChild);
    auto* b = new TOBLSpeedButton(child.get());
    b->SetParent(form_);
    b->SetBounds(10, 10, 23, 22);
    Pump();
    SetActiveWindow(nullptr);
    ASSERT_FALSE(Application->Active());
    b->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(b->State(), bsUp);
    EXPECT_TRUE(b->MouseOver());
    SetActiveWindow(form_->Handle());
    ASSERT_TRUE(Application->Active());
    b->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(b->State(), bsMouseOver);
    b->Free();
}

} // namespace

namespace {

TEST_F(GraphicButtonTest, ARotatedCaptionNeedsATrueTypeFont)
{
    auto* b = Button(10, 10);
    ASSERT_EQ(b->Font()->Name(), "MS Sans Serif");
    b->Font()->SetHeight(-13);
    EXPECT_FALSE(b->ParentFont()) << "a font of its own";
    b->FontFX()->SetAngle(90);
    EXPECT_EQ(b->Font()->Name(), "Arial") << "the caption effect changes the font";
    EXPECT_EQ(b->FontFX()->Angle(), 90);
    b->Font()->SetName("MS Sans Serif");
    EXPECT_EQ(b->FontFX()->Angle(), 0) << "the font changes the caption effect";
}

} // namespace

namespace {

TEST_F(GraphicButtonTest, OnlyAPressedGroupMemberReportsADoubleClick)
{
    auto* b = Button(10, 10);
    int doubleClicks = 0;
    struct Counter : TObject {
        int* count = nullptr;
        void DblClick(TObject*) { ++*count; }
    } counter;
    counter.count = &doubleClicks;
    b->SetOnDblClick(TNotifyEvent(&counter, &Counter::DblClick));
    const TPoint p = ScreenPoint(b, 5, 5);
    MoveTo(b, 5, 5);
    UserInjectClick(p.x, p.y);
    UserInjectClick(p.x, p.y);
    Pump();
    EXPECT_EQ(doubleClicks, 0);
    EXPECT_EQ(Clicks(), 2) << "the second press clicks again";
    b->SetGroupIndex(5);
    b->SetPressed(true);
    UserInjectClick(p.x, p.y);
    UserInjectClick(p.x, p.y);
    Pump();
    EXPECT_EQ(doubleClicks, 1);
}

} // namespace
