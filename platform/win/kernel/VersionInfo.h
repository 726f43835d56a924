// Version resources of the programs: each program registers its version record under its
// file name; the original queries read it back ("\" for the fixed record,
// "\VarFileInfo\Translation", "\StringFileInfo\llllcccc\Name"; doubled backslashes accepted).
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/WinTypes.h"

#include <array>
#include <vector>

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};

constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;
constexpr DWORD VS_FFI_STRUCVERSION = 0x00010000;
constexpr DWORD VOS_NT_WINDOWS32 = 0x00040004;
constexpr DWORD VFT_APP = 1;
constexpr DWORD VFT_DLL = 2;

struct TVersionString {
    WORD language;
    WORD codePage;
    AnsiString name;
    AnsiString value;
};

// A program's version record: versions as four numbers (major, minor, release, build),
// the translations (language, code page) in order, and the named texts.
struct TVersionInfo {
    std::array<WORD, 4> fileVersion{};
    std::array<WORD, 4> productVersion{};
    DWORD fileType = VFT_APP;
    std::vector<std::pair<WORD, WORD>> translations;
    std::vector<TVersionString> strings;
};

// The file is matched by its file name without regard to case or folder.
void RegisterVersionInfo(const AnsiString& fileName, const TVersionInfo& info);
void UnregisterVersionInfo(const AnsiString& fileName);

// Size of the file's version block, 0 (ERROR_RESOURCE_TYPE_NOT_FOUND) when it has none.
DWORD GetFileVersionInfoSizeA(LPCSTR fileName, DWORD* handle);
inline DWORD GetFileVersionInfoSize(LPCSTR fileName, DWORD* handle) { return GetFileVersionInfoSizeA(fileName, handle); }
// Copies the block, cut to length; a cut block answers only what lies inside it.
BOOL GetFileVersionInfoA(LPCSTR fileName, DWORD handle, DWORD length, LPVOID data);
inline BOOL GetFileVersionInfo(LPCSTR fileName, DWORD handle, DWORD length, LPVOID data)
{
    return GetFileVersionInfoA(fileName, handle, length, data);
}
// *buffer points into the block: the fixed record (length 52), the translation array (4 bytes
// each) or a text with its zero (length in characters including the zero).
BOOL VerQueryValueA(const void* block, LPCSTR subBlock, LPVOID* buffer, UINT* length);
inline BOOL VerQueryValue(const void* block, LPCSTR subBlock, LPVOID* buffer, UINT* length)
{
    return VerQueryValueA(block, subBlock, buffer, length);
}
