// The class library's drawing unit: colours, fonts, pens, brushes, the canvas over a device
// context, and the graphic classes (bitmap, icon, picture).
//
// Pens, brushes and fonts keep a description and make their GDI object on first use; any
// change drops the object (after telling the listeners, so a canvas can deselect it first)
// and the next use makes a fresh one. A canvas realises its pen, brush and font into its
// device context only when a drawing call needs them.
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/win/gdi/Gdi.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <vector>

using TRect = RECT;
using TPoint = POINT;

inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return TRect{left, top, left + width, top + height}; }
inline TPoint Point(int x, int y) { return TPoint{x, y}; }

// GDI's coordinate space is 28 bits wide. A position, size or distance outside it can never
// be drawn, and a few of them added together stay in the int range: controls and drawing
// settings keep their coordinates within it.
inline constexpr int MinCoordinate = -(1 << 27);
inline constexpr int MaxCoordinate = (1 << 27) - 1;
inline bool IsCoordinate(std::int64_t v) { return v >= MinCoordinate && v <= MaxCoordinate; }

// Texts of the unit's errors.
inline constexpr const char* SNoCanvasHandle = "Canvas does not allow drawing";
inline constexpr const char* SInvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* SInvalidIcon = "Icon image is not valid";
inline constexpr const char* SInvalidPixelFormat = "Invalid pixel format";
inline constexpr const char* SScanLine = "Scan line index out of range";
inline constexpr const char* SUnknownExtension = "Unknown picture file extension (.%s)";
inline constexpr const char* SChangeIconSize = "Cannot change the size of an icon";

// ---------------------------------------------------------------------------------------
// Colours. A colour is an RGB value (0x00BBGGRR), a system colour (0x80000000 plus the
// COLOR_ index), clNone or clDefault.

using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }
constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SystemColor(COLOR_MENU);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clHotLight = SystemColor(COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = SystemColor(COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = SystemColor(COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = SystemColor(COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = SystemColor(COLOR_MENUBAR);

// A system colour becomes the current value of that system colour; any other colour is
// returned unchanged (clNone and clDefault included).
COLORREF ColorToRGB(TColor color);
// The identifier of a colour of the fixed table ("clRed", "clBtnFace" ...), else "$" and
// eight hexadecimal digits.
AnsiString ColorToString(TColor color);
// An identifier of the table (any case) or a number ("$FF", "255"); EConvertError otherwise.
TColor StringToColor(const AnsiString& s);
bool ColorToIdent(TColor color, AnsiString& ident);
bool IdentToColor(const AnsiString& ident, TColor& color);

// Logical pixels per inch of the screen (font sizes in points convert through it).
int ScreenLogPixels();

class TCanvas;
class TBitmap;

// ---------------------------------------------------------------------------------------
// TGraphicsObject: the base of pens, brushes and fonts; it owns its GDI object.

class TGraphicsObject : public TPersistent {
    VENDARO_CLASS(TGraphicsObject, TPersistent)
public:
    TGraphicsObject() = default;
    ~TGraphicsObject() override;

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }
    bool HandleAllocated() const { return handle_ != nullptr; }

protected:
    // The GDI object for the current description, made on demand.
    HGDIOBJ ObjectHandle();
    virtual HGDIOBJ CreateObjectHandle() = 0;
    // Tells the listeners about a change. When the change affects the GDI object, the
    // object is replaced by newHandle (0: made again on the next use) and the old one is
    // deleted only after the listeners ran, so they can deselect it first.
    void Changed(bool handleAffected = true, HGDIOBJ newHandle = nullptr);

private:
    HGDIOBJ handle_ = nullptr;
    TNotifyEvent onChange_;
};

// ---------------------------------------------------------------------------------------
// TFont

VENDARO_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
VENDARO_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
using TFontCharset = std::uint8_t;

class TFont : public TGraphicsObject {
    VENDARO_CLASS(TFont, TGraphicsObject)
public:
    TFont();

    void Assign(TPersistent* source) override;

    HFONT Handle() { return static_cast<HFONT>(ObjectHandle()); }
    // Adopts the font: its description is read back from the object, which the font then
    // owns and deletes.
    void SetHandle(HFONT value);

    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& value);
    // Height in pixels: negative for the character height, positive for the cell height.
    int Height() const { return height_; }
    void SetHeight(int value);
    // Size in points, through PixelsPerInch.
    int Size() const;
    void SetSize(int value);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch value);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset value);

    static void Publish(TClassBuilder<TFont>& c);

protected:
    HGDIOBJ CreateObjectHandle() override;

private:
    AnsiString name_;
    int height_;
    int pixelsPerInch_;
    TColor color_ = clWindowText;
    TFontStyles style_;
    TFontPitch pitch_ = fpDefault;
    TFontCharset charset_ = DEFAULT_CHARSET;
};

// ---------------------------------------------------------------------------------------
// TPen

VENDARO_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
VENDARO_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
             pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)

// The ROP2 code of a pen mode.
int PenModeToRop2(TPenMode mode);

class TPen : public TGraphicsObject {
    VENDARO_CLASS(TPen, TGraphicsObject)
public:
    TPen() = default;

    void Assign(TPersistent* source) override;

    HPEN Handle() { return static_cast<HPEN>(ObjectHandle()); }
    // Adopts the pen with its description.
    void SetHandle(HPEN value);

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int Width() const { return width_; }
    void SetWidth(int value);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle value);
    // Not part of the GDI object: the canvas applies it as its drawing mode.
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode value);

    static void Publish(TClassBuilder<TPen>& c);

protected:
    HGDIOBJ CreateObjectHandle() override;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

// ---------------------------------------------------------------------------------------
// TBrush

VENDARO_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
             bsDiagCross)

class TBrush : public TGraphicsObject {
    VENDARO_CLASS(TBrush, TGraphicsObject)
public:
    TBrush() = default;
    ~TBrush() override;

    void Assign(TPersistent* source) override;

    HBRUSH Handle() { return static_cast<HBRUSH>(ObjectHandle()); }
    // Adopts the brush with its description.
    void SetHandle(HBRUSH value);

    TColor Color() const { return color_; }
    // Setting a colour makes a clear brush solid, as the original does.
    void SetColor(TColor value);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle value);
    // A pattern brush: the brush keeps its own copy of the bitmap; nil goes back to the
    // colour and style.
    TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(TBitmap* value);

    static void Publish(TClassBuilder<TBrush>& c);

protected:
    HGDIOBJ CreateObjectHandle() override;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TOwned<TBitmap> bitmap_;
};

// ---------------------------------------------------------------------------------------
// TCanvas

VENDARO_ENUM(TCanvasStates, csHandleValid, csFontValid, csPenValid, csBrushValid)
using TCanvasState = TSet<TCanvasStates>;
inline constexpr TCanvasState csAllValid{csHandleValid, csFontValid, csPenValid, csBrushValid};

using TCopyMode = std::int32_t;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

class TGraphic;

class TCanvas : public TPersistent {
    VENDARO_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    // The device context with pen, brush and font realised; a canvas that has none and
    // cannot make one raises EInvalidOperation "Canvas does not allow drawing".
    HDC Handle();
    // Binds a device context the canvas does not own; 0 unbinds it, putting back the
    // objects the context had selected before the canvas used it.
    void SetHandle(HDC value);
    bool HandleAllocated() const { return handle_ != nullptr; }
    TCanvasState State() const { return state_; }

    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* value) { font_->Assign(value); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(TPen* value) { pen_->Assign(value); }
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(TBrush* value) { brush_->Assign(value); }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode value) { copyMode_ = value; }
    // ExtTextOut options added to every text output (ETO_ flags).
    int TextFlags() const { return textFlags_; }
    void SetTextFlags(int value) { textFlags_ = value; }
    TPoint PenPos();
    void SetPenPos(TPoint value) { MoveTo(value.x, value.y); }
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor value);
    TRect ClipRect();

    // Serialises drawing from several threads; recursive.
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return lockCount_; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const TPoint* points, int count);
    void Polyline(std::initializer_list<TPoint> points) { Polyline(points.begin(), static_cast<int>(points.size())); }
    void Polygon(const TPoint* points, int count);
    void Polygon(std::initializer_list<TPoint> points) { Polygon(points.begin(), static_cast<int>(points.size())); }
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);
    // Draws the text at (x, y) and moves the pen position to its end.
    void TextOut(int x, int y, const AnsiString& text);
    // The text clipped to the rectangle; the rectangle is filled first unless the brush is
    // clear.
    void TextRect(const TRect& r, int x, int y, const AnsiString& text);
    SIZE TextExtent(const AnsiString& text);
    int TextWidth(const AnsiString& text) { return TextExtent(text).cx; }
    int TextHeight(const AnsiString& text) { return TextExtent(text).cy; }
    // The graphic at its own size, or stretched into the rectangle; an empty or nil
    // graphic draws nothing.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    // Stretches the source rectangle of the other canvas onto dest with CopyMode.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
    // Copies the source rectangle of the bitmap onto dest, painting the brush wherever the
    // bitmap has the given colour.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }
    TNotifyEvent OnChanging() const { return onChanging_; }
    void SetOnChanging(TNotifyEvent value) { onChanging_ = value; }

    static void Publish(TClassBuilder<TCanvas>& c);

protected:
    virtual void Changing();
    virtual void Changed();
    // Makes a device context when the canvas needs one and has none (the bitmap's and the
    // control's canvases); the base has none to make.
    virtual void CreateHandle() {}
    void RequiredState(TCanvasState required);
    // Puts the context's own pen, brush and font back.
    void DeselectHandles();

private:
    void FontChanged(TObject* sender);
    void PenChanged(TObject* sender);
    void BrushChanged(TObject* sender);
    void RealiseFont();
    void RealisePen();
    void RealiseBrush();
    void Deselect(TCanvasStates which, HGDIOBJ& original);

    HDC handle_ = nullptr;
    TCanvasState state_;
    TOwned<TFont> font_;
    TOwned<TPen> pen_;
    TOwned<TBrush> brush_;
    HGDIOBJ originalFont_ = nullptr;
    HGDIOBJ originalPen_ = nullptr;
    HGDIOBJ originalBrush_ = nullptr;
    TPoint penPos_{0, 0};
    TCopyMode copyMode_ = cmSrcCopy;
    int textFlags_ = 0;
    std::recursive_mutex lock_;
    int lockCount_ = 0;
    TNotifyEvent onChange_;
    TNotifyEvent onChanging_;

    friend class TGraphic;
    friend class TBitmap;
};

// ---------------------------------------------------------------------------------------
// TGraphic: the base of every picture format.

class TGraphic : public TPersistent {
    VENDARO_CLASS(TGraphic, TPersistent)
public:
    TGraphic() = default;

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual void SetWidth(int value) = 0;
    virtual int Height() const = 0;
    virtual void SetHeight(int value) = 0;
    virtual HPALETTE Palette() const { return nullptr; }
    virtual void SetPalette(HPALETTE value) {}
    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);
    bool Modified() const { return modified_; }
    void SetModified(bool value);

    virtual void LoadFromStream(TStream* stream) = 0;
    virtual void SaveToStream(TStream* stream) = 0;
    void LoadFromFile(const AnsiString& fileName);
    void SaveToFile(const AnsiString& fileName);

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }

    // The graphic's image as a form description keeps it (its "Data" property).
    virtual void ReadData(TStream* stream) { LoadFromStream(stream); }
    virtual void WriteData(TStream* stream) { SaveToStream(stream); }

protected:
    // Marks the graphic modified and fires OnChange.
    virtual void Changed(TObject* sender);
    // The "Data" property: the image, when there is one.
    void DefineProperties(TFiler* filer) override;
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;

    bool transparent_ = false;

private:
    bool modified_ = false;
    TNotifyEvent onChange_;

    friend class TCanvas;
    friend class TPicture;
};

// ---------------------------------------------------------------------------------------
// TBitmap: an image of its own depth (a device-dependent bitmap of the display's depth for
// pfDevice, a DIB section otherwise) with a canvas drawing on it.

VENDARO_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
VENDARO_ENUM(TTransparentMode, tmAuto, tmFixed)

// The flag an automatic transparent colour carries (as a palette-relative colour would);
// compare colours without it.
constexpr TColor TransparentColorFlag = 0x02000000;

struct DecodedBitmap;

class TBitmapCanvas : public TCanvas {
    VENDARO_CLASS(TBitmapCanvas, TCanvas)
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override;

    // Deselects the bitmap and deletes the memory context; the next drawing makes a new one.
    void FreeContext();

protected:
    void CreateHandle() override;

private:
    TBitmap* bitmap_;
    HDC dc_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldPalette_ = nullptr;
};

class TBitmap : public TGraphic {
    VENDARO_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    ~TBitmap() override;

    // Deep copy of another bitmap (image, format, palette, transparency); nil empties.
    void Assign(TPersistent* source) override;

    bool Empty() const override;
    int Width() const override { return width_; }
    // Resizing keeps the top-left pixels; new area is white.
    void SetWidth(int value) override { SetSize(value, height_); }
    int Height() const override { return height_; }
    void SetHeight(int value) override { SetSize(width_, value); }
    void SetSize(int width, int height);

    TPixelFormat PixelFormat() const { return pixelFormat_; }
    // Converts the image to the format (pfCustom raises EInvalidGraphic "Invalid pixel
    // format").
    void SetPixelFormat(TPixelFormat value);
    // One bit per pixel with a black and white colour table.
    bool Monochrome() const { return monochrome_; }
    void SetMonochrome(bool value);

    TCanvas* Canvas();
    // Address of a row of the image (row 0 at the top), as its DIB memory holds it; a
    // device-dependent image becomes a DIB of the display's depth first. Out of range
    // rows raise EInvalidGraphicOperation.
    void* ScanLine(int row);

    // The bitmap object, the canvas's context released first; 0 when empty.
    HBITMAP Handle();
    // Adopts the bitmap object: size and format are read from it; the bitmap owns it.
    void SetHandle(HBITMAP value);
    // Hands the bitmap object to the caller; the image stays in the bitmap as a copy.
    HBITMAP ReleaseHandle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    HPALETTE Palette() const override { return palette_; }
    // Adopts the palette; it also becomes the colour table of an indexed image.
    void SetPalette(HPALETTE value) override;
    HPALETTE ReleasePalette();

    // A monochrome mask of the bitmap for its transparent colour, kept until the image
    // changes; owned by the bitmap.
    HBITMAP MaskHandle();
    // Turns the image into a monochrome mask: white where it has the colour, black
    // elsewhere.
    void Mask(TColor transparentColor);
    // Automatic mode: the lower-left pixel (white for a monochrome image), with
    // TransparentColorFlag set. Setting clDefault selects the automatic mode.
    TColor TransparentColor();
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode value);

    // Keeps the image only as a memory copy, releasing the GDI objects until next use.
    void Dormant();
    // Drops the memory copy of the image, keeping the bitmap object.
    void FreeImage();

    // A bitmap file image in the bitmap's own format; an empty bitmap writes nothing.
    void SaveToStream(TStream* stream) override;
    // Any bitmap file image; nothing left in the stream gives an empty bitmap; a
    // malformed image raises EInvalidGraphic "Bitmap image is not valid".
    void LoadFromStream(TStream* stream) override;
    void LoadFromResourceName(HINSTANCE instance, const AnsiString& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

    // The form description keeps a byte count before the file image.
    void ReadData(TStream* stream) override;
    void WriteData(TStream* stream) override;

protected:
    void Changed(TObject* sender) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    friend class TBitmapCanvas;
    friend class TCanvas;

    void Changing(TObject* sender);
    void HandleNeeded();
    void FreeContext();
    void FreeHandles();
    // Replaces the image by a new one of that format and size holding the old pixels.
    void Rebuild(TPixelFormat format, bool monochrome, int width, int height);
    void AdoptImage(HBITMAP image, TPixelFormat format, bool monochrome, int width, int height);
    void LoadFromBytes(const std::vector<BYTE>& bytes);
    void AdoptDib(const DecodedBitmap& image);
    DecodedBitmap ImageData();
    void LoadFromResource(HINSTANCE instance, LPCSTR name, const AnsiString& shownName);
    // The canvas's context with the image selected, made without change notifications.
    HDC ImageDC();
    void DrawTransparent(HDC dest, const TRect& rect);
    HBITMAP CreateMaskOf(COLORREF color);

    HBITMAP handle_ = nullptr;
    HPALETTE palette_ = nullptr;
    HBITMAP maskHandle_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    TPixelFormat pixelFormat_ = pfDevice;
    bool monochrome_ = false;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    // The bitmap file image of a dormant or released bitmap.
    std::vector<BYTE> memoryImage_;
    TOwned<TBitmapCanvas> canvas_;
};

// ---------------------------------------------------------------------------------------
// TIcon: an icon object, read from and written as an icon file image.

class TIcon : public TGraphic {
    VENDARO_CLASS(TIcon, TGraphic)
public:
    TIcon();
    ~TIcon() override;

    // Copy of another icon; nil empties.
    void Assign(TPersistent* source) override;

    bool Empty() const override { return !handle_ && image_.empty(); }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // The size to pick from an icon file; an icon that has an image raises
    // EInvalidGraphicOperation "Cannot change the size of an icon".
    void SetWidth(int value) override;
    void SetHeight(int value) override;

    // The icon object, made from the file image on first use.
    HICON Handle();
    // Adopts the icon object.
    void SetHandle(HICON value);
    // Hands the icon object to the caller; the icon keeps its file image, if any.
    HICON ReleaseHandle();

    // The entry of the requested size (32 x 32 when none was requested), else the first;
    // nothing left in the stream gives an empty icon; anything malformed raises
    // EInvalidGraphic "Icon image is not valid".
    void LoadFromStream(TStream* stream) override;
    // The file image it was read from, or one 32-bit entry made from the icon object.
    void SaveToStream(TStream* stream) override;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    void HandleNeeded();
    void FreeHandle();
    HICON IconFromImage(const std::vector<BYTE>& image, int& width, int& height) const;
    std::vector<BYTE> ImageFromHandle() const;

    HICON handle_ = nullptr;
    std::vector<BYTE> image_;
    int width_ = 0;
    int height_ = 0;
    int requestedWidth_ = 0;
    int requestedHeight_ = 0;
};

// ---------------------------------------------------------------------------------------
// TPicture: holds one graphic of any kind the library reads.

class TPicture : public TPersistent {
    VENDARO_CLASS(TPicture, TPersistent)
public:
    TPicture() = default;
    ~TPicture() override;

    // From a picture or a graphic (copied); nil empties.
    void Assign(TPersistent* source) override;

    TGraphic* Graphic() const { return graphic_.get(); }
    // Keeps a copy of the graphic, of the same class; nil removes it.
    void SetGraphic(TGraphic* value);
    // The graphic as a bitmap (or icon); a graphic of another kind is replaced by an empty one.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* value) { SetGraphic(value); }
    TIcon* Icon();
    void SetIcon(TIcon* value) { SetGraphic(value); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // By extension: ".bmp" a bitmap, ".ico" an icon; any other raises EInvalidGraphic
    // "Unknown picture file extension (.ext)".
    void LoadFromFile(const AnsiString& fileName);
    void SaveToFile(const AnsiString& fileName);

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }

    // The "Data" property: the graphic's class name as a short string, then its data;
    // an unknown class name reads as no graphic.
    void ReadData(TStream* stream);
    void WriteData(TStream* stream);

protected:
    void DefineProperties(TFiler* filer) override;
    virtual void Changed(TObject* sender);

private:
    template <class G>
    G* ForceType();
    void Adopt(TGraphic* graphic);

    TOwned<TGraphic> graphic_;
    TNotifyEvent onChange_;
};
