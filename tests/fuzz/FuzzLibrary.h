// The component library started for a fuzz target, once per process: a drive C, a
// registry and lock folder of their own under /tmp (removed at exit), the window system,
// the class library's forms and the library's units.
#pragma once

#include "FuzzTarget.h"

#include "obl/core/startup/OBLUnits.h"
#include "platform/classlib/Forms.h"
#include "platform/rtl/FileSystem.h"
#include "platform/win/kernel/Mutex.h"
#include "platform/win/registry/WinReg.h"
#include "platform/win/user/UserTesting.h"

#include <cstdlib>
#include <filesystem>
#include <string>

inline void FuzzStartLibrary(const char* name)
{
    std::string pattern = std::string("/tmp/vendaro-fuzz-") + name + "-XXXXXX";
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    static std::string root;
    root = pattern;
    std::atexit([] { std::filesystem::remove_all(root); });
    std::filesystem::create_directories(root + "/WINDOWS/SYSTEM");
    FileSystem::SetDriveRoot('C', root);
    FileSystem::SetWindowsFolder("C:\\WINDOWS");
    FileSystem::SetSystemFolder("C:\\WINDOWS\\SYSTEM");
    SetRegistryFileName(root + "/registry");
    SetMutexLockFolder(root + "/locks");
    UserResetWindowSystem();
    FormsInitialization();
    OBLInitializeUnits();
}
