// Unit Oblstreamutils, the library's own device-independent bitmap image: a
// bitmap file (file header, info header, colour table, bottom-up rows padded
// to 4 bytes) at the pixel depth chosen by a code.
#include "obl/core/Oblstreamutils.h"

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

} // namespace

std::vector<BYTE> OBLBuildDIBImage(HBITMAP Bitmap, HPALETTE Palette, int Code)
{
    BITMAP info{};
    if (!Bitmap || GetObject(Bitmap, sizeof(info), &info) == 0) throw Exception(InvalidBitmapText);
    const int bitCount = BitCountFor(Code, info);
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

    // GetDIBits takes the info header and fills in the colour table behind it;
    // the rows go straight into the block.
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
        DisplayContext dc(Palette);
        GetDIBits(dc.Handle(), Bitmap, 0, static_cast<UINT>(info.bmHeight), block.data() + FileHeaderSize + headerSize,
                  reinterpret_cast<BITMAPINFO*>(infoBlock.data()), DIB_RGB_COLORS);
    }
    // The stored header is the one built above (GetDIBits may adjust its copy);
    // the colour table is what GetDIBits reported.
    WriteBitmapInfoHeader(header, block.data() + FileHeaderSize);
    std::memcpy(block.data() + FileHeaderSize + InfoHeaderSize, infoBlock.data() + sizeof(header),
                static_cast<std::size_t>(headerSize - InfoHeaderSize));
    return block;
}
