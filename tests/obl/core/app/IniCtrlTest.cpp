#include "obl/core/app/OBLIniCtrl.h"

#include "obl/core/base/Oblstrings.h"
#include "platform/win/kernel/Identity.h"

#include "TempSystem.h"

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const TStrings& strings)
{
    std::vector<std::string> lines;
    for (int i = 0; i < strings.Count(); ++i) lines.push_back(strings[i].str());
    return lines;
}

bool KeyThere(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyEx(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

class IniCtrlTest : public ::testing::Test {
protected:
    void TearDown() override { SetUserNameForTesting(std::nullopt); }

    TOBLIniCtrl* IniTarget()
    {
        ctrl_->SetTarget(itIniFile);
        return ctrl_.get();
    }
    TOBLIniCtrl* RegistryTarget(const char* path = "Software\\Vendaro\\Test")
    {
        ctrl_->SetTarget(itRegistry);
        ctrl_->SetRegPath(path);
        return ctrl_.get();
    }
    std::vector<std::string> Section(TOBLIniCtrl* ctrl, const char* section)
    {
        TStringList list;
        ctrl->ReadSectionValues(section, &list);
        return Lines(list);
    }

    TempSystem system_;
    std::unique_ptr<TOBLIniCtrl> ctrl_ = std::make_unique<TOBLIniCtrl>(nullptr);
};

TEST_F(IniCtrlTest, DefaultsFollowThePublishedTable)
{
    EXPECT_FALSE(ctrl_->AlphaCounter());
    EXPECT_TRUE(ctrl_->Common());
    EXPECT_EQ(ctrl_->IniPrefix(), ppWindows);
    EXPECT_EQ(ctrl_->MaxEntries(), 16);
    EXPECT_EQ(ctrl_->RegRoot(), rpCurrentUser);
    EXPECT_EQ(ctrl_->Target(), itAuto);
    EXPECT_EQ(ctrl_->EncKey(), 24680);
    EXPECT_FALSE(ctrl_->Encoded());
    EXPECT_EQ(ctrl_->LastSection().str(), "");
}

TEST_F(IniCtrlTest, IniNamesFollowPrefixAndExtensionRules)
{
    EXPECT_EQ(ctrl_->GetIniName().str(), "C:\\WINDOWS\\Importa.INI");
    EXPECT_EQ(ctrl_->IniFile().str(), "C:\\Vendaro\\Importa.INI");
    struct Case {
        const char* file;
        TOBLPathPrefix prefix;
        const char* stored;
        const char* name;
    };
    const Case cases[] = {
        {"settings", ppWindows, "settings.INI", "C:\\WINDOWS\\settings.INI"},
        {"D:\\cfg\\shop.cfg", ppProgram, "D:\\cfg\\shop.cfg", "C:\\Vendaro\\shop.cfg"},
        {"D:\\cfg\\shop", ppFixed, "D:\\cfg\\shop.INI", "D:\\cfg\\shop.INI"},
        {"shop.ini", ppSystem, "shop.ini", "C:\\WINDOWS\\SYSTEM\\shop.ini"},
        // No name: the executable's, with ".INI", filled in when first needed.
        {"", ppWindows, "", "C:\\WINDOWS\\Importa.INI"},
        {"", ppFixed, "", "C:\\Vendaro\\Importa.INI"},
    };
    for (const Case& c : cases) {
        ctrl_->SetIniFile(c.file);
        ctrl_->SetIniPrefix(c.prefix);
        EXPECT_EQ(ctrl_->IniFile().str(), c.stored);
        EXPECT_EQ(ctrl_->GetIniName().str(), c.name);
    }
}

TEST_F(IniCtrlTest, SectionRulesPerTarget)
{
    SetUserNameForTesting(AnsiString("mario"));
    struct Case {
        TOBLIniTarget target;
        bool common;
        bool netUser;
        const char* user;
        const char* section;
        const char* stored;
    };
    const Case cases[] = {
        {itIniFile, true, false, "", "Main", "Main"},
        {itIniFile, false, false, "Bob", "Main", "Main.Bob"},
        {itIniFile, false, true, "", "Main", "Main.mario"},
        {itIniFile, true, false, "", "#ROOT", "#ROOT"},
        {itRegistry, false, false, "Bob", "Main", "Main"},
        {itRegistry, true, false, "", "#ROOT", ""},
        {itRegistry, true, false, "", "#root", "#root"},
        {itAuto, true, false, "", "#ROOT", ""},
    };
    for (const Case& c : cases) {
        TOBLIniCtrl ctrl(nullptr);
        ctrl.SetTarget(c.target);
        ctrl.SetCommon(c.common);
        ctrl.SetUser(c.user);
        ctrl.SetNetUser(c.netUser);
        EXPECT_EQ(ctrl.GetSectionName(c.section).str(), c.stored) << c.section;
        EXPECT_EQ(ctrl.LastSection().str(), c.stored);
        // An empty section repeats the last one and leaves it as it is; the key itself
        // leaves no name to repeat.
        EXPECT_EQ(ctrl.GetSectionName("").str(), *c.stored ? c.stored : "Common");
        EXPECT_EQ(ctrl.LastSection().str(), c.stored);
    }
    TOBLIniCtrl fresh(nullptr);
    EXPECT_EQ(fresh.GetSectionName("").str(), "Common");
    EXPECT_EQ(fresh.LastSection().str(), "");
    fresh.SetNetUser(true);
    EXPECT_EQ(fresh.User().str(), "mario");
}

TEST_F(IniCtrlTest, IniTargetWritesTheExecutableNamedFileInTheWindowsFolder)
{
    TOBLIniCtrl* ctrl = IniTarget();
    ctrl->WriteString("Main", "Shop", "Rossi");
    ctrl->SetCommon(false);
    ctrl->SetUser("Bob");
    ctrl->WriteInteger("Main", "Count", 12);
    ctrl->WriteBool("Main", "On", true);
    EXPECT_EQ(system_.Get("WINDOWS/Importa.INI"), "[Main]\r\nShop=Rossi\r\n\r\n[Main.Bob]\r\nCount=12\r\nOn=1\r\n");
    EXPECT_EQ(ctrl->ReadInteger("Main", "Count", 0), 12);
    EXPECT_TRUE(ctrl->ReadBool("", "On", false));
    EXPECT_EQ(ctrl->ReadString("", "Shop", "none").str(), "none");  // "Main.Bob" holds no Shop
    TStringList sections;
    ctrl->ReadSections(&sections);
    EXPECT_EQ(Lines(sections), (std::vector<std::string>{"Main", "Main.Bob"}));
    ctrl->DeleteKey("Main", "On");
    EXPECT_EQ(Section(ctrl, "Main"), (std::vector<std::string>{"Count=12"}));
    ctrl->EraseSection("Main");
    ctrl->ReadSections(&sections);
    EXPECT_EQ(Lines(sections), (std::vector<std::string>{"Main"}));
}

TEST_F(IniCtrlTest, EmptySectionReadsTheLastSectionUsed)
{
    TOBLIniCtrl* ctrl = IniTarget();
    ctrl->WriteString("Common", "Where", "common");
    ctrl->WriteString("Main", "Where", "main");
    EXPECT_EQ(ctrl->ReadString("", "Where", "").str(), "main");
    TOBLIniCtrl fresh(nullptr);
    fresh.SetTarget(itIniFile);
    EXPECT_EQ(fresh.ReadString("", "Where", "").str(), "common");
}

TEST_F(IniCtrlTest, RegistryRootSectionIsTheKeyItselfAndErasingItKeepsSubkeys)
{
    TOBLIniCtrl* ctrl = RegistryTarget("Software\\Vendaro\\Test");
    EXPECT_EQ(ctrl->GetRegPath().str(), "Software\\Vendaro\\Test\\");
    ctrl->WriteString("#ROOT", "Top", "1");
    ctrl->WriteString("#root", "Low", "2");
    ctrl->WriteString("Main", "Shop", "Rossi");
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "Software\\Vendaro\\Test\\#root"));
    TRegistry reg(KEY_READ);
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Vendaro\\Test"));
    EXPECT_EQ(reg.ReadString("Top").str(), "1");
    reg.CloseKey();
    TStringList sections;
    ctrl->ReadSections(&sections);
    EXPECT_EQ(Lines(sections), (std::vector<std::string>{"#root", "Main"}));
    ctrl->EraseSection("#ROOT");
    EXPECT_EQ(Section(ctrl, "#ROOT"), std::vector<std::string>{});
    EXPECT_EQ(Section(ctrl, "Main"), (std::vector<std::string>{"Shop=Rossi"}));
    ctrl->EraseSection("#root");
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Vendaro\\Test\\#root"));
}

TEST_F(IniCtrlTest, ReadingAMissingKeyGivesDefaultsNeverTheRootKey)
{
    HKEY root;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Stray", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(root);
    TOBLIniCtrl* ctrl = RegistryTarget("Software\\Missing");
    ctrl->SetEncoded(true);
    EXPECT_EQ(ctrl->ReadString("#ROOT", "Stray", "dflt").str(), "dflt");
    EXPECT_EQ(ctrl->ReadInteger("Main", "Count", 7), 7);
    TStringList list;
    list.Add("old");
    ctrl->ReadSections(&list);
    EXPECT_EQ(list.Count(), 0);
    ctrl->ReadSection("#ROOT", &list);
    EXPECT_EQ(list.Count(), 0);
    ctrl->ReadStrings("Main", "Item", &list);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Missing"));
}

TEST_F(IniCtrlTest, OtherRootsAreReachedThroughRegRoot)
{
    TOBLIniCtrl* ctrl = RegistryTarget("Software\\Vendaro");
    ctrl->SetRegRoot(rpLocalMachine);
    ctrl->WriteInteger("Main", "Count", 3);
    EXPECT_TRUE(KeyThere(HKEY_LOCAL_MACHINE, "Software\\Vendaro\\Main"));
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Vendaro"));
    EXPECT_EQ(ctrl->ReadInteger("Main", "Count", 0), 3);

    const std::pair<TOBLRegRootKey, HKEY> roots[] = {
        {rpClassesRoot, HKEY_CLASSES_ROOT}, {rpCurrentUser, HKEY_CURRENT_USER}, {rpLocalMachine, HKEY_LOCAL_MACHINE},
        {rpUsers, HKEY_USERS}, {rpCurrentConfig, HKEY_CURRENT_CONFIG}, {rpDynData, HKEY_DYN_DATA},
    };
    for (const auto& [kind, key] : roots) EXPECT_EQ(OBLGetRootKey(kind), key);
    EXPECT_EQ(OBLGetRootKey(static_cast<TOBLRegRootKey>(9)), nullptr);
}

TEST_F(IniCtrlTest, ListsAreNumberedValuesOfAnErasedSection)
{
    for (bool registry : {false, true}) {
        ctrl_ = std::make_unique<TOBLIniCtrl>(nullptr);
        TOBLIniCtrl* ctrl = registry ? RegistryTarget() : IniTarget();
        for (bool alpha : {false, true}) {
            ctrl->SetAlphaCounter(alpha);
            ctrl->WriteString("Files", "Stale", "x");
            TStringList lines;
            for (int i = 0; i < 20; ++i) lines.Add("line " + IntToStr(i));
            ctrl->WriteStrings("Files", "File", &lines);
            TStringList idents;
            ctrl->ReadSection("Files", &idents);
            ASSERT_EQ(idents.Count(), 16);
            std::vector<std::string> expected;
            for (int i = 0; i < 16; ++i)
                expected.push_back("File" + (alpha ? std::string(1, static_cast<char>('A' + i)) : std::to_string(i)));
            std::vector<std::string> got = Lines(idents);
            std::sort(got.begin(), got.end());
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(got, expected) << registry << alpha;
            TStringList back;
            ctrl->ReadStrings("Files", "File", &back);
            ASSERT_EQ(back.Count(), 16);
            EXPECT_EQ(back[15].str(), "line 15");
            // An empty entry hides those after it.
            ctrl->WriteString("Files", "File" + ctrl->GetCounterIdent(3), "");
            ctrl->ReadStrings("Files", "File", &back);
            EXPECT_EQ(back.Count(), 3);
            // Count 0 only erases.
            ctrl->WriteStringsExt("Files", "File", 0, &lines);
            ctrl->ReadSection("Files", &idents);
            EXPECT_EQ(idents.Count(), 0);
        }
    }
}

TEST_F(IniCtrlTest, AlphaCounterCapsTheEntriesAtTwentySix)
{
    ctrl_->SetMaxEntries(30);
    ctrl_->SetAlphaCounter(true);
    EXPECT_EQ(ctrl_->MaxEntries(), 26);
    ctrl_->SetMaxEntries(30);
    EXPECT_EQ(ctrl_->MaxEntries(), 26);
    ctrl_->SetMaxEntries(5);
    EXPECT_EQ(ctrl_->MaxEntries(), 5);
    EXPECT_EQ(ctrl_->GetCounterIdent(0).str(), "A");
    EXPECT_EQ(ctrl_->GetCounterIdent(25).str(), "Z");
    ctrl_->SetAlphaCounter(false);
    ctrl_->SetMaxEntries(30);
    EXPECT_EQ(ctrl_->MaxEntries(), 30);
    EXPECT_EQ(ctrl_->GetCounterIdent(12).str(), "12");
}

TEST_F(IniCtrlTest, ScrambledValuesSurviveBothStoresWhateverBytesTheyHold)
{
    const AnsiString values[] = {
        AnsiString("plain"),
        AnsiString(" blanks at both ends "),
        AnsiString("line\r\nbreak\rcr\nlf"),
        AnsiString("nul\0inside", 10),
        AnsiString("\0", 1),
        AnsiString("%%marker"),
        AnsiString("\"quoted\""),
        AnsiString(""),
    };
    for (bool registry : {false, true}) {
        ctrl_ = std::make_unique<TOBLIniCtrl>(nullptr);
        TOBLIniCtrl* ctrl = registry ? RegistryTarget() : IniTarget();
        for (WORD key : {WORD{24680}, WORD{0}, WORD{0xFFFF}}) {
            ctrl->SetEncKey(key);
            ctrl->SetEncoded(true);
            for (const AnsiString& value : values) {
                ctrl->WriteString("Secret", "Value", value);
                EXPECT_EQ(ctrl->ReadString("Secret", "Value", "dflt"), value) << registry << key;
                ctrl->SetEncoded(false);
                EXPECT_EQ(ctrl->ReadString("Secret", "Value", ""), OBLEncode(value, key));
                ctrl->SetEncoded(true);
            }
            // A missing value gives the default unchanged, whatever it holds.
            for (const AnsiString& fallback : values)
                EXPECT_EQ(ctrl->ReadString("Secret", "Missing", fallback), fallback) << registry;
        }
    }
}

TEST_F(IniCtrlTest, AColourListReadFromADamagedSectionWritesBackAsItWasRead)
{
    // Keys led by control bytes, a key cut at a NUL, values holding NUL, CR and 0xFF.
    using namespace std::string_literals;
    system_.Put("WINDOWS/Importa.INI",
                "[Colours]\r\n\x01;Sky=$00FFCC88\r\n\x1F [Grass=clGreen\r\nNul\0Cut=clRed\r\nSea=\xFF\0x\r\n"
                "Fog=%%a%0Db\r\n"s);
    TOBLIniCtrl* ctrl = IniTarget();
    TStringList colours;
    ctrl->ReadColorList("Colours", &colours);
    const std::vector<std::string> read{"\x01;Sky=$00FFCC88", "\x1F [Grass=clGreen", "Nul=clRed",
                                        "Sea=\xFF\0x"s, "Fog=a\rb"};
    ASSERT_EQ(Lines(colours), read);

    ctrl->EraseSection("Colours");
    ctrl->WriteColorList("Colours", &colours);
    EXPECT_EQ(system_.Get("WINDOWS/Importa.INI"),
              std::string("[Colours]\r\n\x01;Sky=$00FFCC88\r\n\x1F [Grass=clGreen\r\nNul=clRed\r\n"
                          "Sea=%%\xFF%00x\r\nFog=%%a%0Db\r\n"));
    TStringList back;
    ctrl->ReadColorList("Colours", &back);
    EXPECT_EQ(Lines(back), read);
}

TEST_F(IniCtrlTest, PublishedPropertiesAreListedInOrder)
{
    std::vector<std::string> names;
    for (PPropInfo p : GetPropList(TOBLIniCtrl::StaticClass())) names.push_back(p->Name.str());
    const std::vector<std::string> expected{"Name", "Tag", "About", "AlphaCounter", "Common", "IniFile", "IniPrefix",
                                            "MaxEntries", "NetUser", "User", "RegPath", "RegRoot", "Target",
                                            "EncKey", "Encoded"};
    EXPECT_EQ(names, expected);
}

}  // namespace
