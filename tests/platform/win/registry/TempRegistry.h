// A registry kept in a fresh temporary folder for the length of one test.
#pragma once

#include "platform/win/registry/WinReg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class TempRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vendaro-registry-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        fileName_ = folder_ + "/registry";
        SetRegistryFileName(fileName_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // A second look at the same machine: a new store loading the file.
    void Reload() { SetRegistryFileName(fileName_); }

    std::string folder_;
    std::string fileName_;
};
