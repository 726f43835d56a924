// Importa as a user runs it: a process of its own on an X display, driven with real clicks
// and keys; its exit status as whoever started it sees it.
#include "tests/importa/ImportaFixture.h"
#include "tests/support/TestDisplay.h"
#include "tests/support/X11User.h"
#include "tests/upgrade/ProgramProcess.h"

#include <functional>
#include <thread>

namespace {

const char* const kDialogCaption = "Procedura di importazione";

// Points of the dialog's client area (from its form description) that a user clicks.
struct ClientPoint {
    int x, y;
};
const ClientPoint kPathEdit{208, 66};
const ClientPoint kTestButton{168, 100};
const ClientPoint kCustomersBox{26, 200};
const ClientPoint kSuppliersBox{26, 224};
const ClientPoint kStartButton{76, 400};
const ClientPoint kCloseButton{380, 400};

// The user at the dialog: clicks its controls, answers its boxes.
class DialogUser {
public:
    DialogUser(X11User& keyboard, unsigned long dialog) : user_(keyboard), dialog_(dialog)
    {
        // The dialog's frame around its client area of 425 x 425.
        const auto [width, height] = user_.Size(dialog_);
        left_ = (width - 425) / 2;
        top_ = height - 425 - left_;
    }

    void Click(ClientPoint p) { user_.Click(dialog_, left_ + p.x, top_ + p.y); }

    // Answers the boxes in order with Return; false when one did not come or kept the
    // keyboard from being its own. `whileUp` runs for each box before it is answered.
    bool AnswerBoxes(const std::vector<std::string>& captions, const std::function<void(int)>& whileUp = {})
    {
        for (int n = 0; n < static_cast<int>(captions.size()); ++n) {
            const unsigned long box = user_.WaitForKeyboard(captions[n], 10000, dialog_);
            if (!box)
                return false;
            if (whileUp)
                whileUp(n);
            user_.Press("Return");
            if (!user_.WaitUntilGone(box))
                return false;
        }
        return true;
    }

private:
    X11User& user_;
    unsigned long dialog_;
    int left_ = 0, top_ = 0;
};

class ImportaExitStatus : public ImportaFixture {
protected:
    // Starts Importa on the display and, once its dialog has the keyboard, lets `use` work
    // it; then closes it with "Chiudi". `used` says whether all of that went as planned.
    ProgramOutcome Run(const TestDisplay& display, const std::function<bool(DialogUser&)>& use, bool& used)
    {
        used = false;
        std::thread user([&] {
            X11User keyboard(display.Name());
            const unsigned long dialog = keyboard.Connected() ? keyboard.WaitForKeyboard(kDialogCaption) : 0;
            if (!dialog)
                return;
            DialogUser at(keyboard, dialog);
            used = use(at);
            // A click that a box still up takes away is given again.
            for (int tries = 0; tries < 5; ++tries) {
                at.Click(kCloseButton);
                if (keyboard.WaitUntilGone(dialog, 3000))
                    break;
            }
        });
        ProgramOutcome outcome = RunProgram(PROGRAM_PATH, {{"DISPLAY", display.Name()}, {"VENDARO_HEADLESS", "0"}});
        user.join();
        return outcome;
    }

    // Types the source's path, tests it, ticks customers and suppliers and starts.
    std::function<bool(DialogUser&)> ImportCustomersAndSuppliers(std::vector<std::string> boxes,
                                                                 std::function<void(int)> whileUp = {})
    {
        return [this, boxes, whileUp](DialogUser& at) {
            at.Click(kPathEdit);
            X11User(Display()).Type(SourcePath());
            at.Click(kTestButton);
            at.Click(kCustomersBox);
            at.Click(kSuppliersBox);
            at.Click(kStartButton);
            return at.AnswerBoxes(boxes, whileUp);
        };
    }

    const std::string& Display() const { return displayName_; }
    std::string displayName_;
};

// No run, a first import, a second one (each category's duplicate box, then the completion)
// and one that ends with the error box: only the last ends with a failure status.
TEST_F(ImportaExitStatus, OnlyARunThatEndedWithTheErrorBoxEndsWithAFailureStatus)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(360);
    ASSERT_NE(display.Start(), nullptr);
    displayName_ = display.Name();
    bool used = false;

    ProgramOutcome outcome = Run(display, [](DialogUser&) { return true; }, used);
    EXPECT_TRUE(used);
    EXPECT_TRUE(outcome.exited && outcome.status == 0) << outcome.status << outcome.errors;

    // Two customers of the source share a code: the first import has a duplicate box too.
    outcome = Run(display, ImportCustomersAndSuppliers({"Procedura di importazione clienti", kDialogCaption}), used);
    EXPECT_TRUE(used) << "the duplicate and completion boxes came and took the keyboard";
    EXPECT_TRUE(outcome.exited && outcome.status == 0) << outcome.status << outcome.errors;
    EXPECT_EQ(outcome.errors, "");

    // The second box of the second import, with the dialog behind it, as the user sees it.
    bool screenSaved = !TestDisplay::CanSaveScreen();
    outcome = Run(display,
                  ImportCustomersAndSuppliers({"Procedura di importazione clienti", "Procedura di importazione fornitori",
                                               kDialogCaption},
                                              [&](int n) {
                                                  if (n == 1 && TestDisplay::CanSaveScreen())
                                                      screenSaved = display.SaveScreen(
                                                          "vendaro-importa-second-import-second-box.png");
                                              }),
                  used);
    EXPECT_TRUE(used) << "each box came and took the keyboard";
    EXPECT_TRUE(screenSaved);
    EXPECT_TRUE(outcome.exited && outcome.status == 0) << outcome.status << outcome.errors;

    ChangeTarget("drop table fornitori");
    outcome = Run(display, ImportCustomersAndSuppliers({"Procedura di importazione clienti", "Importazione dati"}),
                  used);
    EXPECT_TRUE(used) << "the customers' duplicate box, then the error box came and took the keyboard";
    ASSERT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.errors, "Importa: the import stopped: no such table: fornitori\n");
}

} // namespace
