#include "GdiFixture.h"

#include <climits>

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
