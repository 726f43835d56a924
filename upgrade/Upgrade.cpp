// Upgrade: brings an installed edition 5 to the newer schema, in one dialog.
#include "platform/classlib/Forms.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/ErrorOutput.h"
#include "platform/win/user/Display.h"
#include "upgrade/Unit1.h"
#include "upgrade/UnitInitialization.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    SetCommandLine(argc, argv);
    std::string problem;
    if (!UserOpenProgramDisplay(problem)) {
        std::fprintf(stderr, "%s: %s\n%s: %s\n", kProgramName, problem.c_str(), kProgramName, kNoScreenAdvice);
        return 1;
    }
    InitializeUnits();
    // A program that could not do its job ends with a failure status, after its box; so
    // does one whose last run failed, whatever its dialog showed.
    int status = 0;
    try {
        Application->Initialize();
        Application->SetTitle("Upgrade Vendaro 5");
        Application->CreateForm(Form1);
        Application->Run();
        if (Form1 && Form1->RunFailed())
            status = 1;
    } catch (const Exception& e) {
        Application->ShowException(e);
        WriteErrorLine(kProgramName, e.Message());
        status = 1;
    }
    FinalizeUnits();
    return status;
}
