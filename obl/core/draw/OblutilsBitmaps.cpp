// Bitmap drawing of unit Oblutils.
#include "obl/core/draw/Oblutils.h"

#include "obl/core/base/Oblprocs.h"
#include "obl/core/draw/OblutilsShared.h"
#include "platform/rtl/Arith.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/User.h"

#include <memory>
#include <vector>

namespace {

int RectWidth(const TRect& r) { return r.right - r.left; }
int RectHeight(const TRect& r) { return r.bottom - r.top; }

// A stretched placement; a source without area gives no proportions, so it fills the
// destination.
TRect StretchPlacement(const TRect& d, int sw, int sh, WORD flags)
{
    WORD aspect = flags & OBLBmpKeepAspect;
    if (aspect == 0 || sw <= 0 || sh <= 0)
        return d;
    if (aspect == OBLBmpKeepAspect) {
        TRect fit = OBLAffineRect(Rect(0, 0, sw, sh), Rect(0, 0, RectWidth(d), RectHeight(d)));
        OffsetRect(&fit, d.left, d.top);
        return fit;
    }
    if (aspect == OBLBmpKeepWidth)
        return Rect(d.left, d.top, d.right,
                    d.top + static_cast<int>(Round(static_cast<double>(RectWidth(d)) / sw * sh)));
    return Rect(d.left, d.top, d.left + static_cast<int>(Round(static_cast<double>(RectHeight(d)) / sh * sw)),
                d.bottom);
}

TRect Placement(const TRect& d, int sw, int sh, WORD flags)
{
    if (flags & OBLBmpCenter) {
        int x = d.left + (RectWidth(d) - sw) / 2, y = d.top + (RectHeight(d) - sh) / 2;
        return Rect(x, y, x + sw, y + sh);
    }
    if (flags & OBLBmpStretch)
        return StretchPlacement(d, sw, sh, flags);
    return Rect(d.left, d.top, d.left + sw, d.top + sh);
}

// The rectangles drawn: the placement, or the tiles from the destination's top-left.
std::vector<TRect> Targets(const TRect& d, const TRect& placement, int sw, int sh, WORD flags)
{
    if ((flags & OBLBmpTile) == 0)
        return {placement};
    std::vector<TRect> tiles;
    if (sw <= 0 || sh <= 0)
        return tiles;
    for (int row = 0; row <= RectHeight(d) / sh; ++row)
        for (int col = 0; col <= RectWidth(d) / sw; ++col) {
            int x = d.left + col * sw, y = d.top + row * sh;
            tiles.push_back(Rect(x, y, x + sw, y + sh));
        }
    return tiles;
}

// Mask ANDed, then image ORed: the destination shows where the mask is white.
void DrawMasked(TCanvas* canvas, const std::vector<TRect>& targets, TCanvas* image, TCanvas* mask,
                const TRect& sourceRect)
{
    HDC dc = canvas->Handle();
    TCopyMode oldMode = canvas->CopyMode();
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    struct Restore {
        TCanvas* canvas; HDC dc; TCopyMode mode; COLORREF back, text;
        ~Restore()
        {
            canvas->SetCopyMode(mode);
            SetBkColor(dc, back);
            SetTextColor(dc, text);
        }
    } restore{canvas, dc, oldMode, oldBack, oldText};
    for (const TRect& t : targets) {
        canvas->SetCopyMode(cmSrcAnd);
        canvas->CopyRect(t, mask, sourceRect);
        canvas->SetCopyMode(cmSrcPaint);
        canvas->CopyRect(t, image, sourceRect);
    }
}

// The image bitmap owns its palette, so it gets a copy of the caller's.
HPALETTE CopyPalette(HPALETTE palette)
{
    UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
    if (count == 0)
        return nullptr;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(buffer.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(count);
    GetPaletteEntries(palette, 0, count, log->palPalEntry);
    return CreatePalette(log);
}

void DrawTransparent(TCanvas* canvas, const std::vector<TRect>& targets, TCanvas* source, const TRect& s,
                     TColor color, HPALETTE palette)
{
    auto mask = std::make_unique<TBitmap>();
    auto image = std::make_unique<TBitmap>();
    if (palette)
        image->SetPalette(CopyPalette(palette));
    OBLBmpCreateMasksExt(source, s, mask.get(), image.get(), color);
    DrawMasked(canvas, targets, image->Canvas(), mask->Canvas(), Rect(0, 0, RectWidth(s), RectHeight(s)));
}

void DrawTargets(TCanvas* canvas, const std::vector<TRect>& targets, TCanvas* source, const TRect& s, WORD flags,
                 TColor color, HPALETTE palette, TPersistent* mask)
{
    if (flags & OBLBmpBrushCopy) {
        auto* bitmap = dynamic_cast<TBitmap*>(mask);
        if (!bitmap)
            return;
        canvas->Brush()->SetColor(color);
        for (const TRect& t : targets)
            canvas->BrushCopy(t, bitmap, s, bitmap->TransparentColor());
        return;
    }
    if (!source)
        return;
    auto* maskCanvas = dynamic_cast<TCanvas*>(mask);
    if ((flags & OBLBmpMasked) && maskCanvas)
        DrawMasked(canvas, targets, source, maskCanvas, s);
    else if (flags & OBLBmpTransparent)
        DrawTransparent(canvas, targets, source, s, color, palette);
    else
        for (const TRect& t : targets)
            canvas->CopyRect(t, source, s);
}

bool PenParked(TBitmap* bitmap) { return bitmap->Canvas()->PenPos().x == -1; }

// A monochrome copy: white where the image has the colour, black elsewhere.
std::unique_ptr<TBitmap> MonochromeOf(TBitmap* source, TColor color)
{
    auto mono = std::make_unique<TBitmap>();
    mono->SetMonochrome(true);
    mono->SetSize(source->Width(), source->Height());
    HDC from = source->Canvas()->Handle();
    COLORREF oldBack = SetBkColor(from, ColorToRGB(color));
    BitBlt(mono->Canvas()->Handle(), 0, 0, source->Width(), source->Height(), from, 0, 0, SRCCOPY);
    SetBkColor(from, oldBack);
    return mono;
}

} // namespace

TRect OBLBmpDrawExt(TCanvas* canvas, const TRect& dest, TCanvas* source, const TRect& sourceRect, WORD flags,
                    TColor color, HPALETTE palette, TPersistent* mask)
{
    if (!canvas || IsRectEmpty(&dest))
        return Rect(0, 0, 0, 0);
    int sw = RectWidth(sourceRect), sh = RectHeight(sourceRect);
    TRect placement = Placement(dest, sw, sh, flags);
    TRect result = IsRectEmpty(&placement) ? dest : placement;
    if (flags & OBLBmpStretch)
        SetStretchBltMode(canvas->Handle(), COLORONCOLOR);
    DrawTargets(canvas, Targets(dest, placement, sw, sh, flags), source, sourceRect, flags, color, palette, mask);
    return result;
}

TRect OBLBmpDraw(TCanvas* canvas, const TRect& dest, TBitmap* bitmap, WORD flags, TColor color)
{
    if (!bitmap || PenParked(bitmap))
        return Rect(0, 0, 0, 0);
    TRect s = Rect(0, 0, bitmap->Width(), bitmap->Height());
    bool brushCopy = (flags & OBLBmpBrushCopy) != 0;
    TCanvas* source = brushCopy ? nullptr : bitmap->Canvas();
    TPersistent* mask = brushCopy ? bitmap : nullptr;
    if (!OBLPaletteWanted(flags))
        return OBLBmpDrawExt(canvas, dest, source, s, flags, color, nullptr, mask);
    RealizedPalette realized(canvas, bitmap->Palette());
    return OBLBmpDrawExt(canvas, dest, source, s, flags, color, brushCopy ? nullptr : bitmap->Palette(), mask);
}

void OBLBmpStretchDraw(TCanvas* canvas, const TRect& dest, TBitmap* bitmap)
{
    OBLBmpDraw(canvas, dest, bitmap, OBLBmpRealizePalette | OBLBmpStretch, 0);
}

void OBLBmpClipDraw(TCanvas* canvas, const TRect& dest, TBitmap* bitmap, WORD flags, int offset, TColor color)
{
    if (!bitmap || PenParked(bitmap))
        return;
    TRect s = Rect(0, 0, bitmap->Width(), bitmap->Height());
    bool brushCopy = (flags & OBLBmpBrushCopy) != 0;
    RealizedPalette realized(canvas, OBLPaletteWanted(flags) ? bitmap->Palette() : nullptr);
    OBLBmpClipDrawExt(canvas, dest, brushCopy ? nullptr : bitmap->Canvas(), s, flags, offset, color,
                      brushCopy ? static_cast<TPersistent*>(bitmap) : nullptr);
}

void OBLBmpClipDrawExt(TCanvas* canvas, const TRect& dest, TCanvas* source, const TRect& sourceRect, WORD flags,
                       int offset, TColor color, TPersistent* mask)
{
    if (!canvas)
        return;
    if ((flags & OBLBmpClip) == 0) {
        OBLBmpDrawExt(canvas, dest, source, sourceRect, flags, color, nullptr, mask);
        return;
    }
    TRect clip = dest;
    POINT shift = OBLUnpackOffset(offset);
    OffsetRect(&clip, shift.x, shift.y);
    ClipRegionScope clipScope(canvas->Handle(), clip);
    OBLBmpDrawExt(canvas, dest, source, sourceRect, flags, color, nullptr, mask);
}

void OBLBmpCreateMasksExt(TCanvas* canvas, const TRect& rect, TBitmap* mask, TBitmap* image,
                          TColor transparentColor)
{
    if (!canvas || !mask || !image)
        return;
    int w = RectWidth(rect), h = RectHeight(rect);
    image->SetSize(w, h);
    BitBlt(image->Canvas()->Handle(), 0, 0, w, h, canvas->Handle(), rect.left, rect.top, SRCCOPY);
    mask->SetSize(w, h);
    BitBlt(mask->Canvas()->Handle(), 0, 0, w, h, canvas->Handle(), rect.left, rect.top, SRCCOPY);
    mask->Mask(transparentColor);
    HDC imageDc = image->Canvas()->Handle();
    SetBkColor(imageDc, RGB(0, 0, 0));
    SetTextColor(imageDc, RGB(255, 255, 255));
    BitBlt(imageDc, 0, 0, w, h, mask->Canvas()->Handle(), 0, 0, SRCAND);
}

void OBLBmpCreateMasks(TBitmap* source, TBitmap* mask, TBitmap* image, TColor transparentColor)
{
    if (!source)
        return;
    OBLBmpCreateMasksExt(source->Canvas(), Rect(0, 0, source->Width(), source->Height()), mask, image,
                         transparentColor);
}

void OBLMaskBmpDraw(TCanvas* canvas, const TRect& dest, TBitmap* b, TBitmap* t, TColor color1, TColor color2)
{
    TColor rgb1 = static_cast<TColor>(ColorToRGB(color1));
    TColor rgb2 = static_cast<TColor>(ColorToRGB(color2));
    if (!canvas || !b || !t)
        return;
    auto image = std::make_unique<TBitmap>();
    image->SetSize(b->Width(), b->Height());
    OBLBmpCreateMasks(b, b, image.get(), rgb2);
    OBLBmpDrawExt(t->Canvas(), Rect(0, 0, t->Width(), t->Height()), image->Canvas(),
                  Rect(0, 0, image->Width(), image->Height()), OBLBmpMasked, rgb2, nullptr, b->Canvas());
    OBLBmpDrawExt(canvas, dest, t->Canvas(), Rect(0, 0, t->Width(), t->Height()),
                  OBLBmpRealizePalette | OBLBmpTransparent, rgb1, nullptr, nullptr);
}

void OBLBmpDrawDisabledState(TBitmap* target, TBitmap* source, int x, int y)
{
    if (!target || !source)
        return;
    auto mono = MonochromeOf(source, clBlack);
    TCanvas* canvas = target->Canvas();
    canvas->Brush()->SetColor(source->TransparentColor());
    canvas->FillRect(Rect(0, 0, target->Width(), target->Height()));
    const struct { int dx; TColor brush; } passes[] = {{1, clBtnHighlight}, {0, clBtnShadow}};
    for (const auto& pass : passes) {
        // Realizing the brush sets the background colour, so the colours come after it.
        canvas->Brush()->SetColor(pass.brush);
        HDC dc = canvas->Handle();
        SetBkColor(dc, RGB(255, 255, 255));
        SetTextColor(dc, RGB(0, 0, 0));
        BitBlt(dc, x + pass.dx, y + pass.dx, mono->Width(), mono->Height(), mono->Canvas()->Handle(), 0, 0,
               0x00E20746);
    }
}

void OBLBmpCreateGrayscale(TBitmap* target, TBitmap* source)
{
    if (!target || !source)
        return;
    target->Assign(source);
    int w = source->Width(), h = source->Height();
    if (w <= 0 || h <= 0)
        return;
    TCanvas* from = source->Canvas();
    TColor back = from->Pixels(0, 0);
    auto sumOf = [](TColor c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    long long sum = 0, count = 0;
    for (int px = 0; px < w; ++px)
        for (int py = 0; py < h; ++py)
            if (TColor c = from->Pixels(px, py); c != back) {
                sum += sumOf(c);
                ++count;
            }
    long long o = count ? -Round(200.0 - static_cast<double>(sum) / static_cast<double>(count)) : 0;
    TCanvas* to = target->Canvas();
    for (int px = 0; px < w; ++px)
        for (int py = 0; py < h; ++py) {
            TColor c = from->Pixels(px, py);
            if (c == back)
                continue;
            long long s = sumOf(c);
            TColor grey = s > o + 550 ? static_cast<TColor>(0xFFFFFF)
                        : s > o + 250 ? clBtnHighlight
                        : s > o + 50  ? clBtnShadow
                                      : clBlack;
            to->SetPixels(px, py, grey);
        }
}

void OBLBmpCreateFromRect(TBitmap* bitmap, const TRect& rect, TColor color)
{
    if (!bitmap || IsRectEmpty(&rect))
        return;
    bitmap->SetSize(RectWidth(rect), RectHeight(rect));
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->Brush()->SetStyle(bsSolid);
    bitmap->Canvas()->FillRect(Rect(0, 0, bitmap->Width(), bitmap->Height()));
}

void OBLCopyBmpSize(TBitmap* source, TBitmap* target)
{
    if (!source || !target)
        return;
    target->SetSize(source->Width(), source->Height());
}

void OBLFillPattern(HDC dc, const TRect& rect, TBitmap* bitmap)
{
    if (!dc || !bitmap)
        return;
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HBRUSH pattern = CreatePatternBrush(bitmap->Handle());
    SelectObject(dc, pattern);
    PatBlt(dc, rect.left, rect.top, RectWidth(rect), RectHeight(rect), 0x00A000C9);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pattern);
}

void OBLFillTexture(HDC dc, const TRect& rect, TBitmap* bitmap, const TPoint& offset)
{
    if (!dc || !bitmap || bitmap->Empty() || offset.x < 0 || offset.y < 0 || RectWidth(rect) < 1 ||
        RectHeight(rect) < 1)
        return;
    int bw = bitmap->Width(), bh = bitmap->Height();
    int ox = offset.x > bw ? offset.x % bw : offset.x;
    int oy = offset.y > bh ? offset.y % bh : offset.y;
    int w = RectWidth(rect), h = RectHeight(rect);
    auto strip = std::make_unique<TBitmap>();
    strip->SetSize(w, bh);
    HDC stripDc = strip->Canvas()->Handle();
    HDC imageDc = bitmap->Canvas()->Handle();
    for (int x = 0, from = ox; x < w; from = 0) {
        int piece = std::min(bw - from, w - x);
        BitBlt(stripDc, x, 0, piece, bh, imageDc, from, 0, SRCCOPY);
        x += piece;
    }
    for (int y = 0, from = oy; y < h; from = 0) {
        int piece = std::min(bh - from, h - y);
        BitBlt(dc, rect.left, rect.top + y, w, piece, stripDc, 0, from, SRCCOPY);
        y += piece;
    }
}

void OBLIcon2Bitmap(TBitmap* bitmap, TIcon* icon, TColor backColor)
{
    if (!bitmap || !icon)
        return;
    bitmap->SetSize(icon->Width(), icon->Height());
    OBLBmpCreateFromRect(bitmap, Rect(0, 0, icon->Width(), icon->Height()), backColor);
    bitmap->Canvas()->Draw(0, 0, icon);
}

void OBLBmpFromDesktop(TBitmap* bitmap, const TRect& screenRect)
{
    if (!bitmap || IsRectEmpty(&screenRect))
        return;
    int w = RectWidth(screenRect), h = RectHeight(screenRect);
    bitmap->SetSize(w, h);
    HDC screen = GetDC(nullptr);
    struct Release {
        HDC dc;
        ~Release() { ReleaseDC(nullptr, dc); }
    } release{screen};
    BitBlt(bitmap->Canvas()->Handle(), 0, 0, w, h, screen, screenRect.left, screenRect.top, SRCCOPY);
}
