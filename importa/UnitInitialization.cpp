#include "importa/UnitInitialization.h"

#include "platform/classlib/DBTables.h"
#include "platform/classlib/Dialogs.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls.h"
#include "importa/Unit1.h"

void InitializeUnits()
{
    // Class library units.
    FormsInitialization();
    RegisterStdControls();
    RegisterDBTables();
    if (!GetClass("TOpenDialog"))
        RegisterClass(TOpenDialog::StaticClass());
    // The component library's unit initialisations belong here, in their documented order,
    // once the library provides them.
    // Unit1.
    RegisterClass(TForm1::StaticClass());
    RegisterUnit1FormDescription();
}

void FinalizeUnits()
{
    // In reverse: the forms go with the application object.
    FormsFinalization();
    Form1 = nullptr;
}
