#include "obl/core/base/OBLComponent.h"
#include "obl/core/base/OBLCustomComponent.h"
#include "obl/core/base/Oblbase.h"
#include "obl/core/base/Oblxpstyles.h"

#include "platform/rtl/Exceptions.h"
#include "tests/support/NotifyCounter.h"

#include <gtest/gtest.h>

namespace {

class ThemedComponent : public TOBLComponent {
public:
    using TOBLComponent::TOBLComponent;
    int themeChanges = 0;

protected:
    void DoThemeChange() override { ++themeChanges; }
};

// Installs the application's theme-use answer for one test.
class ThemeUse {
public:
    explicit ThemeUse(bool on)
    {
        value = on;
        TOBLApplicationThemeHooks hooks;
        hooks.UseXPThemes = [] { return value; };
        OBLSetApplicationThemeHooks(hooks);
    }
    ~ThemeUse() { OBLSetApplicationThemeHooks({}); }
    static inline bool value = false;
};

TEST(OBLCustomComponentTest, ChangeProtocol)
{
    const struct {
        const char* name;
        void (*run)(TOBLCustomComponent&);
        int notifications;
    } cases[] = {
        {"change", [](TOBLCustomComponent& c) { c.Change(); }, 1},
        {"a nested object's change", [](TOBLCustomComponent& c) { c.GetChange(nullptr); }, 1},
        {"inside an update", [](TOBLCustomComponent& c) { c.BeginUpdate(); c.Change(); }, 0},
        {"end with notify", [](TOBLCustomComponent& c) { c.BeginUpdate(); c.Change(); c.EndUpdate(true); }, 1},
        {"end without notify", [](TOBLCustomComponent& c) { c.BeginUpdate(); c.Change(); c.EndUpdate(false); }, 0},
        {"the bracket does not nest",
         [](TOBLCustomComponent& c) { c.BeginUpdate(); c.BeginUpdate(); c.EndUpdate(false); c.Change(); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TOBLCustomComponent component(nullptr);
        NotifyCounter counter;
        component.SetOnChange(TNotifyEvent(&counter, &NotifyCounter::Changed));
        c.run(component);
        EXPECT_EQ(counter.count, c.notifications);
        if (c.notifications > 0) {
            EXPECT_EQ(counter.lastSender, &component);
        }
    }
    TOBLCustomComponent unassigned(nullptr);
    EXPECT_NO_THROW(unassigned.Change());
}

TEST(OBLCustomComponentTest, CtlXPStartsOnAndNotifiesOnlyOnChange)
{
    ThemedComponent component(nullptr);
    EXPECT_TRUE(component.CtlXP());
    component.SetCtlXP(true);
    EXPECT_EQ(component.themeChanges, 0);
    component.SetCtlXP(false);
    EXPECT_EQ(component.themeChanges, 1);
    EXPECT_FALSE(component.CtlXP());
    component.SetCtlXP(false);
    EXPECT_EQ(component.themeChanges, 1);
    component.SetCtlXP(true);
    EXPECT_EQ(component.themeChanges, 2);
}

TEST(OBLCustomComponentTest, UseXPNeedsApplicationLibraryAndComponent)
{
    const struct {
        TThemeModuleState module;
        bool appUses, ctlXP, expected;
    } cases[] = {
        {TThemeModuleState::Active, true, true, true},
        {TThemeModuleState::Inactive, true, true, true},
        {TThemeModuleState::Absent, true, true, false},
        {TThemeModuleState::Active, false, true, false},
        {TThemeModuleState::Active, true, false, false},
    };
    for (const auto& c : cases) {
        SetThemeModuleState(c.module);
        OblxpstylesInitialization();
        ThemeUse use(c.appUses);
        TOBLCustomComponent component(nullptr);
        component.SetCtlXP(c.ctlXP);
        EXPECT_EQ(component.UseXP(), c.expected) << int(c.module) << c.appUses << c.ctlXP;
    }
    OblxpstylesFinalization();
    ResetThemeModuleForTesting();
    TOBLCustomComponent component(nullptr);
    EXPECT_FALSE(component.UseXP());
}

TEST(OblbaseTest, ControlMessageNumbers)
{
    EXPECT_EQ(CM_OBLBACKCHANGED, 0xB0CEu);
    EXPECT_EQ(CM_OBLAFTERENTER, 0xB0CFu);
    EXPECT_EQ(CM_OBLAFTEREXIT, 0xB0D0u);
    EXPECT_EQ(CM_OBLBEVELCHANGED, 0xB0D1u);
    EXPECT_EQ(CM_OBLSCROLLBOXSCROLLEVENT, 0xB0D4u);
    EXPECT_EQ(CM_OBLTHEMECHANGED, 0xB0D6u);
}

TEST(OblbaseTest, DockErrorNamesBothComponentsWithCarriageReturns)
{
    TComponent owner(nullptr);
    TComponent* control = new TComponent(&owner);
    control->SetName("Edit1");
    TComponent* docked = new TComponent(&owner);
    docked->SetName("Label1");
    try {
        OBLRaiseDockError(control, docked);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.ClassName(), "Exception");
        EXPECT_EQ(e.Message(), "Component Edit1:\rA TOBLDockLabel- or Button component was already attached to the "
                               "component: Label1\rOnly one OBLDockXXXX per control is allowed.");
    }
}

} // namespace
