#include "platform/win/gdi/Text.h"

#include "platform/win/gdi/Contours.h"
#include "platform/win/gdi/Path.h"
#include "platform/win/gdi/Raster.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

RealizedFont& DcFont(DcObj& dc) {
    FontObj* font = dc.Font();
    if (!font)
        font = LookupFont(StockObject(SYSTEM_FONT));
    if (!font->realized)
        font->realized = &RealizeFont(font->logFont);
    return *font->realized;
}

std::vector<int> CharAdvances(DcObj& dc, const char* text, int count, const INT* dx) {
    RealizedFont& font = DcFont(dc);
    std::vector<int> advances;
    for (int i = 0; i < count; ++i)
        advances.push_back(dx ? dx[i] : font.Advance(static_cast<unsigned char>(text[i])) + dc.state.charExtra);
    return advances;
}

int TextWidth(DcObj& dc, const char* text, int count) {
    int width = 0;
    for (int a : CharAdvances(dc, text, count, nullptr))
        width += a;
    return width;
}

namespace {

// The window as seen from a frame whose origin lies at (x, y) of the window's frame.
RECT SeenFrom(const RECT& window, long long x, long long y) {
    auto fit = [](long long v) { return static_cast<LONG>(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
    return RECT{fit(window.left - x), fit(window.top - y), fit(window.right - x), fit(window.bottom - y)};
}

// The run laid out in its own frame: (0, 0) is the top-left of the text cell.
struct RunLayout {
    int width = 0;
    int height = 0;
    PixelSet ink;
};

// The glyph pixels inside `window` (run frame) go into the ink; the whole text without one.
RunLayout Layout(DcObj& dc, const char* text, int count, const TextRunOptions& options,
                 const std::optional<RECT>& window = std::nullopt) {
    RealizedFont& font = DcFont(dc);
    const TEXTMETRICA& m = font.LayoutMetrics();
    const LOGFONTA& lf = dc.Font() ? dc.Font()->logFont : font.LogFont();
    const std::vector<int> advances = CharAdvances(dc, text, count, options.dx);
    RunLayout run;
    run.height = m.tmHeight;
    int pen = 0;
    std::vector<int> starts;
    for (int i = 0; i < count; ++i) {
        starts.push_back(pen);
        const auto c = static_cast<unsigned char>(text[i]);
        const GlyphBitmap& g = window ? font.GlyphPart(c, SeenFrom(*window, pen, m.tmAscent)) : font.Glyph(c);
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                if (g.bits[static_cast<std::size_t>(y) * g.width + x])
                    run.ink.Add(pen + g.left + x, m.tmAscent - g.top + y);
        pen += advances[static_cast<std::size_t>(i)];
    }
    starts.push_back(pen);
    run.width = pen;
    auto line = [&](int from, int to, int offset) {
        for (int t = 0; t < font.LineThickness(); ++t)
            for (int x = from; x < to; ++x)
                run.ink.Add(x, m.tmAscent + offset + t);
    };
    if (lf.lfUnderline)
        line(0, run.width, font.UnderlineOffset());
    if (lf.lfStrikeOut)
        line(0, run.width, font.StrikeOutOffset());
    for (int i : options.underlined)
        if (i >= 0 && i < count)
            line(starts[static_cast<std::size_t>(i)], starts[static_cast<std::size_t>(i)] +
                 font.Advance(static_cast<unsigned char>(text[i])), font.UnderlineOffset());
    return run;
}

POINT AlignOffset(const RunLayout& run, const TEXTMETRICA& m, UINT align) {
    POINT offset{0, 0};
    if ((align & TA_CENTER) == TA_CENTER)
        offset.x = -run.width / 2;
    else if (align & TA_RIGHT)
        offset.x = -run.width;
    if ((align & TA_BASELINE) == TA_BASELINE)
        offset.y = -m.tmAscent;
    else if (align & TA_BOTTOM)
        offset.y = -run.height;
    return offset;
}

// Maps the run onto the target turned counter-clockwise by `degrees` around the reference point.
void Rotate(const RunLayout& run, POINT reference, POINT offset, double degrees, bool opaque, Region* ink,
            Region* background) {
    const double r = degrees * 3.14159265358979323846 / 180.0, c = std::cos(r), s = std::sin(r);
    const Region local = run.ink.ToRegion();
    const double corners[4][2] = {{0, 0}, {double(run.width), 0}, {0, double(run.height)},
                                  {double(run.width), double(run.height)}};
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (const auto& k : corners) {
        const double lx = k[0] + offset.x, ly = k[1] + offset.y;
        const double tx = lx * c + ly * s, ty = -lx * s + ly * c;
        minX = std::min(minX, tx); maxX = std::max(maxX, tx);
        minY = std::min(minY, ty); maxY = std::max(maxY, ty);
    }
    PixelSet inkSet, backSet;
    for (int y = static_cast<int>(std::floor(minY)); y < static_cast<int>(std::ceil(maxY)); ++y)
        for (int x = static_cast<int>(std::floor(minX)); x < static_cast<int>(std::ceil(maxX)); ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double lx = px * c - py * s - offset.x, ly = px * s + py * c - offset.y;
            const int ix = static_cast<int>(std::floor(lx)), iy = static_cast<int>(std::floor(ly));
            if (ix < 0 || iy < 0 || ix >= run.width || iy >= run.height)
                continue;
            if (local.Contains(ix, iy))
                inkSet.Add(reference.x + x, reference.y + y);
            else if (opaque)
                backSet.Add(reference.x + x, reference.y + y);
        }
    *ink = inkSet.ToRegion();
    *background = backSet.ToRegion();
}

// Text in a path adds the outlines of its glyph pixels.
void AddToPath(DcObj& dc, const Region& ink) {
    for (const std::vector<POINT>& contour : RegionContours(ink))
        PathAddFigure(dc, contour, true);
}

// Unrotated text on a 32 bpp target, outside a path: the same pixels as painting
// the background and ink regions, written straight through the visible rectangles
// (background cell first, then the ink over it) without building regions.
int DrawUnrotatedRun32(DcObj& dc, const PixelBuffer& target, POINT reference, const char* text, int count,
                       const TextRunOptions& options) {
    RealizedFont& font = DcFont(dc);
    const TEXTMETRICA& m = font.LayoutMetrics();
    const LOGFONTA& lf = dc.Font() ? dc.Font()->logFont : font.LogFont();
    int width = 0;
    for (int i = 0; i < count; ++i)
        width += options.dx ? options.dx[i] : font.Advance(static_cast<unsigned char>(text[i])) + dc.state.charExtra;
    RunLayout cell;
    cell.width = width;
    cell.height = m.tmHeight;
    const POINT offset = AlignOffset(cell, m, options.align);
    const int left = reference.x + offset.x, top = reference.y + offset.y;
    Region visible = dc.VisibleInTarget();
    if (options.clip)
        visible = Region::Combine(visible, Region(*options.clip), Region::Op::And);
    const std::vector<RECT> rects = visible.Rects();
    auto fill = [&](const RECT& area, std::uint32_t rgb) {
        for (const RECT& r : rects) {
            const int l = std::max(r.left, area.left), t = std::max(r.top, area.top);
            const int rr = std::min(r.right, area.right), b = std::min(r.bottom, area.bottom);
            if (l >= rr)
                continue;
            for (int y = t; y < b; ++y) {
                auto* row = reinterpret_cast<std::uint32_t*>(target.RowPtr(y));
                std::fill(row + l, row + rr, rgb);
            }
        }
    };
    const std::uint32_t paper = RgbFromColorRef(dc.state.bkColor) & 0xFFFFFF;
    const std::uint32_t ink = RgbFromColorRef(dc.state.textColor) & 0xFFFFFF;
    if (options.opaqueCell)
        fill(RECT{left, top, left + width, top + m.tmHeight}, paper);
    int pen = 0;
    std::vector<int> starts;
    starts.reserve(static_cast<std::size_t>(count));
    const RECT seen = visible.Bounds();
    for (int i = 0; i < count; ++i) {
        starts.push_back(pen);
        // Only the part of the glyph that can show is asked for.
        const GlyphBitmap g = font.GlyphPart(static_cast<unsigned char>(text[i]),
                                             SeenFrom(seen, left + pen, top + m.tmAscent));
        const int gx = left + pen + g.left, gy = top + m.tmAscent - g.top;
        for (const RECT& r : rects) {
            const int x0 = std::max(r.left, gx), x1 = std::min(r.right, gx + g.width);
            const int y0 = std::max(r.top, gy), y1 = std::min(r.bottom, gy + g.height);
            for (int y = y0; y < y1; ++y) {
                const std::uint8_t* bits = g.bits.data() + static_cast<std::size_t>(y - gy) * g.width;
                auto* row = reinterpret_cast<std::uint32_t*>(target.RowPtr(y));
                for (int x = x0; x < x1; ++x)
                    if (bits[x - gx])
                        row[x] = ink;
            }
        }
        pen += options.dx ? options.dx[i] : font.Advance(static_cast<unsigned char>(text[i])) + dc.state.charExtra;
    }
    auto line = [&](int from, int to, int lineOffset) {
        fill(RECT{left + from, top + m.tmAscent + lineOffset, left + to,
                  top + m.tmAscent + lineOffset + font.LineThickness()}, ink);
    };
    if (lf.lfUnderline)
        line(0, width, font.UnderlineOffset());
    if (lf.lfStrikeOut)
        line(0, width, font.StrikeOutOffset());
    for (int i : options.underlined)
        if (i >= 0 && i < count)
            line(starts[static_cast<std::size_t>(i)], starts[static_cast<std::size_t>(i)] +
                 font.Advance(static_cast<unsigned char>(text[i])), font.UnderlineOffset());
    return width;
}

} // namespace

int DrawTextRun(DcObj& dc, POINT reference, const char* text, int count, const TextRunOptions& options) {
    const LONG turned = dc.Font() ? dc.Font()->logFont.lfEscapement : 0;
    if (turned % 3600 == 0 && !PathOpen(dc)) {
        const PixelBuffer target = dc.Target();
        if (target.Valid() && target.bpp == 32)
            return DrawUnrotatedRun32(dc, target, reference, text, count, options);
    }
    const LONG escapement = dc.Font() ? dc.Font()->logFont.lfEscapement : 0;
    const TEXTMETRICA& m = DcFont(dc).LayoutMetrics();
    // Unrotated text drawn (not put in a path) lays out only the glyph pixels on the target.
    std::optional<RECT> window;
    if (escapement % 3600 == 0 && !PathOpen(dc)) {
        RunLayout cell;
        cell.width = TextWidth(dc, text, count);
        cell.height = m.tmHeight;
        const POINT at = AlignOffset(cell, m, options.align);
        RECT seen = TargetBounds(dc);
        if (options.clip)
            IntersectRect(&seen, &seen, &*options.clip);
        window = SeenFrom(seen, static_cast<long long>(reference.x) + at.x, static_cast<long long>(reference.y) + at.y);
    }
    RunLayout run = Layout(dc, text, count, options, window);
    const POINT offset = AlignOffset(run, m, options.align);
    Region ink, background;
    if (escapement % 3600 != 0) {
        Rotate(run, reference, offset, escapement / 10.0, options.opaqueCell, &ink, &background);
    } else {
        ink = run.ink.ToRegion();
        ink.Offset(reference.x + offset.x, reference.y + offset.y);
        if (options.opaqueCell)
            background = Region(RECT{reference.x + offset.x, reference.y + offset.y,
                                     reference.x + offset.x + run.width, reference.y + offset.y + run.height});
    }
    if (options.clip) {
        ink = Region::Combine(ink, Region(*options.clip), Region::Op::And);
        background = Region::Combine(background, Region(*options.clip), Region::Op::And);
    }
    if (PathOpen(dc)) {
        AddToPath(dc, ink);
        return run.width;
    }
    Ink back;
    back.kind = Ink::Kind::Color;
    back.rgb = RgbFromColorRef(dc.state.bkColor);
    PaintShape(dc, Region::Combine(background, ink, Region::Op::Diff), back);
    Ink fore;
    fore.kind = Ink::Kind::Color;
    fore.rgb = RgbFromColorRef(dc.state.textColor);
    PaintShape(dc, ink, fore);
    return run.width;
}

// ---------------------------------------------------------------- public text functions

BOOL ExtTextOutA(HDC handle, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT* dx) {
    DcObj* dc = LookupDC(handle);
    if (!dc || (!text && count > 0))
        return FALSE;
    if (dc->recording)
        RecordCall(*dc, "ExtTextOut", FormatArgs({x, y, options}) + ",\"" + std::string(text ? text : "", count) + "\"");
    const bool updateCp = (dc->state.textAlign & TA_UPDATECP) != 0;
    const POINT logical = updateCp ? dc->state.position : POINT{x, y};
    TextRunOptions run;
    run.dx = dx;
    run.align = dc->state.textAlign;
    run.opaqueCell = dc->state.bkMode == OPAQUE;
    RECT targetRect{};
    if (rect) {
        const POINT a = dc->ToTarget(rect->left, rect->top), b = dc->ToTarget(rect->right, rect->bottom);
        targetRect = {a.x, a.y, b.x, b.y};
        if (options & ETO_CLIPPED)
            run.clip = targetRect;
        if ((options & ETO_OPAQUE) && !PathOpen(*dc)) {
            Ink back;
            back.kind = Ink::Kind::Color;
            back.rgb = RgbFromColorRef(dc->state.bkColor);
            PaintShape(*dc, Region(targetRect), back);
        }
    }
    const int width = count ? DrawTextRun(*dc, dc->ToTarget(logical.x, logical.y), text, static_cast<int>(count), run) : 0;
    if (updateCp) {
        const UINT h = dc->state.textAlign & TA_CENTER;
        if (h == TA_LEFT)
            dc->state.position.x += width;
        else if (h == TA_RIGHT)
            dc->state.position.x -= width;
    }
    return TRUE;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
    return ExtTextOutA(dc, x, y, 0, nullptr, text, static_cast<UINT>(std::max(0, count)), nullptr);
}

BOOL GetTextExtentPoint32A(HDC handle, LPCSTR text, int count, SIZE* size) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !size || (!text && count > 0) || count < 0)
        return FALSE;
    size->cx = TextWidth(*dc, text, count);
    size->cy = DcFont(*dc).LayoutMetrics().tmHeight;
    return TRUE;
}

BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int count, SIZE* size) { return GetTextExtentPoint32A(dc, text, count, size); }

BOOL GetTextExtentExPointA(HDC handle, LPCSTR text, int count, int maxExtent, INT* fit, INT* dx, SIZE* size) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !size || (!text && count > 0) || count < 0)
        return FALSE;
    const std::vector<int> advances = CharAdvances(*dc, text, count, nullptr);
    int total = 0, fitting = 0;
    for (int i = 0; i < count; ++i) {
        total += advances[static_cast<std::size_t>(i)];
        if (dx)
            dx[i] = total;
        if (total <= maxExtent)
            fitting = i + 1;
    }
    if (fit)
        *fit = fitting;
    size->cx = total;
    size->cy = DcFont(*dc).LayoutMetrics().tmHeight;
    return TRUE;
}

BOOL GetTextMetricsA(HDC handle, TEXTMETRICA* metrics) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !metrics)
        return FALSE;
    *metrics = DcFont(*dc).Metrics();
    return TRUE;
}

int GdiTextHeight(HDC handle) {
    DcObj* dc = LookupDC(handle);
    return dc ? DcFont(*dc).LayoutMetrics().tmHeight : 0;
}

BOOL GetCharWidth32A(HDC handle, UINT first, UINT last, INT* widths) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !widths || first > last || last > 0xFF)
        return FALSE;
    RealizedFont& font = DcFont(*dc);
    for (UINT c = first; c <= last; ++c)
        widths[c - first] = font.Advance(static_cast<unsigned char>(c));
    return TRUE;
}

BOOL GetCharWidthA(HDC dc, UINT first, UINT last, INT* widths) { return GetCharWidth32A(dc, first, last, widths); }

int GetTextFaceA(HDC handle, int count, LPSTR face) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return 0;
    const std::string& name = DcFont(*dc).FaceName();
    if (!face)
        return static_cast<int>(name.size()) + 1;
    if (count <= 0)
        return 0;
    const int n = std::min<int>(count - 1, static_cast<int>(name.size()));
    std::memcpy(face, name.data(), static_cast<std::size_t>(n));
    face[n] = '\0';
    return n;
}
