#include "obl/core/formats/Oblstreamutils.h"

#include "platform/rtl/Exceptions.h"
#include "platform/win/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

std::uint32_t U32(const Bytes& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

unsigned U16(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }

// A bitmap object of the given depth, painted through a memory context.
class TestBitmap {
public:
    TestBitmap(int width, int height, int bitsPerPixel)
        : handle_(CreateBitmap(width, height, 1, static_cast<UINT>(bitsPerPixel), nullptr))
    {
    }
    ~TestBitmap() { DeleteObject(handle_); }
    TestBitmap(const TestBitmap&) = delete;
    TestBitmap& operator=(const TestBitmap&) = delete;

    void Paint(const std::vector<std::vector<COLORREF>>& rows)
    {
        const HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ old = SelectObject(dc, handle_);
        for (std::size_t y = 0; y < rows.size(); ++y)
            for (std::size_t x = 0; x < rows[y].size(); ++x)
                SetPixel(dc, static_cast<int>(x), static_cast<int>(y), rows[y][x]);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    HBITMAP Handle() const { return handle_; }

private:
    HBITMAP handle_;
};

} // namespace

TEST(DIBImage, ThreeByTwoAtFourBits)
{
    TestBitmap bitmap(3, 2, 24);
    const Bytes image = OBLBuildDIBImage(bitmap.Handle(), nullptr, 16);
    ASSERT_EQ(image.size(), 126u);
    EXPECT_EQ(U16(image, 0), 0x4D42u);     // "BM"
    EXPECT_EQ(U32(image, 2), 126u);        // file size
    EXPECT_EQ(U32(image, 6), 0u);          // reserved
    EXPECT_EQ(U32(image, 10), 118u);       // offset of the rows
    EXPECT_EQ(U32(image, 14), 40u);        // biSize
    EXPECT_EQ(U32(image, 18), 3u);         // biWidth
    EXPECT_EQ(U32(image, 22), 2u);         // biHeight
    EXPECT_EQ(U16(image, 26), 1u);         // biPlanes
    EXPECT_EQ(U16(image, 28), 4u);         // biBitCount
    EXPECT_EQ(U32(image, 30), 0u);         // BI_RGB
    EXPECT_EQ(U32(image, 34), 8u);         // biSizeImage
    for (std::size_t at = 38; at < 54; ++at) EXPECT_EQ(image[at], 0) << at;
}

TEST(DIBImage, DepthAndSizesByCode)
{
    const struct {
        int deviceBits;
        int code;
        unsigned bitCount;
    } cases[] = {
        {24, 0, 24}, {24, 2, 1},  {24, 16, 4}, {24, 256, 8}, {24, -1, 24}, {24, 7, 24}, {24, -5, 24},
        {32, 0, 24}, {16, 0, 24}, {8, 0, 8},   {4, 0, 4},    {1, 0, 1},    {32, 256, 8}, {8, 1000, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "device " << c.deviceBits << " code " << c.code);
        TestBitmap bitmap(5, 3, c.deviceBits);
        const Bytes image = OBLBuildDIBImage(bitmap.Handle(), nullptr, c.code);
        const std::uint32_t palette = c.bitCount == 24 ? 0 : 4u << c.bitCount;
        const std::uint32_t rowSize = ((5 * c.bitCount + 31) / 32) * 4;
        EXPECT_EQ(U16(image, 28), c.bitCount);
        EXPECT_EQ(U32(image, 10), 54 + palette);
        EXPECT_EQ(U32(image, 34), 3 * rowSize);
        EXPECT_EQ(U32(image, 2), 54 + palette + 3 * rowSize);
        EXPECT_EQ(image.size(), 54 + palette + 3 * rowSize);
    }
}

TEST(DIBImage, RowsAreBottomUpAndPadded)
{
    TestBitmap bitmap(2, 2, 24);
    bitmap.Paint({{RGB(255, 0, 0), RGB(0, 255, 0)}, {RGB(0, 0, 255), RGB(1, 2, 3)}});
    const Bytes image = OBLBuildDIBImage(bitmap.Handle(), nullptr, 0);
    ASSERT_EQ(image.size(), 54u + 2 * 8);
    // First stored row is the bottom one: blue, then (1, 2, 3); BGR order, 2 pad bytes.
    EXPECT_EQ(Bytes(image.begin() + 54, image.begin() + 62), (Bytes{255, 0, 0, 3, 2, 1, 0, 0}));
    EXPECT_EQ(Bytes(image.begin() + 62, image.begin() + 70), (Bytes{0, 0, 255, 0, 255, 0, 0, 0}));
}

TEST(DIBImage, MonochromeColourTableAndBits)
{
    TestBitmap bitmap(3, 1, 24);
    bitmap.Paint({{RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)}});
    const Bytes image = OBLBuildDIBImage(bitmap.Handle(), nullptr, 2);
    ASSERT_EQ(image.size(), 14u + 40 + 8 + 4);
    EXPECT_EQ(Bytes(image.begin() + 54, image.begin() + 62), (Bytes{0, 0, 0, 0, 255, 255, 255, 0}));
    EXPECT_EQ(image[62], 0x40); // black, white, black in the top bits
}

TEST(DIBImage, NoBitmapIsNoImage)
{
    try {
        OBLBuildDIBImage(nullptr, nullptr, 0);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Bitmap image is not valid");
    }
}
