// Counts the OnChange notifications of a library settings object.
#pragma once

#include "obl/core/base/OBLObject.h"

class ChangeCounter : public TObject {
public:
    explicit ChangeCounter(TOBLObject& watched) : watched_(watched)
    {
        watched.SetOnChange(TNotifyEvent(this, &ChangeCounter::Changed));
    }
    ~ChangeCounter() override { watched_.SetOnChange(TNotifyEvent()); }

    int count = 0;
    TObject* lastSender = nullptr;

private:
    void Changed(TObject* sender)
    {
        ++count;
        lastSender = sender;
    }

    TOBLObject& watched_;
};
