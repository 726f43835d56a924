#include "platform/win/kernel/Modules.h"

#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FileSystem.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/UxTheme.h"

#include <cctype>
#include <cstring>
#include <mutex>

const HINSTANCE HInstance = reinterpret_cast<HINSTANCE>(std::uintptr_t{0x00400000});

namespace {

struct TModule {
    AnsiString fileName; // as registered, without folder
    TModuleExports exports;
    std::function<bool()> available;
    std::uintptr_t handle = 0;
    int loads = 0;
};

struct TModuleTable {
    std::recursive_mutex lock;
    std::map<std::string, TModule> modules; // by upper-case file name
    std::uintptr_t nextHandle = 0x10000000;
};

std::string Key(const AnsiString& fileName)
{
    std::string name(fileName.str());
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    if (name.find('.') == std::string::npos)
        name += ".DLL";
    else if (name.back() == '.')
        name.pop_back();
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

AnsiString WithoutFolder(const AnsiString& fileName)
{
    const std::string& name = fileName.str();
    const std::size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? fileName : AnsiString(name.substr(slash + 1));
}

void Register(TModuleTable& table, const AnsiString& fileName, TModuleExports exports, std::function<bool()> available)
{
    TModule& module = table.modules[Key(fileName)];
    module.fileName = WithoutFolder(fileName);
    module.exports = std::move(exports);
    module.available = std::move(available);
    if (module.handle == 0) {
        module.handle = table.nextHandle;
        table.nextHandle += 0x10000;
    }
}

TModuleTable& Table()
{
    static TModuleTable table;
    static std::once_flag builtIn;
    std::call_once(builtIn, [] { Register(table, kThemeModuleName, ThemeModuleExports(), ThemeModulePresent); });
    return table;
}

TModule* FindLoaded(TModuleTable& table, HMODULE handle)
{
    for (auto& [name, module] : table.modules)
        if (module.handle == reinterpret_cast<std::uintptr_t>(handle) && module.loads > 0)
            return &module;
    return nullptr;
}

} // namespace

void RegisterModule(const AnsiString& fileName, TModuleExports exports, std::function<bool()> available)
{
    TModuleTable& table = Table();
    std::lock_guard guard(table.lock);
    Register(table, fileName, std::move(exports), std::move(available));
}

void UnregisterModule(const AnsiString& fileName)
{
    TModuleTable& table = Table();
    std::lock_guard guard(table.lock);
    table.modules.erase(Key(fileName));
}

HMODULE LoadLibraryA(LPCSTR fileName)
{
    TModuleTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto it = fileName ? table.modules.find(Key(fileName)) : table.modules.end();
    if (it == table.modules.end() || (it->second.available && !it->second.available())) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++it->second.loads;
    return reinterpret_cast<HMODULE>(it->second.handle);
}

BOOL FreeLibrary(HMODULE module)
{
    TModuleTable& table = Table();
    std::lock_guard guard(table.lock);
    TModule* loaded = FindLoaded(table, module);
    if (loaded == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    --loaded->loads;
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName)
{
    TModuleTable& table = Table();
    std::lock_guard guard(table.lock);
    TModule* loaded = FindLoaded(table, module);
    if (loaded == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // Names only: an ordinal (a "name" below 0x10000) finds nothing here.
    if (reinterpret_cast<std::uintptr_t>(procName) > 0xFFFF) {
        const auto it = loaded->exports.find(procName);
        if (it != loaded->exports.end())
            return it->second;
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    if (moduleName == nullptr)
        return HInstance;
    TModuleTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto it = table.modules.find(Key(moduleName));
    if (it == table.modules.end() || it->second.loads == 0) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(it->second.handle);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size)
{
    AnsiString path;
    if (module == nullptr || module == HInstance) {
        path = ParamStr(0);
    } else {
        TModuleTable& table = Table();
        std::lock_guard guard(table.lock);
        const TModule* loaded = FindLoaded(table, module);
        if (loaded == nullptr) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
        path = FileSystem::SystemFolder() + "\\" + loaded->fileName;
    }
    if (fileName == nullptr || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const DWORD length = static_cast<DWORD>(path.Length());
    const DWORD copied = std::min(length, size - 1);
    std::memcpy(fileName, path.c_str(), copied);
    fileName[copied] = '\0';
    if (copied < length) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    return copied;
}
