#include "platform/win/registry/WinReg.h"

#include "platform/win/registry/RegistryStore.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

struct OpenedKey {
    std::shared_ptr<RegistryKey> key;
    REGSAM access = 0;
    // Where the key lies, so the handle can follow a reloaded tree.
    int root = 0;
    std::vector<AnsiString> path;
};

std::shared_ptr<RegistryKey> FindKey(const RegistryStore& store, int root, const std::vector<AnsiString>& path)
{
    std::shared_ptr<RegistryKey> key = store.Root(root);
    for (std::size_t i = 0; key && i < path.size(); ++i) key = key->FindSubKey(path[i]);
    return key;
}

// The machine's registry as this process sees it: the store and the open handles.
struct RegistryState {
    std::unique_ptr<RegistryStore> store;
    std::map<std::uintptr_t, OpenedKey> handles;
    std::uintptr_t nextHandle = 0x1000;

    RegistryStore& Store()
    {
        if (!store) store = std::make_unique<RegistryStore>(DefaultRegistryFileName());
        return *store;
    }

    // Another process saved the registry: read it again and move every open handle to its
    // key in the new tree (a key that is gone there counts as deleted).
    void Refresh()
    {
        if (!store || !store->OutdatedByFile()) return;
        auto fresh = std::make_unique<RegistryStore>(store->FileName());
        for (auto& [value, opened] : handles) {
            auto key = FindKey(*fresh, opened.root, opened.path);
            if (!key) {
                key = std::make_shared<RegistryKey>(opened.key->Name());
                key->MarkDeleted();
            }
            opened.key = std::move(key);
        }
        store = std::move(fresh);
    }
};

RegistryState& State()
{
    static RegistryState state;
    return state;
}

constexpr std::uintptr_t FirstRoot = 0x80000000u;

// The key behind a handle: a predefined root (full access) or an opened key.
bool Resolve(HKEY hKey, OpenedKey& out)
{
    const auto value = reinterpret_cast<std::uintptr_t>(hKey);
    if (value >= FirstRoot && value < FirstRoot + RegistryStore::RootCount) {
        const int root = static_cast<int>(value - FirstRoot);
        out = OpenedKey{State().Store().Root(root), KEY_ALL_ACCESS, root, {}};
        return true;
    }
    const auto it = State().handles.find(value);
    if (it == State().handles.end()) return false;
    out = it->second;
    return true;
}

// Resolves a handle that is to be used for `needed` access.
LONG Use(HKEY hKey, REGSAM needed, OpenedKey& out)
{
    State().Refresh();
    // A file that is not a registry file is neither read nor replaced.
    if (State().Store().Refused()) return ERROR_BADDB;
    if (!Resolve(hKey, out)) return ERROR_INVALID_HANDLE;
    if (out.key->Deleted()) return ERROR_KEY_DELETED;
    if ((out.access & needed) != needed) return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

LONG SplitPath(LPCSTR path, std::vector<AnsiString>& names)
{
    names.clear();
    std::string_view rest = path ? path : "";
    if (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
    if (rest.empty()) return ERROR_SUCCESS;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find('\\', start), rest.size());
        if (end == start) return ERROR_BAD_PATHNAME;
        names.emplace_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return ERROR_SUCCESS;
}

HKEY NewHandle(const OpenedKey& base, const std::vector<AnsiString>& names, std::shared_ptr<RegistryKey> key,
               REGSAM access)
{
    auto& state = State();
    const std::uintptr_t value = state.nextHandle;
    state.nextHandle += 4;
    OpenedKey opened{std::move(key), access, base.root, base.path};
    opened.path.insert(opened.path.end(), names.begin(), names.end());
    state.handles[value] = std::move(opened);
    return reinterpret_cast<HKEY>(value);
}

LONG SaveChange()
{
    auto& store = State().Store();
    store.MarkChanged();
    return store.Save() ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

// Copies a name into a caller's buffer of *size characters (room for the NUL included);
// on success *size becomes the length without the NUL.
LONG CopyName(const AnsiString& name, LPSTR buffer, DWORD* size)
{
    if (!buffer || !size) return ERROR_INVALID_PARAMETER;
    const auto length = static_cast<DWORD>(name.Length());
    if (length >= *size) return ERROR_MORE_DATA;
    std::memcpy(buffer, name.data(), length);
    buffer[length] = '\0';
    *size = length;
    return ERROR_SUCCESS;
}

// Hands out value data: the size alone when no buffer is given, ERROR_MORE_DATA (with the
// size needed) when the buffer is too small.
LONG CopyData(const RegistryValue& value, DWORD* type, BYTE* data, DWORD* size)
{
    if (data && !size) return ERROR_INVALID_PARAMETER;
    if (type) *type = value.type;
    if (!size) return ERROR_SUCCESS;
    const auto needed = static_cast<DWORD>(value.data.size());
    const DWORD room = *size;
    *size = needed;
    if (!data) return ERROR_SUCCESS;
    if (needed > room) return ERROR_MORE_DATA;
    std::memcpy(data, value.data.data(), needed);
    return ERROR_SUCCESS;
}

void ClearFileTime(FILETIME* time)
{
    if (time) std::memset(reinterpret_cast<unsigned char*>(time), 0, 2 * sizeof(DWORD));
}

template <typename T>
void Put(T* target, T value)
{
    if (target) *target = value;
}

} // namespace

void SetRegistryFileName(const std::string& fileName)
{
    auto& state = State();
    state.handles.clear();
    state.store = std::make_unique<RegistryStore>(fileName);
}

std::string RegistryFileName() { return State().Store().FileName(); }

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult)
{
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenedKey base;
    std::vector<AnsiString> names;
    if (const LONG result = Use(hKey, 0, base); result != ERROR_SUCCESS) return result;
    if (const LONG result = SplitPath(lpSubKey, names); result != ERROR_SUCCESS) return result;
    std::shared_ptr<RegistryKey> key = base.key;
    for (const auto& name : names) {
        key = key->FindSubKey(name);
        if (!key) return ERROR_FILE_NOT_FOUND;
    }
    *phkResult = NewHandle(base, names, std::move(key), samDesired);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM samDesired, void*,
                     PHKEY phkResult, DWORD* lpdwDisposition)
{
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenedKey base;
    std::vector<AnsiString> names;
    if (const LONG result = Use(hKey, 0, base); result != ERROR_SUCCESS) return result;
    if (const LONG result = SplitPath(lpSubKey, names); result != ERROR_SUCCESS) return result;
    std::shared_ptr<RegistryKey> key = base.key;
    std::size_t existing = 0;
    while (existing < names.size()) {
        auto next = key->FindSubKey(names[existing]);
        if (!next) break;
        key = std::move(next);
        ++existing;
    }
    const bool creates = existing < names.size();
    if (creates && key == base.key && (base.access & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
    for (std::size_t i = existing; i < names.size(); ++i) {
        bool created;
        key = key->AddSubKey(names[i], created);
    }
    Put(lpdwDisposition, creates ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY);
    if (creates)
        if (const LONG result = SaveChange(); result != ERROR_SUCCESS) return result;
    *phkResult = NewHandle(base, names, std::move(key), samDesired);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey)
{
    const auto value = reinterpret_cast<std::uintptr_t>(hKey);
    if (value >= FirstRoot && value < FirstRoot + RegistryStore::RootCount) return ERROR_SUCCESS;
    return State().handles.erase(value) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegFlushKey(HKEY hKey)
{
    OpenedKey key;
    if (const LONG result = Use(hKey, 0, key); result != ERROR_SUCCESS) return result;
    return State().Store().Save() ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey)
{
    OpenedKey base;
    std::vector<AnsiString> names;
    if (const LONG result = Use(hKey, 0, base); result != ERROR_SUCCESS) return result;
    if (const LONG result = SplitPath(lpSubKey, names); result != ERROR_SUCCESS) return result;
    if (names.empty()) return ERROR_INVALID_PARAMETER;
    std::shared_ptr<RegistryKey> parent = base.key;
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        parent = parent->FindSubKey(names[i]);
        if (!parent) return ERROR_FILE_NOT_FOUND;
    }
    const auto target = parent->FindSubKey(names.back());
    if (!target) return ERROR_FILE_NOT_FOUND;
    if (!target->SubKeys().empty()) return ERROR_ACCESS_DENIED;
    parent->RemoveSubKey(names.back());
    return SaveChange();
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName)
{
    OpenedKey key;
    if (const LONG result = Use(hKey, KEY_SET_VALUE, key); result != ERROR_SUCCESS) return result;
    if (!key.key->RemoveValue(lpValueName ? lpValueName : "")) return ERROR_FILE_NOT_FOUND;
    return SaveChange();
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, DWORD*, DWORD* lpType, BYTE* lpData, DWORD* lpcbData)
{
    OpenedKey key;
    if (const LONG result = Use(hKey, KEY_QUERY_VALUE, key); result != ERROR_SUCCESS) return result;
    const RegistryValue* value = key.key->FindValue(lpValueName ? lpValueName : "");
    if (!value) return ERROR_FILE_NOT_FOUND;
    return CopyData(*value, lpType, lpData, lpcbData);
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData)
{
    OpenedKey key;
    if (const LONG result = Use(hKey, KEY_SET_VALUE, key); result != ERROR_SUCCESS) return result;
    if (!lpData && cbData != 0) return ERROR_INVALID_PARAMETER;
    std::string data(cbData, '\0');
    if (cbData != 0) std::memcpy(data.data(), lpData, cbData);
    key.key->SetValue(lpValueName ? lpValueName : "", dwType, std::move(data));
    return SaveChange();
}

LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD* lpcchName, DWORD*, LPSTR lpClass,
                   DWORD* lpcchClass, FILETIME* lpftLastWriteTime)
{
    OpenedKey key;
    if (const LONG result = Use(hKey, KEY_ENUMERATE_SUB_KEYS, key); result != ERROR_SUCCESS) return result;
    const auto& subKeys = key.key->SubKeys();
    if (dwIndex >= subKeys.size()) return ERROR_NO_MORE_ITEMS;
    if (const LONG result = CopyName(subKeys[dwIndex]->Name(), lpName, lpcchName); result != ERROR_SUCCESS)
        return result;
    if (lpClass && lpcchClass) CopyName("", lpClass, lpcchClass);
    ClearFileTime(lpftLastWriteTime);
    return ERROR_SUCCESS;
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, DWORD* lpcchValueName, DWORD*, DWORD* lpType,
                   BYTE* lpData, DWORD* lpcbData)
{
    OpenedKey key;
    if (const LONG result = Use(hKey, KEY_QUERY_VALUE, key); result != ERROR_SUCCESS) return result;
    const auto& values = key.key->Values();
    if (dwIndex >= values.size()) return ERROR_NO_MORE_ITEMS;
    if (const LONG result = CopyName(values[dwIndex].name, lpValueName, lpcchValueName); result != ERROR_SUCCESS)
        return result;
    return CopyData(values[dwIndex], lpType, lpData, lpcbData);
}

LONG RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, DWORD* lpcchClass, DWORD*, DWORD* lpcSubKeys,
                      DWORD* lpcbMaxSubKeyLen, DWORD* lpcbMaxClassLen, DWORD* lpcValues,
                      DWORD* lpcbMaxValueNameLen, DWORD* lpcbMaxValueLen, DWORD* lpcbSecurityDescriptor,
                      FILETIME* lpftLastWriteTime)
{
    OpenedKey opened;
    if (const LONG result = Use(hKey, KEY_QUERY_VALUE, opened); result != ERROR_SUCCESS) return result;
    const RegistryKey& key = *opened.key;
    DWORD maxSubKey = 0, maxValueName = 0, maxValue = 0;
    for (const auto& sub : key.SubKeys()) maxSubKey = std::max(maxSubKey, static_cast<DWORD>(sub->Name().Length()));
    for (const auto& value : key.Values()) {
        maxValueName = std::max(maxValueName, static_cast<DWORD>(value.name.Length()));
        maxValue = std::max(maxValue, static_cast<DWORD>(value.data.size()));
    }
    if (lpClass && lpcchClass) CopyName("", lpClass, lpcchClass);
    else Put(lpcchClass, DWORD{0});
    Put(lpcSubKeys, static_cast<DWORD>(key.SubKeys().size()));
    Put(lpcbMaxSubKeyLen, maxSubKey);
    Put(lpcbMaxClassLen, DWORD{0});
    Put(lpcValues, static_cast<DWORD>(key.Values().size()));
    Put(lpcbMaxValueNameLen, maxValueName);
    Put(lpcbMaxValueLen, maxValue);
    Put(lpcbSecurityDescriptor, DWORD{0});
    ClearFileTime(lpftLastWriteTime);
    return ERROR_SUCCESS;
}
