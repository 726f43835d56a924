// The visual style behind the theme library: which parts and states each class has, their
// colours, content margins, and how a part is painted (with GDI calls only).
#pragma once

#include "platform/win/WinTypes.h"

#include <optional>
#include <string_view>

enum class TThemeClass : BYTE { Button, Edit, ComboBox, Toolbar, Window };

// The class of a theme class list ("BUTTON", "Edit;Combobox", "Explorer::Toolbar"): the
// first known name, without regard to case.
std::optional<TThemeClass> ThemeClassFromList(std::u16string_view classList);
const char* ThemeClassName(TThemeClass themeClass);

struct TThemeColors {
    COLORREF top;    // face colour at the top edge (shading runs down to bottom)
    COLORREF bottom;
    COLORREF border;
    COLORREF text;
};

bool ThemePartDefined(TThemeClass themeClass, int part, int state);
bool ThemePartPartiallyTransparent(TThemeClass themeClass, int part, int state);
TThemeColors ThemePartColors(TThemeClass themeClass, int part, int state);
// The area inside the part's border.
RECT ThemeContentRect(TThemeClass themeClass, int part, const RECT& bounds);
// Paints a defined part into the rectangle of the device context.
void PaintThemePart(HDC dc, TThemeClass themeClass, int part, int state, const RECT& rect);
// Paints the style's edges (BDR_ kinds, BF_ sides, BF_MIDDLE) in its own edge colours and
// answers the rectangle inside them; only the flagged sides move in.
RECT PaintThemeEdge(HDC dc, const RECT& rect, UINT edge, UINT flags);
