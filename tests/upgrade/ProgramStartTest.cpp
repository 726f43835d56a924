// The program as a user starts it: a process of its own, on the display of its environment.
#include "tests/upgrade/ProgramFixture.h"
#include "tests/support/ProgramStartChecks.h"
#include "upgrade/UnitInitialization.h"

#include <filesystem>

namespace {

class UpgradeStart : public ProgramFixture {
protected:
    UpgradeStart() : ProgramFixture(InitializeUnits, FinalizeUnits) {}
};

TEST_F(UpgradeStart, WithoutAReachableDisplayItSaysSoAndFails) { ExpectNoDisplayIsAnError("Upgrade", PROGRAM_PATH); }

TEST_F(UpgradeStart, HeadlessOnlyWhenAskedFor) { ExpectHeadlessOnlyWhenAskedFor(PROGRAM_PATH); }

// Started where its data are missing, it shows the engine's box, says why on standard error
// and ends with a failure status: it could not do its job.
TEST_F(UpgradeStart, WithoutItsDataItFailsAndSaysWhy)
{
    const std::string empty = InFolder("senza dati");
    std::filesystem::create_directory(empty);
    UseFolder(empty);
    const ProgramOutcome outcome = RunProgram(PROGRAM_PATH, {{"DISPLAY", std::nullopt}, {"VENDARO_HEADLESS", "1"}});
    ASSERT_TRUE(outcome.exited);
    EXPECT_NE(outcome.status, 0);
    EXPECT_EQ(outcome.errors.rfind("Upgrade: ", 0), 0u) << outcome.errors;
    EXPECT_NE(outcome.errors.find("senza dati\\Dati"), std::string::npos) << outcome.errors;
    EXPECT_EQ(std::count(outcome.errors.begin(), outcome.errors.end(), '\n'), 1) << outcome.errors;
}

} // namespace
