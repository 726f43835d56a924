#include "platform/classlib/IniFiles.h"

#include "platform/rtl/DateTime.h"

#include "TempWindows.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(TStrings& strings)
{
    std::vector<std::string> lines;
    for (int i = 0; i < strings.Count(); ++i) lines.push_back(strings[i].str());
    return lines;
}

class IniFile : public TempWindows {};

TEST_F(IniFile, TypedValuesRoundTripAsText)
{
    TOwned<TIniFile> ini(new TIniFile("APP.INI"));
    ini->WriteString("Main", "Name", "Caff\xE8 Rossi");
    ini->WriteInteger("Main", "Count", -42);
    ini->WriteBool("Main", "On", true);
    ini->WriteBool("Main", "Off", false);
    ini->WriteFloat("Main", "Rate", 2.5);
    ini->WriteDate("Main", "Day", EncodeDate(2024, 3, 5));
    ini->WriteTime("Main", "At", EncodeTime(14, 30, 15, 0));
    ini->WriteDateTime("Main", "When", EncodeDate(2024, 3, 5) + EncodeTime(8, 5, 0, 0));
    EXPECT_EQ(Get("WINDOWS/APP.INI"), "[Main]\r\nName=Caff\xE8 Rossi\r\nCount=-42\r\nOn=1\r\nOff=0\r\nRate=2.5\r\n"
                                      "Day=05/03/2024\r\nAt=14:30:15\r\nWhen=05/03/2024 08:05:00\r\n");
    TOwned<TIniFile> again(new TIniFile("app.ini"));
    EXPECT_EQ(again->ReadString("MAIN", "name", ""), "Caff\xE8 Rossi");
    EXPECT_EQ(again->ReadInteger("Main", "Count", 0), -42);
    EXPECT_TRUE(again->ReadBool("Main", "On", false));
    EXPECT_FALSE(again->ReadBool("Main", "Off", true));
    EXPECT_DOUBLE_EQ(again->ReadFloat("Main", "Rate", 0), 2.5);
    EXPECT_DOUBLE_EQ(again->ReadDate("Main", "Day", 0), EncodeDate(2024, 3, 5));
    EXPECT_NEAR(again->ReadTime("Main", "At", 0), EncodeTime(14, 30, 15, 0), 1e-9);
    EXPECT_NEAR(again->ReadDateTime("Main", "When", 0), EncodeDate(2024, 3, 5) + EncodeTime(8, 5, 0, 0), 1e-9);
}

TEST_F(IniFile, UnreadableValuesGiveTheDefault)
{
    Put("WINDOWS/BAD.INI", "[S]\nInt=12x\nHex=0x1F\nFloat=1,5\nDate=31/02/2024\nTime=25:00\nBool=yes\nEmpty=\n");
    TOwned<TIniFile> ini(new TIniFile("BAD.INI"));
    EXPECT_EQ(ini->ReadInteger("S", "Int", 7), 7);
    EXPECT_EQ(ini->ReadInteger("S", "Hex", 7), 31);
    EXPECT_EQ(ini->ReadInteger("S", "Empty", 7), 7);
    EXPECT_EQ(ini->ReadInteger("S", "Missing", 7), 7);
    EXPECT_DOUBLE_EQ(ini->ReadFloat("S", "Float", 9.25), 9.25);
    EXPECT_DOUBLE_EQ(ini->ReadDate("S", "Date", 100.0), 100.0);
    EXPECT_DOUBLE_EQ(ini->ReadTime("S", "Time", 0.5), 0.5);
    EXPECT_DOUBLE_EQ(ini->ReadDateTime("S", "Missing", 3.0), 3.0);
    EXPECT_TRUE(ini->ReadBool("S", "Bool", true));
    EXPECT_FALSE(ini->ReadBool("S", "Bool", false));
}

TEST_F(IniFile, ProfileRulesReachTheClass)
{
    Put("WINDOWS/RULES.INI", "[ Shop ]\n  Owner = \"  Bianchi  \" \nCity='Roma'\n");
    TOwned<TIniFile> ini(new TIniFile("RULES.INI"));
    EXPECT_EQ(ini->ReadString("shop", "OWNER", ""), "  Bianchi  ");
    EXPECT_EQ(ini->ReadString("SHOP", "city", ""), "Roma");
    TOwned<TIniFile> missing(new TIniFile("C:\\nowhere\\none.ini"));
    EXPECT_EQ(missing->ReadString("Shop", "Owner", "default"), "default");
    TOwned<TStringList> list(new TStringList);
    list->Add("stale");
    missing->ReadSections(list.get());
    EXPECT_EQ(list->Count(), 0);
}

TEST_F(IniFile, ValuesKeepEveryByte)
{
    // Stored form of each value: as it is when a profile line keeps it, escaped otherwise.
    struct Case { std::string value; std::string stored; };
    const Case cases[] = {
        {"plain text", "plain text"},
        {"caff\xE8 \x01\x7F", "caff\xE8 \x01\x7F"},
        {"50% off", "50% off"},
        {"", ""},
        {std::string("a\0b", 3), "%%a%00b"},
        {"two\r\nlines", "%%two%0D%0Alines"},
        {"  padded\t", "%%%20%20padded%09"},
        {"\"quoted\"", "%%\"quoted\""},
        {"'q'", "%%'q'"},
        {"%%lead", "%%%25%25lead"},
        {std::string("\xFF\x00\x0D=;[x]", 8), "%%\xFF%00%0D=;[x]"},
    };
    TOwned<TIniFile> ini(new TIniFile("BYTES.INI"));
    for (const auto& c : cases) {
        ini->WriteString("Bytes", "V", c.value);
        EXPECT_EQ(Get("WINDOWS/BYTES.INI"), "[Bytes]\r\nV=" + c.stored + "\r\n") << c.stored;
        EXPECT_EQ(ini->ReadString("Bytes", "V", "").str(), c.value) << c.stored;
        EXPECT_EQ(ini->ReadString("Bytes", "Missing", c.value).str(), c.value) << c.stored;
    }
    TOwned<TStringList> list(new TStringList);
    ini->WriteString("Bytes", "V", "x\ny");
    ini->ReadSectionValues("Bytes", list.get());
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Strings(0), "V=x\ny");
}

TEST_F(IniFile, EveryCallSeesTheFileAsItIsNow)
{
    TOwned<TIniFile> ini(new TIniFile("LIVE.INI"));
    ini->WriteString("Main", "Key", "first");
    Put("WINDOWS/LIVE.INI", "[Main]\nKey=edited elsewhere\n");
    EXPECT_EQ(ini->ReadString("Main", "Key", ""), "edited elsewhere");
    std::filesystem::remove(root_ + "/WINDOWS/LIVE.INI");
    EXPECT_EQ(ini->ReadString("Main", "Key", "gone"), "gone");
    ini->WriteInteger("Main", "N", 1);
    EXPECT_EQ(Get("WINDOWS/LIVE.INI"), "[Main]\r\nN=1\r\n");
}

TEST_F(IniFile, SectionsAndIdents)
{
    Put("WINDOWS/S.INI", "[One]\nA=1\nB=\n;c=3\n[Two]\nX=\"q\"\n[Empty]\n");
    TOwned<TIniFile> ini(new TIniFile("S.INI"));
    TOwned<TStringList> list(new TStringList);
    ini->ReadSections(list.get());
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"One", "Two", "Empty"}));
    ini->ReadSection("one", list.get());
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"A", "B"}));
    ini->ReadSectionValues("ONE", list.get());
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"A=1", "B="}));
    ini->ReadSectionValues("Two", list.get());
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"X=q"}));
    EXPECT_TRUE(ini->SectionExists("two"));
    EXPECT_FALSE(ini->SectionExists("Empty"));
    EXPECT_FALSE(ini->SectionExists("None"));
    EXPECT_TRUE(ini->ValueExists("One", "b"));
    EXPECT_FALSE(ini->ValueExists("One", "c"));
    ini->DeleteKey("One", "A");
    ini->DeleteKey("One", "Absent");
    ini->EraseSection("Two");
    ini->EraseSection("Absent");
    EXPECT_EQ(Get("WINDOWS/S.INI"), "[One]\r\nB=\r\n;c=3\r\n[Empty]\r\n");
}

TEST_F(IniFile, LongValuesAndListsAreNotCut)
{
    const std::string value(5000, 'v');
    TOwned<TIniFile> ini(new TIniFile("LONG.INI"));
    ini->WriteString("Main", "Long", value);
    for (int i = 0; i < 400; ++i) ini->WriteString("Section" + std::to_string(i), "K", "1");
    EXPECT_EQ(ini->ReadString("Main", "Long", "").str(), value);
    EXPECT_EQ(ini->ReadString("Main", "Missing", AnsiString(value)).str(), value);
    TOwned<TStringList> list(new TStringList);
    ini->ReadSections(list.get());
    ASSERT_EQ(list->Count(), 401);
    EXPECT_EQ(list->Strings(400), "Section399");
}

TEST_F(IniFile, WritesThatCannotBeStoredRaise)
{
    struct Case { const char* file; std::string section; std::string ident; std::string value; };
    const Case cases[] = {
        {"C:\\nofolder\\X.INI", "S", "K", "v"},
        {"X.INI", "S", "K\r\nL", "v"},
        {"X.INI", "S]", "K", "v"},
        {"X.INI", "S", "K=1", "v"},
        {"X.INI", std::string("S\0T", 3), "K", "v"},
    };
    for (const auto& c : cases) {
        TOwned<TIniFile> ini(new TIniFile(c.file));
        try {
            ini->WriteString(c.section, c.ident, c.value);
            ADD_FAILURE() << "no exception for " << c.section << " " << c.ident;
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), AnsiString("Unable to write to ") + c.file);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(root_ + "/WINDOWS/X.INI"));
    TOwned<TIniFile> ini(new TIniFile("C:\\nofolder\\X.INI"));
    EXPECT_NO_THROW(ini->UpdateFile());
    EXPECT_THROW(ini->EraseSection("Bad]"), EIniFileException);
}

} // namespace
