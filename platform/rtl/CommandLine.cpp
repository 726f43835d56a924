#include "platform/rtl/CommandLine.h"

#include "platform/rtl/CodePage.h"
#include "platform/rtl/FileSystem.h"

#include <climits>
#include <unistd.h>

namespace {

AnsiString RunningProgram()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return AnsiString();
    return FileSystem::ToWindowsPath(std::string(buffer, static_cast<std::size_t>(length)));
}

std::vector<AnsiString>& Params()
{
    static std::vector<AnsiString> params{RunningProgram()};
    return params;
}

} // namespace

void SetCommandLine(int argc, const char* const* argv)
{
    std::vector<AnsiString> params{RunningProgram()};
    for (int i = 1; i < argc; ++i) params.push_back(Utf8ToAnsi(argv[i]));
    Params() = params;
}

void SetParams(const std::vector<AnsiString>& params)
{
    Params() = params.empty() ? std::vector<AnsiString>{AnsiString()} : params;
}

AnsiString ParamStr(int index)
{
    const auto& params = Params();
    return index >= 0 && static_cast<std::size_t>(index) < params.size() ? params[static_cast<std::size_t>(index)] : AnsiString();
}

int ParamCount() { return static_cast<int>(Params().size()) - 1; }
