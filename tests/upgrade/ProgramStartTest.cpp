// The program as a user starts it: a process of its own, on the display of its environment.
#include "tests/upgrade/ProgramFixture.h"
#include "tests/support/ProgramStartChecks.h"
#include "upgrade/UnitInitialization.h"

namespace {

class UpgradeStart : public ProgramFixture {
protected:
    UpgradeStart() : ProgramFixture(InitializeUnits, FinalizeUnits) {}
};

TEST_F(UpgradeStart, WithoutAReachableDisplayItSaysSoAndFails) { ExpectNoDisplayIsAnError("Upgrade", PROGRAM_PATH); }

TEST_F(UpgradeStart, HeadlessOnlyWhenAskedFor) { ExpectHeadlessOnlyWhenAskedFor(PROGRAM_PATH); }

} // namespace
