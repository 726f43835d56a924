#include "obl/core/startup/OBLUnits.h"

#include "obl/core/app/OBLXPThemeManager.h"
#include "obl/core/app/Oblsysin.h"
#include "obl/core/base/Oblxpstyles.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/containers/oblcont.h"
#include "obl/core/draw/OBLButtonBase.h"

void OBLInitializeUnits()
{
    OblxpstylesInitialization();
    OBLXPThemeManagerInitialization();
    oblclassInitialization();
    OblsysinInitialization();
    oblcontInitialization();
    OBLButtonBaseInitialization();
}

void OBLFinalizeUnits()
{
    oblcontFinalization();
    oblclassFinalization();
    OBLXPThemeManagerFinalization();
    OblxpstylesFinalization();
}
