// Drives over the run time's drive mapping. A letter is a logical drive when its host root is
// an existing folder and it is C or has been given a root of its own; every drive is fixed.
#pragma once

#include "platform/win/WinTypes.h"

#include <cstdint>

constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;

union ULARGE_INTEGER {
    struct {
        DWORD LowPart;
        DWORD HighPart;
    } u;
    std::uint64_t QuadPart;
};

// "C:\\" (also "C:" or "C:/"), nullptr for the current directory's drive.
UINT GetDriveTypeA(LPCSTR rootPath);
inline UINT GetDriveType(LPCSTR rootPath) { return GetDriveTypeA(rootPath); }

// "C:\<zero>D:\<zero><zero>"; answers the length without the last zero, or the size needed
// (with it) when the buffer is too small, leaving the buffer alone.
DWORD GetLogicalDriveStringsA(DWORD size, LPSTR buffer);
inline DWORD GetLogicalDriveStrings(DWORD size, LPSTR buffer) { return GetLogicalDriveStringsA(size, buffer); }
// Bit n set for drive letter 'A' + n.
DWORD GetLogicalDrives();

// Space of the host file system under the drive's root, as 512-byte sectors in clusters of the
// file system's block size; counts beyond 32 bits are capped at 0xFFFFFFFF.
BOOL GetDiskFreeSpaceA(LPCSTR rootPath, DWORD* sectorsPerCluster, DWORD* bytesPerSector, DWORD* freeClusters,
                       DWORD* totalClusters);
inline BOOL GetDiskFreeSpace(LPCSTR rootPath, DWORD* sectorsPerCluster, DWORD* bytesPerSector, DWORD* freeClusters,
                             DWORD* totalClusters)
{
    return GetDiskFreeSpaceA(rootPath, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
}
// The same in bytes, 64-bit; directory may be any folder of the drive.
BOOL GetDiskFreeSpaceExA(LPCSTR directory, ULARGE_INTEGER* freeToCaller, ULARGE_INTEGER* total,
                         ULARGE_INTEGER* totalFree);
inline BOOL GetDiskFreeSpaceEx(LPCSTR directory, ULARGE_INTEGER* freeToCaller, ULARGE_INTEGER* total,
                               ULARGE_INTEGER* totalFree)
{
    return GetDiskFreeSpaceExA(directory, freeToCaller, total, totalFree);
}
