#include "upgrade/UnitInitialization.h"

#include "obl/controls/buttons/OBLButton.h"
#include "obl/core/startup/OBLUnits.h"
#include "platform/classlib/DBTables.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls.h"
#include "upgrade/Unit1.h"

void InitializeUnits()
{
    // Class library units.
    FormsInitialization();
    RegisterStdControls();
    RegisterDBTables();
    // The component library's units, in their documented order.
    OBLInitializeUnits();
    OBLButtonInitialization();
    // Unit1.
    RegisterClass(TForm1::StaticClass());
    RegisterUnit1FormDescription();
}

void FinalizeUnits()
{
    // In reverse: the component library, then the forms with the application object.
    OBLFinalizeUnits();
    FormsFinalization();
    Form1 = nullptr;
}
