// Starts the theme binding and the application object again with the theme library in the
// given state, as a program started with it would find them.
#pragma once

#include "obl/core/app/oblclass.h"
#include "obl/core/base/Oblxpstyles.h"
#include "platform/win/kernel/UxTheme.h"

inline void RestartThemes(TThemeModuleState state)
{
    oblclassFinalization();
    OblxpstylesFinalization();
    SetThemeModuleState(state);
    OblxpstylesInitialization();
    oblclassInitialization();
}
