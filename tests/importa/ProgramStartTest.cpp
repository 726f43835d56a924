// The program as a user starts it: a process of its own, on the display of its environment.
#include "tests/upgrade/ProgramFixture.h"
#include "tests/support/ProgramStartChecks.h"
#include "importa/UnitInitialization.h"

namespace {

class ImportaStart : public ProgramFixture {
protected:
    ImportaStart() : ProgramFixture(InitializeUnits, FinalizeUnits) {}
};

TEST_F(ImportaStart, WithoutAReachableDisplayItSaysSoAndFails) { ExpectNoDisplayIsAnError("Importa", PROGRAM_PATH); }

TEST_F(ImportaStart, HeadlessOnlyWhenAskedFor) { ExpectHeadlessOnlyWhenAskedFor(PROGRAM_PATH); }

} // namespace
