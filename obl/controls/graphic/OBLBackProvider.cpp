#include "obl/controls/graphic/OBLBackProvider.h"

#include "platform/classlib/Forms.h"

TOBLBackProvider* OBLFindBackProvider(TControl* Control)
{
    TWinControl* parent = Control ? Control->Parent() : nullptr;
    if (!parent || !parent->HandleAllocated())
        return nullptr;
    if (auto* provider = dynamic_cast<TOBLBackProvider*>(parent))
        return provider;
    if (!dynamic_cast<TCustomForm*>(parent))
        return nullptr;
    auto* form = dynamic_cast<TForm*>(Control->Owner());
    if (!form)
        return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* provider = dynamic_cast<TOBLBackProvider*>(form->Components(i)); provider && provider->IsFormShape())
            return provider;
    return nullptr;
}
