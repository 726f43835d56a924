// Version, memory and processor queries. The stand-in reports Windows XP (NT 5.1, build 2600,
// Service Pack 3) on one x86 machine; memory comes from the host, capped to 32-bit values.
#pragma once

#include "platform/win/WinTypes.h"

#include <cstdint>
#include <optional>

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
constexpr BYTE VER_NT_WORKSTATION = 1;
constexpr WORD VER_SUITE_SINGLEUSERTS = 0x100;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
static_assert(sizeof(OSVERSIONINFOA) == 148);

struct OSVERSIONINFOEXA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
    WORD wServicePackMajor;
    WORD wServicePackMinor;
    WORD wSuiteMask;
    BYTE wProductType;
    BYTE wReserved;
};
static_assert(sizeof(OSVERSIONINFOEXA) == 156);

using OSVERSIONINFO = OSVERSIONINFOA;
using OSVERSIONINFOEX = OSVERSIONINFOEXA;

// The record's dwOSVersionInfoSize must be exactly 148 (basic) or 156 (extended); any other
// size is refused with ERROR_INSUFFICIENT_BUFFER and the record is left untouched.
BOOL GetVersionExA(OSVERSIONINFOA* info);
inline BOOL GetVersionEx(OSVERSIONINFOA* info) { return GetVersionExA(info); }
// Low byte major, next byte minor, high word build; bit 31 clear for the NT family.
DWORD GetVersion();

// 32-bit sizes, as the original record on a 32-bit system.
struct MEMORYSTATUS {
    DWORD dwLength;
    DWORD dwMemoryLoad;
    DWORD dwTotalPhys;
    DWORD dwAvailPhys;
    DWORD dwTotalPageFile;
    DWORD dwAvailPageFile;
    DWORD dwTotalVirtual;
    DWORD dwAvailVirtual;
};

// Sizes above 2 GB - 1 are reported as 0x7FFFFFFF, as the original does for a program that is
// not large-address aware, so callers reading them as signed or unsigned never see a wrap.
void GlobalMemoryStatus(MEMORYSTATUS* status);

// The host's memory figures in bytes, before capping. Tests may replace them.
struct TMemoryFigures {
    std::uint64_t totalPhys = 0;
    std::uint64_t availPhys = 0;
    std::uint64_t totalPageFile = 0;
    std::uint64_t availPageFile = 0;
};
void SetMemoryFiguresForTesting(std::optional<TMemoryFigures> figures);

constexpr WORD PROCESSOR_ARCHITECTURE_INTEL = 0;
constexpr DWORD PROCESSOR_INTEL_386 = 386;
constexpr DWORD PROCESSOR_INTEL_486 = 486;
constexpr DWORD PROCESSOR_INTEL_PENTIUM = 586;

struct SYSTEM_INFO {
    WORD wProcessorArchitecture;
    WORD wReserved;
    DWORD dwPageSize;
    LPVOID lpMinimumApplicationAddress;
    LPVOID lpMaximumApplicationAddress;
    DWORD_PTR dwActiveProcessorMask;
    DWORD dwNumberOfProcessors;
    DWORD dwProcessorType;
    DWORD dwAllocationGranularity;
    WORD wProcessorLevel;
    WORD wProcessorRevision;
};

// Processor count from the host (1 to 32); the rest fixed for an x86 Pentium-class machine.
void GetSystemInfo(SYSTEM_INFO* info);
