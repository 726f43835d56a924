#include "platform/win/registry/RegistryStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const char* const RootNames[RegistryStore::RootCount] = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

} // namespace

RegistryStore::RegistryStore(std::string fileName) : fileName_(std::move(fileName))
{
    for (const char* name : RootNames) roots_.push_back(std::make_shared<RegistryKey>(name));
    Load();
}

RegistryStore::Stamp RegistryStore::FileStamp() const
{
    std::error_code error;
    Stamp stamp;
    stamp.size = std::filesystem::file_size(fileName_, error);
    if (error) return Stamp{};
    stamp.time = std::filesystem::last_write_time(fileName_, error);
    if (error) return Stamp{};
    stamp.exists = true;
    return stamp;
}

bool RegistryStore::OutdatedByFile() const { return !changed_ && FileStamp() != stamp_; }

void RegistryStore::Load()
{
    stamp_ = FileStamp();
    std::error_code error;
    if (!std::filesystem::exists(fileName_, error)) return;
    std::ifstream in(fileName_, std::ios::binary);
    if (!in) {
        refused_ = true;
        return;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // An empty file holds no keys; anything else must be a registry file.
    if (!in.bad() && (text.empty() || ParseRegistryText(text, roots_))) return;
    refused_ = true;
}

bool RegistryStore::Save()
{
    if (!changed_) return true;
    if (refused_) return false;
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target(fileName_);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
    const fs::path temporary = target.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << FormatRegistryText(roots_);
        out.flush();
        if (!out) return false;
    }
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    changed_ = false;
    stamp_ = FileStamp();
    return true;
}

std::string DefaultRegistryFileName()
{
    const char* home = std::getenv("HOME");
    const std::string base = (home && *home) ? home : ".";
    return base + "/.vendaro/registry";
}
