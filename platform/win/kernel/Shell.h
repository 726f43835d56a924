// Shell services: opening documents, special folders as item lists, the desktop folder's
// name parsing, the shell allocator and file information. Item lists are the shell's own
// encoding, so they are only made and read here; the folder-browse dialog uses these helpers.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/WinTypes.h"
#include "platform/win/kernel/Com.h"

#include <vector>

// ------------------------------------------------------------------ opening documents

constexpr DWORD SE_ERR_FNF = 2;
constexpr DWORD SE_ERR_NOASSOC = 31;

// Recorded always. Only a "mailto:", "http:" or "https:" address (any case) is handed to the
// desktop's opener (xdg-open, started without a shell, and only when a display is there);
// that answers 42, or SE_ERR_FNF when it could not be started. Anything else is not run and
// answers SE_ERR_NOASSOC. Answers above 32 mean success.
HINSTANCE ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
inline HINSTANCE ShellExecute(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    return ShellExecuteA(window, operation, file, parameters, directory, show);
}

struct TShellExecuteCall {
    HWND window;
    AnsiString operation;
    AnsiString file;
    AnsiString parameters;
    AnsiString directory;
    INT show;
    bool opened;
};
const std::vector<TShellExecuteCall>& ShellExecuteLog();
void ClearShellExecuteLog();
// Replaces the opener of addresses (nullptr: the desktop's); true when the address was handed on.
using TShellOpener = bool (*)(const AnsiString& address);
void SetShellOpener(TShellOpener opener);

// ------------------------------------------------------------------ item lists

struct SHITEMID {
    USHORT cb;
    BYTE abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;

constexpr int CSIDL_DESKTOP = 0x00, CSIDL_INTERNET = 0x01, CSIDL_PROGRAMS = 0x02, CSIDL_CONTROLS = 0x03,
              CSIDL_PRINTERS = 0x04, CSIDL_PERSONAL = 0x05, CSIDL_FAVORITES = 0x06, CSIDL_STARTUP = 0x07,
              CSIDL_RECENT = 0x08, CSIDL_SENDTO = 0x09, CSIDL_BITBUCKET = 0x0A, CSIDL_STARTMENU = 0x0B,
              CSIDL_DESKTOPDIRECTORY = 0x10, CSIDL_DRIVES = 0x11, CSIDL_NETWORK = 0x12, CSIDL_NETHOOD = 0x13,
              CSIDL_FONTS = 0x14, CSIDL_TEMPLATES = 0x15, CSIDL_COMMON_STARTMENU = 0x16, CSIDL_COMMON_PROGRAMS = 0x17,
              CSIDL_COMMON_STARTUP = 0x18, CSIDL_COMMON_DESKTOPDIRECTORY = 0x19, CSIDL_APPDATA = 0x1A,
              CSIDL_PRINTHOOD = 0x1B, CSIDL_LOCAL_APPDATA = 0x1C, CSIDL_ALTSTARTUP = 0x1D,
              CSIDL_COMMON_ALTSTARTUP = 0x1E, CSIDL_COMMON_FAVORITES = 0x1F, CSIDL_INTERNET_CACHE = 0x20,
              CSIDL_COOKIES = 0x21, CSIDL_HISTORY = 0x22, CSIDL_COMMON_APPDATA = 0x23, CSIDL_WINDOWS = 0x24,
              CSIDL_SYSTEM = 0x25, CSIDL_PROGRAM_FILES = 0x26, CSIDL_MYPICTURES = 0x27, CSIDL_PROFILE = 0x28;

// The item list of a system folder, allocated with the shell allocator (free it with
// CoTaskMemFree or ILFree). The desktop is the empty list, which stands for the whole
// namespace. Unknown numbers (such as 0xFEFE) fail with E_INVALIDARG and *list = nullptr.
HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, LPITEMIDLIST* list);
// Windows-form folder behind a file-system special folder (tests and the set-up may move it).
void SetSpecialFolderPath(int csidl, const AnsiString& path);
AnsiString SpecialFolderPath(int csidl);

// The file-system path of a list into a buffer of MAX_PATH characters; FALSE (empty text) for
// virtual folders such as My Computer. The desktop gives the desktop directory.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);
inline BOOL SHGetPathFromIDList(LPCITEMIDLIST list, LPSTR path) { return SHGetPathFromIDListA(list, path); }
// A list for a Windows-form path (no check that it exists); nullptr for an empty path.
LPITEMIDLIST ILCreateFromPathA(LPCSTR path);
void ILFree(LPITEMIDLIST list);
// The byte size of a list with its terminator; 0 for nullptr.
UINT ILGetSize(LPCITEMIDLIST list);
// True for the list of a virtual folder (My Computer, Network ...), by its folder number.
bool ILIsVirtualFolder(LPCITEMIDLIST list, int* csidl);

// ------------------------------------------------------------------ folders and files

constexpr ULONG SFGAO_FOLDER = 0x20000000;
constexpr ULONG SFGAO_FILESYSTEM = 0x40000000;

class IShellFolder : public IUnknown {
public:
    // An existing, fully qualified Windows-form path ("C:\dir") as an item list; a missing path
    // fails with HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND). *attributes keeps only the asked bits.
    virtual HRESULT ParseDisplayName(HWND owner, void* bindContext, LPWSTR displayName, ULONG* eaten,
                                     LPITEMIDLIST* list, ULONG* attributes) = 0;

protected:
    ~IShellFolder() = default;
};
extern const IID IID_IShellFolder;

// The desktop folder (one object; Release when done).
HRESULT SHGetDesktopFolder(IShellFolder** folder);
HRESULT SHGetMalloc(IMalloc** allocator);

constexpr UINT SHGFI_ICON = 0x100, SHGFI_DISPLAYNAME = 0x200, SHGFI_TYPENAME = 0x400, SHGFI_ATTRIBUTES = 0x800,
               SHGFI_SYSICONINDEX = 0x4000, SHGFI_SMALLICON = 0x1, SHGFI_LARGEICON = 0x0,
               SHGFI_USEFILEATTRIBUTES = 0x10;

struct SHFILEINFOA {
    HICON hIcon;
    int iIcon;
    DWORD dwAttributes;
    CHAR szDisplayName[260];
    CHAR szTypeName[80];
};
using SHFILEINFO = SHFILEINFOA;

// Display name and attributes of an existing file or folder (1), else 0. There is no system
// image list or icon: asking for SHGFI_SYSICONINDEX or SHGFI_ICON answers 0.
DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD fileAttributes, SHFILEINFOA* info, UINT infoSize, UINT flags);
inline DWORD_PTR SHGetFileInfo(LPCSTR path, DWORD fileAttributes, SHFILEINFOA* info, UINT infoSize, UINT flags)
{
    return SHGetFileInfoA(path, fileAttributes, info, infoSize, flags);
}
