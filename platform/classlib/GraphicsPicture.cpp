// Icons, pictures and the "Data" property through which form descriptions keep graphics.
#include "platform/classlib/Graphics.h"

#include "platform/classlib/GraphicsBitmapFile.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/StrUtils.h"

#include <cstring>

namespace {

constexpr int kDefaultIconSize = 32;

[[noreturn]] void InvalidIcon()
{
    throw EInvalidGraphic(SInvalidIcon);
}

DWORD Read32(const BYTE* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24); }
WORD Read16(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
void Put16(std::vector<BYTE>& b, unsigned v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
void Put32(std::vector<BYTE>& b, DWORD v) { for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF); }

struct IconEntry {
    int width;
    int height;
    std::size_t offset;
    std::size_t size;
};

// The directory of an icon file: every entry lies inside the data.
std::vector<IconEntry> ReadIconDirectory(const std::vector<BYTE>& data)
{
    if (data.size() < 6 || Read16(data.data()) != 0 || Read16(data.data() + 2) != 1)
        InvalidIcon();
    std::size_t count = Read16(data.data() + 4);
    if (count == 0 || (data.size() - 6) / 16 < count)
        InvalidIcon();
    std::vector<IconEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const BYTE* e = data.data() + 6 + 16 * i;
        IconEntry entry{e[0] ? e[0] : 256, e[1] ? e[1] : 256, Read32(e + 12), Read32(e + 8)};
        if (entry.offset > data.size() || entry.size > data.size() - entry.offset)
            InvalidIcon();
        entries.push_back(entry);
    }
    return entries;
}

// A monochrome bitmap from bottom-up 1-bit rows (1 = transparent).
HBITMAP CreateMask(const BYTE* rows, int width, int height)
{
    std::vector<BYTE> info = MakeBitmapInfo(pf1bit, width, height, DefaultColorTable(pf1bit));
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    SetDIBits(dc, mask, 0, static_cast<UINT>(height), rows, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
    DeleteDC(dc);
    return mask;
}

// Rows of a bitmap read out at a depth (bottom-up, 32-bit aligned).
std::vector<BYTE> ReadRows(HBITMAP bitmap, TPixelFormat format, int width, int height)
{
    std::vector<BYTE> info = MakeBitmapInfo(format, width, height, format == pf1bit ? DefaultColorTable(pf1bit)
                                                                                      : std::vector<RGBQUAD>{});
    std::vector<BYTE> rows(static_cast<std::size_t>(BitmapRowBytes(width, BitsPerPixel(format)) * height));
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), rows.data(), reinterpret_cast<BITMAPINFO*>(info.data()),
              DIB_RGB_COLORS);
    DeleteDC(dc);
    return rows;
}

struct GraphicFormat {
    const char* extension;
    TClass (*graphicClass)();
};

constexpr GraphicFormat kFormats[] = {
    {"bmp", &TBitmap::StaticClass},
    {"ico", &TIcon::StaticClass},
};

TGraphic* CreateGraphic(TClass cls)
{
    return cls && cls->CanCreate() ? dynamic_cast<TGraphic*>(cls->Create()) : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------
// TGraphic's form-description property

void TGraphic::DefineProperties(TFiler* filer)
{
    filer->DefineBinaryProperty(
        "Data", [this](TStream* stream) { ReadData(stream); }, [this](TStream* stream) { WriteData(stream); },
        !Empty());
}

// ---------------------------------------------------------------------------------------
// TIcon

TIcon::TIcon()
{
    transparent_ = true;
}

TIcon::~TIcon()
{
    FreeHandle();
}

void TIcon::FreeHandle()
{
    if (handle_)
        DestroyIcon(handle_);
    handle_ = nullptr;
}

void TIcon::Assign(TPersistent* source)
{
    if (source && !dynamic_cast<TIcon*>(source)) {
        inherited::Assign(source);
        return;
    }
    auto* other = static_cast<TIcon*>(source);
    if (other == this)
        return;
    FreeHandle();
    image_ = other ? other->image_ : std::vector<BYTE>{};
    handle_ = other && other->handle_ ? CopyIcon(other->handle_) : nullptr;
    width_ = other ? other->width_ : 0;
    height_ = other ? other->height_ : 0;
    Changed(this);
}

void TIcon::SetWidth(int value)
{
    if (!Empty())
        throw EInvalidGraphicOperation(SChangeIconSize);
    requestedWidth_ = value;
}

void TIcon::SetHeight(int value)
{
    if (!Empty())
        throw EInvalidGraphicOperation(SChangeIconSize);
    requestedHeight_ = value;
}

HICON TIcon::Handle()
{
    HandleNeeded();
    return handle_;
}

void TIcon::HandleNeeded()
{
    if (!handle_ && !image_.empty())
        handle_ = IconFromImage(image_, width_, height_);
}

void TIcon::SetHandle(HICON value)
{
    if (value == handle_)
        return;
    FreeHandle();
    image_.clear();
    handle_ = value;
    width_ = height_ = 0;
    ICONINFO info{};
    if (value && GetIconInfo(value, &info)) {
        BITMAP bm{};
        if (info.hbmColor && GetObjectA(info.hbmColor, sizeof(bm), &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight;
        } else if (GetObjectA(info.hbmMask, sizeof(bm), &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight / 2;
        }
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    Changed(this);
}

HICON TIcon::ReleaseHandle()
{
    HandleNeeded();
    HICON result = handle_;
    handle_ = nullptr;
    if (image_.empty())
        width_ = height_ = 0;
    return result;
}

HICON TIcon::IconFromImage(const std::vector<BYTE>& image, int& width, int& height) const
{
    std::vector<IconEntry> entries = ReadIconDirectory(image);
    int wantedWidth = requestedWidth_ ? requestedWidth_ : kDefaultIconSize;
    int wantedHeight = requestedHeight_ ? requestedHeight_ : kDefaultIconSize;
    IconEntry chosen = entries.front();
    for (const IconEntry& e : entries)
        if (e.width == wantedWidth && e.height == wantedHeight) {
            chosen = e;
            break;
        }
    // The entry is a bitmap header of twice the height, the colour rows, then the mask rows.
    if (chosen.size < 40 || Read32(image.data() + chosen.offset) != 40)
        InvalidIcon();
    std::vector<BYTE> colour(image.begin() + static_cast<std::ptrdiff_t>(chosen.offset),
                             image.begin() + static_cast<std::ptrdiff_t>(chosen.offset + chosen.size));
    auto doubled = static_cast<LONG>(Read32(colour.data() + 8));
    if (doubled <= 0 || doubled % 2)
        InvalidIcon();
    LONG half = doubled / 2;
    std::memcpy(colour.data() + 8, &half, 4);
    std::memset(colour.data() + 20, 0, 4);   // the image size counted both halves
    DecodedBitmap pixels;
    std::size_t consumed = 0;
    try {
        pixels = DecodeBitmap(colour.data(), colour.size(), false, consumed);
    } catch (const EInvalidGraphic&) {
        InvalidIcon();
    }
    long long maskStride = BitmapRowBytes(pixels.width, 1);
    if (pixels.width == 0 || static_cast<long long>(colour.size() - consumed) < maskStride * pixels.height)
        InvalidIcon();
    HBITMAP colourBitmap = CreateDibSectionOf(pixels);
    HBITMAP mask = CreateMask(colour.data() + consumed, pixels.width, pixels.height);
    ICONINFO info{TRUE, 0, 0, mask, colourBitmap};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colourBitmap);
    width = pixels.width;
    height = pixels.height;
    return icon;
}

void TIcon::LoadFromStream(TStream* stream)
{
    int remaining = std::max(stream->Size() - stream->Position(), 0);
    std::vector<BYTE> image(static_cast<std::size_t>(remaining));
    if (!image.empty())
        stream->ReadBuffer(image.data(), remaining);
    int width = 0, height = 0;
    HICON icon = image.empty() ? nullptr : IconFromImage(image, width, height);
    FreeHandle();
    handle_ = icon;
    image_ = std::move(image);
    width_ = width;
    height_ = height;
    Changed(this);
}

std::vector<BYTE> TIcon::ImageFromHandle() const
{
    ICONINFO info{};
    if (!GetIconInfo(handle_, &info))
        return {};
    std::vector<BYTE> colour = info.hbmColor ? ReadRows(info.hbmColor, pf32bit, width_, height_)
                                             : std::vector<BYTE>(static_cast<std::size_t>(width_ * height_ * 4), 0);
    std::vector<BYTE> mask = ReadRows(info.hbmMask, pf1bit, width_, height_);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    std::vector<BYTE> out;
    DWORD dataSize = static_cast<DWORD>(40 + colour.size() + mask.size());
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    out.push_back(static_cast<BYTE>(width_ < 256 ? width_ : 0));
    out.push_back(static_cast<BYTE>(height_ < 256 ? height_ : 0));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, dataSize);
    Put32(out, 22);
    BITMAPINFOHEADER header{40, width_, height_ * 2, 1, 32, BI_RGB, static_cast<DWORD>(colour.size() + mask.size()),
                            0, 0, 0, 0};
    BYTE bytes[40];
    WriteBitmapInfoHeader(header, bytes);
    out.insert(out.end(), bytes, bytes + 40);
    out.insert(out.end(), colour.begin(), colour.end());
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

void TIcon::SaveToStream(TStream* stream)
{
    std::vector<BYTE> image = !image_.empty() ? image_ : handle_ ? ImageFromHandle() : std::vector<BYTE>{};
    if (!image.empty())
        stream->WriteBuffer(image.data(), static_cast<int>(image.size()));
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect)
{
    HICON icon = Handle();
    if (icon)
        DrawIconEx(canvas->Handle(), rect.left, rect.top, icon, rect.right - rect.left, rect.bottom - rect.top, 0,
                   nullptr, DI_NORMAL);
}

// ---------------------------------------------------------------------------------------
// TPicture

TPicture::~TPicture() = default;

void TPicture::Adopt(TGraphic* graphic)
{
    graphic_.reset(graphic);
    if (graphic)
        graphic->SetOnChange(TNotifyEvent(this, &TPicture::Changed));
    Changed(this);
}

void TPicture::SetGraphic(TGraphic* value)
{
    if (value == graphic_.get())
        return;
    TGraphic* copy = nullptr;
    if (value) {
        copy = CreateGraphic(value->ClassType());
        if (!copy)
            throw EInvalidGraphic(SInvalidBitmap);
        TOwned<TGraphic> guard(copy);
        copy->Assign(value);
        guard.release();
    }
    Adopt(copy);
}

template <class G>
G* TPicture::ForceType()
{
    if (auto* graphic = dynamic_cast<G*>(graphic_.get()))
        return graphic;
    G* graphic = new G;
    Adopt(graphic);
    return graphic;
}

TBitmap* TPicture::Bitmap()
{
    return ForceType<TBitmap>();
}

TIcon* TPicture::Icon()
{
    return ForceType<TIcon>();
}

void TPicture::Assign(TPersistent* source)
{
    if (!source)
        SetGraphic(nullptr);
    else if (auto* picture = dynamic_cast<TPicture*>(source))
        SetGraphic(picture->Graphic());
    else if (auto* graphic = dynamic_cast<TGraphic*>(source))
        SetGraphic(graphic);
    else
        inherited::Assign(source);
}

void TPicture::Changed(TObject*)
{
    onChange_(this);
}

void TPicture::LoadFromFile(const AnsiString& fileName)
{
    AnsiString ext = ExtractFileExt(fileName);
    AnsiString name = ext.IsEmpty() ? ext : Copy(ext, 2, ext.Length() - 1);
    for (const GraphicFormat& format : kFormats) {
        if (SameText(name, format.extension)) {
            TOwned<TGraphic> graphic(CreateGraphic(format.graphicClass()));
            graphic->LoadFromFile(fileName);
            Adopt(graphic.release());
            return;
        }
    }
    throw EInvalidGraphic(SUnknownExtension, {name});
}

void TPicture::SaveToFile(const AnsiString& fileName)
{
    if (graphic_)
        graphic_->SaveToFile(fileName);
}

void TPicture::ReadData(TStream* stream)
{
    BYTE length = 0;
    stream->ReadBuffer(&length, 1);
    AnsiString name;
    name.SetLength(length);
    if (length)
        stream->ReadBuffer(&name[1], length);
    TGraphic* graphic = nullptr;
    for (const GraphicFormat& format : kFormats)
        if (SameText(name, format.graphicClass()->ClassName()))
            graphic = CreateGraphic(format.graphicClass());
    TOwned<TGraphic> guard(graphic);
    if (graphic)
        graphic->ReadData(stream);
    Adopt(guard.release());
}

void TPicture::WriteData(TStream* stream)
{
    AnsiString name = graphic_ ? graphic_->ClassName() : AnsiString();
    BYTE length = static_cast<BYTE>(std::min(name.Length(), 255));
    stream->WriteBuffer(&length, 1);
    if (length)
        stream->WriteBuffer(name.c_str(), length);
    if (graphic_)
        graphic_->WriteData(stream);
}

void TPicture::DefineProperties(TFiler* filer)
{
    filer->DefineBinaryProperty(
        "Data", [this](TStream* stream) { ReadData(stream); }, [this](TStream* stream) { WriteData(stream); },
        graphic_ != nullptr);
}
