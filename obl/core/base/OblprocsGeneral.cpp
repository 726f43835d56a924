// The general procedures of unit Oblprocs (its LZRW codec lives in Oblprocs.cpp).
#include "obl/core/base/Oblprocs.h"

#include "obl/core/base/Oblstrings.h"
#include "platform/classlib/Forms.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Menus.h"
#include "platform/win/user/User.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

// ---- Rectangles and points -----------------------------------------------------------

RECT OBLExpandRect(const RECT& r, int n) { return RECT{r.left - n, r.top - n, r.right + n, r.bottom + n}; }

void OBLAdjustRect(RECT& r, int dx, int dy)
{
    r.right += dx;
    r.bottom += dy;
}

void OBLAdjustRectExt(RECT& r, int dLeft, int dTop, int dRight, int dBottom)
{
    r.left += dLeft;
    r.top += dTop;
    r.right += dRight;
    r.bottom += dBottom;
}

RECT OBLAffineRect(const RECT& source, const RECT& target)
{
    const long double sw = source.right - source.left;
    const long double sh = source.bottom - source.top;
    // A source without area has no proportions to keep.
    if (sw == 0 || sh == 0) return RECT{target.left, target.top, target.left, target.top};
    const long double f = std::min((target.right - target.left) / sw, (target.bottom - target.top) / sh);
    return RECT{target.left, target.top, target.left + static_cast<int>(std::trunc(sw * f)),
                target.top + static_cast<int>(std::trunc(sh * f))};
}

void OBLGetRectWH(const RECT& r, int& w, int& h)
{
    w = r.right - r.left;
    h = r.bottom - r.top;
}

bool OBLRectinRect(const RECT& a, const RECT& b)
{
    return PtInRect(&b, POINT{a.left, a.top}) && PtInRect(&b, POINT{a.right, a.bottom});
}

namespace {

// Nearest integer, ties to even.
int RoundEven(long double v) { return static_cast<int>(std::nearbyint(v)); }

long double Radians(long double degrees) { return degrees * std::numbers::pi_v<long double> / 180; }

} // namespace

void OBLCalcRotRect(RECT& r, int angle)
{
    if (angle == 0) return;
    const long double a = Radians(angle);
    const int hw = (r.right - r.left) / 2;
    const int hh = (r.bottom - r.top) / 2;
    const int cx = r.left + hw;
    const int cy = r.top + hh;
    const long double c = std::cos(a), s = std::sin(a);
    const int l = RoundEven(hw * c - hh * s);
    const int m = RoundEven(hw * c + hh * s);
    const int t = RoundEven(hw * s - hh * c);
    const int u = RoundEven(hw * s + hh * c);
    const int left = std::min({cx - l, cx - m, cx + m, cx + l});
    const int right = std::max({cx - l, cx - m, cx + m, cx + l});
    const int top = std::min({cy + t, cy + u, cy - u, cy - t});
    const int bottom = std::max({cy + t, cy + u, cy - u, cy - t});
    r = RECT{0, 0, right - left, bottom - top};
}

int OBLRotatedXPos(int angle, int h, int w)
{
    int k = 0;
    if (angle >= 91 && angle <= 180) k = RoundEven(h * std::sin(Radians(angle - 90)));
    else if (angle >= 181 && angle <= 270) k = h;
    else if (angle >= 271 && angle <= 359) k = RoundEven(h * std::sin(Radians(angle - 90))) + h;
    return RoundEven(w * std::sin(Radians(angle)) + k);
}

int OBLRotatedYPos(int angle, int h, int w)
{
    int k = 0;
    if (angle >= 0 && angle <= 90) k = RoundEven(w * std::sin(Radians(angle)));
    else if (angle >= 91 && angle <= 180) k = w;
    else if (angle >= 181 && angle <= 270) k = RoundEven(w * std::sin(Radians(angle))) + w;
    return RoundEven(w * std::cos(Radians(angle)) + k);
}

void OBLMidpoint(const POINT* points, int high, POINT& p)
{
    if (high < 0) return;
    // Summed in 64 bits, so many far-out points cannot overflow.
    std::int64_t sx = 0, sy = 0;
    for (int i = 0; i <= high; ++i) {
        sx += points[i].x;
        sy += points[i].y;
    }
    const std::int64_t n = high + 1;
    p = POINT{static_cast<LONG>(sx / n), static_cast<LONG>(sy / n)};
}

void OBLOffsetPoints(POINT* points, int high, int dx, int dy)
{
    for (int i = 0; i <= high; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
}

void OBLNullPoints(POINT* points, int high)
{
    for (int i = 0; i <= high; ++i) points[i] = POINT{0, 0};
}

// ---- Numbers -------------------------------------------------------------------------

namespace {

// The first of equal extremes wins; an empty array answers 0.
template <class T, class Better>
T Extreme(const T* values, int high, Better better)
{
    if (high < 0) return T{};
    T result = values[0];
    for (int i = 1; i <= high; ++i)
        if (better(values[i], result)) result = values[i];
    return result;
}

} // namespace

int OBLMax(const int* values, int high) { return Extreme(values, high, std::greater<>()); }
int OBLMin(const int* values, int high) { return Extreme(values, high, std::less<>()); }
long double OBLMaxR(const long double* values, int high) { return Extreme(values, high, std::greater<>()); }
long double OBLMinR(const long double* values, int high) { return Extreme(values, high, std::less<>()); }

int OBLMidI(int a, int b) { return static_cast<int>((static_cast<std::int64_t>(a) + b) / 2); }

void OBLSwapInt(int& a, int& b) { std::swap(a, b); }
void OBLSwapString(AnsiString& a, AnsiString& b) { std::swap(a, b); }

int OBLExp(int base, int n)
{
    std::uint32_t result = 1;
    for (int i = 0; i < n; ++i) result *= static_cast<std::uint32_t>(base);
    return static_cast<int>(result);
}

int OBLInc(int& n) { return n = static_cast<int>(static_cast<std::uint32_t>(n) + 1u); }
int OBLDec(int& n) { return n = static_cast<int>(static_cast<std::uint32_t>(n) - 1u); }

void OBLSetBit(BYTE& b, int bit, bool on)
{
    if (bit < 0 || bit > 7) return;
    const auto mask = static_cast<BYTE>(1u << bit);
    b = on ? static_cast<BYTE>(b | mask) : static_cast<BYTE>(b & ~mask);
}

void OBLSetBitUpTo(BYTE& b, int bit)
{
    for (int i = 0; i <= std::min(bit, 7); ++i) OBLSetBit(b, i, true);
}

bool OBLGetBit(BYTE b, int bit) { return bit >= 0 && bit <= 7 && (b & (1u << bit)) != 0; }

// ---- Paths and names -----------------------------------------------------------------

AnsiString OBLAppPath() { return OBLSlashAdd(ExtractFilePath(ParamStr(0))); }

AnsiString OBLAppIniName() { return "SOFTWARE\\" + OBLExtractFileName(ParamStr(0)); }

AnsiString OBLExtractFileName(const AnsiString& s) { return ChangeFileExt(ExtractFileName(s), ""); }

namespace {

constexpr UINT kFolderBufferSize = 260;

// The folder the query writes; a folder longer than the buffer is a failure, not a
// text cut at the buffer's end.
AnsiString QueryFolder(UINT (*query)(LPSTR, UINT))
{
    char buffer[kFolderBufferSize] = {};
    const UINT length = query(buffer, kFolderBufferSize);
    if (length == 0 || length >= kFolderBufferSize) return AnsiString();
    return AnsiString(buffer, length);
}

} // namespace

AnsiString OBLWindowsDirectory() { return QueryFolder(GetWindowsDirectoryA); }
AnsiString OBLSystemDirectory() { return QueryFolder(GetSystemDirectoryA); }

AnsiString OBLCreatePathPrefix(TOBLPathPrefix kind, bool withSlash)
{
    AnsiString folder;
    switch (kind) {
    case ppWindows: folder = OBLWindowsDirectory(); break;
    case ppSystem: folder = OBLSystemDirectory(); break;
    case ppProgram: folder = OBLAppPath(); break;
    case ppFixed: return AnsiString();
    }
    return withSlash ? OBLSlashAdd(folder) : OBLSlashRemove(folder);
}

namespace {

// One folder level less: "\a\b\" becomes "\...\b\", "...\b\" becomes "...\".
AnsiString ShortenFolder(AnsiString folder)
{
    if (folder == "\\") return AnsiString();
    const bool rooted = folder[1] == '\\';
    if (rooted) Delete(folder, 1, 1);
    if (!folder.IsEmpty() && folder[1] == '.') Delete(folder, 1, 4);
    const int p = Pos("\\", folder);
    folder = p == 0 ? AnsiString() : "...\\" + Copy(folder, p + 1, folder.Length());
    return rooted ? "\\" + folder : folder;
}

} // namespace

AnsiString OBLShrunkFileName(const AnsiString& path, int maxLength)
{
    AnsiString result = path;
    AnsiString folder = ExtractFilePath(path);
    const AnsiString name = ExtractFileName(path);
    AnsiString drive;
    if (folder.Length() >= 2 && folder[2] == ':') {
        drive = Copy(folder, 1, 2);
        Delete(folder, 1, 2);
    }
    while ((!folder.IsEmpty() || !drive.IsEmpty()) && result.Length() > maxLength) {
        if (folder == "\\...\\") {
            drive = AnsiString();
            folder = "...\\";
        } else if (!folder.IsEmpty()) {
            folder = ShortenFolder(folder);
        } else {
            drive = AnsiString();
        }
        result = drive + folder + name;
    }
    return result;
}

// ---- Other ---------------------------------------------------------------------------

void OBLDelay(DWORD ms)
{
    if (ms == 0) return;
    const DWORD start = GetTickCount();
    while (static_cast<DWORD>(GetTickCount() - start) <= ms) {
    }
}

namespace {

void DeleteAt(HMENU menu, UINT position) { DeleteMenu(menu, position, MF_BYPOSITION); }

void CheckFullMenu(TOBLSysMenuEntries e, HMENU menu)
{
    if (!e.Contains(smSwitch) && !NewStyleControls) {
        DeleteAt(menu, 8);
        DeleteAt(menu, 7);
    }
    if (!e.Contains(smClose)) {
        DeleteAt(menu, 6);
        DeleteAt(menu, 5);
    } else if (e == TOBLSysMenuEntries{smClose}) {
        DeleteAt(menu, 5);
    }
    if (!e.Contains(smMaximize)) DeleteAt(menu, 4);
    if (!e.Contains(smMinimize)) DeleteAt(menu, 3);
    if (!e.Contains(smSize)) DeleteAt(menu, 2);
    if (!e.Contains(smMove)) DeleteAt(menu, 1);
    if (!e.Contains(smRestore)) DeleteAt(menu, 0);
}

// A menu without Size and Maximize.
void CheckReducedMenu(TOBLSysMenuEntries e, HMENU menu)
{
    const bool ns = NewStyleControls;
    if (!e.Contains(smSwitch) && !ns) {
        DeleteAt(menu, 6);
        DeleteAt(menu, 5);
    }
    if (!e.Contains(smClose)) {
        DeleteAt(menu, ns ? 3 : 4);
        DeleteAt(menu, ns ? 2 : 3);
    } else if (e == TOBLSysMenuEntries{smClose}) {
        DeleteAt(menu, ns ? 2 : 3);
    }
    if (!e.Contains(smMinimize)) DeleteAt(menu, ns ? 1 : 2);
    if (!e.Contains(smMove) && !ns) DeleteAt(menu, 1);
    if (!e.Contains(smRestore)) DeleteAt(menu, 0);
}

bool HasScheme(const AnsiString& address, const char* scheme)
{
    const AnsiString s(scheme);
    return SameText(Copy(address, 1, s.Length()), s);
}

void OpenAddress(AnsiString text, const AnsiString& subject)
{
    if (!subject.IsEmpty()) text += "?subject=" + subject;
    ShellExecuteA(nullptr, nullptr, text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

void OBLCheckSystemMenu(TOBLSysMenuEntries entries, HMENU menu, bool reduced)
{
    if (menu == nullptr) return;
    if (reduced) CheckReducedMenu(entries, menu);
    else CheckFullMenu(entries, menu);
}

void OBLMailTo(const AnsiString& address, const AnsiString& subject)
{
    OpenAddress(HasScheme(address, "mailto:") ? address : "mailto:" + address, subject);
}

void OBLJumpTo(const AnsiString& address, bool asIs)
{
    const bool prefixed = HasScheme(address, "http://") || HasScheme(address, "https://");
    OpenAddress(asIs || prefixed ? address : "http://" + address, AnsiString());
}
