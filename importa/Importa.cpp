// Importa: imports the older edition's master data into the current edition, in one dialog.
#include "platform/classlib/Forms.h"
#include "platform/rtl/CommandLine.h"
#include "platform/win/user/Display.h"
#include "importa/Unit1.h"
#include "importa/UnitInitialization.h"

int main(int argc, char** argv)
{
    SetCommandLine(argc, argv);
    UserSelectDisplayFromEnvironment();
    InitializeUnits();
    try {
        Application->Initialize();
        Application->SetTitle("ProceduraImportazione");
        Application->CreateForm(Form1);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    }
    FinalizeUnits();
    return 0;
}
