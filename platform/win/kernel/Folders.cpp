#include "platform/win/kernel/Folders.h"

#include "platform/rtl/FileSystem.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Time.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<AnsiString> tempOverride;

AnsiString WithBackslash(const AnsiString& path)
{
    if (!path.IsEmpty() && path[path.Length()] == '\\')
        return path;
    return path + "\\";
}

bool IsDirectory(const std::string& posixPath)
{
    struct stat info {};
    return ::stat(posixPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

AnsiString TempFileName(const AnsiString& folder, const char* prefix, UINT number)
{
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", number & 0xFFFF);
    return WithBackslash(folder) + Copy(AnsiString(prefix ? prefix : ""), 1, 3) + digits + ".TMP";
}

bool Fits(const AnsiString& name)
{
    if (name.Length() < static_cast<int>(MAX_PATH))
        return true;
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
}

void StoreName(const AnsiString& name, LPSTR target)
{
    std::memcpy(target, name.c_str(), static_cast<std::size_t>(name.Length()) + 1);
}

} // namespace

DWORD KernelCopyOut(const AnsiString& text, LPSTR buffer, DWORD size)
{
    const DWORD length = static_cast<DWORD>(text.Length());
    if (buffer == nullptr || size <= length)
        return length + 1;
    std::memcpy(buffer, text.c_str(), length + 1);
    return length;
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) { return KernelCopyOut(FileSystem::WindowsFolder(), buffer, size); }

UINT GetSystemDirectoryA(LPSTR buffer, UINT size) { return KernelCopyOut(FileSystem::SystemFolder(), buffer, size); }

void SetTempPathForTesting(std::optional<AnsiString> windowsPath) { tempOverride = std::move(windowsPath); }

DWORD GetTempPathA(DWORD size, LPSTR buffer)
{
    AnsiString path;
    if (tempOverride) {
        path = *tempOverride;
    } else {
        const char* tmp = std::getenv("TMPDIR");
        path = FileSystem::ToWindowsPath((tmp && *tmp) ? tmp : "/tmp");
    }
    return KernelCopyOut(WithBackslash(path), buffer, size);
}

UINT GetTempFileNameA(LPCSTR pathName, LPCSTR prefix, UINT unique, LPSTR tempFileName)
{
    if (pathName == nullptr || tempFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const AnsiString folder(pathName);
    if (!IsDirectory(FileSystem::ToPosixPath(folder.IsEmpty() ? AnsiString(".") : folder))) {
        SetLastError(ERROR_DIRECTORY);
        return 0;
    }
    if (unique != 0) {
        // Only the low 16 bits name the file; the caller's number is answered as given.
        const AnsiString name = TempFileName(folder, prefix, unique);
        if (!Fits(name))
            return 0;
        StoreName(name, tempFileName);
        return unique;
    }
    if (!Fits(TempFileName(folder, prefix, 0)))
        return 0;
    // Start from the tick count, as the original, and walk the 65535 numbers until one is free.
    const UINT start = GetTickCount() & 0xFFFF;
    for (UINT step = 0; step < 0xFFFF; ++step) {
        const UINT number = ((start + step) % 0xFFFF) + 1;
        const AnsiString name = TempFileName(folder, prefix, number);
        const int fd = ::open(FileSystem::ToPosixPath(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            StoreName(name, tempFileName);
            return number;
        }
        if (errno != EEXIST) {
            SetLastError(errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}
