// The program as a user starts it: a process of its own, on the display of its environment.
#include "tests/upgrade/ProgramFixture.h"
#include "tests/upgrade/ProgramProcess.h"
#include "upgrade/UnitInitialization.h"

namespace {

class UpgradeStart : public ProgramFixture {
protected:
    UpgradeStart() : ProgramFixture(InitializeUnits, FinalizeUnits) {}
};

using Environment = std::vector<std::pair<std::string, std::optional<std::string>>>;

TEST_F(UpgradeStart, WithoutAReachableDisplayItSaysSoAndFails)
{
    const struct {
        Environment environment;
        const char* message;
    } cases[] = {
        {{{"DISPLAY", std::nullopt}, {"VENDARO_HEADLESS", std::nullopt}},
         "Upgrade: cannot open display (DISPLAY is not set)\n"},
        {{{"DISPLAY", ""}, {"VENDARO_HEADLESS", "0"}}, "Upgrade: cannot open display (DISPLAY is not set)\n"},
        {{{"DISPLAY", ":987"}, {"VENDARO_HEADLESS", std::nullopt}}, "Upgrade: cannot open display :987\n"},
    };
    for (const auto& c : cases) {
        const ProgramOutcome outcome = RunProgram(PROGRAM_PATH, c.environment);
        ASSERT_TRUE(outcome.exited) << c.message;
        EXPECT_NE(outcome.status, 0) << c.message;
        EXPECT_EQ(outcome.errors.rfind(c.message, 0), 0u) << outcome.errors;
        EXPECT_NE(outcome.errors.find("VENDARO_HEADLESS=1"), std::string::npos) << outcome.errors;
    }
}

TEST_F(UpgradeStart, HeadlessOnlyWhenAskedFor)
{
    for (const char* display : {"", ":987"}) {
        const ProgramOutcome outcome = RunProgram(PROGRAM_PATH, {{"DISPLAY", display}, {"VENDARO_HEADLESS", "1"}});
        ASSERT_TRUE(outcome.exited) << display;
        EXPECT_EQ(outcome.status, 0) << display;
        EXPECT_EQ(outcome.errors, "") << display;
    }
}

} // namespace
