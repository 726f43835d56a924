// The clipboard. CF_TEXT is kept as a copy: the handle given to SetClipboardData is read as a
// NUL-terminated text at once and stays the caller's. Headless, the clipboard is this
// process's own store; with a bridge installed (the X11 backend's selection), setting text
// also offers it to the other programs, and while another program owns the shared
// clipboard, reading text asks that program for it.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/user/User.h"

#include <optional>

class ClipboardBridge {
public:
    virtual ~ClipboardBridge() = default;
    // This process holds the shared clipboard.
    virtual bool Owns() = 0;
    // Offers the text (Windows-1252, CR/LF line ends) to the other programs.
    virtual void Own(const AnsiString& text) = 0;
    // Gives the shared clipboard up (it was emptied here), when this process holds it.
    virtual void Release() = 0;
    // The text of the program that holds the shared clipboard; none when there is none.
    virtual std::optional<AnsiString> Fetch() = 0;
};
// Installs the bridge (nullptr: back to the process's own store).
void UserSetClipboardBridge(ClipboardBridge* bridge);
ClipboardBridge* UserClipboardBridge();

// Text on the clipboard (empty when there is none).
AnsiString UserClipboardText();
// Replaces the clipboard contents with a text (as open, empty, set, close).
void UserSetClipboardText(const AnsiString& text);
void UserResetClipboard();
