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
constexpr int kNameEdit = 100, kFileList = 101, kFolderLabel = 102;

struct DialogState {
    AnsiString folder;    // Windows form, no trailing backslash unless a drive root
    AnsiString patterns;  // of the chosen filter
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
        const AnsiString name = Utf8ToAnsi(entry.path().filename().string());
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
    SetWindowTextA(GetDlgItem(dialog, kFolderLabel), s.folder.c_str());
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
void Accept(HWND dialog, AnsiString name) {
    DialogState& s = State(dialog);
    if (name.IsEmpty())
        return;
    if (name.Length() >= 2 && name[1] == '[' && name[name.Length()] == ']')
        name = Copy(name, 2, name.Length() - 2);
    const AnsiString path = name == ".." ? ParentOf(s.folder) : IsAbsolute(name) ? name : Join(s.folder, name);
    if (IsFolder(path)) {
        s.folder = path;
        SetWindowTextA(GetDlgItem(dialog, kNameEdit), "");
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
        case IDOK: Accept(window, EditText(window)); return 0;
        case IDCANCEL: s.done = true; return 0;
        case kFileList:
            if (HIWORD(wParam) == LBN_SELCHANGE && index >= 0 && ItemText(list, index)[1] != '[')
                SetWindowTextA(GetDlgItem(window, kNameEdit), ItemText(list, index).c_str());
            if (HIWORD(wParam) == LBN_DBLCLK && index >= 0)
                Accept(window, ItemText(list, index));
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
    HWND dialog = CreateWindowExA(WS_EX_DLGMODALFRAME, kDialogClass, title, WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 80, 420,
                                  330, ofn.hwndOwner, nullptr, nullptr, nullptr);
    auto state = std::make_shared<DialogState>();
    state->folder = folder;
    state->patterns = FilterPatterns(ofn.lpstrFilter, ofn.nFilterIndex);
    UserFindWindow(dialog)->classData = state;
    Child(dialog, "STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 8, 8, 396, 16, kFolderLabel);
    Child(dialog, "LISTBOX", "", LBS_NOTIFY | WS_TABSTOP, 8, 28, 396, 200, kFileList, WS_EX_CLIENTEDGE);
    Child(dialog, "STATIC", "&Nome file:", 0, 8, 240, 70, 16, -1);
    HWND edit = Child(dialog, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 80, 237, 324, 21, kNameEdit, WS_EX_CLIENTEDGE);
    Child(dialog, "BUTTON", "&Apri", BS_DEFPUSHBUTTON | WS_TABSTOP, 248, 268, 75, 23, IDOK);
    Child(dialog, "BUTTON", "Annulla", WS_TABSTOP, 329, 268, 75, 23, IDCANCEL);
    Fill(dialog);
    if (ofn.lpstrFile && *ofn.lpstrFile)
        SetWindowTextA(edit, ofn.lpstrFile);
    ShowWindow(dialog, SW_SHOW);
    SetFocus(edit);
    return dialog;
}

std::optional<AnsiString> RunDialog(const OPENFILENAMEA& ofn, const AnsiString& folder) {
    HWND dialog = BuildDialog(ofn, folder);
    auto state = std::static_pointer_cast<DialogState>(UserFindWindow(dialog)->classData);
    UserRunModalLoop(dialog, ofn.hwndOwner,
                     [&](const MSG& m) {
                         if (m.message == WM_KEYDOWN && m.wParam == VK_RETURN) {
                             Accept(dialog, EditText(dialog));
                             return true;
                         }
                         if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
                             state->done = true;
                             return true;
                         }
                         return m.message == WM_CHAR && (m.wParam == '\r' || m.wParam == 0x1B);
                     },
                     [&] { return state->done; });
    DestroyWindow(dialog);
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
    std::optional<AnsiString> chosen = Responder() ? Responder()(*ofn) : RunDialog(*ofn, folder);
    if (!chosen || chosen->IsEmpty())
        return FALSE;
    AnsiString path = IsAbsolute(*chosen) ? *chosen : Join(folder, *chosen);
    if ((ofn->Flags & OFN_FILEMUSTEXIST) && !IsFile(path))
        return FALSE;
    if ((ofn->Flags & OFN_PATHMUSTEXIST) && !IsFolder(ParentOf(path)))
        return FALSE;
    return Deliver(ofn, path);
}

DWORD CommDlgExtendedError() { return LastError(); }

void UserSetOpenFileResponder(OpenFileResponder responder) { Responder() = std::move(responder); }
