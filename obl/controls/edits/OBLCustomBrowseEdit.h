// Unit OBLCustomBrowseEdit: a single-line edit with one custom button at its right edge
// that starts a browse action. What the action does is the descendant's DoBrowse.
#pragma once

#include "obl/controls/edits/OBLCustomEdit.h"

class TOBLCustomBrowseEdit : public TOBLCustomEdit {
    VENDARO_CLASS(TOBLCustomBrowseEdit, TOBLCustomEdit)
public:
    explicit TOBLCustomBrowseEdit(TComponent* AOwner);

    TNotifyEvent OnBeforeBrowse() const { return onBeforeBrowse_; }
    void SetOnBeforeBrowse(TNotifyEvent Value) { onBeforeBrowse_ = Value; }
    TNotifyEvent OnBrowse() const { return onBrowse_; }
    void SetOnBrowse(TNotifyEvent Value) { onBrowse_ = Value; }

    // The browse button's click: OnBeforeBrowse, the browse action, OnBrowse.
    void DoOnBrowseClick(TObject* Sender, int Index);
    // The browse action; nothing here.
    virtual void DoBrowse() {}

    static void Publish(TClassBuilder<TOBLCustomBrowseEdit>& c);

private:
    TNotifyEvent onBeforeBrowse_;
    TNotifyEvent onBrowse_;
};
