#include "platform/win/kernel/Handles.h"

#include "platform/win/kernel/Errors.h"

#include <map>
#include <mutex>
#include <unistd.h>

namespace {

struct TObjectTable {
    std::mutex lock;
    std::map<std::uintptr_t, std::unique_ptr<TKernelObject>> objects;
    // Handles are multiples of 4 as on the original, well away from 0 and the pseudo handles.
    std::uintptr_t next = 0x100;
};

TObjectTable& Table()
{
    static TObjectTable table;
    return table;
}

std::uintptr_t Key(HANDLE handle) { return reinterpret_cast<std::uintptr_t>(handle); }

} // namespace

HANDLE KernelAddObject(std::unique_ptr<TKernelObject> object)
{
    TObjectTable& table = Table();
    std::lock_guard guard(table.lock);
    const std::uintptr_t key = table.next;
    table.next += 4;
    table.objects.emplace(key, std::move(object));
    return reinterpret_cast<HANDLE>(key);
}

TKernelObject* KernelFindObject(HANDLE handle)
{
    TObjectTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto it = table.objects.find(Key(handle));
    return it == table.objects.end() ? nullptr : it->second.get();
}

BOOL CloseHandle(HANDLE handle)
{
    std::unique_ptr<TKernelObject> released;
    {
        TObjectTable& table = Table();
        std::lock_guard guard(table.lock);
        const auto it = table.objects.find(Key(handle));
        if (it == table.objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        released = std::move(it->second);
        table.objects.erase(it);
    }
    // The object is destroyed outside the table lock: its destructor may release system resources.
    released.reset();
    return TRUE;
}

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)); }

HANDLE GetCurrentThread() { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-2)); }

DWORD GetCurrentProcessId() { return static_cast<DWORD>(::getpid()); }
