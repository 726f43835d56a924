// The stored forms of each item kind: item records, container files and streams, the
// single-item image-strip file, and form descriptions.
#include "obl/core/containers/oblcont.h"
#include "obl/core/formats/Oblstreamutils.h"
#include "obl/core/formats/oblwave.h"
#include "tests/obl/core/containers/ListFixtures.h"

#include <gtest/gtest.h>

namespace {

struct ItemFormatTest : TempDrive {};

TEST_F(ItemFormatTest, EmptyContainerFilesAreThirteenBytes)
{
    TOBLBitmapList bitmaps(nullptr);
    bitmaps.SaveToFile("C:\\empty.bml");
    EXPECT_EQ(Get("empty.bml"), (Bytes{0x08, 'O', 'B', 'L', 'B', 'M', 'L', '3', '0', 0, 0, 0, 0}));
    TOBLImageList images(nullptr);
    TOBLStringList strings(nullptr);
    TOBLGenericList generics(nullptr);
    TOBLWaveList waves(nullptr);
    struct Case {
        TOBLCustomContainer* list;
        const char* signature;
    };
    for (const Case& c : {Case{&images, "OBLIML30"}, Case{&strings, "OBLSLL30"}, Case{&generics, "OBLGLL50"},
                          Case{&waves, "OBLWVL30"}}) {
        c.list->SaveToFile("C:\\empty.dat");
        EXPECT_EQ(Get("empty.dat"), String8(c.signature) + Int32(0)) << c.signature;
        EXPECT_EQ(StreamForm(c.list), Int32(0));
    }
}

TEST_F(ItemFormatTest, TwoItemStringListFileIsThirtyTwoBytes)
{
    TOBLStringList list(nullptr);
    list.Items(list.Add(nullptr))->GetList()->Add("abc");
    list.Add(nullptr);
    list.SaveToFile("C:\\two.sll");
    const Bytes first = Bytes{0x08} + Int32(5) + Text("abc\r\n");
    const Bytes expected = String8("OBLSLL30") + Int32(2) + Int32(21) + Int32(31) + first + Bytes{0x00};
    ASSERT_EQ(expected.size(), 32u);
    EXPECT_EQ(Get("two.sll"), expected);
    EXPECT_EQ(StreamForm(&list), Int32(2) + first + Bytes{0x00});

    TOBLStringList copy(nullptr);
    copy.LoadFromFile("C:\\two.sll");
    ASSERT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.Items(0)->GetList()->Text(), "abc\r\n");
    EXPECT_TRUE(copy.Items(1)->GetEmpty());
    int count = 0;
    TList table;
    EXPECT_EQ(OBLListGetFileType("C:\\two.sll", count, &table), icStringList);
    EXPECT_EQ(count, 2);
}

TEST_F(ItemFormatTest, StringItemRecords)
{
    TOBLStringListItem item(nullptr);
    EXPECT_EQ(Record(&item), Bytes{0x00});
    item.SetDescription("D");
    item.SetIdent(0x0105);
    item.GetList()->Add("x");
    item.GetList()->Add("yz");
    EXPECT_EQ(Record(&item), Bytes{0x0E} + String8("D") + Int32(0x0105) + Int32(7) + Text("x\r\nyz\r\n"));

    item.SetCompressed(true);
    Bytes packed = Record(&item);
    EXPECT_EQ(packed[0], 0x0F);
    TOBLStringListItem back(nullptr);
    back.GetList()->Add("old");
    TMemoryStream in;
    Fill(in, packed);
    back.LoadFromStream(&in);
    EXPECT_EQ(back.GetList()->Text(), "x\r\nyz\r\n");
    EXPECT_EQ(back.Description(), "D");
    EXPECT_EQ(back.Ident(), 0x0105);
    EXPECT_TRUE(back.Compressed());
    EXPECT_EQ(in.Position(), in.Size());

    // A record without lines clears them.
    Fill(in, {0x00});
    back.LoadFromStream(&in);
    EXPECT_TRUE(back.GetEmpty());
}

TEST_F(ItemFormatTest, GenericItemRecordsWriteTheWholeDataAndTheFileName)
{
    TOBLGenericListItem item(nullptr);
    EXPECT_EQ(Record(&item), (Bytes{0x00, 0x00}));
    Put("f.bin", Text("xyz"));
    item.LoadFromFile("C:\\f.bin");
    EXPECT_EQ(item.DataFileName(), "f.bin");
    // Wherever the data's position was left, the whole data is stored.
    item.Data()->SetPosition(2);
    EXPECT_EQ(Record(&item), Bytes{0x08} + Int32(3) + Text("xyz") + String8("f.bin"));

    item.SetCompressed(true);
    item.Data()->SetPosition(3);
    TMemoryStream packed;
    item.WriteData(&packed);
    packed.SetPosition(0);
    TOBLGenericListItem back(nullptr);
    back.ReadData(&packed);
    EXPECT_EQ(Content(*back.Data()), Text("xyz"));
    EXPECT_EQ(back.DataFileName(), "f.bin");

    // Without data: empty but usable.
    TMemoryStream none;
    Fill(none, Bytes{0x00} + String8("g"));
    back.ReadData(&none);
    EXPECT_TRUE(back.GetEmpty());
    EXPECT_EQ(back.DataFileName(), "g");
    back.Assign(&item);
    EXPECT_EQ(Content(*back.Data()), Text("xyz"));
}

TEST_F(ItemFormatTest, GenericItemRawStreamsAndFiles)
{
    TOBLGenericListItem item(nullptr);
    TMemoryStream raw;
    Fill(raw, Text("raw bytes"));
    raw.SetPosition(4);
    item.LoadFromStream(&raw);
    EXPECT_EQ(Content(*item.Data()), Text("raw bytes"));
    TMemoryStream out;
    item.SaveToStream(&out);
    EXPECT_EQ(Content(out), Text("raw bytes"));
    // Through the item base the same names stand for the record, as the lists use them.
    TOBLListItem& asItem = item;
    TMemoryStream record;
    asItem.SaveToStream(&record);
    EXPECT_EQ(Content(record), Bytes{0x08} + Int32(9) + Text("raw bytes") + String8(""));
    TOBLGenericListItem back(nullptr);
    record.SetPosition(0);
    static_cast<TOBLListItem&>(back).LoadFromStream(&record);
    EXPECT_EQ(Content(*back.Data()), Text("raw bytes"));
    item.SaveToFile("C:\\out.bin");
    EXPECT_EQ(Get("out.bin"), Text("raw bytes"));
    std::filesystem::create_directory(root_ + "/sub");
    Put("sub/in.dat", Text("12"));
    item.LoadFromFile("C:\\sub\\in.dat");
    EXPECT_EQ(item.DataFileName(), "in.dat");
    item.LoadFromFile("C:\\sub\\missing.dat");
    EXPECT_TRUE(item.GetEmpty());
    EXPECT_TRUE(item.DataFileName().IsEmpty());
    EXPECT_THROW(item.SaveToFile("C:\\nofolder\\x.bin"), EFCreateError);
}

TEST_F(ItemFormatTest, WaveItemRecords)
{
    TOBLWaveListItem item(nullptr);
    EXPECT_EQ(Record(&item), Bytes{0x00});
    LoadWave(item.Wave(), WaveImage());
    EXPECT_EQ(Record(&item), Bytes{0x08} + Int32(static_cast<int>(WaveImage().size())) + WaveImage());

    TOBLWaveList list(nullptr);
    for (int i = 0; i < 3; ++i)
        list.Add(nullptr);
    LoadWave(list.Items(0)->Wave(), WaveImage(2));
    LoadWave(list.Items(2)->Wave(), WaveImage(6));
    list.Items(2)->SetCompressed(true);
    TMemoryStream stream;
    list.SaveToStream(&stream);
    stream.SetPosition(0);
    TOBLWaveList back(nullptr);
    back.LoadFromStream(&stream);
    ASSERT_EQ(back.GetCount(), 3);
    EXPECT_EQ(Content(*back.Items(0)->Wave()->Stream()), WaveImage(2));
    EXPECT_TRUE(back.Items(1)->GetEmpty());
    EXPECT_EQ(Content(*back.Items(2)->Wave()->Stream()), WaveImage(6));

    list.SaveToFile("C:\\w.wvl");
    TOBLWave wave;
    EXPECT_TRUE(OBLWVLGetItem("C:\\w.wvl", 2, &wave));
    EXPECT_EQ(Content(*wave.Stream()), WaveImage(6));
}

TEST_F(ItemFormatTest, BitmapItemRecords)
{
    TOBLBitmapListItem item(nullptr);
    EXPECT_EQ(Record(&item), Bytes{0x00});
    TOwned<TBitmap> picture(Solid(3, 2, clRed));
    item.SetBitmap(picture.get());
    TMemoryStream image;
    picture->SaveToStream(&image);
    EXPECT_EQ(Record(&item), Bytes{0x08} + Int32(image.Size()) + Content(image));

    // Own device-independent image at 4 bits: 14 + 40 + 64 + 2 rows of 4 bytes.
    item.SetPixelFormat(spf4bit);
    Bytes record = Record(&item);
    ASSERT_EQ(record.size(), 1u + 4u + 126u);
    EXPECT_EQ(record[0], 0x28);
    EXPECT_EQ(Bytes(record.begin() + 1, record.begin() + 7), Int32(126) + Text("BM"));

    TOBLBitmapListItem back(nullptr);
    TMemoryStream in;
    Fill(in, record);
    back.LoadFromStream(&in);
    EXPECT_EQ(back.PixelFormat(), spf4bit);
    EXPECT_EQ(back.StoredBitmap()->Width(), 3);
    EXPECT_EQ(Pixel(back.StoredBitmap()->Canvas(), 2, 1), clRed);
}

TEST_F(ItemFormatTest, BitmapListFileHasTheOffsetsOfItsRecords)
{
    TOBLBitmapList list(nullptr);
    list.Add(nullptr);
    list.Items(0)->SetDescription("none");
    list.Add(nullptr);
    TOwned<TBitmap> picture(Solid(2, 2, clBlue));
    list.Items(1)->SetBitmap(picture.get());
    list.Items(1)->SetIdent(3);
    list.SaveToFile("C:\\b.bml");
    Bytes file = Get("b.bml");
    const Bytes first = Bytes{0x02} + String8("none");
    ASSERT_GT(file.size(), 21u + first.size());
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 21), String8("OBLBML30") + Int32(2) + Int32(21) + Int32(27));
    EXPECT_EQ(Bytes(file.begin() + 21, file.begin() + 27), first);
    EXPECT_EQ(file[27], 0x0C);

    TBitmap fetched;
    EXPECT_TRUE(OBLBMLGetItem("C:\\b.bml", 1, &fetched));
    EXPECT_EQ(Pixel(fetched.Canvas(), 1, 1), clBlue);
    EXPECT_THROW(OBLBMLGetItem("C:\\b.bml", 2, &fetched), EListError);
    TOBLImageList wrong(nullptr);
    EXPECT_THROW(wrong.LoadFromFile("C:\\b.bml"), Exception);
    EXPECT_THROW(OBLIMLGetItem("C:\\b.bml", 0, nullptr), Exception);
}

// A 4 x 3 item with pictures of three colours.
void FillStrip(TOBLImageListItem& item, std::initializer_list<TColor> colors)
{
    item.SetWidth(4);
    item.SetHeight(3);
    for (TColor color : colors) {
        TOwned<TBitmap> picture(Solid(4, 3, color));
        item.Add(picture.get(), nullptr);
    }
}

TEST_F(ItemFormatTest, ImageStripRecordsAndTheSingleItemFile)
{
    TOBLImageListItem item(nullptr);
    const Bytes empty = Bytes{0x00} + Int32(16) + Int32(16) + Int32(4) + Bytes{0} + Int32(0);
    EXPECT_EQ(Record(&item), empty);
    item.SaveToFile("C:\\one.iml");
    EXPECT_EQ(Get("one.iml"), String8("OBLIML30") + Int32(1) + Int32(17) + empty);

    FillStrip(item, {clRed, clLime, clBlue, clYellow, clAqua});
    EXPECT_EQ(item.GetImageBitmap()->Width(), 32);  // grown by four pictures at a time
    item.SetPixelFormat(spf8bit);
    item.SetMaskedState(true);
    Bytes record = Record(&item);
    // The strips are written exactly 20 pixels wide: 8 bits 14 + 40 + 1024 + 3 rows of 20,
    // the mask at 1 bit 14 + 40 + 8 + 3 rows of 4.
    EXPECT_EQ(item.GetImageBitmap()->Width(), 20);
    EXPECT_EQ(item.GetImageMaskBitmap()->Width(), 20);
    const Bytes head = Bytes{0x40} + Int32(3) + Int32(4) + Int32(4) + Bytes{1} + Int32(5) + Int32(1138);
    ASSERT_EQ(record.size(), head.size() + 1138 + 4 + 74);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + head.size()), head);
    EXPECT_EQ(Bytes(record.begin() + head.size() + 1138, record.begin() + head.size() + 1142), Int32(74));

    item.SetPixelFormat(spfDefault);
    item.SetDescription("five");
    item.SaveToFile("C:\\five.iml");
    TOBLImageListItem back(nullptr);
    back.LoadFromFile("C:\\five.iml");
    EXPECT_EQ(back.Description(), "five");
    EXPECT_EQ(back.GetCount(), 5);
    EXPECT_EQ(back.Width(), 4);
    EXPECT_EQ(back.Height(), 3);
    EXPECT_TRUE(back.Masked());
    EXPECT_EQ(back.UsedWidth(), 20);
    EXPECT_EQ(back.GetImageRect(4).left, 16);
    EXPECT_EQ(Pixel(back.GetImageBitmap()->Canvas(), 17, 2), clAqua);
    EXPECT_EQ(Pixel(back.GetImageMaskBitmap()->Canvas(), 17, 2), clBlack);

    TOBLStringList other(nullptr);
    other.SaveToFile("C:\\other.sll");
    EXPECT_THROW(back.LoadFromFile("C:\\other.sll"), Exception);
    EXPECT_EQ(back.GetCount(), 5);
}

TEST_F(ItemFormatTest, ImageListFileReadsSingleItems)
{
    TOBLImageList list(nullptr);
    FillStrip(*list.Items(list.Add(nullptr)), {clRed});
    FillStrip(*list.Items(list.Add(nullptr)), {clLime, clBlue});
    list.SaveToFile("C:\\two.iml");
    TOBLImageListItem item(nullptr);
    EXPECT_TRUE(OBLIMLGetItem("C:\\two.iml", 1, &item));
    EXPECT_EQ(item.GetCount(), 2);
    EXPECT_EQ(Pixel(item.GetImageBitmap()->Canvas(), 5, 0), clBlue);
}

template <class List>
Bytes RoundTripThroughText(List& list, AnsiString* text = nullptr)
{
    RegisterClass(List::StaticClass());
    list.SetName("L");
    TStringStream out;
    out.WriteComponent(&list);
    if (text)
        *text = out.DataString();
    TStringStream in(out.DataString());
    TOwned<TComponent> read(in.ReadComponent(nullptr));
    auto* copy = dynamic_cast<List*>(read.get());
    EXPECT_NE(copy, nullptr);
    UnRegisterClass(List::StaticClass());
    return copy ? StreamForm(copy) : Bytes{};
}

TEST_F(ItemFormatTest, FormDescriptionsKeepEveryItemKind)
{
    TOBLStringList strings(nullptr);
    TOBLStringListItem* s = strings.Items(strings.Add(nullptr));
    s->GetList()->Add("line");
    s->SetDescription("words");
    s->SetIdent(4);
    strings.Add(nullptr);
    AnsiString text;
    EXPECT_EQ(RoundTripThroughText(strings, &text), StreamForm(&strings));
    EXPECT_NE(Pos("Description = 'words'", text), 0) << text.c_str();
    EXPECT_NE(Pos("Internal = {", text), 0);

    TOBLGenericList generics(nullptr);
    TStringStream data("data");
    generics.Items(generics.Add(nullptr))->LoadFromStream(&data);
    EXPECT_EQ(RoundTripThroughText(generics), StreamForm(&generics));

    TOBLWaveList waves(nullptr);
    LoadWave(waves.Items(waves.Add(nullptr))->Wave(), WaveImage());
    EXPECT_EQ(RoundTripThroughText(waves), StreamForm(&waves));

    TOBLBitmapList bitmaps(nullptr);
    TOwned<TBitmap> picture(Solid(2, 3, clNavy));
    bitmaps.Items(bitmaps.Add(nullptr))->SetBitmap(picture.get());
    bitmaps.Items(0)->SetDescription("navy");
    EXPECT_EQ(RoundTripThroughText(bitmaps, &text), StreamForm(&bitmaps));
    // The bitmap item keeps everything in its record.
    EXPECT_EQ(Pos("Description", text), 0) << text.c_str();

    TOBLImageList images(nullptr);
    FillStrip(*images.Items(images.Add(nullptr)), {clRed, clLime});
    images.Items(0)->SetMaskedState(true);
    EXPECT_EQ(RoundTripThroughText(images), StreamForm(&images));
}

TEST_F(ItemFormatTest, LegacyBitmapPropertyOfTheImageStripItemIsRead)
{
    TOwned<TBitmap> strip(Solid(8, 3, clLime));
    strip->Canvas()->Brush()->SetColor(clRed);
    strip->Canvas()->FillRect(Rect(4, 0, 8, 3));
    TMemoryStream data;
    stWriteInteger(&data, 2);
    stWriteBitmap(&data, strip.get(), false, -1);
    AnsiString hex;
    for (BYTE b : Content(data))
        hex += Format("%.2X", {static_cast<int>(b)});
    RegisterClass(TOBLImageList::StaticClass());
    TStringStream in("object L: TOBLImageList\n  object I: TOBLImageListItem\n    Width = 4\n    Height = 3\n"
                     "    Bitmap = {" + hex + "}\n  end\nend\n");
    TOwned<TComponent> read(in.ReadComponent(nullptr));
    UnRegisterClass(TOBLImageList::StaticClass());
    auto* list = dynamic_cast<TOBLImageList*>(read.get());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetCount(), 1);
    EXPECT_EQ(list->Items(0)->GetCount(), 2);
    EXPECT_EQ(Pixel(list->Items(0)->GetImageBitmap()->Canvas(), 5, 1), clRed);
    // It is never written back.
    TStringStream out;
    out.WriteComponent(list);
    EXPECT_EQ(Pos("Bitmap", out.DataString()), 0);
}

TEST_F(ItemFormatTest, ItemsAssignedToThemselvesKeepTheirData)
{
    TOBLStringListItem strings(nullptr);
    strings.GetList()->Add("kept");
    strings.Assign(&strings);
    EXPECT_EQ(strings.GetList()->Text(), "kept\r\n");
    TOBLGenericListItem generic(nullptr);
    TStringStream data("kept");
    generic.LoadFromStream(&data);
    generic.Assign(&generic);
    EXPECT_EQ(Content(*generic.Data()), Text("kept"));
    TOBLWaveListItem wave(nullptr);
    LoadWave(wave.Wave(), WaveImage());
    wave.Assign(&wave);
    EXPECT_EQ(Content(*wave.Wave()->Stream()), WaveImage());
    TOBLBitmapListItem bitmap(nullptr);
    TOwned<TBitmap> picture(Solid(2, 2, clRed));
    bitmap.SetBitmap(picture.get());
    bitmap.Assign(&bitmap);
    EXPECT_EQ(Pixel(bitmap.StoredBitmap()->Canvas(), 1, 1), clRed);

    // A string item takes lines from any string list, keeping its name and ident.
    strings.SetDescription("name");
    strings.SetIdent(3);
    TStringList lines;
    lines.SetText("a\r\nb\r\nc\r\n");
    strings.Assign(&lines);
    EXPECT_EQ(strings.GetList()->Count(), 3);
    EXPECT_EQ(strings.Description(), "name");
    EXPECT_EQ(strings.Ident(), 3);
    EXPECT_THROW(strings.Assign(&generic), EConvertError);
}

} // namespace
