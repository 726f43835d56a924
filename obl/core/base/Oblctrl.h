// Unit Oblctrl: helpers for components placed in code.
#pragma once

#include "platform/classlib/Classes.h"

class TWinControl;

// BaseName (less a leading "T" or "t") followed by the first number from 1 on that gives
// a name no component of Owner carries (compared without regard to case); without
// Owner, the number 1.
AnsiString OBLUniqueName(const AnsiString& BaseName, TComponent* Owner);
// Makes the control create its window now; nothing for nil.
void OBLCreateHandle(TWinControl* Control);
