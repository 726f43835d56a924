#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/TextFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/rtl-text-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        FileSystem::SetDriveRoot('C', root_);
    }
    void TearDown() override
    {
        FileSystem::Reset();
        std::filesystem::remove_all(root_);
    }
    std::string Content(const std::string& relative)
    {
        std::ifstream in(root_ + "/" + relative, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string root_;
};

} // namespace

TEST_F(TextFileTest, RewriteThenAppendWritesCrLfLines)
{
    {
        TTextFile f("C:\\app.LOG");
        ASSERT_TRUE(f.Rewrite());
        f.WriteLn("00001: first");
        f.Write("par");
        f.WriteLn("tial");
        f.WriteLn();
        f.Close();
        EXPECT_FALSE(f.IsOpen());
    }
    EXPECT_EQ(Content("app.LOG"), "00001: first\r\npartial\r\n\r\n");
    TTextFile f("C:\\APP.log");
    ASSERT_TRUE(f.Append());
    f.WriteLn(AnsiString("citt\xE0"));
    f.Close();
    EXPECT_EQ(Content("app.LOG"), "00001: first\r\npartial\r\n\r\ncitt\xE0\r\n"); // bytes as they are
    ASSERT_TRUE(f.Rewrite());
    f.Close();
    EXPECT_EQ(Content("app.LOG"), "");
}

TEST_F(TextFileTest, LinesStillBufferedAreWrittenWhenTheFileGoesAway)
{
    {
        TTextFile f("C:\\a.txt");
        ASSERT_TRUE(f.Rewrite());
        f.WriteLn("kept by the destructor");
    }
    EXPECT_EQ(Content("a.txt"), "kept by the destructor\r\n");
    TTextFile f("C:\\b.txt");
    ASSERT_TRUE(f.Rewrite());
    f.WriteLn("kept when reopened");
    ASSERT_TRUE(f.Append());
    f.WriteLn("then appended");
    f.Assign("C:\\c.txt");
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(Content("b.txt"), "kept when reopened\r\nthen appended\r\n");
}

TEST_F(TextFileTest, OpenFailuresAreReportedWithoutRaising)
{
    TTextFile missing("C:\\none.log");
    EXPECT_FALSE(missing.Append());
    EXPECT_EQ(missing.IOResult(), 2);
    TTextFile noFolder("C:\\no\\such\\dir.log");
    EXPECT_FALSE(noFolder.Rewrite());
    EXPECT_NE(noFolder.IOResult(), 0);
    TTextFile unnamed;
    EXPECT_FALSE(unnamed.Rewrite());
    std::filesystem::create_directory(root_ + "/folder");
    TTextFile folder("C:\\folder");
    EXPECT_FALSE(folder.Rewrite());
    EXPECT_EQ(folder.IOResult(), 5);
}

TEST_F(TextFileTest, WritingAClosedFileRaises)
{
    TTextFile f("C:\\x.txt");
    try {
        f.WriteLn("lost");
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 103);
        EXPECT_EQ(e.Message(), "File not open");
    }
    EXPECT_THROW(f.Close(), EInOutError);
}

TEST_F(TextFileTest, AFailedWriteRaisesAfterClosing)
{
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    FileSystem::SetDriveRoot('D', "/dev");
    TTextFile f("D:\\full");
    ASSERT_TRUE(f.Rewrite());
    f.WriteLn("one line");
    try {
        f.Close();
        FAIL() << "a write into a full device reported success";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 101);
        EXPECT_EQ(e.Message(), "Disk full");
    }
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.IOResult(), 101);
    // A long write fails as soon as the buffer goes out.
    ASSERT_TRUE(f.Rewrite());
    EXPECT_THROW(f.Write(AnsiString(std::string(10000, 'x'))), EInOutError);
}
