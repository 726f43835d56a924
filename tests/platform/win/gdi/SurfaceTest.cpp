#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/Surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

namespace {

std::uint32_t BigEndian(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (b[at] << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

} // namespace

TEST(Surface, PixelsAreBgrxRowsTopDown) {
    Surface s(3, 2, 0x112233);
    EXPECT_EQ(12, s.Stride());
    s.SetPixel(2, 1, 0xAABBCC);
    const std::uint8_t* last = s.Bits() + 1 * s.Stride() + 2 * 4;
    EXPECT_EQ(0xCC, last[0]);  // blue first
    EXPECT_EQ(0xBB, last[1]);
    EXPECT_EQ(0xAA, last[2]);
    EXPECT_EQ(0x112233u, s.Pixel(0, 0));
    EXPECT_EQ(0u, s.Pixel(3, 0));
    s.SetPixel(-1, 0, 0xFFFFFF);  // outside: ignored
    s.Resize(4, 1, 0x00FF00);
    EXPECT_EQ(0x112233u, s.Pixel(0, 0));
    EXPECT_EQ(0x00FF00u, s.Pixel(3, 0));
    EXPECT_EQ(1, s.Height());
}

TEST(Surface, PngHasValidChunksAndStoredPixelRows) {
    Surface s(2, 1);
    s.SetPixel(0, 0, 0xFF0000);
    s.SetPixel(1, 0, 0x0000FF);
    const std::vector<std::uint8_t> png = EncodeSurfacePng(s);
    const std::vector<std::uint8_t> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_GT(png.size(), 8u);
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
    EXPECT_EQ(13u, BigEndian(png, 8));
    EXPECT_EQ(2u, BigEndian(png, 16));  // width
    EXPECT_EQ(1u, BigEndian(png, 20));  // height
    EXPECT_EQ(8, png[24]);              // bit depth
    EXPECT_EQ(2, png[25]);              // RGB
    // IDAT: zlib header, one final stored block of 7 bytes: filter 0, red, blue.
    const std::size_t idat = 8 + 12 + 13;
    EXPECT_EQ(2u + 5u + 7u + 4u, BigEndian(png, idat));
    const std::size_t data = idat + 8;
    EXPECT_EQ(0x78, png[data]);
    EXPECT_EQ(1, png[data + 2]);
    EXPECT_EQ(7, png[data + 3]);
    EXPECT_EQ(0xF8, png[data + 5]);
    const std::vector<std::uint8_t> row(png.begin() + data + 7, png.begin() + data + 14);
    EXPECT_EQ((std::vector<std::uint8_t>{0, 255, 0, 0, 0, 0, 255}), row);
    // The IEND chunk's CRC is the well-known constant AE 42 60 82.
    EXPECT_EQ(0xAE426082u, BigEndian(png, png.size() - 4));
}

TEST(Surface, SavePngWritesFileAndReportsFailure) {
    Surface s(1, 1);
    const std::string path = testing::TempDir() + "surface_test.png";
    ASSERT_TRUE(SaveSurfacePng(s, path));
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    EXPECT_EQ(static_cast<std::streamoff>(EncodeSurfacePng(s).size()), static_cast<std::streamoff>(in.tellg()));
    std::remove(path.c_str());
    EXPECT_FALSE(SaveSurfacePng(s, "/nonexistent-folder/x.png"));
}

TEST(SurfaceDC, SystemClipAndApplicationClipIntersect) {
    Surface s(40, 30);
    HRGN system = CreateRectRgn(0, 0, 20, 10);
    HDC dc = GdiCreateSurfaceDC(&s, POINT{5, 5}, system);
    DeleteObject(system);  // the DC keeps its own copy
    ASSERT_NE(nullptr, dc);
    RECT box;
    EXPECT_EQ(SIMPLEREGION, GetClipBox(dc, &box));
    EXPECT_EQ((std::vector<LONG>{0, 0, 20, 10}), (std::vector<LONG>{box.left, box.top, box.right, box.bottom}));
    HRGN app = CreateRectRgn(10, 5, 30, 30);
    SelectClipRgn(dc, app);
    GetClipBox(dc, &box);
    EXPECT_EQ((std::vector<LONG>{10, 5, 20, 10}), (std::vector<LONG>{box.left, box.top, box.right, box.bottom}));
    EXPECT_TRUE(PtVisible(dc, 10, 5));
    EXPECT_FALSE(PtVisible(dc, 20, 5));
    SelectClipRgn(dc, nullptr);
    GetClipBox(dc, &box);
    EXPECT_EQ(20, box.right);
    // Moving the DC and dropping the system clip: the surface bounds remain.
    EXPECT_TRUE(GdiSetSurfaceDCSystemClip(dc, POINT{30, 20}, nullptr));
    GetClipBox(dc, &box);
    EXPECT_EQ((std::vector<LONG>{-30, -20, 10, 10}), (std::vector<LONG>{box.left, box.top, box.right, box.bottom}));
    DeleteObject(app);
    GdiDeleteSurfaceDC(dc);
    EXPECT_EQ(0u, GetObjectType(dc));
}

TEST(SurfaceDC, DrawingLandsAtTheDeviceOriginInsideTheSystemClip) {
    Surface s(10, 4, 0xFFFFFF);
    HRGN system = CreateRectRgn(0, 0, 3, 2);
    HDC dc = GdiCreateSurfaceDC(&s, POINT{4, 1}, system);
    DeleteObject(system);
    RECT all{-10, -10, 50, 50};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    std::string rows;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 10; ++x)
            rows += s.Pixel(x, y) == 0 ? '#' : '.';
        rows += '\n';
    }
    EXPECT_EQ("..........\n....###...\n....###...\n..........\n", rows);
    EXPECT_EQ(0u, GetPixel(dc, 0, 0));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 3, 0));
    GdiDeleteSurfaceDC(dc);
}

TEST(SurfaceDC, FillsLandWhereEveryClipLetsThemAndNowhereElse) {
    // Strips a few columns wide across band-rich clips, as a caption's gradient is filled,
    // and boxes over the surface's and the clips' edges.
    constexpr int kWidth = 26, kHeight = 18;
    const POINT origin{3, 2};
    Surface s(kWidth, kHeight, 0xFFFFFF);
    HRGN system = CreateRectRgn(-2, -1, 18, 12);
    HRGN hole = CreateRectRgn(4, 3, 9, 6);
    HRGN extra = CreateRectRgn(12, 10, 30, 20);
    CombineRgn(system, system, hole, RGN_DIFF);
    CombineRgn(system, system, extra, RGN_OR);
    HRGN app = CreateEllipticRgn(-4, -3, 22, 15);
    HDC dc = GdiCreateSurfaceDC(&s, origin, system);
    SelectClipRgn(dc, app);
    std::vector<std::uint32_t> expected(kWidth * kHeight, 0xFFFFFF);
    auto fill = [&](const RECT& r, COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        for (int y = std::max<int>(r.top + origin.y, 0); y < std::min<int>(r.bottom + origin.y, kHeight); ++y)
            for (int x = std::max<int>(r.left + origin.x, 0); x < std::min<int>(r.right + origin.x, kWidth); ++x)
                if (PtInRegion(system, x - origin.x, y - origin.y) && PtInRegion(app, x - origin.x, y - origin.y))
                    expected[static_cast<std::size_t>(y) * kWidth + x] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    };
    for (int x = -5, step = 1; x < kWidth; x += step, step = step % 3 + 1)
        fill(RECT{x, -4, x + step, 7}, RGB(10 * (x + 5), 40, 200));
    fill(RECT{-6, 5, 40, 9}, RGB(0, 128, 0));
    fill(RECT{10, -3, 15, 30}, RGB(128, 0, 0));
    fill(RECT{5, 4, 8, 5}, RGB(0, 0, 0));  // inside the hole
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(expected[static_cast<std::size_t>(y) * kWidth + x], s.Pixel(x, y) & 0xFFFFFF) << x << "," << y;
    GdiDeleteSurfaceDC(dc);
    for (HRGN r : {system, hole, extra, app})
        DeleteObject(r);
}

namespace {

// Memory as a display would hand it out, counting what was asked of it.
class CountedMemory final : public SurfaceMemory {
public:
    explicit CountedMemory(std::size_t pixels) : pixels_(pixels, 0) {}
    std::uint32_t* Pixels() override { return pixels_.data(); }
    const std::vector<std::uint32_t>& Held() const { return pixels_; }

private:
    std::vector<std::uint32_t> pixels_;
};

struct CountingSource {
    std::vector<std::pair<int, int>> sizes;
    std::vector<std::shared_ptr<CountedMemory>> handed;
    bool refuse = false;
    SurfaceMemorySource Source() {
        return [this](int w, int h) -> std::shared_ptr<SurfaceMemory> {
            sizes.emplace_back(w, h);
            if (refuse)
                return nullptr;
            handed.push_back(std::make_shared<CountedMemory>(static_cast<std::size_t>(w) * h));
            return handed.back();
        };
    }
};

} // namespace

TEST(Surface, PixelsLiveInTheMemoryTheSourceHandsOut) {
    CountingSource memory;
    Surface s(3, 2, 0x445566);
    s.SetMemorySource(memory.Source());
    EXPECT_TRUE(memory.sizes.empty()) << "nothing is asked for before the pixels are made";
    s.SetPixel(1, 1, 0xABCDEF);
    ASSERT_EQ(1u, memory.handed.size());
    EXPECT_EQ(memory.handed[0].get(), s.Memory());
    EXPECT_EQ((std::vector<std::uint32_t>{0x445566, 0x445566, 0x445566, 0x445566, 0xABCDEF, 0x445566}),
              memory.handed[0]->Held());
    EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(memory.handed[0]->Held().data()), std::as_const(s).Bits());

    // A new size takes new memory, with the kept area and the new fill.
    s.Resize(4, 1, 0x000011);
    ASSERT_EQ(2u, memory.handed.size());
    EXPECT_EQ((std::vector<std::pair<int, int>>{{3, 2}, {4, 1}}), memory.sizes);
    EXPECT_EQ((std::vector<std::uint32_t>{0x445566, 0x445566, 0x445566, 0x000011}), memory.handed[1]->Held());
    EXPECT_EQ(1, memory.handed[0].use_count()) << "the old memory is let go";

    // A copy keeps its pixels in memory of its own; filling writes the memory.
    const Surface copy = s;
    EXPECT_EQ(nullptr, copy.Memory());
    EXPECT_EQ(0x000011u, copy.Pixel(3, 0));
    s.Fill(0x222222);
    EXPECT_EQ((std::vector<std::uint32_t>(4, 0x222222)), memory.handed[1]->Held());
    EXPECT_EQ(0x445566u, copy.Pixel(0, 0));

    // Moved, the memory goes along; the surface left behind is empty.
    Surface moved = std::move(s);
    EXPECT_EQ(memory.handed[1].get(), moved.Memory());
    EXPECT_EQ(0x222222u, moved.Pixel(2, 0));
    EXPECT_EQ(0, s.Width());
    EXPECT_EQ(nullptr, s.Memory());
}

TEST(Surface, PixelsAlreadyMadeMoveToTheSourcesMemory) {
    CountingSource memory;
    Surface s(2, 2, 0x010203);
    s.SetPixel(0, 1, 0x0000FF);
    s.SetMemorySource(memory.Source());
    ASSERT_EQ(1u, memory.handed.size());
    EXPECT_EQ(memory.handed[0].get(), s.Memory());
    EXPECT_EQ((std::vector<std::uint32_t>{0x010203, 0x010203, 0x0000FF, 0x010203}), memory.handed[0]->Held());
}

TEST(Surface, ANewSizeAndFillBeforeAnyDrawingAsksOnlyForTheNewMemory) {
    CountingSource memory;
    Surface s(3, 2, 0x101010);
    s.SetMemorySource(memory.Source());
    s.Resize(2, 3, 0x202020);
    EXPECT_EQ(0x101010u, s.Pixel(1, 1));
    EXPECT_EQ(0x202020u, s.Pixel(1, 2));
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 3}}), memory.sizes);
}

TEST(Surface, ASourceThatAnswersNullLeavesThePixelsInTheSurface) {
    CountingSource memory;
    memory.refuse = true;
    Surface s(2, 1, 0x00FF00);
    s.SetMemorySource(memory.Source());
    s.SetPixel(1, 0, 0xFF0000);
    EXPECT_EQ(1u, memory.sizes.size());
    EXPECT_EQ(nullptr, s.Memory());
    EXPECT_EQ(0x00FF00u, s.Pixel(0, 0));
    EXPECT_EQ(0xFF0000u, s.Pixel(1, 0));
}
