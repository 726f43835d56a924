// Gradients of unit Oblutils.
#include "obl/core/draw/Oblutils.h"

#include "obl/core/draw/OblutilsShared.h"
#include "platform/rtl/Arith.h"
#include "platform/win/gdi/Gdi.h"

#include <memory>
#include <vector>

namespace {

int Channel(TColor color, int shift) { return static_cast<int>((static_cast<DWORD>(color) >> shift) & 0xFF); }

void* ColorItem(COLORREF color) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(color)); }

// The base rectangle of a style, relative to a W x H area.
TRect BaseRect(TOBLGradientStyle style, int w, int h)
{
    switch (style) {
    case gstSquare:
    case gstElliptic:
        return Rect(w / 2, h / 2, w / 2, h / 2);
    case gstTopLeft:
    case gstTopLeftDiagonal:
        return Rect(0, 0, 1, 1);
    case gstTopRight:
        return Rect(w, 1, w + 1, 0);
    case gstBottomLeft:
        return Rect(1, h, 0, h + 1);
    case gstBottomRight:
        return Rect(w, h, w + 1, h + 1);
    case gstTopRightDiagonal:
        return Rect(w, 0, w + 1, 0);
    default:
        return Rect(0, 0, w, h);
    }
}

// Colour i of n as a shape of the style; e and n scale the shape with the colour's rank.
void PaintShape(TCanvas* c, TOBLGradientStyle style, const TRect& g, int i, int count, int w, int h)
{
    int e = MulDiv(i + 1, w, count), n = MulDiv(i + 1, h, count);
    int cx = g.left, cy = g.top;
    switch (style) {
    case gstVertical:
        c->FillRect(Rect(g.left, g.top + MulDiv(i, h, count), g.right, g.top + n));
        break;
    case gstSquare:
        c->Rectangle(cx - e / 2, cy - n / 2, cx + e / 2 + 2, cy + n / 2 + 2);
        break;
    case gstElliptic: {
        int a = static_cast<int>(Round(e / 1.4)), b = static_cast<int>(Round(n / 1.4));
        c->Ellipse(cx - a, cy - b, cx + a, cy + b);
        break;
    }
    case gstTopLeft:
        c->Rectangle(g.left, g.top, g.right + e, g.bottom + n);
        break;
    case gstTopRight:
        c->Rectangle(g.left - e, g.top + n, g.right, g.bottom);
        break;
    case gstBottomLeft:
        c->Rectangle(g.left + e, g.top - n, g.right, g.bottom);
        break;
    case gstBottomRight:
        c->Rectangle(g.left - e, g.top - n, g.right, g.bottom);
        break;
    case gstTopLeftDiagonal:
        c->Polygon({{g.left, g.top}, {g.left + 2 * e, g.top}, {g.left, g.bottom + 2 * n},
                    {g.left - 2 * e, g.bottom + 2 * n}});
        break;
    case gstTopRightDiagonal:
        c->Polygon({{g.right, g.top}, {g.right - 2 * e, g.top}, {g.right, g.bottom + 2 * n},
                    {g.right + 2 * e, g.bottom + 2 * n}});
        break;
    default:
        break;
    }
}

void PaintColors(TCanvas* c, TOBLGradientStyle style, const TRect& g, TList* list, int w, int h)
{
    int count = list->Count();
    c->Brush()->SetStyle(bsSolid);
    c->Pen()->SetStyle(psClear);
    if (style == gstHorizontal) {
        for (int i = 0; i < count; ++i) {
            c->Brush()->SetColor(OBLGradientColorAt(list, i));
            c->FillRect(Rect(g.left + MulDiv(i, w, count), g.top, g.left + MulDiv(i + 1, w, count), g.bottom));
        }
        return;
    }
    // Largest shape first, so the smaller ones lie on top.
    for (int i = count - 1; i >= 0; --i) {
        c->Brush()->SetColor(OBLGradientColorAt(list, i));
        PaintShape(c, style, g, i, count, w, h);
    }
}

// Clips the canvas to a rectangle for its lifetime, the caller's clip region coming back
// afterwards; no clip when not asked for.
class ClipScope {
public:
    ClipScope(TCanvas* canvas, const TRect& rect, int offset, bool wanted)
    {
        if (!wanted)
            return;
        POINT shift = OBLUnpackOffset(offset);
        RECT clip{rect.left + shift.x, rect.top + shift.y, rect.right + shift.x, rect.bottom + shift.y};
        scope_.Select(canvas->Handle(), clip);
    }

private:
    ClipRegionScope scope_;
};

void PaintOffscreen(TCanvas* canvas, const TRect& rect, TOBLGradientStyle style, TList* list, HPALETTE palette)
{
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    auto surface = std::make_unique<TBitmap>();
    surface->SetSize(w, h);
    {
        RealizedPalette realized(surface->Canvas(), palette);
        PaintColors(surface->Canvas(), style, BaseRect(style, w, h), list, w, h);
    }
    RealizedPalette realized(canvas, palette);
    canvas->Draw(rect.left, rect.top, surface.get());
}

void PaintDirect(TCanvas* canvas, const TRect& rect, TOBLGradientStyle style, TList* list, HPALETTE palette,
                 WORD flags, int offset)
{
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    TRect g = BaseRect(style, w, h);
    OffsetRect(&g, rect.left, rect.top);
    ClipScope clip(canvas, rect, offset, (flags & OBLGradClip) != 0);
    RealizedPalette realized(canvas, palette);
    PaintColors(canvas, style, g, list, w, h);
}

} // namespace

TColor OBLGradientGetColor(TColor a, TColor b, int step, int steps)
{
    if (steps == 0)
        return static_cast<TColor>(RGB(Channel(a, 0), Channel(a, 8), Channel(a, 16)));
    auto mix = [&](int shift) {
        int from = Channel(a, shift), to = Channel(b, shift);
        return static_cast<BYTE>(from + static_cast<int>(static_cast<double>(step) * (to - from) / steps));
    };
    return static_cast<TColor>(RGB(mix(0), mix(8), mix(16)));
}

void OBLGradientCreateColorList(TColor a, TColor b, std::uint8_t count, TList* list, bool clearFirst)
{
    if (!list || count == 0)
        return;
    if (clearFirst)
        list->Clear();
    COLORREF from = ColorToRGB(a), to = ColorToRGB(b);
    int last = count - 1;
    auto channel = [&](int n, int shift) {
        int start = Channel(static_cast<TColor>(from), shift), end = Channel(static_cast<TColor>(to), shift);
        // A single colour has no way to go: it is the start colour.
        return static_cast<BYTE>(last == 0 ? start : start + MulDiv(n, end - start, last));
    };
    for (int n = clearFirst ? 0 : 1; n <= last; ++n)
        list->Add(ColorItem(RGB(channel(n, 0), channel(n, 8), channel(n, 16))));
}

HPALETTE OBLGradientCreatePalette(TList* list)
{
    if (!list || list->Count() == 0)
        return nullptr;
    int count = list->Count();
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + static_cast<std::size_t>(count) * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(buffer.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(count);
    for (int i = 0; i < count; ++i) {
        TColor c = OBLGradientColorAt(list, i);
        log->palPalEntry[i] = {static_cast<BYTE>(Channel(c, 0)), static_cast<BYTE>(Channel(c, 8)),
                               static_cast<BYTE>(Channel(c, 16)), PC_NOCOLLAPSE};
    }
    return CreatePalette(log);
}

void OBLGradientPaintExt(TCanvas* canvas, const TRect& rect, TOBLGradientStyle style, TList* list,
                         HPALETTE palette, WORD flags, int offset)
{
    if (!canvas || !list || list->Count() == 0 || IsRectEmpty(&rect))
        return;
    HPALETTE used = OBLPaletteWanted(flags) ? palette : nullptr;
    if (flags & OBLGradOffscreen)
        PaintOffscreen(canvas, rect, style, list, used);
    else
        PaintDirect(canvas, rect, style, list, used, flags, offset);
}

void OBLGradientPaint(TCanvas* canvas, const TRect& rect, TColor a, TColor b, std::uint8_t count,
                      TOBLGradientStyle style, WORD flags, int offset)
{
    auto list = std::make_unique<TList>();
    OBLGradientCreateColorList(a, b, count, list.get(), true);
    HPALETTE palette = (flags & OBLGradPalette) ? OBLGradientCreatePalette(list.get()) : nullptr;
    struct DeletePalette {
        HPALETTE palette;
        ~DeletePalette()
        {
            if (palette)
                DeleteObject(palette);
        }
    } deletePalette{palette};
    OBLGradientPaintExt(canvas, rect, style, list.get(), palette, flags, offset);
}

void OBLSuperGradientPaint(TCanvas* canvas, const TRect& rect, const TColor* colors, int colorCount,
                           std::uint8_t count, TOBLGradientStyle style, WORD flags, int offset)
{
    if (!colors)
        return;
    int high = colorCount - 1;
    auto list = std::make_unique<TList>();
    for (int k = 0; k < high; ++k)
        OBLGradientCreateColorList(colors[k], colors[k + 1], static_cast<std::uint8_t>(count / high), list.get(),
                                   false);
    OBLGradientPaintExt(canvas, rect, style, list.get(), nullptr, flags, offset);
}
