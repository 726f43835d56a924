// OpenClipboard/EmptyClipboard/SetClipboardData/GetClipboardData/CloseClipboard.
#include "platform/win/user/Clipboard.h"

#include "platform/win/user/WindowObject.h"

#include <optional>
#include <string>

namespace {

struct ClipboardState {
    bool open = false;
    HWND openedBy = nullptr;
    HWND owner = nullptr;
    std::optional<std::string> text;
};

ClipboardState& State() {
    static ClipboardState state;
    return state;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
    ClipboardState& s = State();
    if (s.open)
        return FALSE;
    s.open = true;
    s.openedBy = owner;
    return TRUE;
}

BOOL CloseClipboard() {
    ClipboardState& s = State();
    if (!s.open)
        return FALSE;
    s.open = false;
    return TRUE;
}

BOOL EmptyClipboard() {
    ClipboardState& s = State();
    if (!s.open)
        return FALSE;
    s.text.reset();
    s.owner = s.openedBy;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    ClipboardState& s = State();
    if (!s.open || format != CF_TEXT || !data)
        return nullptr;
    s.text = std::string(static_cast<const char*>(data));
    return data;
}

HANDLE GetClipboardData(UINT format) {
    ClipboardState& s = State();
    if (!s.open || format != CF_TEXT || !s.text)
        return nullptr;
    return const_cast<char*>(s.text->c_str());
}

BOOL IsClipboardFormatAvailable(UINT format) { return format == CF_TEXT && State().text ? TRUE : FALSE; }

HWND GetClipboardOwner() { return State().owner; }

AnsiString UserClipboardText() {
    const ClipboardState& s = State();
    return s.text ? AnsiString(*s.text) : AnsiString();
}

void UserSetClipboardText(const AnsiString& text) {
    ClipboardState& s = State();
    s.text = text.str();
    s.owner = nullptr;
}

void UserResetClipboard() { State() = ClipboardState{}; }
