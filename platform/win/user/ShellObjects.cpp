// The task allocator and the desktop folder: process-wide objects whose reference
// counts never free them, as the shell's own.
#include "platform/win/user/ShellBrowse.h"

#include "platform/rtl/FileSystem.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class TaskAllocator final : public IMalloc {
public:
    HRESULT QueryInterface(const void*, void** object) override {
        if (object)
            *object = nullptr;
        return E_FAIL;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    void* Alloc(std::size_t size) override { return std::malloc(size ? size : 1); }
    void* Realloc(void* memory, std::size_t size) override { return std::realloc(memory, size ? size : 1); }
    void Free(void* memory) override { std::free(memory); }
    std::size_t GetSize(void*) override { return static_cast<std::size_t>(-1); }
    int DidAlloc(void*) override { return -1; }
    void HeapMinimize() override {}
};

// Wide text of a path to the Windows code page (characters outside it become '?').
AnsiString Narrow(LPCWSTR text) {
    std::string out;
    for (; text && *text; ++text)
        out += *text < 0x100 ? static_cast<char>(*text) : '?';
    return AnsiString(out);
}

class DesktopFolder final : public IShellFolder {
public:
    HRESULT QueryInterface(const void*, void** object) override {
        if (object)
            *object = nullptr;
        return E_FAIL;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT ParseDisplayName(HWND, void*, LPWSTR displayName, ULONG* eaten, LPITEMIDLIST* list, ULONG* attributes) override {
        if (!list)
            return E_INVALIDARG;
        *list = nullptr;
        const AnsiString path = Narrow(displayName);
        std::error_code error;
        if (path.IsEmpty() || !std::filesystem::exists(FileSystem::ToPosixPath(path), error))
            return E_FAIL;
        *list = UserItemListForPath(path);
        if (eaten)
            *eaten = static_cast<ULONG>(path.Length());
        if (attributes)
            *attributes = 0;
        return S_OK;
    }
};

}  // namespace

HRESULT SHGetMalloc(IMalloc** allocator) {
    static TaskAllocator instance;
    if (!allocator)
        return E_INVALIDARG;
    *allocator = &instance;
    return S_OK;
}

HRESULT SHGetDesktopFolder(IShellFolder** folder) {
    static DesktopFolder instance;
    if (!folder)
        return E_INVALIDARG;
    *folder = &instance;
    return S_OK;
}
