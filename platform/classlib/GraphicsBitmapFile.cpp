// Bitmap files: 12, 40, 52, 56, 108 and 124-byte headers; 1, 4, 8, 16, 24 and 32 bits per
// pixel; uncompressed, bit fields and run-length encoded data; either row order. Every
// size is checked against the data before anything is read or allocated.
#include "platform/classlib/GraphicsBitmapFile.h"

#include <bit>
#include <cstring>

namespace {

// Run-length data fills an image made before the data is read, so a few bytes could ask
// for any size: such images are held to 64 MB. Plain rows must all be in the data, up to
// the largest bitmap there is.
constexpr long long kMaxRunLengthImageBytes = 1LL << 26;
constexpr DWORD kMasks565[3] = {0xF800, 0x07E0, 0x001F};
constexpr DWORD kMasks555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr DWORD kMasks888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

[[noreturn]] void Invalid()
{
    throw EInvalidGraphic(SInvalidBitmap);
}

DWORD Read32(const BYTE* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24); }
WORD Read16(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }

bool SameMasks(const DWORD a[3], const DWORD b[3])
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

// What the file says about the image.
struct DibHeader {
    std::size_t headerSize = 0;
    long long width = 0;
    long long height = 0;
    bool topDown = false;
    int bpp = 0;
    DWORD compression = BI_RGB;
    DWORD sizeImage = 0;
    DWORD colorsUsed = 0;
    DWORD masks[3] = {0, 0, 0};
    bool core = false;
};

DibHeader ReadHeader(const BYTE* p, std::size_t available)
{
    if (available < 4)
        Invalid();
    DibHeader h;
    h.headerSize = Read32(p);
    switch (h.headerSize) {
    case 12: case 40: case 52: case 56: case 108: case 124: break;
    default: Invalid();
    }
    if (available < h.headerSize)
        Invalid();
    WORD planes;
    if (h.headerSize == 12) {
        h.core = true;
        h.width = Read16(p + 4);
        h.height = Read16(p + 6);
        planes = Read16(p + 8);
        h.bpp = Read16(p + 10);
        if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 24)
            Invalid();
    } else {
        h.width = static_cast<LONG>(Read32(p + 4));
        h.height = static_cast<LONG>(Read32(p + 8));
        planes = Read16(p + 12);
        h.bpp = Read16(p + 14);
        h.compression = Read32(p + 16);
        h.sizeImage = Read32(p + 20);
        h.colorsUsed = Read32(p + 32);
        if (h.headerSize >= 52)
            for (int i = 0; i < 3; ++i)
                h.masks[i] = Read32(p + 40 + 4 * i);
    }
    if (planes != 1 || h.width < 0)
        Invalid();
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }
    switch (h.bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Invalid();
    }
    bool compressionFits = h.compression == BI_RGB ||
                           (h.compression == BI_RLE8 && h.bpp == 8 && !h.topDown) ||
                           (h.compression == BI_RLE4 && h.bpp == 4 && !h.topDown) ||
                           (h.compression == BI_BITFIELDS && (h.bpp == 16 || h.bpp == 32));
    if (!compressionFits)
        Invalid();
    return h;
}

TPixelFormat IndexedFormat(int bpp)
{
    return bpp == 1 ? pf1bit : bpp == 4 ? pf4bit : pf8bit;
}

// Writes one index into a bottom-up indexed image, ignoring positions outside it.
struct IndexWriter {
    DecodedBitmap& image;
    int bpp;
    long long stride;

    void Put(long long x, long long row, unsigned index)
    {
        if (x < 0 || x >= image.width || row < 0 || row >= image.height)
            return;
        BYTE* line = image.bits.data() + row * stride;
        if (bpp == 8) {
            line[x] = static_cast<BYTE>(index);
        } else {
            BYTE& b = line[x / 2];
            b = (x % 2) ? static_cast<BYTE>((b & 0xF0) | (index & 0x0F)) : static_cast<BYTE>((b & 0x0F) | (index << 4));
        }
    }
};

// Run-length data: pairs (count, index) or escapes 0,0 end of line; 0,1 end of bitmap;
// 0,2,dx,dy move; 0,n n literal indexes padded to a word. Data that stops early simply
// ends the image; runs past the edges are cut.
std::size_t DecodeRle(const BYTE* data, std::size_t size, DecodedBitmap& image, int bpp)
{
    IndexWriter out{image, bpp, BitmapRowBytes(image.width, bpp)};
    long long x = 0, row = 0;
    std::size_t i = 0;
    while (i + 1 < size) {
        BYTE count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k) {
                unsigned index = bpp == 8 ? value : (k % 2 ? value & 0x0F : value >> 4);
                out.Put(x++, row, index);
            }
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (i + 1 >= size)
                break;
            x += data[i];
            row += data[i + 1];
            i += 2;
        } else {
            std::size_t bytes = bpp == 8 ? value : (value + 1) / 2;
            std::size_t padded = (bytes + 1) & ~std::size_t{1};
            if (i + bytes > size)
                break;
            for (int k = 0; k < value; ++k) {
                unsigned index = bpp == 8 ? data[i + k] : (k % 2 ? data[i + k / 2] & 0x0F : data[i + k / 2] >> 4);
                out.Put(x++, row, index);
            }
            i += std::min(padded, size - i);
        }
    }
    return i;
}

BYTE ScaleChannel(DWORD pixel, DWORD mask)
{
    if (!mask)
        return 0;
    int shift = std::countr_zero(mask);
    DWORD value = (pixel & mask) >> shift;
    DWORD maximum = mask >> shift;
    return static_cast<BYTE>(value * 255 / maximum);
}

// Pixels of any bit-field layout become 32-bit BGRX pixels.
void DecodeBitFields(const BYTE* src, long long srcStride, const DibHeader& h, DecodedBitmap& image)
{
    image.format = pf32bit;
    long long dstStride = BitmapRowBytes(image.width, 32);
    image.bits.assign(static_cast<std::size_t>(dstStride * image.height), 0);
    for (long long y = 0; y < image.height; ++y) {
        const BYTE* line = src + y * srcStride;
        long long row = h.topDown ? image.height - 1 - y : y;
        BYTE* out = image.bits.data() + row * dstStride;
        for (long long x = 0; x < image.width; ++x) {
            DWORD pixel = h.bpp == 16 ? Read16(line + 2 * x) : Read32(line + 4 * x);
            out[4 * x] = ScaleChannel(pixel, h.masks[2]);
            out[4 * x + 1] = ScaleChannel(pixel, h.masks[1]);
            out[4 * x + 2] = ScaleChannel(pixel, h.masks[0]);
        }
    }
}

// The format that keeps uncompressed pixels as they are; pfCustom when they need decoding.
TPixelFormat RawFormat(const DibHeader& h)
{
    if (h.bpp <= 8)
        return IndexedFormat(h.bpp);
    if (h.bpp == 24)
        return pf24bit;
    if (h.compression == BI_RGB)
        return h.bpp == 16 ? pf15bit : pf32bit;
    if (h.bpp == 16)
        return SameMasks(h.masks, kMasks565) ? pf16bit : SameMasks(h.masks, kMasks555) ? pf15bit : pfCustom;
    return SameMasks(h.masks, kMasks888) ? pf32bit : pfCustom;
}

void CopyRows(const BYTE* src, long long stride, bool topDown, DecodedBitmap& image)
{
    image.bits.resize(static_cast<std::size_t>(stride * image.height));
    for (long long y = 0; y < image.height; ++y) {
        long long row = topDown ? image.height - 1 - y : y;
        std::memcpy(image.bits.data() + row * stride, src + y * stride, static_cast<std::size_t>(stride));
    }
}

// 16-bit pixels between the file's 5-6-5 layout and the 5-5-5 layout the image keeps in
// memory (the drawing layer keeps 16-bit images as 5-5-5).
void Convert16(std::vector<BYTE>& bits, bool to565)
{
    for (std::size_t i = 0; i + 1 < bits.size(); i += 2) {
        unsigned p = bits[i] | (bits[i + 1] << 8);
        unsigned r = to565 ? (p >> 10) & 0x1F : (p >> 11) & 0x1F;
        unsigned g = to565 ? ((p >> 5) & 0x1F) << 1 | ((p >> 9) & 1) : (p >> 6) & 0x1F;
        unsigned b = p & 0x1F;
        p = to565 ? (r << 11) | (g << 5) | b : (r << 10) | (g << 5) | b;
        bits[i] = static_cast<BYTE>(p);
        bits[i + 1] = static_cast<BYTE>(p >> 8);
    }
}

} // namespace

int BitsPerPixel(TPixelFormat format)
{
    switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return 0;
    }
}

long long BitmapRowBytes(int width, int bitsPerPixel)
{
    long long stride = (static_cast<long long>(width) * bitsPerPixel + 31) / 32 * 4;
    return stride > 0x7FFFFFFF ? -1 : stride;
}

std::vector<RGBQUAD> DefaultColorTable(TPixelFormat format)
{
    auto q = [](BYTE r, BYTE g, BYTE b) { return RGBQUAD{b, g, r, 0}; };
    if (format == pf1bit)
        return {q(0, 0, 0), q(255, 255, 255)};
    std::vector<RGBQUAD> table = {
        q(0, 0, 0), q(128, 0, 0), q(0, 128, 0), q(128, 128, 0), q(0, 0, 128), q(128, 0, 128),
        q(0, 128, 128), q(192, 192, 192), q(128, 128, 128), q(255, 0, 0), q(0, 255, 0), q(255, 255, 0),
        q(0, 0, 255), q(255, 0, 255), q(0, 255, 255), q(255, 255, 255),
    };
    if (format == pf4bit)
        return table;
    // The sixteen colours, a 6x6x6 colour cube and a grey ramp.
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                table.push_back(q(static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(b * 51)));
    for (int i = 1; table.size() < 256; ++i)
        table.push_back(q(static_cast<BYTE>(i * 10), static_cast<BYTE>(i * 10), static_cast<BYTE>(i * 10)));
    return table;
}

std::vector<BYTE> MakeBitmapInfo(TPixelFormat format, int width, int height, const std::vector<RGBQUAD>& colors)
{
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(BitsPerPixel(format));
    header->biCompression = BI_RGB;
    BYTE* table = info.data() + sizeof(BITMAPINFOHEADER);
    if (header->biBitCount <= 8) {
        std::size_t count = std::min<std::size_t>(colors.size(), std::size_t{1} << header->biBitCount);
        header->biClrUsed = static_cast<DWORD>(count);
        std::memcpy(table, colors.data(), count * sizeof(RGBQUAD));
    }
    return info;
}

TPixelFormat PixelFormatOf(const BITMAPINFOHEADER& header, const DWORD masks[3])
{
    DibHeader h;
    h.bpp = header.biBitCount;
    h.compression = header.biCompression;
    if (h.compression != BI_RGB && h.compression != BI_BITFIELDS)
        return pfCustom;
    std::memcpy(h.masks, masks, sizeof(h.masks));
    switch (h.bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: return RawFormat(h);
    default: return pfCustom;
    }
}

DecodedBitmap DecodeBitmap(const BYTE* data, std::size_t size, bool withFileHeader, std::size_t& consumed)
{
    std::size_t start = 0;
    std::size_t pixelOffset = 0;
    if (withFileHeader) {
        if (size < 14)
            Invalid();
        BITMAPFILEHEADER file = ReadBitmapFileHeader(data);
        if (file.bfType != 0x4D42)
            Invalid();
        start = 14;
        pixelOffset = file.bfOffBits;
    }
    DibHeader h = ReadHeader(data + start, size - start);
    std::size_t pos = start + h.headerSize;
    if (h.compression == BI_BITFIELDS && h.headerSize == 40) {
        if (size - pos < 12)
            Invalid();
        for (int i = 0; i < 3; ++i)
            h.masks[i] = Read32(data + pos + 4 * i);
        pos += 12;
    }

    DecodedBitmap image;
    image.width = static_cast<int>(h.width);
    image.height = static_cast<int>(h.height);
    long long srcStride = BitmapRowBytes(image.width, h.bpp);
    const bool runLength = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    if (h.height > 0x7FFFFFFF || srcStride < 0 ||
        srcStride * h.height > (runLength ? kMaxRunLengthImageBytes : kMaxBitmapBytes))
        Invalid();

    // Colour table: read for indexed images, skipped otherwise.
    std::size_t entrySize = h.core ? 3 : 4;
    std::size_t maxColors = std::size_t{1} << std::min(h.bpp, 8);
    std::size_t tableCount = h.bpp <= 8 ? (h.colorsUsed ? h.colorsUsed : maxColors) : h.colorsUsed;
    if (h.bpp <= 8) {
        std::size_t readCount = std::min(tableCount, maxColors);
        if ((size - pos) / entrySize < readCount)
            Invalid();
        image.colors.assign(maxColors, RGBQUAD{0, 0, 0, 0});
        for (std::size_t i = 0; i < readCount; ++i) {
            const BYTE* e = data + pos + i * entrySize;
            image.colors[i] = RGBQUAD{e[0], e[1], e[2], 0};
        }
    }
    std::size_t tableEnd = (size - pos) / entrySize < tableCount ? size : pos + tableCount * entrySize;
    if (!withFileHeader || pixelOffset < (h.bpp <= 8 ? tableEnd : pos))
        pixelOffset = tableEnd;
    if (pixelOffset > size)
        Invalid();

    if (image.width == 0 || image.height == 0) {
        image.width = image.height = 0;
        image.colors.clear();
        image.format = h.bpp <= 8 ? IndexedFormat(h.bpp) : pf24bit;
        consumed = pixelOffset;
        return image;
    }
    const BYTE* pixels = data + pixelOffset;
    std::size_t available = size - pixelOffset;
    if (runLength) {
        image.format = IndexedFormat(h.bpp);
        image.bits.assign(static_cast<std::size_t>(srcStride * image.height), 0);
        std::size_t rleSize = h.sizeImage && h.sizeImage < available ? h.sizeImage : available;
        consumed = pixelOffset + DecodeRle(pixels, rleSize, image, h.bpp);
        return image;
    }
    std::size_t dataSize = static_cast<std::size_t>(srcStride * image.height);
    if (available < dataSize)
        Invalid();
    consumed = pixelOffset + dataSize;
    image.format = RawFormat(h);
    if (image.format == pfCustom)
        DecodeBitFields(pixels, srcStride, h, image);
    else
        CopyRows(pixels, srcStride, h.topDown, image);
    if (image.format == pf16bit)
        Convert16(image.bits, false);
    return image;
}

HBITMAP CreateDibSectionOf(const DecodedBitmap& image)
{
    if (image.width <= 0 || image.height <= 0)
        return nullptr;
    std::vector<BYTE> info = MakeBitmapInfo(image.format, image.width, image.height,
                                            image.colors.empty() && BitsPerPixel(image.format) <= 8
                                                ? DefaultColorTable(image.format)
                                                : image.colors);
    void* bits = nullptr;
    HBITMAP handle = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (handle && bits)
        std::memcpy(bits, image.bits.data(), std::min(image.bits.size(), static_cast<std::size_t>(
                                                 BitmapRowBytes(image.width, BitsPerPixel(image.format)) * image.height)));
    return handle;
}

std::vector<BYTE> EncodeBitmap(const DecodedBitmap& image)
{
    std::vector<BYTE> info = MakeBitmapInfo(image.format, image.width, image.height, image.colors);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    std::vector<BYTE> bits = image.bits;
    if (image.format == pf16bit) {
        header->biCompression = BI_BITFIELDS;
        std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), kMasks565, sizeof(kMasks565));
        Convert16(bits, true);
    }
    std::size_t tableBytes = image.format == pf16bit ? 12 : header->biClrUsed * sizeof(RGBQUAD);
    std::size_t offset = 14 + sizeof(BITMAPINFOHEADER) + tableBytes;
    std::vector<BYTE> out(offset + bits.size());
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(out.size()), 0, 0, static_cast<DWORD>(offset)};
    WriteBitmapFileHeader(file, out.data());
    BITMAPINFOHEADER written = *header;
    written.biSizeImage = static_cast<DWORD>(bits.size());
    WriteBitmapInfoHeader(written, out.data() + 14);
    std::memcpy(out.data() + 14 + sizeof(BITMAPINFOHEADER), info.data() + sizeof(BITMAPINFOHEADER), tableBytes);
    std::memcpy(out.data() + offset, bits.data(), bits.size());
    return out;
}
