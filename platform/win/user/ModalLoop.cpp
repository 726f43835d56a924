// Modal loops of the message box and the common dialogs.
#include "platform/win/user/ModalLoop.h"

#include "platform/win/user/WindowObject.h"

#include <algorithm>

bool UserRunModalLoop(HWND dialog, HWND owner, const std::function<bool(const MSG&)>& handleKey,
                      const std::function<bool()>& done) {
    const bool ownerEnabled = owner && IsWindowEnabled(owner);
    if (ownerEnabled)
        EnableWindow(owner, FALSE);
    bool inputLeft = true;
    while (IsWindow(dialog) && !done()) {
        MSG m{};
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!WaitMessage()) {
                inputLeft = false;
                break;
            }
            continue;
        }
        if ((m.message == WM_KEYDOWN || m.message == WM_CHAR) && handleKey(m))
            continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    if (ownerEnabled && IsWindow(owner))
        EnableWindow(owner, TRUE);
    return inputLeft;
}

POINT UserPlaceOverOwner(HWND owner, SIZE size) {
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    RECT area = screen;
    if (owner)
        GetWindowRect(UserTopLevelOf(owner), &area);
    const LONG x = area.left + ((area.right - area.left) - size.cx) / 2;
    const LONG y = area.top + ((area.bottom - area.top) - size.cy) / 2;
    return {std::max(screen.left, std::min(x, screen.right - size.cx)),
            std::max(screen.top, std::min(y, screen.bottom - size.cy))};
}
