#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/Region.h"
#include "platform/win/gdi/RegionHandles.h"
#include "GdiFixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>
#include <cstring>
#include <limits>
#include <vector>

namespace {

std::vector<RECT> RectsOf(HRGN rgn) {
    const DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<char> block(size);
    auto* data = reinterpret_cast<RGNDATA*>(block.data());
    EXPECT_EQ(size, GetRegionData(rgn, size, data));
    const RECT* first = reinterpret_cast<const RECT*>(data->Buffer);
    return {first, first + data->rdh.nCount};
}

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Pixel membership map of a region over a small grid, one string per row.
std::vector<std::string> Map(HRGN rgn, int w, int h) {
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y) {
        std::string row;
        for (int x = 0; x < w; ++x)
            row += PtInRegion(rgn, x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(Region, RectExcludesRightAndBottom) {
    HRGN r = CreateRectRgn(1, 2, 4, 5);
    EXPECT_TRUE(PtInRegion(r, 1, 2));
    EXPECT_TRUE(PtInRegion(r, 3, 4));
    EXPECT_FALSE(PtInRegion(r, 4, 4));
    EXPECT_FALSE(PtInRegion(r, 3, 5));
    RECT box;
    EXPECT_EQ(SIMPLEREGION, GetRgnBox(r, &box));
    EXPECT_TRUE(Same(box, RECT{1, 2, 4, 5}));
    DeleteObject(r);
}

TEST(Region, EmptyRectGivesValidEmptyRegion) {
    HRGN r = CreateRectRgn(5, 5, 5, 9);
    ASSERT_NE(nullptr, r);
    RECT box{1, 1, 1, 1};
    EXPECT_EQ(NULLREGION, GetRgnBox(r, &box));
    EXPECT_TRUE(Same(box, RECT{0, 0, 0, 0}));
    EXPECT_EQ(sizeof(RGNDATAHEADER), GetRegionData(r, 0, nullptr));
    DeleteObject(r);
}

struct CombineCase {
    int mode;
    int type;
    std::vector<RECT> rects;
};

TEST(Region, CombineModesTable) {
    // a = [0,4)x[0,4), b = [2,6)x[2,6)
    const std::vector<CombineCase> cases = {
        {RGN_AND, SIMPLEREGION, {{2, 2, 4, 4}}},
        {RGN_OR, COMPLEXREGION, {{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}}},
        {RGN_XOR, COMPLEXREGION, {{0, 0, 4, 2}, {0, 2, 2, 4}, {4, 2, 6, 4}, {2, 4, 6, 6}}},
        {RGN_DIFF, COMPLEXREGION, {{0, 0, 4, 2}, {0, 2, 2, 4}}},
        {RGN_COPY, SIMPLEREGION, {{0, 0, 4, 4}}},
    };
    for (const CombineCase& c : cases) {
        HRGN a = CreateRectRgn(0, 0, 4, 4), b = CreateRectRgn(2, 2, 6, 6), d = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(c.type, CombineRgn(d, a, b, c.mode)) << c.mode;
        const std::vector<RECT> got = RectsOf(d);
        ASSERT_EQ(c.rects.size(), got.size()) << c.mode;
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_TRUE(Same(c.rects[i], got[i])) << c.mode << " rect " << i;
        DeleteObject(a);
        DeleteObject(b);
        DeleteObject(d);
    }
}

TEST(Region, DestinationMayBeASourceAndBadModeFails) {
    HRGN a = CreateRectRgn(0, 0, 4, 4), b = CreateRectRgn(4, 0, 8, 4);
    EXPECT_EQ(SIMPLEREGION, CombineRgn(a, a, b, RGN_OR));  // touching rectangles merge
    RECT box;
    GetRgnBox(a, &box);
    EXPECT_TRUE(Same(box, RECT{0, 0, 8, 4}));
    EXPECT_EQ(NULLREGION, CombineRgn(a, a, a, RGN_DIFF));
    EXPECT_EQ(ERROR, CombineRgn(a, b, b, 9));
    EXPECT_EQ(ERROR, CombineRgn(a, b, nullptr, RGN_AND));
    DeleteObject(a);
    DeleteObject(b);
}

TEST(Region, OffsetEqualRectInRegion) {
    HRGN a = CreateRectRgn(0, 0, 3, 3), b = CreateRectRgn(10, 20, 13, 23);
    EXPECT_FALSE(EqualRgn(a, b));
    EXPECT_EQ(SIMPLEREGION, OffsetRgn(a, 10, 20));
    EXPECT_TRUE(EqualRgn(a, b));
    RECT touching{13, 20, 20, 30}, overlapping{12, 22, 20, 30};
    EXPECT_FALSE(RectInRegion(a, &touching));
    EXPECT_TRUE(RectInRegion(a, &overlapping));
    EXPECT_TRUE(SetRectRgn(a, 0, 0, 1, 1));
    EXPECT_FALSE(EqualRgn(a, b));
    DeleteObject(a);
    DeleteObject(b);
}

TEST(Region, RegionDataRoundTripAndSizeRules) {
    HRGN a = CreateRectRgn(0, 0, 4, 4), b = CreateRectRgn(2, 2, 6, 6);
    CombineRgn(a, a, b, RGN_XOR);
    const DWORD size = GetRegionData(a, 0, nullptr);
    EXPECT_EQ(32u + 16u * 4u, size);
    std::vector<char> block(size);
    auto* data = reinterpret_cast<RGNDATA*>(block.data());
    EXPECT_EQ(0u, GetRegionData(a, size - 1, data));
    ASSERT_EQ(size, GetRegionData(a, size, data));
    EXPECT_EQ(32u, data->rdh.dwSize);
    EXPECT_EQ(RDH_RECTANGLES, data->rdh.iType);
    EXPECT_EQ(4u, data->rdh.nCount);
    EXPECT_EQ(64u, data->rdh.nRgnSize);
    EXPECT_TRUE(Same(data->rdh.rcBound, RECT{0, 0, 6, 6}));
    HRGN copy = ExtCreateRegion(nullptr, size, data);
    ASSERT_NE(nullptr, copy);
    EXPECT_TRUE(EqualRgn(a, copy));
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(copy);
}

TEST(Region, ExtCreateRegionAcceptsOverlapsAndRejectsMalformedData) {
    struct Block {
        RGNDATAHEADER h;
        RECT r[2];
    };
    Block ok{{32, RDH_RECTANGLES, 2, 32, {0, 0, 5, 5}}, {{0, 0, 3, 3}, {2, 2, 5, 5}}};
    HRGN r = ExtCreateRegion(nullptr, sizeof ok, reinterpret_cast<RGNDATA*>(&ok));
    ASSERT_NE(nullptr, r);
    EXPECT_TRUE(PtInRegion(r, 2, 2));
    EXPECT_TRUE(PtInRegion(r, 4, 4));
    EXPECT_FALSE(PtInRegion(r, 4, 0));
    DeleteObject(r);

    Block badSize = ok;
    badSize.h.dwSize = 28;
    Block badType = ok;
    badType.h.iType = 2;
    Block badCount = ok;
    badCount.h.nCount = 3;
    Block inverted = ok;
    inverted.r[1] = {5, 5, 2, 2};
    for (Block* b : {&badSize, &badType, &badCount, &inverted})
        EXPECT_EQ(nullptr, ExtCreateRegion(nullptr, sizeof *b, reinterpret_cast<RGNDATA*>(b)));
    EXPECT_EQ(nullptr, ExtCreateRegion(nullptr, 10, reinterpret_cast<RGNDATA*>(&ok)));
    EXPECT_EQ(nullptr, ExtCreateRegion(nullptr, sizeof ok, nullptr));
}

TEST(Region, PolygonFillModes) {
    // A pentagram: the centre is outside with alternate fill, inside with winding fill.
    const POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    HRGN alt = CreatePolygonRgn(star, 5, ALTERNATE), wind = CreatePolygonRgn(star, 5, WINDING);
    EXPECT_FALSE(PtInRegion(alt, 10, 10));
    EXPECT_TRUE(PtInRegion(wind, 10, 10));
    EXPECT_TRUE(PtInRegion(alt, 10, 3));
    EXPECT_TRUE(PtInRegion(wind, 10, 3));
    EXPECT_EQ(nullptr, CreatePolygonRgn(star, 5, 7));
    DeleteObject(alt);
    DeleteObject(wind);
}

TEST(Region, PolygonRectangleMatchesRectRegion) {
    const POINT square[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
    HRGN p = CreatePolygonRgn(square, 4, ALTERNATE), r = CreateRectRgn(1, 1, 5, 4);
    EXPECT_TRUE(EqualRgn(p, r));
    DeleteObject(p);
    DeleteObject(r);
}

TEST(Region, EllipseAndRoundRectShapes) {
    HRGN e = CreateEllipticRgn(0, 0, 8, 6);
    const std::vector<std::string> expected = {
        "..####..",
        ".######.",
        "########",
        "########",
        ".######.",
        "..####..",
    };
    EXPECT_EQ(expected, Map(e, 8, 6));
    HRGN rr = CreateRoundRectRgn(0, 0, 8, 6, 4, 4);
    const std::vector<std::string> rounded = {
        ".######.",
        "########",
        "########",
        "########",
        "########",
        ".######.",
    };
    EXPECT_EQ(rounded, Map(rr, 8, 6));
    RECT box;
    GetRgnBox(e, &box);
    EXPECT_TRUE(Same(box, RECT{0, 0, 8, 6}));
    DeleteObject(e);
    DeleteObject(rr);
}

TEST(Region, InvalidHandlesFailQuietly) {
    HRGN bogus = reinterpret_cast<HRGN>(static_cast<std::uintptr_t>(0x12345));
    RECT box;
    EXPECT_EQ(ERROR, GetRgnBox(bogus, &box));
    EXPECT_FALSE(PtInRegion(bogus, 0, 0));
    EXPECT_EQ(ERROR, OffsetRgn(bogus, 1, 1));
    EXPECT_EQ(0u, GetRegionData(bogus, 0, nullptr));
}

TEST(Region, ManyRectanglesRoundTripQuickly) {
    // A checkerboard of 4000 cells: the data of a bitmap-shaped window region.
    std::vector<RECT> cells;
    for (int y = 0; y < 80; ++y)
        for (int x = y % 2; x < 100; x += 2)
            cells.push_back({x, y, x + 1, y + 1});
    std::vector<char> block(sizeof(RGNDATAHEADER) + cells.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(block.data());
    data->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(cells.size()),
                 static_cast<DWORD>(cells.size() * sizeof(RECT)), {0, 0, 100, 80}};
    std::memcpy(data->Buffer, cells.data(), cells.size() * sizeof(RECT));
    HRGN rgn = ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()), data);
    ASSERT_NE(nullptr, rgn);
    EXPECT_TRUE(PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(PtInRegion(rgn, 1, 0));
    EXPECT_TRUE(PtInRegion(rgn, 1, 1));
    EXPECT_EQ(block.size(), GetRegionData(rgn, 0, nullptr));
    const std::vector<RECT> back = RectsOf(rgn);
    ASSERT_EQ(cells.size(), back.size());
    EXPECT_TRUE(Same(cells[57], back[57]));
    DeleteObject(rgn);
}

TEST(Region, HandlesAndValuesConvertBothWays) {
    Region value = Region::Combine(Region(RECT{0, 0, 4, 4}), Region(RECT{2, 2, 6, 6}), Region::Op::Or);
    HRGN h = GdiNewRegion(value);
    HRGN same = CreateRectRgn(0, 0, 4, 4);
    HRGN other = CreateRectRgn(2, 2, 6, 6);
    CombineRgn(same, same, other, RGN_OR);
    EXPECT_TRUE(EqualRgn(h, same));
    ASSERT_TRUE(GdiRegionOf(h).has_value());
    EXPECT_TRUE(*GdiRegionOf(h) == value);
    EXPECT_TRUE(GdiStoreRegion(h, Region(RECT{1, 1, 2, 2})));
    EXPECT_TRUE(PtInRegion(h, 1, 1));
    EXPECT_FALSE(PtInRegion(h, 0, 0));
    EXPECT_FALSE(GdiRegionOf(nullptr).has_value());
    EXPECT_FALSE(GdiStoreRegion(nullptr, value));
    for (HRGN r : {h, same, other})
        DeleteObject(r);
}

namespace {

// Region data of the given rectangles, as ExtCreateRegion reads it.
std::vector<char> RegionBlock(const std::vector<RECT>& rects) {
    std::vector<char> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(block.data());
    data->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()),
                 static_cast<DWORD>(rects.size() * sizeof(RECT)), {0, 0, 0, 0}};
    if (!rects.empty())
        std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return block;
}

HRGN Translated(const std::vector<RECT>& rects, float dx, float dy) {
    std::vector<char> block = RegionBlock(rects);
    const XFORM move{1, 0, 0, 1, dx, dy};
    return ExtCreateRegion(&move, static_cast<DWORD>(block.size()), reinterpret_cast<RGNDATA*>(block.data()));
}

} // namespace

TEST(Region, ExtCreateRegionTranslates) {
    HRGN r = Translated({{0, 0, 2, 2}}, 10.75f, -3);
    ASSERT_NE(nullptr, r);
    RECT box;
    GetRgnBox(r, &box);
    EXPECT_TRUE(Same(box, RECT{10, -3, 12, -1}));
    DeleteObject(r);
}

TEST(Region, ExtCreateRegionRefusesTranslationsOutOfRange) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        RECT rect;
        float dx, dy;
    } cases[] = {
        {{0, 0, 1, 1}, 3e9f, 0},
        {{0, 0, 1, 1}, 0, -3e9f},
        {{0, 0, 1, 1}, nan, 0},
        {{0, 0, 1, 1}, 0, nan},
        {{0, 0, 1, 1}, inf, 0},
        {{INT_MAX - 10, 0, INT_MAX - 1, 1}, 100, 0},
        {{0, INT_MIN, 1, INT_MIN + 5}, 0, -1},
        {{-5, 0, 200, 1}, 2147483520.0f, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nullptr, Translated({c.rect}, c.dx, c.dy)) << c.dx << " " << c.dy;
}

TEST(Region, OffsetRgnRefusesToLeaveTheIntRange) {
    HRGN r = CreateRectRgn(INT_MAX - 10, 0, INT_MAX - 1, 5);
    EXPECT_EQ(ERROR, OffsetRgn(r, 100, 0));
    EXPECT_EQ(ERROR, OffsetRgn(r, 2, INT_MIN));
    RECT box;
    GetRgnBox(r, &box);
    EXPECT_TRUE(Same(box, RECT{INT_MAX - 10, 0, INT_MAX - 1, 5}));
    EXPECT_EQ(SIMPLEREGION, OffsetRgn(r, 1, 0));
    GetRgnBox(r, &box);
    EXPECT_TRUE(Same(box, RECT{INT_MAX - 9, 0, INT_MAX, 5}));
    DeleteObject(r);
}

TEST(Region, OffsetClampsAtTheIntRange) {
    Region r = Region::FromRects({{INT_MAX - 10, 0, INT_MAX - 4, 2}, {INT_MAX - 2, 0, INT_MAX, 2}, {0, 4, 3, 6}});
    r.Offset(3, 0);
    const std::vector<RECT> rects = r.Rects();
    ASSERT_EQ(2u, rects.size());
    EXPECT_TRUE(Same(rects[0], RECT{INT_MAX - 7, 0, INT_MAX - 1, 2}));
    EXPECT_TRUE(Same(rects[1], RECT{3, 4, 6, 6}));
    Region all(RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    all.Offset(INT_MIN, INT_MIN);
    EXPECT_TRUE(Same(all.Bounds(), RECT{INT_MIN, INT_MIN, -1, -1}));
    Region gone(RECT{INT_MIN, 0, INT_MIN + 5, 1});
    gone.Offset(-10, 0);
    EXPECT_TRUE(gone.Empty());
}

TEST(Region, PaintingNearTheIntRangeClampsInsteadOfWrapping) {
    Canvas canvas(4, 4);
    HRGN far = CreateRectRgn(INT_MAX - 3, 0, INT_MAX, 4);
    HRGN near = CreateRectRgn(0, 0, 2, 2);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    // A viewport far to the right pushes the region past the range: nothing may wrap
    // round onto the surface.
    SetViewportOrgEx(canvas.dc(), 100, 0, nullptr);
    EXPECT_TRUE(FillRgn(canvas.dc(), far, black));
    EXPECT_TRUE(FrameRgn(canvas.dc(), far, black, 2, 2));
    EXPECT_TRUE(InvertRgn(canvas.dc(), far));
    SetViewportOrgEx(canvas.dc(), INT_MAX, 0, nullptr);
    SetWindowOrgEx(canvas.dc(), INT_MIN, 0, nullptr);
    EXPECT_TRUE(FillRgn(canvas.dc(), near, black));
    SetViewportOrgEx(canvas.dc(), 0, 0, nullptr);
    SetWindowOrgEx(canvas.dc(), 0, 0, nullptr);
    EXPECT_EQ(std::vector<std::string>(4, "...."), canvas.Picture());
    EXPECT_TRUE(FillRgn(canvas.dc(), near, black));
    EXPECT_EQ((std::vector<std::string>{"##..", "##..", "....", "...."}), canvas.Picture());
    DeleteObject(far);
    DeleteObject(near);
}

TEST(Region, FromRectsMatchesTheUnionOfItsRectangles) {
    // Overlapping, nested, touching and empty rectangles in no order.
    const std::vector<RECT> rects = {{2, 2, 6, 5}, {0, 0, 3, 3}, {1, 1, 2, 2}, {6, 2, 8, 3}, {4, 4, 4, 9},
                                     {5, 6, 7, 8}, {0, 7, 3, 8}, {1, 0, 2, 8}};
    const Region region = Region::FromRects(rects);
    for (int y = -1; y < 10; ++y)
        for (int x = -1; x < 10; ++x) {
            bool inside = false;
            for (const RECT& r : rects)
                inside = inside || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
            EXPECT_EQ(inside, region.Contains(x, y)) << x << "," << y;
        }
    Region merged;
    for (const RECT& r : rects)
        merged = Region::Combine(merged, Region(r), Region::Op::Or);
    EXPECT_TRUE(region == merged);
}

TEST(Region, FromRectsOfManyStackedRectanglesIsQuick) {
    // 40,000 rectangles, each on its own rows and all overlapping one column: a sweep that
    // visits every rectangle per band would take seconds.
    std::vector<RECT> rects;
    for (int i = 0; i < 40000; ++i)
        rects.push_back({i % 7, i, 1000 - i % 5, 40000 + i});
    // Processor time, not wall time: a busy machine stretches the latter many times over.
    const std::clock_t start = std::clock();
    const Region region = Region::FromRects(rects);
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_TRUE(region.Contains(500, 20000));
    EXPECT_FALSE(region.Contains(999, 79999));
    EXPECT_LT(seconds, 2.0);
}

TEST(Region, IntersectionsMatchTheirPixelsInTheOneForm) {
    // The region of the pixels in both, built row by row: the one form every region keeps.
    auto pixelwise = [](const Region& a, const Region& b) {
        std::vector<std::vector<Region::Span>> rows;
        for (int y = -2; y < 14; ++y) {
            rows.emplace_back();
            for (int x = -2; x < 14; ++x)
                if (a.Contains(x, y) && b.Contains(x, y))
                    rows.back().emplace_back(x, x + 1);
        }
        return Region::FromRows(-2, std::move(rows));
    };
    const Region ring = Region::Combine(Region(RECT{1, 1, 9, 9}), Region(RECT{3, 3, 6, 6}), Region::Op::Diff);
    const struct {
        const char* name;
        Region a, b;
    } cases[] = {
        {"overlapping rectangles", Region(RECT{0, 0, 6, 6}), Region(RECT{3, 2, 10, 8})},
        {"nested rectangles", Region(RECT{0, 0, 10, 10}), Region(RECT{2, 3, 4, 5})},
        {"touching rectangles", Region(RECT{0, 0, 4, 4}), Region(RECT{4, 0, 8, 4})},
        {"apart", Region(RECT{0, 0, 2, 2}), Region(RECT{5, 5, 7, 7})},
        {"rectangle around a ring", Region(RECT{0, 0, 12, 12}), ring},
        {"ring in a rectangle", ring, Region(RECT{1, 1, 9, 9})},
        {"rectangle across a ring", Region(RECT{2, 0, 5, 12}), ring},
        {"column through the side of a ring: its bands become one", Region(RECT{0, 0, 2, 12}), ring},
        {"rectangle cutting a ring's bands", Region(RECT{0, 2, 12, 7}), ring},
        {"ring and a rectangle inside its hole", ring, Region(RECT{3, 3, 6, 6})},
        {"empty and a rectangle", Region(), Region(RECT{0, 0, 3, 3})},
        {"ring and empty", ring, Region()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Region expected = pixelwise(c.a, c.b);
        EXPECT_TRUE(Region::Combine(c.a, c.b, Region::Op::And) == expected);
        EXPECT_TRUE(Region::Combine(c.b, c.a, Region::Op::And) == expected);
    }
}

namespace {

// A staircase down the right of a column 10 wide: one short edge per row, as many edges
// as rows.
std::vector<POINT> Staircase(int rows) {
    std::vector<POINT> points;
    for (int y = 0; y <= rows; ++y)
        points.push_back({10 + y % 2, y});
    points.push_back({0, rows});
    points.push_back({0, 0});
    return points;
}

// Edges that each cross every row of the region limit: hundreds of spans on every row.
std::vector<POINT> FullHeightZigzag(int points) {
    std::vector<POINT> zigzag;
    for (int i = 0; i < points; ++i)
        zigzag.push_back({i * 64, i % 2 ? 65535 : -65536});
    return zigzag;
}

double CpuSeconds(std::clock_t start) { return double(std::clock() - start) / CLOCKS_PER_SEC; }

} // namespace

TEST(Region, PolygonRowsCostWhatCrossesThem) {
    // 40,000 edges over 40,000 rows: looking at every edge on every row takes many seconds.
    const std::vector<POINT> stairs = Staircase(40000);
    const std::clock_t start = std::clock();
    HRGN rgn = CreatePolygonRgn(stairs.data(), static_cast<int>(stairs.size()), ALTERNATE);
    const double seconds = CpuSeconds(start);
    ASSERT_NE(nullptr, rgn);
    // Every step crosses its row's centre at x 10.5: pixels 0 to 9 on every row.
    RECT box{};
    EXPECT_NE(ERROR, GetRgnBox(rgn, &box));
    EXPECT_TRUE(Same(box, RECT{0, 0, 10, 40000}));
    EXPECT_TRUE(PtInRegion(rgn, 9, 39999));
    EXPECT_FALSE(PtInRegion(rgn, 10, 20001));
    DeleteObject(rgn);
    EXPECT_LT(seconds, 2.0);
}

TEST(Region, PolygonTooComplexForARegionIsNotMade) {
    // 1,000 edges across all 131,072 rows: 65 million rectangles (a gigabyte), and as many
    // crossings to work out when they are squeezed into a strip one pixel wide.
    std::vector<POINT> zigzag = FullHeightZigzag(1000);
    std::vector<POINT> strip = zigzag;
    for (std::size_t i = 0; i < strip.size(); ++i)
        strip[i].x = static_cast<LONG>(i % 3 == 0);
    const INT count = static_cast<INT>(zigzag.size());
    const std::clock_t start = std::clock();
    for (const std::vector<POINT>* points : {&zigzag, &strip}) {
        EXPECT_EQ(nullptr, CreatePolygonRgn(points->data(), count, ALTERNATE));
        EXPECT_EQ(nullptr, CreatePolyPolygonRgn(points->data(), &count, 1, WINDING));
        Canvas c(4, 4);
        BeginPath(c.dc());
        Polygon(c.dc(), points->data(), count);
        EndPath(c.dc());
        EXPECT_EQ(nullptr, PathToRegion(c.dc()));
    }
    // Making either takes half a minute and gigabytes; refusing them, a moment (some three
    // seconds in a sanitizer build, twice that on a machine busy with other tests).
    EXPECT_LT(CpuSeconds(start), 15.0);

    // The same edges over fewer rows stay within what a region takes.
    std::vector<POINT> shallow = zigzag;
    for (POINT& p : shallow)
        p.y = p.y > 0 ? 100 : 0;
    HRGN rgn = CreatePolygonRgn(shallow.data(), count, ALTERNATE);
    ASSERT_NE(nullptr, rgn);
    EXPECT_TRUE(PtInRegion(rgn, 64, 50));
    DeleteObject(rgn);
}

TEST(Region, FromRectsInBandOrderMakesTheSameRegion) {
    // Band order with what the sweep merges or drops: touching bands of equal spans, a gap
    // between bands, spans that touch inside a band, and one out-of-order band.
    struct Case {
        const char* what;
        std::vector<RECT> rects;
    };
    const Case cases[] = {
        {"equal bands that touch", {{0, 0, 2, 1}, {4, 0, 6, 1}, {0, 1, 2, 3}, {4, 1, 6, 3}}},
        {"a gap between bands", {{0, 0, 5, 1}, {1, 4, 3, 6}, {4, 4, 9, 6}}},
        {"touching spans", {{0, 0, 2, 1}, {2, 0, 4, 1}}},
        {"bands out of order", {{0, 5, 2, 6}, {0, 0, 2, 1}}},
        {"overlapping bands", {{0, 0, 3, 3}, {1, 2, 4, 5}}},
    };
    for (const Case& c : cases) {
        Region merged;
        for (const RECT& r : c.rects)
            merged = Region::Combine(merged, Region(r), Region::Op::Or);
        EXPECT_TRUE(Region::FromRects(c.rects) == merged) << c.what;
    }
}
