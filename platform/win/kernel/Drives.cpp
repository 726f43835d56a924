#include "platform/win/kernel/Drives.h"

#include "platform/rtl/FileSystem.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Folders.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace {

constexpr std::uint64_t kSectorSize = 512;

bool IsLogicalDrive(char letter)
{
    const std::string root = FileSystem::DriveRoot(letter);
    struct stat info {};
    if (::stat(root.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    return letter == 'C' || root != "/";
}

// The drive letter a path names ("X:..."), or the current directory's; 0 when there is none.
char DriveOf(LPCSTR path)
{
    const AnsiString text = path ? AnsiString(path) : FileSystem::CurrentDirectory();
    if (text.Length() < 2 || text[2] != ':' || !std::isalpha(static_cast<unsigned char>(text[1])))
        return 0;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])));
}

// A root path names exactly the drive: "X:", "X:\" or "X:/".
bool IsRootPath(LPCSTR path)
{
    if (path == nullptr)
        return true;
    const std::string text(path);
    return text.size() == 2 || (text.size() == 3 && (text[2] == '\\' || text[2] == '/'));
}

bool Space(char letter, std::uint64_t& blockSize, std::uint64_t& total, std::uint64_t& freeBytes, std::uint64_t& available)
{
    if (letter == 0 || !IsLogicalDrive(letter)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    struct statvfs info {};
    if (::statvfs(FileSystem::DriveRoot(letter).c_str(), &info) != 0) {
        SetLastError(ERROR_INVALID_DRIVE);
        return false;
    }
    blockSize = std::max<std::uint64_t>(info.f_frsize ? info.f_frsize : info.f_bsize, kSectorSize);
    total = static_cast<std::uint64_t>(info.f_blocks) * blockSize;
    freeBytes = static_cast<std::uint64_t>(info.f_bfree) * blockSize;
    available = static_cast<std::uint64_t>(info.f_bavail) * blockSize;
    return true;
}

DWORD Cap(std::uint64_t value) { return static_cast<DWORD>(std::min<std::uint64_t>(value, 0xFFFFFFFFu)); }

} // namespace

UINT GetDriveTypeA(LPCSTR rootPath)
{
    const char letter = DriveOf(rootPath);
    if (letter == 0 || !IsRootPath(rootPath) || !IsLogicalDrive(letter))
        return DRIVE_NO_ROOT_DIR;
    return DRIVE_FIXED;
}

DWORD GetLogicalDrives()
{
    DWORD mask = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        if (IsLogicalDrive(letter))
            mask |= 1u << (letter - 'A');
    return mask;
}

DWORD GetLogicalDriveStringsA(DWORD size, LPSTR buffer)
{
    std::string text;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (mask & (1u << i)) {
            text += static_cast<char>('A' + i);
            text += ":\\";
            text += '\0';
        }
    }
    // The block's last zero is the one KernelCopyOut adds after the text.
    return KernelCopyOut(AnsiString(text), buffer, size);
}

BOOL GetDiskFreeSpaceA(LPCSTR rootPath, DWORD* sectorsPerCluster, DWORD* bytesPerSector, DWORD* freeClusters,
                       DWORD* totalClusters)
{
    std::uint64_t blockSize = 0, total = 0, freeBytes = 0, available = 0;
    if (!IsRootPath(rootPath)) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    if (!Space(DriveOf(rootPath), blockSize, total, freeBytes, available))
        return FALSE;
    if (sectorsPerCluster)
        *sectorsPerCluster = static_cast<DWORD>(blockSize / kSectorSize);
    if (bytesPerSector)
        *bytesPerSector = static_cast<DWORD>(kSectorSize);
    if (freeClusters)
        *freeClusters = Cap(available / blockSize);
    if (totalClusters)
        *totalClusters = Cap(total / blockSize);
    return TRUE;
}

BOOL GetDiskFreeSpaceExA(LPCSTR directory, ULARGE_INTEGER* freeToCaller, ULARGE_INTEGER* total,
                         ULARGE_INTEGER* totalFree)
{
    std::uint64_t blockSize = 0, totalBytes = 0, freeBytes = 0, available = 0;
    if (!Space(DriveOf(directory), blockSize, totalBytes, freeBytes, available))
        return FALSE;
    if (freeToCaller)
        freeToCaller->QuadPart = available;
    if (total)
        total->QuadPart = totalBytes;
    if (totalFree)
        totalFree->QuadPart = freeBytes;
    return TRUE;
}
