#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/SystemMetrics.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class SystemMetricsTest : public ::testing::Test {
protected:
    void TearDown() override { SetScreenSize(1024, 768); }
};

TEST_F(SystemMetricsTest, ClassicFixedValues)
{
    const struct { int index; int value; } cases[] = {
        {SM_CXVSCROLL, 16}, {SM_CYHSCROLL, 16}, {SM_CYCAPTION, 19}, {SM_CXBORDER, 1}, {SM_CYBORDER, 1},
        {SM_CXDLGFRAME, 3}, {SM_CYDLGFRAME, 3}, {SM_CXICON, 32}, {SM_CYICON, 32}, {SM_CXSIZE, 18},
        {SM_CYSIZE, 18}, {SM_CXFRAME, 4}, {SM_CYFRAME, 4}, {SM_CYSMCAPTION, 16}, {SM_CXSMICON, 16},
        {SM_CYSMICON, 16}, {SM_CXSMSIZE, 12}, {SM_CYSMSIZE, 15}, {SM_CXHSCROLL, 16}, {SM_CXDOUBLECLK, 4},
        {SM_CYDOUBLECLK, 4}, {SM_CXEDGE, 2}, {SM_CYMENU, 19}, {SM_CXMENUCHECK, 13}, {SM_CMOUSEBUTTONS, 3},
        {SM_SWAPBUTTON, 0}, {SM_DEBUG, 0}, {SM_REMOTESESSION, 0}, {9999, 0}, {-1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetSystemMetrics(c.index), c.value) << c.index;
}

TEST_F(SystemMetricsTest, ScreenAndWorkAreaAreConfigurable)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    RECT area{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area.bottom, 738);

    SetScreenSize(800, 600);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
    EXPECT_EQ(GdiDesktopSurface().Width(), 800) << "the drawing layer's desktop follows";
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area.right, 800);
    EXPECT_EQ(area.bottom, 570);

    SetWorkArea(RECT{0, 40, 800, 600});
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area.top, 40);
    EXPECT_EQ(GetSystemMetrics(SM_CYMAXIMIZED), 568);
}

TEST_F(SystemMetricsTest, NonClientMetricsCarryTheCaptionFonts)
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_EQ(metrics.iCaptionHeight, GetSystemMetrics(SM_CYSIZE));
    EXPECT_EQ(metrics.iSmCaptionHeight, GetSystemMetrics(SM_CYSMSIZE));
    EXPECT_EQ(metrics.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_STREQ(metrics.lfCaptionFont.lfFaceName, "Tahoma");
    EXPECT_EQ(metrics.lfCaptionFont.lfWeight, 700);
    EXPECT_EQ(metrics.lfSmCaptionFont.lfWeight, 700);
    EXPECT_EQ(metrics.lfMessageFont.lfWeight, 400);
    EXPECT_EQ(metrics.lfCaptionFont.lfHeight, -11);

    NONCLIENTMETRICSA wrong{};
    std::memset(&wrong, 0x11, sizeof wrong);
    wrong.cbSize = sizeof wrong + 4;
    SetLastError(0);
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof wrong, &wrong, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(wrong.iBorderWidth, 0x11111111);
}

TEST_F(SystemMetricsTest, OtherParameters)
{
    UINT timeout = 0;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &timeout, 0));
    EXPECT_EQ(timeout, 600u);
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETWINDOWSEXTENSION, 1, nullptr, 0));
    BOOL flag = TRUE;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETFLATMENU, 0, &flag, 0));
    EXPECT_FALSE(flag);
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETWORKAREA, 0, nullptr, 0));
    EXPECT_FALSE(SystemParametersInfoA(0x7777, 0, &flag, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

} // namespace
