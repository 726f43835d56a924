// Drive C in a fresh temporary folder (Windows folder C:\WINDOWS), a registry file in it and
// the program "C:\Vendaro\Importa.exe" as ParamStr(0), for the length of one test.
#pragma once

#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FileSystem.h"
#include "platform/win/registry/WinReg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempSystem {
public:
    TempSystem()
    {
        char pattern[] = "/tmp/vendaro-oblapp-XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("no temporary folder");
        root_ = pattern;
        std::filesystem::create_directories(root_ + "/WINDOWS/SYSTEM");
        std::filesystem::create_directories(root_ + "/Vendaro");
        program_ = ParamStr(0);
        FileSystem::SetDriveRoot('C', root_);
        FileSystem::SetWindowsFolder("C:\\WINDOWS");
        FileSystem::SetSystemFolder("C:\\WINDOWS\\SYSTEM");
        SetRegistryFileName(root_ + "/registry");
        SetParams({"C:\\Vendaro\\Importa.exe"});
    }
    ~TempSystem()
    {
        SetParams({program_});
        FileSystem::Reset();
        std::filesystem::remove_all(root_);
    }

    std::string Get(const std::string& relative) const
    {
        std::ifstream in(root_ + "/" + relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Put(const std::string& relative, const std::string& content) const
    {
        std::ofstream(root_ + "/" + relative, std::ios::binary) << content;
    }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(root_ + "/" + relative); }

private:
    std::string root_;
    AnsiString program_;
};
