#include "platform/win/registry/RegistryKey.h"

#include <algorithm>

namespace {

unsigned char FoldCase(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

bool SameName(const AnsiString& a, const AnsiString& b) { return CompareRegistryNames(a, b) == 0; }

} // namespace

int CompareRegistryNames(const AnsiString& a, const AnsiString& b)
{
    const int common = std::min(a.Length(), b.Length());
    for (int i = 1; i <= common; ++i) {
        const unsigned char ca = FoldCase(a[i]);
        const unsigned char cb = FoldCase(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.Length() == b.Length() ? 0 : (a.Length() < b.Length() ? -1 : 1);
}

std::shared_ptr<RegistryKey> RegistryKey::FindSubKey(const AnsiString& name) const
{
    const auto it = std::find_if(subKeys_.begin(), subKeys_.end(),
                                 [&](const auto& key) { return SameName(key->Name(), name); });
    return it == subKeys_.end() ? nullptr : *it;
}

std::shared_ptr<RegistryKey> RegistryKey::AddSubKey(const AnsiString& name, bool& created)
{
    const auto at = std::lower_bound(subKeys_.begin(), subKeys_.end(), name, [](const auto& key, const AnsiString& n) {
        return CompareRegistryNames(key->Name(), n) < 0;
    });
    created = at == subKeys_.end() || !SameName((*at)->Name(), name);
    if (!created) return *at;
    return *subKeys_.insert(at, std::make_shared<RegistryKey>(name));
}

bool RegistryKey::RemoveSubKey(const AnsiString& name)
{
    const auto it = std::find_if(subKeys_.begin(), subKeys_.end(),
                                 [&](const auto& key) { return SameName(key->Name(), name); });
    if (it == subKeys_.end()) return false;
    (*it)->MarkDeleted();
    subKeys_.erase(it);
    return true;
}

const RegistryValue* RegistryKey::FindValue(const AnsiString& name) const
{
    const auto it = std::find_if(values_.begin(), values_.end(), [&](const auto& v) { return SameName(v.name, name); });
    return it == values_.end() ? nullptr : &*it;
}

void RegistryKey::SetValue(const AnsiString& name, DWORD type, std::string data)
{
    const auto it = std::find_if(values_.begin(), values_.end(), [&](const auto& v) { return SameName(v.name, name); });
    if (it == values_.end()) {
        values_.push_back(RegistryValue{name, type, std::move(data)});
        return;
    }
    it->type = type;
    it->data = std::move(data);
}

bool RegistryKey::RemoveValue(const AnsiString& name)
{
    const auto it = std::find_if(values_.begin(), values_.end(), [&](const auto& v) { return SameName(v.name, name); });
    if (it == values_.end()) return false;
    values_.erase(it);
    return true;
}

void RegistryKey::MarkDeleted()
{
    deleted_ = true;
    for (const auto& key : subKeys_) key->MarkDeleted();
}
