#include "platform/rtl/Files.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/CodePage.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kErrorFileNotFound = 2;
constexpr int kErrorPathNotFound = 3;
constexpr int kErrorNoMoreFiles = 18;

std::string Host(const AnsiString& name) { return FileSystem::ToPosixPath(name); }

bool Stat(const AnsiString& name, struct stat& info)
{
    return !name.IsEmpty() && ::stat(Host(name).c_str(), &info) == 0;
}

std::int32_t StampOf(std::time_t seconds)
{
    std::tm local{};
    localtime_r(&seconds, &local);
    TDateTime value = 0;
    TDateTime time = 0;
    if (!TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, value)) return 0;
    TryEncodeTime(local.tm_hour, local.tm_min, local.tm_sec < 60 ? local.tm_sec : 59, 0, time);
    return DateTimeToFileDate(value + time);
}

std::int64_t DiskQuery(int drive, bool free)
{
    std::string folder;
    if (drive == 0) folder = ".";
    else if (drive >= 1 && drive <= 26) folder = FileSystem::DriveRoot(static_cast<char>('A' + drive - 1));
    else return -1;
    struct statvfs info{};
    if (::statvfs(folder.c_str(), &info) != 0) return -1;
    const auto blocks = free ? info.f_bavail : info.f_blocks;
    return static_cast<std::int64_t>(blocks) * static_cast<std::int64_t>(info.f_frsize);
}

// Windows wildcard match, ignoring letter case: "*" any run, "?" any one character;
// "*.*" matches every name, dot or not.
bool Matches(const char* pattern, const char* name)
{
    if (std::string(pattern) == "*.*") return true;
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || std::tolower(static_cast<unsigned char>(*pattern)) == std::tolower(static_cast<unsigned char>(*name))) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

} // namespace

struct TSearchState {
    std::string folder;             // host folder
    std::string pattern;            // UTF-8 pattern of the name part
    std::vector<std::string> names; // entries still to look at
    std::size_t next = 0;
};

namespace {

int AttributesOf(const std::string& path, const std::string& name, const struct stat& info)
{
    int attr = 0;
    if (S_ISDIR(info.st_mode)) attr |= faDirectory;
    else attr |= faArchive;
    if (::access(path.c_str(), W_OK) != 0) attr |= faReadOnly;
    if (name.size() > 1 && name[0] == '.' && name != "..") attr |= faHidden;
    return attr;
}

// Moves to the next entry that matches and passes the attribute mask; false at the end.
bool Advance(TSearchRec& rec)
{
    TSearchState& state = *rec.FindHandle;
    while (state.next < state.names.size()) {
        const std::string name = state.names[state.next++];
        if (!Matches(state.pattern.c_str(), name.c_str())) continue;
        const std::string path = (state.folder.empty() ? std::string() : state.folder + "/") + name;
        struct stat info{};
        if (::stat(path.c_str(), &info) != 0) continue;
        const int attr = AttributesOf(path, name, info);
        if (attr & rec.ExcludeAttr) continue;
        rec.Attr = attr;
        rec.Name = Utf8ToAnsi(name);
        rec.Size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::int64_t>(info.st_size);
        rec.Time = StampOf(info.st_mtime);
        return true;
    }
    return false;
}

bool IsDriveRoot(const AnsiString& folder)
{
    const AnsiString full = ExpandFileName(folder.IsEmpty() ? AnsiString(".") : folder);
    return full.Length() == 3 && full[2] == ':';
}

} // namespace

bool FileExists(const AnsiString& fileName)
{
    struct stat info{};
    return Stat(fileName, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const AnsiString& name)
{
    struct stat info{};
    return Stat(name, info) && S_ISDIR(info.st_mode);
}

bool CreateDir(const AnsiString& dir) { return !dir.IsEmpty() && ::mkdir(Host(dir).c_str(), 0777) == 0; }

bool RemoveDir(const AnsiString& dir) { return !dir.IsEmpty() && ::rmdir(Host(dir).c_str()) == 0; }

bool ForceDirectories(const AnsiString& dir)
{
    if (dir.IsEmpty()) return false;
    const AnsiString folder = ExcludeTrailingBackslash(ExpandFileName(dir));
    if (DirectoryExists(folder)) return true;
    const AnsiString parent = ExtractFileDir(folder);
    if (parent == folder || parent.IsEmpty()) return false;
    if (!ForceDirectories(parent)) return false;
    return CreateDir(folder) || DirectoryExists(folder);
}

bool DeleteFile(const AnsiString& fileName)
{
    return FileExists(fileName) && ::unlink(Host(fileName).c_str()) == 0;
}

bool RenameFile(const AnsiString& oldName, const AnsiString& newName)
{
    struct stat info{};
    if (oldName.IsEmpty() || newName.IsEmpty() || Stat(newName, info)) return false;
    return std::rename(Host(oldName).c_str(), Host(newName).c_str()) == 0;
}

AnsiString GetCurrentDir() { return FileSystem::CurrentDirectory(); }

bool SetCurrentDir(const AnsiString& dir) { return FileSystem::ChangeDirectory(dir); }

std::int64_t DiskFree(int drive) { return DiskQuery(drive, true); }

std::int64_t DiskSize(int drive) { return DiskQuery(drive, false); }

std::int32_t DateTimeToFileDate(TDateTime value)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    DecodeDate(value, year, month, day);
    if (year < 1980 || year > 2107) return 0;
    DecodeTime(value, hour, minute, second, ms);
    const std::uint32_t date = static_cast<std::uint32_t>(((year - 1980) << 9) | (month << 5) | day);
    const std::uint32_t time = static_cast<std::uint32_t>((hour << 11) | (minute << 5) | (second >> 1));
    return static_cast<std::int32_t>((date << 16) | time);
}

TDateTime FileDateToDateTime(std::int32_t fileDate)
{
    const auto bits = static_cast<std::uint32_t>(fileDate);
    const int date = static_cast<int>(bits >> 16);
    const int time = static_cast<int>(bits & 0xFFFF);
    TDateTime day = 0;
    TDateTime clock = 0;
    if (!TryEncodeDate((date >> 9) + 1980, (date >> 5) & 15, date & 31, day) ||
        !TryEncodeTime(time >> 11, (time >> 5) & 63, (time & 31) * 2, 0, clock))
        return 0;
    return day + clock;
}

std::int32_t FileAge(const AnsiString& fileName)
{
    struct stat info{};
    return Stat(fileName, info) && !S_ISDIR(info.st_mode) ? StampOf(info.st_mtime) : -1;
}

int FindFirst(const AnsiString& path, int attr, TSearchRec& rec)
{
    FindClose(rec);
    const AnsiString folder = ExtractFilePath(path);
    auto state = std::make_shared<TSearchState>();
    state->folder = folder.IsEmpty() ? std::string() : Host(folder);
    while (state->folder.size() > 1 && state->folder.back() == '/') state->folder.pop_back();
    state->pattern = AnsiToUtf8(ExtractFileName(path));
    DIR* dir = ::opendir(state->folder.empty() ? "." : state->folder.c_str());
    if (!dir) return kErrorPathNotFound;
    const bool root = IsDriveRoot(folder);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (root && (name == "." || name == "..")) continue;
        state->names.push_back(name);
    }
    ::closedir(dir);
    rec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    rec.FindHandle = state;
    if (Advance(rec)) return 0;
    FindClose(rec);
    return kErrorFileNotFound;
}

int FindNext(TSearchRec& rec)
{
    if (!rec.FindHandle) return kErrorNoMoreFiles;
    return Advance(rec) ? 0 : kErrorNoMoreFiles;
}

void FindClose(TSearchRec& rec) { rec.FindHandle.reset(); }
