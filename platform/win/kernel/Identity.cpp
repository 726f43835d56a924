#include "platform/win/kernel/Identity.h"

#include "platform/rtl/CodePage.h"
#include "platform/win/kernel/Errors.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

extern char** environ;

namespace {

std::optional<AnsiString> computerOverride;
std::optional<AnsiString> userOverride;
bool namesFail = false;

AnsiString HostComputerName()
{
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0 || host[0] == '\0')
        return "LOCALHOST";
    std::string name(host);
    name = name.substr(0, name.find('.'));
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return AnsiString(name.substr(0, MAX_COMPUTERNAME_LENGTH));
}

AnsiString HostUserName()
{
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name && *entry->pw_name)
        return Utf8ToAnsi(entry->pw_name);
    const char* user = std::getenv("USER");
    return (user && *user) ? Utf8ToAnsi(user) : AnsiString("user");
}

bool CheckArguments(LPSTR buffer, DWORD* size)
{
    if (size == nullptr || (buffer == nullptr && *size != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (namesFail) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

} // namespace

void SetComputerNameForTesting(std::optional<AnsiString> name) { computerOverride = std::move(name); }
void SetUserNameForTesting(std::optional<AnsiString> name) { userOverride = std::move(name); }
void SetNameQueriesFailForTesting(bool fail) { namesFail = fail; }

BOOL GetComputerNameA(LPSTR buffer, DWORD* size)
{
    if (!CheckArguments(buffer, size))
        return FALSE;
    const AnsiString name = computerOverride ? *computerOverride : HostComputerName();
    const DWORD needed = static_cast<DWORD>(name.Length()) + 1;
    if (*size < needed) {
        *size = needed;
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    std::memcpy(buffer, name.c_str(), needed);
    *size = needed - 1;
    return TRUE;
}

BOOL GetUserNameA(LPSTR buffer, DWORD* size)
{
    if (!CheckArguments(buffer, size))
        return FALSE;
    const AnsiString name = userOverride ? *userOverride : HostUserName();
    const DWORD needed = static_cast<DWORD>(name.Length()) + 1;
    if (*size < needed) {
        *size = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(buffer, name.c_str(), needed);
    *size = needed;
    return TRUE;
}

LPSTR GetEnvironmentStringsA()
{
    std::string block;
    // The host keeps its environment in UTF-8; the system reads the Windows code page.
    for (char** entry = environ; entry && *entry; ++entry) {
        block += Utf8ToAnsi(*entry).str();
        block += '\0';
    }
    if (block.empty())
        block += '\0';
    block += '\0';
    auto* copy = new char[block.size()];
    std::memcpy(copy, block.data(), block.size());
    return copy;
}

BOOL FreeEnvironmentStringsA(LPSTR block)
{
    delete[] block;
    return TRUE;
}
