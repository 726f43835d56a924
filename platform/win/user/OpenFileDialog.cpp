// GetOpenFileName: folder listing through the filter, file-name edit, OK and Cancel.
#include "platform/win/user/CommonDialogs.h"

#include "platform/rtl/CodePage.h"
#include "platform/rtl/FileSystem.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/ModalLoop.h"
#include "platform/win/user/WindowObject.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr char kDialogClass[] = "VendaroOpenFile";
constexpr int kNameEdit = 100, kFileList = 101, kLookIn = 102, kFileType = 103;

struct DialogState {
    AnsiString folder;    // Windows form, no trailing backslash unless a drive root
    LPCSTR filter = nullptr;
    DWORD filterIndex = 1;  // 1-based, of the filter shown
    AnsiString patterns;    // of the chosen filter
    std::vector<HWND> tabOrder;
    bool done = false;
    std::optional<AnsiString> result;
};

DWORD& LastError() {
    static DWORD error = 0;
    return error;
}

OpenFileResponder& Responder() {
    static OpenFileResponder responder;
    return responder;
}

bool WildcardMatch(const char* pattern, const char* name) {
    if (!*pattern)
        return !*name;
    if (*pattern == '*')
        return WildcardMatch(pattern + 1, name) || (*name && WildcardMatch(pattern, name + 1));
    if (!*name)
        return false;
    if (*pattern != '?' && std::tolower(static_cast<unsigned char>(*pattern)) != std::tolower(static_cast<unsigned char>(*name)))
        return false;
    return WildcardMatch(pattern + 1, name + 1);
}

// The pattern list of the 1-based filter index from "Name\0Patterns\0...\0\0".
AnsiString FilterPatterns(LPCSTR filter, DWORD index) {
    if (!filter)
        return "*.*";
    DWORD n = 1;
    for (const char* p = filter; *p;) {
        const char* patterns = p + std::strlen(p) + 1;
        if (!*patterns)
            break;
        if (n == std::max<DWORD>(index, 1))
            return patterns;
        p = patterns + std::strlen(patterns) + 1;
        ++n;
    }
    return "*.*";
}

// The names of the filter's entries, in order.
std::vector<AnsiString> FilterNames(LPCSTR filter) {
    std::vector<AnsiString> names;
    for (const char* p = filter; p && *p;) {
        const char* patterns = p + std::strlen(p) + 1;
        if (!*patterns)
            break;
        names.emplace_back(p);
        p = patterns + std::strlen(patterns) + 1;
    }
    return names;
}

AnsiString Join(const AnsiString& folder, const AnsiString& name) {
    if (folder.IsEmpty())
        return name;
    return folder[folder.Length()] == '\\' ? folder + name : folder + "\\" + name;
}

bool IsAbsolute(const AnsiString& path) { return path.Length() >= 2 && (path[2] == ':' || path[1] == '\\'); }

AnsiString ParentOf(const AnsiString& folder) {
    int cut = folder.Length();
    while (cut > 0 && folder[cut] != '\\')
        --cut;
    if (cut <= 0)
        return folder;
    const AnsiString parent = Copy(folder, 1, cut - 1);
    return parent.Length() == 2 && parent[2] == ':' ? parent + "\\" : parent;
}

std::filesystem::file_status StatusOf(const AnsiString& path) {
    std::error_code error;
    return std::filesystem::status(FileSystem::ToPosixPath(path), error);
}

bool IsFolder(const AnsiString& path) { return std::filesystem::is_directory(StatusOf(path)); }
bool IsFile(const AnsiString& path) { return std::filesystem::is_regular_file(StatusOf(path)); }

struct Listing {
    std::vector<AnsiString> folders;
    std::vector<AnsiString> files;
};

Listing List(const AnsiString& folder, const AnsiString& patterns) {
    Listing l;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(FileSystem::ToPosixPath(folder), error)) {
        const std::string hostName = entry.path().filename().string();
        const AnsiString name = Utf8ToAnsi(hostName);
        // A name the code page cannot write would come back as another path: left out.
        if (AnsiToUtf8(name) != hostName)
            continue;
        std::error_code e;
        if (entry.is_directory(e))
            l.folders.push_back(name);
        else if (UserMatchesFilter(name, patterns))
            l.files.push_back(name);
    }
    std::sort(l.folders.begin(), l.folders.end());
    std::sort(l.files.begin(), l.files.end());
    return l;
}

DialogState& State(HWND dialog) { return *static_cast<DialogState*>(UserFindWindow(dialog)->classData.get()); }

// The folder and each of its parents up to the drive's root, the root first.
std::vector<AnsiString> FolderChain(const AnsiString& folder) {
    std::vector<AnsiString> chain{folder};
    for (AnsiString parent = ParentOf(folder); parent != chain.back() && chain.size() < 256; parent = ParentOf(parent))
        chain.push_back(parent);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

void FillLookIn(HWND dialog) {
    DialogState& s = State(dialog);
    HWND combo = GetDlgItem(dialog, kLookIn);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    const std::vector<AnsiString> chain = FolderChain(s.folder);
    for (const AnsiString& folder : chain)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    SendMessageA(combo, CB_SETCURSEL, chain.size() - 1, 0);
}

void Fill(HWND dialog) {
    DialogState& s = State(dialog);
    HWND list = GetDlgItem(dialog, kFileList);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const Listing l = List(s.folder, s.patterns);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("[..]"));
    for (const AnsiString& f : l.folders)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("[" + f + "]").c_str()));
    for (const AnsiString& f : l.files)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.c_str()));
    FillLookIn(dialog);
}

// The name field with a new text: all of it selected, the caret at its end, so typing replaces it.
void SetName(HWND dialog, const AnsiString& name) {
    HWND edit = GetDlgItem(dialog, kNameEdit);
    SetWindowTextA(edit, name.c_str());
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

AnsiString ComboText(HWND combo, int index) {
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return AnsiString();
    AnsiString text;
    text.SetLength(static_cast<int>(length) + 1);
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.SetLength(static_cast<int>(length));
    return text;
}

AnsiString ItemText(HWND list, int index) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return AnsiString();
    AnsiString text;
    text.SetLength(static_cast<int>(length) + 1);
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.SetLength(static_cast<int>(length));
    return text;
}

// The typed or picked name: a folder moves the listing there, a file ends the dialog.
// A folder picked from the list leaves the name field as the user typed it; a folder
// typed into the name field has been used, so the field empties.
void Accept(HWND dialog, AnsiString name, bool typed) {
    DialogState& s = State(dialog);
    if (name.IsEmpty())
        return;
    if (name.Length() >= 2 && name[1] == '[' && name[name.Length()] == ']')
        name = Copy(name, 2, name.Length() - 2);
    const AnsiString path = name == ".." ? ParentOf(s.folder) : IsAbsolute(name) ? name : Join(s.folder, name);
    if (IsFolder(path)) {
        s.folder = path;
        if (typed)
            SetName(dialog, "");
        Fill(dialog);
        return;
    }
    s.result = path;
    s.done = true;
}

AnsiString EditText(HWND dialog) {
    HWND edit = GetDlgItem(dialog, kNameEdit);
    AnsiString text;
    text.SetLength(GetWindowTextLengthA(edit) + 1);
    text.SetLength(GetWindowTextA(edit, text.data(), text.Length()));
    return text;
}

LRESULT DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && UserFindWindow(window)->classData) {
        DialogState& s = State(window);
        HWND list = GetDlgItem(window, kFileList);
        const int index = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
        switch (LOWORD(wParam)) {
        case IDOK: Accept(window, EditText(window), true); return 0;
        case IDCANCEL: s.done = true; return 0;
        case kFileList:
            if (HIWORD(wParam) == LBN_SELCHANGE && index >= 0 && ItemText(list, index)[1] != '[')
                SetName(window, ItemText(list, index));
            if (HIWORD(wParam) == LBN_DBLCLK && index >= 0)
                Accept(window, ItemText(list, index), false);
            return 0;
        case kLookIn:
            if (HIWORD(wParam) == CBN_SELCHANGE) {
                HWND combo = reinterpret_cast<HWND>(lParam);
                const AnsiString folder = ComboText(combo, static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)));
                if (!folder.IsEmpty() && IsFolder(folder)) {
                    s.folder = folder;
                    Fill(window);
                }
            }
            return 0;
        case kFileType:
            if (HIWORD(wParam) == CBN_SELCHANGE) {
                const LRESULT chosen = SendMessageA(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0);
                if (chosen >= 0) {
                    s.filterIndex = static_cast<DWORD>(chosen) + 1;
                    s.patterns = FilterPatterns(s.filter, s.filterIndex);
                    Fill(window);
                }
            }
            return 0;
        default: return 0;
        }
    }
    if (message == WM_CLOSE) {
        State(window).done = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND Child(HWND dialog, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id, DWORD ex = 0) {
    HWND c = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, dialog,
                             reinterpret_cast<HMENU>(static_cast<DWORD_PTR>(id)), nullptr, nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return c;
}

HWND BuildDialog(const OPENFILENAMEA& ofn, const AnsiString& folder) {
    UserRegisterSystemClass(kDialogClass, 0, DialogProcedure, reinterpret_cast<HBRUSH>(static_cast<DWORD_PTR>(COLOR_BTNFACE + 1)),
                            LoadCursorA(nullptr, IDC_ARROW));
    const char* title = ofn.lpstrTitle ? ofn.lpstrTitle : "Apri";
    constexpr SIZE kSize{420, 360};
    const POINT at = UserPlaceOverOwner(ofn.hwndOwner && IsWindow(ofn.hwndOwner) ? ofn.hwndOwner : nullptr, kSize);
    HWND dialog = CreateWindowExA(WS_EX_DLGMODALFRAME, kDialogClass, title, WS_POPUP | WS_CAPTION | WS_SYSMENU, at.x, at.y,
                                  kSize.cx, kSize.cy, ofn.hwndOwner, nullptr, nullptr, nullptr);
    auto state = std::make_shared<DialogState>();
    state->folder = folder;
    state->filter = ofn.lpstrFilter;
    const std::vector<AnsiString> types = FilterNames(ofn.lpstrFilter);
    state->filterIndex = std::clamp<DWORD>(ofn.nFilterIndex, 1, std::max<DWORD>(static_cast<DWORD>(types.size()), 1));
    state->patterns = FilterPatterns(ofn.lpstrFilter, state->filterIndex);
    UserFindWindow(dialog)->classData = state;
    Child(dialog, "STATIC", "Cerca in:", SS_NOPREFIX, 8, 11, 62, 16, -1);
    HWND lookIn = Child(dialog, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_TABSTOP, 72, 8, 332, 21, kLookIn);
    HWND list = Child(dialog, "LISTBOX", "", LBS_NOTIFY | WS_TABSTOP, 8, 36, 396, 190, kFileList, WS_EX_CLIENTEDGE);
    Child(dialog, "STATIC", "Nome file:", SS_NOPREFIX, 8, 237, 70, 16, -1);
    HWND edit = Child(dialog, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 80, 234, 324, 21, kNameEdit, WS_EX_CLIENTEDGE);
    Child(dialog, "STATIC", "Tipo file:", SS_NOPREFIX, 8, 266, 70, 16, -1);
    HWND type = Child(dialog, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_TABSTOP, 80, 262, 324, 21, kFileType);
    for (const AnsiString& name : types)
        SendMessageA(type, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (types.empty())
        SendMessageA(type, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("*.*"));
    SendMessageA(type, CB_SETCURSEL, state->filterIndex - 1, 0);
    HWND ok = Child(dialog, "BUTTON", "&Apri", BS_DEFPUSHBUTTON | WS_TABSTOP, 248, 294, 75, 23, IDOK);
    HWND cancel = Child(dialog, "BUTTON", "Annulla", WS_TABSTOP, 329, 294, 75, 23, IDCANCEL);
    state->tabOrder = {lookIn, list, edit, type, ok, cancel};
    Fill(dialog);
    if (ofn.lpstrFile && *ofn.lpstrFile)
        SetName(dialog, ofn.lpstrFile);
    ShowWindow(dialog, SW_SHOW);
    SetFocus(edit);
    return dialog;
}

bool IsDropped(HWND window) {
    const WindowObject* w = window ? UserFindWindow(window) : nullptr;
    return w && w->cls && w->cls->name == "COMBOBOX" && SendMessageA(window, CB_GETDROPPEDSTATE, 0, 0) == TRUE;
}

// Tab and Shift+Tab move along the controls; Enter opens what the focus shows (the folder
// marked in the list, else the name typed) and Escape cancels, unless a drop-down list is
// down, which takes its own keys.
bool HandleKey(HWND dialog, DialogState& state, const MSG& m) {
    HWND focus = GetFocus();
    if (IsDropped(focus))
        return false;
    if (m.message == WM_CHAR)
        return m.wParam == '\r' || m.wParam == 0x1B || m.wParam == '\t';
    switch (m.wParam) {
    case VK_TAB: {
        const std::vector<HWND>& order = state.tabOrder;
        const auto at = std::find(order.begin(), order.end(), focus);
        const long count = static_cast<long>(order.size());
        long index = at == order.end() ? -1 : at - order.begin();
        const bool back = GetKeyState(VK_SHIFT) < 0;
        for (long n = 0; n < count; ++n) {
            index = (index + (back ? count - 1 : 1) + count) % count;
            HWND next = order[static_cast<size_t>(index)];
            if (IsWindowEnabled(next) && IsWindowVisible(next)) {
                SetFocus(next);
                if (GetDlgCtrlID(next) == kNameEdit)
                    SendMessageA(next, EM_SETSEL, 0, -1);
                break;
            }
        }
        return true;
    }
    case VK_RETURN: {
        if (focus && GetDlgCtrlID(focus) == IDCANCEL) {
            state.done = true;
            return true;
        }
        HWND list = GetDlgItem(dialog, kFileList);
        const int index = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
        if (focus == list && index >= 0 && ItemText(list, index)[1] == '[')
            Accept(dialog, ItemText(list, index), false);
        else
            Accept(dialog, EditText(dialog), true);
        return true;
    }
    case VK_ESCAPE: state.done = true; return true;
    default: return false;
    }
}

std::optional<AnsiString> RunDialog(const OPENFILENAMEA& ofn, const AnsiString& folder, DWORD& filterIndex) {
    HWND dialog = BuildDialog(ofn, folder);
    auto state = std::static_pointer_cast<DialogState>(UserFindWindow(dialog)->classData);
    UserRunModalLoop(dialog, ofn.hwndOwner, [&](const MSG& m) { return HandleKey(dialog, *state, m); },
                     [&] { return state->done; });
    DestroyWindow(dialog);
    filterIndex = state->filterIndex;
    return state->result;
}

AnsiString StartFolder(const OPENFILENAMEA& ofn) {
    if (ofn.lpstrInitialDir && *ofn.lpstrInitialDir && IsFolder(ofn.lpstrInitialDir))
        return ofn.lpstrInitialDir;
    return FileSystem::CurrentDirectory();
}

// Writes the chosen path into the caller's buffers, as the original reports it.
BOOL Deliver(OPENFILENAMEA* ofn, const AnsiString& path) {
    if (static_cast<DWORD>(path.Length()) + 1 > ofn->nMaxFile) {
        if (ofn->nMaxFile >= 2) {
            const WORD needed = static_cast<WORD>(std::min(path.Length() + 1, 0xFFFF));
            std::memcpy(ofn->lpstrFile, &needed, sizeof needed);
        }
        LastError() = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    std::memcpy(ofn->lpstrFile, path.c_str(), static_cast<size_t>(path.Length()) + 1);
    int slash = path.Length();
    while (slash > 0 && path[slash] != '\\')
        --slash;
    int dot = path.Length();
    while (dot > slash && path[dot] != '.')
        --dot;
    ofn->nFileOffset = static_cast<WORD>(slash);
    ofn->nFileExtension = static_cast<WORD>(dot > slash ? dot : path.Length());
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
        const AnsiString name = Copy(path, slash + 1, path.Length());
        const size_t count = std::min<size_t>(static_cast<size_t>(name.Length()), ofn->nMaxFileTitle - 1);
        std::memcpy(ofn->lpstrFileTitle, name.c_str(), count);
        ofn->lpstrFileTitle[count] = '\0';
    }
    if (!(ofn->Flags & OFN_NOCHANGEDIR) && slash > 0)
        FileSystem::ChangeDirectory(ParentOf(path));
    return TRUE;
}

}  // namespace

bool UserMatchesFilter(const AnsiString& name, const AnsiString& patterns) {
    int start = 1;
    for (int i = 1; i <= patterns.Length() + 1; ++i) {
        if (i <= patterns.Length() && patterns[i] != ';')
            continue;
        AnsiString pattern = Copy(patterns, start, i - start);
        while (!pattern.IsEmpty() && pattern[1] == ' ')
            pattern = Copy(pattern, 2, pattern.Length());
        // "*.*" matches names without a dot as well.
        if (pattern == "*.*" || WildcardMatch(pattern.c_str(), name.c_str()))
            return true;
        start = i + 1;
    }
    return false;
}

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) {
    LastError() = 0;
    if (!ofn || ofn->lStructSize < offsetof(OPENFILENAMEA, pvReserved) || !ofn->lpstrFile) {
        LastError() = CDERR_STRUCTSIZE;
        return FALSE;
    }
    const AnsiString folder = StartFolder(*ofn);
    DWORD filterIndex = ofn->nFilterIndex;
    std::optional<AnsiString> chosen = Responder() ? Responder()(*ofn) : RunDialog(*ofn, folder, filterIndex);
    if (!chosen || chosen->IsEmpty())
        return FALSE;
    // The file type the user last chose is reported back, as the original does.
    if (ofn->lpstrFilter)
        ofn->nFilterIndex = filterIndex;
    AnsiString path = IsAbsolute(*chosen) ? *chosen : Join(folder, *chosen);
    if ((ofn->Flags & OFN_FILEMUSTEXIST) && !IsFile(path))
        return FALSE;
    if ((ofn->Flags & OFN_PATHMUSTEXIST) && !IsFolder(ParentOf(path)))
        return FALSE;
    return Deliver(ofn, path);
}

DWORD CommDlgExtendedError() { return LastError(); }

void UserSetOpenFileResponder(OpenFileResponder responder) { Responder() = std::move(responder); }
