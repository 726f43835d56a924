// TBitmap and its canvas; the brush's pattern bitmap and the canvas's brush copy, which
// need the bitmap.
#include "platform/classlib/Graphics.h"

#include "platform/classlib/GraphicsBitmapFile.h"
#include "platform/rtl/NumConv.h"
#include "platform/win/kernel/Resources.h"

#include <cstring>

namespace {

// A memory context with one bitmap selected, both released on scope exit.
class SelectedBitmap {
public:
    explicit SelectedBitmap(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, bitmap)) {}
    ~SelectedBitmap()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

int DisplayBitsPerPixel()
{
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL);
    DeleteDC(screen);
    return bits;
}

TPixelFormat DisplayPixelFormat()
{
    switch (DisplayBitsPerPixel()) {
    case 8: return pf8bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

std::vector<RGBQUAD> PaletteColors(HPALETTE palette)
{
    std::vector<RGBQUAD> colors;
    if (!palette)
        return colors;
    PALETTEENTRY entries[256];
    UINT count = GetPaletteEntries(palette, 0, 256, entries);
    for (UINT i = 0; i < count; ++i)
        colors.push_back(RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0});
    return colors;
}

HPALETTE CreatePaletteOf(const std::vector<RGBQUAD>& colors)
{
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(colors.size());
    for (std::size_t i = 0; i < colors.size(); ++i)
        palette->palPalEntry[i] = PALETTEENTRY{colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0};
    return CreatePalette(palette);
}

// A DIB section of the format holding `colors` (indexed formats), or a device-dependent
// bitmap for pfDevice; 0 for an empty size.
HBITMAP CreateImage(TPixelFormat format, bool monochrome, int width, int height, std::vector<RGBQUAD> colors)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    if (format == pfDevice) {
        if (monochrome)
            return CreateBitmap(width, height, 1, 1, nullptr);
        HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        DeleteDC(screen);
        return bitmap;
    }
    if (colors.empty())
        colors = DefaultColorTable(format);
    std::vector<BYTE> info = MakeBitmapInfo(format, width, height, colors);
    void* bits = nullptr;
    return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
}

} // namespace

// ---------------------------------------------------------------------------------------
// TBitmapCanvas

TBitmapCanvas::~TBitmapCanvas()
{
    FreeContext();
}

void TBitmapCanvas::CreateHandle()
{
    // A context unbound from outside is still ours to release.
    FreeContext();
    bitmap_->HandleNeeded();
    dc_ = CreateCompatibleDC(nullptr);
    oldBitmap_ = bitmap_->handle_ ? SelectObject(dc_, bitmap_->handle_) : nullptr;
    oldPalette_ = bitmap_->palette_ ? SelectPalette(dc_, bitmap_->palette_, TRUE) : nullptr;
    if (oldPalette_)
        RealizePalette(dc_);
    SetHandle(dc_);
}

void TBitmapCanvas::FreeContext()
{
    if (!dc_)
        return;
    SetHandle(nullptr);
    if (oldBitmap_)
        SelectObject(dc_, oldBitmap_);
    if (oldPalette_)
        SelectPalette(dc_, static_cast<HPALETTE>(oldPalette_), TRUE);
    DeleteDC(dc_);
    dc_ = nullptr;
    oldBitmap_ = oldPalette_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// TBitmap: image management

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    canvas_.reset();
    FreeHandles();
    if (palette_)
        DeleteObject(palette_);
}

bool TBitmap::Empty() const
{
    return !handle_ && memoryImage_.empty();
}

void TBitmap::FreeContext()
{
    if (canvas_)
        canvas_->FreeContext();
}

void TBitmap::FreeHandles()
{
    FreeContext();
    if (maskHandle_)
        DeleteObject(maskHandle_);
    if (handle_)
        DeleteObject(handle_);
    maskHandle_ = nullptr;
    handle_ = nullptr;
}

void TBitmap::Changing(TObject*)
{
    if (handle_)
        memoryImage_.clear();
    if (maskHandle_) {
        DeleteObject(maskHandle_);
        maskHandle_ = nullptr;
    }
}

void TBitmap::Changed(TObject* sender)
{
    Changing(sender);
    inherited::Changed(this);
}

void TBitmap::HandleNeeded()
{
    if (handle_ || memoryImage_.empty())
        return;
    TPixelFormat format = pixelFormat_;
    bool monochrome = monochrome_;
    std::vector<BYTE> image = std::move(memoryImage_);
    LoadFromBytes(image);
    // The copy is a DIB of the same depth; a device-dependent image becomes one again.
    if (format == pfDevice)
        Rebuild(pfDevice, monochrome, width_, height_);
    memoryImage_ = std::move(image);
}

HDC TBitmap::ImageDC()
{
    Canvas();
    canvas_->RequiredState({csHandleValid});
    return canvas_->handle_;
}

void TBitmap::AdoptImage(HBITMAP image, TPixelFormat format, bool monochrome, int width, int height)
{
    FreeHandles();
    memoryImage_.clear();
    handle_ = image;
    pixelFormat_ = format;
    monochrome_ = monochrome;
    width_ = width;
    height_ = height;
}

void TBitmap::Rebuild(TPixelFormat format, bool monochrome, int width, int height)
{
    HandleNeeded();
    bool indexed = format != pfDevice && BitsPerPixel(format) <= 8;
    std::vector<RGBQUAD> colors;
    if (indexed && format == pixelFormat_ && handle_) {
        // Same depth: the image keeps its own colour table.
        RGBQUAD table[256];
        UINT count = GetDIBColorTable(ImageDC(), 0, 256, table);
        colors.assign(table, table + count);
    } else if (indexed) {
        colors = DefaultColorTable(format);
    }
    if (format != pixelFormat_) {
        FreeContext();
        if (palette_)
            DeleteObject(palette_);
        palette_ = indexed ? CreatePaletteOf(colors) : nullptr;
    }
    HBITMAP image = CreateImage(format, monochrome, width, height, colors);
    if (image) {
        SelectedBitmap target(image);
        RECT all{0, 0, width, height};
        ::FillRect(target.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (handle_) {
            FreeContext();
            SelectedBitmap source(handle_);
            BitBlt(target.dc(), 0, 0, std::min(width, width_), std::min(height, height_), source.dc(), 0, 0, SRCCOPY);
        }
    }
    AdoptImage(image, format, monochrome, width, height);
}

void TBitmap::SetSize(int width, int height)
{
    if (width < 0 || height < 0 || (width == width_ && height == height_))
        return;
    Rebuild(pixelFormat_, monochrome_, width, height);
    Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat value)
{
    if (value == pfCustom)
        throw EInvalidGraphic(SInvalidPixelFormat);
    if (value == pixelFormat_)
        return;
    Rebuild(value, value == pf1bit, width_, height_);
    Changed(this);
}

void TBitmap::SetMonochrome(bool value)
{
    if (value == monochrome_)
        return;
    if (pixelFormat_ == pfDevice)
        Rebuild(pfDevice, value, width_, height_);
    else
        Rebuild(value ? pf1bit : pfDevice, value, width_, height_);
    Changed(this);
}

TCanvas* TBitmap::Canvas()
{
    if (!canvas_) {
        canvas_.reset(new TBitmapCanvas(this));
        canvas_->SetOnChange(TNotifyEvent(this, &TBitmap::Changed));
        canvas_->SetOnChanging(TNotifyEvent(this, &TBitmap::Changing));
    }
    return canvas_.get();
}

void* TBitmap::ScanLine(int row)
{
    if (row < 0 || row >= height_)
        throw EInvalidGraphicOperation(SScanLine);
    HandleNeeded();
    if (pixelFormat_ == pfDevice)
        Rebuild(monochrome_ ? pf1bit : DisplayPixelFormat(), monochrome_, width_, height_);
    Changing(this);
    GdiFlush();
    DIBSECTION section{};
    GetObjectA(handle_, sizeof(section), &section);
    auto* bits = static_cast<BYTE*>(section.dsBm.bmBits);
    return bits + static_cast<std::size_t>(height_ - 1 - row) * static_cast<std::size_t>(section.dsBm.bmWidthBytes);
}

HBITMAP TBitmap::Handle()
{
    FreeContext();
    HandleNeeded();
    Changing(this);
    return handle_;
}

void TBitmap::SetHandle(HBITMAP value)
{
    if (value == handle_)
        return;
    TPixelFormat format = pfDevice;
    bool monochrome = false;
    int width = 0, height = 0;
    DIBSECTION section{};
    int size = value ? GetObjectA(value, sizeof(section), &section) : 0;
    if (size == static_cast<int>(sizeof(DIBSECTION))) {
        format = PixelFormatOf(section.dsBmih, section.dsBitfields);
        monochrome = format == pf1bit;
    } else if (size > 0) {
        monochrome = section.dsBm.bmBitsPixel == 1;
    }
    if (size > 0) {
        width = section.dsBm.bmWidth;
        height = section.dsBm.bmHeight;
    }
    AdoptImage(value, format, monochrome, width, height);
    Changed(this);
}

HBITMAP TBitmap::ReleaseHandle()
{
    HandleNeeded();
    if (!handle_)
        return nullptr;
    std::vector<BYTE> image;
    {
        TMemoryStream stream;
        SaveToStream(&stream);
        auto* bytes = static_cast<const BYTE*>(stream.Memory());
        image.assign(bytes, bytes + stream.Size());
    }
    FreeContext();
    HBITMAP result = handle_;
    handle_ = nullptr;
    Changing(this);
    memoryImage_ = std::move(image);
    return result;
}

void TBitmap::SetPalette(HPALETTE value)
{
    if (value == palette_)
        return;
    FreeContext();
    if (palette_)
        DeleteObject(palette_);
    palette_ = value;
    HandleNeeded();
    if (handle_ && value && pixelFormat_ != pfDevice && BitsPerPixel(pixelFormat_) <= 8) {
        std::vector<RGBQUAD> colors = PaletteColors(value);
        SelectedBitmap image(handle_);
        SetDIBColorTable(image.dc(), 0, static_cast<UINT>(colors.size()), colors.data());
    }
    Changed(this);
}

HPALETTE TBitmap::ReleasePalette()
{
    FreeContext();
    HPALETTE result = palette_;
    palette_ = nullptr;
    return result;
}

void TBitmap::Dormant()
{
    if (!handle_)
        return;
    TMemoryStream stream;
    SaveToStream(&stream);
    auto* bytes = static_cast<const BYTE*>(stream.Memory());
    std::vector<BYTE> image(bytes, bytes + stream.Size());
    FreeHandles();
    memoryImage_ = std::move(image);
}

void TBitmap::FreeImage()
{
    HandleNeeded();
    memoryImage_.clear();
}

// ---------------------------------------------------------------------------------------
// Copying, masks and transparency

void TBitmap::Assign(TPersistent* source)
{
    if (source && !dynamic_cast<TBitmap*>(source)) {
        inherited::Assign(source);
        return;
    }
    auto* other = static_cast<TBitmap*>(source);
    if (other == this)
        return;
    HBITMAP image = nullptr;
    if (other && !other->Empty()) {
        HDC from = other->ImageDC();
        std::vector<RGBQUAD> colors;
        if (other->pixelFormat_ != pfDevice && BitsPerPixel(other->pixelFormat_) <= 8) {
            RGBQUAD table[256];
            UINT count = GetDIBColorTable(from, 0, 256, table);
            colors.assign(table, table + count);
        }
        image = CreateImage(other->pixelFormat_, other->monochrome_, other->width_, other->height_, colors);
        SelectedBitmap to(image);
        BitBlt(to.dc(), 0, 0, other->width_, other->height_, from, 0, 0, SRCCOPY);
    }
    HPALETTE palette = other && other->palette_ ? CreatePaletteOf(PaletteColors(other->palette_)) : nullptr;
    if (palette_)
        DeleteObject(palette_);
    palette_ = palette;
    if (other)
        AdoptImage(image, other->pixelFormat_, other->monochrome_, other->width_, other->height_);
    else
        AdoptImage(nullptr, pixelFormat_, monochrome_, 0, 0);
    if (other) {
        transparentColor_ = other->transparentColor_;
        transparentMode_ = other->transparentMode_;
        transparent_ = other->transparent_;
    }
    Changed(this);
}

// Colour to monochrome: the pixels of the context's background colour become white.
HBITMAP TBitmap::CreateMaskOf(COLORREF color)
{
    HDC source = ImageDC();
    HBITMAP mask = CreateBitmap(width_, height_, 1, 1, nullptr);
    SelectedBitmap target(mask);
    COLORREF back = SetBkColor(source, color);
    BitBlt(target.dc(), 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    SetBkColor(source, back);
    return mask;
}

HBITMAP TBitmap::MaskHandle()
{
    if (maskHandle_ || Empty())
        return maskHandle_;
    COLORREF color = static_cast<COLORREF>(TransparentColor()) & 0xFFFFFF;
    maskHandle_ = CreateMaskOf(color);
    return maskHandle_;
}

void TBitmap::Mask(TColor transparentColor)
{
    if (Empty())
        return;
    COLORREF color = ColorToRGB(transparentColor == clDefault ? TransparentColor() : transparentColor) & 0xFFFFFF;
    AdoptImage(CreateMaskOf(color), pfDevice, true, width_, height_);
    Changed(this);
}

TColor TBitmap::TransparentColor()
{
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault)
        return static_cast<TColor>(ColorToRGB(transparentColor_)) | TransparentColorFlag;
    if (monochrome_ || Empty())
        return clWhite | TransparentColorFlag;
    return Canvas()->Pixels(0, height_ - 1) | TransparentColorFlag;
}

void TBitmap::SetTransparentColor(TColor value)
{
    if (value == transparentColor_)
        return;
    transparentMode_ = value == clDefault ? tmAuto : tmFixed;
    transparentColor_ = value;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode value)
{
    if (value == transparentMode_)
        return;
    if (value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor() & ~TransparentColorFlag);
}

// ---------------------------------------------------------------------------------------
// Drawing

void TBitmap::Draw(TCanvas* canvas, const TRect& rect)
{
    if (Empty())
        return;
    HDC dest = canvas->Handle();
    if (!monochrome_)
        SetStretchBltMode(dest, STRETCH_DELETESCANS);
    if (Transparent())
        DrawTransparent(dest, rect);
    else
        StretchBlt(dest, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, ImageDC(), 0, 0, width_,
                   height_, static_cast<DWORD>(canvas->CopyMode()));
}

// Where the mask is white the destination stays; elsewhere the image is copied:
// D ^ S, then AND the mask, then ^ S again.
void TBitmap::DrawTransparent(HDC dest, const TRect& rect)
{
    HBITMAP mask = MaskHandle();
    HDC source = ImageDC();
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    COLORREF text = SetTextColor(dest, RGB(0, 0, 0));
    COLORREF back = SetBkColor(dest, RGB(255, 255, 255));
    StretchBlt(dest, rect.left, rect.top, w, h, source, 0, 0, width_, height_, SRCINVERT);
    {
        SelectedBitmap maskDc(mask);
        StretchBlt(dest, rect.left, rect.top, w, h, maskDc.dc(), 0, 0, width_, height_, SRCAND);
    }
    StretchBlt(dest, rect.left, rect.top, w, h, source, 0, 0, width_, height_, SRCINVERT);
    SetTextColor(dest, text);
    SetBkColor(dest, back);
}

// ---------------------------------------------------------------------------------------
// Streams and resources

// The image as the file writer takes it: a DIB section's own rows and colour table, or a
// device-dependent image read out at its depth.
DecodedBitmap TBitmap::ImageData()
{
    HandleNeeded();
    FreeContext();
    DecodedBitmap image;
    image.width = width_;
    image.height = height_;
    GdiFlush();
    DIBSECTION section{};
    int size = GetObjectA(handle_, sizeof(section), &section);
    if (pixelFormat_ != pfDevice && size == static_cast<int>(sizeof(DIBSECTION))) {
        image.format = pixelFormat_;
        std::size_t stride = static_cast<std::size_t>(section.dsBm.bmWidthBytes);
        image.bits.resize(stride * static_cast<std::size_t>(height_));
        const auto* bits = static_cast<const BYTE*>(section.dsBm.bmBits);
        bool topDown = section.dsBmih.biHeight < 0;
        for (int y = 0; y < height_; ++y)
            std::memcpy(image.bits.data() + y * stride, bits + (topDown ? height_ - 1 - y : y) * stride, stride);
        if (BitsPerPixel(image.format) <= 8) {
            SelectedBitmap selected(handle_);
            RGBQUAD table[256];
            UINT count = GetDIBColorTable(selected.dc(), 0, 256, table);
            image.colors.assign(table, table + count);
            image.colors.resize(std::size_t{1} << BitsPerPixel(image.format), RGBQUAD{0, 0, 0, 0});
        }
        return image;
    }
    int depth = section.dsBm.bmBitsPixel;
    image.format = monochrome_ || depth == 1 ? pf1bit : depth == 8 ? pf8bit : depth == 16 ? pf15bit
                   : depth == 24 ? pf24bit : pf32bit;
    std::vector<RGBQUAD> colors = BitsPerPixel(image.format) <= 8 ? DefaultColorTable(image.format) : std::vector<RGBQUAD>{};
    std::vector<BYTE> info = MakeBitmapInfo(image.format, width_, height_, colors);
    image.bits.resize(static_cast<std::size_t>(BitmapRowBytes(width_, BitsPerPixel(image.format)) * height_));
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, handle_, 0, static_cast<UINT>(height_), image.bits.data(), reinterpret_cast<BITMAPINFO*>(info.data()),
              DIB_RGB_COLORS);
    DeleteDC(dc);
    if (!colors.empty()) {
        const auto* table = reinterpret_cast<const RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
        image.colors.assign(table, table + colors.size());
    }
    return image;
}

void TBitmap::SaveToStream(TStream* stream)
{
    if (Empty())
        return;
    std::vector<BYTE> bytes = EncodeBitmap(ImageData());
    stream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
}

void TBitmap::LoadFromBytes(const std::vector<BYTE>& bytes)
{
    std::size_t consumed = 0;
    AdoptDib(DecodeBitmap(bytes.data(), bytes.size(), true, consumed));
}

void TBitmap::AdoptDib(const DecodedBitmap& image)
{
    HBITMAP handle = CreateDibSectionOf(image);
    bool indexed = BitsPerPixel(image.format) <= 8;
    if (indexed && handle && !palette_)
        palette_ = CreatePaletteOf(image.colors);
    AdoptImage(handle, image.format, image.format == pf1bit, image.width, image.height);
}

void TBitmap::LoadFromStream(TStream* stream)
{
    int start = stream->Position();
    int remaining = stream->Size() - start;
    std::vector<BYTE> bytes(static_cast<std::size_t>(std::max(remaining, 0)));
    if (!bytes.empty())
        stream->ReadBuffer(bytes.data(), static_cast<int>(bytes.size()));
    if (bytes.empty()) {
        AdoptImage(nullptr, pixelFormat_, monochrome_, 0, 0);
    } else {
        std::size_t consumed = 0;
        DecodedBitmap image = DecodeBitmap(bytes.data(), bytes.size(), true, consumed);
        stream->SetPosition(start + static_cast<int>(consumed));
        if (palette_)
            DeleteObject(ReleasePalette());
        AdoptDib(image);
    }
    Changed(this);
}

void TBitmap::ReadData(TStream* stream)
{
    std::int32_t size = 0;
    stream->ReadBuffer(&size, sizeof(size));
    if (size < 0 || size > stream->Size() - stream->Position())
        throw EInvalidGraphic(SInvalidBitmap);
    TMemoryStream image;
    if (size > 0)
        image.CopyFrom(stream, size);
    image.SetPosition(0);
    LoadFromStream(&image);
}

void TBitmap::WriteData(TStream* stream)
{
    TMemoryStream image;
    SaveToStream(&image);
    std::int32_t size = image.Size();
    stream->WriteBuffer(&size, sizeof(size));
    if (size > 0)
        stream->WriteBuffer(image.Memory(), size);
}

void TBitmap::LoadFromResource(HINSTANCE instance, LPCSTR name, const AnsiString& shownName)
{
    HRSRC resource = FindResourceA(instance, name, RT_BITMAP);
    if (!resource)
        throw EResNotFound(SResNotFound, {shownName});
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(instance, resource)));
    std::size_t consumed = 0;
    DecodedBitmap image = DecodeBitmap(data, SizeofResource(instance, resource), false, consumed);
    if (palette_)
        DeleteObject(ReleasePalette());
    AdoptDib(image);
    Changed(this);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const AnsiString& name)
{
    LoadFromResource(instance, name.c_str(), name);
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id)
{
    LoadFromResource(instance, MAKEINTRESOURCEA(static_cast<WORD>(id)), IntToStr(id));
}

// ---------------------------------------------------------------------------------------
// TBrush's pattern and the canvas's brush copy

TBrush::~TBrush() = default;

void TBrush::SetBitmap(TBitmap* value)
{
    if (value) {
        if (!bitmap_)
            bitmap_.reset(new TBitmap);
        bitmap_->Assign(value);
    } else {
        bitmap_.reset();
    }
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color)
{
    if (!bitmap || bitmap->Empty())
        return;
    int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    int sw = source.right - source.left, sh = source.bottom - source.top;
    if (sw <= 0 || sh <= 0)
        return;
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    HBITMAP mask = CreateBitmap(sw, sh, 1, 1, nullptr);
    {
        HDC image = bitmap->ImageDC();
        SelectedBitmap maskDc(mask);
        COLORREF oldBack = SetBkColor(image, ColorToRGB(color) & 0xFFFFFF);
        BitBlt(maskDc.dc(), 0, 0, sw, sh, image, source.left, source.top, SRCCOPY);
        SetBkColor(image, oldBack);
        StretchBlt(handle_, dest.left, dest.top, dw, dh, image, source.left, source.top, sw, sh, SRCCOPY);
        // Where the mask is white (the colour), the brush; elsewhere what was copied.
        COLORREF text = SetTextColor(handle_, RGB(0, 0, 0));
        COLORREF back = SetBkColor(handle_, RGB(255, 255, 255));
        StretchBlt(handle_, dest.left, dest.top, dw, dh, maskDc.dc(), 0, 0, sw, sh, 0x00E20746);
        SetTextColor(handle_, text);
        SetBkColor(handle_, back);
    }
    DeleteObject(mask);
    Changed();
}
