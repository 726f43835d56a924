#include "platform/rtl/FileNames.h"
#include "platform/rtl/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(FileNames, SplitsAtTheLastBackslashOrColon)
{
    struct Case { const char* name; const char* path; const char* dir; const char* file; const char* ext; const char* drive; };
    const Case cases[] = {
        {"C:\\dir\\file.txt", "C:\\dir\\", "C:\\dir", "file.txt", ".txt", "C:"},
        {"C:\\file", "C:\\", "C:\\", "file", "", "C:"},
        {"C:file.db", "C:", "C:", "file.db", ".db", "C:"},
        {"dir.v2\\file", "dir.v2\\", "dir.v2", "file", "", ""},
        {"a.b.c", "", "", "a.b.c", ".c", ""},
        {"C:\\dir\\", "C:\\dir\\", "C:\\dir", "", "", "C:"},
        {"\\\\srv\\share\\x.ini", "\\\\srv\\share\\", "\\\\srv\\share", "x.ini", ".ini", "\\\\srv\\share"},
        {"dati/clienti.db", "", "", "dati/clienti.db", ".db", ""}, // "/" is no separator for these
        {"", "", "", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.name), AnsiString(c.path)) << c.name;
        EXPECT_EQ(ExtractFileDir(c.name), AnsiString(c.dir)) << c.name;
        EXPECT_EQ(ExtractFileName(c.name), AnsiString(c.file)) << c.name;
        EXPECT_EQ(ExtractFileExt(c.name), AnsiString(c.ext)) << c.name;
        EXPECT_EQ(ExtractFileDrive(c.name), AnsiString(c.drive)) << c.name;
    }
    EXPECT_EQ(LastDelimiter("\\:", "C:\\a\\b"), 5);
    EXPECT_EQ(LastDelimiter("x", "abc"), 0);
}

TEST(FileNames, ChangeFileExtAndBackslashes)
{
    struct Case { const char* name; const char* ext; const char* result; };
    const Case cases[] = {
        {"C:\\prog\\IMPORTA.EXE", ".LOG", "C:\\prog\\IMPORTA.LOG"}, {"log", ".l0", "log.l0"},
        {"dir.x\\log", ".l1", "dir.x\\log.l1"}, {"a.b.c", "", "a.b"}, {"", ".txt", ".txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(ChangeFileExt(c.name, c.ext), AnsiString(c.result)) << c.name;
    EXPECT_EQ(IncludeTrailingBackslash("C:\\a"), "C:\\a\\");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(IncludeTrailingBackslash(""), "\\");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\a\\"), "C:\\a");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\a"), "C:\\a");
}

TEST(FileNames, ExpandFileNameStartsAtTheCurrentDirectory)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path("/tmp");
    struct Case { const char* name; const char* full; };
    const Case cases[] = {
        {"a.txt", "C:\\tmp\\a.txt"}, {"sub\\..\\b.txt", "C:\\tmp\\b.txt"}, {".\\x\\.\\y\\", "C:\\tmp\\x\\y\\"},
        {"\\root.ini", "C:\\root.ini"}, {"D:\\a\\..\\..\\b", "D:\\b"}, {"d:/x/y", "d:\\x\\y"}, {"C:", "C:\\"},
        {"\\\\srv\\share\\a\\..\\b", "\\\\srv\\share\\b"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ExpandFileName(c.name), AnsiString(c.full)) << c.name;
    std::filesystem::current_path(previous);
}
