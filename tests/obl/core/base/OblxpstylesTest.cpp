#include "obl/core/base/Oblxpstyles.h"

#include "platform/win/kernel/Com.h"
#include "platform/win/kernel/Modules.h"

#include <gtest/gtest.h>

#include <string>
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

    // Every entry in binding order, each with the name it binds by.
    template <class Visit>
    static void EachEntry(Visit visit)
    {
        visit(DrawThemeEdge), visit(DrawThemeBackground), visit(DrawThemeParentBackground), visit(DrawThemeText);
        visit(DrawThemeIcon), visit(OpenThemeData), visit(CloseThemeData);
        visit(IsThemeBackgroundPartiallyTransparent), visit(GetThemeBackgroundContentRect), visit(SetWindowTheme);
        visit(SetThemeAppProperties), visit(IsThemePartDefined), visit(GetThemeColor), visit(GetThemeMetric);
        visit(GetThemeString), visit(GetThemeBool), visit(GetThemeInt), visit(GetThemeEnumValue);
        visit(GetThemePosition), visit(GetThemeFont), visit(GetThemeRect), visit(GetThemeFilename);
        visit(GetThemeSysColor), visit(GetThemeSysColorBrush), visit(GetThemeSysBool), visit(IsThemeActive);
        visit(IsAppThemed), visit(GetWindowTheme), visit(EnableThemeDialogTexture);
        visit(IsThemeDialogTextureEnabled), visit(EnableTheming);
    }

    static std::vector<std::string> EntryNames()
    {
        std::vector<std::string> names;
        EachEntry([&](const auto& e) { names.push_back(e.Name()); });
        return names;
    }

    // Names of the entries that hold an address.
    static std::vector<std::string> BoundEntries()
    {
        std::vector<std::string> bound;
        EachEntry([&](const auto& e) {
            if (e.Assigned()) bound.push_back(e.Name());
        });
        return bound;
    }
};

// The library's entries, in the order they are bound.
const std::vector<std::string> kThemeEntries = {
    "DrawThemeEdge",        "DrawThemeBackground",
    "DrawThemeParentBackground", "DrawThemeText",
    "DrawThemeIcon",        "OpenThemeData",
    "CloseThemeData",       "IsThemeBackgroundPartiallyTransparent",
    "GetThemeBackgroundContentRect", "SetWindowTheme",
    "SetThemeAppProperties", "IsThemePartDefined",
    "GetThemeColor",        "GetThemeMetric",
    "GetThemeString",       "GetThemeBool",
    "GetThemeInt",          "GetThemeEnumValue",
    "GetThemePosition",     "GetThemeFont",
    "GetThemeRect",         "GetThemeFilename",
    "GetThemeSysColor",     "GetThemeSysColorBrush",
    "GetThemeSysBool",      "IsThemeActive",
    "IsAppThemed",          "GetWindowTheme",
    "EnableThemeDialogTexture", "IsThemeDialogTextureEnabled",
    "EnableTheming",
};

TEST_F(OblxpstylesTest, EveryEntryBindsByItsPublishedName)
{
    ASSERT_EQ(kThemeEntries.size(), 31u);
    EXPECT_EQ(EntryNames(), kThemeEntries);
}

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
        EXPECT_EQ(BoundEntries(), kThemeEntries);
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
