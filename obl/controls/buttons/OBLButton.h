// Unit OBLButton: the owner-drawn push button placed on forms. It adds to the custom button
// only the publication of the drop-down menu and its placement.
#pragma once

#include "obl/controls/buttons/OBLCustomButton.h"

class TOBLButton : public TOBLCustomButton {
    VENDARO_CLASS(TOBLButton, TOBLCustomButton)
public:
    explicit TOBLButton(TComponent* AOwner) : TOBLCustomButton(AOwner) {}

    static void Publish(TClassBuilder<TOBLButton>& c);
};

// The unit's start-up: the button class becomes known to form descriptions.
void OBLButtonInitialization();
