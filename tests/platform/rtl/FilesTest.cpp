#include "platform/rtl/CommandLine.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/FileSystem.h"
#include "tests/support/TempDriveTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

// Drive C: is a fresh temporary folder; paths in the tests are Windows-form.
class FilesTest : public TempDriveTest {
protected:
    FilesTest() : TempDriveTest("rtl-files") {}
    void TearDown() override
    {
        // The folder is the owner's again before it goes, whatever a test changed of it.
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all);
        TempDriveTest::TearDown();
    }
    void Write(const std::string& relative, const std::string& content)
    {
        const auto path = std::filesystem::path(root_) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    std::set<std::string> Find(const char* path, int attr)
    {
        std::set<std::string> names;
        TSearchRec rec;
        for (int r = FindFirst(path, attr, rec); r == 0; r = FindNext(rec)) names.insert(rec.Name.str());
        FindClose(rec);
        return names;
    }
};

} // namespace

TEST_F(FilesTest, ExistenceFoldersDeleteAndRename)
{
    Write("Dati/clienti.db", "x");
    EXPECT_TRUE(FileExists("C:\\Dati\\clienti.db"));
    EXPECT_TRUE(FileExists("C:\\DATI\\CLIENTI.DB"));
    EXPECT_FALSE(FileExists("C:\\Dati"));
    EXPECT_TRUE(DirectoryExists("C:\\Dati"));
    EXPECT_FALSE(DirectoryExists("C:\\Dati\\clienti.db"));
    EXPECT_FALSE(FileExists(""));

    EXPECT_TRUE(ForceDirectories("C:\\a\\b\\c\\"));
    EXPECT_TRUE(std::filesystem::is_directory(root_ + "/a/b/c"));
    EXPECT_TRUE(ForceDirectories("C:\\a\\b"));
    EXPECT_FALSE(ForceDirectories(""));
    EXPECT_FALSE(ForceDirectories("C:\\Dati\\clienti.db\\sub")); // a file stands in the way
    EXPECT_TRUE(CreateDir("C:\\new"));
    EXPECT_FALSE(CreateDir("C:\\new"));
    EXPECT_TRUE(RemoveDir("C:\\new"));

    Write("log.txt", "1");
    Write("log.l0", "0");
    EXPECT_FALSE(RenameFile("C:\\log.txt", "C:\\log.l0")); // the target exists
    EXPECT_TRUE(RenameFile("C:\\log.txt", "C:\\log.l1"));
    EXPECT_FALSE(FileExists("C:\\log.txt"));
    EXPECT_TRUE(FileExists("C:\\log.l1"));
    EXPECT_TRUE(DeleteFile("C:\\log.l1"));
    EXPECT_FALSE(DeleteFile("C:\\log.l1"));
    EXPECT_FALSE(DeleteFile("C:\\Dati")); // not a file
}

TEST_F(FilesTest, FindFirstMatchesWildcardsAndAttributes)
{
    Write("d/a.txt", "12345");
    Write("d/B.TXT", "");
    Write("d/c.log", "");
    Write("d/noext", "");
    Write("d/.hidden.txt", "");
    std::filesystem::create_directory(root_ + "/d/sub.txt");

    EXPECT_EQ(Find("C:\\d\\*.txt", 0), (std::set<std::string>{"a.txt", "B.TXT"}));
    EXPECT_EQ(Find("C:\\d\\*.txt", faDirectory), (std::set<std::string>{"a.txt", "B.TXT", "sub.txt"}));
    EXPECT_EQ(Find("C:\\d\\*.TXT", faAnyFile), (std::set<std::string>{"a.txt", "B.TXT", "sub.txt", ".hidden.txt"}));
    EXPECT_EQ(Find("C:\\d\\?.*", 0), (std::set<std::string>{"a.txt", "B.TXT", "c.log"}));
    EXPECT_EQ(Find("C:\\d\\*.*", 0), (std::set<std::string>{"a.txt", "B.TXT", "c.log", "noext"}));
    EXPECT_EQ(Find("C:\\d\\*", faDirectory), (std::set<std::string>{".", "..", "a.txt", "B.TXT", "c.log", "noext", "sub.txt"}));

    TSearchRec rec;
    ASSERT_EQ(FindFirst("C:\\D\\A.TXT", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, "a.txt");
    EXPECT_EQ(rec.Size, 5);
    EXPECT_EQ(rec.Attr & faDirectory, 0);
    EXPECT_NE(rec.Attr & faArchive, 0);
    EXPECT_NEAR(FileDateToDateTime(rec.Time), Now(), 1.0); // stamped about now
    EXPECT_EQ(FindNext(rec), 18);
    FindClose(rec);
    EXPECT_EQ(FindFirst("C:\\d\\*.none", faAnyFile, rec), 2);
    EXPECT_EQ(FindFirst("C:\\missing\\*.*", faAnyFile, rec), 3);
    EXPECT_EQ(FindNext(rec), 18);
}

TEST_F(FilesTest, ReadOnlyAttributeAndDriveRootHasNoDotEntries)
{
    Write("ro.txt", "");
    std::filesystem::permissions(root_ + "/ro.txt", std::filesystem::perms::owner_read);
    TSearchRec rec;
    ASSERT_EQ(FindFirst("C:\\ro.txt", faAnyFile, rec), 0);
    if (::geteuid() != 0) { // the superuser may write anything
        EXPECT_NE(rec.Attr & faReadOnly, 0);
    }
    EXPECT_EQ(Find("C:\\*", faAnyFile), (std::set<std::string>{"ro.txt"}));
}

TEST_F(FilesTest, CurrentDirectoryAndDiskSpace)
{
    Write("work/x", "");
    ASSERT_TRUE(SetCurrentDir("C:\\work"));
    EXPECT_EQ(GetCurrentDir(), "C:\\work");
    EXPECT_TRUE(FileExists("x")); // relative names start at the current directory
    EXPECT_FALSE(SetCurrentDir("C:\\nowhere"));
    EXPECT_GT(DiskSize(0), 0);
    EXPECT_GE(DiskFree(3), 0);
    EXPECT_LE(DiskFree(3), DiskSize(3));
    EXPECT_EQ(DiskFree(27), -1);
}

TEST(FileDates, PackAndUnpackTheDosStamp)
{
    const TDateTime v = EncodeDate(2026, 12, 10) + EncodeTime(9, 5, 7, 0);
    const std::int32_t stamp = DateTimeToFileDate(v);
    EXPECT_EQ(static_cast<std::uint32_t>(stamp), (((2026u - 1980) << 9 | 12 << 5 | 10) << 16) | (9 << 11 | 5 << 5 | 3));
    EXPECT_EQ(FileDateToDateTime(stamp), EncodeDate(2026, 12, 10) + EncodeTime(9, 5, 6, 0)); // two-second steps
    EXPECT_EQ(DateTimeToFileDate(EncodeDate(1979, 12, 31)), 0);
    EXPECT_EQ(FileDateToDateTime(0), 0);
    EXPECT_EQ(FileAge("C:\\surely\\missing"), -1);
}

TEST(CommandLine, ParamStrZeroIsTheProgramInWindowsForm)
{
    const AnsiString program = ParamStr(0);
    ASSERT_GE(program.Length(), 3);
    EXPECT_EQ(program[2], ':');
    EXPECT_NE(Pos("test_rtl", program), 0);

    const char* argv[] = {"ignored", "one", "citt\xC3\xA0"};
    SetCommandLine(3, argv);
    EXPECT_EQ(ParamStr(0), program);
    EXPECT_EQ(ParamCount(), 2);
    EXPECT_EQ(ParamStr(2), AnsiString("citt\xE0"));
    EXPECT_EQ(ParamStr(3), "");
    EXPECT_EQ(ParamStr(-1), "");

    SetParams({"C:\\Vendaro\\IMPORTA.EXE"});
    EXPECT_EQ(ParamStr(0), "C:\\Vendaro\\IMPORTA.EXE");
    EXPECT_EQ(ParamCount(), 0);
    SetCommandLine(1, argv);
}
