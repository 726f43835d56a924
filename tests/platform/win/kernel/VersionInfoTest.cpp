#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/VersionInfo.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class VersionInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TVersionInfo info;
        info.fileVersion = {5, 0, 3, 120};
        info.productVersion = {5, 0, 0, 0};
        info.translations = {{0x0410, 1252}, {0x0409, 1252}};
        info.strings = {{0x0410, 1252, "CompanyName", "Vendaro S.r.l."},
                        {0x0410, 1252, "ProductName", "Vendaro"},
                        {0x0409, 1252, "CompanyName", "Vendaro Ltd"},
                        {0x0410, 1252, "Comments", ""}};
        RegisterVersionInfo("IMPORTA.EXE", info);
        DWORD handle = 99;
        size = GetFileVersionInfoSizeA("C:\\Vendaro\\importa.exe", &handle);
        EXPECT_EQ(handle, 0u);
        block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA("C:\\Vendaro\\importa.exe", 0, size, block.data()));
    }
    void TearDown() override { UnregisterVersionInfo("IMPORTA.EXE"); }

    std::string Text(const char* path)
    {
        LPVOID value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(block.data(), path, &value, &length))
            return "<none>";
        EXPECT_EQ(length, std::char_traits<char>::length(static_cast<const char*>(value)) + 1);
        return static_cast<const char*>(value);
    }

    DWORD size = 0;
    std::vector<BYTE> block;
};

TEST_F(VersionInfoTest, FixedRecordFromTheRoot)
{
    ASSERT_GT(size, sizeof(VS_FIXEDFILEINFO));
    for (const char* root : {"\\", "\\\\", ""}) {
        LPVOID value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(block.data(), root, &value, &length)) << root;
        EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
        EXPECT_EQ(fixed->dwFileVersionMS, 0x00050000u);
        EXPECT_EQ(fixed->dwFileVersionLS, 0x00030078u);
        EXPECT_EQ(fixed->dwProductVersionMS, 0x00050000u);
    }
}

TEST_F(VersionInfoTest, TranslationsInOrder)
{
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\\\VarFileInfo\\\\Translation", &value, &length));
    ASSERT_EQ(length, 8u);
    const auto* pairs = static_cast<const WORD*>(value);
    EXPECT_EQ(pairs[0], 0x0410);
    EXPECT_EQ(pairs[1], 1252);
    EXPECT_EQ(pairs[2], 0x0409);
}

TEST_F(VersionInfoTest, StringsByLanguagePathAndName)
{
    const struct { const char* path; const char* value; } cases[] = {
        {"\\StringFileInfo\\041004E4\\CompanyName", "Vendaro S.r.l."},
        {"\\\\StringFileInfo\\\\041004E4\\\\CompanyName", "Vendaro S.r.l."},
        {"\\stringfileinfo\\041004e4\\companyname", "Vendaro S.r.l."},
        {"\\StringFileInfo\\040904E4\\CompanyName", "Vendaro Ltd"},
        {"\\StringFileInfo\\041004E4\\ProductName", "Vendaro"},
        {"\\StringFileInfo\\041004E4\\Comments", ""},
        {"\\StringFileInfo\\040904E4\\ProductName", "<none>"},
        {"\\StringFileInfo\\041004E4\\LegalTrademark", "<none>"},
        {"\\StringFileInfo\\041004E4", "<none>"},
        {"\\VarFileInfo", "<none>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(c.path), c.value) << c.path;
}

TEST_F(VersionInfoTest, CutBlocksAnswerOnlyWhatTheyHold)
{
    std::vector<BYTE> cut(size - 4);
    ASSERT_TRUE(GetFileVersionInfoA("IMPORTA.EXE", 0, static_cast<DWORD>(cut.size()), cut.data()));
    LPVOID value = nullptr;
    UINT length = 0;
    EXPECT_TRUE(VerQueryValueA(cut.data(), "\\", &value, &length));
    EXPECT_FALSE(VerQueryValueA(cut.data(), "\\StringFileInfo\\041004E4\\Comments", &value, &length));
    EXPECT_TRUE(VerQueryValueA(cut.data(), "\\StringFileInfo\\041004E4\\CompanyName", &value, &length));
    std::vector<BYTE> tiny(16);
    EXPECT_FALSE(GetFileVersionInfoA("IMPORTA.EXE", 0, 16, tiny.data()));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    const BYTE garbage[64] = {};
    EXPECT_FALSE(VerQueryValueA(garbage, "\\", &value, &length));
}

TEST_F(VersionInfoTest, FilesWithoutVersion)
{
    DWORD handle = 0;
    SetLastError(0);
    EXPECT_EQ(GetFileVersionInfoSizeA("UPGRADE.EXE", &handle), 0u);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    BYTE buffer[256];
    EXPECT_FALSE(GetFileVersionInfoA("UPGRADE.EXE", 0, sizeof buffer, buffer));
}

} // namespace
