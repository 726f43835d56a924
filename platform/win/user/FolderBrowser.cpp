// SHBrowseForFolder: a modal window listing folders, with the caller's title, an
// optional status line and edit box, OK and Cancel, and the callback protocol
// (BFFM_INITIALIZED, BFFM_SELCHANGED, BFFM_VALIDATEFAILEDA; BFFM_SETSTATUSTEXTA,
// BFFM_ENABLEOK and BFFM_SETSELECTIONA sent to the browser window).
#include "platform/win/user/ShellBrowse.h"

#include "platform/rtl/CodePage.h"
#include "platform/rtl/FileSystem.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/ModalLoop.h"
#include "platform/win/user/WindowObject.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr char kBrowserClass[] = "VendaroBrowseFolder";
constexpr int kStatus = 100, kList = 101, kEdit = 102, kTitle = 103;

struct BrowserState {
    BROWSEINFOA* info = nullptr;
    AnsiString folder;     // folder being listed ("" is the namespace root)
    AnsiString selection;  // selected folder ("" is the namespace root)
    bool done = false;
    std::optional<AnsiString> result;
};

FolderBrowseResponder& Responder() {
    static FolderBrowseResponder responder;
    return responder;
}

BrowserState* State(HWND browser) {
    WindowObject* w = UserFindWindow(browser);
    return w && w->cls && w->cls->name == kBrowserClass ? static_cast<BrowserState*>(w->classData.get()) : nullptr;
}

std::filesystem::file_status StatusOf(const AnsiString& path) {
    std::error_code error;
    return std::filesystem::status(FileSystem::ToPosixPath(path), error);
}

bool IsFolder(const AnsiString& path) { return !path.IsEmpty() && std::filesystem::is_directory(StatusOf(path)); }

AnsiString Join(const AnsiString& folder, const AnsiString& name) {
    return folder.IsEmpty() || folder[folder.Length()] == '\\' ? folder + name : folder + "\\" + name;
}

AnsiString Parent(const AnsiString& folder) {
    if (folder.Length() <= 3)
        return "";
    int cut = folder.Length();
    while (cut > 0 && folder[cut] != '\\')
        --cut;
    const AnsiString parent = Copy(folder, 1, cut - 1);
    return parent.Length() == 2 ? parent + "\\" : parent;
}

AnsiString LastName(const AnsiString& path) {
    int cut = path.Length();
    if (cut > 0 && path[cut] == '\\')
        --cut;
    int start = cut;
    while (start > 0 && path[start] != '\\')
        --start;
    return Copy(path, start + 1, cut - start);
}

// The folder of an item list; "" (the namespace root) for none, the desktop and virtual folders.
AnsiString PathOf(LPCITEMIDLIST list) {
    char path[MAX_PATH] = "";
    if (!list || ILGetSize(list) <= sizeof(USHORT) || ILIsVirtualFolder(list, nullptr) || !SHGetPathFromIDListA(list, path))
        return "";
    return path;
}

// The item list for a folder; the namespace root is My Computer's.
LPITEMIDLIST ListOf(const AnsiString& folder) {
    if (!folder.IsEmpty())
        return ILCreateFromPathA(folder.c_str());
    LPITEMIDLIST list = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list);
    return list;
}

int Callback(HWND browser, UINT message, LPARAM lParam) {
    BrowserState* s = State(browser);
    if (!s || !s->info->lpfn)
        return 0;
    return s->info->lpfn(browser, message, lParam, s->info->lParam);
}

void EnableOk(HWND browser, bool enable) { EnableWindow(GetDlgItem(browser, IDOK), enable ? TRUE : FALSE); }

void Select(HWND browser, const AnsiString& folder) {
    BrowserState* s = State(browser);
    s->selection = folder;
    if (s->info->ulFlags & BIF_RETURNONLYFSDIRS)
        EnableOk(browser, IsFolder(folder));
    LPITEMIDLIST list = ListOf(folder);
    Callback(browser, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(list));
    CoTaskMemFree(list);
}

void Fill(HWND browser) {
    BrowserState* s = State(browser);
    HWND list = GetDlgItem(browser, kList);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    if (s->folder.IsEmpty()) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("C:\\"));
        return;
    }
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(".."));
    std::vector<AnsiString> names;
    std::error_code error;
    const bool files = (s->info->ulFlags & BIF_BROWSEINCLUDEFILES) != 0;
    for (const auto& entry : std::filesystem::directory_iterator(FileSystem::ToPosixPath(s->folder), error)) {
        std::error_code e;
        if (entry.is_directory(e) || files)
            names.push_back(Utf8ToAnsi(entry.path().filename().string()));
    }
    std::sort(names.begin(), names.end());
    for (const AnsiString& n : names)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
}

AnsiString ListItem(HWND browser, int index) {
    HWND list = GetDlgItem(browser, kList);
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return "";
    AnsiString text;
    text.SetLength(static_cast<int>(length) + 1);
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.SetLength(static_cast<int>(length));
    return text;
}

AnsiString Target(HWND browser, const AnsiString& item) {
    BrowserState* s = State(browser);
    if (item == "..")
        return Parent(s->folder);
    return s->folder.IsEmpty() ? item : Join(s->folder, item);
}

void Open(HWND browser, const AnsiString& folder) {
    State(browser)->folder = folder;
    Fill(browser);
    Select(browser, folder);
}

AnsiString EditText(HWND browser) {
    HWND edit = GetDlgItem(browser, kEdit);
    if (!edit)
        return "";
    AnsiString text;
    text.SetLength(GetWindowTextLengthA(edit) + 1);
    text.SetLength(GetWindowTextA(edit, text.data(), text.Length()));
    return text;
}

// OK: a typed name wins over the selection; with BIF_VALIDATE a name that is no folder asks
// the callback, which keeps the browser open by answering non-zero.
void PressOk(HWND browser) {
    BrowserState* s = State(browser);
    if (!IsWindowEnabled(GetDlgItem(browser, IDOK)))
        return;
    const AnsiString typed = EditText(browser);
    if (!typed.IsEmpty() && typed != LastName(s->selection)) {
        const bool absolute = typed.Length() >= 2 && typed[2] == ':';
        const AnsiString path = absolute ? typed : Join(s->selection, typed);
        if (!IsFolder(path) && (s->info->ulFlags & BIF_VALIDATE)) {
            if (Callback(browser, BFFM_VALIDATEFAILEDA, reinterpret_cast<LPARAM>(typed.c_str())))
                return;
            s->done = true;
            return;
        }
        s->result = path;
    } else {
        s->result = s->selection;
    }
    s->done = true;
}

LRESULT BrowserProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    BrowserState* s = State(window);
    if (!s)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case BFFM_SETSTATUSTEXTA:
        SetWindowTextA(GetDlgItem(window, kStatus), lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
        return 0;
    case BFFM_ENABLEOK: EnableOk(window, lParam != 0); return 0;
    case BFFM_SETSELECTIONA: {
        const AnsiString path = wParam ? AnsiString(reinterpret_cast<LPCSTR>(lParam)) : PathOf(reinterpret_cast<LPCITEMIDLIST>(lParam));
        if (path.IsEmpty() || IsFolder(path)) {
            s->folder = path;
            Fill(window);
            Select(window, path);
        }
        return 0;
    }
    case WM_COMMAND: {
        const int index = static_cast<int>(SendMessageA(GetDlgItem(window, kList), LB_GETCURSEL, 0, 0));
        if (LOWORD(wParam) == IDOK)
            PressOk(window);
        else if (LOWORD(wParam) == IDCANCEL)
            s->done = true;
        else if (LOWORD(wParam) == kList && index >= 0 && HIWORD(wParam) == LBN_SELCHANGE)
            Select(window, Target(window, ListItem(window, index)));
        else if (LOWORD(wParam) == kList && index >= 0 && HIWORD(wParam) == LBN_DBLCLK)
            Open(window, Target(window, ListItem(window, index)));
        return 0;
    }
    case WM_CLOSE: s->done = true; return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND Child(HWND browser, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id, DWORD ex = 0) {
    HWND c = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, browser,
                             reinterpret_cast<HMENU>(static_cast<DWORD_PTR>(id)), nullptr, nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return c;
}

HWND Build(BROWSEINFOA* info, std::shared_ptr<BrowserState> state) {
    UserRegisterSystemClass(kBrowserClass, 0, BrowserProcedure, reinterpret_cast<HBRUSH>(static_cast<DWORD_PTR>(COLOR_BTNFACE + 1)),
                            LoadCursorA(nullptr, IDC_ARROW));
    HWND browser = CreateWindowExA(WS_EX_DLGMODALFRAME, kBrowserClass, "Cerca cartella", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                   120, 80, 320, 360, info->hwndOwner, nullptr, nullptr, nullptr);
    UserFindWindow(browser)->classData = state;
    Child(browser, "STATIC", info->lpszTitle ? info->lpszTitle : "", SS_NOPREFIX, 8, 8, 296, 30, kTitle);
    int top = 40;
    if (info->ulFlags & BIF_STATUSTEXT) {
        Child(browser, "STATIC", "", SS_NOPREFIX | SS_LEFTNOWORDWRAP, 8, top, 296, 16, kStatus);
        top += 20;
    }
    Child(browser, "LISTBOX", "", LBS_NOTIFY | WS_TABSTOP, 8, top, 296, 200, kList, WS_EX_CLIENTEDGE);
    top += 206;
    if (info->ulFlags & BIF_EDITBOX) {
        Child(browser, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 8, top, 296, 21, kEdit, WS_EX_CLIENTEDGE);
        top += 27;
    }
    Child(browser, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 148, top, 75, 23, IDOK);
    Child(browser, "BUTTON", "Annulla", WS_TABSTOP, 229, top, 75, 23, IDCANCEL);
    return browser;
}

bool HandleKey(HWND browser, const MSG& m) {
    if (m.message == WM_KEYDOWN && m.wParam == VK_RETURN) {
        PressOk(browser);
        return true;
    }
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
        State(browser)->done = true;
        return true;
    }
    return m.message == WM_CHAR && (m.wParam == '\r' || m.wParam == 0x1B);
}

// The responder's choice goes in as the user would: selected, typed when there is an edit box, then OK.
void Answer(HWND browser, const std::optional<AnsiString>& choice) {
    BrowserState* s = State(browser);
    if (!choice) {
        s->done = true;
        return;
    }
    if (IsFolder(*choice))
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(choice->c_str()));
    if (HWND edit = GetDlgItem(browser, kEdit))
        SetWindowTextA(edit, choice->c_str());
    PressOk(browser);
    if (!s->done)
        s->done = true;  // kept open by the callback: a scripted user gives up
}

}  // namespace

LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info) {
    if (!info)
        return nullptr;
    auto state = std::make_shared<BrowserState>();
    state->info = info;
    state->folder = PathOf(info->pidlRoot);
    HWND browser = Build(info, state);
    Fill(browser);
    state->selection = state->folder;
    if (info->ulFlags & BIF_RETURNONLYFSDIRS)
        EnableOk(browser, IsFolder(state->folder));
    ShowWindow(browser, SW_SHOW);
    SetFocus(GetDlgItem(browser, kList));
    Callback(browser, BFFM_INITIALIZED, 0);
    if (Responder())
        Answer(browser, Responder()(browser));
    else
        UserRunModalLoop(browser, info->hwndOwner, [&](const MSG& m) { return HandleKey(browser, m); },
                         [&] { return state->done; });
    DestroyWindow(browser);
    if (!state->result)
        return nullptr;
    if (info->pszDisplayName) {
        const AnsiString name = Copy(LastName(*state->result), 1, MAX_PATH - 1);
        std::memcpy(info->pszDisplayName, name.c_str(), static_cast<size_t>(name.Length()) + 1);
    }
    return ListOf(*state->result);
}

void UserSetFolderBrowseResponder(FolderBrowseResponder responder) { Responder() = std::move(responder); }

AnsiString UserFolderBrowseStatus(HWND browser) {
    HWND status = GetDlgItem(browser, kStatus);
    char text[MAX_PATH] = "";
    if (status)
        GetWindowTextA(status, text, sizeof text);
    return text;
}

bool UserFolderBrowseOkEnabled(HWND browser) { return IsWindowEnabled(GetDlgItem(browser, IDOK)) != FALSE; }

AnsiString UserFolderBrowseSelection(HWND browser) {
    BrowserState* s = State(browser);
    return s ? s->selection : AnsiString();
}
