// Unit OBLXPThemeManager: a window-procedure component that re-applies the application's
// theme state when the system reports a theme change. The unit's global instance has no
// owner, so it hooks no window; one placed on a form does.
#pragma once

#include "obl/core/app/OBLWndProcComponent.h"

class TOBLXPThemeManager : public TOBLWndProcComponent {
    VENDARO_CLASS(TOBLXPThemeManager, TOBLWndProcComponent)
public:
    explicit TOBLXPThemeManager(TComponent* AOwner) : TOBLWndProcComponent(AOwner) {}

protected:
    void WndProc(TMessage& Message) override;
};

extern TOBLXPThemeManager* OBLXPThemeManager;

void OBLXPThemeManagerInitialization();
void OBLXPThemeManagerFinalization();
