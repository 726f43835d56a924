// Unit Oblstreamutils, bitmap fields: the class library's bitmap stream form or
// the library's own device-independent bitmap image at a chosen pixel depth.
#include "obl/core/Oblstreamutils.h"

#include "platform/classlib/Graphics.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/User.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr const char* InvalidBitmapText = "Bitmap image is not valid";

// Bits per pixel for a pixel-depth code; unknown codes take the device depth.
int BitCountFor(int code, const BITMAP& info)
{
    switch (code) {
    case 2: return 1;
    case 16: return 4;
    case 256: return 8;
    default: {
        const int device = info.bmPlanes * info.bmBitsPixel;
        return device == 16 || device == 32 ? 24 : device;
    }
    }
}

// The display context of the focused window (the screen's when none has the
// focus) with the bitmap's palette realised in it while it is held.
class DisplayContext {
public:
    explicit DisplayContext(HPALETTE palette) : window_(GetFocus()), dc_(GetDC(window_))
    {
        if (palette) {
            oldPalette_ = SelectPalette(dc_, palette, FALSE);
            RealizePalette(dc_);
        }
    }
    ~DisplayContext()
    {
        if (oldPalette_) SelectPalette(dc_, oldPalette_, FALSE);
        ReleaseDC(window_, dc_);
    }
    DisplayContext(const DisplayContext&) = delete;
    DisplayContext& operator=(const DisplayContext&) = delete;
    HDC Handle() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HPALETTE oldPalette_ = nullptr;
};

// The whole bitmap file image: file header, info header, palette, pixel rows.
std::vector<BYTE> DIBImage(TBitmap* bitmap, int code)
{
    const HBITMAP handle = bitmap->Handle();
    if (!handle) throw Exception(InvalidBitmapText);
    BITMAP info{};
    GetObject(handle, sizeof(info), &info);
    const int bitCount = BitCountFor(code, info);
    const int headerSize = bitCount == 24 ? InfoHeaderSize : InfoHeaderSize + 4 * (1 << bitCount);
    const std::int64_t rowSize = ((static_cast<std::int64_t>(info.bmWidth) * bitCount + 31) / 32) * 4;
    const std::int64_t imageSize = rowSize * info.bmHeight;
    const std::int64_t total = FileHeaderSize + headerSize + imageSize;
    if (imageSize < 0 || total > std::numeric_limits<std::int32_t>::max()) throw Exception(InvalidBitmapText);

    std::vector<BYTE> block(static_cast<std::size_t>(total), 0);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfSize = static_cast<DWORD>(total);
    file.bfOffBits = static_cast<DWORD>(FileHeaderSize + headerSize);
    WriteBitmapFileHeader(file, block.data());

    // GetDIBits reads the info header from the block and fills in the colour
    // table behind it, then the rows.
    std::vector<BYTE> infoBlock(static_cast<std::size_t>(headerSize), 0);
    BITMAPINFOHEADER header{};
    header.biSize = InfoHeaderSize;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitCount);
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(imageSize);
    std::memcpy(infoBlock.data(), &header, sizeof(header));
    {
        DisplayContext dc(bitmap->Palette());
        GetDIBits(dc.Handle(), handle, 0, static_cast<UINT>(info.bmHeight), block.data() + FileHeaderSize + headerSize,
                  reinterpret_cast<BITMAPINFO*>(infoBlock.data()), DIB_RGB_COLORS);
    }
    // The stored header is the one built above (GetDIBits may adjust its copy);
    // the colour table is what GetDIBits reported.
    WriteBitmapInfoHeader(header, block.data() + FileHeaderSize);
    std::memcpy(block.data() + FileHeaderSize + InfoHeaderSize, infoBlock.data() + sizeof(header),
                static_cast<std::size_t>(headerSize - InfoHeaderSize));
    return block;
}

void WriteBlock(TStream* stream, const std::vector<BYTE>& block)
{
    stream->WriteBuffer(block.data(), static_cast<int>(block.size()));
}

} // namespace

void OBLBmpSaveDIBStream(TStream* Stream, TBitmap* Bitmap, int Code)
{
    WriteBlock(Stream, DIBImage(Bitmap, Bitmap->Monochrome() ? 2 : Code));
    Stream->SetPosition(0);
}

void stWriteBitmap(TStream* Stream, TBitmap* Bitmap, bool Compressed, int Code)
{
    if (Compressed) {
        TMemoryStream image;
        if (Code == -1) Bitmap->SaveToStream(&image);
        else OBLBmpSaveDIBStream(&image, Bitmap, Code);
        image.SetPosition(0);
        SaveCompressedStream(&image, Stream, image.Size());
    } else if (Code == -1) {
        const int start = Stream->Position();
        stWriteInteger(Stream, 0);
        Bitmap->SaveToStream(Stream);
        const int end = Stream->Position();
        Stream->SetPosition(start);
        stWriteInteger(Stream, end - start - 4);
        Stream->SetPosition(end);
    } else {
        const std::vector<BYTE> block = DIBImage(Bitmap, Code);
        stWriteInteger(Stream, static_cast<int>(block.size()));
        WriteBlock(Stream, block);
    }
}

void stReadBitmap(TStream* Stream, TBitmap* Bitmap, bool Compressed)
{
    TMemoryStream image;
    if (Compressed) {
        LoadCompressedStream(Stream, &image);
    } else {
        const int size = stReadFieldSize(Stream);
        image.SetSize(size);
        if (size > 0) Stream->ReadBuffer(image.Memory(), size);
    }
    image.SetPosition(0);
    Bitmap->LoadFromStream(&image);
}
