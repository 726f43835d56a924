#include "GdiFixture.h"

#include <cstring>

TEST(Icon, MaskThenImage) {
    // 2x1 icon: left pixel opaque red, right pixel transparent.
    const BYTE maskBits[] = {0x40, 0x00};  // 0 = opaque, 1 = transparent
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, maskBits);
    HBITMAP color = CreateBitmap(2, 1, 1, 32, nullptr);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, color);
    SetPixel(mem, 0, 0, kRed);
    SetPixel(mem, 1, 0, kBlack);
    SelectObject(mem, old);
    DeleteDC(mem);
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);   // the icon keeps its own copies
    DeleteObject(color);
    ASSERT_NE(nullptr, icon);
    Canvas c(4, 1);
    SetPixel(c.dc(), 2, 0, kBlue);
    SetTextColor(c.dc(), kBlue);  // the DC's colours do not affect the mask
    EXPECT_TRUE(DrawIcon(c.dc(), 1, 0, icon));
    EXPECT_EQ(".RB.", c.Picture()[0]);
    Canvas m(4, 1);
    DrawIconEx(m.dc(), 0, 0, icon, 4, 1, 0, nullptr, DI_MASK);
    EXPECT_EQ("##..", m.Picture()[0]);  // stretched to 4 pixels
    ICONINFO back{};
    ASSERT_TRUE(GetIconInfo(icon, &back));
    EXPECT_TRUE(back.fIcon);
    EXPECT_EQ(1u, back.xHotspot);
    BITMAP bm;
    GetObject(back.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(2, bm.bmWidth);
    DeleteObject(back.hbmMask);
    DeleteObject(back.hbmColor);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
}

TEST(Path, StrokeFillAndRegion) {
    Canvas c(8, 8);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    BeginPath(c.dc());
    MoveToEx(c.dc(), 1, 1, nullptr);
    LineTo(c.dc(), 6, 1);
    LineTo(c.dc(), 6, 6);
    LineTo(c.dc(), 1, 6);
    CloseFigure(c.dc());
    EndPath(c.dc());
    EXPECT_EQ(kWhite, GetPixel(c.dc(), 1, 1));  // recorded, not drawn
    EXPECT_TRUE(StrokeAndFillPath(c.dc()));
    EXPECT_EQ(Joined({"........", ".######.", ".#RRRR#.", ".#RRRR#.", ".#RRRR#.", ".#RRRR#.", ".######.", "........"}),
              Joined(c.Picture()));
    EXPECT_FALSE(StrokePath(c.dc()));  // the path is used up
    BeginPath(c.dc());
    Ellipse(c.dc(), 0, 0, 8, 6);
    EndPath(c.dc());
    HRGN rgn = PathToRegion(c.dc());
    HRGN ellipse = CreateEllipticRgn(0, 0, 8, 6);
    EXPECT_TRUE(EqualRgn(rgn, ellipse));
    DeleteObject(rgn);
    DeleteObject(ellipse);
    EXPECT_FALSE(EndPath(c.dc()));
}

TEST(Recording, CallsCarryArgumentsAndState) {
    Canvas c(10, 10);
    ASSERT_TRUE(GdiStartRecording(c.dc()));
    Selected pen(c.dc(), CreatePen(PS_DOT, 1, kBlue));
    IntersectClipRect(c.dc(), 0, 0, 5, 6);
    Rectangle(c.dc(), 1, 2, 3, 4);
    SetTextColor(c.dc(), kRed);
    RECT r{0, 0, 9, 9};
    DrawText(c.dc(), "Ok", 2, &r, DT_SINGLELINE);
    GdiStopRecording(c.dc());
    Rectangle(c.dc(), 0, 0, 1, 1);  // not recorded
    const std::vector<GdiRecordedCall> calls = GdiRecordedCalls(c.dc());
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("Rectangle", calls[0].function);
    EXPECT_EQ("1,2,3,4,0,0", calls[0].arguments);
    EXPECT_EQ(kBlue, calls[0].penColor);
    EXPECT_EQ(PS_DOT, calls[0].penStyle);
    EXPECT_EQ(kWhite, calls[0].brushColor);
    EXPECT_EQ(5, calls[0].clipBox.right);
    EXPECT_EQ(6, calls[0].clipBox.bottom);
    EXPECT_EQ("DrawText", calls[1].function);
    EXPECT_EQ("0,0,9,9,32,\"Ok\"", calls[1].arguments);
    EXPECT_EQ(kRed, calls[1].textColor);
    EXPECT_TRUE(calls[0].bkMode == OPAQUE);
}

TEST(Desktop, ScreenDCDrawsOnTheVirtualDesktopAndBlitsFromIt) {
    GdiSetDesktopSize(64, 48);
    HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(64, GetDeviceCaps(screen, HORZRES));
    EXPECT_EQ(48, GetDeviceCaps(screen, VERTRES));
    SetPixel(screen, 3, 4, kRed);
    EXPECT_EQ(0xFF0000u, GdiDesktopSurface().Pixel(3, 4));
    Canvas c(2, 2);
    BitBlt(c.dc(), 0, 0, 2, 2, screen, 2, 3, SRCCOPY);
    EXPECT_EQ(kRed, GetPixel(c.dc(), 1, 1));
    EXPECT_EQ(nullptr, CreateDC("PRINTER", nullptr, nullptr, nullptr));
    DeleteDC(screen);
    GdiSetDesktopSize(1024, 768);
}
