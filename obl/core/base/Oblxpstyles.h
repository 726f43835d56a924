// Unit Oblxpstyles: the late binding of the theme library "UxTheme.dll". The library is
// never linked: the unit's initialisation loads it and binds its entries by name, so the
// same program runs where it is missing. Each entry below is named like the function it
// holds and is called like it; an entry the library lacks (or any entry while the library
// is not loaded) answers failure instead of being called.
#pragma once

#include "platform/classlib/TypInfo.h"
#include "platform/win/WinTypes.h"
#include "platform/win/kernel/UxTheme.h"

#include <type_traits>
#include <variant>

// True while "UxTheme.dll" is loaded.
extern bool XPThemesAvailable;

// Size kinds of the theme part-size query.
VENDARO_ENUM(TOBLThemeSize, tsMin, tsTrue, tsDraw)

// One bound entry: its name, the address found (or none) and the answer a call gives
// when there is no address.
template <class Function>
class TOBLThemeEntry;

template <class R, class... Args>
class TOBLThemeEntry<R (*)(Args...)> {
    using Failure = std::conditional_t<std::is_void_v<R>, std::monostate, R>;

public:
    constexpr TOBLThemeEntry(const char* name, Failure failure) : name_(name), failure_(failure) {}

    const char* Name() const { return name_; }
    bool Assigned() const { return address_ != nullptr; }
    explicit operator bool() const { return Assigned(); }
    void Bind(FARPROC address) { address_ = address; }

    R operator()(Args... args) const
    {
        if constexpr (std::is_void_v<R>) {
            if (address_) reinterpret_cast<R (*)(Args...)>(address_)(args...);
        } else {
            return address_ ? reinterpret_cast<R (*)(Args...)>(address_)(args...) : failure_;
        }
    }

private:
    const char* name_;
    Failure failure_;
    FARPROC address_ = nullptr;
};

extern TOBLThemeEntry<PFNDrawThemeEdge> DrawThemeEdge;
extern TOBLThemeEntry<PFNDrawThemeBackground> DrawThemeBackground;
extern TOBLThemeEntry<PFNDrawThemeParentBackground> DrawThemeParentBackground;
extern TOBLThemeEntry<PFNDrawThemeText> DrawThemeText;
extern TOBLThemeEntry<PFNDrawThemeIcon> DrawThemeIcon;
extern TOBLThemeEntry<PFNOpenThemeData> OpenThemeData;
extern TOBLThemeEntry<PFNCloseThemeData> CloseThemeData;
extern TOBLThemeEntry<PFNIsThemeBackgroundPartiallyTransparent> IsThemeBackgroundPartiallyTransparent;
extern TOBLThemeEntry<PFNGetThemeBackgroundContentRect> GetThemeBackgroundContentRect;
extern TOBLThemeEntry<PFNSetWindowTheme> SetWindowTheme;
extern TOBLThemeEntry<PFNSetThemeAppProperties> SetThemeAppProperties;
extern TOBLThemeEntry<PFNIsThemePartDefined> IsThemePartDefined;
extern TOBLThemeEntry<PFNGetThemeColor> GetThemeColor;
extern TOBLThemeEntry<PFNGetThemeMetric> GetThemeMetric;
extern TOBLThemeEntry<PFNGetThemeString> GetThemeString;
extern TOBLThemeEntry<PFNGetThemeBool> GetThemeBool;
extern TOBLThemeEntry<PFNGetThemeInt> GetThemeInt;
extern TOBLThemeEntry<PFNGetThemeEnumValue> GetThemeEnumValue;
extern TOBLThemeEntry<PFNGetThemePosition> GetThemePosition;
extern TOBLThemeEntry<PFNGetThemeFont> GetThemeFont;
extern TOBLThemeEntry<PFNGetThemeRect> GetThemeRect;
extern TOBLThemeEntry<PFNGetThemeFilename> GetThemeFilename;
extern TOBLThemeEntry<PFNGetThemeSysColor> GetThemeSysColor;
extern TOBLThemeEntry<PFNGetThemeSysColorBrush> GetThemeSysColorBrush;
extern TOBLThemeEntry<PFNGetThemeSysBool> GetThemeSysBool;
extern TOBLThemeEntry<PFNIsThemeActive> IsThemeActive;
extern TOBLThemeEntry<PFNIsAppThemed> IsAppThemed;
extern TOBLThemeEntry<PFNGetWindowTheme> GetWindowTheme;
extern TOBLThemeEntry<PFNEnableThemeDialogTexture> EnableThemeDialogTexture;
extern TOBLThemeEntry<PFNIsThemeDialogTextureEnabled> IsThemeDialogTextureEnabled;
extern TOBLThemeEntry<PFNEnableTheming> EnableTheming;

// The library is loaded and reports an active visual style (asked anew on every call,
// as the user may switch styles while the program runs).
bool OBLXPThemeActive();

// Unit start-up: loads the library and binds the entries in their published order.
// Close-down: frees the library and clears every entry. Both may run again.
void OblxpstylesInitialization();
void OblxpstylesFinalization();
