#include "obl/core/base/Oblctrl.h"

#include "platform/classlib/Controls.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/StrUtils.h"

namespace {

bool NameTaken(TComponent* owner, const AnsiString& name)
{
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (SameText(owner->Components(i)->Name(), name)) return true;
    return false;
}

} // namespace

// The number is appended, never formatted into the name, so any character of the base
// name stays as it is.
AnsiString OBLUniqueName(const AnsiString& BaseName, TComponent* Owner)
{
    const bool typeName = !BaseName.IsEmpty() && (BaseName[1] == 'T' || BaseName[1] == 't');
    const AnsiString stem = typeName ? Copy(BaseName, 2, 255) : BaseName;
    int n = 1;
    if (Owner != nullptr)
        while (NameTaken(Owner, stem + IntToStr(n))) ++n;
    return stem + IntToStr(n);
}

void OBLCreateHandle(TWinControl* Control)
{
    if (Control != nullptr) Control->HandleNeeded();
}
