#include "obl/core/draw/Oblutils.h"

#include "obl/core/base/Oblprocs.h"
#include "obl/core/draw/OBL3DCaption.h"
#include "obl/core/draw/OBLButtonLayout.h"
#include "obl/core/draw/OBLFXCaption.h"
#include "obl/core/draw/OBLGlyphTextLayout.h"
#include "obl/core/draw/OblutilsShared.h"
#include "platform/rtl/Arith.h"
#include "platform/win/user/User.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// 0: no rotation support (nil or a plain 3D caption); 1: an Fx caption at angle 0 (the
// text is drawn at its stored origin); 2: rotated text.
int RotationMode(TOBL3DCaption* effect)
{
    auto* fx = dynamic_cast<TOBLFxCaption*>(effect);
    if (!fx) return 0;
    return fx->Angle() == 0 ? 1 : 2;
}

// Pixels the effect adds to the right and the bottom of the text.
int EffectExtent(const TOBL3DCaption& e)
{
    switch (e.Style()) {
    case tdSunken:
    case tdRaised: return e.LightDepth();
    case tdSunkenShadow:
    case tdRaisedShadow:
    case tdPColorSunken:
    case tdPColorRaised: return e.LightDepth() + e.ShadowDepth();
    case tdShadow:
    case tdOutline:
    case tdExtrude:
    case tdExtrudeEnh: return e.ShadowDepth();
    default: return 0;
    }
}

// The part of the extent by which the origin of rotated text moves back; never negative.
int EffectInset(const TOBL3DCaption& e)
{
    int d = 0;
    switch (e.Style()) {
    case tdSunken:
    case tdRaised: d = e.LightDepth() / 2 - 1; break;
    case tdSunkenShadow:
    case tdRaisedShadow:
    case tdPColorSunken:
    case tdPColorRaised: d = (e.LightDepth() + e.ShadowDepth()) / 2 - 1; break;
    case tdShadow:
    case tdExtrude:
    case tdExtrudeEnh: d = e.ShadowDepth() / 2 - 1; break;
    default: break;
    }
    return std::max(d, 0);
}

// The extent of the 3D styles that the width and height helpers count: the outline and
// extrusions add nothing there.
int MeasuredExtent(const TOBL3DCaption& e)
{
    switch (e.Style()) {
    case tdOutline:
    case tdExtrude:
    case tdExtrudeEnh: return 0;
    default: return EffectExtent(e);
    }
}

// DrawTextExA wants a writable buffer; the text is never changed without DT_MODIFYSTRING.
int DrawTextInto(HDC dc, const AnsiString& text, RECT& rect, UINT flags)
{
    std::vector<char> buffer(text.c_str(), text.c_str() + text.Length() + 1);
    return DrawTextExA(dc, buffer.data(), static_cast<int>(text.Length()), &rect, flags, nullptr);
}

// Resets the character extra at the end of the drawing when the effect set one.
class TracingScope {
public:
    TracingScope(HDC dc, int tracing) : dc_(tracing != 0 ? dc : nullptr)
    {
        if (dc_) SetTextCharacterExtra(dc_, tracing);
    }
    ~TracingScope()
    {
        if (dc_) SetTextCharacterExtra(dc_, 0);
    }
    TracingScope(const TracingScope&) = delete;
    TracingScope& operator=(const TracingScope&) = delete;

private:
    HDC dc_;
};

// Gives the canvas the font it had when the scope began, dropping any handle (such as a
// rotated one) that the drawing put into it.
class FontScope {
public:
    explicit FontScope(TCanvas* canvas) : canvas_(canvas) { saved_.Assign(canvas->Font()); }
    ~FontScope() { canvas_->Font()->Assign(&saved_); }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    TCanvas* canvas_;
    TFont saved_;
};

// A caption as prefix characters show it: "&&" is one "&", "&x" is x underlined (its
// index in the result goes into `underlined`), a lone "&" at the end shows nothing.
AnsiString WithoutPrefixes(const AnsiString& text, std::vector<int>* underlined)
{
    const std::string& raw = text.str();
    std::string shown;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '&') {
            shown += raw[i];
            continue;
        }
        if (++i >= raw.size()) break;
        if (raw[i] != '&' && underlined) underlined->push_back(static_cast<int>(shown.size()));
        shown += raw[i];
    }
    return AnsiString(shown);
}

// Underlines the characters of a rotated text drawn at `origin`, as the prefix underline
// of an unrotated caption: along the turned baseline, one pixel below the ascent.
void UnderlineRotated(HDC dc, const AnsiString& shown, const std::vector<int>& underlined, POINT origin, int angle,
                      TColor color)
{
    if (underlined.empty()) return;
    TEXTMETRICA metrics{};
    if (!GetTextMetricsA(dc, &metrics)) return;
    const double a = angle * std::numbers::pi / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const double v = metrics.tmAscent + 1;
    const auto at = [&](double u) {
        return POINT{origin.x + static_cast<LONG>(Round(u * c + v * s)), origin.y + static_cast<LONG>(Round(v * c - u * s))};
    };
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
    HGDIOBJ old = SelectObject(dc, pen);
    for (int i : underlined) {
        SIZE before{}, with{};
        GetTextExtentPoint32A(dc, shown.c_str(), i, &before);
        GetTextExtentPoint32A(dc, shown.c_str(), i + 1, &with);
        const POINT from = at(before.cx), to = at(with.cx);
        MoveToEx(dc, from.x, from.y, nullptr);
        LineTo(dc, to.x, to.y);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

int AlignmentTextFlags(TOBLAlignment alignment)
{
    switch (alignment) {
    case agTopCenter: return DT_CENTER;
    case agTopRight: return DT_RIGHT;
    case agCenterLeft: return DT_VCENTER;
    case agCenter: return DT_CENTER | DT_VCENTER;
    case agCenterRight: return DT_RIGHT | DT_VCENTER;
    case agBottomLeft: return DT_BOTTOM;
    case agBottomCenter: return DT_BOTTOM | DT_CENTER;
    case agBottomRight: return DT_BOTTOM | DT_RIGHT;
    default: return 0;
    }
}

TRect UnionOf(const TRect& a, const TRect& b)
{
    TRect r{};
    UnionRect(&r, &a, &b);
    return r;
}

TRect Inflated(TRect r, int d)
{
    InflateRect(&r, d, d);
    return r;
}

} // namespace

TRect OBLAlignRect(TOBLAlignment alignment, const TRect& inner, const TRect& outer)
{
    const int w = inner.right - inner.left, h = inner.bottom - inner.top;
    const int W = outer.right - outer.left, H = outer.bottom - outer.top;
    const int row = static_cast<int>(alignment) / 3, column = static_cast<int>(alignment) % 3;
    const int dy = row == 0 ? 0 : row == 1 ? (H - h) / 2 : H - h;
    const int dx = column == 0 ? 0 : column == 1 ? (W - w) / 2 : W - w;
    return Bounds(outer.left + dx, outer.top + dy, w, h);
}

TRect OBLAlignTextRect(TOBLAlignment alignment, const AnsiString& text, TOBL3DCaption* effect, const TRect& rect,
                       TFont* font, bool wordWrap, bool accelChars, int flags)
{
    TRect measured = rect;
    measured.right -= 1;
    OBLDrawTextCalc(text, effect, measured, font, wordWrap, accelChars, 0, flags);
    return OBLAlignRect(alignment, measured, rect);
}

void OBLDrawTextExt(TCanvas* canvas, const AnsiString& text, TOBL3DCaption* effect, const TRect& rect, int flags,
                    TOBLDrawTextStyles styles, const TRect* clipRect)
{
    if (!canvas || text.IsEmpty() || IsRectEmpty(&rect))
        return;
    const UINT format = static_cast<UINT>(flags);
    if (!effect) {
        RECT r = rect;
        DrawTextInto(canvas->Handle(), text, r, format);
        return;
    }
    HDC dc = canvas->Handle();
    ClipRegionScope clip;
    if (styles.Contains(dtClip))
        clip.Select(dc, clipRect ? *clipRect : rect);

    TColor color;
    TOBLThreeDStyle style = effect->Style();
    if (styles.Contains(dtEnabled) || effect->DisabledStyle() == dsNone) {
        color = style == tdPColorSunken || style == tdPColorRaised ? canvas->Brush()->Color()
                                                                    : canvas->Font()->Color();
    } else {
        color = clGrayText;
        if (effect->DisabledStyle() == ds3d ||
            (effect->DisabledStyle() == dsAuto && styles.Contains(dt3DDisabled)))
            style = tdSunken;
    }

    const int mode = RotationMode(effect);
    auto* fx = dynamic_cast<TOBLFxCaption*>(effect);
    // The rotated font lives only for this drawing: the canvas gets its own font back.
    FontScope fontScope(canvas);
    if (mode == 2) {
        LOGFONTA lf{};
        if (GetObjectA(canvas->Font()->Handle(), sizeof(lf), &lf) == static_cast<int>(sizeof(lf))) {
            lf.lfEscapement = fx->Angle() * 10;
            lf.lfOrientation = lf.lfEscapement;
            canvas->Font()->SetHandle(CreateFontIndirectA(&lf));
        }
    }
    dc = canvas->Handle();

    TRect r = rect;
    if (mode != 0) {
        r.left += fx->PosX();
        r.top += fx->PosY();
    }
    TracingScope tracing(dc, effect->Tracing());

    const int ld = effect->LightDepth(), sd = effect->ShadowDepth();
    int ex = 1, ey = 1;
    if (style == tdExtrude || style == tdExtrudeEnh) {
        switch (effect->Orientation()) {
        case toBottomLeft: OffsetRect(&r, 0, sd + 1); ex = 1; ey = -1; break;
        case toBottomRight: OffsetRect(&r, sd + 1, sd + 1); ex = -1; ey = -1; break;
        case toTopLeft: ex = 1; ey = 1; break;
        case toTopRight: OffsetRect(&r, sd + 1, 0); ex = -1; ey = 1; break;
        }
    }
    canvas->Brush()->SetStyle(bsClear);

    // Rotated text is put out as it stands, so its prefix characters are taken out here and
    // the accelerator underlined, as DrawText does for the unrotated caption.
    std::vector<int> underlined;
    const AnsiString shown = mode == 2 && !(format & DT_NOPREFIX) ? WithoutPrefixes(text, &underlined) : text;

    auto pass = [&](int dx, int dy, TColor passColor) {
        canvas->Font()->SetColor(passColor);
        HDC h = canvas->Handle();
        if (mode == 2) {
            r.left += dx;
            r.top += dy;
            ExtTextOutA(h, r.left, r.top, 0, nullptr, shown.c_str(), static_cast<UINT>(shown.Length()), nullptr);
            UnderlineRotated(h, shown, underlined, POINT{r.left, r.top}, fx->Angle(), passColor);
        } else {
            OffsetRect(&r, dx, dy);
            RECT target = r;
            DrawTextInto(h, text, target, format);
        }
    };

    const TColor lc = effect->LightColor(), sc = effect->ShadowColor();
    switch (style) {
    case tdSunken:
        r.right -= ld;
        pass(ld, ld, lc);
        pass(-ld, -ld, color);
        break;
    case tdRaised:
        r.right -= ld;
        pass(0, 0, lc);
        pass(ld, ld, color);
        break;
    case tdSunkenShadow:
    case tdPColorSunken:
        r.right -= ld + sd;
        pass(0, 0, sc);
        pass(ld + sd, ld + sd, lc);
        pass(-ld, -ld, color);
        break;
    case tdRaisedShadow:
    case tdPColorRaised:
        r.right -= ld + sd;
        pass(ld + sd, ld + sd, sc);
        pass(-(ld + sd), -(ld + sd), lc);
        pass(ld, ld, color);
        break;
    case tdShadow:
        r.right -= sd;
        pass(sd, sd, sc);
        pass(-sd, -sd, color);
        break;
    case tdOutline: {
        canvas->Pen()->SetStyle(psSolid);
        BeginPath(canvas->Handle());
        pass(sd / 2, sd / 2, color);
        EndPath(canvas->Handle());
        canvas->Pen()->SetColor(color);
        canvas->Pen()->SetWidth(sd);
        StrokePath(canvas->Handle());
        break;
    }
    case tdExtrude:
        for (int k = 0; k < sd; ++k) pass(ex, ey, sc);
        pass(0, 0, color);
        break;
    case tdExtrudeEnh:
        for (int k = sd; k >= 1; --k) pass(ex, ey, OBLGradientGetColor(sc, lc, k - 1, sd));
        pass(0, 0, color);
        break;
    default:
        pass(0, 0, color);
        break;
    }
}

void OBLDrawText(TCanvas* canvas, const AnsiString& text, TOBL3DCaption* effect, const TRect& rect, WORD flags)
{
    OBLDrawTextExt(canvas, text, effect, rect, flags, TOBLDrawTextStyles{dtEnabled}, nullptr);
}

void OBLDrawTextCalcExt(TCanvas* canvas, const AnsiString& text, TOBL3DCaption* effect, TRect& rect, TFont* font,
                        bool wordWrap, bool accelChars, int margin, int flags)
{
    if (!canvas)
        return;
    AnsiString measured = text;
    // The canvas may be a live one of the caller (the edit measures its rows with it): its
    // own context and font come back when the measuring is done.
    HDC savedDc = canvas->HandleAllocated() ? canvas->Handle() : nullptr;
    FontScope fontScope(canvas);
    HDC screen = GetDC(nullptr);
    struct Release {
        TCanvas* canvas; HDC screen; HDC saved;
        ~Release()
        {
            canvas->SetHandle(nullptr);
            ReleaseDC(nullptr, screen);
            if (saved) canvas->SetHandle(saved);
        }
    } release{canvas, screen, savedDc};
    canvas->SetHandle(nullptr);
    canvas->SetHandle(screen);
    if (font) canvas->Font()->Assign(font);

    const int mode = RotationMode(effect);
    auto* fx = dynamic_cast<TOBLFxCaption*>(effect);
    if (mode != 2) {
        if (mode == 1) fx->SetPosXY(0, 0);
        UINT format = static_cast<UINT>(flags) | DT_CALCRECT | DT_EXPANDTABS;
        if (wordWrap) format |= DT_WORDBREAK;
        if (measured.IsEmpty() || (accelChars && measured == "&")) measured = " ";
        if (!accelChars) format |= DT_NOPREFIX;
        TracingScope tracing(canvas->Handle(), effect ? effect->Tracing() : 0);
        RECT r = rect;
        DrawTextInto(canvas->Handle(), measured, r, format);
        rect = r;
        if (effect) {
            const int extent = EffectExtent(*effect);
            rect.right += extent;
            rect.bottom += extent;
        }
    } else {
        TracingScope tracing(canvas->Handle(), effect->Tracing());
        // Measured as it is drawn: without its prefix characters when they count.
        if (accelChars) measured = WithoutPrefixes(measured, nullptr);
        const int w = canvas->TextWidth(measured), h = canvas->TextHeight(measured);
        const int extent = EffectExtent(*effect);
        RECT r{0, 0, w + extent, h + extent};
        OBLCalcRotRect(r, fx->Angle());
        rect = r;
        const double a = fx->Angle() * std::numbers::pi / 180.0;
        const double s = std::sin(a), c = std::cos(a);
        const int cx = (r.right - r.left) / 2, cy = (r.bottom - r.top) / 2;
        const int hw = w / 2, hh = h / 2;
        const int d = EffectInset(*effect);
        const auto x = static_cast<int>(Round(cx - hw * c - hh * s)) - d;
        const auto y = static_cast<int>(Round(cy + hw * s - hh * c)) - d;
        // Measuring runs while painting: the origin is stored without notifying the owner,
        // whose change handler would otherwise react to its own paint.
        fx->SetPosXY(static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y));
    }
    rect.right += 2 * (margin + 1);
    rect.bottom += 2 * (margin + 1);
}

void OBLDrawTextCalc(const AnsiString& text, TOBL3DCaption* effect, TRect& rect, TFont* font, bool wordWrap,
                     bool accelChars, int margin, int flags)
{
    TCanvas canvas;
    OBLDrawTextCalcExt(&canvas, text, effect, rect, font, wordWrap, accelChars, margin, flags);
}

void OBLDrawTextAndGlyphExt(TCanvas* canvas, const AnsiString& text, TOBL3DCaption* effect, const TRect& rect,
                            TCanvas* image, TRect& glyphRect, TCanvas* mask, TColor transparentColor,
                            TOBLGlyphTextLayout* layout, bool wordWrap, bool accelChars, bool transparentGlyph,
                            TOBLDrawTextStyles styles, int flags, TOBLTextGlyphRects& result)
{
    result.Text = result.Glyph = result.Reserved = TRect{};
    if (!canvas || !layout)
        return;
    TRect focus = rect;
    bool focusSet = false;
    const bool hasGlyph = image != nullptr && !IsRectEmpty(&glyphRect);
    const bool hasText = !text.IsEmpty();
    const int spacing = hasText == hasGlyph ? layout->Spacing() : 0;

    TRect t{};
    if (hasText) {
        t = Rect(0, 0, std::abs(rect.right - rect.left), 0);
        OBLDrawTextCalc(text, effect, t, canvas->Font(), wordWrap, accelChars, 0, flags);
    }
    int tw = t.right, th = t.bottom;
    TRect g{};
    int gw = 0, gh = 0;
    if (hasGlyph) {
        gw = glyphRect.right - glyphRect.left;
        gh = glyphRect.bottom - glyphRect.top;
    }

    auto* buttonLayout = dynamic_cast<TOBLButtonLayout*>(layout);
    const bool arrow = buttonLayout && buttonLayout->Arrow();
    int aw = 0;
    TOBLArrowPosition arrowPos = apRightText;
    if (arrow) {
        aw = 2 * buttonLayout->ArrowSize() - 1;
        arrowPos = buttonLayout->ArrowPosition();
        if (arrowPos == apRightText || arrowPos == apLeftText)
            tw += aw + buttonLayout->ArrowIndent();
        else
            gw += aw + buttonLayout->ArrowIndent();
    }

    const bool drawing = !styles.Contains(dtCalculate);
    if (!drawing) styles.Include(dtRectGlyphText);

    const TOBLTextArrange arrange = layout->AlignText2Glyph();
    const bool sideBySide = static_cast<int>(arrange) <= static_cast<int>(taRightTop);
    int to = 0, go = 0;
    TRect block{};
    if (sideBySide) {
        const int m = std::max(th, gh);
        if (m > th) to = (m - th) / 2; else go = (m - gh) / 2;
        block = Rect(0, 0, tw + spacing + gw, m);
    } else {
        const int m = std::max(tw, gw);
        if (m > tw) to = (m - tw) / 2; else go = (m - gw) / 2;
        block = Rect(0, 0, m, th + spacing + gh);
    }
    POINT gOff{}, tOff{};
    switch (arrange) {
    case taLeft: gOff = {tw + spacing, go}; tOff = {0, to}; break;
    case taLeftTop: gOff = {tw + spacing, 0}; tOff = {0, to}; break;
    case taRight: gOff = {0, go}; tOff = {gw + spacing, to}; break;
    case taRightTop: gOff = {0, 0}; tOff = {gw + spacing, to}; break;
    case taTop: gOff = {go, th + spacing}; tOff = {to, 0}; break;
    case taTopLeft: gOff = {0, th + spacing}; tOff = {to, 0}; break;
    case taBottom: gOff = {go, 0}; tOff = {to, gh + spacing}; break;
    case taBottomLeft: gOff = {0, 0}; tOff = {to, gh + spacing}; break;
    }
    t = Bounds(tOff.x, tOff.y, tw, th);
    if (hasGlyph) g = Bounds(gOff.x, gOff.y, glyphRect.right - glyphRect.left, gh);

    if (styles.Contains(dtAutoSize)) {
        block = OBLAlignRect(agTopLeft, block, rect);
    } else {
        block = OBLAlignRect(layout->Alignment(), block, rect);
        OffsetRect(&t, block.left + 1, block.top + 1);
        OffsetRect(&g, block.left, block.top);
    }
    if (arrow && arrowPos == apLeftText) OffsetRect(&t, buttonLayout->ArrowIndent() + aw, 0);

    canvas->Brush()->SetStyle(bsClear);
    flags |= DT_EXPANDTABS;
    // Drawn as it was measured: without accelerator characters an ampersand is a letter.
    if (!accelChars) flags |= DT_NOPREFIX;
    if (wordWrap) flags |= DT_WORDBREAK | AlignmentTextFlags(layout->Alignment());

    OffsetRect(&t, layout->OffsetX(), layout->OffsetY());
    OffsetRect(&g, layout->OffsetX(), layout->OffsetY());
    if (styles.Contains(dtRectClip)) {
        t.right = std::min(t.right, rect.right);
        t.bottom = std::min(t.bottom, rect.bottom);
    }

    if (drawing) OBLDrawTextExt(canvas, text, effect, t, flags, styles, nullptr);
    result.Text = t;
    if (styles.Contains(dtRectText)) {
        focus = Inflated(t, 1);
        focusSet = true;
    }

    if (arrow && drawing) {
        const int size = buttonLayout->ArrowSize();
        const bool enabled = styles.Contains(dtEnabled);
        const int y = t.top + (t.bottom - t.top) / 2 - size / 2;
        if (arrowPos == apLeftText)
            OBLDrawTriangle(canvas, t.left - (buttonLayout->ArrowIndent() + aw), y, size,
                            buttonLayout->ArrowColor(), true, enabled);
        else if (arrowPos == apRightText)
            OBLDrawTriangle(canvas, wordWrap ? t.right - (size + 1) : t.right - aw - 1, y, size,
                            buttonLayout->ArrowColor(), true, enabled);
    }
    // Where the arrows beside the glyph go: the glyph's place, also when there is no glyph
    // (the arrow's gap is reserved either way).
    TRect anchor = Bounds(gOff.x, gOff.y, hasGlyph ? glyphRect.right - glyphRect.left : 0, gh);
    if (!styles.Contains(dtAutoSize)) OffsetRect(&anchor, block.left, block.top);
    OffsetRect(&anchor, layout->OffsetX(), layout->OffsetY());
    if (arrow && arrowPos == apLeftGlyph) {
        OffsetRect(&g, buttonLayout->ArrowIndent() + aw, 0);
        OffsetRect(&anchor, buttonLayout->ArrowIndent() + aw, 0);
    }

    if (hasGlyph) {
        if (drawing) {
            WORD mode = 0;
            TPersistent* maskArg = nullptr;
            if (transparentGlyph) {
                if (mask) {
                    mode = OBLBmpMasked;
                    maskArg = mask;
                } else {
                    mode = OBLBmpTransparent;
                }
            }
            OBLBmpDrawExt(canvas, g, image, glyphRect, mode, transparentColor, nullptr, maskArg);
        }
        if (styles.Contains(dtRectGlyph)) {
            focus = g;
            focusSet = true;
        }
    }
    result.Glyph = g;
    if (styles.Contains(dtRectGlyphText)) {
        focus = Inflated(UnionOf(g, t), 1);
        focusSet = true;
    }
    result.All = UnionOf(g, t);

    // In the gap reserved beside the glyph: right of it after the indent, or left of it with
    // the indent between arrow and glyph.
    if (arrow && drawing && (arrowPos == apRightGlyph || arrowPos == apLeftGlyph)) {
        const int size = buttonLayout->ArrowSize();
        const bool enabled = styles.Contains(dtEnabled);
        const int y = anchor.top + (anchor.bottom - anchor.top) / 2 - size / 2;
        if (arrowPos == apRightGlyph)
            OBLDrawTriangle(canvas, anchor.right + buttonLayout->ArrowIndent(), y, size, buttonLayout->ArrowColor(),
                            true, enabled);
        else
            OBLDrawTriangle(canvas, anchor.left - (buttonLayout->ArrowIndent() + aw), y, size,
                            buttonLayout->ArrowColor(), true, enabled);
    }

    if (!focusSet) InflateRect(&focus, -1, -1);
    if (!drawing) InflateRect(&focus, 1, 1);
    glyphRect = focus;
}

void OBLDrawTextAndGlyph(TCanvas* canvas, const AnsiString& text, TOBL3DCaption* effect, const TRect& rect,
                         TBitmap* glyph, TBitmap* mask, TOBLGlyphTextLayout* layout, bool wordWrap, bool accelChars,
                         bool transparentGlyph, TOBLDrawTextStyles styles, int flags)
{
    TCanvas* image = nullptr;
    TRect source{};
    TColor transparent = clNone;
    if (glyph && !glyph->Empty()) {
        image = glyph->Canvas();
        source = Rect(0, 0, glyph->Width(), glyph->Height());
        transparent = glyph->TransparentColor();
    }
    TOBLTextGlyphRects result;
    OBLDrawTextAndGlyphExt(canvas, text, effect, rect, image, source, mask ? mask->Canvas() : nullptr, transparent,
                           layout, wordWrap, accelChars, transparentGlyph, styles, flags, result);
}

int OBLGetFontHeight(TFont* font)
{
    if (!font) return 0;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    SIZE size{};
    const BOOL ok = GetTextExtentPointA(dc, "W", 1, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return ok ? size.cy : 0;
}

int OBLGet3DTextWidth(const AnsiString& text, TOBL3DCaption* effect, TFont* font)
{
    if (!effect || !font) return 0;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    const int savedExtra = SetTextCharacterExtra(dc, effect->Tracing());
    SIZE size{};
    GetTextExtentPointA(dc, text.c_str(), static_cast<int>(text.Length()), &size);
    SetTextCharacterExtra(dc, savedExtra);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx + MeasuredExtent(*effect);
}

int OBLGet3DTextHeight(TOBL3DCaption* effect, TFont* font)
{
    // Without an effect there is no extent to add: the plain height of "W".
    const int height = OBLGetFontHeight(font);
    return effect ? height + MeasuredExtent(*effect) : height;
}
