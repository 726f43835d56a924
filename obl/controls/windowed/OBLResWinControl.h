// Unit OBLResWinControl: a windowed control whose window can be made and let go from
// outside, to hold its resources only while they are needed.
#pragma once

#include "platform/classlib/Controls.h"

class TOBLResWinControl : public TWinControl {
    VENDARO_CLASS(TOBLResWinControl, TWinControl)
public:
    explicit TOBLResWinControl(TComponent* AOwner) : TWinControl(AOwner) {}

    void CreateHandle() override { inherited::CreateHandle(); }
    void FreeResources() { DestroyHandle(); }
};
