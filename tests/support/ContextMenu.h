// A right click that opens a control's own context menu, read as the user sees it, with one
// item chosen by its caption.
#pragma once

#include "platform/win/user/Input.h"
#include "platform/win/user/Menus.h"
#include "tests/support/KeyboardInput.h"

#include <ostream>
#include <string>
#include <vector>

// One item of a shown menu: its caption ("-" for a separator) and whether it is enabled.
struct MenuEntry {
    std::string caption;
    bool enabled;
    bool operator==(const MenuEntry&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const MenuEntry& e)
    {
        return out << '"' << e.caption << (e.enabled ? "\" on" : "\" off");
    }
};

// Right-clicks at the screen point `at`; answers the items of the menu that opens, after
// choosing the one captioned `choose` (none: the menu is dismissed).
inline std::vector<MenuEntry> RightClickMenu(POINT at, const std::string& choose)
{
    std::vector<MenuEntry> shown;
    UserSetPopupMenuResponder([&](HMENU menu, POINT) -> UINT {
        UINT chosen = 0;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char caption[64] = {};
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            GetMenuStringA(menu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
            const std::string text = state & MF_SEPARATOR ? "-" : caption;
            shown.push_back({text, !(state & (MF_GRAYED | MF_DISABLED))});
            if (text == choose)
                chosen = GetMenuItemID(menu, i);
        }
        return chosen;
    });
    UserInjectClick(at.x, at.y, MouseButton::Right);
    PumpKeys();
    UserSetPopupMenuResponder(nullptr);
    return shown;
}
