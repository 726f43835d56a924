// Modal loops of the message box and the common dialogs.
#include "platform/win/user/ModalLoop.h"

#include "platform/win/user/WindowObject.h"

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
