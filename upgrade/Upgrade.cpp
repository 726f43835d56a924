// Upgrade: brings an installed edition 5 to the newer schema, in one dialog.
#include "platform/classlib/Forms.h"
#include "platform/rtl/CommandLine.h"
#include "platform/win/user/Display.h"
#include "upgrade/Unit1.h"
#include "upgrade/UnitInitialization.h"

#include <cstdio>
#include <string>

namespace {
constexpr const char* kProgramName = "Upgrade";
}

int main(int argc, char** argv)
{
    SetCommandLine(argc, argv);
    std::string problem;
    if (!UserOpenProgramDisplay(problem)) {
        std::fprintf(stderr, "%s: %s\n%s: set %s=1 to run without a display\n", kProgramName, problem.c_str(),
                     kProgramName, kHeadlessVariable);
        return 1;
    }
    InitializeUnits();
    try {
        Application->Initialize();
        Application->SetTitle("Upgrade Vendaro 5");
        Application->CreateForm(Form1);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    }
    FinalizeUnits();
    return 0;
}
