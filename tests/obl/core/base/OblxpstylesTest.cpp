#include "obl/core/base/Oblxpstyles.h"

#include "platform/win/kernel/Com.h"
#include "platform/win/kernel/Modules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class OblxpstylesTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        OblxpstylesFinalization();
        RegisterModule(kThemeModuleName, ThemeModuleExports(), ThemeModulePresent);
        ResetThemeModuleForTesting();
    }

    // Names of the entries that hold an address.
    static std::vector<const char*> BoundEntries()
    {
        std::vector<const char*> bound;
        auto note = [&](const auto& e) {
            if (e.Assigned()) bound.push_back(e.Name());
        };
        note(DrawThemeEdge), note(DrawThemeBackground), note(OpenThemeData), note(CloseThemeData);
        note(SetThemeAppProperties), note(GetThemeBool), note(IsThemeActive), note(IsAppThemed);
        note(EnableTheming), note(IsThemeDialogTextureEnabled), note(GetThemeSysColor);
        return bound;
    }
};

TEST_F(OblxpstylesTest, AbsentLibraryLeavesEveryEntryEmptyAndCallsFailSafely)
{
    SetThemeModuleState(TThemeModuleState::Absent);
    OblxpstylesInitialization();
    EXPECT_FALSE(XPThemesAvailable);
    EXPECT_TRUE(BoundEntries().empty());
    EXPECT_FALSE(OBLXPThemeActive());
    // Calls through empty entries answer failure and touch nothing.
    BOOL value = 7;
    EXPECT_EQ(GetThemeBool(nullptr, 1, 1, 0, &value), E_FAIL);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(OpenThemeData(nullptr, nullptr), nullptr);
    EXPECT_EQ(IsThemeActive(), FALSE);
    EXPECT_EQ(GetThemeSysColor(nullptr, 5), 0u);
    SetThemeAppProperties(3);
    EXPECT_TRUE(ThemeCallLog().empty());
}

TEST_F(OblxpstylesTest, PresentLibraryBindsAllEntries)
{
    for (TThemeModuleState state : {TThemeModuleState::Inactive, TThemeModuleState::Active}) {
        SetThemeModuleState(state);
        OblxpstylesInitialization();
        EXPECT_TRUE(XPThemesAvailable);
        EXPECT_EQ(BoundEntries().size(), 11u);
        const bool active = state == TThemeModuleState::Active;
        EXPECT_EQ(IsThemeActive() != FALSE, active);
        EXPECT_EQ(OBLXPThemeActive(), active);
    }
}

TEST_F(OblxpstylesTest, MissingEntryStaysEmptyAndThemesCountAsUnsupported)
{
    TModuleExports exports = ThemeModuleExports();
    exports.erase("IsThemeActive");
    exports.erase("GetThemeBool");
    RegisterModule(kThemeModuleName, exports);
    SetThemeModuleState(TThemeModuleState::Active);
    OblxpstylesInitialization();
    EXPECT_TRUE(XPThemesAvailable);
    EXPECT_FALSE(IsThemeActive.Assigned());
    EXPECT_FALSE(GetThemeBool.Assigned());
    EXPECT_TRUE(IsAppThemed.Assigned());
    EXPECT_FALSE(OBLXPThemeActive());
    BOOL value = 0;
    EXPECT_EQ(GetThemeBool(nullptr, 1, 1, 0, &value), E_FAIL);
}

TEST_F(OblxpstylesTest, FinalizationUnbindsAndInitializationRepeats)
{
    SetThemeModuleState(TThemeModuleState::Active);
    OblxpstylesInitialization();
    ASSERT_TRUE(XPThemesAvailable);
    OblxpstylesFinalization();
    EXPECT_FALSE(XPThemesAvailable);
    EXPECT_TRUE(BoundEntries().empty());
    EXPECT_EQ(GetModuleHandleA(kThemeModuleName), nullptr);
    OblxpstylesInitialization();
    OblxpstylesInitialization();
    EXPECT_TRUE(XPThemesAvailable);
    EXPECT_TRUE(OBLXPThemeActive());
    OblxpstylesFinalization();
    EXPECT_EQ(GetModuleHandleA(kThemeModuleName), nullptr);
}

} // namespace
