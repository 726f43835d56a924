// The registry of one machine: the predefined roots and the file that keeps them. The
// store reads its file when created and rewrites the whole file (through a temporary file
// and a rename, so a crash never leaves half a file) whenever `Save` is asked after a
// change. It notices when another process has saved the file since.
#pragma once

#include "platform/win/registry/RegistryFile.h"

#include <cstdint>
#include <filesystem>
#include <string>

class RegistryStore {
public:
    // The predefined roots, in the order of their handle values 0x80000000 .. 0x80000006.
    static constexpr int RootCount = 7;

    explicit RegistryStore(std::string fileName);

    const std::string& FileName() const { return fileName_; }
    const std::shared_ptr<RegistryKey>& Root(int index) const { return roots_[static_cast<std::size_t>(index)]; }

    // The file exists but is not a registry file (nor could be read): the store is empty and
    // refuses to save, so the file is never replaced.
    bool Refused() const { return refused_; }

    void MarkChanged() { changed_ = true; }
    // Writes the tree when it changed since the last save; false when the file could not be
    // written (the change then stays pending for the next save) or the store is refused.
    bool Save();
    // True when the file is no longer as this store last read or wrote it while the store
    // has nothing unsaved: a fresh store would see another process's changes.
    bool OutdatedByFile() const;

private:
    struct Stamp {
        bool exists = false;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type time{};
        bool operator==(const Stamp&) const = default;
    };
    Stamp FileStamp() const;
    void Load();

    std::string fileName_;
    RegistryRoots roots_;
    bool changed_ = false;
    bool refused_ = false;
    Stamp stamp_;
};

// Where the registry lives unless told otherwise: ~/.vendaro/registry.
std::string DefaultRegistryFileName();
