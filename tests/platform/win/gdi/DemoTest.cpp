// Draws one of every primitive onto a surface and saves it as gdi-demo.png beside the
// test executable, for a person to look at; the checks make sure each panel got ink.
#include "GdiFixture.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

std::string DemoPath() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::temp_directory_path() : exe.parent_path()).string() + "/gdi-demo.png";
}

HFONT Font(const char* face, int height, LONG escapement = 0, LONG weight = FW_NORMAL, BYTE underline = 0) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfWeight = weight;
    lf.lfUnderline = underline;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

void Label(HDC dc, int x, int y, const char* text) {
    HFONT f = Font("MS Sans Serif", -11);
    HGDIOBJ old = SelectObject(dc, f);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kBlack);
    TextOut(dc, x, y, text, static_cast<int>(std::strlen(text)));
    SelectObject(dc, old);
    DeleteObject(f);
}

void Lines(HDC dc) {
    const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    for (int i = 0; i < 5; ++i) {
        HPEN pen = CreatePen(styles[i], 1, RGB(0, 0, 128));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, 10, 20 + i * 6, nullptr);
        LineTo(dc, 90, 20 + i * 6);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    HPEN wide = CreatePen(PS_SOLID, 4, RGB(200, 0, 0));
    HGDIOBJ old = SelectObject(dc, wide);
    const POINT zig[] = {{10, 60}, {30, 80}, {50, 60}, {70, 80}, {90, 60}};
    Polyline(dc, zig, 5);
    SelectObject(dc, old);
    DeleteObject(wide);
    const POINT bez[] = {{10, 95}, {30, 70}, {70, 120}, {90, 95}};
    PolyBezier(dc, bez, 4);
}

void Shapes(HDC dc) {
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    HGDIOBJ old = SelectObject(dc, yellow);
    Rectangle(dc, 110, 20, 150, 50);
    Ellipse(dc, 160, 20, 210, 50);
    RoundRect(dc, 220, 20, 270, 50, 16, 16);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 280, 20, 310, 50);
    SelectObject(dc, yellow);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    Arc(dc, 110, 60, 150, 100, 150, 80, 130, 60);
    Pie(dc, 160, 60, 200, 100, 200, 80, 180, 60);
    Chord(dc, 210, 60, 250, 100, 250, 70, 210, 70);
    const POINT star[] = {{280, 60}, {292, 98}, {262, 74}, {298, 74}, {268, 98}};
    SetPolyFillMode(dc, ALTERNATE);
    Polygon(dc, star, 5);
    SelectObject(dc, old);
    DeleteObject(yellow);
}

void Brushes(HDC dc) {
    for (int h = HS_HORIZONTAL; h <= HS_DIAGCROSS; ++h) {
        HBRUSH hatch = CreateHatchBrush(h, RGB(0, 128, 0));
        const RECT r{10 + h * 16, 130, 24 + h * 16, 160};
        FillRect(dc, &r, hatch);
        DeleteObject(hatch);
    }
    const BYTE checker[] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, checker);
    HBRUSH brush = CreatePatternBrush(pattern);
    SetTextColor(dc, RGB(128, 0, 128));
    SetBkColor(dc, RGB(255, 200, 255));
    const RECT r{110, 130, 150, 160};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    DeleteObject(pattern);
    HRGN a = CreateEllipticRgn(160, 125, 200, 165), b = CreateRectRgn(180, 135, 215, 160);
    CombineRgn(a, a, b, RGN_XOR);
    FillRgn(dc, a, GetSysColorBrush(COLOR_HIGHLIGHT));
    FrameRgn(dc, a, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
    DeleteObject(a);
    DeleteObject(b);
    const RECT focus{225, 130, 265, 160};
    DrawFocusRect(dc, &focus);
    const RECT inv{275, 130, 310, 160};
    InvertRect(dc, &inv);
}

void Edges(HDC dc) {
    const UINT edges[] = {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP};
    for (int i = 0; i < 4; ++i) {
        RECT r{10 + i * 36, 185, 40 + i * 36, 215};
        DrawEdge(dc, &r, edges[i], BF_RECT | BF_MIDDLE);
    }
    RECT push{160, 185, 200, 215};
    DrawFrameControl(dc, &push, DFC_BUTTON, DFCS_BUTTONPUSH);
    RECT check{205, 190, 218, 203};
    DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    RECT radio{222, 190, 234, 202};
    DrawFrameControl(dc, &radio, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    RECT up{240, 185, 256, 201};
    DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP);
    RECT close{260, 185, 276, 199};
    DrawFrameControl(dc, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    RECT max{280, 185, 296, 199};
    DrawFrameControl(dc, &max, DFC_CAPTION, DFCS_CAPTIONMAX);
}

void Texts(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    HFONT arial = Font("Arial", -16, 0, FW_BOLD);
    HGDIOBJ old = SelectObject(dc, arial);
    SetTextColor(dc, RGB(0, 0, 160));
    TextOut(dc, 330, 20, "Arial \xE0\xE8\xEC \x80", 11);
    HFONT rotated = Font("Arial", -12, 450);
    SelectObject(dc, rotated);
    TextOut(dc, 340, 130, "Ruotato 45", 10);
    HFONT sans = Font("MS Sans Serif", -11, 0, FW_NORMAL, 1);
    SelectObject(dc, sans);
    SetTextColor(dc, kBlack);
    RECT box{330, 45, 470, 95};
    DrawText(dc, "&Inizia importazione dati, con testo che va a capo", -1, &box, DT_WORDBREAK | DT_CENTER);
    HFONT big = Font("Arial", -22, 0, FW_BOLD);
    SelectObject(dc, big);
    BeginPath(dc);
    TextOut(dc, 400, 100, "Path", 4);
    EndPath(dc);
    StrokePath(dc);
    HFONT test = Font(GDI_TEST_FACE, -8);
    SelectObject(dc, test);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 255, 160));
    TextOut(dc, 330, 150, "Test face", 9);
    SelectObject(dc, old);
    for (HFONT f : {arial, rotated, sans, big, test})
        DeleteObject(f);
}

void Blits(HDC dc) {
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 8, 8);
    HGDIOBJ old = SelectObject(mem, bmp);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            SetPixel(mem, x, y, RGB(x * 32, y * 32, 128));
    StretchBlt(dc, 330, 185, 32, 32, mem, 0, 0, 8, 8, SRCCOPY);
    StretchBlt(dc, 400, 185, -32, 32, mem, 0, 0, 8, 8, SRCCOPY);
    BitBlt(dc, 410, 185, 8, 8, mem, 0, 0, SRCINVERT);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

} // namespace

TEST(Demo, EveryPrimitiveSavedAsPng) {
    Surface surface(480, 230, 0xFFFFFF);
    HDC dc = GdiCreateSurfaceDC(&surface, POINT{0, 0}, nullptr);
    ASSERT_NE(nullptr, dc);
    Label(dc, 10, 4, "Lines");
    Lines(dc);
    Label(dc, 110, 4, "Shapes");
    Shapes(dc);
    Label(dc, 10, 114, "Brushes and regions");
    Brushes(dc);
    Label(dc, 10, 170, "Edges and frame controls");
    Edges(dc);
    Label(dc, 330, 4, "Text");
    Texts(dc);
    Blits(dc);
    GdiDeleteSurfaceDC(dc);
    const std::string path = DemoPath();
    ASSERT_TRUE(SaveSurfacePng(surface, path));
    EXPECT_TRUE(std::filesystem::file_size(path) > 1000);
    auto inked = [&](int l, int t, int r, int b) {
        int count = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                count += surface.Pixel(x, y) != 0xFFFFFF;
        return count;
    };
    EXPECT_GT(inked(10, 18, 90, 100), 200);   // lines
    EXPECT_GT(inked(110, 18, 310, 100), 2000);  // shapes
    EXPECT_GT(inked(10, 128, 310, 162), 1500);  // brushes and regions
    EXPECT_GT(inked(10, 185, 300, 215), 2000);  // edges
    EXPECT_GT(inked(330, 18, 470, 100), 150);   // text
    EXPECT_GT(inked(330, 185, 420, 217), 1500); // blits
}
