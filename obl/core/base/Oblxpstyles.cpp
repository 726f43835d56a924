#include "obl/core/base/Oblxpstyles.h"

#include "platform/win/kernel/Com.h"
#include "platform/win/kernel/Modules.h"


bool XPThemesAvailable = false;

namespace {
// What an HRESULT entry answers when it cannot be called.
constexpr HRESULT kFail = E_FAIL;
HMODULE themeModule = nullptr;
} // namespace

TOBLThemeEntry<PFNDrawThemeEdge> DrawThemeEdge{"DrawThemeEdge", kFail};
TOBLThemeEntry<PFNDrawThemeBackground> DrawThemeBackground{"DrawThemeBackground", kFail};
TOBLThemeEntry<PFNDrawThemeParentBackground> DrawThemeParentBackground{"DrawThemeParentBackground", kFail};
TOBLThemeEntry<PFNDrawThemeText> DrawThemeText{"DrawThemeText", kFail};
TOBLThemeEntry<PFNDrawThemeIcon> DrawThemeIcon{"DrawThemeIcon", kFail};
TOBLThemeEntry<PFNOpenThemeData> OpenThemeData{"OpenThemeData", nullptr};
TOBLThemeEntry<PFNCloseThemeData> CloseThemeData{"CloseThemeData", kFail};
TOBLThemeEntry<PFNIsThemeBackgroundPartiallyTransparent> IsThemeBackgroundPartiallyTransparent{
    "IsThemeBackgroundPartiallyTransparent", FALSE};
TOBLThemeEntry<PFNGetThemeBackgroundContentRect> GetThemeBackgroundContentRect{"GetThemeBackgroundContentRect",
                                                                                kFail};
TOBLThemeEntry<PFNSetWindowTheme> SetWindowTheme{"SetWindowTheme", kFail};
TOBLThemeEntry<PFNSetThemeAppProperties> SetThemeAppProperties{"SetThemeAppProperties", {}};
TOBLThemeEntry<PFNIsThemePartDefined> IsThemePartDefined{"IsThemePartDefined", FALSE};
TOBLThemeEntry<PFNGetThemeColor> GetThemeColor{"GetThemeColor", kFail};
TOBLThemeEntry<PFNGetThemeMetric> GetThemeMetric{"GetThemeMetric", kFail};
TOBLThemeEntry<PFNGetThemeString> GetThemeString{"GetThemeString", kFail};
TOBLThemeEntry<PFNGetThemeBool> GetThemeBool{"GetThemeBool", kFail};
TOBLThemeEntry<PFNGetThemeInt> GetThemeInt{"GetThemeInt", kFail};
TOBLThemeEntry<PFNGetThemeEnumValue> GetThemeEnumValue{"GetThemeEnumValue", kFail};
TOBLThemeEntry<PFNGetThemePosition> GetThemePosition{"GetThemePosition", kFail};
TOBLThemeEntry<PFNGetThemeFont> GetThemeFont{"GetThemeFont", kFail};
TOBLThemeEntry<PFNGetThemeRect> GetThemeRect{"GetThemeRect", kFail};
TOBLThemeEntry<PFNGetThemeFilename> GetThemeFilename{"GetThemeFilename", kFail};
TOBLThemeEntry<PFNGetThemeSysColor> GetThemeSysColor{"GetThemeSysColor", 0};
TOBLThemeEntry<PFNGetThemeSysColorBrush> GetThemeSysColorBrush{"GetThemeSysColorBrush", nullptr};
TOBLThemeEntry<PFNGetThemeSysBool> GetThemeSysBool{"GetThemeSysBool", FALSE};
TOBLThemeEntry<PFNIsThemeActive> IsThemeActive{"IsThemeActive", FALSE};
TOBLThemeEntry<PFNIsAppThemed> IsAppThemed{"IsAppThemed", FALSE};
TOBLThemeEntry<PFNGetWindowTheme> GetWindowTheme{"GetWindowTheme", nullptr};
TOBLThemeEntry<PFNEnableThemeDialogTexture> EnableThemeDialogTexture{"EnableThemeDialogTexture", kFail};
TOBLThemeEntry<PFNIsThemeDialogTextureEnabled> IsThemeDialogTextureEnabled{"IsThemeDialogTextureEnabled", FALSE};
TOBLThemeEntry<PFNEnableTheming> EnableTheming{"EnableTheming", kFail};

namespace {

// Applies the action to every entry, in the library's published binding order.
template <class Action>
void ForEachEntry(Action action)
{
    action(DrawThemeEdge);
    action(DrawThemeBackground);
    action(DrawThemeParentBackground);
    action(DrawThemeText);
    action(DrawThemeIcon);
    action(OpenThemeData);
    action(CloseThemeData);
    action(IsThemeBackgroundPartiallyTransparent);
    action(GetThemeBackgroundContentRect);
    action(SetWindowTheme);
    action(SetThemeAppProperties);
    action(IsThemePartDefined);
    action(GetThemeColor);
    action(GetThemeMetric);
    action(GetThemeString);
    action(GetThemeBool);
    action(GetThemeInt);
    action(GetThemeEnumValue);
    action(GetThemePosition);
    action(GetThemeFont);
    action(GetThemeRect);
    action(GetThemeFilename);
    action(GetThemeSysColor);
    action(GetThemeSysColorBrush);
    action(GetThemeSysBool);
    action(IsThemeActive);
    action(IsAppThemed);
    action(GetWindowTheme);
    action(EnableThemeDialogTexture);
    action(IsThemeDialogTextureEnabled);
    action(EnableTheming);
}

} // namespace

bool OBLXPThemeActive() { return XPThemesAvailable && IsThemeActive() != FALSE; }

void OblxpstylesInitialization()
{
    OblxpstylesFinalization();
    themeModule = LoadLibraryA(kThemeModuleName);
    XPThemesAvailable = themeModule != nullptr;
    if (!XPThemesAvailable) return;
    ForEachEntry([](auto& entry) { entry.Bind(GetProcAddress(themeModule, entry.Name())); });
}

void OblxpstylesFinalization()
{
    ForEachEntry([](auto& entry) { entry.Bind(nullptr); });
    if (themeModule != nullptr) {
        FreeLibrary(themeModule);
        themeModule = nullptr;
    }
    XPThemesAvailable = false;
}
