// Unit Oblbase: small types shared across the component library, its own control
// messages, and the docking error.
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/Sets.h"

using TOBLAboutVar = AnsiString;
// Sender, MouseX, MouseY, Delta.
using TOBLMouseWheelEvent = TEvent<TObject*, int, int, int>;

VENDARO_ENUM(TOBLBoundsChangeState, bcSize, bcPos)
using TOBLBoundsChangeStates = TSet<TOBLBoundsChangeState>;
VENDARO_ENUM(TOBLDockPosition, dpBottom, dpLeft, dpRight, dpTop)

// The library's control messages, above the class library's component messages. They
// carry no parameters unless their handler says otherwise.
constexpr UINT CM_OBLBACKCHANGED = CM_BASE + 0xCE;
constexpr UINT CM_OBLAFTERENTER = CM_BASE + 0xCF;
constexpr UINT CM_OBLAFTEREXIT = CM_BASE + 0xD0;
constexpr UINT CM_OBLBEVELCHANGED = CM_BASE + 0xD1;
constexpr UINT CM_OBLSCROLLBOXSCROLLEVENT = CM_BASE + 0xD4;
constexpr UINT CM_OBLTHEMECHANGED = CM_BASE + 0xD6;

// A control accepts one docked label or button only; raises Exception naming both.
[[noreturn]] void OBLRaiseDockError(TComponent* Component, TComponent* Docked);
