// Modal dialogs of the window system: the message box, the open-file dialog and the
// folder browser. Each is a real modal window of the window system; a scripted
// responder set by tests answers in its place.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/user/User.h"

#include <functional>
#include <optional>

// ---------------------------------------------------------------- message box
constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
               MB_RETRYCANCEL = 0x5, MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10,
               MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40,
               MB_ICONINFORMATION = 0x40, MB_DEFBUTTON1 = 0x0, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200,
               MB_APPLMODAL = 0x0, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000, MB_TYPEMASK = 0xF,
               MB_ICONMASK = 0xF0, MB_DEFMASK = 0xF00;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
inline int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) { return MessageBoxA(owner, text, caption, type); }

struct MessageBoxRequest {
    HWND owner;
    AnsiString text;
    AnsiString caption;
    UINT type;
};
// Answers the button id; empty: the real message box runs.
using MessageBoxResponder = std::function<int(const MessageBoxRequest&)>;
void UserSetMessageBoxResponder(MessageBoxResponder responder);
// The answer a box gives when it is dismissed without a choice (closing it, or no input can arrive).
int UserMessageBoxDismissAnswer(UINT type);
