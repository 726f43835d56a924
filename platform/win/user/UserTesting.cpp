// Clean start and state access for tests.
#include "platform/win/user/UserTesting.h"

#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/Focus.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/Painting.h"
#include "platform/win/user/ShellBrowse.h"
#include "platform/win/user/WindowObject.h"

void UserResetWindowSystem() {
    for (HWND top : std::vector<HWND>(UserDesktop().children))
        DestroyWindow(top);
    UserResetCaret();
    UserResetPainting();
    UserResetWindowTable();
    UserResetQueue();
    UserResetInput();
    UserResetFocus();
    UserResetTimers();
    UserResetClipboard();
    UserResetMenus();
    UserSetPopupMenuResponder(nullptr);
    UserSetMessageBoxResponder(nullptr);
    UserSetOpenFileResponder(nullptr);
    UserSetFolderBrowseResponder(nullptr);
}

Surface* UserWindowSurface(HWND topLevel) {
    WindowObject* w = UserFindWindow(topLevel);
    return w ? w->surface.get() : nullptr;
}

void UserSetScreenSize(int width, int height) { SetScreenSize(width, height); }
