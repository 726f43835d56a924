#include "obl/core/base/OBLCustomComponent.h"

#include "obl/core/base/Oblxpstyles.h"

namespace {

TOBLApplicationThemeHooks& Hooks()
{
    static TOBLApplicationThemeHooks hooks;
    return hooks;
}

} // namespace

void OBLSetApplicationThemeHooks(const TOBLApplicationThemeHooks& hooks) { Hooks() = hooks; }

bool OBLApplicationUseXPThemes() { return Hooks().UseXPThemes != nullptr && Hooks().UseXPThemes(); }

void OBLApplicationInitXPSupport()
{
    if (Hooks().InitXPSupport) Hooks().InitXPSupport();
}

void OBLApplicationSetXPThemeSupport(bool value)
{
    if (Hooks().SetXPThemeSupport) Hooks().SetXPThemeSupport(value);
}

TOBLCustomComponent::TOBLCustomComponent(TComponent* AOwner) : TComponent(AOwner) {}

void TOBLCustomComponent::GetChange(TObject*) { Change(); }

void TOBLCustomComponent::Change()
{
    if (!updating_ && onChange_) onChange_(this);
}

void TOBLCustomComponent::BeginUpdate() { updating_ = true; }

void TOBLCustomComponent::EndUpdate(bool Notify)
{
    updating_ = false;
    if (Notify) Change();
}

void TOBLCustomComponent::SetCtlXP(bool Value)
{
    if (Value == ctlXP_) return;
    ctlXP_ = Value;
    DoThemeChange();
}

bool TOBLCustomComponent::UseXP() const { return OBLApplicationUseXPThemes() && XPThemesAvailable && ctlXP_; }
