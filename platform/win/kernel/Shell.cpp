// An item list here holds one item: a file-system path ('P', the Windows-form path and its
// zero) or a virtual folder ('V', its folder number), followed by the empty terminator item.
#include "platform/win/kernel/Shell.h"

#include "platform/rtl/CodePage.h"
#include "platform/rtl/FileSystem.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Folders.h"
#include "platform/win/kernel/Identity.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

const IID IID_IShellFolder = {0x000214E6, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

constexpr BYTE kPathItem = 'P';
constexpr BYTE kVirtualItem = 'V';

// ------------------------------------------------------------------ opening documents

std::mutex shellLock;
std::vector<TShellExecuteCall> executeLog;
TShellOpener opener = nullptr;

// xdg-open with the address as its only argument; the child is reaped by a detached thread.
bool DesktopOpener(const AnsiString& address)
{
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((display == nullptr || *display == '\0') && (wayland == nullptr || *wayland == '\0'))
        return false;
    std::string program = "xdg-open";
    std::string argument(address.str());
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ) != 0)
        return false;
    std::thread([child] {
        int status = 0;
        ::waitpid(child, &status, 0);
    }).detach();
    return true;
}

bool IsAddress(const char* file)
{
    for (const char* scheme : {"mailto:", "http:", "https:"})
        if (::strncasecmp(file, scheme, std::strlen(scheme)) == 0)
            return true;
    return false;
}

AnsiString Text(LPCSTR value) { return value ? AnsiString(value) : AnsiString(); }

HINSTANCE Code(std::uintptr_t code) { return reinterpret_cast<HINSTANCE>(code); }

// ------------------------------------------------------------------ special folders

std::map<int, AnsiString>& FolderOverrides()
{
    static std::map<int, AnsiString> overrides;
    return overrides;
}

bool IsVirtual(int csidl)
{
    switch (csidl) {
    case CSIDL_INTERNET: case CSIDL_CONTROLS: case CSIDL_PRINTERS: case CSIDL_BITBUCKET: case CSIDL_DRIVES:
    case CSIDL_NETWORK:
        return true;
    default:
        return false;
    }
}

AnsiString UserName()
{
    char name[257] = {};
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? AnsiString(name) : AnsiString("User");
}

// Where a file-system folder lies by default; empty for numbers that are no such folder.
AnsiString DefaultFolder(int csidl)
{
    const AnsiString profile = "C:\\Documents and Settings\\" + UserName();
    const AnsiString allUsers = "C:\\Documents and Settings\\All Users";
    const AnsiString menu = profile + "\\Start Menu";
    const AnsiString commonMenu = allUsers + "\\Start Menu";
    switch (csidl) {
    case CSIDL_PROGRAMS: return menu + "\\Programs";
    case CSIDL_PERSONAL: return profile + "\\My Documents";
    case CSIDL_FAVORITES: return profile + "\\Favorites";
    case CSIDL_STARTUP: case CSIDL_ALTSTARTUP: return menu + "\\Programs\\Startup";
    case CSIDL_RECENT: return profile + "\\Recent";
    case CSIDL_SENDTO: return profile + "\\SendTo";
    case CSIDL_STARTMENU: return menu;
    case CSIDL_DESKTOP: case CSIDL_DESKTOPDIRECTORY: return profile + "\\Desktop";
    case CSIDL_NETHOOD: return profile + "\\NetHood";
    case CSIDL_FONTS: return FileSystem::WindowsFolder() + "\\Fonts";
    case CSIDL_TEMPLATES: return profile + "\\Templates";
    case CSIDL_COMMON_STARTMENU: return commonMenu;
    case CSIDL_COMMON_PROGRAMS: return commonMenu + "\\Programs";
    case CSIDL_COMMON_STARTUP: case CSIDL_COMMON_ALTSTARTUP: return commonMenu + "\\Programs\\Startup";
    case CSIDL_COMMON_DESKTOPDIRECTORY: return allUsers + "\\Desktop";
    case CSIDL_APPDATA: return profile + "\\Application Data";
    case CSIDL_PRINTHOOD: return profile + "\\PrintHood";
    case CSIDL_LOCAL_APPDATA: return profile + "\\Local Settings\\Application Data";
    case CSIDL_COMMON_FAVORITES: return allUsers + "\\Favorites";
    case CSIDL_INTERNET_CACHE: return profile + "\\Local Settings\\Temporary Internet Files";
    case CSIDL_COOKIES: return profile + "\\Cookies";
    case CSIDL_HISTORY: return profile + "\\Local Settings\\History";
    case CSIDL_COMMON_APPDATA: return allUsers + "\\Application Data";
    case CSIDL_WINDOWS: return FileSystem::WindowsFolder();
    case CSIDL_SYSTEM: return FileSystem::SystemFolder();
    case CSIDL_PROGRAM_FILES: return "C:\\Program Files";
    case CSIDL_MYPICTURES: return profile + "\\My Documents\\My Pictures";
    case CSIDL_PROFILE: return profile;
    default: return AnsiString();
    }
}

// ------------------------------------------------------------------ item lists

LPITEMIDLIST MakeList(BYTE kind, const void* payload, std::size_t length)
{
    const std::size_t item = 2 + 1 + length;
    auto* bytes = static_cast<BYTE*>(CoTaskMemAlloc(item + 2));
    if (bytes == nullptr)
        return nullptr;
    const USHORT cb = static_cast<USHORT>(item);
    std::memcpy(bytes, &cb, 2);
    bytes[2] = kind;
    std::memcpy(bytes + 3, payload, length);
    std::memset(bytes + item, 0, 2);
    return reinterpret_cast<LPITEMIDLIST>(bytes);
}

LPITEMIDLIST EmptyList()
{
    auto* bytes = static_cast<BYTE*>(CoTaskMemAlloc(2));
    if (bytes)
        std::memset(bytes, 0, 2);
    return reinterpret_cast<LPITEMIDLIST>(bytes);
}

USHORT FirstItemSize(LPCITEMIDLIST list)
{
    USHORT cb = 0;
    std::memcpy(&cb, list, 2);
    return cb;
}

bool IsExisting(const AnsiString& path, bool& isFolder)
{
    struct stat info {};
    if (::stat(FileSystem::ToPosixPath(path).c_str(), &info) != 0)
        return false;
    isFolder = S_ISDIR(info.st_mode);
    return true;
}

bool IsFullyQualified(const AnsiString& path)
{
    return path.Length() >= 3 && std::isalpha(static_cast<unsigned char>(path[1])) && path[2] == ':' &&
           (path[3] == '\\' || path[3] == '/');
}

class TDesktopFolder final : public IShellFolder {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IShellFolder) {
            *object = static_cast<IShellFolder*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // One object for the process: the count is kept for callers, the object never goes away.
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override { return references_ > 1 ? --references_ : 1; }

    HRESULT ParseDisplayName(HWND, void*, LPWSTR displayName, ULONG* eaten, LPITEMIDLIST* list, ULONG* attributes) override
    {
        if (list == nullptr)
            return E_POINTER;
        *list = nullptr;
        if (displayName == nullptr)
            return E_INVALIDARG;
        AnsiString path;
        ULONG length = 0;
        for (; displayName[length] != 0; ++length) {
            char c = '?';
            if (!UnicodeToAnsiChar(displayName[length], c))
                return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
            path += c;
        }
        bool isFolder = false;
        if (!IsFullyQualified(path) || !IsExisting(path, isFolder))
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        *list = ILCreateFromPathA(path.c_str());
        if (*list == nullptr)
            return E_OUTOFMEMORY;
        if (eaten)
            *eaten = length;
        if (attributes)
            *attributes &= (isFolder ? SFGAO_FOLDER : 0) | SFGAO_FILESYSTEM;
        return S_OK;
    }

private:
    ULONG references_ = 1;
};

} // namespace

HINSTANCE ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    TShellOpener open;
    {
        std::lock_guard guard(shellLock);
        open = opener ? opener : &DesktopOpener;
    }
    const bool address = file != nullptr && IsAddress(file);
    const bool opened = address && open(AnsiString(file));
    {
        std::lock_guard guard(shellLock);
        executeLog.push_back({window, Text(operation), Text(file), Text(parameters), Text(directory), show, opened});
    }
    if (!address)
        return Code(SE_ERR_NOASSOC);
    return Code(opened ? 42 : SE_ERR_FNF);
}

const std::vector<TShellExecuteCall>& ShellExecuteLog() { return executeLog; }

void ClearShellExecuteLog()
{
    std::lock_guard guard(shellLock);
    executeLog.clear();
}

void SetShellOpener(TShellOpener newOpener)
{
    std::lock_guard guard(shellLock);
    opener = newOpener;
}

void SetSpecialFolderPath(int csidl, const AnsiString& path)
{
    std::lock_guard guard(shellLock);
    FolderOverrides()[csidl] = path;
}

AnsiString SpecialFolderPath(int csidl)
{
    {
        std::lock_guard guard(shellLock);
        const auto it = FolderOverrides().find(csidl);
        if (it != FolderOverrides().end())
            return it->second;
    }
    return DefaultFolder(csidl);
}

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, LPITEMIDLIST* list)
{
    if (list == nullptr)
        return E_INVALIDARG;
    *list = nullptr;
    if (csidl == CSIDL_DESKTOP) {
        *list = EmptyList();
    } else if (IsVirtual(csidl)) {
        const BYTE number = static_cast<BYTE>(csidl);
        *list = MakeList(kVirtualItem, &number, 1);
    } else {
        const AnsiString path = SpecialFolderPath(csidl);
        if (path.IsEmpty())
            return E_INVALIDARG;
        *list = ILCreateFromPathA(path.c_str());
    }
    return *list ? S_OK : E_OUTOFMEMORY;
}

LPITEMIDLIST ILCreateFromPathA(LPCSTR path)
{
    if (path == nullptr || *path == '\0')
        return nullptr;
    const std::size_t length = std::strlen(path);
    if (length >= MAX_PATH)
        return nullptr;
    return MakeList(kPathItem, path, length + 1);
}

void ILFree(LPITEMIDLIST list) { CoTaskMemFree(list); }

UINT ILGetSize(LPCITEMIDLIST list)
{
    if (list == nullptr)
        return 0;
    UINT size = 0;
    for (USHORT cb = FirstItemSize(list); cb != 0;
         cb = FirstItemSize(reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const BYTE*>(list) + size)))
        size += cb;
    return size + 2;
}

bool ILIsVirtualFolder(LPCITEMIDLIST list, int* csidl)
{
    if (list == nullptr || FirstItemSize(list) != 4 || list->mkid.abID[0] != kVirtualItem)
        return false;
    if (csidl)
        *csidl = reinterpret_cast<const BYTE*>(list)[3];
    return true;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path)
{
    if (path == nullptr)
        return FALSE;
    path[0] = '\0';
    if (list == nullptr)
        return FALSE;
    const USHORT cb = FirstItemSize(list);
    AnsiString text;
    if (cb == 0)
        text = SpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
    else if (cb > 3 && list->mkid.abID[0] == kPathItem) {
        const char* stored = reinterpret_cast<const char*>(list) + 3;
        text = AnsiString(stored, ::strnlen(stored, cb - 3u));
    }
    if (text.IsEmpty() || text.Length() >= static_cast<int>(MAX_PATH))
        return FALSE;
    std::memcpy(path, text.c_str(), static_cast<std::size_t>(text.Length()) + 1);
    return TRUE;
}

HRESULT SHGetDesktopFolder(IShellFolder** folder)
{
    static TDesktopFolder desktop;
    if (folder == nullptr)
        return E_INVALIDARG;
    desktop.AddRef();
    *folder = &desktop;
    return S_OK;
}

HRESULT SHGetMalloc(IMalloc** allocator)
{
    if (allocator == nullptr)
        return E_INVALIDARG;
    *allocator = TaskAllocator();
    return S_OK;
}

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD, SHFILEINFOA* info, UINT infoSize, UINT flags)
{
    if (path == nullptr || (flags & (SHGFI_SYSICONINDEX | SHGFI_ICON)) != 0)
        return 0;
    if (info == nullptr || infoSize < sizeof(SHFILEINFOA))
        return 0;
    const AnsiString text(path);
    bool isFolder = false;
    const bool exists = IsExisting(text, isFolder);
    if (!exists && !(flags & SHGFI_USEFILEATTRIBUTES))
        return 0;
    std::memset(info, 0, sizeof *info);
    if (flags & SHGFI_DISPLAYNAME) {
        std::string name(text.str());
        while (name.size() > 3 && (name.back() == '\\' || name.back() == '/'))
            name.pop_back();
        const std::size_t slash = name.find_last_of("\\/");
        if (slash != std::string::npos && slash + 1 < name.size())
            name.erase(0, slash + 1);
        std::strncpy(info->szDisplayName, name.c_str(), sizeof info->szDisplayName - 1);
    }
    if (flags & SHGFI_ATTRIBUTES)
        info->dwAttributes = (isFolder ? SFGAO_FOLDER : 0) | SFGAO_FILESYSTEM;
    return 1;
}
