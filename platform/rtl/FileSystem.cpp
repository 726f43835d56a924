#include "platform/rtl/FileSystem.h"

#include "platform/rtl/CodePage.h"

#include <array>
#include <cctype>
#include <dirent.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kDrives = 26;
const char* const kDefaultWindowsFolder = "C:\\WINDOWS";
const char* const kDefaultSystemFolder = "C:\\WINDOWS\\SYSTEM32";

struct State {
    std::array<std::string, kDrives> roots;
    AnsiString windowsFolder = kDefaultWindowsFolder;
    AnsiString systemFolder = kDefaultSystemFolder;
    State() { roots.fill("/"); }
};

State& Settings()
{
    static State state;
    return state;
}

int DriveIndex(char drive)
{
    const int c = std::toupper(static_cast<unsigned char>(drive));
    return c >= 'A' && c <= 'Z' ? c - 'A' : -1;
}

bool HasDrive(const AnsiString& path)
{
    return path.Length() >= 2 && path[2] == ':' && DriveIndex(path[1]) >= 0;
}

// The root with no trailing slash, so that joining adds exactly one ("/" becomes "").
std::string RootPrefix(const std::string& root)
{
    std::string prefix = root;
    while (!prefix.empty() && prefix.back() == '/') prefix.pop_back();
    return prefix;
}

bool Exists(const std::string& path)
{
    struct stat info{};
    return ::lstat(path.c_str(), &info) == 0;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

// The entry of 'folder' named 'name' in any letter case; empty when there is none.
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& name)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return {};
    std::string found;
    while (const dirent* entry = ::readdir(dir)) {
        if (SameIgnoringAsciiCase(entry->d_name, name)) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

std::vector<std::string> SplitComponents(const std::string& relative)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char c : relative) {
        if (c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

// Joins the components under 'base', taking for each missing one an existing entry of
// another letter case; after the first component that is missing altogether the rest
// is kept as written (a file or folder about to be created).
std::string ResolveCase(const std::string& base, const std::string& relative, bool trailingSlash)
{
    std::string path = base;
    bool resolving = true;
    for (const std::string& part : SplitComponents(relative)) {
        const std::string folder = path;
        const std::string joined = path.empty() ? part : (path == "/" ? "/" + part : path + "/" + part);
        std::string chosen = part;
        if (resolving && part != "." && part != ".." && !Exists(joined)) {
            const std::string other = FindEntryIgnoringCase(folder, part);
            if (other.empty()) resolving = false;
            else chosen = other;
        }
        path = path.empty() ? chosen : (path == "/" ? "/" + chosen : path + "/" + chosen);
    }
    if (trailingSlash && !path.empty() && path.back() != '/') path += '/';
    return path;
}

int CurrentDrive()
{
    const AnsiString current = FileSystem::CurrentDirectory();
    return HasDrive(current) ? DriveIndex(current[1]) : DriveIndex('C');
}

// True when 'path' is 'root' itself or lies inside it; 'rest' is what follows.
bool UnderRoot(const std::string& path, const std::string& root, std::string& rest)
{
    const std::string prefix = RootPrefix(root);
    if (path.compare(0, prefix.size(), prefix) != 0) return false;
    if (path.size() != prefix.size() && path[prefix.size()] != '/') return false;
    rest = path.substr(prefix.size());
    return true;
}

std::string WithBackslashes(std::string text)
{
    for (char& c : text)
        if (c == '/') c = '\\';
    return text;
}

// A folder without its trailing backslash, except a drive's root ("C:\\").
AnsiString WithoutTrailingBackslash(AnsiString path)
{
    while (path.Length() > 0 && path[path.Length()] == '\\' && !(path.Length() == 3 && HasDrive(path)))
        path.SetLength(path.Length() - 1);
    return path;
}

} // namespace

namespace FileSystem {

void SetDriveRoot(char drive, const std::string& posixRoot)
{
    const int index = DriveIndex(drive);
    if (index >= 0) Settings().roots[static_cast<std::size_t>(index)] = posixRoot.empty() ? "/" : posixRoot;
}

std::string DriveRoot(char drive)
{
    const int index = DriveIndex(drive);
    return index >= 0 ? Settings().roots[static_cast<std::size_t>(index)] : std::string();
}

std::string ToPosixPath(const AnsiString& path)
{
    std::string text = AnsiToUtf8(path);
    for (char& c : text)
        if (c == '\\') c = '/';
    const bool trailingSlash = !text.empty() && text.back() == '/';
    if (HasDrive(path)) {
        const std::string root = Settings().roots[static_cast<std::size_t>(DriveIndex(path[1]))];
        const std::string base = RootPrefix(root).empty() ? "/" : RootPrefix(root);
        return ResolveCase(base, text.substr(2), trailingSlash || text.size() == 2);
    }
    if (text.rfind("//", 0) == 0) return text; // a network path: nothing to map
    if (!text.empty() && text[0] == '/') {
        const std::string root = Settings().roots[static_cast<std::size_t>(CurrentDrive())];
        const std::string base = RootPrefix(root).empty() ? "/" : RootPrefix(root);
        return ResolveCase(base, text, trailingSlash);
    }
    return ResolveCase(std::string(), text, trailingSlash);
}

AnsiString ToWindowsPath(const std::string& posixPath)
{
    if (posixPath.empty() || posixPath[0] != '/') return Utf8ToAnsi(WithBackslashes(posixPath));
    int best = -1;
    std::size_t bestLength = 0;
    std::string bestRest;
    for (int step = 0; step < kDrives; ++step) {
        const int index = (step + 2) % kDrives; // C first, A and B last
        std::string rest;
        const std::string prefix = RootPrefix(Settings().roots[static_cast<std::size_t>(index)]);
        if (UnderRoot(posixPath, prefix, rest) && (best < 0 || prefix.size() > bestLength)) {
            best = index;
            bestLength = prefix.size();
            bestRest = rest;
        }
    }
    if (best < 0) return Utf8ToAnsi(WithBackslashes(posixPath));
    if (bestRest.empty()) bestRest = "/";
    return AnsiString(static_cast<char>('A' + best)) + ":" + Utf8ToAnsi(WithBackslashes(bestRest));
}

AnsiString WindowsFolder() { return Settings().windowsFolder; }

void SetWindowsFolder(const AnsiString& path) { Settings().windowsFolder = WithoutTrailingBackslash(path); }

AnsiString SystemFolder() { return Settings().systemFolder; }

void SetSystemFolder(const AnsiString& path) { Settings().systemFolder = WithoutTrailingBackslash(path); }

AnsiString CurrentDirectory()
{
    std::vector<char> buffer(4096);
    if (!::getcwd(buffer.data(), buffer.size())) return AnsiString();
    return ToWindowsPath(buffer.data());
}

bool ChangeDirectory(const AnsiString& path)
{
    return !path.IsEmpty() && ::chdir(ToPosixPath(path).c_str()) == 0;
}

void Reset()
{
    Settings() = State();
}

} // namespace FileSystem
