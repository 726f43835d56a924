#include "platform/classlib/Graphics.h"

#include "tests/platform/classlib/graphics/GraphicsFixtures.h"
#include "tests/support/NotifyCounter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// An icon of the given size: red, with a transparent top-left quarter.
HICON MakeIcon(int size)
{
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, size, size);
    DeleteDC(screen);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, colour);
    RECT all{0, 0, size, size}, quarter{0, 0, size / 2, size / 2};
    HBRUSH red = CreateSolidBrush(kRed);
    ::FillRect(dc, &all, red);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    ::FillRect(dc, &quarter, black);
    SelectObject(dc, mask);
    ::FillRect(dc, &all, black);
    ::FillRect(dc, &quarter, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(red);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

TOwned<TBitmap> RedBitmap(int w, int h)
{
    TOwned<TBitmap> b(new TBitmap);
    b->SetPixelFormat(pf24bit);
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(clRed);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

class TPictureHolder : public TComponent {
    VENDARO_CLASS(TPictureHolder, TComponent)
public:
    explicit TPictureHolder(TComponent* owner) : TComponent(owner), glyph_(new TBitmap), picture_(new TPicture) {}
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* value) { glyph_->Assign(value); }
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* value) { picture_->Assign(value); }
    static void Publish(TClassBuilder<TPictureHolder>& c)
    {
        c.Property("Glyph", &TPictureHolder::Glyph, &TPictureHolder::SetGlyph);
        c.Property("Picture", &TPictureHolder::Picture, &TPictureHolder::SetPicture);
    }

private:
    TOwned<TBitmap> glyph_;
    TOwned<TPicture> picture_;
};

} // namespace

TEST(Icon, AdoptedHandleDrawsThroughItsMask)
{
    TOwned<TIcon> icon(new TIcon);
    EXPECT_TRUE(icon->Empty());
    EXPECT_TRUE(icon->Transparent());
    icon->SetHandle(MakeIcon(16));
    EXPECT_EQ(icon->Width(), 16);
    EXPECT_EQ(icon->Height(), 16);
    EXPECT_THROW(icon->SetWidth(32), EInvalidGraphicOperation);
    MemoryDC dc(20, 20, kGreen);
    TOwned<TCanvas> canvas(new TCanvas);
    canvas->SetHandle(dc.dc());
    canvas->Draw(2, 2, icon.get());
    EXPECT_EQ(dc.At(3, 3), kGreen);    // transparent quarter
    EXPECT_EQ(dc.At(15, 15), kRed);
    EXPECT_EQ(dc.At(18, 18), kGreen);
}

TEST(Icon, FileImageRoundTripAndEntryChoice)
{
    TOwned<TIcon> icon(new TIcon);
    icon->SetHandle(MakeIcon(16));
    TMemoryStream saved;
    icon->SaveToStream(&saved);
    const auto* bytes = static_cast<const BYTE*>(saved.Memory());
    ASSERT_GT(saved.Size(), 22);
    EXPECT_EQ(bytes[2], 1);   // an icon file
    EXPECT_EQ(bytes[6], 16);  // entry width
    saved.SetPosition(0);
    TOwned<TIcon> loaded(new TIcon);
    loaded->LoadFromStream(&saved);
    EXPECT_EQ(loaded->Width(), 16);
    MemoryDC dc(16, 16, kGreen);
    TOwned<TCanvas> canvas(new TCanvas);
    canvas->SetHandle(dc.dc());
    canvas->Draw(0, 0, loaded.get());
    EXPECT_EQ(dc.At(1, 1), kGreen);
    EXPECT_EQ(dc.At(12, 12), kRed);
    // Saved again as it was read.
    TMemoryStream again;
    loaded->SaveToStream(&again);
    ASSERT_EQ(again.Size(), saved.Size());
    EXPECT_EQ(std::memcmp(again.Memory(), saved.Memory(), static_cast<std::size_t>(saved.Size())), 0);
    TOwned<TIcon> copy(new TIcon);
    copy->Assign(loaded.get());
    EXPECT_EQ(copy->Width(), 16);
    EXPECT_NE(copy->Handle(), loaded->Handle());
}

TEST(Icon, MalformedFilesAreRejected)
{
    TOwned<TIcon> icon(new TIcon);
    icon->SetHandle(MakeIcon(8));
    TMemoryStream good;
    icon->SaveToStream(&good);
    std::vector<BYTE> bytes(static_cast<const BYTE*>(good.Memory()), static_cast<const BYTE*>(good.Memory()) + good.Size());
    auto with = [&](std::size_t at, BYTE value) { auto b = bytes; b[at] = value; return b; };
    const std::vector<std::vector<BYTE>> bad = {
        {0, 0, 1},                                   // short directory
        with(2, 2),                                  // a cursor file
        with(4, 0),                                  // no entries
        with(4, 200),                                // entries past the end
        with(18, 0xFF),                              // entry data past the end
        with(22, 12),                                // not a 40-byte header
        std::vector<BYTE>(bytes.begin(), bytes.end() - 4),   // mask cut short
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        TMemoryStream stream;
        stream.WriteBuffer(bad[i].data(), static_cast<int>(bad[i].size()));
        stream.SetPosition(0);
        TOwned<TIcon> target(new TIcon);
        EXPECT_THROW(target->LoadFromStream(&stream), EInvalidGraphic) << i;
        EXPECT_TRUE(target->Empty()) << i;
    }
}

TEST(Picture, HoldsCopiesAndForcesTypes)
{
    TOwned<TPicture> picture(new TPicture);
    NotifyCounter counter;
    picture->SetOnChange(TNotifyEvent(&counter, &NotifyCounter::Changed));
    EXPECT_EQ(picture->Graphic(), nullptr);
    EXPECT_EQ(picture->Width(), 0);
    TOwned<TBitmap> bitmap = RedBitmap(5, 3);
    picture->SetGraphic(bitmap.get());
    EXPECT_EQ(counter.count, 1);
    ASSERT_NE(picture->Graphic(), nullptr);
    EXPECT_NE(picture->Graphic(), bitmap.get());
    EXPECT_EQ(picture->Width(), 5);
    EXPECT_EQ(picture->Height(), 3);
    EXPECT_EQ(picture->Bitmap(), picture->Graphic());
    picture->Bitmap()->SetWidth(7);   // the graphic's changes reach the picture
    EXPECT_EQ(counter.count, 2);
    TIcon* icon = picture->Icon();
    EXPECT_TRUE(icon->Empty());
    EXPECT_EQ(picture->Graphic(), icon);
    EXPECT_EQ(counter.count, 3);
    TOwned<TPicture> other(new TPicture);
    other->Assign(bitmap.get());
    picture->Assign(other.get());
    EXPECT_EQ(picture->Width(), 5);
    EXPECT_NE(picture->Graphic(), other->Graphic());
    picture->Assign(nullptr);
    EXPECT_EQ(picture->Graphic(), nullptr);
    TOwned<TFont> font(new TFont);
    EXPECT_THROW(picture->Assign(font.get()), EConvertError);
}

TEST(Picture, FilesByExtension)
{
    std::filesystem::path dir = std::filesystem::temp_directory_path();
    auto windows = [](std::filesystem::path p) {
        AnsiString s = "C:" + AnsiString(p.string().c_str());
        for (int i = 1; i <= s.Length(); ++i)
            if (s[i] == '/')
                s[i] = '\\';
        return s;
    };
    TOwned<TPicture> picture(new TPicture);
    TOwned<TBitmap> bitmap = RedBitmap(3, 2);
    picture->SetGraphic(bitmap.get());
    picture->SaveToFile(windows(dir / "vendaro_picture.bmp"));
    TOwned<TIcon> icon(new TIcon);
    icon->SetHandle(MakeIcon(16));
    icon->SaveToFile(windows(dir / "vendaro_picture.ico"));
    TOwned<TPicture> loaded(new TPicture);
    loaded->LoadFromFile(windows(dir / "vendaro_picture.BMP"));
    EXPECT_TRUE(dynamic_cast<TBitmap*>(loaded->Graphic()));
    EXPECT_EQ(loaded->Width(), 3);
    loaded->LoadFromFile(windows(dir / "vendaro_picture.ico"));
    EXPECT_TRUE(dynamic_cast<TIcon*>(loaded->Graphic()));
    EXPECT_EQ(loaded->Width(), 16);
    try {
        loaded->LoadFromFile("C:\\x\\picture.xyz");
        ADD_FAILURE();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Unknown picture file extension (.xyz)");
    }
    std::filesystem::remove(dir / "vendaro_picture.bmp");
    std::filesystem::remove(dir / "vendaro_picture.ico");
}

TEST(Picture, DataPropertyNamesTheGraphicClass)
{
    TOwned<TPicture> picture(new TPicture);
    TOwned<TBitmap> bitmap = RedBitmap(2, 2);
    picture->SetGraphic(bitmap.get());
    TMemoryStream data;
    picture->WriteData(&data);
    const auto* bytes = static_cast<const char*>(data.Memory());
    ASSERT_EQ(bytes[0], 7);
    EXPECT_EQ(std::string(bytes + 1, 7), "TBitmap");
    data.SetPosition(0);
    TOwned<TPicture> back(new TPicture);
    back->ReadData(&data);
    ASSERT_TRUE(dynamic_cast<TBitmap*>(back->Graphic()));
    EXPECT_EQ(static_cast<COLORREF>(back->Bitmap()->Canvas()->Pixels(1, 1)), kRed);
    TStringStream unknown(AnsiString("\x05TJpeg", 6));
    back->ReadData(&unknown);
    EXPECT_EQ(back->Graphic(), nullptr);
}

TEST(Picture, FormDescriptionsKeepGraphicsAsData)
{
    TOwned<TPictureHolder> holder(new TPictureHolder(nullptr));
    holder->SetName("Holder1");
    TOwned<TBitmap> glyph = RedBitmap(3, 3);
    holder->SetGlyph(glyph.get());
    TOwned<TBitmap> picture = RedBitmap(4, 2);
    picture->Canvas()->SetPixels(0, 0, clBlue);
    holder->Picture()->SetGraphic(picture.get());
    TStringStream text;
    {
        TWriter writer(&text);
        writer.WriteRootComponent(holder.get());
    }
    EXPECT_NE(Pos("Glyph.Data = {", text.DataString()), 0) << text.DataString().c_str();
    EXPECT_NE(Pos("Picture.Data = {", text.DataString()), 0);
    TOwned<TPictureHolder> read(new TPictureHolder(nullptr));
    text.SetPosition(0);
    {
        TReader reader(&text);
        reader.ReadRootComponent(read.get());
    }
    EXPECT_EQ(read->Glyph()->Width(), 3);
    EXPECT_EQ(static_cast<COLORREF>(read->Glyph()->Canvas()->Pixels(2, 2)), kRed);
    EXPECT_EQ(read->Picture()->Width(), 4);
    EXPECT_EQ(static_cast<COLORREF>(read->Picture()->Bitmap()->Canvas()->Pixels(0, 0)), kBlue);
    // Empty graphics are not written.
    TOwned<TPictureHolder> empty(new TPictureHolder(nullptr));
    empty->SetName("Empty1");
    TStringStream emptyText;
    {
        TWriter writer(&emptyText);
        writer.WriteRootComponent(empty.get());
    }
    EXPECT_EQ(Pos("Data", emptyText.DataString()), 0) << emptyText.DataString().c_str();
}

namespace {

// The single entry of each icon file, put together into one file.
std::vector<BYTE> JoinIconFiles(const std::vector<std::vector<BYTE>>& files)
{
    std::vector<BYTE> out = {0, 0, 1, 0, static_cast<BYTE>(files.size()), 0};
    std::size_t offset = 6 + 16 * files.size();
    std::vector<BYTE> data;
    for (const auto& f : files) {
        std::vector<BYTE> entry(f.begin() + 6, f.begin() + 22);
        std::size_t size = f.size() - 22;
        DWORD at = static_cast<DWORD>(offset + data.size());
        std::memcpy(entry.data() + 12, &at, 4);
        out.insert(out.end(), entry.begin(), entry.end());
        data.insert(data.end(), f.begin() + 22, f.begin() + 22 + static_cast<std::ptrdiff_t>(size));
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<BYTE> IconFile(int size)
{
    TOwned<TIcon> icon(new TIcon);
    icon->SetHandle(MakeIcon(size));
    TMemoryStream stream;
    icon->SaveToStream(&stream);
    const auto* b = static_cast<const BYTE*>(stream.Memory());
    return std::vector<BYTE>(b, b + stream.Size());
}

} // namespace

TEST(Icon, PicksTheRequestedSizeFromTheFile)
{
    std::vector<BYTE> file = JoinIconFiles({IconFile(16), IconFile(32), IconFile(48)});
    struct Case { int requested; int expected; };
    const Case cases[] = {{0, 32}, {16, 16}, {48, 48}, {24, 16}};
    for (const Case& c : cases) {
        TOwned<TIcon> icon(new TIcon);
        if (c.requested) {
            icon->SetWidth(c.requested);
            icon->SetHeight(c.requested);
        }
        TMemoryStream stream;
        stream.WriteBuffer(file.data(), static_cast<int>(file.size()));
        stream.SetPosition(0);
        icon->LoadFromStream(&stream);
        EXPECT_EQ(icon->Width(), c.expected) << c.requested;
        EXPECT_EQ(icon->Height(), c.expected) << c.requested;
    }
    TOwned<TIcon> empty(new TIcon);
    TMemoryStream nothing;
    empty->LoadFromStream(&nothing);
    EXPECT_TRUE(empty->Empty());
}
