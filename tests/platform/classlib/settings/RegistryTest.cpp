#include "platform/classlib/Registry.h"

#include "platform/rtl/DateTime.h"

#include "TempWindows.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(TStrings& strings)
{
    std::vector<std::string> lines;
    for (int i = 0; i < strings.Count(); ++i) lines.push_back(strings[i].str());
    return lines;
}

template <typename Call>
std::string ErrorOf(Call call)
{
    try {
        call();
    } catch (const ERegistryException& e) {
        return e.Message().str();
    }
    return "<no error>";
}

// The raw type of a value, straight from the registry functions.
DWORD RawType(HKEY root, const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyEx(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0xFFFF;
    DWORD type = 0xFFFF;
    RegQueryValueEx(key, name, nullptr, &type, nullptr, nullptr);
    RegCloseKey(key);
    return type;
}

class Registry : public TempWindows {};

TEST_F(Registry, DefaultsAndKeyPaths)
{
    TOwned<TRegistry> reg(new TRegistry);
    EXPECT_EQ(reg->RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg->Access(), KEY_ALL_ACCESS);
    EXPECT_TRUE(reg->LazyWrite());
    EXPECT_EQ(reg->CurrentKey(), nullptr);
    ASSERT_TRUE(reg->OpenKey("Software\\Acme\\", true));
    EXPECT_EQ(reg->CurrentPath(), "Software\\Acme\\");
    ASSERT_TRUE(reg->OpenKey("Demo", true));
    EXPECT_EQ(reg->CurrentPath(), "Software\\Acme\\\\Demo");
    reg->WriteString("Where", "demo");
    ASSERT_TRUE(reg->OpenKey("\\Software", false));
    EXPECT_EQ(reg->CurrentPath(), "Software");
    EXPECT_TRUE(reg->KeyExists("Acme\\Demo"));
    EXPECT_TRUE(reg->KeyExists("\\SOFTWARE\\acme"));
    EXPECT_FALSE(reg->KeyExists("Demo"));
    EXPECT_FALSE(reg->OpenKey("Missing", false));
    EXPECT_EQ(reg->CurrentPath(), "Software");
    reg->CloseKey();
    EXPECT_EQ(reg->CurrentKey(), nullptr);
    EXPECT_EQ(reg->CurrentPath(), "");
    ASSERT_TRUE(reg->OpenKey("Software\\Acme\\Demo", false));
    EXPECT_EQ(reg->ReadString("Where"), "demo");
}

TEST_F(Registry, ReadOnlyOpeningNeverCreatesAndRefusesWrites)
{
    TOwned<TRegistry> reg(new TRegistry);
    EXPECT_FALSE(reg->OpenKeyReadOnly("Software\\Missing"));
    EXPECT_FALSE(reg->KeyExists("Software"));
    EXPECT_EQ(reg->Access(), KEY_ALL_ACCESS);
    ASSERT_TRUE(reg->OpenKey("Software\\Here", true));
    reg->WriteInteger("N", 5);
    reg->CloseKey();
    ASSERT_TRUE(reg->OpenKeyReadOnly("Software\\Here"));
    EXPECT_EQ(reg->Access(), KEY_READ);
    EXPECT_EQ(reg->ReadInteger("N"), 5);
    EXPECT_EQ(ErrorOf([&] { reg->WriteInteger("N", 6); }), "Failed to set data for 'N'");
    EXPECT_EQ(ErrorOf([&] { reg->CreateKey("Sub"); }), "Failed to create key Sub");
    EXPECT_FALSE(reg->DeleteValue("N"));
}

TEST_F(Registry, TypedValues)
{
    TOwned<TRegistry> reg(new TRegistry);
    ASSERT_TRUE(reg->OpenKey("Software\\Types", true));
    const AnsiString bytes(std::string("a\0\xE9\xFF z", 6));
    const unsigned char blob[] = {0, 1, 2, 0xFE, 0xFF};
    reg->WriteString("Text", bytes);
    reg->WriteExpandString("Expand", "%TEMP%\\x");
    reg->WriteInteger("Int", -123456);
    reg->WriteBool("Flag", true);
    reg->WriteFloat("Float", 3.25);
    reg->WriteDateTime("When", EncodeDate(2001, 2, 3) + 0.5);
    reg->WriteBinaryData("Blob", blob, sizeof blob);
    ReloadRegistry();
    reg.reset(new TRegistry);
    ASSERT_TRUE(reg->OpenKeyReadOnly("Software\\Types"));
    EXPECT_EQ(reg->ReadString("Text"), bytes);
    EXPECT_EQ(reg->ReadString("Expand"), "%TEMP%\\x");
    EXPECT_EQ(reg->ReadInteger("Int"), -123456);
    EXPECT_TRUE(reg->ReadBool("Flag"));
    EXPECT_DOUBLE_EQ(reg->ReadFloat("Float"), 3.25);
    EXPECT_DOUBLE_EQ(reg->ReadDateTime("When"), EncodeDate(2001, 2, 3) + 0.5);
    unsigned char read[8] = {};
    EXPECT_EQ(reg->ReadBinaryData("Blob", read, sizeof read), 5);
    EXPECT_EQ(std::memcmp(read, blob, sizeof blob), 0);
    EXPECT_EQ(reg->ReadBinaryData("Missing", read, sizeof read), 0);

    struct TypeCase { const char* name; TRegDataType type; int size; DWORD raw; };
    const TypeCase types[] = {
        {"Text", rdString, 7, REG_SZ},   {"Expand", rdExpandString, 9, REG_EXPAND_SZ},
        {"Int", rdInteger, 4, REG_DWORD}, {"Float", rdBinary, 8, REG_BINARY},
        {"Blob", rdBinary, 5, REG_BINARY}, {"Missing", rdUnknown, -1, 0xFFFF},
    };
    for (const auto& t : types) {
        EXPECT_EQ(reg->GetDataType(t.name), t.type) << t.name;
        EXPECT_EQ(reg->GetDataSize(t.name), t.size) << t.name;
        EXPECT_EQ(RawType(HKEY_CURRENT_USER, "Software\\Types", t.name), t.raw) << t.name;
    }
}

TEST_F(Registry, WrongTypesAndMissingValues)
{
    TOwned<TRegistry> reg(new TRegistry);
    ASSERT_TRUE(reg->OpenKey("Software\\Types", true));
    reg->WriteInteger("Int", 1);
    reg->WriteString("Text", "abc");
    reg->WriteBinaryData("Blob", "0123456789", 10);
    char small[4];
    EXPECT_EQ(reg->ReadString("Missing"), "");
    EXPECT_EQ(ErrorOf([&] { reg->ReadInteger("Missing"); }), "Failed to get data for 'Missing'");
    EXPECT_EQ(ErrorOf([&] { reg->ReadString("Int"); }), "Invalid data type for 'Int'");
    EXPECT_EQ(ErrorOf([&] { reg->ReadInteger("Text"); }), "Invalid data type for 'Text'");
    EXPECT_EQ(ErrorOf([&] { reg->ReadFloat("Int"); }), "Invalid data type for 'Int'");
    EXPECT_EQ(ErrorOf([&] { reg->ReadBinaryData("Text", small, 4); }), "Invalid data type for 'Text'");
    EXPECT_EQ(ErrorOf([&] { reg->ReadBinaryData("Blob", small, 4); }), "Invalid data type for 'Blob'");
    // A DWORD value shorter than four bytes holds no integer.
    {
        HKEY key;
        ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Types", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueEx(key, "Short", 0, REG_DWORD, reinterpret_cast<const BYTE*>("\x01\x02"), 2), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    EXPECT_EQ(ErrorOf([&] { reg->ReadInteger("Short"); }), "Invalid data type for 'Short'");
    EXPECT_EQ(ErrorOf([&] { reg->ReadBool("Short"); }), "Invalid data type for 'Short'");
}

TEST_F(Registry, DeleteKeyRemovesTheWholeBranch)
{
    TOwned<TRegistry> reg(new TRegistry);
    for (const char* path : {"Software\\Tree\\A\\A1\\Deep", "Software\\Tree\\A\\A2", "Software\\Tree\\B"})
        ASSERT_TRUE(reg->CreateKey(path));
    ASSERT_TRUE(reg->OpenKey("Software\\Tree", false));
    reg->WriteString("Kept", "yes");
    TOwned<TStringList> names(new TStringList);
    reg->GetKeyNames(names.get());
    EXPECT_EQ(Lines(*names), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(reg->HasSubKeys());
    EXPECT_TRUE(reg->DeleteKey("a"));
    EXPECT_FALSE(reg->DeleteKey("A"));
    reg->GetKeyNames(names.get());
    EXPECT_EQ(Lines(*names), (std::vector<std::string>{"B"}));
    EXPECT_EQ(reg->CurrentPath(), "Software\\Tree");
    EXPECT_EQ(reg->ReadString("Kept"), "yes");
    EXPECT_TRUE(reg->DeleteKey("\\Software\\Tree"));
    reg->CloseKey();
    ReloadRegistry();
    EXPECT_FALSE(reg->KeyExists("Software\\Tree"));
    EXPECT_TRUE(reg->KeyExists("Software"));
}

TEST_F(Registry, ValueNamesAndDeletion)
{
    TOwned<TRegistry> reg(new TRegistry);
    ASSERT_TRUE(reg->OpenKey("Software\\Names", true));
    for (const char* name : {"Zeta", "alpha", "Mid"}) reg->WriteString(name, name);
    TOwned<TStringList> names(new TStringList);
    names->Add("stale");
    reg->GetValueNames(names.get());
    EXPECT_EQ(Lines(*names), (std::vector<std::string>{"Zeta", "alpha", "Mid"}));
    EXPECT_TRUE(reg->ValueExists("ALPHA"));
    EXPECT_TRUE(reg->DeleteValue("alpha"));
    EXPECT_FALSE(reg->ValueExists("alpha"));
    EXPECT_FALSE(reg->HasSubKeys());
}

TEST_F(Registry, ChangingTheRootClosesTheKey)
{
    TOwned<TRegistry> reg(new TRegistry);
    ASSERT_TRUE(reg->OpenKey("Software", true));
    reg->SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg->CurrentKey(), nullptr);
    ASSERT_TRUE(reg->OpenKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", true));
    reg->WriteString("RegisteredOwner", "Verdi");
    reg.reset(new TRegistry(KEY_READ));
    reg->SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg->OpenKey("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", false));
    EXPECT_EQ(reg->ReadString("RegisteredOwner"), "Verdi");
    reg->SetRootKey(HKEY_CURRENT_USER);
    EXPECT_FALSE(reg->KeyExists("SOFTWARE\\Microsoft"));
}

} // namespace
