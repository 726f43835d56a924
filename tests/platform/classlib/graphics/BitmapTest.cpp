#include "platform/classlib/Graphics.h"

#include "platform/win/kernel/Modules.h"
#include "platform/win/kernel/Resources.h"
#include "tests/platform/classlib/graphics/GraphicsFixtures.h"
#include "tests/support/NotifyCounter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

COLORREF At(TBitmap& b, int x, int y) { return static_cast<COLORREF>(b.Canvas()->Pixels(x, y)); }

// A 4 x 3 bitmap: red left column, blue bottom row, white elsewhere.
TOwned<TBitmap> Sample(TPixelFormat format = pf24bit)
{
    TOwned<TBitmap> b(new TBitmap);
    b->SetPixelFormat(format);
    b->SetSize(4, 3);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, 4, 3));
    b->Canvas()->Brush()->SetColor(clRed);
    b->Canvas()->FillRect(Rect(0, 0, 1, 3));
    b->Canvas()->Brush()->SetColor(clBlue);
    b->Canvas()->FillRect(Rect(1, 2, 4, 3));
    return b;
}

} // namespace

TEST(Bitmap, NewBitmapIsEmptyAndDeviceDependent)
{
    TOwned<TBitmap> b(new TBitmap);
    EXPECT_TRUE(b->Empty());
    EXPECT_EQ(b->Width(), 0);
    EXPECT_EQ(b->PixelFormat(), pfDevice);
    EXPECT_EQ(b->Handle(), nullptr);
    b->SetSize(3, 2);
    EXPECT_FALSE(b->Empty());
    BITMAP info{};
    ASSERT_GT(GetObjectA(b->Handle(), sizeof(info), &info), 0);
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_EQ(At(*b, 2, 1), kWhite);   // a new image is white
}

TEST(Bitmap, ResizingKeepsTheTopLeftPixels)
{
    TOwned<TBitmap> b = Sample();
    NotifyCounter counter;
    b->SetOnChange(TNotifyEvent(&counter, &NotifyCounter::Changed));
    b->SetWidth(6);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(At(*b, 0, 0), kRed);
    EXPECT_EQ(At(*b, 3, 2), kBlue);
    EXPECT_EQ(At(*b, 5, 2), kWhite);
    b->SetHeight(2);
    EXPECT_EQ(b->Height(), 2);
    EXPECT_EQ(At(*b, 0, 1), kRed);
    EXPECT_EQ(At(*b, 3, 1), kWhite);
    b->SetSize(6, 2);
    EXPECT_EQ(counter.count, 2);   // unchanged size: no change
    b->SetSize(0, 0);
    EXPECT_TRUE(b->Empty());
    EXPECT_EQ(b->PixelFormat(), pf24bit);
}

TEST(Bitmap, NewAreaIsWhiteInEveryFormat)
{
    const TPixelFormat formats[] = {pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};
    for (TPixelFormat format : formats) {
        SCOPED_TRACE(static_cast<int>(format));
        TOwned<TBitmap> b = Sample(format);
        b->SetSize(6, 5);
        EXPECT_EQ(b->PixelFormat(), format);
        EXPECT_EQ(At(*b, 5, 4), kWhite);
        EXPECT_EQ(At(*b, 2, 1), kWhite);
        EXPECT_EQ(At(*b, 2, 2), format == pf1bit ? kBlack : kBlue);
    }
}

TEST(Bitmap, PaletteBecomesTheColourTable)
{
    TOwned<TBitmap> b = Sample(pf8bit);
    ASSERT_NE(b->Palette(), nullptr);
    // Every index of a new palette is green except the one of red (9 in the table).
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = 256;
    for (int i = 0; i < 256; ++i)
        palette->palPalEntry[i] = PALETTEENTRY{0, 255, 0, 0};
    palette->palPalEntry[9] = PALETTEENTRY{255, 0, 0, 0};
    HPALETTE green = CreatePalette(palette);
    b->SetPalette(green);
    EXPECT_EQ(b->Palette(), green);
    EXPECT_EQ(At(*b, 0, 0), kRed);
    EXPECT_EQ(At(*b, 2, 0), RGB(0, 255, 0));
    HPALETTE released = b->ReleasePalette();
    EXPECT_EQ(released, green);
    EXPECT_EQ(b->Palette(), nullptr);
    DeleteObject(released);
    // A true-colour image has none.
    b->SetPixelFormat(pf24bit);
    EXPECT_EQ(b->Palette(), nullptr);
    EXPECT_EQ(At(*b, 0, 0), kRed);
}

TEST(Bitmap, PixelFormatConversionKeepsTheColours)
{
    const TPixelFormat formats[] = {pfDevice, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};
    for (TPixelFormat to : formats) {
        SCOPED_TRACE(static_cast<int>(to));
        TOwned<TBitmap> b = Sample();
        b->SetPixelFormat(to);
        EXPECT_EQ(b->PixelFormat(), to);
        EXPECT_EQ(b->Width(), 4);
        EXPECT_EQ(At(*b, 0, 0), kRed);
        EXPECT_EQ(At(*b, 2, 2), kBlue);
        EXPECT_EQ(At(*b, 2, 0), kWhite);
    }
    TOwned<TBitmap> mono = Sample();
    mono->SetPixelFormat(pf1bit);
    EXPECT_TRUE(mono->Monochrome());
    EXPECT_EQ(At(*mono, 2, 0), kWhite);
    EXPECT_EQ(At(*mono, 0, 0), kBlack);   // red is nearer black than white
    EXPECT_THROW(mono->SetPixelFormat(pfCustom), EInvalidGraphic);
}

TEST(Bitmap, MonochromeDeviceBitmap)
{
    TOwned<TBitmap> b = Sample(pfDevice);
    b->SetMonochrome(true);
    EXPECT_TRUE(b->Monochrome());
    EXPECT_EQ(b->PixelFormat(), pfDevice);
    BITMAP info{};
    GetObjectA(b->Handle(), sizeof(info), &info);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(At(*b, 2, 0), kWhite);
    EXPECT_EQ(At(*b, 0, 0), kBlack);
    // Written as a 1-bit file.
    TMemoryStream saved;
    b->SaveToStream(&saved);
    EXPECT_EQ(ReadBitmapInfoHeader(static_cast<const BYTE*>(saved.Memory()) + 14).biBitCount, 1);
}

TEST(Bitmap, ScanLineAddressesRowsFromTheTop)
{
    TOwned<TBitmap> b = Sample(pf24bit);
    auto* top = static_cast<BYTE*>(b->ScanLine(0));
    EXPECT_EQ(top[0], 0);      // blue byte of the red pixel
    EXPECT_EQ(top[2], 255);    // red byte
    auto* bottom = static_cast<BYTE*>(b->ScanLine(2));
    EXPECT_EQ(bottom[3], 255); // blue pixel at x 1
    std::memset(top + 3, 0, 3);
    EXPECT_EQ(At(*b, 1, 0), kBlack);
    EXPECT_THROW(b->ScanLine(3), EInvalidGraphicOperation);
    EXPECT_THROW(b->ScanLine(-1), EInvalidGraphicOperation);
    TOwned<TBitmap> device = Sample(pfDevice);
    EXPECT_NE(device->ScanLine(1), nullptr);   // becomes a DIB
    EXPECT_NE(device->PixelFormat(), pfDevice);
    EXPECT_EQ(At(*device, 0, 1), kRed);
}

TEST(Bitmap, AdoptedAndReleasedHandles)
{
    HBITMAP own = CreateBitmap(5, 7, 1, 1, nullptr);
    TOwned<TBitmap> b(new TBitmap);
    b->SetHandle(own);
    EXPECT_EQ(b->Width(), 5);
    EXPECT_EQ(b->Height(), 7);
    EXPECT_TRUE(b->Monochrome());
    EXPECT_EQ(b->Handle(), own);

    TOwned<TBitmap> s = Sample();
    HBITMAP released = s->ReleaseHandle();
    ASSERT_NE(released, nullptr);
    EXPECT_FALSE(s->HandleAllocated());
    EXPECT_FALSE(s->Empty());
    EXPECT_EQ(At(*s, 0, 0), kRed);   // the image stayed
    EXPECT_NE(s->Handle(), released);
    EXPECT_TRUE(DeleteObject(released));
}

TEST(Bitmap, DormantAndFreeImage)
{
    TOwned<TBitmap> b = Sample(pf8bit);
    b->Dormant();
    EXPECT_FALSE(b->HandleAllocated());
    EXPECT_FALSE(b->Empty());
    EXPECT_EQ(b->Width(), 4);
    EXPECT_EQ(At(*b, 0, 2), kRed);
    EXPECT_EQ(At(*b, 3, 2), kBlue);
    EXPECT_EQ(b->PixelFormat(), pf8bit);
    b->FreeImage();
    EXPECT_TRUE(b->HandleAllocated());
    TOwned<TBitmap> device = Sample(pfDevice);
    device->Dormant();
    EXPECT_EQ(At(*device, 0, 0), kRed);
    EXPECT_EQ(device->PixelFormat(), pfDevice);
}

TEST(Bitmap, TransparentColorRules)
{
    TOwned<TBitmap> b = Sample();
    EXPECT_EQ(b->TransparentMode(), tmAuto);
    // The lower-left pixel, flagged.
    EXPECT_EQ(b->TransparentColor(), static_cast<TColor>(kRed) | 0x02000000);
    b->Canvas()->SetPixels(0, 2, clBlue);
    EXPECT_EQ(b->TransparentColor() & 0xFFFFFF, static_cast<TColor>(kBlue));
    b->SetTransparentColor(clBtnFace);
    EXPECT_EQ(b->TransparentMode(), tmFixed);
    EXPECT_EQ(b->TransparentColor(), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)) | 0x02000000);
    b->SetTransparentMode(tmAuto);
    EXPECT_EQ(b->TransparentColor() & 0xFFFFFF, static_cast<TColor>(kBlue));
    b->SetTransparentMode(tmFixed);
    EXPECT_EQ(b->TransparentColor() & 0xFFFFFF, static_cast<TColor>(kBlue));
    b->SetTransparentColor(clDefault);
    EXPECT_EQ(b->TransparentMode(), tmAuto);
    TOwned<TBitmap> mono = Sample(pf1bit);
    EXPECT_EQ(mono->TransparentColor(), clWhite | 0x02000000);
}

TEST(Bitmap, MaskMarksTheColourWhite)
{
    TOwned<TBitmap> b = Sample();
    b->Mask(clBlue);
    EXPECT_TRUE(b->Monochrome());
    EXPECT_EQ(At(*b, 2, 2), kWhite);
    EXPECT_EQ(At(*b, 0, 0), kBlack);
    EXPECT_EQ(At(*b, 2, 0), kBlack);
    // The flagged automatic colour works too.
    TOwned<TBitmap> c = Sample();
    c->Mask(c->TransparentColor());
    EXPECT_EQ(At(*c, 0, 0), kWhite);
    EXPECT_EQ(At(*c, 2, 2), kBlack);
}

TEST(Bitmap, AssignMakesADeepCopy)
{
    TOwned<TBitmap> source = Sample(pf8bit);
    source->SetTransparentColor(clBlue);
    source->SetTransparent(true);
    TOwned<TBitmap> copy(new TBitmap);
    copy->Assign(source.get());
    EXPECT_EQ(copy->PixelFormat(), pf8bit);
    EXPECT_EQ(copy->Width(), 4);
    EXPECT_TRUE(copy->Transparent());
    EXPECT_EQ(copy->TransparentMode(), tmFixed);
    EXPECT_NE(copy->Handle(), source->Handle());
    source->Canvas()->SetPixels(2, 0, clRed);
    EXPECT_EQ(At(*copy, 2, 0), kWhite);
    EXPECT_EQ(At(*copy, 0, 0), kRed);
    copy->Assign(nullptr);
    EXPECT_TRUE(copy->Empty());
    TOwned<TFont> font(new TFont);
    EXPECT_THROW(copy->Assign(font.get()), EConvertError);
}

TEST(Bitmap, CanvasDrawingNotifiesTheBitmap)
{
    TOwned<TBitmap> b = Sample();
    NotifyCounter counter;
    b->SetOnChange(TNotifyEvent(&counter, &NotifyCounter::Changed));
    b->Canvas()->FillRect(Rect(0, 0, 2, 2));
    b->Canvas()->Pixels(0, 0);
    EXPECT_EQ(counter.count, 1);
    EXPECT_TRUE(b->Modified());
}

TEST(Bitmap, DrawsOpaqueStretchedAndTransparent)
{
    TOwned<TBitmap> b = Sample();
    MemoryDC dc(20, 20, RGB(0, 255, 0));
    TOwned<TCanvas> canvas(new TCanvas);
    canvas->SetHandle(dc.dc());
    canvas->Draw(1, 1, b.get());
    EXPECT_EQ(dc.At(1, 1), kRed);
    EXPECT_EQ(dc.At(3, 1), kWhite);
    EXPECT_EQ(dc.At(5, 1), RGB(0, 255, 0));
    canvas->StretchDraw(Rect(10, 10, 18, 16), b.get());
    EXPECT_EQ(dc.At(11, 11), kRed);
    EXPECT_EQ(dc.At(17, 15), kBlue);
    // Transparent: the lower-left colour (red) lets the background through.
    b->Canvas()->SetPixels(0, 2, clBlue);
    b->SetTransparent(true);
    canvas->Draw(5, 5, b.get());
    EXPECT_EQ(dc.At(5, 5), kRed);
    EXPECT_EQ(dc.At(7, 7), RGB(0, 255, 0));
    EXPECT_EQ(dc.At(7, 5), kWhite);
    canvas->Draw(0, 0, nullptr);   // nothing happens
}

TEST(Bitmap, BrushPatternAndBrushCopy)
{
    TOwned<TBitmap> pattern(new TBitmap);
    pattern->SetPixelFormat(pf24bit);
    pattern->SetSize(8, 8);
    pattern->Canvas()->Brush()->SetColor(clRed);
    pattern->Canvas()->FillRect(Rect(0, 0, 4, 8));
    MemoryDC dc(16, 16);
    TOwned<TCanvas> canvas(new TCanvas);
    canvas->SetHandle(dc.dc());
    canvas->Brush()->SetBitmap(pattern.get());
    EXPECT_NE(canvas->Brush()->Bitmap(), pattern.get());   // its own copy
    canvas->FillRect(Rect(0, 0, 16, 8));
    EXPECT_EQ(dc.At(1, 1), kRed);
    EXPECT_EQ(dc.At(5, 1), kWhite);
    EXPECT_EQ(dc.At(9, 1), kRed);
    canvas->Brush()->SetBitmap(nullptr);
    canvas->Brush()->SetColor(clBlue);
    TOwned<TBitmap> image = Sample();
    canvas->BrushCopy(Rect(0, 8, 4, 11), image.get(), Rect(0, 0, 4, 3), clWhite);
    EXPECT_EQ(dc.At(0, 8), kRed);     // image pixels stay
    EXPECT_EQ(dc.At(2, 8), kBlue);    // the colour becomes the brush
    EXPECT_EQ(dc.At(2, 10), kBlue);
}

TEST(Bitmap, ResourcesAndFiles)
{
    TOwned<TBitmap> b = Sample();
    TMemoryStream file;
    b->SaveToStream(&file);
    const auto* bytes = static_cast<const BYTE*>(file.Memory());
    ASSERT_TRUE(RegisterBitmapFileResource(nullptr, "GRAPHICSTESTBMP", std::vector<BYTE>(bytes, bytes + file.Size())));
    TOwned<TBitmap> loaded(new TBitmap);
    loaded->LoadFromResourceName(HInstance, "GraphicsTestBmp");
    EXPECT_EQ(loaded->Width(), 4);
    EXPECT_EQ(At(*loaded, 0, 0), kRed);
    EXPECT_THROW(loaded->LoadFromResourceName(HInstance, "NoSuchBitmap"), EResNotFound);
    try {
        loaded->LoadFromResourceID(HInstance, 4711);
        ADD_FAILURE();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource 4711 not found");
    }

    std::filesystem::path path = std::filesystem::temp_directory_path() / "vendaro_graphics_test.bmp";
    AnsiString windowsPath = "C:" + AnsiString(path.string().c_str());
    for (int i = 1; i <= windowsPath.Length(); ++i)
        if (windowsPath[i] == '/')
            windowsPath[i] = '\\';
    b->SaveToFile(windowsPath);
    TOwned<TBitmap> fromFile(new TBitmap);
    fromFile->LoadFromFile(windowsPath);
    EXPECT_EQ(At(*fromFile, 3, 2), kBlue);
    std::filesystem::remove(path);
}

TEST(Bitmap, CanvasContextsAreReleased)
{
    int live = GdiLiveObjectCount();
    {
        TOwned<TBitmap> b = Sample();
        b->Canvas()->SetHandle(nullptr);   // unbound from outside
        b->Canvas()->FillRect(Rect(0, 0, 1, 1));
        b->Handle();                        // releases the context
        b->Canvas()->Pixels(0, 0);
        b->Dormant();
        b->Canvas()->Pixels(0, 0);
    }
    EXPECT_EQ(GdiLiveObjectCount(), live);
}

TEST(Bitmap, MonochromeImagesDrawInTheFontAndBrushColours)
{
    TOwned<TBitmap> mono = Sample(pfDevice);
    mono->SetMonochrome(true);   // black left column, white elsewhere
    MemoryDC dc(8, 8, RGB(0, 255, 0));
    TOwned<TCanvas> canvas(new TCanvas);
    canvas->SetHandle(dc.dc());
    canvas->Font()->SetColor(clRed);
    canvas->Brush()->SetColor(clBlue);
    canvas->Draw(0, 0, mono.get());
    EXPECT_EQ(dc.At(0, 0), kRed);
    EXPECT_EQ(dc.At(2, 0), kBlue);
    // A 1-bit image with its own colour table draws in those colours.
    TOwned<TBitmap> table = Sample(pf1bit);
    canvas->Draw(0, 0, table.get());
    EXPECT_EQ(dc.At(0, 0), kBlack);
    EXPECT_EQ(dc.At(2, 0), kWhite);
}
