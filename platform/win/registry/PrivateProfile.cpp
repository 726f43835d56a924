#include "platform/win/registry/PrivateProfile.h"

#include "platform/rtl/FileSystem.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/registry/ProfileText.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string HostFileName(LPCSTR fileName)
{
    const AnsiString name = fileName ? fileName : "WIN.INI";
    const bool bare = name.str().find_first_of("\\/:") == std::string::npos;
    return FileSystem::ToPosixPath(bare ? FileSystem::WindowsFolder() + "\\" + name : name);
}

bool ReadFile(const std::string& hostName, std::string& content)
{
    std::ifstream in(hostName, std::ios::binary);
    if (!in) return false;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

ProfileText ReadProfile(LPCSTR fileName)
{
    std::string content;
    ReadFile(HostFileName(fileName), content);
    return ProfileText(content);
}

bool WriteProfile(const std::string& hostName, const ProfileText& profile)
{
    std::ofstream out(hostName, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << profile.Content();
    out.flush();
    return static_cast<bool>(out);
}

// One string into the buffer: cut to fit, always NUL-ended; the count copied.
DWORD CopyString(const AnsiString& text, LPSTR buffer, DWORD size)
{
    if (!buffer || size == 0) return 0;
    const DWORD length = std::min(static_cast<DWORD>(text.Length()), size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return length;
}

// NUL-ended strings followed by one more NUL. When they do not fit, the last one that
// starts is cut, two NULs end the buffer and the result is size - 2.
DWORD CopyList(const std::vector<AnsiString>& items, LPSTR buffer, DWORD size)
{
    if (!buffer || size == 0) return 0;
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    std::string all;
    for (const auto& item : items) all += item.str() + '\0';
    if (all.size() + 1 <= size) {
        std::memcpy(buffer, all.data(), all.size());
        buffer[all.size()] = '\0';
        return static_cast<DWORD>(all.size());
    }
    std::memcpy(buffer, all.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

bool HasLineBreak(const AnsiString& text) { return text.str().find_first_of("\r\n") != std::string::npos; }

bool SafeSection(const AnsiString& section) { return !HasLineBreak(section) && Pos("]", section) == 0; }

bool SafeWrite(LPCSTR section, LPCSTR key, LPCSTR value)
{
    return SafeSection(section) && (!key || IsProfileKeyName(key)) && (!value || !HasLineBreak(value));
}

} // namespace

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName)
{
    const ProfileText profile = ReadProfile(lpFileName);
    if (!lpAppName) return CopyList(profile.SectionNames(), lpReturnedString, nSize);
    if (!lpKeyName) return CopyList(profile.KeyNames(lpAppName), lpReturnedString, nSize);
    AnsiString value;
    if (!profile.FindValue(lpAppName, lpKeyName, value)) value = lpDefault ? lpDefault : "";
    else value = UnquoteProfileValue(value);
    return CopyString(value, lpReturnedString, nSize);
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName)
{
    if (!lpAppName) return (lpKeyName || lpString) ? FALSE : TRUE;
    if (!SafeWrite(lpAppName, lpKeyName, lpString)) return FALSE;
    const std::string hostName = HostFileName(lpFileName);
    std::string content;
    ReadFile(hostName, content);
    ProfileText profile(content);
    bool changed = true;
    if (!lpKeyName) changed = profile.DeleteSection(lpAppName);
    else if (!lpString) changed = profile.DeleteKey(lpAppName, lpKeyName);
    else profile.SetValue(lpAppName, lpKeyName, lpString);
    if (!changed) return TRUE;
    return WriteProfile(hostName, profile) ? TRUE : FALSE;
}

DWORD GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName)
{
    if (!lpAppName) return CopyList({}, lpReturnedString, nSize);
    return CopyList(ReadProfile(lpFileName).SectionLines(lpAppName), lpReturnedString, nSize);
}

DWORD GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName)
{
    return CopyList(ReadProfile(lpFileName).SectionNames(), lpszReturnBuffer, nSize);
}

UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName)
{
    AnsiString value;
    if (!lpAppName || !lpKeyName || !ReadProfile(lpFileName).FindValue(lpAppName, lpKeyName, value))
        return static_cast<UINT>(nDefault);
    value = UnquoteProfileValue(value);
    int at = 1;
    const bool negative = at <= value.Length() && value[at] == '-';
    if (at <= value.Length() && (value[at] == '-' || value[at] == '+')) ++at;
    UINT number = 0;
    for (; at <= value.Length() && value[at] >= '0' && value[at] <= '9'; ++at)
        number = number * 10u + static_cast<UINT>(value[at] - '0');
    return negative ? 0u - number : number;
}
