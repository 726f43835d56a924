// Unit OBLRgnShadow: the drop shadow of a shaped window, off until asked for.
#pragma once

#include "obl/controls/shapes/OBLShadow.h"

class TOBLRgnShadow : public TOBLShadow {
    VENDARO_CLASS(TOBLRgnShadow, TOBLShadow)
public:
    TOBLRgnShadow() { style_ = hssNone; }

    static void Publish(TClassBuilder<TOBLRgnShadow>& c) { c.Redeclare("Style").Default(hssNone); }
};
