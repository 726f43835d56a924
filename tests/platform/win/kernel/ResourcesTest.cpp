#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Modules.h"
#include "platform/win/kernel/Resources.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

const HMODULE kOtherModule = reinterpret_cast<HMODULE>(std::uintptr_t{0x20000000});

class ResourcesTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        RemoveModuleResources(HInstance);
        RemoveModuleResources(kOtherModule);
    }
};

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

// A packed 2 x 2 bitmap, 4 bits per pixel, bottom-up: red green / blue white.
std::vector<BYTE> TinyDib()
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 2;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 4;
    header.biCompression = BI_RGB;
    header.biClrUsed = 4;
    std::vector<BYTE> dib(sizeof header);
    std::memcpy(dib.data(), &header, sizeof header);
    const RGBQUAD colours[4] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {255, 255, 255, 0}};
    const BYTE* c = reinterpret_cast<const BYTE*>(colours);
    for (std::size_t i = 0; i < sizeof colours; ++i)
        dib.push_back(c[i]);
    // Rows are 4 bytes each; the first stored row is the bottom one.
    const BYTE rows[8] = {0x23, 0, 0, 0, 0x01, 0, 0, 0};
    for (BYTE b : rows)
        dib.push_back(b);
    return dib;
}

TEST_F(ResourcesTest, RawDataIsFoundByNameOrNumber)
{
    RegisterResource(nullptr, RT_RCDATA, "TFORM1", Bytes("object Form1: TForm1\r\nend\r\n"));
    RegisterResource(HInstance, RT_RCDATA, MAKEINTRESOURCEA(7), Bytes("seven"));
    HRSRC form = FindResourceA(HInstance, "tform1", RT_RCDATA);
    ASSERT_NE(form, nullptr) << "names match without regard to case";
    EXPECT_EQ(SizeofResource(HInstance, form), 27u);
    HGLOBAL data = LoadResource(HInstance, form);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(LockResource(data)), 6), "object");
    EXPECT_FALSE(FreeResource(data));

    HRSRC seven = FindResourceA(nullptr, MAKEINTRESOURCEA(7), RT_RCDATA);
    ASSERT_NE(seven, nullptr) << "nullptr stands for the program";
    EXPECT_EQ(SizeofResource(nullptr, seven), 5u);
    EXPECT_EQ(FindResourceA(HInstance, "#7", RT_RCDATA), seven) << "\"#7\" names number 7";
}

TEST_F(ResourcesTest, MissingResourcesAndOtherModules)
{
    RegisterResource(kOtherModule, RT_RCDATA, "DATA", Bytes("x"));
    SetLastError(0);
    EXPECT_EQ(FindResourceA(HInstance, "DATA", RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(FindResourceA(kOtherModule, "DATA", RT_BITMAP), nullptr) << "types must match";
    EXPECT_NE(FindResourceA(kOtherModule, "DATA", RT_RCDATA), nullptr);
    EXPECT_EQ(LoadResource(HInstance, reinterpret_cast<HRSRC>(std::uintptr_t{0x1234})), nullptr);
    EXPECT_EQ(SizeofResource(HInstance, nullptr), 0u);
}

TEST_F(ResourcesTest, ReplacingAndEmptyData)
{
    RegisterResource(nullptr, RT_RCDATA, "DATA", Bytes("first"));
    RegisterResource(nullptr, RT_RCDATA, "data", Bytes("second!"));
    HRSRC found = FindResourceA(nullptr, "DATA", RT_RCDATA);
    EXPECT_EQ(SizeofResource(nullptr, found), 7u);
    RegisterResource(nullptr, RT_RCDATA, "EMPTY", {});
    HRSRC empty = FindResourceA(nullptr, "EMPTY", RT_RCDATA);
    EXPECT_NE(LoadResource(nullptr, empty), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, empty), 0u);
}

TEST_F(ResourcesTest, StringsAreCutToTheBuffer)
{
    RegisterStringResource(nullptr, 65447, "Cannot open file %s");
    char buffer[64];
    EXPECT_EQ(LoadStringA(HInstance, 65447, buffer, sizeof buffer), 19);
    EXPECT_STREQ(buffer, "Cannot open file %s");
    EXPECT_EQ(LoadStringA(HInstance, 65447, buffer, 7), 6);
    EXPECT_STREQ(buffer, "Cannot");
    std::strcpy(buffer, "old");
    EXPECT_EQ(LoadStringA(HInstance, 1, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(LoadStringA(HInstance, 65447, buffer, 0), 0);
    EXPECT_EQ(LoadStringA(kOtherModule, 65447, buffer, sizeof buffer), 0);
}

class TMemoryDC {
public:
    explicit TMemoryDC(HBITMAP bitmap) : dc(CreateCompatibleDC(nullptr)), old(SelectObject(dc, bitmap)) {}
    ~TMemoryDC()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    HDC dc;
    HGDIOBJ old;
};

TEST_F(ResourcesTest, BitmapsLoadFromPackedBitmaps)
{
    RegisterResource(nullptr, RT_BITMAP, MAKEINTRESOURCEA(16546), TinyDib());
    HBITMAP bitmap = LoadBitmapA(HInstance, MAKEINTRESOURCEA(16546));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectA(bitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 2);
    EXPECT_EQ(info.bmHeight, 2);
    {
        TMemoryDC canvas(bitmap);
        EXPECT_EQ(GetPixel(canvas.dc, 0, 0), RGB(255, 0, 0));
        EXPECT_EQ(GetPixel(canvas.dc, 1, 0), RGB(0, 255, 0));
        EXPECT_EQ(GetPixel(canvas.dc, 0, 1), RGB(0, 0, 255));
        EXPECT_EQ(GetPixel(canvas.dc, 1, 1), RGB(255, 255, 255));
    }
    DeleteObject(bitmap);
    EXPECT_EQ(LoadBitmapA(HInstance, MAKEINTRESOURCEA(16547)), nullptr);
}

TEST_F(ResourcesTest, MalformedBitmapsAreRefused)
{
    std::vector<BYTE> truncated = TinyDib();
    truncated.resize(truncated.size() - 1);
    std::vector<BYTE> badDepth = TinyDib();
    badDepth[14] = 3;
    std::vector<BYTE> tooManyColours = TinyDib();
    tooManyColours[32] = 17;
    const std::vector<BYTE> cases[] = {truncated, badDepth, tooManyColours, Bytes("BM"), {}};
    for (const std::vector<BYTE>& data : cases) {
        RegisterResource(nullptr, RT_BITMAP, "BAD", data);
        EXPECT_EQ(LoadBitmapA(HInstance, "BAD"), nullptr);
    }
}

TEST_F(ResourcesTest, BitmapFilesLoseTheirFileHeader)
{
    std::vector<BYTE> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<BYTE> dib = TinyDib();
    file.insert(file.end(), dib.begin(), dib.end());
    ASSERT_TRUE(RegisterBitmapFileResource(nullptr, "GLYPH", file));
    EXPECT_EQ(SizeofResource(nullptr, FindResourceA(nullptr, "GLYPH", RT_BITMAP)), dib.size());
    EXPECT_FALSE(RegisterBitmapFileResource(nullptr, "NOTBMP", dib));
}

TEST_F(ResourcesTest, SystemCheckBoxBitmapIsAFourByThreeGrid)
{
    HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECKBOXES));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectA(bitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth / 4, 13);
    EXPECT_EQ(info.bmHeight / 3, 13);
    {
        TMemoryDC canvas(bitmap);
        const COLORREF window = GetSysColor(COLOR_WINDOW), face = GetSysColor(COLOR_3DFACE);
        const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), shadow = GetSysColor(COLOR_3DSHADOW);
        EXPECT_EQ(GetPixel(canvas.dc, 0, 0), shadow) << "sunken edge";
        EXPECT_EQ(GetPixel(canvas.dc, 1, 1), GetSysColor(COLOR_3DDKSHADOW));
        EXPECT_EQ(GetPixel(canvas.dc, 12, 12), GetSysColor(COLOR_3DHILIGHT));
        EXPECT_EQ(GetPixel(canvas.dc, 6, 6), window) << "unchecked: empty inside";
        EXPECT_EQ(GetPixel(canvas.dc, 13 + 6, 7), text) << "checked: a tick";
        EXPECT_EQ(GetPixel(canvas.dc, 26 + 6, 6), face) << "pushed: face-coloured inside";
        EXPECT_EQ(GetPixel(canvas.dc, 13 + 6, 13 + 6), text) << "checked radio: a dot";
        EXPECT_EQ(GetPixel(canvas.dc, 6, 13 + 6), window);
        EXPECT_EQ(GetPixel(canvas.dc, 0, 13), face) << "outside the circle";
    }
    DeleteObject(bitmap);
    EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
}

} // namespace
