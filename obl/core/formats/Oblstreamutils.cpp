#include "obl/core/formats/Oblstreamutils.h"

#include "obl/core/base/Oblprocs.h"
#include "obl/core/formats/oblwave.h"
#include "platform/classlib/Graphics.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/User.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace {

// Little-endian value of the first `size` bytes; bytes the stream did not
// deliver stay 0.
std::uint32_t ReadLittleEndian(TStream* stream, int size)
{
    BYTE bytes[4] = {0, 0, 0, 0};
    stream->Read(bytes, size);
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

void WriteLittleEndian(TStream* stream, std::uint32_t value, int size)
{
    BYTE bytes[4];
    for (int i = 0; i < size; ++i) bytes[i] = static_cast<BYTE>(value >> (8 * i));
    stream->WriteBuffer(bytes, size);
}

int ReadBlockInt32(TStream* stream)
{
    BYTE bytes[4];
    stream->ReadBuffer(bytes, 4);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                     (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                     (static_cast<std::uint32_t>(bytes[3]) << 24));
}

// Writes a field whose int32 byte count precedes it: the count is filled in
// once `write` has put the field's bytes after it.
template <typename Write>
void WriteCountedField(TStream* stream, Write write)
{
    const auto start = stream->Position();
    stWriteInteger(stream, 0);
    write();
    const auto end = stream->Position();
    stream->SetPosition(start);
    stWriteInteger(stream, static_cast<int>(end - start - 4));
    stream->SetPosition(end);
}

// Reads a plain field of N counted bytes into a memory stream at position 0.
void ReadCountedField(TStream* stream, TMemoryStream& field)
{
    const int size = stReadFieldSize(stream);
    field.SetSize(size);
    if (size > 0) stream->ReadBuffer(field.Memory(), size);
    field.SetPosition(0);
}

void CompressWhole(TMemoryStream& source, TStream* dest)
{
    source.SetPosition(0);
    SaveCompressedStream(&source, dest, static_cast<int>(source.Size()));
}

// Whether a bitmap file image's bytes can back the pixels its header claims: a plain
// image's rows must all be in it, and a run-length image may claim at most
// OBLMaxStoredBitmapPixels pixels or OBLRunLengthPixelsPerByte for each of its bytes,
// whichever is more. What is no bitmap file is left to the bitmap's own reader.
bool PixelsBacked(TMemoryStream& image)
{
    const auto* p = static_cast<const BYTE*>(image.Memory());
    const long long size = image.Size();
    auto at = [p](int offset, int bytes) {
        std::uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[offset + i];
        return v;
    };
    constexpr int fileHeader = 14;
    if (size < fileHeader + 12 || p[0] != 'B' || p[1] != 'M') return true;
    const std::uint32_t headerSize = at(14, 4);
    long long width = 0, height = 0;
    std::uint32_t bitCount = 0, compression = BI_RGB;
    if (headerSize == 12) {
        width = at(18, 2);
        height = at(20, 2);
        bitCount = at(24, 2);
    } else {
        if (size < fileHeader + 20) return true;
        width = std::abs(static_cast<long long>(static_cast<std::int32_t>(at(18, 4))));
        height = std::abs(static_cast<long long>(static_cast<std::int32_t>(at(22, 4))));
        bitCount = at(28, 2);
        compression = at(30, 4);
    }
    if (compression == BI_RLE4 || compression == BI_RLE8)
        return width * height <= std::max(OBLMaxStoredBitmapPixels, OBLRunLengthPixelsPerByte * size);
    // The rows start where the file header says, and never inside the headers.
    const long long rowsStart = std::max<long long>(at(10, 4), fileHeader + static_cast<long long>(headerSize));
    const long long rowBytes = (width * bitCount + 31) / 32 * 4;
    const long long available = size - rowsStart;
    if (available < 0) return false;
    // Divided rather than multiplied: a claimed row length times the height can pass 2^63.
    return height == 0 || rowBytes <= available / height;
}

void RestoreWhole(TStream* source, TMemoryStream& dest)
{
    LoadCompressedStream(source, &dest);
    dest.SetPosition(0);
}

void WriteBlock(TStream* stream, const std::vector<BYTE>& block)
{
    stream->WriteBuffer(block.data(), static_cast<int>(block.size()));
}

// ---- the library's own device-independent bitmap image ----------------------
// A bitmap file (file header, info header, colour table, bottom-up rows padded
// to 4 bytes) at the pixel depth chosen by a code.

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

void stWriteInteger(TStream* Stream, int Value) { WriteLittleEndian(Stream, static_cast<std::uint32_t>(Value), 4); }
void stWriteWord(TStream* Stream, WORD Value) { WriteLittleEndian(Stream, Value, 2); }
void stWriteByte(TStream* Stream, BYTE Value) { WriteLittleEndian(Stream, Value, 1); }

void stWriteString(TStream* Stream, const AnsiString& Value)
{
    const int length = std::min(Value.Length(), 255);
    stWriteByte(Stream, static_cast<BYTE>(length));
    if (length > 0) Stream->WriteBuffer(Value.data(), length);
}

void stReadInteger(TStream* Stream, int& Value) { Value = static_cast<std::int32_t>(ReadLittleEndian(Stream, 4)); }
void stReadWord(TStream* Stream, WORD& Value) { Value = static_cast<WORD>(ReadLittleEndian(Stream, 2)); }
void stReadByte(TStream* Stream, BYTE& Value) { Value = static_cast<BYTE>(ReadLittleEndian(Stream, 1)); }

void stReadString(TStream* Stream, AnsiString& Value)
{
    BYTE length = 0;
    stReadByte(Stream, length);
    AnsiString text;
    text.SetLength(length);
    const int got = length > 0 ? static_cast<int>(Stream->Read(text.data(), length)) : 0;
    text.SetLength(got);
    Value = text;
}

int stReadFieldSize(TStream* Stream)
{
    const int size = ReadBlockInt32(Stream);
    if (size < 0 || size > Stream->Size() - Stream->Position()) throw EReadError(SReadError);
    return size;
}

void stWriteStringList(TStream* Stream, TStrings* Strings, bool Compressed)
{
    if (Compressed) {
        TMemoryStream text;
        Strings->SaveToStream(&text);
        CompressWhole(text, Stream);
    } else {
        WriteCountedField(Stream, [&] { Strings->SaveToStream(Stream); });
    }
}

void stReadStringList(TStream* Stream, TStrings* Strings, bool Compressed)
{
    TMemoryStream text;
    if (Compressed) RestoreWhole(Stream, text);
    else ReadCountedField(Stream, text);
    Strings->LoadFromStream(&text);
}

void stWriteWave(TStream* Stream, TOBLWave* Wave, bool Compressed)
{
    if (Compressed) Wave->SaveCompressedToStream(Stream);
    else Wave->SaveToStreamEx(Stream);
}

void stReadWave(TStream* Stream, TOBLWave* Wave, bool Compressed)
{
    if (Compressed) Wave->LoadCompressedFromStream(Stream);
    else Wave->LoadFromStreamEx(Stream);
}

void SaveCompressedStream(TStream* Source, TStream* Dest, int Count)
{
    const auto input = std::make_unique<TOBLLZRWBuffer>();
    const auto output = std::make_unique<TOBLLZRWBuffer>();
    const auto start = Dest->Position();
    stWriteInteger(Dest, 0);
    std::int64_t total = 0;
    while (Count > 0) {
        const int wanted = std::min(Count, static_cast<int>(OBLLZRWChunkSize));
        const int got = static_cast<int>(Source->Read(input->data(), wanted));
        if (got <= 0) break;
        const WORD length = OBLLZRWCompress(*input, *output, static_cast<WORD>(got));
        stWriteInteger(Dest, length);
        Dest->WriteBuffer(output->data(), length);
        total += length + 4;
        Count -= got;
    }
    const auto end = Dest->Position();
    Dest->SetPosition(start);
    stWriteInteger(Dest, static_cast<int>(total));
    Dest->SetPosition(end);
}

void LoadCompressedStream(TStream* Source, TStream* Dest)
{
    const auto input = std::make_unique<TOBLLZRWBuffer>();
    const auto output = std::make_unique<TOBLLZRWBuffer>();
    std::int64_t total = ReadBlockInt32(Source);
    while (total > 0) {
        const int length = ReadBlockInt32(Source);
        if (length < 1 || length > static_cast<int>(OBLLZRWBufferSize)) throw EReadError(SReadError);
        Source->ReadBuffer(input->data(), length);
        const WORD produced = OBLLZRWDecompress(*input, *output, static_cast<WORD>(length));
        if (produced > 0) Dest->WriteBuffer(output->data(), produced);
        total -= length + 4;
    }
}

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

void OBLBmpSaveDIBStream(TStream* Stream, TBitmap* Bitmap, int Code)
{
    WriteBlock(Stream, OBLBuildDIBImage(Bitmap->Handle(), Bitmap->Palette(), Bitmap->Monochrome() ? 2 : Code));
    Stream->SetPosition(0);
}

void stWriteBitmap(TStream* Stream, TBitmap* Bitmap, bool Compressed, int Code)
{
    if (Compressed) {
        TMemoryStream image;
        if (Code == -1) Bitmap->SaveToStream(&image);
        else OBLBmpSaveDIBStream(&image, Bitmap, Code);
        CompressWhole(image, Stream);
    } else if (Code == -1) {
        WriteCountedField(Stream, [&] { Bitmap->SaveToStream(Stream); });
    } else {
        const std::vector<BYTE> block = OBLBuildDIBImage(Bitmap->Handle(), Bitmap->Palette(), Code);
        stWriteInteger(Stream, static_cast<int>(block.size()));
        WriteBlock(Stream, block);
    }
}

void stReadBitmap(TStream* Stream, TBitmap* Bitmap, bool Compressed)
{
    TMemoryStream image;
    if (Compressed) RestoreWhole(Stream, image);
    else ReadCountedField(Stream, image);
    if (!PixelsBacked(image)) throw EReadError(SReadError);
    Bitmap->LoadFromStream(&image);
}
