// Unit OBLBack: the form painter that shows a picture of an image list, tiled over the
// form's whole client area.
#pragma once

#include "obl/controls/forms/OBLCustomFormFill.h"

class TOBLBack : public TOBLCustomFormFill {
    VENDARO_CLASS(TOBLBack, TOBLCustomFormFill)
public:
    explicit TOBLBack(TComponent* AOwner) : TOBLCustomFormFill(AOwner) {}

    // In pcControl with a picture: the picture tiled over the client area; otherwise the
    // base's answer.
    bool PaintClientArea(HDC DC) override;

    static void Publish(TClassBuilder<TOBLBack>& c);
};
