// One key of the registry tree: named subkeys (names compared without regard to ASCII
// case, kept in that order as the registry enumerates them) and named values, each a type
// code and raw bytes (kept in the order they were first set).
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/WinTypes.h"

#include <memory>
#include <string>
#include <vector>

struct RegistryValue {
    AnsiString name;
    DWORD type = 0;
    std::string data;
};

// Registry names are compared with ASCII letters folded to upper case.
int CompareRegistryNames(const AnsiString& a, const AnsiString& b);

class RegistryKey {
public:
    explicit RegistryKey(AnsiString name) : name_(std::move(name)) {}

    const AnsiString& Name() const { return name_; }
    // A key removed from the tree stays alive for handles still open on it, marked deleted.
    bool Deleted() const { return deleted_; }

    std::shared_ptr<RegistryKey> FindSubKey(const AnsiString& name) const;
    // The subkey of that name; created when missing. `created` tells which happened.
    std::shared_ptr<RegistryKey> AddSubKey(const AnsiString& name, bool& created);
    // Removes the subkey and marks its whole branch deleted; false when there is none.
    bool RemoveSubKey(const AnsiString& name);
    const std::vector<std::shared_ptr<RegistryKey>>& SubKeys() const { return subKeys_; }

    const RegistryValue* FindValue(const AnsiString& name) const;
    void SetValue(const AnsiString& name, DWORD type, std::string data);
    bool RemoveValue(const AnsiString& name);
    const std::vector<RegistryValue>& Values() const { return values_; }

    // Marks the key and its whole branch as gone from the tree.
    void MarkDeleted();

private:

    AnsiString name_;
    bool deleted_ = false;
    std::vector<std::shared_ptr<RegistryKey>> subKeys_;
    std::vector<RegistryValue> values_;
};
