// The repeated click while the left button is held: a timer of the application's pool,
// counted on the fake clock, and gone whatever ends the press.
#include "tests/obl/controls/buttons/ButtonFixture.h"

namespace {

class RepeatedClick : public ButtonFixture {
protected:
    void SetUp() override
    {
        ButtonFixture::SetUp();
        button->SetRepeatedClick(true);
    }
    // No pooled timer left, its application identifier free again.
    void ExpectTimerGone(const char* what)
    {
        EXPECT_EQ(PoolTimers(), 0) << what;
        EXPECT_EQ(OBLApplication->GetTimerIdent(), 1) << what;
        if (button) {
            EXPECT_EQ(button->RepeatTimerId(), 0) << what;
        }
    }
};

TEST_F(RepeatedClick, FirstAfterTheDelayThenEveryIntervalPausingOutsideAndOneMoreOnRelease)
{
    Press(Middle(button));
    ASSERT_NE(button->RepeatTimerId(), 0);
    EXPECT_EQ(PoolTimers(), 1);
    Run(450);
    EXPECT_EQ(counter.clicks, 0);
    Run(50);
    EXPECT_EQ(counter.clicks, 1) << "after 500 ms";
    Run(300);
    EXPECT_EQ(counter.clicks, 4) << "then every 100 ms";
    MoveTo(Away());
    Run(500);
    EXPECT_EQ(counter.clicks, 4) << "none while the pointer is outside";
    MoveTo(Middle(button));
    Run(200);
    EXPECT_EQ(counter.clicks, 6);
    Release(Middle(button));
    EXPECT_EQ(counter.clicks, 7) << "the ordinary click of the release";
    ExpectTimerGone("after the release");
    Run(1000);
    EXPECT_EQ(counter.clicks, 7);
}

TEST_F(RepeatedClick, WithoutRepeatedClickAPressStartsNoTimer)
{
    button->SetRepeatedClick(false);
    Press(Middle(button));
    EXPECT_EQ(PoolTimers(), 0);
    Run(1000);
    Release(Middle(button));
    EXPECT_EQ(counter.clicks, 1);
}

TEST_F(RepeatedClick, ReleaseFreesTheTimerAlsoWhenRepeatingWasSwitchedOffMeanwhile)
{
    Press(Middle(button));
    button->SetRepeatedClick(false);
    Release(Middle(button));
    ExpectTimerGone("switched off while held");
}

TEST_F(RepeatedClick, EveryEndOfThePressFreesTheTimer)
{
    struct Case {
        const char* what;
        std::function<void()> end;
    };
    const Case cases[] = {
        {"capture lost", [] { ReleaseCapture(); }},
        {"capture taken", [this] { SetCapture(form->Handle()); }},
        {"disabled", [this] { button->SetEnabled(false); }},
        {"hidden", [this] { button->Hide(); }},
    };
    for (const Case& c : cases) {
        counter.clicks = 0;
        Press(Middle(button));
        ASSERT_EQ(PoolTimers(), 1) << c.what;
        c.end();
        Pump();
        ExpectTimerGone(c.what);
        Run(1000);
        EXPECT_EQ(counter.clicks, 0) << c.what;
        ReleaseCapture();
        Release(Middle(button));
        button->SetEnabled(true);
        button->Show();
        Pump();
    }
}

TEST_F(RepeatedClick, DestroyingTheHeldButtonFreesTheTimer)
{
    Press(Middle(button));
    ASSERT_EQ(PoolTimers(), 1);
    delete button;
    button = nullptr;
    ExpectTimerGone("destroyed");
    Run(1000);
    EXPECT_EQ(counter.clicks, 0);
}

TEST_F(RepeatedClick, DelayAndIntervalOffThePoolsPaceAreRoundedUp)
{
    button->SetRepeatingDelay(120);
    button->SetRepeatingInterval(70);
    Press(Middle(button));
    EXPECT_TRUE(boxes.empty()) << "no error for a delay that is not a multiple of 50 ms";
    Run(100);
    EXPECT_EQ(counter.clicks, 0);
    Run(50);
    EXPECT_EQ(counter.clicks, 1) << "the delay became 150 ms";
    Run(100);
    EXPECT_EQ(counter.clicks, 2) << "the interval became 100 ms";
    Release(Middle(button));
    EXPECT_EQ(OBLPoolInterval(0), 50);
    EXPECT_EQ(OBLPoolInterval(50), 50);
    EXPECT_EQ(OBLPoolInterval(51), 100);
    EXPECT_EQ(OBLPoolInterval(65535), 65500);
}

TEST_F(RepeatedClick, NoFreeApplicationTimerRaisesAndLeavesNoTimer)
{
    std::vector<WORD> taken;
    for (WORD ident; (ident = OBLApplication->AddTimer(1000, nullptr)) != 0;) taken.push_back(ident);
    Press(Middle(button));
    EXPECT_EQ(boxes, std::vector<std::string>{"Not enough timers available."});
    EXPECT_EQ(button->RepeatTimerId(), 0);
    Release(Middle(button));
    for (WORD ident : taken) OBLApplication->RemoveTimer(ident);
}

TEST_F(RepeatedClick, AHandlerThatFreesTheButtonEndsTheRepetitions)
{
    counter.onClick = [this](TObject*) {
        delete button;
        button = nullptr;
    };
    Press(Middle(button));
    Run(500);
    EXPECT_EQ(counter.clicks, 1);
    ExpectTimerGone("freed by its click");
    Run(500);
    Release(Away());
    EXPECT_EQ(counter.clicks, 1);
}

TEST_F(RepeatedClick, AReleaseClickThatFreesTheButtonTouchesNothingOfIt)
{
    counter.onClick = [this](TObject*) {
        delete button;
        button = nullptr;
    };
    Press(Middle(button));
    Release(Middle(button));
    EXPECT_EQ(counter.clicks, 1);
    ExpectTimerGone("freed on release");
}

TEST_F(RepeatedClick, ADoubleClickIsTwoPresses)
{
    TClickCounter doubleClicks;
    button->SetOnDblClick(TNotifyEvent(&doubleClicks, &TClickCounter::Click));
    button->SetRepeatedClick(false);
    const TPoint p = Middle(button);
    UserInjectClick(p.x, p.y);
    UserInjectClick(p.x, p.y);
    Pump();
    EXPECT_EQ(counter.clicks, 2);
    EXPECT_EQ(doubleClicks.clicks, 0) << "the second press is an ordinary one";
}

} // namespace
