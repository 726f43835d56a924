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
    ClipboardBridge* bridge = nullptr;
};

ClipboardState& State() {
    static ClipboardState state;
    return state;
}

// Another program holds the shared clipboard: its text replaces the store's (none: empty).
void FollowSharedClipboard(ClipboardState& s) {
    if (!s.bridge || s.bridge->Owns())
        return;
    std::optional<AnsiString> shared = s.bridge->Fetch();
    if (shared)
        s.text = shared->str();
    else
        s.text.reset();
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
    if (s.bridge)
        s.bridge->Release();
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    ClipboardState& s = State();
    if (!s.open || format != CF_TEXT || !data)
        return nullptr;
    s.text = std::string(static_cast<const char*>(data));
    if (s.bridge)
        s.bridge->Own(AnsiString(*s.text));
    return data;
}

HANDLE GetClipboardData(UINT format) {
    ClipboardState& s = State();
    if (!s.open || format != CF_TEXT)
        return nullptr;
    FollowSharedClipboard(s);
    if (!s.text)
        return nullptr;
    return const_cast<char*>(s.text->c_str());
}

BOOL IsClipboardFormatAvailable(UINT format) {
    ClipboardState& s = State();
    if (format != CF_TEXT)
        return FALSE;
    FollowSharedClipboard(s);
    return s.text ? TRUE : FALSE;
}

HWND GetClipboardOwner() { return State().owner; }

AnsiString UserClipboardText() {
    ClipboardState& s = State();
    FollowSharedClipboard(s);
    return s.text ? AnsiString(*s.text) : AnsiString();
}

void UserSetClipboardText(const AnsiString& text) {
    ClipboardState& s = State();
    s.text = text.str();
    s.owner = nullptr;
    if (s.bridge)
        s.bridge->Own(text);
}

void UserResetClipboard() {
    ClipboardBridge* bridge = State().bridge;
    State() = ClipboardState{};
    State().bridge = bridge;
}

void UserSetClipboardBridge(ClipboardBridge* bridge) { State().bridge = bridge; }

ClipboardBridge* UserClipboardBridge() { return State().bridge; }
