// Drive C of a fuzz target: a folder of its own for the whole run (with the registry file),
// made on first use and removed at exit, for targets whose readers take file names.
#pragma once

#include "platform/rtl/FileSystem.h"
#include "platform/win/registry/WinReg.h"

#include <filesystem>
#include <string>
#include <unistd.h>

inline const std::filesystem::path& FuzzDriveRoot(const char* target)
{
    struct TDrive {
        std::filesystem::path root;
        explicit TDrive(const char* target)
            : root(std::filesystem::temp_directory_path() /
                   ("vendaro-fuzz-" + std::string(target) + "-" + std::to_string(getpid())))
        {
            std::filesystem::create_directories(root);
            FileSystem::SetDriveRoot('C', root.string());
            SetRegistryFileName((root / "registry").string());
        }
        ~TDrive() { std::filesystem::remove_all(root); }
    };
    static const TDrive drive(target);
    return drive.root;
}
