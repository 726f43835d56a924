// Pens, brushes, stock objects and GetObject.
#include "platform/win/gdi/DeviceContext.h"

#include <cstring>
#include <map>

namespace {

HPEN NewPen(UINT style, int width, COLORREF color, bool extended) {
    auto pen = std::make_unique<PenObj>();
    pen->style = style;
    pen->width = width < 1 ? 1 : width;
    pen->color = color;
    pen->extended = extended;
    return static_cast<HPEN>(GdiInsertObject(std::move(pen)));
}

// 8x8 hatch patterns, one byte per row, most significant bit leftmost.
const BYTE kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal (top-left to bottom-right)
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

std::unique_ptr<BrushObj> BrushFromBitmap(const BitmapObj& bitmap) {
    auto brush = std::make_unique<BrushObj>();
    brush->style = BS_PATTERN;
    brush->patternWidth = bitmap.width;
    brush->patternHeight = bitmap.height;
    brush->monoPattern = bitmap.bpp == 1;
    BitmapObj copy = *CloneBitmap(bitmap);
    const PixelBuffer buffer = copy.Buffer();
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            brush->pattern.push_back(brush->monoPattern ? buffer.Index(x, y) : buffer.Get(x, y));
    return brush;
}

} // namespace

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < 0 || style > static_cast<int>(PS_INSIDEFRAME))
        return nullptr;
    return NewPen(static_cast<UINT>(style), width, color, false);
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    return pen ? CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor) : nullptr;
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
    if (!brush)
        return nullptr;
    const bool user = (style & PS_STYLE_MASK) == PS_USERSTYLE;
    if (user && (styleCount == 0 || styleCount > 16 || !styles))
        return nullptr;
    const COLORREF color = brush->lbStyle == BS_NULL ? 0 : brush->lbColor;
    const DWORD kind = brush->lbStyle == BS_NULL ? (style & ~PS_STYLE_MASK) | PS_NULL : style;
    // Cosmetic pens are always one pixel wide.
    const int w = (style & PS_TYPE_MASK) == PS_GEOMETRIC ? static_cast<int>(width) : 1;
    HPEN pen = NewPen(kind, w, color, true);
    if (user)
        LookupPen(pen)->userStyle.assign(styles, styles + styleCount);
    return pen;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto brush = std::make_unique<BrushObj>();
    brush->style = BS_SOLID;
    brush->color = color;
    return static_cast<HBRUSH>(GdiInsertObject(std::move(brush)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    auto brush = std::make_unique<BrushObj>();
    brush->style = BS_HATCHED;
    brush->color = color;
    brush->hatch = hatch;
    brush->patternWidth = brush->patternHeight = 8;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            brush->pattern.push_back((kHatches[hatch][y] >> (7 - x)) & 1);
    return static_cast<HBRUSH>(GdiInsertObject(std::move(brush)));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    BitmapObj* b = LookupBitmap(bitmap);
    if (!b || b->width <= 0 || b->height <= 0)
        return nullptr;
    return static_cast<HBRUSH>(GdiInsertObject(BrushFromBitmap(*b)));
}

HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage) {
    if (!packedDib)
        return nullptr;
    const auto* info = static_cast<const BITMAPINFO*>(packedDib);
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const DWORD colors = h.biBitCount <= 8 ? (h.biClrUsed ? h.biClrUsed : 1u << h.biBitCount) : 0;
    const auto* bits = reinterpret_cast<const BYTE*>(packedDib) + h.biSize + colors * sizeof(RGBQUAD);
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &h, CBM_INIT, bits, info, usage);
    DeleteDC(screen);
    HBRUSH brush = CreatePatternBrush(bitmap);
    DeleteObject(bitmap);
    return brush;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush)
        return nullptr;
    switch (brush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(brush->lbColor);
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    case BS_NULL: {
        auto b = std::make_unique<BrushObj>();
        b->style = BS_NULL;
        return static_cast<HBRUSH>(GdiInsertObject(std::move(b)));
    }
    default: return nullptr;
    }
}

// ---------------------------------------------------------------- stock objects

namespace {

HGDIOBJ MakeStock(int index) {
    HGDIOBJ h = nullptr;
    auto font = [](LONG height, LONG weight, const char* face, BYTE pitch) {
        LOGFONTA lf{};
        lf.lfHeight = height;
        lf.lfWeight = weight;
        lf.lfPitchAndFamily = pitch;
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        return CreateFontIndirectA(&lf);
    };
    switch (index) {
    case WHITE_BRUSH: h = CreateSolidBrush(0xFFFFFF); break;
    case LTGRAY_BRUSH: h = CreateSolidBrush(0xC0C0C0); break;
    case GRAY_BRUSH: h = CreateSolidBrush(0x808080); break;
    case DKGRAY_BRUSH: h = CreateSolidBrush(0x404040); break;
    case BLACK_BRUSH: h = CreateSolidBrush(0); break;
    case NULL_BRUSH: {
        LOGBRUSH lb{BS_NULL, 0, 0};
        h = CreateBrushIndirect(&lb);
        break;
    }
    case WHITE_PEN: h = CreatePen(PS_SOLID, 1, 0xFFFFFF); break;
    case BLACK_PEN: h = CreatePen(PS_SOLID, 1, 0); break;
    case NULL_PEN: h = CreatePen(PS_NULL, 1, 0); break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT: h = font(-13, FW_NORMAL, "Courier New", FIXED_PITCH | FF_MODERN); break;
    case ANSI_VAR_FONT:
    case DEFAULT_GUI_FONT: h = font(-11, FW_NORMAL, "MS Sans Serif", VARIABLE_PITCH | FF_SWISS); break;
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT: h = font(16, FW_BOLD, "System", VARIABLE_PITCH | FF_SWISS); break;
    case DEFAULT_PALETTE: {
        const std::vector<RGBQUAD>& table = StandardColorTable16();
        std::vector<BYTE> block(sizeof(LOGPALETTE) + 20 * sizeof(PALETTEENTRY));
        auto* pal = reinterpret_cast<LOGPALETTE*>(block.data());
        pal->palVersion = 0x300;
        pal->palNumEntries = 16;
        for (int i = 0; i < 16; ++i)
            pal->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
        h = CreatePalette(pal);
        break;
    }
    case DC_BRUSH: h = CreateSolidBrush(0xFFFFFF); break;
    case DC_PEN: h = CreatePen(PS_SOLID, 1, 0); break;
    default: return nullptr;
    }
    if (GdiObject* object = GdiLookupObject(h))
        object->stock = true;
    return h;
}

} // namespace

HGDIOBJ StockObject(int index) {
    static std::map<int, HGDIOBJ> stock;
    auto it = stock.find(index);
    if (it != stock.end())
        return it->second;
    HGDIOBJ h = MakeStock(index);
    if (h)
        stock.emplace(index, h);
    return h;
}

HGDIOBJ GetStockObject(int index) { return StockObject(index); }

HBITMAP DefaultMemoryBitmap() {
    static HBITMAP bitmap = [] {
        HBITMAP b = CreateBitmap(1, 1, 1, 1, nullptr);
        GdiLookupObject(b)->stock = true;
        return b;
    }();
    return bitmap;
}

// ---------------------------------------------------------------- GetObject

namespace {

template <class T>
int CopyOut(const T& value, int size, LPVOID buffer) {
    if (!buffer)
        return sizeof(T);
    const int n = size < static_cast<int>(sizeof(T)) ? size : static_cast<int>(sizeof(T));
    if (n <= 0)
        return 0;
    std::memcpy(buffer, &value, static_cast<std::size_t>(n));
    return n;
}

BITMAP BitmapInfo(BitmapObj& b) {
    BITMAP bm{};
    bm.bmType = 0;
    bm.bmWidth = b.width;
    bm.bmHeight = b.height;
    // Device bitmaps report word-aligned rows, DIB sections their own padded rows.
    bm.bmWidthBytes = b.dibSection ? b.stride : ((b.width * b.bpp + 15) / 16) * 2;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(b.bpp);
    bm.bmBits = b.dibSection ? b.bits.data() : nullptr;
    return bm;
}

} // namespace

int GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
    GdiObject* object = GdiLookupObject(handle);
    if (!object)
        return 0;
    switch (object->kind) {
    case GdiKind::Pen: {
        auto* pen = static_cast<PenObj*>(object);
        LOGPEN lp{pen->style, {pen->width, 0}, pen->color};
        return CopyOut(lp, size, buffer);
    }
    case GdiKind::Brush: {
        auto* brush = static_cast<BrushObj*>(object);
        LOGBRUSH lb{brush->style, brush->color, static_cast<UINT_PTR>(brush->hatch)};
        return CopyOut(lb, size, buffer);
    }
    case GdiKind::Font: return CopyOut(static_cast<FontObj*>(object)->logFont, size, buffer);
    case GdiKind::Palette: {
        const WORD count = static_cast<WORD>(static_cast<PaletteObj*>(object)->entries.size());
        return CopyOut(count, size, buffer);
    }
    case GdiKind::Bitmap: {
        auto* b = static_cast<BitmapObj*>(object);
        if (b->dibSection && size >= static_cast<int>(sizeof(DIBSECTION))) {
            DIBSECTION ds{};
            ds.dsBm = BitmapInfo(*b);
            ds.dsBmih = {sizeof(BITMAPINFOHEADER), b->width, b->bottomUp ? b->height : -b->height, 1,
                         static_cast<WORD>(b->bpp), BI_RGB, static_cast<DWORD>(b->bits.size()), 0, 0,
                         static_cast<DWORD>(b->colors.size()), 0};
            return CopyOut(ds, size, buffer);
        }
        return CopyOut(BitmapInfo(*b), size, buffer);
    }
    default: return 0;
    }
}
