#include "obl/core/base/OBLObject.h"

void TOBLObject::GetChange(TObject*) { Change(); }

void TOBLObject::Change()
{
    if (!updating_ && onChange_) onChange_(this);
}

AnsiString TOBLObject::GetSetStr() { return AnsiString(); }

void TOBLObject::BeginUpdate() { updating_ = true; }

void TOBLObject::EndUpdate(bool Notify)
{
    updating_ = false;
    if (Notify) Change();
}
