// Unit OBLObject: the base of every appearance and settings object of the
// library, with one change protocol: a change fires OnChange unless the object is
// inside an update bracket, and an owner hangs its GetChange on a nested
// object's OnChange so that changes bubble up.
#pragma once

#include "platform/classlib/Classes.h"

class TOBLObject : public TPersistent {
    VENDARO_CLASS(TOBLObject, TPersistent)
public:
    TOBLObject() = default;

    // Owners assign this to a nested object's OnChange; the sender is ignored.
    virtual void GetChange(TObject* Sender);
    // Fires OnChange with this object as sender, unless updating.
    virtual void Change();
    // One-line summary of the settings for a property editor.
    virtual AnsiString GetSetStr();

    // The bracket is a flag, not a counter: one EndUpdate ends any number of
    // BeginUpdate calls.
    void BeginUpdate();
    void EndUpdate(bool Notify);

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }

private:
    TNotifyEvent onChange_;
    bool updating_ = false;
};
