// Unit OBLSpeedButton: the speed button placed on forms; it publishes the group, drop-down
// and style settings of the tool-bar button.
#pragma once

#include "obl/controls/graphic/OBLCustomSpeedButton.h"

class TOBLSpeedButton : public TOBLCustomSpeedButton {
    VENDARO_CLASS(TOBLSpeedButton, TOBLCustomSpeedButton)
public:
    explicit TOBLSpeedButton(TComponent* AOwner) : TOBLCustomSpeedButton(AOwner) {}

    static void Publish(TClassBuilder<TOBLSpeedButton>& c);
};
