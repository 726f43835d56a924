#include "platform/rtl/FileSystem.h"

#include "tests/support/TempDriveTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// A temporary folder standing for drive C:, with the defaults restored afterwards.
class FileSystemTest : public TempDriveTest {
protected:
    FileSystemTest() : TempDriveTest("rtl-fs") {}
    void Touch(const std::string& relative)
    {
        const auto path = std::filesystem::path(root_) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    }
};

} // namespace

TEST_F(FileSystemTest, DrivePathsMapUnderTheDriveRoot)
{
    struct Case { const char* windows; std::string posix; };
    const Case cases[] = {
        {"C:\\dir\\file.txt", root_ + "/dir/file.txt"},
        {"c:/dir/file.txt", root_ + "/dir/file.txt"},
        {"C:\\", root_ + "/"},
        {"C:", root_ + "/"},
        {"C:\\a\\\\b\\", root_ + "/a/b/"},
        {"D:\\x", "/x"},                       // other drives keep the default root
        {"Dati\\clienti.db", "Dati/clienti.db"}, // relative paths stay relative
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FileSystem::ToPosixPath(c.windows), c.posix) << c.windows;
}

TEST_F(FileSystemTest, ExistingEntriesAreFoundInAnyLetterCase)
{
    Touch("ComponenteStampa/RPTDATA.mdb");
    EXPECT_EQ(FileSystem::ToPosixPath("C:\\componentestampa\\rptdata.MDB"), root_ + "/ComponenteStampa/RPTDATA.mdb");
    // A missing file keeps its spelling, under the folder as it exists.
    EXPECT_EQ(FileSystem::ToPosixPath("C:\\COMPONENTESTAMPA\\New\\a.txt"), root_ + "/ComponenteStampa/New/a.txt");
}

TEST_F(FileSystemTest, TextIsUtf8OnTheHostSide)
{
    EXPECT_EQ(FileSystem::ToPosixPath("C:\\citt\xE0"), root_ + "/citt\xC3\xA0");
    EXPECT_EQ(FileSystem::ToWindowsPath(root_ + "/citt\xC3\xA0"), AnsiString("C:\\citt\xE0"));
}

TEST_F(FileSystemTest, HostPathsGetTheDriveWithTheLongestRoot)
{
    EXPECT_EQ(FileSystem::ToWindowsPath(root_ + "/dir/f"), "C:\\dir\\f");
    EXPECT_EQ(FileSystem::ToWindowsPath(root_), "C:\\");
    EXPECT_EQ(FileSystem::ToWindowsPath("/usr/lib"), "D:\\usr\\lib"); // C: no longer covers it; D: still is "/"
    FileSystem::SetDriveRoot('E', root_ + "/e");
    EXPECT_EQ(FileSystem::ToWindowsPath(root_ + "/e/x"), "E:\\x");
    EXPECT_EQ(FileSystem::ToWindowsPath(root_ + "/ex"), "C:\\ex"); // a prefix must end at a separator
    EXPECT_EQ(FileSystem::ToWindowsPath("rel/a"), "rel\\a");
    FileSystem::Reset();
    EXPECT_EQ(FileSystem::ToWindowsPath("/usr/lib"), "C:\\usr\\lib");
}

TEST_F(FileSystemTest, CurrentDirectoryInWindowsForm)
{
    Touch("work/a.txt");
    ASSERT_TRUE(FileSystem::ChangeDirectory("C:\\WORK"));
    EXPECT_EQ(FileSystem::CurrentDirectory(), "C:\\work");
    EXPECT_EQ(FileSystem::ToPosixPath("\\work\\a.txt"), root_ + "/work/a.txt"); // rooted on the current drive
    EXPECT_FALSE(FileSystem::ChangeDirectory("C:\\missing"));
    EXPECT_FALSE(FileSystem::ChangeDirectory(""));
    EXPECT_EQ(FileSystem::CurrentDirectory(), "C:\\work");
}

TEST_F(FileSystemTest, WindowsAndSystemFoldersAreSettings)
{
    FileSystem::Reset();
    EXPECT_EQ(FileSystem::WindowsFolder(), "C:\\WINDOWS");
    EXPECT_EQ(FileSystem::SystemFolder(), "C:\\WINDOWS\\SYSTEM32");
    FileSystem::SetWindowsFolder("C:\\tmp\\win\\");
    FileSystem::SetSystemFolder("C:\\tmp\\win\\sys");
    EXPECT_EQ(FileSystem::WindowsFolder(), "C:\\tmp\\win");
    EXPECT_EQ(FileSystem::SystemFolder(), "C:\\tmp\\win\\sys");
    FileSystem::SetWindowsFolder("C:\\");
    EXPECT_EQ(FileSystem::WindowsFolder(), "C:\\");
}
