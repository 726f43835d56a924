#include "platform/win/kernel/UxTheme.h"

#include "platform/rtl/CodePage.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/Com.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/ThemeStyle.h"

#include <map>
#include <mutex>

namespace {

struct TThemeData {
    TThemeClass themeClass;
    HWND window;
};

struct TWindowSettings {
    bool themingOff = false;
    DWORD dialogTexture = 0;
    HTHEME lastTheme = nullptr;
};

struct TThemeState {
    std::recursive_mutex lock;
    TThemeModuleState module = TThemeModuleState::Inactive;
    DWORD appProperties = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS;
    bool themingEnabled = true;
    std::map<std::uintptr_t, TThemeData> themes;
    std::uintptr_t nextTheme = 0x7E000010;
    std::map<HWND, TWindowSettings> windows;
    std::vector<TThemeCall> log;
    TThemeParentBackgroundPainter painter = nullptr;
};

TThemeState& State()
{
    static TThemeState state;
    return state;
}

using TLock = std::lock_guard<std::recursive_mutex>;

const TThemeData* Find(HTHEME theme)
{
    TThemeState& s = State();
    const auto it = s.themes.find(reinterpret_cast<std::uintptr_t>(theme));
    return it == s.themes.end() ? nullptr : &it->second;
}

void Log(const char* function, HTHEME theme, int part, int state, const RECT* rect, HWND window = nullptr)
{
    const TThemeData* data = Find(theme);
    State().log.push_back({function, data ? ThemeClassName(data->themeClass) : "", part, state,
                           rect ? *rect : RECT{0, 0, 0, 0}, window ? window : (data ? data->window : nullptr)});
}

bool Active()
{
    const TThemeState& s = State();
    return s.module == TThemeModuleState::Active && s.themingEnabled;
}

bool BlankOrEmpty(LPCWSTR text)
{
    for (; text && *text; ++text)
        if (*text != u' ')
            return false;
    return text != nullptr;
}

AnsiString Narrow(LPCWSTR text, int count)
{
    AnsiString out;
    for (int i = 0; text && (count < 0 ? text[i] != 0 : i < count); ++i) {
        char c = '?';
        UnicodeToAnsiChar(text[i], c);
        out += c;
    }
    return out;
}

// Entries that look a part up answer E_HANDLE for unknown theme data and E_INVALIDARG for a
// part or state the class does not have.
HRESULT CheckPart(const TThemeData* data, int part, int state)
{
    if (data == nullptr)
        return E_HANDLE;
    return ThemePartDefined(data->themeClass, part, state) ? S_OK : E_INVALIDARG;
}

// ------------------------------------------------------------------ the entries

HRESULT DrawThemeEdgeEntry(HTHEME theme, HDC dc, int part, int state, const RECT* dest, UINT edge, UINT flags, RECT* content)
{
    TLock guard(State().lock);
    Log("DrawThemeEdge", theme, part, state, dest);
    if (dest == nullptr)
        return E_POINTER;
    if (Find(theme) == nullptr)
        return E_HANDLE;
    const RECT inside = PaintThemeEdge(dc, *dest, edge, flags);
    if (content)
        *content = inside;
    return S_OK;
}

HRESULT DrawThemeBackgroundEntry(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip)
{
    TLock guard(State().lock);
    Log("DrawThemeBackground", theme, part, state, rect);
    if (rect == nullptr)
        return E_POINTER;
    const TThemeData* data = Find(theme);
    if (const HRESULT hr = CheckPart(data, part, state); FAILED(hr))
        return hr;
    const int saved = SaveDC(dc);
    if (saved == 0)
        return E_HANDLE;
    if (clip)
        IntersectClipRect(dc, clip->left, clip->top, clip->right, clip->bottom);
    PaintThemePart(dc, data->themeClass, part, state, *rect);
    RestoreDC(dc, saved);
    return S_OK;
}

HRESULT DrawThemeParentBackgroundEntry(HWND window, HDC dc, const RECT* rect)
{
    TThemeParentBackgroundPainter painter;
    {
        TLock guard(State().lock);
        Log("DrawThemeParentBackground", nullptr, 0, 0, rect, window);
        painter = State().painter;
    }
    // The painter sends messages to the parent, so it runs outside the lock.
    return painter && painter(window, dc, rect) ? S_OK : E_FAIL;
}

HRESULT DrawThemeTextEntry(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int count, DWORD flags, DWORD flags2,
                           const RECT* rect)
{
    TLock guard(State().lock);
    Log("DrawThemeText", theme, part, state, rect);
    if (rect == nullptr || text == nullptr)
        return E_POINTER;
    const TThemeData* data = Find(theme);
    if (const HRESULT hr = CheckPart(data, part, state); FAILED(hr))
        return hr;
    const TThemeColors colors = ThemePartColors(data->themeClass, part, state == 0 ? 1 : state);
    const AnsiString narrow = Narrow(text, count);
    RECT area = *rect;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, (flags2 & DTT_GRAYED) ? RGB(161, 161, 146) : colors.text);
    DrawTextA(dc, narrow.c_str(), narrow.Length(), &area, flags);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    return S_OK;
}

HRESULT DrawThemeIconEntry(HTHEME theme, HDC, int part, int state, const RECT* rect, HANDLE, int)
{
    TLock guard(State().lock);
    Log("DrawThemeIcon", theme, part, state, rect);
    // The style draws no image lists; callers fall back to their own drawing.
    return Find(theme) ? E_NOTIMPL : E_HANDLE;
}

HTHEME OpenThemeDataEntry(HWND window, LPCWSTR classList)
{
    TLock guard(State().lock);
    TThemeState& s = State();
    Log("OpenThemeData", nullptr, 0, 0, nullptr, window);
    const std::optional<TThemeClass> found = classList ? ThemeClassFromList(classList) : std::nullopt;
    const auto settings = s.windows.find(window);
    const bool windowOff = settings != s.windows.end() && settings->second.themingOff;
    const bool allowed = Active() && (s.appProperties & STAP_ALLOW_CONTROLS) != 0 && !windowOff;
    if (!found || !allowed) {
        SetLastError(static_cast<DWORD>(E_PROP_ID_UNSUPPORTED));
        return nullptr;
    }
    const TThemeClass themeClass = *found;
    const std::uintptr_t key = s.nextTheme;
    s.nextTheme += 4;
    s.themes[key] = {themeClass, window};
    HTHEME theme = reinterpret_cast<HTHEME>(key);
    if (window)
        s.windows[window].lastTheme = theme;
    s.log.back().className = ThemeClassName(themeClass);
    return theme;
}

HRESULT CloseThemeDataEntry(HTHEME theme)
{
    TLock guard(State().lock);
    TThemeState& s = State();
    Log("CloseThemeData", theme, 0, 0, nullptr);
    const auto it = s.themes.find(reinterpret_cast<std::uintptr_t>(theme));
    if (it == s.themes.end())
        return E_HANDLE;
    for (auto& [window, settings] : s.windows)
        if (settings.lastTheme == theme)
            settings.lastTheme = nullptr;
    s.themes.erase(it);
    return S_OK;
}

BOOL IsThemeBackgroundPartiallyTransparentEntry(HTHEME theme, int part, int state)
{
    TLock guard(State().lock);
    Log("IsThemeBackgroundPartiallyTransparent", theme, part, state, nullptr);
    const TThemeData* data = Find(theme);
    return data && ThemePartDefined(data->themeClass, part, state) &&
           ThemePartPartiallyTransparent(data->themeClass, part, state);
}

HRESULT GetThemeBackgroundContentRectEntry(HTHEME theme, HDC, int part, int state, const RECT* bounds, RECT* content)
{
    TLock guard(State().lock);
    Log("GetThemeBackgroundContentRect", theme, part, state, bounds);
    if (bounds == nullptr || content == nullptr)
        return E_POINTER;
    const TThemeData* data = Find(theme);
    if (const HRESULT hr = CheckPart(data, part, state); FAILED(hr))
        return hr;
    *content = ThemeContentRect(data->themeClass, part, *bounds);
    return S_OK;
}

HRESULT SetWindowThemeEntry(HWND window, LPCWSTR subAppName, LPCWSTR subIdList)
{
    TLock guard(State().lock);
    Log("SetWindowTheme", nullptr, 0, 0, nullptr, window);
    if (window == nullptr)
        return E_HANDLE;
    // Blank names for both turn theming off for the window; anything else turns it back on.
    State().windows[window].themingOff = BlankOrEmpty(subAppName) && BlankOrEmpty(subIdList);
    return S_OK;
}

void SetThemeAppPropertiesEntry(DWORD flags)
{
    TLock guard(State().lock);
    Log("SetThemeAppProperties", nullptr, static_cast<int>(flags), 0, nullptr);
    State().appProperties = flags;
}

BOOL IsThemePartDefinedEntry(HTHEME theme, int part, int state)
{
    TLock guard(State().lock);
    Log("IsThemePartDefined", theme, part, state, nullptr);
    const TThemeData* data = Find(theme);
    return data && ThemePartDefined(data->themeClass, part, state);
}

HRESULT GetThemeColorEntry(HTHEME theme, int part, int state, int prop, COLORREF* color)
{
    TLock guard(State().lock);
    Log("GetThemeColor", theme, part, state, nullptr);
    if (color == nullptr)
        return E_POINTER;
    const TThemeData* data = Find(theme);
    if (const HRESULT hr = CheckPart(data, part, state); FAILED(hr))
        return hr;
    const TThemeColors colors = ThemePartColors(data->themeClass, part, state == 0 ? 1 : state);
    switch (prop) {
    case TMT_BORDERCOLOR: *color = colors.border; return S_OK;
    case TMT_FILLCOLOR: *color = colors.bottom; return S_OK;
    case TMT_TEXTCOLOR: *color = colors.text; return S_OK;
    default: return E_PROP_ID_UNSUPPORTED;
    }
}

// The style defines colours only: every other property query finds nothing.
HRESULT Unsupported(const char* function, HTHEME theme, int part, int state, const void* out)
{
    TLock guard(State().lock);
    Log(function, theme, part, state, nullptr);
    if (out == nullptr)
        return E_POINTER;
    return Find(theme) ? E_PROP_ID_UNSUPPORTED : E_HANDLE;
}

HRESULT GetThemeMetricEntry(HTHEME t, HDC, int part, int state, int, int* v) { return Unsupported("GetThemeMetric", t, part, state, v); }
HRESULT GetThemeStringEntry(HTHEME t, int part, int state, int, LPWSTR b, int) { return Unsupported("GetThemeString", t, part, state, b); }
HRESULT GetThemeBoolEntry(HTHEME t, int part, int state, int, BOOL* v) { return Unsupported("GetThemeBool", t, part, state, v); }
HRESULT GetThemeIntEntry(HTHEME t, int part, int state, int, int* v) { return Unsupported("GetThemeInt", t, part, state, v); }
HRESULT GetThemeEnumValueEntry(HTHEME t, int part, int state, int, int* v) { return Unsupported("GetThemeEnumValue", t, part, state, v); }
HRESULT GetThemePositionEntry(HTHEME t, int part, int state, int, POINT* p) { return Unsupported("GetThemePosition", t, part, state, p); }
HRESULT GetThemeFontEntry(HTHEME t, HDC, int part, int state, int, LOGFONTW* f) { return Unsupported("GetThemeFont", t, part, state, f); }
HRESULT GetThemeRectEntry(HTHEME t, int part, int state, int, RECT* r) { return Unsupported("GetThemeRect", t, part, state, r); }
HRESULT GetThemeFilenameEntry(HTHEME t, int part, int state, int, LPWSTR b, int) { return Unsupported("GetThemeFilename", t, part, state, b); }

COLORREF GetThemeSysColorEntry(HTHEME theme, int colorId)
{
    TLock guard(State().lock);
    Log("GetThemeSysColor", theme, colorId, 0, nullptr);
    return GetSysColor(colorId);
}

HBRUSH GetThemeSysColorBrushEntry(HTHEME theme, int colorId)
{
    TLock guard(State().lock);
    Log("GetThemeSysColorBrush", theme, colorId, 0, nullptr);
    return GetSysColorBrush(colorId);
}

BOOL GetThemeSysBoolEntry(HTHEME theme, int boolId)
{
    TLock guard(State().lock);
    Log("GetThemeSysBool", theme, boolId, 0, nullptr);
    return FALSE; // flat menus and the other system switches are off in this style
}

BOOL IsThemeActiveEntry()
{
    TLock guard(State().lock);
    Log("IsThemeActive", nullptr, 0, 0, nullptr);
    return Active();
}

BOOL IsAppThemedEntry()
{
    TLock guard(State().lock);
    Log("IsAppThemed", nullptr, 0, 0, nullptr);
    return Active() && (State().appProperties & (STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS)) != 0;
}

HTHEME GetWindowThemeEntry(HWND window)
{
    TLock guard(State().lock);
    Log("GetWindowTheme", nullptr, 0, 0, nullptr, window);
    const auto it = State().windows.find(window);
    return it == State().windows.end() ? nullptr : it->second.lastTheme;
}

HRESULT EnableThemeDialogTextureEntry(HWND window, DWORD flags)
{
    TLock guard(State().lock);
    Log("EnableThemeDialogTexture", nullptr, static_cast<int>(flags), 0, nullptr, window);
    if (window == nullptr)
        return E_HANDLE;
    State().windows[window].dialogTexture = flags;
    return S_OK;
}

BOOL IsThemeDialogTextureEnabledEntry(HWND window)
{
    TLock guard(State().lock);
    Log("IsThemeDialogTextureEnabled", nullptr, 0, 0, nullptr, window);
    const auto it = State().windows.find(window);
    return it != State().windows.end() && (it->second.dialogTexture & ETDT_ENABLE) != 0;
}

HRESULT EnableThemingEntry(BOOL enable)
{
    TLock guard(State().lock);
    Log("EnableTheming", nullptr, enable, 0, nullptr);
    State().themingEnabled = enable != FALSE;
    return S_OK;
}

} // namespace

void SetThemeModuleState(TThemeModuleState state)
{
    TLock guard(State().lock);
    State().module = state;
}

TThemeModuleState ThemeModuleState()
{
    TLock guard(State().lock);
    return State().module;
}

void SetThemeParentBackgroundPainter(TThemeParentBackgroundPainter painter)
{
    TLock guard(State().lock);
    State().painter = painter;
}

void ThemeWindowDestroyed(HWND window)
{
    TLock guard(State().lock);
    State().windows.erase(window);
}

const std::vector<TThemeCall>& ThemeCallLog() { return State().log; }

void ClearThemeCallLog()
{
    TLock guard(State().lock);
    State().log.clear();
}

void ResetThemeModuleForTesting()
{
    TLock guard(State().lock);
    TThemeState& s = State();
    s.module = TThemeModuleState::Inactive;
    s.appProperties = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS;
    s.themingEnabled = true;
    s.windows.clear();
    s.log.clear();
    s.painter = nullptr;
}

bool ThemeModulePresent() { return ThemeModuleState() != TThemeModuleState::Absent; }

TModuleExports ThemeModuleExports()
{
    return {
        {"DrawThemeEdge", ModuleEntry(&DrawThemeEdgeEntry)},
        {"DrawThemeBackground", ModuleEntry(&DrawThemeBackgroundEntry)},
        {"DrawThemeParentBackground", ModuleEntry(&DrawThemeParentBackgroundEntry)},
        {"DrawThemeText", ModuleEntry(&DrawThemeTextEntry)},
        {"DrawThemeIcon", ModuleEntry(&DrawThemeIconEntry)},
        {"OpenThemeData", ModuleEntry(&OpenThemeDataEntry)},
        {"CloseThemeData", ModuleEntry(&CloseThemeDataEntry)},
        {"IsThemeBackgroundPartiallyTransparent", ModuleEntry(&IsThemeBackgroundPartiallyTransparentEntry)},
        {"GetThemeBackgroundContentRect", ModuleEntry(&GetThemeBackgroundContentRectEntry)},
        {"SetWindowTheme", ModuleEntry(&SetWindowThemeEntry)},
        {"SetThemeAppProperties", ModuleEntry(&SetThemeAppPropertiesEntry)},
        {"IsThemePartDefined", ModuleEntry(&IsThemePartDefinedEntry)},
        {"GetThemeColor", ModuleEntry(&GetThemeColorEntry)},
        {"GetThemeMetric", ModuleEntry(&GetThemeMetricEntry)},
        {"GetThemeString", ModuleEntry(&GetThemeStringEntry)},
        {"GetThemeBool", ModuleEntry(&GetThemeBoolEntry)},
        {"GetThemeInt", ModuleEntry(&GetThemeIntEntry)},
        {"GetThemeEnumValue", ModuleEntry(&GetThemeEnumValueEntry)},
        {"GetThemePosition", ModuleEntry(&GetThemePositionEntry)},
        {"GetThemeFont", ModuleEntry(&GetThemeFontEntry)},
        {"GetThemeRect", ModuleEntry(&GetThemeRectEntry)},
        {"GetThemeFilename", ModuleEntry(&GetThemeFilenameEntry)},
        {"GetThemeSysColor", ModuleEntry(&GetThemeSysColorEntry)},
        {"GetThemeSysColorBrush", ModuleEntry(&GetThemeSysColorBrushEntry)},
        {"GetThemeSysBool", ModuleEntry(&GetThemeSysBoolEntry)},
        {"IsThemeActive", ModuleEntry(&IsThemeActiveEntry)},
        {"IsAppThemed", ModuleEntry(&IsAppThemedEntry)},
        {"GetWindowTheme", ModuleEntry(&GetWindowThemeEntry)},
        {"EnableThemeDialogTexture", ModuleEntry(&EnableThemeDialogTextureEntry)},
        {"IsThemeDialogTextureEnabled", ModuleEntry(&IsThemeDialogTextureEnabledEntry)},
        {"EnableTheming", ModuleEntry(&EnableThemingEntry)},
    };
}
