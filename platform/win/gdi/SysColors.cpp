// The system colour table (the classic Windows scheme) and its brushes.
#include "platform/win/gdi/DeviceContext.h"

#include <array>

namespace {

constexpr std::array<COLORREF, GDI_SYS_COLOR_COUNT> kClassic = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(223, 223, 223),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25: unused slot
    RGB(0, 0, 255),      // COLOR_HOTLIGHT
    RGB(16, 132, 208),   // COLOR_GRADIENTACTIVECAPTION
    RGB(181, 181, 181),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(0, 0, 128),      // COLOR_MENUHILIGHT
    RGB(192, 192, 192),  // COLOR_MENUBAR
};

struct SysColorState {
    std::array<COLORREF, GDI_SYS_COLOR_COUNT> colors = kClassic;
    std::array<HBRUSH, GDI_SYS_COLOR_COUNT> brushes{};
};

SysColorState& State() {
    static SysColorState state;
    return state;
}

bool ValidIndex(int index) { return index >= 0 && index < GDI_SYS_COLOR_COUNT; }

// System brushes are stock objects: DeleteObject leaves them alone.
void ReplaceBrush(int index) {
    SysColorState& s = State();
    if (!s.brushes[index])
        return;
    GdiObject* old = GdiLookupObject(s.brushes[index]);
    if (old) {
        old->stock = false;
        DeleteObject(s.brushes[index]);
    }
    s.brushes[index] = nullptr;
}

} // namespace

DWORD GetSysColor(int index) { return ValidIndex(index) ? State().colors[index] : 0; }

HBRUSH GetSysColorBrush(int index) {
    if (!ValidIndex(index))
        return nullptr;
    SysColorState& s = State();
    if (!s.brushes[index]) {
        s.brushes[index] = CreateSolidBrush(s.colors[index]);
        GdiLookupObject(s.brushes[index])->stock = true;
    }
    return s.brushes[index];
}

BOOL SetSysColors(int count, const int* indices, const COLORREF* colors) {
    if (count < 0 || (count > 0 && (!indices || !colors)))
        return FALSE;
    for (int i = 0; i < count; ++i) {
        if (!ValidIndex(indices[i]))
            continue;
        State().colors[indices[i]] = colors[i] & 0xFFFFFF;
        ReplaceBrush(indices[i]);
    }
    return TRUE;
}

void GdiResetSysColors() {
    for (int i = 0; i < GDI_SYS_COLOR_COUNT; ++i)
        ReplaceBrush(i);
    State().colors = kClassic;
}
