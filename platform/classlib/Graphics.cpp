// Colours, the colour identifiers, and the pens, brushes and fonts.
#include "platform/classlib/Graphics.h"

#include "platform/rtl/Arith.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/StrUtils.h"

#include <cstring>
#include <iterator>

namespace {

struct ColorIdent {
    TColor value;
    const char* name;
};

// The identifiers a form description may use; where two share a value the first is the one
// written back.
constexpr ColorIdent kColorIdents[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"}, {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"}, {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clBackground, "clBackground"}, {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"}, {clBtnShadow, "clBtnShadow"}, {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"}, {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"}, {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clInfoBk, "clInfoBk"}, {clInfoText, "clInfoText"},
    {clMenu, "clMenu"}, {clMenuBar, "clMenuBar"}, {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"}, {clNone, "clNone"}, {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clWindowText, "clWindowText"},
};

// Deletes a replaced GDI object when it goes out of scope, also when a listener throws.
struct DeleteLater {
    HGDIOBJ object;
    ~DeleteLater()
    {
        if (object)
            DeleteObject(object);
    }
};

} // namespace

COLORREF ColorToRGB(TColor color)
{
    if (color < 0)
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color);
}

bool ColorToIdent(TColor color, AnsiString& ident)
{
    for (const ColorIdent& entry : kColorIdents) {
        if (entry.value == color) {
            ident = entry.name;
            return true;
        }
    }
    return false;
}

bool IdentToColor(const AnsiString& ident, TColor& color)
{
    for (const ColorIdent& entry : kColorIdents) {
        if (SameText(ident, entry.name)) {
            color = entry.value;
            return true;
        }
    }
    return false;
}

AnsiString ColorToString(TColor color)
{
    AnsiString ident;
    if (ColorToIdent(color, ident))
        return ident;
    return "$" + IntToHex(color, 8);
}

TColor StringToColor(const AnsiString& s)
{
    TColor color;
    if (IdentToColor(s, color))
        return color;
    return StrToInt(s);
}

int ScreenLogPixels()
{
    static const int pixels = [] {
        HDC dc = CreateCompatibleDC(nullptr);
        int value = GetDeviceCaps(dc, LOGPIXELSY);
        DeleteDC(dc);
        return value > 0 ? value : 96;
    }();
    return pixels;
}

// ---------------------------------------------------------------------------------------
// TGraphicsObject

TGraphicsObject::~TGraphicsObject()
{
    if (handle_)
        DeleteObject(handle_);
}

HGDIOBJ TGraphicsObject::ObjectHandle()
{
    if (!handle_)
        handle_ = CreateObjectHandle();
    return handle_;
}

void TGraphicsObject::Changed(bool handleAffected, HGDIOBJ newHandle)
{
    DeleteLater old{nullptr};
    if (handleAffected && handle_ != newHandle) {
        old.object = handle_;
        handle_ = newHandle;
    }
    onChange_(this);
}

// ---------------------------------------------------------------------------------------
// TFont

TFont::TFont()
    : name_("MS Sans Serif"), pixelsPerInch_(ScreenLogPixels())
{
    height_ = -MulDiv(8, pixelsPerInch_, 72);
}

void TFont::Publish(TClassBuilder<TFont>& c)
{
    c.Property("Charset", &TFont::Charset, &TFont::SetCharset).Default(TFontCharset{DEFAULT_CHARSET});
    c.Property("Color", &TFont::Color, &TFont::SetColor).Default(clWindowText);
    c.Property("Height", &TFont::Height, &TFont::SetHeight);
    c.Property("Name", &TFont::Name, &TFont::SetName);
    c.Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
    c.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
    c.Property("Style", &TFont::Style, &TFont::SetStyle).Default(TFontStyles{});
}

void TFont::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TFont*>(source);
    if (!other) {
        inherited::Assign(source);
        return;
    }
    name_ = other->name_;
    color_ = other->color_;
    style_ = other->style_;
    pitch_ = other->pitch_;
    charset_ = other->charset_;
    // The same size in points, whatever the resolutions of the two fonts.
    height_ = other->pixelsPerInch_ == pixelsPerInch_ ? other->height_ : -MulDiv(other->Size(), pixelsPerInch_, 72);
    Changed();
}

void TFont::SetHandle(HFONT value)
{
    LOGFONTA lf{};
    if (value && GetObjectA(value, sizeof(lf), &lf) == static_cast<int>(sizeof(lf))) {
        lf.lfFaceName[LF_FACESIZE - 1] = '\0';
        name_ = lf.lfFaceName;
        height_ = lf.lfHeight;
        style_ = TFontStyles{};
        if (lf.lfWeight >= FW_BOLD)
            style_.Include(fsBold);
        if (lf.lfItalic)
            style_.Include(fsItalic);
        if (lf.lfUnderline)
            style_.Include(fsUnderline);
        if (lf.lfStrikeOut)
            style_.Include(fsStrikeOut);
        charset_ = lf.lfCharSet;
        switch (lf.lfPitchAndFamily & 3) {
        case FIXED_PITCH: pitch_ = fpFixed; break;
        case VARIABLE_PITCH: pitch_ = fpVariable; break;
        default: pitch_ = fpDefault; break;
        }
    }
    Changed(true, value);
}

HGDIOBJ TFont::CreateObjectHandle()
{
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Contains(fsItalic);
    lf.lfUnderline = style_.Contains(fsUnderline);
    lf.lfStrikeOut = style_.Contains(fsStrikeOut);
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

void TFont::SetName(const AnsiString& value)
{
    if (value.IsEmpty() || value == name_)
        return;
    name_ = value;
    Changed();
}

void TFont::SetHeight(int value)
{
    if (value == height_)
        return;
    height_ = value;
    Changed();
}

int TFont::Size() const
{
    return -MulDiv(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int value)
{
    SetHeight(-MulDiv(value, pixelsPerInch_, 72));
}

void TFont::SetColor(TColor value)
{
    if (value == color_)
        return;
    color_ = value;
    // The colour is the canvas's text colour, not part of the font object.
    Changed(false);
}

void TFont::SetStyle(TFontStyles value)
{
    if (value == style_)
        return;
    style_ = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value)
{
    if (value == pitch_)
        return;
    pitch_ = value;
    Changed();
}

void TFont::SetCharset(TFontCharset value)
{
    if (value == charset_)
        return;
    charset_ = value;
    Changed();
}

// ---------------------------------------------------------------------------------------
// TPen

int PenModeToRop2(TPenMode mode)
{
    static constexpr int kRop2[] = {
        R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
        R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN,
        R2_NOTXORPEN,
    };
    auto index = static_cast<std::size_t>(mode);
    return index < std::size(kRop2) ? kRop2[index] : R2_COPYPEN;
}

void TPen::Publish(TClassBuilder<TPen>& c)
{
    c.Property("Color", &TPen::Color, &TPen::SetColor).Default(clBlack);
    c.Property("Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy);
    c.Property("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
    c.Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

void TPen::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TPen*>(source);
    if (!other) {
        inherited::Assign(source);
        return;
    }
    color_ = other->color_;
    width_ = other->width_;
    style_ = other->style_;
    mode_ = other->mode_;
    Changed();
}

void TPen::SetHandle(HPEN value)
{
    LOGPEN lp{};
    if (value && GetObjectA(value, sizeof(lp), &lp) == static_cast<int>(sizeof(lp))) {
        UINT style = lp.lopnStyle & PS_STYLE_MASK;
        style_ = style <= PS_INSIDEFRAME ? static_cast<TPenStyle>(style) : psSolid;
        width_ = lp.lopnWidth.x;
        color_ = static_cast<TColor>(lp.lopnColor);
    }
    Changed(true, value);
}

HGDIOBJ TPen::CreateObjectHandle()
{
    // The style values are the PS_ codes in order.
    LOGPEN lp{static_cast<UINT>(style_), POINT{width_, 0}, ColorToRGB(color_)};
    return CreatePenIndirect(&lp);
}

void TPen::SetColor(TColor value)
{
    if (value == color_)
        return;
    color_ = value;
    Changed();
}

void TPen::SetWidth(int value)
{
    if (value < 0 || value == width_)
        return;
    width_ = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    Changed();
}

void TPen::SetMode(TPenMode value)
{
    if (value == mode_)
        return;
    mode_ = value;
    Changed(false);
}

// ---------------------------------------------------------------------------------------
// TBrush

void TBrush::Publish(TClassBuilder<TBrush>& c)
{
    c.Property("Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite);
    c.Property("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

void TBrush::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TBrush*>(source);
    if (!other) {
        inherited::Assign(source);
        return;
    }
    color_ = other->color_;
    style_ = other->style_;
    if (other->bitmap_) {
        if (!bitmap_)
            bitmap_.reset(new TBitmap);
        bitmap_->Assign(other->bitmap_.get());
    } else {
        bitmap_.reset();
    }
    Changed();
}

void TBrush::SetHandle(HBRUSH value)
{
    LOGBRUSH lb{};
    if (value && GetObjectA(value, sizeof(lb), &lb) == static_cast<int>(sizeof(lb))) {
        if (lb.lbStyle == BS_SOLID) {
            style_ = bsSolid;
            color_ = static_cast<TColor>(lb.lbColor);
        } else if (lb.lbStyle == BS_HATCHED && lb.lbHatch <= static_cast<UINT_PTR>(HS_DIAGCROSS)) {
            style_ = static_cast<TBrushStyle>(static_cast<int>(bsHorizontal) + static_cast<int>(lb.lbHatch));
            color_ = static_cast<TColor>(lb.lbColor);
        } else if (lb.lbStyle == BS_HOLLOW) {
            style_ = bsClear;
        }
    }
    bitmap_.reset();
    Changed(true, value);
}

HGDIOBJ TBrush::CreateObjectHandle()
{
    if (bitmap_ && !bitmap_->Empty())
        return CreatePatternBrush(bitmap_->Handle());
    LOGBRUSH lb{BS_SOLID, ColorToRGB(color_), 0};
    if (style_ == bsClear) {
        lb.lbStyle = BS_HOLLOW;
    } else if (style_ != bsSolid) {
        // The hatch styles are the HS_ codes in order.
        lb.lbStyle = BS_HATCHED;
        lb.lbHatch = static_cast<UINT_PTR>(static_cast<int>(style_) - static_cast<int>(bsHorizontal));
    }
    return CreateBrushIndirect(&lb);
}

void TBrush::SetColor(TColor value)
{
    if (value == color_ && style_ != bsClear)
        return;
    color_ = value;
    if (style_ == bsClear)
        style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    Changed();
}

// ---------------------------------------------------------------------------------------
// TGraphic

void TGraphic::SetTransparent(bool value)
{
    if (value == transparent_)
        return;
    transparent_ = value;
    Changed(this);
}

void TGraphic::SetModified(bool value)
{
    if (value)
        Changed(this);
    else
        modified_ = false;
}

void TGraphic::Changed(TObject*)
{
    modified_ = true;
    onChange_(this);
}

void TGraphic::LoadFromFile(const AnsiString& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const AnsiString& fileName)
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(&stream);
}
