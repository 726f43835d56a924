// Faces are rounded by one pixel at each corner (the corner pixels stay untouched, so the
// parent shows through) and shaded from a light top to a darker bottom. Edits are flat with
// a thin border; check boxes, radio buttons and window buttons carry their marks.
#include "platform/win/kernel/ThemeStyle.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/UxTheme.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

struct TClassInfo {
    TThemeClass themeClass;
    const char* name;
};

constexpr TClassInfo kClasses[] = {
    {TThemeClass::Button, "BUTTON"},   {TThemeClass::Edit, "EDIT"},       {TThemeClass::ComboBox, "COMBOBOX"},
    {TThemeClass::Toolbar, "TOOLBAR"}, {TThemeClass::Window, "WINDOW"},
};

// Number of states of a part; 0 for a part the class does not have.
int StateCount(TThemeClass themeClass, int part)
{
    switch (themeClass) {
    case TThemeClass::Button:
        switch (part) {
        case BP_PUSHBUTTON: case BP_USERBUTTON: return 5;
        case BP_RADIOBUTTON: return 8;
        case BP_CHECKBOX: return 12;
        case BP_GROUPBOX: return 2;
        default: return 0;
        }
    case TThemeClass::Edit: return part == EP_EDITTEXT ? 7 : 0;
    case TThemeClass::ComboBox: return part == CP_DROPDOWNBUTTON ? 4 : 0;
    case TThemeClass::Toolbar: return part >= TP_BUTTON && part <= TP_SEPARATORVERT ? 6 : 0;
    case TThemeClass::Window:
        if (part >= WP_CAPTION && part <= WP_SMALLMAXCAPTION)
            return 3;
        if (part >= WP_FRAMELEFT && part <= WP_SMALLFRAMEBOTTOM)
            return 2;
        return part >= WP_SYSBUTTON && part <= WP_MDIHELPBUTTON ? 4 : 0;
    }
    return 0;
}

bool IsWindowButton(int part) { return part >= WP_SYSBUTTON && part <= WP_MDIHELPBUTTON; }
bool IsCaption(int part) { return part >= WP_CAPTION && part <= WP_SMALLMAXCAPTION; }
bool IsSeparator(TThemeClass c, int part) { return c == TThemeClass::Toolbar && part >= TP_SEPARATOR; }

// Push-button-like states: 1 normal, 2 hot, 3 pressed, 4 disabled, 5 defaulted.
TThemeColors FaceColors(int state)
{
    switch (state) {
    case 2: return {RGB(255, 255, 255), RGB(236, 221, 190), RGB(230, 160, 40), RGB(0, 0, 0)};
    case 3: return {RGB(214, 208, 197), RGB(240, 238, 232), RGB(0, 60, 116), RGB(0, 0, 0)};
    case 4: return {RGB(245, 244, 234), RGB(245, 244, 234), RGB(201, 199, 186), RGB(161, 161, 146)};
    case 5: return {RGB(255, 255, 255), RGB(214, 208, 197), RGB(60, 110, 200), RGB(0, 0, 0)};
    default: return {RGB(255, 255, 255), RGB(214, 208, 197), RGB(0, 60, 116), RGB(0, 0, 0)};
    }
}

// Edit states: 1 normal, 2 hot, 3 selected, 4 disabled, 5 focused, 6 read-only, 7 assist.
TThemeColors EditColors(int state)
{
    switch (state) {
    case 2: case 5: return {RGB(255, 255, 255), RGB(255, 255, 255), RGB(60, 110, 200), RGB(0, 0, 0)};
    case 4: return {RGB(235, 235, 228), RGB(235, 235, 228), RGB(201, 199, 186), RGB(161, 161, 146)};
    case 6: return {RGB(245, 245, 245), RGB(245, 245, 245), RGB(127, 157, 185), RGB(0, 0, 0)};
    default: return {RGB(255, 255, 255), RGB(255, 255, 255), RGB(127, 157, 185), RGB(0, 0, 0)};
    }
}

TThemeColors CaptionColors(int state)
{
    if (state == CS_ACTIVE)
        return {RGB(0, 88, 238), RGB(0, 60, 180), RGB(0, 40, 140), RGB(255, 255, 255)};
    return {RGB(157, 185, 235), RGB(122, 150, 223), RGB(100, 125, 200), RGB(216, 228, 248)};
}

// The 1..4 cycle of check box and radio button states (unchecked, checked, mixed).
int BoxFaceState(int state) { return ((state - 1) % 4) + 1; }

COLORREF Blend(COLORREF from, COLORREF to, int step, int steps)
{
    if (steps <= 1)
        return from;
    auto mix = [&](BYTE a, BYTE b) { return static_cast<BYTE>(a + (static_cast<int>(b) - a) * step / (steps - 1)); };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)), mix(GetBValue(from), GetBValue(to)));
}

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF color)
{
    if (right <= left || bottom <= top)
        return;
    const RECT r{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// Rounded, shaded face with a one-pixel border; the four outer corner pixels stay untouched.
void PaintFace(HDC dc, const RECT& r, const TThemeColors& colors)
{
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width < 4 || height < 4) {
        Fill(dc, r.left, r.top, r.right, r.bottom, colors.border);
        return;
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        const int inset = (y == r.top + 1 || y == r.bottom - 2) ? 1 : 0;
        Fill(dc, r.left + 1 + inset, y, r.right - 1 - inset, y + 1, Blend(colors.top, colors.bottom, y - r.top - 1, height - 2));
    }
    Fill(dc, r.left + 2, r.top, r.right - 2, r.top + 1, colors.border);
    Fill(dc, r.left + 2, r.bottom - 1, r.right - 2, r.bottom, colors.border);
    Fill(dc, r.left, r.top + 2, r.left + 1, r.bottom - 2, colors.border);
    Fill(dc, r.right - 1, r.top + 2, r.right, r.bottom - 2, colors.border);
    for (const POINT p : {POINT{r.left + 1, r.top + 1}, POINT{r.right - 2, r.top + 1}, POINT{r.left + 1, r.bottom - 2},
                          POINT{r.right - 2, r.bottom - 2}})
        SetPixelV(dc, p.x, p.y, colors.border);
}

void PaintFlat(HDC dc, const RECT& r, const TThemeColors& colors)
{
    Fill(dc, r.left, r.top, r.right, r.bottom, colors.border);
    Fill(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, colors.top);
}

void PaintFrameLine(HDC dc, const RECT& r, COLORREF color)
{
    Fill(dc, r.left, r.top, r.right, r.top + 1, color);
    Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, color);
    Fill(dc, r.left, r.top, r.left + 1, r.bottom, color);
    Fill(dc, r.right - 1, r.top, r.right, r.bottom, color);
}

// A 7 x 7 tick, three pixels thick, with its top-left at (x, y).
void PaintTick(HDC dc, int x, int y, COLORREF color)
{
    constexpr int kRows[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 3; ++k)
            SetPixelV(dc, x + i, y + kRows[i] + k, color);
}

// A downward triangle of the given colour centred in r.
void PaintArrow(HDC dc, const RECT& r, COLORREF color)
{
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2 - 1;
    for (int k = 0; k < 4; ++k)
        Fill(dc, cx - 3 + k, cy + k, cx + 4 - k, cy + k + 1, color);
}

void PaintCross(HDC dc, const RECT& r, COLORREF color)
{
    const int size = std::min(r.right - r.left, r.bottom - r.top) / 2;
    const int x = (r.left + r.right - size) / 2, y = (r.top + r.bottom - size) / 2;
    for (int i = 0; i < size; ++i) {
        Fill(dc, x + i, y + i, x + i + 2, y + i + 1, color);
        Fill(dc, x + size - 1 - i, y + i, x + size + 1 - i, y + i + 1, color);
    }
}

// Check boxes and radio buttons: a 13 x 13 box at the left, vertically centred.
void PaintBox(HDC dc, int part, int state, const RECT& r)
{
    const int top = r.top + (r.bottom - r.top - 13) / 2;
    const RECT box{r.left, top, r.left + 13, top + 13};
    const TThemeColors colors = ThemePartColors(TThemeClass::Button, part, state);
    if (part == BP_RADIOBUTTON)
        PaintFace(dc, box, colors);
    else
        PaintFlat(dc, box, colors);
    const int kind = (state - 1) / 4; // 0 unchecked, 1 checked, 2 mixed
    if (kind == 1 && part == BP_CHECKBOX)
        PaintTick(dc, box.left + 3, box.top + 3, colors.text);
    else if (kind == 1)
        Fill(dc, box.left + 4, box.top + 4, box.left + 9, box.top + 9, colors.text);
    else if (kind == 2)
        Fill(dc, box.left + 3, box.top + 3, box.left + 10, box.top + 10, RGB(115, 200, 115));
}

void PaintSeparator(HDC dc, int part, const RECT& r, COLORREF color)
{
    if (part == TP_SEPARATOR) {
        const int x = (r.left + r.right) / 2;
        Fill(dc, x, r.top, x + 1, r.bottom, color);
    } else {
        const int y = (r.top + r.bottom) / 2;
        Fill(dc, r.left, y, r.right, y + 1, color);
    }
}

// The style's edge colours, lightest first.
constexpr COLORREF kEdgeLight = RGB(255, 255, 255);
constexpr COLORREF kEdgeHighlight = RGB(241, 239, 226);
constexpr COLORREF kEdgeShadow = RGB(172, 168, 153);
constexpr COLORREF kEdgeDarkShadow = RGB(113, 111, 100);
constexpr COLORREF kEdgeFill = RGB(236, 233, 216);

// One ring of an edge: its top-left and bottom-right colours, drawn on the flagged sides.
void PaintRing(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight, UINT flags)
{
    if (flags & BF_TOP)
        Fill(dc, r.left, r.top, r.right, r.top + 1, topLeft);
    if (flags & BF_LEFT)
        Fill(dc, r.left, r.top, r.left + 1, r.bottom, topLeft);
    if (flags & BF_BOTTOM)
        Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    if (flags & BF_RIGHT)
        Fill(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
    r.left += (flags & BF_LEFT) ? 1 : 0;
    r.top += (flags & BF_TOP) ? 1 : 0;
    r.right -= (flags & BF_RIGHT) ? 1 : 0;
    r.bottom -= (flags & BF_BOTTOM) ? 1 : 0;
}

} // namespace

RECT PaintThemeEdge(HDC dc, const RECT& rect, UINT edge, UINT flags)
{
    RECT r = rect;
    if (edge & BDR_RAISEDOUTER)
        PaintRing(dc, r, kEdgeHighlight, kEdgeDarkShadow, flags);
    else if (edge & BDR_SUNKENOUTER)
        PaintRing(dc, r, kEdgeShadow, kEdgeLight, flags);
    if (edge & BDR_RAISEDINNER)
        PaintRing(dc, r, kEdgeLight, kEdgeShadow, flags);
    else if (edge & BDR_SUNKENINNER)
        PaintRing(dc, r, kEdgeDarkShadow, kEdgeHighlight, flags);
    if (flags & BF_MIDDLE)
        Fill(dc, r.left, r.top, r.right, r.bottom, kEdgeFill);
    return r;
}

std::optional<TThemeClass> ThemeClassFromList(std::u16string_view classList)
{
    std::size_t start = 0;
    while (start <= classList.size()) {
        std::size_t end = classList.find(u';', start);
        if (end == std::u16string_view::npos)
            end = classList.size();
        std::u16string_view item = classList.substr(start, end - start);
        if (const std::size_t scope = item.rfind(u"::"); scope != std::u16string_view::npos)
            item.remove_prefix(scope + 2);
        std::string name;
        for (char16_t c : item)
            name += c < 128 ? static_cast<char>(std::toupper(static_cast<int>(c))) : '?';
        for (const TClassInfo& info : kClasses)
            if (name == info.name)
                return info.themeClass;
        start = end + 1;
    }
    return std::nullopt;
}

const char* ThemeClassName(TThemeClass themeClass)
{
    for (const TClassInfo& info : kClasses)
        if (info.themeClass == themeClass)
            return info.name;
    return "";
}

bool ThemePartDefined(TThemeClass themeClass, int part, int state)
{
    const int states = StateCount(themeClass, part);
    return states > 0 && (state == 0 || (state >= 1 && state <= states));
}

bool ThemePartPartiallyTransparent(TThemeClass themeClass, int part, int state)
{
    switch (themeClass) {
    case TThemeClass::Button: return part != BP_CHECKBOX;
    case TThemeClass::Edit: return false;
    case TThemeClass::ComboBox: return true;
    case TThemeClass::Toolbar: return true;
    case TThemeClass::Window: return IsCaption(part) || IsWindowButton(part);
    }
    return false;
}

TThemeColors ThemePartColors(TThemeClass themeClass, int part, int state)
{
    switch (themeClass) {
    case TThemeClass::Button:
        if (part == BP_GROUPBOX)
            return {RGB(255, 255, 255), RGB(255, 255, 255), RGB(208, 208, 191), state == 2 ? RGB(161, 161, 146) : RGB(0, 70, 213)};
        if (part == BP_CHECKBOX || part == BP_RADIOBUTTON) {
            TThemeColors c = FaceColors(BoxFaceState(state));
            c.border = BoxFaceState(state) == 4 ? RGB(201, 199, 186) : RGB(28, 81, 128);
            c.text = BoxFaceState(state) == 4 ? RGB(161, 161, 146) : RGB(33, 161, 33);
            return c;
        }
        return FaceColors(state);
    case TThemeClass::Edit: return EditColors(state);
    case TThemeClass::ComboBox: {
        TThemeColors c = FaceColors(state);
        c.top = state == CBXS_DISABLED ? c.top : RGB(220, 230, 252);
        c.bottom = state == CBXS_DISABLED ? c.bottom : (state == CBXS_PRESSED ? RGB(150, 175, 235) : RGB(180, 200, 245));
        c.border = state == CBXS_DISABLED ? c.border : RGB(150, 170, 220);
        c.text = state == CBXS_DISABLED ? c.text : RGB(77, 97, 133);
        return c;
    }
    case TThemeClass::Toolbar: {
        // Toolbar states: 5 checked and 6 hot-checked look pressed and hot.
        const int face = state == TS_CHECKED ? PBS_PRESSED : (state == TS_HOTCHECKED ? PBS_HOT : state);
        TThemeColors c = FaceColors(face);
        c.border = face == PBS_DISABLED ? c.border : RGB(140, 140, 140);
        return c;
    }
    case TThemeClass::Window:
        if (IsWindowButton(part)) {
            TThemeColors c = FaceColors(state);
            const bool close = part == WP_CLOSEBUTTON || part == WP_SMALLCLOSEBUTTON || part == WP_MDICLOSEBUTTON;
            c.top = close ? RGB(230, 120, 90) : RGB(120, 160, 245);
            c.bottom = close ? RGB(200, 60, 30) : RGB(40, 90, 220);
            c.border = RGB(255, 255, 255);
            c.text = RGB(255, 255, 255);
            return c;
        }
        return CaptionColors(IsCaption(part) ? state : (state == 1 ? CS_ACTIVE : CS_INACTIVE));
    }
    return FaceColors(state);
}

RECT ThemeContentRect(TThemeClass themeClass, int part, const RECT& bounds)
{
    int margin = 0;
    switch (themeClass) {
    case TThemeClass::Button: margin = (part == BP_PUSHBUTTON || part == BP_USERBUTTON) ? 3 : 0; break;
    case TThemeClass::Edit: margin = 1; break;
    case TThemeClass::ComboBox: margin = 1; break;
    case TThemeClass::Toolbar: margin = IsSeparator(themeClass, part) ? 0 : 2; break;
    case TThemeClass::Window: margin = IsWindowButton(part) ? 2 : 0; break;
    }
    return RECT{bounds.left + margin, bounds.top + margin, bounds.right - margin, bounds.bottom - margin};
}

void PaintThemePart(HDC dc, TThemeClass themeClass, int part, int state, const RECT& rect)
{
    const int used = state == 0 ? 1 : state;
    const TThemeColors colors = ThemePartColors(themeClass, part, used);
    switch (themeClass) {
    case TThemeClass::Button:
        if (part == BP_GROUPBOX)
            PaintFrameLine(dc, rect, colors.border);
        else if (part == BP_CHECKBOX || part == BP_RADIOBUTTON)
            PaintBox(dc, part, used, rect);
        else
            PaintFace(dc, rect, colors);
        return;
    case TThemeClass::Edit:
        PaintFlat(dc, rect, colors);
        return;
    case TThemeClass::ComboBox:
        PaintFace(dc, rect, colors);
        PaintArrow(dc, rect, colors.text);
        return;
    case TThemeClass::Toolbar:
        if (IsSeparator(themeClass, part))
            PaintSeparator(dc, part, rect, colors.border);
        else if (used != TS_NORMAL)
            PaintFace(dc, rect, colors); // a normal toolbar button is flat: nothing is drawn
        if (part == TP_DROPDOWNBUTTON || part == TP_SPLITBUTTONDROPDOWN)
            PaintArrow(dc, rect, colors.text);
        return;
    case TThemeClass::Window:
        if (IsWindowButton(part)) {
            PaintFace(dc, rect, colors);
            if (part == WP_CLOSEBUTTON || part == WP_SMALLCLOSEBUTTON || part == WP_MDICLOSEBUTTON)
                PaintCross(dc, rect, colors.text);
        } else if (IsCaption(part)) {
            PaintFace(dc, rect, colors);
        } else {
            Fill(dc, rect.left, rect.top, rect.right, rect.bottom, colors.bottom);
        }
        return;
    }
}
