// Bitmap and icon files: the class library's bitmap and icon loading, and the window
// system's reader of packed bitmaps (bitmap resources). What loads must save to bytes that
// load and save to the same bytes again.
#include "FuzzTarget.h"

#include "platform/classlib/Graphics.h"
#include "platform/win/kernel/Resources.h"

#include <cstdlib>
#include <memory>

namespace {

std::string Bytes(TMemoryStream& stream)
{
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

void Fill(TMemoryStream& stream, const std::string& bytes)
{
    stream.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
    stream.SetPosition(0);
}

// Run-length data may describe an image far larger than its file (up to the reader's limit
// of 64 MB); the round trip is checked on images of a size that keeps a run quick.
constexpr long long kRoundTripPixels = 1 << 20;

bool Small(const TGraphic& graphic)
{
    return static_cast<long long>(graphic.Width()) * graphic.Height() <= kRoundTripPixels;
}

std::string SaveBitmap(const std::string& file)
{
    TMemoryStream in, out;
    Fill(in, file);
    TBitmap bitmap;
    bitmap.LoadFromStream(&in);
    if (Small(bitmap))
        bitmap.SaveToStream(&out);
    return Bytes(out);
}

// The icon file an icon object read from the file makes: the icon decoded, then saved anew.
std::string SaveIcon(const std::string& file)
{
    TMemoryStream in, out;
    Fill(in, file);
    TIcon icon;
    icon.LoadFromStream(&in);
    TIcon copy;
    if (HICON handle = Small(icon) ? icon.Handle() : nullptr)
        copy.SetHandle(CopyIcon(handle));
    copy.SaveToStream(&out);
    return Bytes(out);
}

void CheckBitmap(const std::string& input)
{
    std::string saved;
    try {
        saved = SaveBitmap(input);
    } catch (const EInvalidGraphic&) {
        return;
    }
    FUZZ_CHECK(SaveBitmap(saved) == saved);
}

void CheckIcon(const std::string& input)
{
    std::string saved;
    try {
        saved = SaveIcon(input);
    } catch (const EInvalidGraphic&) {
        return;
    }
    FUZZ_CHECK(SaveIcon(saved) == saved);
}

// The same bytes as a bitmap resource, read by the window system and by the class library.
void CheckResource(const std::string& input)
{
    if (!RegisterBitmapFileResource(nullptr, "FUZZ", std::vector<BYTE>(input.begin(), input.end())))
        return;
    if (HBITMAP bitmap = LoadBitmapA(nullptr, "FUZZ"))
        DeleteObject(bitmap);
    TBitmap bitmap;
    try {
        bitmap.LoadFromResourceName(nullptr, "FUZZ");
    } catch (const EInvalidGraphic&) {
    }
}

TOwned<TBitmap> Pattern(TPixelFormat format, int width, int height)
{
    TOwned<TBitmap> bitmap(new TBitmap);
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(0, 0, width, height));
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(Rect(1, 1, width / 2 + 1, height / 2 + 1));
    return bitmap;
}

std::string IconFile(int size)
{
    TOwned<TBitmap> colour = Pattern(pf24bit, size, size);
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(size, size);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, size, size));
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, size / 2, size / 2));
    ICONINFO info{TRUE, 0, 0, mask.Handle(), colour->Handle()};
    TIcon icon;
    icon.SetHandle(CreateIconIndirect(&info));
    TMemoryStream out;
    icon.SaveToStream(&out);
    return Bytes(out);
}

// The pixels a bitmap file's header declares (0 for anything else). A run-length image of a
// few bytes may declare the reader's limit of 64 MB, which takes seconds to fill: such
// inputs would only slow the run down, and are left out.
long long DeclaredPixels(const std::uint8_t* data, std::size_t size)
{
    if (size < 26 || data[0] != 'B' || data[1] != 'M' || data[14] < 40)
        return 0;
    auto read32 = [data](std::size_t at) {
        return static_cast<std::int32_t>(data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) |
                                         (static_cast<std::uint32_t>(data[at + 3]) << 24));
    };
    return std::llabs(static_cast<long long>(read32(18)) * read32(22));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (DeclaredPixels(data, size) > kRoundTripPixels)
        return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckBitmap(input);
    CheckIcon(input);
    CheckResource(input);
    return 0;
}

std::vector<std::string> FuzzSeeds()
{
    std::vector<std::string> seeds;
    const struct {
        TPixelFormat format;
        int width, height;
    } bitmaps[] = {{pf1bit, 9, 3}, {pf4bit, 5, 4}, {pf8bit, 7, 2}, {pf15bit, 3, 3},
                   {pf16bit, 4, 2}, {pf24bit, 5, 3}, {pf32bit, 2, 2}};
    for (const auto& b : bitmaps) {
        TMemoryStream out;
        Pattern(b.format, b.width, b.height)->SaveToStream(&out);
        seeds.push_back(Bytes(out));
    }
    seeds.push_back(IconFile(16));
    seeds.push_back(IconFile(32));
    return seeds;
}
