// Unit OBLComponent: a non-visual component base that adds nothing to
// TOBLCustomComponent; the auto-completion component derives from it.
#pragma once

#include "obl/core/base/OBLCustomComponent.h"

class TOBLComponent : public TOBLCustomComponent {
    VENDARO_CLASS(TOBLComponent, TOBLCustomComponent)
public:
    explicit TOBLComponent(TComponent* AOwner) : TOBLCustomComponent(AOwner) {}
};
