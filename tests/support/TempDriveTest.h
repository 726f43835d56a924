// A test on a fresh temporary folder standing for drive C:; the working directory, the drive
// roots and the folder are put back or removed afterwards.
#pragma once

#include "platform/rtl/FileSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class TempDriveTest : public ::testing::Test {
protected:
    explicit TempDriveTest(std::string prefix) : prefix_(std::move(prefix)) {}

    void SetUp() override
    {
        std::string pattern = "/tmp/" + prefix_ + "-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        previousDir_ = std::filesystem::current_path();
        FileSystem::SetDriveRoot('C', root_);
    }
    void TearDown() override
    {
        std::filesystem::current_path(previousDir_);
        FileSystem::Reset();
        std::filesystem::remove_all(root_);
    }

    std::string root_;
    std::filesystem::path previousDir_;

private:
    std::string prefix_;
};
