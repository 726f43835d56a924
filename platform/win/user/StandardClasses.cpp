// Registration of the standard window classes.
#include "platform/win/user/StandardClasses.h"
#include "platform/win/user/WindowObject.h"

void UserRegisterSystemClasses() {
    static bool registering = false;
    if (registering || UserFindClass("BUTTON"))
        return;
    registering = true;
    UserRegisterButtonClass();
    UserRegisterEditClass();
    UserRegisterListBoxClass();
    UserRegisterStaticClass();
    UserRegisterComboBoxClass();
    registering = false;
}
