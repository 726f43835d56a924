// Unit OBLCustomComponent: the base of the library's non-visual components: the change
// protocol of TOBLObject plus the per-component theme switch CtlXP.
#pragma once

#include "obl/core/base/Oblbase.h"
#include "platform/classlib/Classes.h"

// The application object's theme operations. The application unit installs them when it
// creates its object; until then theme use counts as off and the others do nothing.
struct TOBLApplicationThemeHooks {
    bool (*UseXPThemes)() = nullptr;
    void (*InitXPSupport)() = nullptr;
    void (*SetXPThemeSupport)(bool value) = nullptr;
};
void OBLSetApplicationThemeHooks(const TOBLApplicationThemeHooks& hooks);
bool OBLApplicationUseXPThemes();
void OBLApplicationInitXPSupport();
void OBLApplicationSetXPThemeSupport(bool value);

class TOBLCustomComponent : public TComponent {
    VENDARO_CLASS(TOBLCustomComponent, TComponent)
public:
    explicit TOBLCustomComponent(TComponent* AOwner);

    // Owners assign this to a nested object's OnChange; the sender is ignored.
    virtual void GetChange(TObject* Sender);
    // Fires OnChange with this component as sender, unless updating.
    virtual void Change();
    // The bracket is a flag, not a counter.
    void BeginUpdate();
    void EndUpdate(bool Notify);

    bool CtlXP() const { return ctlXP_; }
    void SetCtlXP(bool Value);
    // Theme painting is allowed: the application uses themes, the theme library is
    // there, and this component wants them.
    bool UseXP() const;

    const TOBLAboutVar& About() const { return about_; }
    void SetAbout(const TOBLAboutVar& value) { about_ = value; }
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }

protected:
    // The reaction to a change of the theme state.
    virtual void DoThemeChange() {}

private:
    TOBLAboutVar about_;
    TNotifyEvent onChange_;
    bool updating_ = false;
    bool ctlXP_ = true;
};
