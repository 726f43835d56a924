#include "obl/core/OBLUnits.h"

#include "obl/core/OBLXPThemeManager.h"
#include "obl/core/Oblsysin.h"
#include "obl/core/Oblxpstyles.h"
#include "obl/core/oblclass.h"

void OBLInitializeUnits()
{
    OblxpstylesInitialization();
    OBLXPThemeManagerInitialization();
    oblclassInitialization();
    OblsysinInitialization();
}

void OBLFinalizeUnits()
{
    oblclassFinalization();
    OBLXPThemeManagerFinalization();
    OblxpstylesFinalization();
}
