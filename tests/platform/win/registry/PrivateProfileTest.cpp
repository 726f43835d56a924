#include "platform/win/registry/PrivateProfile.h"

#include "platform/rtl/FileSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Drive C lies in a temporary folder, so the Windows folder is <temp>/WINDOWS.
class PrivateProfile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vendaro-profile-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        std::filesystem::create_directory(root_ + "/WINDOWS");
        std::filesystem::create_directory(root_ + "/data");
        FileSystem::SetDriveRoot('C', root_);
        FileSystem::SetWindowsFolder("C:\\WINDOWS");
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
    std::string Get(const std::string& relative)
    {
        std::ifstream in(root_ + "/" + relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::string Read(const char* section, const char* key, const char* fallback, const char* file)
    {
        char buffer[256];
        const DWORD length = GetPrivateProfileString(section, key, fallback, buffer, sizeof buffer, file);
        return std::string(buffer, length);
    }
    static std::vector<std::string> List(const char* section, const char* file, DWORD size = 256)
    {
        std::vector<char> buffer(size);
        const DWORD length = GetPrivateProfileString(section, nullptr, "", buffer.data(), size, file);
        std::vector<std::string> items;
        for (DWORD at = 0; at < length;) {
            items.emplace_back(buffer.data() + at);
            at += static_cast<DWORD>(items.back().size()) + 1;
        }
        return items;
    }

    std::string root_;
};

TEST_F(PrivateProfile, BareNamesLieInTheWindowsFolder)
{
    ASSERT_TRUE(WritePrivateProfileString("Main", "Key", "win", "APP.INI"));
    ASSERT_TRUE(WritePrivateProfileString("Main", "Key", "data", "C:\\data\\APP.INI"));
    EXPECT_EQ(Get("WINDOWS/APP.INI"), "[Main]\r\nKey=win\r\n");
    EXPECT_EQ(Get("data/APP.INI"), "[Main]\r\nKey=data\r\n");
    EXPECT_EQ(Read("Main", "Key", "", "app.ini"), "win");
    EXPECT_EQ(Read("Main", "Key", "", "C:\\DATA\\app.ini"), "data");
}

TEST_F(PrivateProfile, ReadingFollowsTheProfileRules)
{
    Put("WINDOWS/R.INI", "top=ignored\n[ Main ]\n  Name  =  Rossi  \nQuoted=\"  spaced  \"\nSingle='x'\n"
                         "Half=\"open\nInner=a\"b\"\nBare\n;Comment=no\nName=second\n[Main]\nOther=dup\n"
                         "[Bytes]\r\nHigh=caff\xE8\x01\r\nEmpty=\r\n");
    struct Case { const char* section; const char* key; const char* expected; };
    const Case cases[] = {
        {"main", "NAME", "Rossi"},       {"MAIN", "quoted", "  spaced  "}, {"Main", "Single", "x"},
        {"Main", "Half", "\"open"},      {"Main", "Inner", "a\"b\""},     {"Main", "Bare", "<none>"},
        {"Main", ";Comment", "<none>"},  {"Main", "Other", "<none>"},     {"Bytes", "High", "caff\xE8\x01"},
        {"Bytes", "Empty", ""},          {"Nowhere", "Name", "<none>"},   {"Main", "top", "<none>"},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.section, c.key, "<none>", "R.INI"), c.expected) << c.key;
    EXPECT_EQ(Read("Main", "Missing", " keeps blanks ", "R.INI"), " keeps blanks ");
    EXPECT_EQ(List(nullptr, "R.INI"), (std::vector<std::string>{"Main", "Main", "Bytes"}));
    EXPECT_EQ(List("main", "R.INI"), (std::vector<std::string>{"Name", "Quoted", "Single", "Half", "Inner", "Name"}));
}

TEST_F(PrivateProfile, MissingFileReadsAsEmpty)
{
    EXPECT_EQ(Read("Main", "Key", "fallback", "NONE.INI"), "fallback");
    EXPECT_EQ(Read("Main", "Key", nullptr, "NONE.INI"), "");
    EXPECT_TRUE(List(nullptr, "NONE.INI").empty());
    EXPECT_EQ(GetPrivateProfileInt("Main", "Key", 42, "NONE.INI"), 42u);
    EXPECT_TRUE(WritePrivateProfileString("Main", "Key", nullptr, "NONE.INI"));
    EXPECT_TRUE(WritePrivateProfileString("Main", nullptr, nullptr, "NONE.INI"));
    EXPECT_FALSE(std::filesystem::exists(root_ + "/WINDOWS/NONE.INI"));
    EXPECT_FALSE(WritePrivateProfileString("Main", "Key", "v", "C:\\nofolder\\X.INI"));
}

TEST_F(PrivateProfile, WritingKeepsOtherLinesAndEndsLinesWithCrLf)
{
    Put("WINDOWS/W.INI", "; settings\n[One]\nA=1\n\n[Two]\nB=2\n");
    ASSERT_TRUE(WritePrivateProfileString("one", "a", "changed", "W.INI"));
    ASSERT_TRUE(WritePrivateProfileString("ONE", "New", "added", "W.INI"));
    ASSERT_TRUE(WritePrivateProfileString("Three", "C", "3", "W.INI"));
    EXPECT_EQ(Get("WINDOWS/W.INI"),
              "; settings\r\n[One]\r\nA=changed\r\nNew=added\r\n\r\n[Two]\r\nB=2\r\n\r\n[Three]\r\nC=3\r\n");
    ASSERT_TRUE(WritePrivateProfileString("Two", nullptr, nullptr, "W.INI"));
    ASSERT_TRUE(WritePrivateProfileString("One", "A", nullptr, "W.INI"));
    EXPECT_EQ(Get("WINDOWS/W.INI"), "; settings\r\n[One]\r\nNew=added\r\n\r\n[Three]\r\nC=3\r\n");
    EXPECT_TRUE(WritePrivateProfileString(nullptr, nullptr, nullptr, "W.INI"));
    EXPECT_FALSE(WritePrivateProfileString(nullptr, "A", "x", "W.INI"));
}

TEST_F(PrivateProfile, DeletingAKeyRemovesEveryLineOfIt)
{
    // Only the section found first is looked at, so its twin keeps its line.
    Put("WINDOWS/D.INI", "[Main]\nFlag=1\nOther=x\n flag = 2\n[Main]\nFlag=3\n");
    ASSERT_TRUE(WritePrivateProfileString("Main", "FLAG", nullptr, "D.INI"));
    EXPECT_EQ(Read("Main", "Flag", "<none>", "D.INI"), "<none>");
    EXPECT_EQ(Get("WINDOWS/D.INI"), "[Main]\r\nOther=x\r\n[Main]\r\nFlag=3\r\n");
}

TEST_F(PrivateProfile, WritesThatWouldBreakTheFileAreRefused)
{
    Put("WINDOWS/S.INI", "[Main]\r\nA=1\r\n");
    struct Case { const char* section; const char* key; const char* value; };
    const Case cases[] = {
        {"Main", "A", "1\r\n[Evil]"}, {"Main", "A", "line\nbreak"}, {"Ma]in", "A", "x"}, {"Main\n", "A", "x"},
        {"Main", "A=B", "x"},         {"Main", "[A", "x"},           {"Main", " ;A", "x"}, {"Main", "A\r", "x"},
        {"Ma\nin", nullptr, nullptr}, {"Main", "\t[A", "x"},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(WritePrivateProfileString(c.section, c.key, c.value, "S.INI")) << c.section << c.key;
    EXPECT_EQ(Get("WINDOWS/S.INI"), "[Main]\r\nA=1\r\n");
}

TEST_F(PrivateProfile, KeysLedByControlBytesAreWrittenAsTheyAreRead)
{
    // Only blanks come before the ";" of a comment or the "[" of a header; a line led by
    // another control byte holds a key, and that key can be written back.
    Put("WINDOWS/K.INI", "[Main]\r\n\x01;Sky=1\r\n\x1F [Grass=2\r\n");
    const std::vector<std::string> keys{"\x01;Sky", "\x1F [Grass"};
    EXPECT_EQ(List("Main", "K.INI"), keys);
    for (const std::string& key : keys) {
        ASSERT_TRUE(WritePrivateProfileString("Main", key.c_str(), "new", "K.INI")) << key;
        EXPECT_EQ(Read("Main", key.c_str(), "", "K.INI"), "new") << key;
    }
    ASSERT_TRUE(WritePrivateProfileString("Main", "\x0B[Sea", "3", "K.INI"));
    EXPECT_EQ(Get("WINDOWS/K.INI"), "[Main]\r\n\x01;Sky=new\r\n\x1F [Grass=new\r\n\x0B[Sea=3\r\n");
    EXPECT_EQ(List("Main", "K.INI"), (std::vector<std::string>{"\x01;Sky", "\x1F [Grass", "\x0B[Sea"}));
}

TEST_F(PrivateProfile, BuffersAreFilledAsTheOriginalFillsThem)
{
    Put("WINDOWS/B.INI", "[Alpha]\nKey=abcdef\n[Beta]\n[Gamma]\n");
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileString("Alpha", "Key", "", buffer, 4, "B.INI"), 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(GetPrivateProfileString("Alpha", "Key", "", buffer, 0, "B.INI"), 0u);
    // "Alpha\0Beta\0Gamma\0\0" needs 18; 12 cuts "Gamma" and ends in two NULs.
    EXPECT_EQ(GetPrivateProfileSectionNames(buffer, 12, "B.INI"), 10u);
    EXPECT_EQ(std::string(buffer, 12), std::string("Alpha\0Beta\0\0\0", 12));
    EXPECT_EQ(GetPrivateProfileSectionNames(buffer, sizeof buffer, "B.INI"), 14u);
    EXPECT_EQ(std::string(buffer, 16), std::string("Alpha\0Beta\0Gam\0\0", 16));
}

TEST_F(PrivateProfile, ANameEndsAtItsFirstNulBeforeItsBlanksAreTrimmed)
{
    // Names are handed out as C strings: the name found by listing is the one looked up.
    Put("WINDOWS/Z.INI", std::string("[Main\t\0x]\nShad\t\0\0junk=2\n", 24));
    char buffer[32] = {};
    EXPECT_EQ(GetPrivateProfileSectionNames(buffer, sizeof buffer, "Z.INI"), 5u);
    EXPECT_STREQ(buffer, "Main");
    EXPECT_EQ(GetPrivateProfileString("Main", nullptr, "", buffer, sizeof buffer, "Z.INI"), 5u);
    EXPECT_STREQ(buffer, "Shad");
    EXPECT_EQ(GetPrivateProfileString("Main", "Shad", "", buffer, sizeof buffer, "Z.INI"), 1u);
    EXPECT_STREQ(buffer, "2");
}

TEST_F(PrivateProfile, SectionLines)
{
    Put("WINDOWS/L.INI", "[Colors]\n ColorA = FFFFFF \n;note\nColorB=\"q\"\nnoequals\n[Next]\nX=1\n");
    char buffer[64];
    const DWORD length = GetPrivateProfileSection("colors", buffer, sizeof buffer, "L.INI");
    EXPECT_EQ(std::string(buffer, length + 1), std::string("ColorA=FFFFFF\0ColorB=\"q\"\0\0", 26));
    EXPECT_EQ(GetPrivateProfileSection("none", buffer, sizeof buffer, "L.INI"), 0u);
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(PrivateProfile, IntegerValues)
{
    Put("WINDOWS/I.INI", "[N]\na=123\nb= -7 \nc=12abc\nd=abc\ne=\"55\"\nf=\n");
    struct Case { const char* key; UINT expected; };
    const Case cases[] = {{"a", 123}, {"b", static_cast<UINT>(-7)}, {"c", 12}, {"d", 0}, {"e", 55}, {"f", 0},
                          {"missing", 99}};
    for (const auto& c : cases) EXPECT_EQ(GetPrivateProfileInt("N", c.key, 99, "I.INI"), c.expected) << c.key;
}

TEST_F(PrivateProfile, EightBitValuesRoundTrip)
{
    const std::string value = "\x01\x7F\x80\xA0\xE9\xFF;[x]=y";
    ASSERT_TRUE(WritePrivateProfileString("Bytes", "Value", value.c_str(), "E.INI"));
    EXPECT_EQ(Read("Bytes", "Value", "", "E.INI"), value);
}

} // namespace
