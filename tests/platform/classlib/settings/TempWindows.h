// Drive C in a fresh temporary folder, so the Windows folder is <temp>/WINDOWS, and a
// registry kept in that folder, for the length of one test.
#pragma once

#include "platform/rtl/FileSystem.h"
#include "platform/win/registry/WinReg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vendaro-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        std::filesystem::create_directory(root_ + "/WINDOWS");
        FileSystem::SetDriveRoot('C', root_);
        FileSystem::SetWindowsFolder("C:\\WINDOWS");
        SetRegistryFileName(root_ + "/registry");
    }
    void TearDown() override
    {
        FileSystem::Reset();
        std::filesystem::remove_all(root_);
    }

    void Put(const std::string& relative, const std::string& content)
    {
        std::ofstream(root_ + "/" + relative, std::ios::binary) << content;
    }
    std::string Get(const std::string& relative) const
    {
        std::ifstream in(root_ + "/" + relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void ReloadRegistry() { SetRegistryFileName(root_ + "/registry"); }

    std::string root_;
};
