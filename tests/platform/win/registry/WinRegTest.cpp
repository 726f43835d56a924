#include "platform/win/registry/WinReg.h"

#include "platform/win/registry/RegistryStore.h"

#include "TempRegistry.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class WinReg : public TempRegistry {
protected:
    HKEY Create(HKEY base, const char* path, REGSAM access = KEY_ALL_ACCESS, DWORD* disposition = nullptr)
    {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyEx(base, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, disposition),
                  ERROR_SUCCESS)
            << path;
        return key;
    }
    LONG Open(HKEY base, const char* path, HKEY& key, REGSAM access = KEY_READ)
    {
        return RegOpenKeyEx(base, path, 0, access, &key);
    }
    static LONG SetString(HKEY key, const char* name, const std::string& value)
    {
        return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    }
    static std::string Query(HKEY key, const char* name, DWORD* type = nullptr)
    {
        DWORD size = 0;
        if (RegQueryValueEx(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return "<missing>";
        std::string data(size, '\0');
        EXPECT_EQ(RegQueryValueEx(key, name, nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size),
                  ERROR_SUCCESS);
        return data;
    }
    static std::vector<std::string> SubKeyNames(HKEY key)
    {
        std::vector<std::string> names;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD length = sizeof name;
            const LONG result = RegEnumKeyEx(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (result == ERROR_NO_MORE_ITEMS) break;
            EXPECT_EQ(result, ERROR_SUCCESS);
            names.emplace_back(name, length);
        }
        return names;
    }
};

TEST_F(WinReg, PredefinedRootsKeepTheirDocumentedValues)
{
    const std::pair<HKEY, std::uintptr_t> roots[] = {
        {HKEY_CLASSES_ROOT, 0x80000000u}, {HKEY_CURRENT_USER, 0x80000001u}, {HKEY_LOCAL_MACHINE, 0x80000002u},
        {HKEY_USERS, 0x80000003u},        {HKEY_CURRENT_CONFIG, 0x80000005u}, {HKEY_DYN_DATA, 0x80000006u},
    };
    for (const auto& [root, value] : roots) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(root), value);
        HKEY key = Create(root, "Software\\Probe");
        EXPECT_EQ(SetString(key, "Root", std::to_string(value)), ERROR_SUCCESS);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
    // Each root is its own tree.
    HKEY key;
    ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, "Software\\Probe", key), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, "Root"), std::to_string(0x80000002u) + std::string(1, '\0'));
    RegCloseKey(key);
    EXPECT_EQ(KEY_READ, 0x20019u);
    EXPECT_EQ(KEY_ALL_ACCESS, 0xF003Fu);
}

TEST_F(WinReg, OpeningAMissingKeyFailsAndCreatesNothing)
{
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software\\Missing\\Deeper", key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software", key), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(SubKeyNames(HKEY_CURRENT_USER).empty());
    EXPECT_FALSE(std::filesystem::exists(fileName_));
}

TEST_F(WinReg, CreateReportsNewOrExistingAndNamesAreCaseInsensitive)
{
    DWORD disposition = 0;
    RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Acme\\Demo", KEY_ALL_ACCESS, &disposition));
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    HKEY key = Create(HKEY_CURRENT_USER, "SOFTWARE\\acme\\DEMO\\", KEY_ALL_ACCESS, &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(SetString(key, "Title", "Demo"), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, "TITLE"), std::string("Demo", 5));
    RegCloseKey(key);
    // The spelling of the first creation is kept.
    HKEY software;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, "software", software), ERROR_SUCCESS);
    EXPECT_EQ(SubKeyNames(software), std::vector<std::string>{"Acme"});
    RegCloseKey(software);
}

TEST_F(WinReg, BadPathsAreRefused)
{
    const char* paths[] = {"\\Software", "Software\\\\Acme", "Software\\\\"};
    for (const char* path : paths) {
        HKEY key;
        EXPECT_EQ(Open(HKEY_CURRENT_USER, path, key), ERROR_BAD_PATHNAME) << path;
        EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_BAD_PATHNAME)
            << path;
    }
}

TEST_F(WinReg, ValuesKeepTypeAndEveryByte)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Bytes");
    const std::string binary("\0\x01\xFF\r\n%\x7F ", 8);
    const DWORD number = 0x12345678;
    ASSERT_EQ(RegSetValueEx(key, "Blob", 0, REG_BINARY, reinterpret_cast<const BYTE*>(binary.data()), 8),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, "na me\xE8%\t", "caff\xE8"), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, nullptr, 0, REG_SZ, nullptr, 0), ERROR_SUCCESS);
    RegCloseKey(key);
    Reload();
    ASSERT_EQ(Open(HKEY_CURRENT_USER, "Software\\Bytes", key), ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(Query(key, "Blob", &type), binary);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(Query(key, "Count", &type), std::string("\x78\x56\x34\x12", 4));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(Query(key, "NA ME\xE8%\t", &type), std::string("caff\xE8", 6));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(Query(key, ""), "");
    EXPECT_EQ(Query(key, "Other"), "<missing>");
    RegCloseKey(key);
}

TEST_F(WinReg, QueryBufferRules)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Sizes");
    ASSERT_EQ(SetString(key, "Name", "abcdef"), ERROR_SUCCESS);
    BYTE small[3];
    DWORD size = sizeof small;
    DWORD type = REG_NONE;
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, small, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueEx(key, "Nope", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(WinReg, ReadAccessCannotWriteOrCreate)
{
    RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Locked"));
    HKEY key;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, "Software\\Locked", key, KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, "A", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValue(key, "A"), ERROR_ACCESS_DENIED);
    HKEY sub;
    EXPECT_EQ(RegCreateKeyEx(key, "Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    ASSERT_EQ(Open(HKEY_CURRENT_USER, "Software\\Locked", key, KEY_SET_VALUE), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "A", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(WinReg, EnumerationOrderAndInfo)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\List");
    for (const char* name : {"beta", "Alpha", "gamma", "ALPHA2"}) RegCloseKey(Create(key, name));
    for (const char* name : {"z", "longest", "a"}) ASSERT_EQ(SetString(key, name, name), ERROR_SUCCESS);
    EXPECT_EQ(SubKeyNames(key), (std::vector<std::string>{"Alpha", "ALPHA2", "beta", "gamma"}));
    std::vector<std::string> values;
    for (DWORD i = 0;; ++i) {
        char name[32];
        DWORD length = sizeof name;
        if (RegEnumValue(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        values.emplace_back(name, length);
    }
    EXPECT_EQ(values, (std::vector<std::string>{"z", "longest", "a"}));
    char tiny[4];
    DWORD length = sizeof tiny;
    EXPECT_EQ(RegEnumValue(key, 1, tiny, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    DWORD subKeys = 0, maxSubKey = 0, valueCount = 0, maxName = 0, maxData = 0;
    ASSERT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &valueCount, &maxName,
                              &maxData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 4u);
    EXPECT_EQ(maxSubKey, 6u);
    EXPECT_EQ(valueCount, 3u);
    EXPECT_EQ(maxName, 7u);
    EXPECT_EQ(maxData, 8u);
    RegCloseKey(key);
}

TEST_F(WinReg, DeleteKeyRefusesKeysWithSubkeysAndInvalidatesHandles)
{
    HKEY parent = Create(HKEY_CURRENT_USER, "Software\\Tree");
    HKEY child = Create(parent, "Child\\Grandchild");
    EXPECT_EQ(RegDeleteKey(parent, "Child"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(parent, ""), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegDeleteKey(parent, "Nothing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKey(parent, "CHILD\\grandchild"), ERROR_SUCCESS);
    EXPECT_EQ(SetString(child, "Late", "x"), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(child), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegDeleteKey(parent, "Child"), ERROR_SUCCESS);
    EXPECT_TRUE(SubKeyNames(parent).empty());
    RegCloseKey(parent);
}

TEST_F(WinReg, DeleteValue)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Values");
    ASSERT_EQ(SetString(key, "A", "1"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(key, "a"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(key, "a"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Query(key, "A"), "<missing>");
    RegCloseKey(key);
}

TEST_F(WinReg, ChangesPersistAcrossStores)
{
    HKEY key = Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    ASSERT_EQ(SetString(key, "RegisteredOwner", "Rossi"), ERROR_SUCCESS);
    RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Empty Key"));
    Reload();
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, "software\\microsoft\\windows nt\\currentversion", key), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, "RegisteredOwner"), std::string("Rossi", 6));
    RegCloseKey(key);
    EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software\\Empty Key", key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(RegistryFileName(), fileName_);
}

TEST_F(WinReg, ChangesSavedByAnotherProcessAreSeen)
{
    HKEY shop = Create(HKEY_CURRENT_USER, "Software\\Shop");
    HKEY doomed = Create(HKEY_CURRENT_USER, "Software\\Doomed");
    ASSERT_EQ(SetString(shop, "Mine", "1"), ERROR_SUCCESS);
    {
        // The other process: its own store on the same file.
        RegistryStore other(fileName_);
        auto software = other.Root(1)->FindSubKey("Software");
        ASSERT_NE(software, nullptr);
        software->FindSubKey("Shop")->SetValue("Theirs", REG_SZ, std::string("2", 2));
        software->RemoveSubKey("Doomed");
        other.MarkChanged();
        ASSERT_TRUE(other.Save());
    }
    EXPECT_EQ(Query(shop, "Theirs"), std::string("2", 2));
    EXPECT_EQ(Query(shop, "Mine"), std::string("1", 2));
    EXPECT_EQ(SetString(doomed, "Late", "x"), ERROR_KEY_DELETED);
    ASSERT_EQ(SetString(shop, "Mine", "3"), ERROR_SUCCESS);
    RegCloseKey(shop);
    RegCloseKey(doomed);
    Reload();
    ASSERT_EQ(Open(HKEY_CURRENT_USER, "Software\\Shop", shop), ERROR_SUCCESS);
    EXPECT_EQ(Query(shop, "Theirs"), std::string("2", 2));
    EXPECT_EQ(Query(shop, "Mine"), std::string("3", 2));
    RegCloseKey(shop);
}

TEST_F(WinReg, UnwritableFileIsReported)
{
    std::filesystem::create_directory(fileName_);  // a folder where the file should be
    HKEY key;
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_CANTWRITE);
    EXPECT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_CANTWRITE);
    std::filesystem::remove(fileName_);
    EXPECT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    Reload();
    EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software\\X", key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(WinReg, AFileThatDoesNotReadWholeIsRefusedAndNeverOverwritten)
{
    using namespace std::string_literals;
    const std::string files[] = {
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n",
        // A value with a bad hex digit: writing any other value would drop it for good.
        "VENDARO-REGISTRY 1\nK HKEY_CURRENT_USER\nV 00000001 4G00 Lost\nV 00000001 4100 Kept\n",
        // NUL in a key or value name: "A\0B" would open "A", "Caption\0" change "Caption".
        "VENDARO-REGISTRY 1\nK HKEY_CURRENT_USER\\A%00B\nK HKEY_CURRENT_USER\\A\n",
        "VENDARO-REGISTRY 1\nK HKEY_CURRENT_USER\nV 00000001 4100 Caption\0\n"s,
    };
    for (const auto& file : files) {
        {
            std::ofstream out(fileName_, std::ios::binary);
            out << file;
        }
        Reload();
        HKEY key = nullptr;
        EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software", key), ERROR_BADDB) << file;
        EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                 nullptr),
                  ERROR_BADDB);
        EXPECT_EQ(SetString(HKEY_CURRENT_USER, "Name", "x"), ERROR_BADDB);
        EXPECT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_BADDB);
        std::ifstream in(fileName_, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), file);
        RegistryStore store(fileName_);
        EXPECT_TRUE(store.Refused());
        store.MarkChanged();
        EXPECT_FALSE(store.Save());
    }
}

TEST_F(WinReg, AFileWithAByteOrderMarkIsRead)
{
    {
        std::ofstream out(fileName_, std::ios::binary);
        out << "\xEF\xBB\xBFVENDARO-REGISTRY 1\r\nK HKEY_CURRENT_USER\\Software\\Shop\r\nV 00000001 4100 Name\r\n";
    }
    Reload();
    HKEY key = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, "Software\\Shop", key), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, "Name"), std::string("A", 2));
    RegCloseKey(key);
}

TEST_F(WinReg, InvalidHandles)
{
    HKEY key;
    const HKEY bogus[] = {nullptr, reinterpret_cast<HKEY>(0x1234), reinterpret_cast<HKEY>(0x80000007u)};
    for (HKEY handle : bogus) {
        EXPECT_EQ(Open(handle, "x", key), ERROR_INVALID_HANDLE);
        EXPECT_EQ(SetString(handle, "x", "y"), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegCloseKey(handle), ERROR_INVALID_HANDLE);
    }
}

} // namespace
