// The registry of one machine: the predefined roots and the file that keeps them. The
// store reads its file once, when created, and rewrites the whole file (through a temporary
// file and a rename, so a crash never leaves half a file) whenever `Save` is asked after a
// change.
#pragma once

#include "platform/win/registry/RegistryFile.h"

#include <string>

class RegistryStore {
public:
    // The predefined roots, in the order of their handle values 0x80000000 .. 0x80000006.
    static constexpr int RootCount = 7;

    explicit RegistryStore(std::string fileName);

    const std::string& FileName() const { return fileName_; }
    const std::shared_ptr<RegistryKey>& Root(int index) const { return roots_[static_cast<std::size_t>(index)]; }

    void MarkChanged() { changed_ = true; }
    // Writes the tree when it changed since the last save; false when the file could not be
    // written (the change then stays pending for the next save).
    bool Save();

private:
    void Load();

    std::string fileName_;
    RegistryRoots roots_;
    bool changed_ = false;
};

// Where the registry lives unless told otherwise: ~/.vendaro/registry.
std::string DefaultRegistryFileName();
