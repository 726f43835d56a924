#include "obl/core/app/OBLXPThemeManager.h"

#include "platform/win/user/Messages.h"

TOBLXPThemeManager* OBLXPThemeManager = nullptr;

void TOBLXPThemeManager::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_CREATE) {
        OBLApplicationInitXPSupport();
    } else if (Message.Msg == WM_THEMECHANGED && OBLApplicationUseXPThemes()) {
        // Off and on again announces the current state to every form.
        OBLApplicationSetXPThemeSupport(false);
        OBLApplicationSetXPThemeSupport(true);
    }
    inherited::WndProc(Message);
}

void OBLXPThemeManagerInitialization()
{
    OBLXPThemeManagerFinalization();
    OBLXPThemeManager = new TOBLXPThemeManager(nullptr);
}

void OBLXPThemeManagerFinalization() { FreeAndNil(OBLXPThemeManager); }
