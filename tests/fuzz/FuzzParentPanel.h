// The parent panel as a fuzz target's form places it: the library's parent panel with its
// published properties. Each target registers it once, when it starts the library.
#pragma once

#include "obl/controls/panels/OBLCustomParentPanel.h"

class TFuzzParentPanel : public TOBLCustomParentPanel {
    VENDARO_CLASS(TFuzzParentPanel, TOBLCustomParentPanel)
public:
    explicit TFuzzParentPanel(TComponent* owner) : TOBLCustomParentPanel(owner) {}
    static void Publish(TClassBuilder<TFuzzParentPanel>& c) { PublishControl(c); }
};
