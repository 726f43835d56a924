// The in-process clipboard. CF_TEXT is kept as a copy: the handle given to SetClipboardData
// is read as a NUL-terminated text at once and stays the caller's.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/user/User.h"

// Text on the clipboard (empty when there is none).
AnsiString UserClipboardText();
// Replaces the clipboard contents with a text (as open, empty, set, close).
void UserSetClipboardText(const AnsiString& text);
void UserResetClipboard();
