// Counts the notifications an object sends through a TNotifyEvent, and keeps the last sender.
#pragma once

#include "platform/classlib/System.h"

class NotifyCounter : public TObject {
public:
    void Changed(TObject* sender)
    {
        ++count;
        lastSender = sender;
    }
    int count = 0;
    TObject* lastSender = nullptr;
};
