#include "obl/core/base/Oblbase.h"

#include "platform/rtl/Exceptions.h"

void OBLRaiseDockError(TComponent* Component, TComponent* Docked)
{
    // The lines are separated by a carriage return alone.
    throw Exception("Component " + Component->Name() + ":" + '\r' +
                    "A TOBLDockLabel- or Button component was already attached to the component: " +
                    Docked->Name() + '\r' + "Only one OBLDockXXXX per control is allowed.");
}
