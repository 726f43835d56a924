#include "platform/rtl/FileSystem.h"
#include "platform/win/kernel/Drives.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Folders.h"

#include "KernelTestSupport.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

class FoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FileSystem::SetDriveRoot('D', folder.Path());
        std::filesystem::create_directories(folder.Path() + "/WINNT/system32");
        FileSystem::SetWindowsFolder("D:\\WINNT");
        FileSystem::SetSystemFolder("D:\\WINNT\\system32");
    }
    void TearDown() override
    {
        FileSystem::Reset();
        SetTempPathForTesting(std::nullopt);
    }
    TTempFolder folder;
};

TEST_F(FoldersTest, WindowsAndSystemFoldersFollowTheLengthRules)
{
    char buffer[MAX_PATH];
    EXPECT_EQ(GetWindowsDirectoryA(buffer, MAX_PATH), 8u);
    EXPECT_STREQ(buffer, "D:\\WINNT");
    EXPECT_EQ(GetSystemDirectoryA(buffer, MAX_PATH), 17u);
    EXPECT_STREQ(buffer, "D:\\WINNT\\system32");

    std::strcpy(buffer, "untouched");
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 8), 9u) << "too small: the size with the zero";
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 9), 8u);
    EXPECT_EQ(GetSystemDirectoryA(nullptr, 0), 18u);
}

TEST_F(FoldersTest, TempPathEndsWithBackslash)
{
    char buffer[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, buffer);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(buffer[n - 1], '\\');
    EXPECT_EQ(std::strlen(buffer), n);
    SetTempPathForTesting(AnsiString("D:\\Temp"));
    EXPECT_EQ(GetTempPathA(MAX_PATH, buffer), 8u);
    EXPECT_STREQ(buffer, "D:\\Temp\\");
    EXPECT_EQ(GetTempPathA(8, buffer), 9u);
}

TEST_F(FoldersTest, TempFileNamesAreCreatedUniquely)
{
    std::set<std::string> names;
    for (int i = 0; i < 20; ++i) {
        char name[MAX_PATH];
        const UINT number = GetTempFileNameA("D:\\WINNT", "tmpfile", 0, name);
        ASSERT_NE(number, 0u);
        char expected[MAX_PATH];
        std::snprintf(expected, sizeof expected, "D:\\WINNT\\tmp%04X.TMP", number);
        EXPECT_STREQ(name, expected);
        EXPECT_TRUE(std::filesystem::exists(FileSystem::ToPosixPath(name)));
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 20u);
}

TEST_F(FoldersTest, TempFileNameWithNumberOnlyBuildsTheName)
{
    char name[MAX_PATH];
    EXPECT_EQ(GetTempFileNameA("D:\\WINNT\\", "ab", 0x1A2B, name), 0x1A2Bu);
    EXPECT_STREQ(name, "D:\\WINNT\\ab1A2B.TMP");
    EXPECT_FALSE(std::filesystem::exists(FileSystem::ToPosixPath(name)));
    EXPECT_EQ(GetTempFileNameA("D:\\WINNT", "tmp", 0x12345, name), 0x12345u);
    EXPECT_STREQ(name, "D:\\WINNT\\tmp2345.TMP") << "only the low 16 bits name the file";
    SetLastError(0);
    EXPECT_EQ(GetTempFileNameA("D:\\Missing", "tmp", 0, name), 0u);
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
}

TEST_F(FoldersTest, DrivesComeFromTheDriveMapping)
{
    char buffer[64];
    const DWORD n = GetLogicalDriveStringsA(sizeof buffer, buffer);
    EXPECT_EQ(std::string(buffer, n), std::string("C:\\\0D:\\\0", 8));
    EXPECT_EQ(buffer[n], '\0');
    EXPECT_EQ(GetLogicalDriveStringsA(8, buffer), 9u) << "the size needed";
    EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 3));

    const struct { const char* root; UINT type; } cases[] = {
        {"C:\\", DRIVE_FIXED}, {"d:", DRIVE_FIXED}, {"D:/", DRIVE_FIXED}, {"E:\\", DRIVE_NO_ROOT_DIR},
        {"D:\\WINNT", DRIVE_NO_ROOT_DIR}, {"", DRIVE_NO_ROOT_DIR}, {"\\\\server\\share", DRIVE_NO_ROOT_DIR},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetDriveTypeA(c.root), c.type) << c.root;

    FileSystem::SetDriveRoot('E', folder.Path() + "/absent");
    EXPECT_EQ(GetDriveTypeA("E:\\"), DRIVE_NO_ROOT_DIR) << "a root that does not exist is no drive";
}

TEST_F(FoldersTest, DiskSpaceOfAMappedDrive)
{
    DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA("D:\\", &sectors, &bytes, &freeClusters, &totalClusters));
    EXPECT_EQ(bytes, 512u);
    EXPECT_GE(sectors, 1u);
    EXPECT_GT(totalClusters, 0u);
    EXPECT_LE(freeClusters, totalClusters);

    ULARGE_INTEGER available{}, total{}, totalFree{};
    ASSERT_TRUE(GetDiskFreeSpaceExA("D:\\WINNT", &available, &total, &totalFree));
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_LE(available.QuadPart, totalFree.QuadPart);
    EXPECT_LE(totalFree.QuadPart, total.QuadPart);

    EXPECT_FALSE(GetDiskFreeSpaceA("Q:\\", &sectors, &bytes, &freeClusters, &totalClusters));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

} // namespace
