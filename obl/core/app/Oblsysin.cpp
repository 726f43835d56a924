#include "obl/core/app/Oblsysin.h"

#include "obl/core/base/Oblconst.h"
#include "obl/core/base/Oblprocs.h"
#include "platform/classlib/Classes.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Registry.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/FloatConv.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/User.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/WindowStyles.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

bool OBLSIWindows95 = false, OBLSIWindows98 = false, OBLSIWindowsNT = false, OBLSIWindows2000 = false,
     OBLSIWindows2000AdvancedServer = false, OBLSIWindowsME = false, OBLSIWindowsXP = false,
     OBLSIWindowsXPHome = false, OBLSIWindowsXPProf = false, OBLSINETServer = false, OBLSIWindowsExtension = false;

namespace {

const AnsiString kUnknown = "(Unknown)";

OSVERSIONINFOA BasicVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) info = OSVERSIONINFOA{};
    return info;
}

OSVERSIONINFOEXA ExtendedVersion()
{
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) info = OSVERSIONINFOEXA{};
    return info;
}

constexpr WORD kSuiteEnterprise = 0x0002;
constexpr WORD kSuitePersonal = 0x0200;

} // namespace

void OblsysinInitialization()
{
    OBLSIWindows95 = OBLSIWindows98 = OBLSIWindowsNT = OBLSIWindows2000 = OBLSIWindows2000AdvancedServer = false;
    OBLSIWindowsME = OBLSIWindowsXP = OBLSIWindowsXPHome = OBLSIWindowsXPProf = OBLSINETServer = false;
    OBLSIWindowsExtension = false;
    const OSVERSIONINFOA v = BasicVersion();
    if (v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        OBLSIWindows95 = true;
        OBLSIWindows98 = v.dwMinorVersion >= 10;
        OBLSIWindowsME = v.dwMajorVersion >= 4 && v.dwMinorVersion >= 90;
        OBLSIWindowsExtension = SystemParametersInfoA(92, 1, nullptr, 0) != 0;
        return;
    }
    OBLSIWindowsNT = v.dwPlatformId == VER_PLATFORM_WIN32_NT;
    const DWORD low = GetVersion() & 0xFF;
    OBLSIWindows2000 = low == 5 && v.dwMinorVersion == 0;
    OBLSIWindowsXP = low == 5 && v.dwMinorVersion == 1;
    // The editions come from the extended record's suite mask and product type.
    const OSVERSIONINFOEXA x = ExtendedVersion();
    const bool server = x.wProductType != 0 && x.wProductType != VER_NT_WORKSTATION;
    OBLSIWindows2000AdvancedServer = OBLSIWindows2000 && server && (x.wSuiteMask & kSuiteEnterprise) != 0;
    OBLSINETServer = v.dwMajorVersion == 5 && v.dwMinorVersion == 1 && server;
    OBLSIWindowsXPHome = OBLSIWindowsXP && (x.wSuiteMask & kSuitePersonal) != 0;
    OBLSIWindowsXPProf = OBLSIWindowsXP && !OBLSIWindowsXPHome;
    OBLSIWindowsExtension = true;
}

// ---- Non-client metrics ---------------------------------------------------------------

int OBLNCBITMAPHEIGHT() { return GetSystemMetrics(SM_CYSIZE); }
int OBLNCBITMAPWIDTH() { return GetSystemMetrics(SM_CXSIZE); }
int OBLNCCAPTIONHEIGHT() { return GetSystemMetrics(SM_CYCAPTION); }
int OBLNCDLGBORDERWIDTH() { return GetSystemMetrics(SM_CXDLGFRAME); }
int OBLNCDLGBORDERHEIGHT() { return GetSystemMetrics(SM_CYDLGFRAME); }
int OBLNCFIXBORDERWIDTH() { return GetSystemMetrics(SM_CXBORDER); }
int OBLNCFIXBORDERHEIGHT() { return GetSystemMetrics(SM_CYBORDER); }
int OBLNCSIZEBORDERWIDTH() { return GetSystemMetrics(SM_CXFRAME); }
int OBLNCSIZEBORDERHEIGHT() { return GetSystemMetrics(SM_CYFRAME); }
int OBLNCBORDERWIDTH() { return GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXFRAME) - 1; }
int OBLNCBORDERHEIGHT() { return GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYFRAME) - 1; }
int OBLNCSMALLCAPTIONHEIGHT() { return NewStyleControls ? GetSystemMetrics(SM_CYSMCAPTION) : OBLNCCAPTIONHEIGHT(); }
int OBLNCSMALLBITMAPHEIGHT() { return NewStyleControls ? GetSystemMetrics(SM_CYSMSIZE) : OBLNCBITMAPHEIGHT(); }
int OBLNCSMALLBITMAPWIDTH() { return NewStyleControls ? GetSystemMetrics(SM_CXSMSIZE) : OBLNCBITMAPWIDTH(); }
int OBLNCCAPTIONICONHEIGHT() { return NewStyleControls ? GetSystemMetrics(SM_CYSMICON) : OBLNCBITMAPHEIGHT(); }
int OBLNCCAPTIONICONWIDTH() { return NewStyleControls ? GetSystemMetrics(SM_CXSMICON) : OBLNCBITMAPWIDTH(); }

namespace {

struct WindowTraits {
    DWORD style;
    DWORD exStyle;
    bool newStyle;
    bool minimized;
};

void Inset(RECT& r, int dl, int dt, int dr, int db)
{
    r.left += dl;
    r.top += dt;
    r.right += dr;
    r.bottom += db;
}

void InsetCaptionByBorder(const WindowTraits& w, RECT& caption, WORD flags)
{
    const int b = GetSystemMetrics(SM_CXBORDER), cyb = GetSystemMetrics(SM_CYBORDER);
    if (!w.newStyle && (flags & OBLNC_FORCEICON)) {
        Inset(caption, b, cyb, -b, -b);
    } else if (w.style & WS_THICKFRAME) {
        const int cx = GetSystemMetrics(SM_CXFRAME), cy = GetSystemMetrics(SM_CYFRAME);
        Inset(caption, cx, cy, -cx, cy - cyb - (w.newStyle ? 0 : b));
    } else if (w.exStyle & WS_EX_DLGMODALFRAME) {
        const int cx = GetSystemMetrics(SM_CXDLGFRAME), cy = GetSystemMetrics(SM_CYDLGFRAME);
        Inset(caption, cx, cy, -cx, cy - cyb);
    } else if (!w.newStyle && (w.exStyle & WS_EX_TOOLWINDOW)) {
        Inset(caption, b, cyb, -b, -b);
    } else {
        Inset(caption, 3 * b, 3 * cyb, -3 * b, 2 * cyb);
    }
}

bool HasCaptionIcon(const WindowTraits& w, WORD flags)
{
    const DWORD popupFrame = WS_POPUP | WS_BORDER | WS_SYSMENU;
    return ((w.style & WS_THICKFRAME) && !(flags & OBLNC_SMALLCAPTION)) || (flags & OBLNC_FORCEICON) ||
           (!w.newStyle && (w.style & popupFrame) == popupFrame) ||
           (!w.newStyle && (w.exStyle & WS_EX_TOOLWINDOW));
}

int BoxCount(DWORD style) { return ((style & WS_MINIMIZEBOX) ? 1 : 0) + ((style & WS_MAXIMIZEBOX) ? 1 : 0); }

void PlaceTextArea(const WindowTraits& w, const RECT& caption, RECT& text, WORD& flags)
{
    const int b = GetSystemMetrics(SM_CXBORDER);
    const int bw = (flags & OBLNC_SMALLCAPTION) ? OBLNCSMALLBITMAPWIDTH() : OBLNCBITMAPWIDTH();
    if (!(flags & OBLNC_SMALLCAPTION)) text = caption;
    const int startLeft = text.left;
    if (w.style & WS_SYSMENU) {
        if (!w.newStyle) text.right -= 2 * b;
        else if (!w.minimized) text.right -= bw + 3 * b;
        if (HasCaptionIcon(w, flags)) {
            flags |= OBLNC_CAPTIONICON;
            if (w.newStyle) {
                text.left += OBLNCCAPTIONICONWIDTH() + GetSystemMetrics(SM_CXFRAME);
                if (w.minimized) flags |= OBLNC_MINIMIZEDICON;
                else text.left += b;
            } else {
                text.left += 2 * b + OBLNCCAPTIONICONWIDTH();
            }
        }
        if (w.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) text.right -= w.newStyle ? 2 * bw : bw * BoxCount(w.style);
        else if (w.exStyle & WS_EX_CONTEXTHELP) text.right -= bw + (w.newStyle ? b : 0);
        if (w.newStyle && (w.exStyle & WS_EX_TOOLWINDOW)) Inset(text, 4 * b, 3 * b, -2 * b, 0);
    } else {
        text.left += 2 * b;
        if (!w.newStyle) text.right -= b + bw * BoxCount(w.style);
    }
    if (text.left == startLeft) text.left += 2 * b;
}

} // namespace

void OBLNCCalcDrawingArea(HWND Wnd, RECT& CaptionRect, RECT& TextRect, WORD& Flags)
{
    Flags &= static_cast<WORD>(~(OBLNC_SMALLCAPTION | OBLNC_CAPTIONICON | OBLNC_MINIMIZEDICON));
    const bool exists = IsWindow(Wnd) != FALSE;
    WindowTraits w{};
    w.newStyle = NewStyleControls;
    RECT window{};
    if (exists) {
        w.style = static_cast<DWORD>(GetWindowLongA(Wnd, GWL_STYLE));
        w.exStyle = static_cast<DWORD>(GetWindowLongA(Wnd, GWL_EXSTYLE));
        w.minimized = IsIconic(Wnd) != FALSE;
        GetWindowRect(Wnd, &window);
    }
    const int width = window.right - window.left;
    CaptionRect = RECT{0, 0, width, OBLNCCAPTIONHEIGHT()};
    if ((w.exStyle & WS_EX_TOOLWINDOW) && w.newStyle) {
        CaptionRect = RECT{0, 0, width, OBLNCSMALLCAPTIONHEIGHT()};
        Flags |= OBLNC_SMALLCAPTION;
    }
    TextRect = CaptionRect;
    InsetCaptionByBorder(w, CaptionRect, Flags);
    if (exists && IsWindowVisible(Wnd)) PlaceTextArea(w, CaptionRect, TextRect, Flags);
    const int b = GetSystemMetrics(SM_CXBORDER);
    if (Flags & OBLNC_MINIMIZEDICON) CaptionRect.bottom -= GetSystemMetrics(SM_CYBORDER);
    TextRect.bottom = CaptionRect.bottom;
    if (Flags & OBLNC_CAPTIONTOTEXTEND) CaptionRect.right = TextRect.right;
    if ((Flags & OBLNC_CAPTIONICON) && ((Flags & OBLNC_CAPTIONTOTEXTSTART) || !w.newStyle)) {
        CaptionRect.left = TextRect.left;
        TextRect.left += 2 * b;
    }
}

// ---- Display, keys, memory ------------------------------------------------------------

namespace {

int DisplayCaps(int index)
{
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (dc == nullptr) return 0;
    const int value = GetDeviceCaps(dc, index);
    DeleteDC(dc);
    return value;
}

bool KeyToggled(int key) { return (GetKeyState(key) & 0xFF) == 1; }

MEMORYSTATUS Memory()
{
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    return status;
}

} // namespace

bool OBLSIStretchBltPossible() { return (DisplayCaps(RASTERCAPS) & RC_STRETCHBLT) != 0; }

BYTE OBLSIColorDepth()
{
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (dc == nullptr) return 0;
    const int depth = GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL);
    DeleteDC(dc);
    return static_cast<BYTE>(depth);
}

int OBLSIScreenSaverDelay()
{
    UINT seconds = 0;
    if (!SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0)) return 0;
    return static_cast<int>(seconds / 60);
}

bool OBLSINumLock() { return KeyToggled(VK_NUMLOCK); }
bool OBLSICapsLock() { return KeyToggled(VK_CAPITAL); }
bool OBLSIScrollLock() { return KeyToggled(VK_SCROLL); }

std::uint64_t OBLSIMemTotal() { return Memory().dwTotalPhys; }
std::uint64_t OBLSIMemFree() { return Memory().dwAvailPhys; }
std::uint64_t OBLSIMemPageTotal() { return Memory().dwTotalPageFile; }
std::uint64_t OBLSIMemPageFree() { return Memory().dwAvailPageFile; }
std::uint64_t OBLSIMemVirtTotal() { return Memory().dwTotalVirtual; }
std::uint64_t OBLSIMemVirtFree() { return Memory().dwAvailVirtual; }
BYTE OBLSIMemLoaded() { return static_cast<BYTE>(Memory().dwMemoryLoad); }

// ---- Version ---------------------------------------------------------------------------

WORD OBLSIMajorVersionNr() { return static_cast<WORD>(BasicVersion().dwMajorVersion); }
WORD OBLSIMinorVersionNr() { return static_cast<WORD>(BasicVersion().dwMinorVersion); }
WORD OBLSIBuildNr() { return static_cast<WORD>(BasicVersion().dwBuildNumber); }
AnsiString OBLSIVersionString() { return AnsiString(BasicVersion().szCSDVersion); }
AnsiString OBLSIVersionStr() { return IntToStr(OBLSIMajorVersionNr()) + "." + IntToStr(OBLSIMinorVersionNr()); }

double OBLSIVersionNrOf(WORD major, WORD minor)
{
    double scale = 10;
    for (WORD rest = minor / 10; rest > 0; rest /= 10) scale *= 10;
    return major + minor / scale;
}

double OBLSIVersionNr() { return OBLSIVersionNrOf(OBLSIMajorVersionNr(), OBLSIMinorVersionNr()); }

DWORD OBLSIPlatformID() { return BasicVersion().dwPlatformId; }

AnsiString OBLSIPlatformName(DWORD platform)
{
    switch (platform) {
    case VER_PLATFORM_WIN32s: return "Win32s";
    case VER_PLATFORM_WIN32_WINDOWS: return "Windows 95";
    case VER_PLATFORM_WIN32_NT: return "Windows NT";
    default: return kUnknown;
    }
}

AnsiString OBLSIPlatformStr() { return OBLSIPlatformName(OBLSIPlatformID()); }

bool OBLSIOLDWindowsNT() { return OBLSIWindowsNT && (GetVersion() & 0xFF) < 4; }

DWORD OBLSIVIPlatformID() { return ExtendedVersion().dwPlatformId; }
BYTE OBLSIProductType() { return ExtendedVersion().wProductType; }

// ---- Processor -------------------------------------------------------------------------

namespace {

SYSTEM_INFO SystemInfo()
{
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info;
}

} // namespace

BYTE OBLSIProcessorCount() { return static_cast<BYTE>(SystemInfo().dwNumberOfProcessors); }

AnsiString OBLSIProcessorTypeName(DWORD type)
{
    switch (type) {
    case 386: return "Intel 386";
    case 486: return "Intel 486";
    case 586: return "Intel Pentium";
    case 2000:
    case 3000:
    case 4000: return "Mips R" + IntToStr(type);
    case 21064: return "Alpha 21064";
    default: return IntToStr(type);
    }
}

AnsiString OBLSIProcessorTypeStr() { return OBLSIProcessorTypeName(SystemInfo().dwProcessorType); }

// The cycles counted over a measured half second, against the performance counter, so
// the result does not hang on the sleep being exact; the priority is left alone.
double OBLSIGetCPUSpeed()
{
#if defined(__x86_64__) || defined(__i386__)
    LARGE_INTEGER frequency{}, start{}, stop{};
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return 0;
    Sleep(10);
    QueryPerformanceCounter(&start);
    const unsigned long long cycles0 = __rdtsc();
    Sleep(500);
    const unsigned long long cycles1 = __rdtsc();
    QueryPerformanceCounter(&stop);
    const double microseconds = double(stop.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart);
    if (microseconds <= 0) return 0;
    return double(cycles1 - cycles0) / microseconds;
#else
    return 0;
#endif
}

// ---- Resources of the old shells -------------------------------------------------------

namespace {

BYTE FreeResources(WORD kind)
{
    HMODULE module = LoadLibraryA("RSRC32.DLL");
    if (module == nullptr) return 100;
    using TGetFree = WORD (*)(WORD);
    auto entry = reinterpret_cast<TGetFree>(GetProcAddress(module, "_MyGetFreeSystemResources32@4"));
    const BYTE result = entry != nullptr ? static_cast<BYTE>(entry(kind)) : 100;
    FreeLibrary(module);
    return result;
}

} // namespace

BYTE OBLSIFreeSysRes() { return FreeResources(0); }
BYTE OBLSIFreeGDIRes() { return FreeResources(1); }
BYTE OBLSIFreeUserRes() { return FreeResources(2); }

// ---- Drives, folders, files ------------------------------------------------------------

TOBLDriveInfo OBLSIDriveInfo(const AnsiString& Drive)
{
    TOBLDriveInfo info;
    const AnsiString root = UpperCase(Copy(Drive, 1, 3));
    // No drive letter (empty or a network share): nothing to ask the disk about.
    if (root.Length() < 2 || root[2] != ':' || root[1] < 'A' || root[1] > 'Z') {
        info.DriveType = DRIVE_NO_ROOT_DIR;
        return info;
    }
    info.DriveType = GetDriveTypeA(root.c_str());
    if (info.DriveType == DRIVE_UNKNOWN || info.DriveType == DRIVE_NO_ROOT_DIR) return info;
    DWORD freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &info.SectorsPerCluster, &info.BytesPerSector, &freeClusters,
                           &totalClusters)) {
        info.SectorsPerCluster = info.BytesPerSector = 0;
    }
    const int number = root[1] - 'A' + 1;
    info.TotalSize = std::max<std::int64_t>(DiskSize(number), 0);
    info.FreeSize = std::max<std::int64_t>(DiskFree(number), 0);
    return info;
}

namespace {

// The zero-separated texts of a block that ends with an empty one.
void AddZeroSeparated(const char* block, TStrings* list)
{
    for (const char* p = block; *p != '\0'; p += std::strlen(p) + 1) list->Add(AnsiString(p));
}

} // namespace

void OBLSIDriveList(TStrings* List)
{
    if (List == nullptr) return;
    List->Clear();
    char buffer[256] = {};
    const DWORD length = GetLogicalDriveStringsA(254, buffer);
    if (length == 0 || length > 254) return;
    AddZeroSeparated(buffer, List);
}

AnsiString OBLSIDriveTypeStr(UINT Type)
{
    switch (Type) {
    case DRIVE_NO_ROOT_DIR: return LoadResString(_IDS_NOROOTDIR);
    case DRIVE_REMOVABLE: return LoadResString(_IDS_REMOVABLE);
    case DRIVE_FIXED: return LoadResString(_IDS_FIXEDDRIVE);
    case DRIVE_REMOTE: return LoadResString(_IDS_REMOTE);
    case DRIVE_CDROM: return LoadResString(_IDS_CDROM);
    case DRIVE_RAMDISK: return LoadResString(_IDS_RAMDISK);
    default: return kUnknown;
    }
}

AnsiString OBLSITempPath()
{
    char buffer[261] = {};
    const DWORD length = GetTempPathA(260, buffer);
    if (length == 0 || length >= 260) return AnsiString();
    return AnsiString(buffer, length);
}

void OBLSIEnvironment(TStrings* List)
{
    if (List == nullptr) return;
    List->Clear();
    LPSTR block = GetEnvironmentStringsA();
    if (block == nullptr) return;
    AddZeroSeparated(block, List);
    FreeEnvironmentStringsA(block);
}

AnsiString OBLSIWindowsDirectory() { return OBLWindowsDirectory(); }
AnsiString OBLSISystemDirectory() { return OBLSystemDirectory(); }

AnsiString OBLSITempFile()
{
    char buffer[261] = {};
    if (GetTempFileNameA(OBLSITempPath().c_str(), "tmp", 0, buffer) == 0) return AnsiString();
    return AnsiString(buffer);
}

// ---- Names ------------------------------------------------------------------------------

namespace {

AnsiString RegisteredValue(const char* name)
{
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    const AnsiString key =
        AnsiString("\\SOFTWARE\\Microsoft\\") + (OBLSIWindowsNT ? "Windows NT" : "Windows") + "\\CurrentVersion";
    if (!registry.OpenKeyReadOnly(key)) return kUnknown;
    return registry.ReadString(name);
}

} // namespace

AnsiString OBLSIRegisteredOwner() { return RegisteredValue("RegisteredOwner"); }
AnsiString OBLSIRegisteredCompany() { return RegisteredValue("RegisteredOrganization"); }

AnsiString OBLSIComputerName()
{
    char buffer[17] = {};
    DWORD size = 16;
    if (!GetComputerNameA(buffer, &size)) return kUnknown;
    return AnsiString(buffer, size);
}

AnsiString OBLSIUserName()
{
    char buffer[64] = {};
    DWORD size = 63;
    if (!GetUserNameA(buffer, &size) || size == 0) return kUnknown;
    // The size counts the terminating zero.
    return AnsiString(buffer, size - 1);
}

LANGID OBLSISystemDefaultLanguageID() { return GetSystemDefaultLangID(); }

namespace {

TIME_ZONE_INFORMATION TimeZone()
{
    TIME_ZONE_INFORMATION info{};
    if (GetTimeZoneInformation(&info) == TIME_ZONE_ID_INVALID) info = TIME_ZONE_INFORMATION{};
    return info;
}

} // namespace

AnsiString OBLSIGetTimeZone()
{
    const TIME_ZONE_INFORMATION info = TimeZone();
    AnsiString name;
    for (const WCHAR c : info.StandardName) {
        if (c == 0) break;
        name += static_cast<char>(c < 256 ? c : '?');
    }
    return name;
}

int OBLSIGetTimeZoneBias() { return TimeZone().Bias; }

int OBLSIIconWidth() { return GetSystemMetrics(SM_CXICON); }
int OBLSIIconHeight() { return GetSystemMetrics(SM_CYICON); }
int OBLSISmallIconWidth() { return GetSystemMetrics(SM_CXSMICON); }
int OBLSISmallIconHeight() { return GetSystemMetrics(SM_CYSMICON); }

DWORD_PTR OBLSISystemIconListHandle(bool Large)
{
    SHFILEINFOA info{};
    return SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | (Large ? SHGFI_LARGEICON : SHGFI_SMALLICON));
}

// ---- Version resource of the program ----------------------------------------------------

namespace {

AnsiString ExeName() { return Application != nullptr ? Application->ExeName() : ParamStr(0); }

AnsiString Hex4(unsigned value)
{
    static const char digits[] = "0123456789ABCDEF";
    AnsiString text;
    for (int shift = 12; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
    return text;
}

AnsiString QueryText(const std::vector<char>& block, const AnsiString& path)
{
    LPVOID value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), &value, &length) || value == nullptr || length == 0)
        return AnsiString();
    const char* text = static_cast<const char*>(value);
    return AnsiString(text, std::strlen(text));
}

// The value name the string table gives for the kind, and the standard name to try when
// a resource does not hold it.
struct ValueNames {
    AnsiString listed;
    const char* standard;
};

ValueNames NamesOf(TOBLVersionInfoType kind)
{
    switch (kind) {
    case viCompany: return {LoadResString(_IDS_COMPANYNAME), "CompanyName"};
    case viName: return {LoadResString(_IDS_PRODUCTNAME), "ProductName"};
    case viVersion: return {LoadResString(_IDS_PRODUCTVERSION), "ProductVersion"};
    case viCopyright: return {LoadResString(_IDS_LEGALCOPYRIGHT), "LegalCopyright"};
    case viTrademark: return {LoadResString(_IDS_TRADEMARK), "LegalTrademarks"};
    case viDescription: return {LoadResString(_IDS_FILEDESCRIPTION), "FileDescription"};
    default: return {LoadResString(_IDS_COMMENTS), "Comments"};
    }
}

AnsiString FixedVersionText(const std::vector<char>& block, TOBLVersionInfoType kind)
{
    LPVOID value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", &value, &length) || value == nullptr || length < sizeof(VS_FIXEDFILEINFO))
        return AnsiString();
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    const AnsiString a = IntToStr(fixed->dwFileVersionMS >> 16), b = IntToStr(fixed->dwFileVersionMS & 0xFFFF);
    const AnsiString c = IntToStr(fixed->dwFileVersionLS >> 16), d = IntToStr(fixed->dwFileVersionLS & 0xFFFF);
    if (kind == viFileVersion) return a + "." + b;
    if (kind == viFileVersionFull) return a + "." + b + "." + c + "." + d;
    return a + "." + b + " (Build " + c + "." + d + ")";
}

} // namespace

AnsiString OBLSIVersionInfo(TOBLVersionInfoType Kind)
{
    const AnsiString file = ExeName();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
    if (size == 0) return AnsiString();
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(file.c_str(), handle, size, block.data())) return AnsiString();
    if (Kind == viFileVersion || Kind == viFileVersionFull || Kind == viFileVersionBuild)
        return FixedVersionText(block, Kind);
    AnsiString language = "\\\\StringFileInfo\\\\040904E4\\\\";
    LPVOID value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), "\\\\VarFileInfo\\\\Translation", &value, &length) && value != nullptr &&
        length >= 4) {
        const auto* pair = static_cast<const WORD*>(value);
        language = "\\\\StringFileInfo\\\\" + Hex4(pair[0]) + Hex4(pair[1]) + "\\\\";
    }
    const ValueNames names = NamesOf(Kind);
    const AnsiString listed = QueryText(block, language + names.listed);
    return listed.IsEmpty() ? QueryText(block, language + names.standard) : listed;
}

// ---- Locale -------------------------------------------------------------------------------

AnsiString OBLGetLocalInfo(int Index)
{
    static const LCTYPE items[] = {0x1009, 0x19, 0x1B, 0x11, 0x100C, 0x100D, 0x12, 0x0D, 0x1C, 0x1010,
                                   0x23,   0x28, 0x29, 0x14, 0x1D,   0x0E,   0x10, 0x0C, 0x20, 0x16,
                                   0x18,   0x17, 0x51, 0x50, 0x1F,   0x0F,   0x1E, 0x1003};
    const LCTYPE item = Index >= 0 && Index < int(std::size(items)) ? items[Index] : 0;
    char buffer[256] = {};
    const int length = GetLocaleInfoA(GetThreadLocale(), item, buffer, sizeof buffer);
    if (length <= 0) return "Hallo";
    return AnsiString(buffer, std::strlen(buffer));
}

// ---- Captions and display texts ----------------------------------------------------------

AnsiString OBLSIInfoToString(TOBLInfoType Kind)
{
    static const TResourceString* const captions[] = {
        &_IDS_USERNAME, &_IDS_WINDOWSDIR, &_IDS_CURRDIR, &_IDS_FREESPACE, &_IDS_DISKSIZE, &_IDS_SYSTEMDIR,
        &_IDS_REGISTEREDOWNER, &_IDS_REGISTEREDCOMPANY, &_IDS_VERSION, &_IDS_COLORDEPTH, &_IDS_SCREENSAVERDELAY,
        &_IDS_MEMORYSIZE, &_IDS_FREESYSTEMRESOURCES, &_IDS_FREEGDIRES, &_IDS_FREEUSERRES, &_IDS_COMPUTERNAME,
        &_IDS_MAJORVERSION, &_IDS_BUILD, &_IDS_MEMORYLOADED, &_IDS_MEMORYFREE, &_IDS_MEMORYFREEPAGES,
        &_IDS_MEMORYTOTALPAGES, &_IDS_MEMORYVIRTUALFREE, &_IDS_MEMORYVIRTUALTOTAL, &_IDS_PLATFORMID,
        &_IDS_PLATFORM, &_IDS_PROCESSORNUMBER, &_IDS_PROCESSOR, &_IDS_TEMPPATH, &_IDS_DOSVERSION, &_IDS_NUMLOCK,
        &_IDS_CAPSLOCK, &_IDS_SCROLL, &_IDS_DATETIME, &_IDS_COMPANYNAME, &_IDS_PRODUCTNAME, &_IDS_PRODUCTVERSION,
        &_IDS_VERSION, &_IDS_VERSION, &_IDS_VERSION, &_IDS_LEGALCOPYRIGHT, &_IDS_TRADEMARK, &_IDS_FILEDESCRIPTION,
        &_IDS_COMMENTS, &_IDS_CPUSPEED};
    const auto index = static_cast<std::size_t>(Kind);
    return index < std::size(captions) ? LoadResString(*captions[index]) : AnsiString();
}

namespace {

AnsiString OnOff(bool on) { return on ? "On" : "Off"; }

std::int64_t CurrentDrive(bool total) { return total ? DiskSize(0) : DiskFree(0); }

// Numeric kinds; false for the texts.
bool NumericValue(TOBLInfoType kind, std::int64_t& value)
{
    switch (kind) {
    case itCurrentDiskFree32: value = CurrentDrive(false); return true;
    case itCurrentDiskSize32: value = CurrentDrive(true); return true;
    case itColorDepth: value = OBLSIColorDepth(); return true;
    case itScreenSaverDelay: value = OBLSIScreenSaverDelay(); return true;
    case itMemSize: value = static_cast<std::int64_t>(OBLSIMemTotal()); return true;
    case itFreeSysRes: value = OBLSIFreeSysRes(); return true;
    case itFreeGDIRes: value = OBLSIFreeGDIRes(); return true;
    case itFreeUserRes: value = OBLSIFreeUserRes(); return true;
    case itMajorVerNr32: value = OBLSIMajorVersionNr(); return true;
    case itBuildNr32: value = OBLSIBuildNr(); return true;
    case itMemLoaded32: value = OBLSIMemLoaded(); return true;
    case itMemFree32: value = static_cast<std::int64_t>(OBLSIMemFree()); return true;
    case itMemPageFree32: value = static_cast<std::int64_t>(OBLSIMemPageFree()); return true;
    case itMemPageTotal32: value = static_cast<std::int64_t>(OBLSIMemPageTotal()); return true;
    case itMemVirtFree32: value = static_cast<std::int64_t>(OBLSIMemVirtFree()); return true;
    case itMemVirtTotal32: value = static_cast<std::int64_t>(OBLSIMemVirtTotal()); return true;
    case itPlatformID32: value = OBLSIPlatformID(); return true;
    case itProcessorCont32: value = OBLSIProcessorCount(); return true;
    default: return false;
    }
}

AnsiString TextValue(TOBLInfoType kind, int divisor, const AnsiString& format)
{
    switch (kind) {
    case itUser: return OBLSIUserName();
    case itWinDir: return OBLSIWindowsDirectory();
    case itCurrentDir32: return GetCurrentDir();
    case itSystemDir: return OBLSISystemDirectory();
    case itTempPath32: return OBLSITempPath();
    case itReg_Owner32: return OBLSIRegisteredOwner();
    case itReg_Company32: return OBLSIRegisteredCompany();
    case itVersion: return OBLSIVersionStr();
    case itComputerName32: return OBLSIComputerName();
    case itPlatform32: return OBLSIPlatformStr();
    case itProcessor32: return OBLSIProcessorTypeStr();
    case itDOSVersion: return "Win32";
    case itNumLock: return OnOff(OBLSINumLock());
    case itCapsLock: return OnOff(OBLSICapsLock());
    case itScroll: return OnOff(OBLSIScrollLock());
    case itCurrentDateTime: return FormatDateTime(format, Now());
    case itProgCompany: return OBLSIVersionInfo(viCompany);
    case itProgName: return OBLSIVersionInfo(viName);
    case itProgVersion: return OBLSIVersionInfo(viVersion);
    case itFileVersion: return OBLSIVersionInfo(viFileVersion);
    case itFileVersionFull: return OBLSIVersionInfo(viFileVersionFull);
    case itFileVersionBuild: return OBLSIVersionInfo(viFileVersionBuild);
    case itProgCopyright: return OBLSIVersionInfo(viCopyright);
    case itProgTrademark: return OBLSIVersionInfo(viTrademark);
    case itProgDescription: return OBLSIVersionInfo(viDescription);
    case itProgComments: return OBLSIVersionInfo(viComments);
    case itCPUSpeed: return Trim(FloatToStr(OBLSIGetCPUSpeed() / divisor));
    default: return AnsiString();
    }
}

constexpr int kMaxInfoText = 2047;

} // namespace

AnsiString GetSystemInfoString(TOBLInfoType Kind, int Divisor, const AnsiString& Format)
{
    const int divisor = Divisor == 0 ? 1 : Divisor;
    std::int64_t value = 0;
    const AnsiString text = NumericValue(Kind, value) ? IntToStr(value / divisor) : TextValue(Kind, divisor, Format);
    return Copy(text, 1, kMaxInfoText);
}
