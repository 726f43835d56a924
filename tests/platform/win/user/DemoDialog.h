// A captioned dialog with the standard controls the programs use, for the headless
// and the X11 rendering tests.
#pragma once

#include "UserFixture.h"

struct DemoDialog {
    HWND form, group, check, edit, list, button;
};

// The owner-drawn button's face colour.
constexpr COLORREF kOwnerDrawFace = RGB(0, 128, 64);

DemoDialog CreateDemoDialog(HWND form);
