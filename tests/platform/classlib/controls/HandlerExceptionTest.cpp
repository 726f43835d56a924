// An exception raised by an event handler that a window message reached is shown by the
// application and the dialog goes on working.
#include "tests/platform/classlib/controls/ControlsFixture.h"

#include "platform/classlib/Db.h"

namespace {

using Log = std::vector<std::string>;

struct Raiser : TObject {
    int calls = 0;
    void Fail(TObject*)
    {
        ++calls;
        throw EDatabaseError("Ricerca non riuscita");
    }
    void FailOther(TObject*)
    {
        ++calls;
        throw 42;
    }
};

class HandlerExceptionTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        UserSetMessageBoxResponder([this](const MessageBoxRequest& box) {
            boxes.push_back({box.text.str(), box.caption.str(), std::to_string(box.type)});
            return IDOK;
        });
    }

    using Box = std::vector<std::string>; // text, caption, flags
    std::vector<Box> boxes;
    Raiser raiser;
};

TEST_F(HandlerExceptionTest, RaisingClickShowsTheErrorBoxAndTheDialogKeepsWorking)
{
    TTestDialog* form = ShowDialog();
    Application->SetTitle("Prova");
    form->SearchButton()->SetOnClick(TNotifyEvent(&raiser, &Raiser::Fail));
    TakeLog();
    EXPECT_NO_THROW(Click(form->SearchButton()));
    EXPECT_EQ(raiser.calls, 1);
    const Box shown{"Ricerca non riuscita.", "Prova", std::to_string(MB_OK | MB_ICONSTOP)};
    EXPECT_EQ(boxes, std::vector<Box>{shown});
    // The button let go of the mouse: the next click reaches it again, and so do others.
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_NO_THROW(Click(form->SearchButton()));
    EXPECT_EQ(raiser.calls, 2);
    EXPECT_EQ(boxes.size(), 2u);
    TakeLog();
    Click(form->CheckBox1());
    EXPECT_EQ(TakeLog(), Log({"exit SearchButton", "CheckBox1 on"}));
    EXPECT_TRUE(form->CheckBox1()->Checked());
}

TEST_F(HandlerExceptionTest, RaisingHandlerReachedByAKeyIsShownToo)
{
    TTestDialog* form = ShowDialog();
    form->CheckBox2()->SetOnClick(TNotifyEvent(&raiser, &Raiser::FailOther));
    form->CheckBox2()->SetFocus();
    EXPECT_NO_THROW(Stroke(VK_SPACE));
    EXPECT_EQ(raiser.calls, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0][0], "Unknown exception.");
    // Typing goes on in the edit.
    form->Edit1()->SetFocus();
    TakeLog();
    EXPECT_NO_THROW(Stroke('A', true));
    EXPECT_EQ(form->Edit1()->Text(), "A");
}

TEST_F(HandlerExceptionTest, ApplicationOnExceptionReceivesTheHandlersException)
{
    TTestDialog* form = ShowDialog();
    form->SearchButton()->SetOnClick(TNotifyEvent(&raiser, &Raiser::Fail));
    struct Catcher : TObject {
        std::vector<std::string> caught;
        TObject* sender = nullptr;
        void Caught(TObject* s, Exception& e)
        {
            sender = s;
            caught.push_back(e.ClassName() + std::string(": ") + e.Message().str());
        }
    } catcher;
    Application->SetOnException(TExceptionEvent(&catcher, &Catcher::Caught));
    EXPECT_NO_THROW(Click(form->SearchButton()));
    EXPECT_EQ(catcher.caught, std::vector<std::string>{"EDatabaseError: Ricerca non riuscita"});
    EXPECT_NE(catcher.sender, nullptr);
    EXPECT_TRUE(boxes.empty());
    Application->SetOnException(TExceptionEvent());
}

} // namespace

namespace {

// A form or data module ends whatever its OnDestroy handler raises: the error is shown,
// and the form is gone as asked, with what it owned.
TEST_F(HandlerExceptionTest, RaisingOnDestroyIsShownAndTheFormEndsAllTheSame)
{
    auto* form = new TForm(Application);
    new TButton(form);
    form->SetOnDestroy(TNotifyEvent(&raiser, &Raiser::Fail));
    const int forms = Screen->FormCount();
    EXPECT_NO_THROW(delete form);
    EXPECT_EQ(raiser.calls, 1);
    EXPECT_EQ(Screen->FormCount(), forms - 1);
    auto* module = new TDataModule(nullptr);
    module->SetOnDestroy(TNotifyEvent(&raiser, &Raiser::Fail));
    EXPECT_NO_THROW(module->Free());
    EXPECT_EQ(raiser.calls, 2);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0][0], "Ricerca non riuscita.");
}

} // namespace
