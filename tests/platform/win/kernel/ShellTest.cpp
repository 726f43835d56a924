#include "platform/rtl/FileSystem.h"
#include "platform/win/kernel/Com.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Folders.h"
#include "platform/win/kernel/Shell.h"

#include "KernelTestSupport.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> opened;
bool openerAnswer = true;

bool FakeOpener(const AnsiString& address)
{
    opened.push_back(address.str());
    return openerAnswer;
}

class ShellExecuteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        opened.clear();
        openerAnswer = true;
        ClearShellExecuteLog();
        SetShellOpener(&FakeOpener);
    }
    void TearDown() override { SetShellOpener(nullptr); }
};

TEST_F(ShellExecuteTest, OnlyMailAndWebAddressesAreHandedOn)
{
    const struct { const char* file; std::uintptr_t result; bool handed; } cases[] = {
        {"mailto:info@vendaro.it?subject=Ciao", 42, true},
        {"MAILTO:x@y.z", 42, true},
        {"http://www.vendaro.it", 42, true},
        {"https://www.vendaro.it", 42, true},
        {"C:\\WINDOWS\\notepad.exe", SE_ERR_NOASSOC, false},
        {"ftp://host", SE_ERR_NOASSOC, false},
        {"-mailto:x", SE_ERR_NOASSOC, false},
        {"", SE_ERR_NOASSOC, false},
    };
    for (const auto& c : cases) {
        opened.clear();
        HINSTANCE result = ShellExecuteA(nullptr, nullptr, c.file, nullptr, nullptr, 1);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(result), c.result) << c.file;
        EXPECT_EQ(opened.size(), c.handed ? 1u : 0u) << c.file;
        if (c.handed) {
            EXPECT_EQ(opened[0], c.file);
        }
    }
    ASSERT_EQ(ShellExecuteLog().size(), std::size(cases));
    EXPECT_EQ(ShellExecuteLog()[0].file, "mailto:info@vendaro.it?subject=Ciao");
    EXPECT_EQ(ShellExecuteLog()[0].show, 1);
    EXPECT_TRUE(ShellExecuteLog()[0].opened);
    EXPECT_FALSE(ShellExecuteLog()[4].opened);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(ShellExecuteA(nullptr, "open", nullptr, nullptr, nullptr, 1)), SE_ERR_NOASSOC);
}

TEST_F(ShellExecuteTest, AnOpenerThatFailsReportsFileNotFound)
{
    openerAnswer = false;
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(ShellExecuteA(nullptr, nullptr, "http://x", nullptr, nullptr, 1)), SE_ERR_FNF);
    EXPECT_FALSE(ShellExecuteLog().back().opened);
}

class ShellFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FileSystem::SetDriveRoot('D', folder.Path());
        std::filesystem::create_directories(folder.Path() + "/Dati");
        std::ofstream(folder.Path() + "/Dati/clienti.db") << "x";
    }
    void TearDown() override { FileSystem::Reset(); }
    TTempFolder folder;
};

TEST_F(ShellFoldersTest, SpecialFolders)
{
    LPITEMIDLIST list = reinterpret_cast<LPITEMIDLIST>(std::uintptr_t{1});
    EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, 0xFEFE, &list), E_INVALIDARG);
    EXPECT_EQ(list, nullptr);

    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_WINDOWS, &list), S_OK);
    char path[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDListA(list, path));
    EXPECT_EQ(AnsiString(path), FileSystem::WindowsFolder());
    CoTaskMemFree(list);

    SetSpecialFolderPath(CSIDL_PERSONAL, "D:\\Dati");
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &list), S_OK);
    ASSERT_TRUE(SHGetPathFromIDListA(list, path));
    EXPECT_STREQ(path, "D:\\Dati");
    ILFree(list);

    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list), S_OK);
    int csidl = -1;
    EXPECT_TRUE(ILIsVirtualFolder(list, &csidl));
    EXPECT_EQ(csidl, CSIDL_DRIVES);
    std::strcpy(path, "old");
    EXPECT_FALSE(SHGetPathFromIDListA(list, path)) << "My Computer has no path";
    EXPECT_STREQ(path, "");
    ILFree(list);

    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &list), S_OK);
    EXPECT_EQ(ILGetSize(list), 2u) << "the desktop is the empty list";
    EXPECT_TRUE(SHGetPathFromIDListA(list, path));
    EXPECT_EQ(AnsiString(path), SpecialFolderPath(CSIDL_DESKTOPDIRECTORY));
    ILFree(list);
    EXPECT_FALSE(SHGetPathFromIDListA(nullptr, path));
}

TEST_F(ShellFoldersTest, DesktopFolderParsesExistingPaths)
{
    IShellFolder* desktop = nullptr;
    ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);
    std::u16string name = u"D:\\Dati";
    LPITEMIDLIST list = nullptr;
    ULONG eaten = 0, attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM | 1;
    ASSERT_EQ(desktop->ParseDisplayName(nullptr, nullptr, name.data(), &eaten, &list, &attributes), S_OK);
    EXPECT_EQ(eaten, 7u);
    EXPECT_EQ(attributes, SFGAO_FOLDER | SFGAO_FILESYSTEM);
    char path[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDListA(list, path));
    EXPECT_STREQ(path, "D:\\Dati");
    EXPECT_EQ(ILGetSize(list), 2u + 1u + 8u + 2u);
    CoTaskMemFree(list);

    for (std::u16string bad : {std::u16string(u"D:\\Missing"), std::u16string(u"Dati"), std::u16string(u"D:\\\u4E2D")}) {
        list = reinterpret_cast<LPITEMIDLIST>(std::uintptr_t{1});
        EXPECT_TRUE(FAILED(desktop->ParseDisplayName(nullptr, nullptr, bad.data(), nullptr, &list, nullptr)));
        EXPECT_EQ(list, nullptr);
    }
    void* same = nullptr;
    EXPECT_EQ(desktop->QueryInterface(IID_IShellFolder, &same), S_OK);
    EXPECT_EQ(same, desktop);
    static_cast<IShellFolder*>(same)->Release();
    desktop->Release();
}

TEST_F(ShellFoldersTest, FileInformation)
{
    SHFILEINFOA info{};
    EXPECT_EQ(SHGetFileInfoA("D:\\Dati\\clienti.db", 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES), 1u);
    EXPECT_STREQ(info.szDisplayName, "clienti.db");
    EXPECT_EQ(info.dwAttributes, SFGAO_FILESYSTEM);
    EXPECT_EQ(SHGetFileInfoA("D:\\Dati\\", 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES), 1u);
    EXPECT_STREQ(info.szDisplayName, "Dati");
    EXPECT_EQ(info.dwAttributes, SFGAO_FOLDER | SFGAO_FILESYSTEM);
    EXPECT_EQ(SHGetFileInfoA("D:\\Nothing", 0, &info, sizeof info, SHGFI_DISPLAYNAME), 0u);
    EXPECT_EQ(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON), 0u)
        << "there is no system image list";
    EXPECT_EQ(SHGetFileInfoA("D:\\Dati", 0, &info, sizeof info - 1, SHGFI_DISPLAYNAME), 0u);
}

TEST(ComTest, TaskAllocatorAndShellMalloc)
{
    IMalloc* allocator = nullptr;
    ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
    void* block = allocator->Alloc(10);
    ASSERT_NE(block, nullptr);
    std::memset(block, 7, 10);
    EXPECT_EQ(allocator->GetSize(block), 10u);
    EXPECT_EQ(allocator->DidAlloc(block), 1);
    block = allocator->Realloc(block, 100);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(static_cast<BYTE*>(block)[9], 7);
    EXPECT_EQ(allocator->GetSize(block), 100u);
    CoTaskMemFree(block); // the same heap as the allocator's
    CoTaskMemFree(nullptr);
    EXPECT_EQ(allocator->DidAlloc(nullptr), -1);
    void* unknown = nullptr;
    EXPECT_EQ(allocator->QueryInterface(IID_IShellFolder, &unknown), E_NOINTERFACE);
    EXPECT_EQ(allocator->QueryInterface(IID_IMalloc, &unknown), S_OK);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), static_cast<HRESULT>(0x80070002));
    EXPECT_EQ(HRESULT_FROM_WIN32(0), S_OK);
}

} // namespace
