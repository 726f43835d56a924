#include "platform/rtl/FileNames.h"

#include "platform/rtl/FileSystem.h"
#include "platform/rtl/StrUtils.h"

#include <vector>

namespace {

bool HasDriveLetter(const AnsiString& s)
{
    if (s.Length() < 2 || s[2] != ':') return false;
    const char c = s[1];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsNetworkPath(const AnsiString& s) { return s.Length() >= 2 && s[1] == '\\' && s[2] == '\\'; }

// The root part of a full path ("C:\" or "\\server\share\") and the rest after it.
void SplitRoot(const AnsiString& full, AnsiString& root, AnsiString& rest)
{
    if (IsNetworkPath(full)) {
        const AnsiString drive = ExtractFileDrive(full);
        root = drive + "\\";
        rest = Copy(full, drive.Length() + 2, full.Length());
    } else {
        root = Copy(full, 1, 3);
        rest = Copy(full, 4, full.Length());
    }
}

AnsiString ResolveDots(const AnsiString& rest)
{
    std::vector<AnsiString> parts;
    AnsiString part;
    const auto flush = [&] {
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.IsEmpty() && !(part == ".")) {
            parts.push_back(part);
        }
        part = AnsiString();
    };
    for (int i = 1; i <= rest.Length(); ++i) {
        if (rest[i] == '\\') flush();
        else part += rest[i];
    }
    flush();
    AnsiString joined;
    for (std::size_t i = 0; i < parts.size(); ++i) joined += (i ? "\\" : "") + parts[i];
    return joined;
}

} // namespace

int LastDelimiter(const AnsiString& delimiters, const AnsiString& s)
{
    for (int i = s.Length(); i >= 1; --i)
        if (delimiters.str().find(s[i]) != std::string::npos) return i;
    return 0;
}

AnsiString ExtractFilePath(const AnsiString& fileName) { return Copy(fileName, 1, LastDelimiter("\\:", fileName)); }

AnsiString ExtractFileDir(const AnsiString& fileName)
{
    int i = LastDelimiter("\\:", fileName);
    if (i > 1 && fileName[i] == '\\' && fileName[i - 1] != '\\' && fileName[i - 1] != ':') --i;
    return Copy(fileName, 1, i);
}

AnsiString ExtractFileDrive(const AnsiString& fileName)
{
    if (HasDriveLetter(fileName)) return Copy(fileName, 1, 2);
    if (!IsNetworkPath(fileName)) return AnsiString();
    // "\\server\share": up to the second separator after the leading pair.
    int separators = 0;
    int i = 3;
    for (; i <= fileName.Length(); ++i)
        if (fileName[i] == '\\' && ++separators == 2) break;
    return Copy(fileName, 1, i - 1);
}

AnsiString ExtractFileName(const AnsiString& fileName)
{
    return Copy(fileName, LastDelimiter("\\:", fileName) + 1, fileName.Length());
}

AnsiString ExtractFileExt(const AnsiString& fileName)
{
    const int i = LastDelimiter(".\\:", fileName);
    return i > 0 && fileName[i] == '.' ? Copy(fileName, i, fileName.Length()) : AnsiString();
}

AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension)
{
    int i = LastDelimiter(".\\:", fileName);
    if (i == 0 || fileName[i] != '.') i = fileName.Length() + 1;
    return Copy(fileName, 1, i - 1) + extension;
}

AnsiString IncludeTrailingBackslash(const AnsiString& path)
{
    return !path.IsEmpty() && path[path.Length()] == '\\' ? path : path + "\\";
}

AnsiString ExcludeTrailingBackslash(const AnsiString& path)
{
    return !path.IsEmpty() && path[path.Length()] == '\\' ? Copy(path, 1, path.Length() - 1) : path;
}

AnsiString ExpandFileName(const AnsiString& fileName)
{
    if (fileName.IsEmpty()) return AnsiString();
    const AnsiString name = StringReplace(fileName, "/", "\\", {rfReplaceAll});
    const AnsiString current = IncludeTrailingBackslash(FileSystem::CurrentDirectory());
    AnsiString full;
    if (IsNetworkPath(name)) full = name;
    else if (HasDriveLetter(name)) full = Copy(name, 1, 2) + "\\" + Copy(name, 3, name.Length());
    else if (name[1] == '\\') full = Copy(current, 1, 2) + name;
    else full = current + name;
    AnsiString root, rest;
    SplitRoot(full, root, rest);
    const AnsiString resolved = ResolveDots(rest);
    const bool trailing = name[name.Length()] == '\\' && !resolved.IsEmpty();
    return root + resolved + (trailing ? "\\" : "");
}
