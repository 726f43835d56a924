// Drive C in a fresh temporary folder, so the Windows folder is <temp>/WINDOWS, and a
// registry kept in that folder, for the length of one test.
#pragma once

#include "platform/rtl/FileSystem.h"
#include "platform/win/registry/WinReg.h"
#include "tests/support/TempDriveTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempWindows : public TempDriveTest {
protected:
    TempWindows() : TempDriveTest("vendaro-settings") {}
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(TempDriveTest::SetUp());
        std::filesystem::create_directory(root_ + "/WINDOWS");
        FileSystem::SetWindowsFolder("C:\\WINDOWS");
        SetRegistryFileName(root_ + "/registry");
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
};
