// The program's exit status as whoever started it sees it: the program a process of its own
// on an X display, driven with real key events, then closed with Alt+F4.
#include "tests/support/TestDisplay.h"
#include "tests/support/X11User.h"
#include "tests/upgrade/ProgramFixture.h"
#include "tests/upgrade/ProgramProcess.h"
#include "upgrade/UnitInitialization.h"

#include <filesystem>
#include <thread>

namespace {

const char* const kDialogCaption = "Gestione upgrade database Vendaro 5";

class UpgradeExitStatus : public ProgramFixture {
protected:
    UpgradeExitStatus() : ProgramFixture(InitializeUnits, FinalizeUnits) {}

    // Starts the program on the display; once its dialog has the keyboard, "Aggiorna
    // database" is pressed (Space on the focused button) when asked, a box that this brings
    // is answered, then the dialog is closed.
    ProgramOutcome RunAndClose(const TestDisplay& display, bool upgrade, bool box = false)
    {
        bool sawTheDialog = false;
        std::thread user([&] {
            X11User keyboard(display.Name());
            const unsigned long dialog = keyboard.Connected() ? keyboard.WaitForKeyboard(kDialogCaption) : 0;
            if (!dialog)
                return;
            sawTheDialog = true;
            if (upgrade)
                keyboard.Press("space");
            if (box && keyboard.WaitForKeyboard("Upgrade Vendaro 5"))
                keyboard.Press("Return");
            // Alt+F4 once the dialog has the keyboard back; keys that went elsewhere are
            // given again.
            for (int tries = 0; tries < 5; ++tries) {
                if (keyboard.WaitForKeyboard(kDialogCaption, 3000))
                    keyboard.Press("F4", {"Alt_L"});
                if (keyboard.WaitUntilGone(dialog, 3000))
                    break;
            }
        });
        const ProgramOutcome outcome = RunProgram(PROGRAM_PATH, {{"DISPLAY", display.Name()}, {"VENDARO_HEADLESS", "0"}});
        user.join();
        EXPECT_TRUE(sawTheDialog);
        return outcome;
    }
};

// None, a successful and a failed run (the second upgrade of the same data fails at its
// first statement, a report database that does not open fails before the statements):
// only a failure ends with a failure status, after its reason.
TEST_F(UpgradeExitStatus, OnlyAFailedRunEndsWithAFailureStatus)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(350);
    ASSERT_NE(display.Start(), nullptr);
    const struct {
        bool upgrade;
        bool reportDatabaseGone;
        int status;
        std::string errors;
    } runs[] = {
        {false, false, 0, ""},
        {true, false, 0, ""},
        {true, false, 1, "Upgrade: the upgrade failed: duplicate column name: CheckA\n"},
        {true, true, 1, "Upgrade: the upgrade failed: Cannot open database "},
    };
    int n = 0;
    for (const auto& run : runs) {
        if (run.reportDatabaseGone)
            std::filesystem::remove(InFolder("ComponenteStampa/RPTDATA.mdb"));
        const ProgramOutcome outcome = RunAndClose(display, run.upgrade, run.reportDatabaseGone);
        ASSERT_TRUE(outcome.exited) << "run " << n;
        EXPECT_EQ(outcome.status, run.status) << "run " << n;
        EXPECT_EQ(outcome.errors.substr(0, run.errors.size()), run.errors) << "run " << n;
        EXPECT_EQ(outcome.errors.empty(), run.errors.empty()) << "run " << n;
        ++n;
    }
}

} // namespace
