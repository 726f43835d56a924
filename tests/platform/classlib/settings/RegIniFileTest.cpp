#include "platform/classlib/Registry.h"

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

DWORD RawType(const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0xFFFF;
    DWORD type = 0xFFFF;
    RegQueryValueEx(key, name, nullptr, &type, nullptr, nullptr);
    RegCloseKey(key);
    return type;
}

bool KeyThere(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyEx(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// A registry ini file that picks its own root and opens its path as the settings store
// does: read-only (never creating) or for writing (creating when missing).
class StoreRegIniFile : public TRegIniFile {
public:
    StoreRegIniFile(HKEY root, const AnsiString& path, bool readOnly)
    {
        SetLazyWrite(true);
        SetFileName(path);
        SetRootKey(root);
        SetAccess(readOnly ? KEY_READ : KEY_ALL_ACCESS);
        if (readOnly) OpenKeyReadOnly(path);
        else OpenKey(path, true);
    }
};

class RegIniFile : public TempWindows {};

TEST_F(RegIniFile, SectionsAreSubkeysAndTheEmptySectionIsTheKey)
{
    TOwned<TRegIniFile> ini(new TRegIniFile("Software\\Acme\\Demo\\"));
    EXPECT_EQ(ini->FileName(), "Software\\Acme\\Demo\\");
    ini->WriteString("Main", "Name", "Rossi");
    ini->WriteString("", "Top", "root");
    ini->WriteInteger("Main", "Count", 12);
    ini->WriteBool("Main", "On", true);
    EXPECT_EQ(RawType("Software\\Acme\\Demo\\Main", "Name"), REG_SZ);
    EXPECT_EQ(RawType("Software\\Acme\\Demo\\Main", "Count"), REG_SZ);
    EXPECT_EQ(RawType("Software\\Acme\\Demo\\Main", "On"), REG_SZ);
    EXPECT_EQ(RawType("Software\\Acme\\Demo", "Top"), REG_SZ);
    ReloadRegistry();
    ini.reset(new TRegIniFile("Software\\Acme\\Demo"));
    EXPECT_EQ(ini->ReadString("main", "NAME", ""), "Rossi");
    EXPECT_EQ(ini->ReadString("", "Top", ""), "root");
    EXPECT_EQ(ini->ReadInteger("Main", "Count", 0), 12);
    EXPECT_TRUE(ini->ReadBool("Main", "On", false));
    EXPECT_EQ(ini->ReadString("Main", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini->ReadString("Nowhere", "Name", "dflt"), "dflt");
    EXPECT_EQ(ini->ReadInteger("Nowhere", "Count", -1), -1);
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Acme\\Demo\\Nowhere"));
}

TEST_F(RegIniFile, IntegersReadFromTextOrNumbers)
{
    TOwned<TRegIniFile> ini(new TRegIniFile("Software\\Ints"));
    ini->WriteString("S", "Text", "0x10");
    ini->WriteString("S", "Junk", "12abc");
    ASSERT_TRUE(ini->OpenKey("S", false));
    ini->WriteInteger("Dword", 77);
    ini->CloseKey();
    ini.reset(new TRegIniFile("Software\\Ints"));
    EXPECT_EQ(ini->ReadInteger("S", "Text", 0), 16);
    EXPECT_EQ(ini->ReadInteger("S", "Junk", 5), 5);
    EXPECT_EQ(ini->ReadInteger("S", "Dword", 0), 77);
    EXPECT_TRUE(ini->ReadBool("S", "Dword", false));
}

TEST_F(RegIniFile, SectionListsAndErasing)
{
    TOwned<TRegIniFile> ini(new TRegIniFile("Software\\Lists"));
    ini->WriteString("Colors", "ColorA", "FFFFFF");
    ini->WriteString("Colors", "ColorB", "");
    ini->WriteString("Colors\\Nested", "X", "1");
    ini->WriteString("Other", "Y", "2");
    ini->WriteString("", "Own", "3");
    TOwned<TStringList> list(new TStringList);
    ini->ReadSections(list.get());
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"Colors", "Other"}));
    ini->ReadSection("colors", list.get());
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"ColorA", "ColorB"}));
    ini->ReadSectionValues("Colors", list.get());
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"ColorA=FFFFFF", "ColorB="}));
    ini->ReadSection("Absent", list.get());
    EXPECT_EQ(list->Count(), 0);
    ini->DeleteKey("Colors", "ColorA");
    ini->ReadSection("Colors", list.get());
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"ColorB"}));

    ini->EraseSection("");
    ini->ReadSection("", list.get());
    EXPECT_EQ(list->Count(), 0);
    ini->ReadSections(list.get());
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"Colors", "Other"}));
    ini->EraseSection("Colors");
    ini->ReadSections(list.get());
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"Other"}));
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Lists\\Colors\\Nested"));
    ini->WriteString("", "Again", "ok");
    EXPECT_EQ(ini->ReadString("", "Again", ""), "ok");
}

TEST_F(RegIniFile, ReadOnlyStoreOnAMissingPathReadsDefaults)
{
    // A value at the root's level must not be found through the missing path.
    {
        TOwned<TRegIniFile> rootLevel(new TRegIniFile(""));
        rootLevel->WriteString("Main", "Name", "wrong place");
    }
    TOwned<StoreRegIniFile> ini(new StoreRegIniFile(HKEY_CURRENT_USER, "Software\\Absent\\", true));
    EXPECT_EQ(ini->CurrentKey(), nullptr);
    EXPECT_EQ(ini->ReadString("Main", "Name", "dflt"), "dflt");
    EXPECT_EQ(ini->ReadInteger("Main", "N", 4), 4);
    TOwned<TStringList> list(new TStringList);
    ini->ReadSection("Main", list.get());
    EXPECT_EQ(list->Count(), 0);
    EXPECT_THROW(ini->WriteString("Main", "Name", "x"), ERegistryException);
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Absent"));
}

TEST_F(RegIniFile, ReadOnlyStoreRefusesWritesAndWritableStoreCreates)
{
    TOwned<StoreRegIniFile> writer(new StoreRegIniFile(HKEY_LOCAL_MACHINE, "Software\\Shop\\", false));
    writer->WriteString("Main", "Name", "Shop");
    EXPECT_TRUE(KeyThere(HKEY_LOCAL_MACHINE, "Software\\Shop\\Main"));
    TOwned<StoreRegIniFile> reader(new StoreRegIniFile(HKEY_LOCAL_MACHINE, "Software\\Shop\\", true));
    EXPECT_EQ(reader->ReadString("Main", "Name", ""), "Shop");
    EXPECT_THROW(reader->WriteString("Main", "Name", "x"), ERegistryException);
    EXPECT_THROW(reader->WriteString("New", "Name", "x"), ERegistryException);
    EXPECT_EQ(reader->ReadString("Main", "Name", ""), "Shop");
}

TEST_F(RegIniFile, StringValuesKeepEveryByte)
{
    const std::string values[] = {"", std::string("\0", 1), std::string("\0\0", 2), "  blanks  ",
                                  std::string("a\r\n\0\xFF\"", 6), "\"quoted\""};
    TOwned<TRegIniFile> ini(new TRegIniFile("Software\\Bytes"));
    TOwned<TRegistryIniFile> face(new TRegistryIniFile("Software\\Bytes"));
    for (const auto& value : values) {
        ini->WriteString("S", "V", value);
        EXPECT_EQ(ini->ReadString("S", "V", "dflt").str(), value);
        EXPECT_EQ(face->ReadString("S", "V", "dflt").str(), value);
        EXPECT_EQ(ini->ReadString("S", "Missing", value).str(), value);
    }
}

class RegistryIniFile : public TempWindows {};

TEST_F(RegistryIniFile, TypedValuesThroughTheIniFace)
{
    TOwned<TRegistryIniFile> owned(new TRegistryIniFile("Software\\Face"));
    TCustomIniFile* ini = owned.get();
    ini->WriteString("Obj", "Caption", "Ok");
    ini->WriteInteger("Obj", "Width", 75);
    ini->WriteFloat("Obj", "Ratio", 0.125);
    ini->WriteDate("Obj", "Day", 40000.0);
    ini->WriteBool("Obj", "Visible", true);
    EXPECT_EQ(RawType("Software\\Face\\Obj", "Caption"), REG_SZ);
    EXPECT_EQ(RawType("Software\\Face\\Obj", "Width"), REG_DWORD);
    EXPECT_EQ(RawType("Software\\Face\\Obj", "Ratio"), REG_BINARY);
    EXPECT_EQ(RawType("Software\\Face\\Obj", "Day"), REG_BINARY);
    EXPECT_EQ(RawType("Software\\Face\\Obj", "Visible"), REG_SZ);
    owned.reset(new TRegistryIniFile("Software\\Face"));
    ini = owned.get();
    EXPECT_EQ(ini->ReadString("Obj", "Caption", ""), "Ok");
    EXPECT_EQ(ini->ReadInteger("Obj", "Width", 0), 75);
    EXPECT_DOUBLE_EQ(ini->ReadFloat("Obj", "Ratio", 0), 0.125);
    EXPECT_DOUBLE_EQ(ini->ReadDate("Obj", "Day", 0), 40000.0);
    EXPECT_TRUE(ini->ReadBool("Obj", "Visible", false));
    EXPECT_EQ(ini->ReadInteger("Obj", "Missing", 3), 3);
    EXPECT_DOUBLE_EQ(ini->ReadFloat("Missing", "Ratio", 1.5), 1.5);
    EXPECT_TRUE(ini->ValueExists("Obj", "Width"));
    EXPECT_TRUE(ini->SectionExists("obj"));
}

TEST_F(RegistryIniFile, TextValuesReadAsNumbersOrDefaults)
{
    TOwned<TRegistryIniFile> ini(new TRegistryIniFile("Software\\Text"));
    ini->WriteString("S", "Float", "2.75");
    ini->WriteString("S", "Date", "05/03/2024");
    ini->WriteString("S", "Bad", "n/a");
    EXPECT_DOUBLE_EQ(ini->ReadFloat("S", "Float", 0), 2.75);
    EXPECT_DOUBLE_EQ(ini->ReadDate("S", "Date", 0), EncodeDate(2024, 3, 5));
    EXPECT_DOUBLE_EQ(ini->ReadFloat("S", "Bad", -1), -1);
    EXPECT_DOUBLE_EQ(ini->ReadDateTime("S", "Bad", -2), -2);
}

TEST_F(RegistryIniFile, ReopeningUnderAnotherRoot)
{
    TOwned<TRegistryIniFile> ini(new TRegistryIniFile("Software\\Acme\\"));
    ini->RegIniFile()->SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(ini->RegIniFile()->OpenKey("Software\\Acme\\", true));
    ini->WriteInteger("Obj", "Left", 10);
    EXPECT_TRUE(KeyThere(HKEY_LOCAL_MACHINE, "Software\\Acme\\Obj"));
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "Software\\Acme"));
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Acme\\Obj"));
    TOwned<TStringList> list(new TStringList);
    ini->ReadSectionValues("Obj", list.get());
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"Left=10"}));
    EXPECT_EQ(ini->ReadInteger("Obj", "Left", 0), 10);
    ini->EraseSection("Obj");
    EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, "Software\\Acme\\Obj"));
}

} // namespace
