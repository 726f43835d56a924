#include "GdiFixture.h"

#include "platform/win/gdi/PixelBuffer.h"

#include <chrono>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

TEST(Robustness, HugeCoordinatesDrawOnlyTheVisiblePart) {
    Canvas c(8, 8);
    MoveToEx(c.dc(), INT_MIN / 2, 3, nullptr);
    LineTo(c.dc(), INT_MAX / 2, 3);
    EXPECT_EQ("########", c.Picture()[3]);
    Selected pen(c.dc(), CreatePen(PS_DOT, 1, kBlack));
    MoveToEx(c.dc(), -1000000001, 5, nullptr);  // the dots keep their phase across the clipped part
    LineTo(c.dc(), 8, 5);
    // Step k = x + 1000000001 is on when k mod 6 < 3; x = 0 has k mod 6 = 5.
    EXPECT_EQ(".###...#", c.Picture()[5]);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    Ellipse(c.dc(), -1000000000, -1000000000, 1000000000, 1000000000);
    EXPECT_EQ(kRed, GetPixel(c.dc(), 4, 4));
    const POINT tri[] = {{-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}};
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    Polygon(c.dc(), tri, 3);
    EXPECT_EQ(kBlack, GetPixel(c.dc(), 4, 4));
    Pie(c.dc(), -1000000000, -1000000000, 1000000000, 1000000000, 1, 0, 0, -1);
    RoundRect(c.dc(), INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2, 100000, 100000);
}

TEST(Robustness, OversizedBitmapsAreRefused) {
    EXPECT_EQ(nullptr, CreateBitmap(100000, 100000, 1, 32, nullptr));
    HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    EXPECT_EQ(nullptr, CreateCompatibleBitmap(screen, 70000, 70000));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 60000, 60000, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(nullptr, CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    EXPECT_EQ(nullptr, bits);
    info.bmiHeader.biBitCount = 7;
    info.bmiHeader.biWidth = info.bmiHeader.biHeight = 2;
    EXPECT_EQ(nullptr, CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    DeleteDC(screen);
}

TEST(Robustness, HugeRegionsStayBounded) {
    HRGN e = CreateEllipticRgn(INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2);
    ASSERT_NE(nullptr, e);
    EXPECT_TRUE(PtInRegion(e, 0, 0));
    DeleteObject(e);
}

namespace {

double MillisecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

HRGN RegionOfRects(const std::vector<RECT>& rects) {
    std::vector<char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    const RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()),
                               static_cast<DWORD>(rects.size() * sizeof(RECT)), {0, 0, 0, 0}};
    std::memcpy(data.data(), &header, sizeof header);
    if (!rects.empty())
        std::memcpy(data.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
}

TEST(Robustness, FramingAComplexRegionCostsWhatTheSurfaceShows) {
    // A staircase of 200,000 one-pixel rows (as many bands), framed on a 32 x 32 surface.
    std::vector<RECT> stairs;
    for (int y = 0; y < 200000; ++y)
        stairs.push_back({y % 7, y, y % 7 + 4, y + 1});
    HRGN tall = RegionOfRects(stairs);
    stairs.resize(40);
    HRGN top = RegionOfRects(stairs);
    ASSERT_NE(nullptr, tall);
    Canvas c(32, 32), want(32, 32);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    SetViewportOrgEx(c.dc(), 3, 0, nullptr);
    SetViewportOrgEx(want.dc(), 3, 0, nullptr);
    EXPECT_LT(MillisecondsOf([&] { FrameRgn(c.dc(), tall, black, 2, 1); }), 100.0);
    // Rows far below the surface change nothing of what it shows.
    FrameRgn(want.dc(), top, black, 2, 1);
    SetViewportOrgEx(c.dc(), 0, 0, nullptr);
    SetViewportOrgEx(want.dc(), 0, 0, nullptr);
    EXPECT_EQ(want.Picture(), c.Picture());
    EXPECT_EQ("...####.........................", c.Picture()[0]);
    DeleteObject(tall);
    DeleteObject(top);
}

TEST(Robustness, FramingARegionLargerThanTheSurfaceDrawsOnlyItsOwnEdges) {
    // The frame follows the region's edges, not the surface's: cutting the region to the
    // surface must leave what lies just outside it in place.
    Canvas c(6, 6);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    HRGN around = CreateRectRgn(-10, -10, 50, 50);
    FrameRgn(c.dc(), around, black, 2, 2);
    EXPECT_EQ(std::vector<std::string>(6, "......"), c.Picture());
    HRGN corner = CreateRectRgn(2, 3, 40, 40);
    FrameRgn(c.dc(), corner, black, 2, 1);
    EXPECT_EQ((std::vector<std::string>{"......", "......", "......", "..####", "..##..", "..##.."}), c.Picture());
    DeleteObject(around);
    DeleteObject(corner);
}

TEST(Robustness, ConvertingToAPaletteSearchesEachColourOnce) {
    // 8 million pixels of 64 colours into an 8-bit image with the 256-colour table.
    const int w = 4096, h = 2048;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    HBITMAP source = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, source);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < w * h; ++i)
        pixels[i] = static_cast<std::uint32_t>((i % 64) * 0x030507);
    std::vector<char> out(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* to = reinterpret_cast<BITMAPINFO*>(out.data());
    to->bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<BYTE> indexes(static_cast<std::size_t>(w) * h);
    // The floor: the same pixels into a 24-bit image, which needs no search.
    BITMAPINFO plain{};
    plain.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<BYTE> rgb(static_cast<std::size_t>(DibStride(w, 24)) * h);
    const double floor = MillisecondsOf([&] { GetDIBits(screen, source, 0, h, rgb.data(), &plain, DIB_RGB_COLORS); });
    int rows = 0;
    const double indexed =
        MillisecondsOf([&] { rows = GetDIBits(screen, source, 0, h, indexes.data(), to, DIB_RGB_COLORS); });
    // Searching the 256 entries for every pixel takes some 60 times the floor.
    EXPECT_LT(indexed, 6 * floor);
    EXPECT_EQ(h, rows);
    // The answers are the nearest entries all the same.
    const auto* table = reinterpret_cast<const RGBQUAD*>(out.data() + sizeof(BITMAPINFOHEADER));
    const std::vector<RGBQUAD> colours(table, table + 256);
    for (int i : {0, 1, 63, 64, 1000, w * h - 1})
        EXPECT_EQ(NearestIndex(colours, pixels[i]), indexes[static_cast<std::size_t>(i)]) << i;
    DeleteObject(source);
    DeleteDC(screen);
}
