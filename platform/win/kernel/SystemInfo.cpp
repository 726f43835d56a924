#include "platform/win/kernel/SystemInfo.h"

#include "platform/win/kernel/Errors.h"

#include <algorithm>
#include <cstring>
#include <sys/sysinfo.h>
#include <thread>

namespace {

constexpr DWORD kMajor = 5;
constexpr DWORD kMinor = 1;
constexpr DWORD kBuild = 2600;
constexpr char kServicePack[] = "Service Pack 3";
constexpr std::uint64_t kVirtualSize = 0x7FFE0000; // user address space of a 32-bit process
constexpr DWORD kMaxReported = 0x7FFFFFFF;

std::optional<TMemoryFigures> memoryOverride;

TMemoryFigures HostMemory()
{
    struct sysinfo info {};
    TMemoryFigures figures;
    if (::sysinfo(&info) != 0)
        return figures;
    const std::uint64_t unit = info.mem_unit ? info.mem_unit : 1;
    figures.totalPhys = info.totalram * unit;
    figures.availPhys = (info.freeram + info.bufferram) * unit;
    figures.totalPageFile = (info.totalram + info.totalswap) * unit;
    figures.availPageFile = (info.freeram + info.bufferram + info.freeswap) * unit;
    return figures;
}

DWORD Cap(std::uint64_t bytes) { return static_cast<DWORD>(std::min<std::uint64_t>(bytes, kMaxReported)); }

} // namespace

BOOL GetVersionExA(OSVERSIONINFOA* info)
{
    if (info == nullptr || (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA) &&
                            info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXA))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    info->dwMajorVersion = kMajor;
    info->dwMinorVersion = kMinor;
    info->dwBuildNumber = kBuild;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    std::memcpy(info->szCSDVersion, kServicePack, sizeof kServicePack);
    if (info->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXA)) {
        auto* ex = reinterpret_cast<OSVERSIONINFOEXA*>(info);
        ex->wServicePackMajor = 3;
        ex->wServicePackMinor = 0;
        ex->wSuiteMask = VER_SUITE_SINGLEUSERTS;
        ex->wProductType = VER_NT_WORKSTATION;
        ex->wReserved = 0;
    }
    return TRUE;
}

DWORD GetVersion() { return kMajor | (kMinor << 8) | (kBuild << 16); }

void SetMemoryFiguresForTesting(std::optional<TMemoryFigures> figures) { memoryOverride = figures; }

void GlobalMemoryStatus(MEMORYSTATUS* status)
{
    if (status == nullptr)
        return;
    const TMemoryFigures figures = memoryOverride ? *memoryOverride : HostMemory();
    status->dwLength = sizeof(MEMORYSTATUS);
    const std::uint64_t used = figures.totalPhys > figures.availPhys ? figures.totalPhys - figures.availPhys : 0;
    status->dwMemoryLoad = figures.totalPhys ? static_cast<DWORD>(used * 100 / figures.totalPhys) : 0;
    status->dwTotalPhys = Cap(figures.totalPhys);
    status->dwAvailPhys = Cap(figures.availPhys);
    status->dwTotalPageFile = Cap(figures.totalPageFile);
    status->dwAvailPageFile = Cap(figures.availPageFile);
    status->dwTotalVirtual = Cap(kVirtualSize);
    status->dwAvailVirtual = Cap(kVirtualSize - 0x1000000);
}

void GetSystemInfo(SYSTEM_INFO* info)
{
    if (info == nullptr)
        return;
    const unsigned host = std::thread::hardware_concurrency();
    const DWORD processors = std::clamp<DWORD>(host ? host : 1, 1, 32);
    std::memset(info, 0, sizeof *info);
    info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
    info->dwPageSize = 4096;
    info->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(std::uintptr_t{0x10000});
    info->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(std::uintptr_t{0x7FFEFFFF});
    info->dwActiveProcessorMask = processors == 32 ? 0xFFFFFFFFu : ((DWORD_PTR{1} << processors) - 1);
    info->dwNumberOfProcessors = processors;
    info->dwProcessorType = PROCESSOR_INTEL_PENTIUM;
    info->dwAllocationGranularity = 65536;
    info->wProcessorLevel = 6;
    info->wProcessorRevision = 0x0F02;
}
