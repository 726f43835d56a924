// The image strip item and the image list, checked by the pixels of the strip.
#include "obl/core/containers/oblcont.h"
#include "platform/win/gdi/Gdi.h"
#include "tests/obl/core/containers/ListFixtures.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Colors = std::vector<TColor>;

constexpr TColor R = clRed, G = clLime, B = clBlue, Y = clYellow, A = clAqua;

// A 4 x 3 item holding one picture of each colour.
void Fill(TOBLImageListItem& item, const Colors& colors)
{
    item.SetWidth(4);
    item.SetHeight(3);
    for (TColor color : colors) {
        TOwned<TBitmap> picture(Solid(4, 3, color));
        item.Add(picture.get(), nullptr);
    }
}

// The colour of every picture, read at its cell in the strip.
Colors Pictures(TOBLImageListItem& item)
{
    Colors colors;
    for (int i = 0; i < item.GetCount(); ++i) {
        TRect cell = item.GetImageRect(i);
        EXPECT_EQ(cell.left, i * item.Width());
        colors.push_back(Pixel(item.GetImageBitmap()->Canvas(), cell.left + 2, 1));
    }
    return colors;
}

struct StripCase {
    const char* name;
    Colors before;
    std::function<void(TOBLImageListItem&)> operation;
    Colors after;
};

void AddPicture(TOBLImageListItem& item, TColor color)
{
    TOwned<TBitmap> picture(Solid(4, 3, color));
    item.Add(picture.get(), nullptr);
}

void InsertPicture(TOBLImageListItem& item, int index, TColor color)
{
    TOwned<TBitmap> picture(Solid(4, 3, color));
    item.Insert(index, picture.get(), nullptr);
}

void ReplacePicture(TOBLImageListItem& item, int index, TColor color)
{
    TOwned<TBitmap> picture(Solid(4, 3, color));
    item.Replace(index, picture.get(), nullptr);
}

TOBLImageListItem* Other(const Colors& colors)
{
    auto* other = new TOBLImageListItem(4, 3);
    Fill(*other, colors);
    return other;
}

TEST(ImageStripTest, OperationsMoveThePicturesOfTheStrip)
{
    const StripCase cases[] = {
        {"add", {R, G}, [](auto& i) { AddPicture(i, B); }, {R, G, B}},
        {"insert first", {R, G, B}, [](auto& i) { InsertPicture(i, 0, Y); }, {Y, R, G, B}},
        {"insert middle", {R, G, B}, [](auto& i) { InsertPicture(i, 1, Y); }, {R, Y, G, B}},
        {"insert at the end", {R, G, B}, [](auto& i) { InsertPicture(i, 3, Y); }, {R, G, B, Y}},
        {"delete first", {R, G, B}, [](auto& i) { i.Delete(0); }, {G, B}},
        {"delete middle", {R, G, B}, [](auto& i) { i.Delete(1); }, {R, B}},
        {"delete last", {R, G, B}, [](auto& i) { i.Delete(2); }, {R, G}},
        {"delete past the end", {R, G, B}, [](auto& i) { i.Delete(3); }, {R, G, B}},
        {"replace", {R, G, B}, [](auto& i) { ReplacePicture(i, 1, Y); }, {R, Y, B}},
        {"move forward", {R, G, B}, [](auto& i) { i.Move(0, 2); }, {G, B, R}},
        {"move back", {R, G, B}, [](auto& i) { i.Move(2, 0); }, {B, R, G}},
        {"add images", {R, G, B}, [](auto& i) { TOwned<TOBLImageListItem> o(Other({Y, A})); i.AddImages(o.get()); },
         {R, G, B, Y, A}},
        {"insert images", {R, G, B},
         [](auto& i) { TOwned<TOBLImageListItem> o(Other({Y, A})); i.InsertImages(1, o.get()); }, {R, Y, A, G, B}},
        {"insert images at the end", {R, G, B},
         [](auto& i) { TOwned<TOBLImageListItem> o(Other({Y, A})); i.InsertImages(3, o.get()); }, {R, G, B, Y, A}},
        {"add images of itself", {R, G, B}, [](auto& i) { i.AddImages(&i); }, {R, G, B, R, G, B}},
        {"insert images of itself", {R, G}, [](auto& i) { i.InsertImages(1, &i); }, {R, R, G, G}},
        {"assign", {R}, [](auto& i) { TOwned<TOBLImageListItem> o(Other({Y, A})); i.Assign(o.get()); }, {Y, A}},
        {"assign itself", {R, G}, [](auto& i) { i.Assign(&i); }, {R, G}},
    };
    for (const StripCase& c : cases) {
        TOBLImageListItem item(nullptr);
        Fill(item, c.before);
        c.operation(item);
        EXPECT_EQ(Pictures(item), c.after) << c.name;
        EXPECT_EQ(item.UsedWidth(), item.GetCount() * 4) << c.name;
    }
}

TEST(ImageStripTest, MaskedOperationsMoveTheMasksAlong)
{
    TOBLImageListItem item(nullptr);
    Fill(item, {R, G});
    item.SetMaskedState(true);
    // Switching the mask on leaves every picture opaque.
    EXPECT_EQ(Pixel(item.GetImageMaskBitmap()->Canvas(), 5, 1), clBlack);
    TOwned<TBitmap> picture(Solid(4, 3, B));
    TOwned<TBitmap> mask(Solid(4, 3, clWhite));
    mask->Canvas()->Brush()->SetColor(clBlack);
    mask->Canvas()->FillRect(Rect(1, 1, 3, 2));
    item.Insert(0, picture.get(), mask.get());
    EXPECT_EQ(Pictures(item), (Colors{B, R, G}));
    TCanvas* m = item.GetImageMaskBitmap()->Canvas();
    EXPECT_EQ(Pixel(m, 0, 0), clWhite);
    EXPECT_EQ(Pixel(m, 1, 1), clBlack);
    EXPECT_EQ(Pixel(m, 4, 0), clBlack);
    item.Move(0, 2);
    EXPECT_EQ(Pictures(item), (Colors{R, G, B}));
    EXPECT_EQ(Pixel(m, 8, 0), clWhite);
    EXPECT_EQ(Pixel(m, 9, 1), clBlack);
    EXPECT_EQ(Pixel(m, 0, 0), clBlack);
    item.Delete(0);
    EXPECT_EQ(Pixel(m, 4, 0), clWhite);
}

TEST(ImageStripTest, AddMaskedMakesTheMaskFromTheTransparentColour)
{
    TOBLImageListItem item(4, 3);
    item.SetMaskedState(true);
    TOwned<TBitmap> picture(Solid(4, 3, clWhite));
    picture->Canvas()->SetPixels(1, 1, clRed);
    EXPECT_EQ(item.AddMasked(picture.get(), clWhite), 0);
    TCanvas* m = item.GetImageMaskBitmap()->Canvas();
    EXPECT_EQ(Pixel(m, 0, 0), clWhite);
    EXPECT_EQ(Pixel(m, 1, 1), clBlack);
    // The picture is black where it is transparent.
    EXPECT_EQ(Pixel(item.GetImageBitmap()->Canvas(), 0, 0), clBlack);
    EXPECT_EQ(Pixel(item.GetImageBitmap()->Canvas(), 1, 1), clRed);
}

TEST(ImageStripTest, MaskedDrawKeepsTheBackgroundWhateverTheCanvasColours)
{
    TOBLImageListItem item(4, 3);
    item.SetMaskedState(true);
    TOwned<TBitmap> picture(Solid(4, 3, clWhite));
    picture->Canvas()->SetPixels(1, 1, clRed);
    item.AddMasked(picture.get(), clWhite);

    TOwned<TBitmap> target(Solid(10, 6, clGreen));
    TCanvas* canvas = target->Canvas();
    SetTextColor(canvas->Handle(), clBlue);
    SetBkColor(canvas->Handle(), clYellow);
    item.Draw(canvas, 2, 1, 0);
    EXPECT_EQ(Pixel(canvas, 2, 1), clGreen);
    EXPECT_EQ(Pixel(canvas, 3, 2), clRed);
    EXPECT_EQ(Pixel(canvas, 5, 3), clGreen);
    EXPECT_EQ(Pixel(canvas, 0, 0), clGreen);
    EXPECT_EQ(canvas->CopyMode(), cmSrcCopy);
    EXPECT_EQ(GetTextColor(canvas->Handle()), static_cast<COLORREF>(clBlue));
    EXPECT_EQ(GetBkColor(canvas->Handle()), static_cast<COLORREF>(clYellow));

    TOwned<TBitmap> other(Solid(10, 6, clGreen));
    EXPECT_EQ(item.DrawExt(other->Canvas(), Rect(4, 2, 8, 5), 0, 0).left, 4);
    EXPECT_EQ(Pixel(other->Canvas(), 4, 2), clGreen);
    EXPECT_EQ(Pixel(other->Canvas(), 5, 3), clRed);

    TOwned<TBitmap> clipped(Solid(10, 6, clGreen));
    item.ClipDraw(clipped->Canvas(), Rect(0, 0, 2, 3), 0x0001, 0, 0, 0);
    EXPECT_EQ(Pixel(clipped->Canvas(), 1, 1), clRed);
    EXPECT_EQ(Pixel(clipped->Canvas(), 0, 0), clGreen);
}

TEST(ImageStripTest, UnmaskedDrawCopiesTheCell)
{
    TOBLImageListItem item(nullptr);
    Fill(item, {R, G});
    TOwned<TBitmap> target(Solid(10, 6, clWhite));
    item.Draw(target->Canvas(), 1, 1, 1);
    EXPECT_EQ(Pixel(target->Canvas(), 1, 1), G);
    EXPECT_EQ(Pixel(target->Canvas(), 4, 3), G);
    EXPECT_EQ(Pixel(target->Canvas(), 5, 1), clWhite);
    EXPECT_EQ(item.TransparentColor(1), G);
    EXPECT_EQ(item.GetColorAtPoint(Point(0, 0), 0), R);
    TBitmap copy;
    item.GetBitmap(1, &copy);
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(Pixel(copy.Canvas(), 3, 2), G);
}

TEST(ImageStripTest, BadIndexesChangeNothing)
{
    TOBLImageListItem item(nullptr);
    Fill(item, {R, G, B});
    Counter counter;
    item.SetOnChange(TNotifyEvent(&counter, &Counter::Hit));
    EXPECT_THROW(item.Delete(-1), EListError);
    EXPECT_THROW(InsertPicture(item, -1, Y), EListError);
    EXPECT_THROW(ReplacePicture(item, 3, Y), EListError);
    EXPECT_THROW(item.Move(-1, 0), EListError);
    EXPECT_THROW(item.Move(0, -2), EListError);
    EXPECT_THROW(item.GetImageRect(3), EListError);
    EXPECT_EQ(Pictures(item), (Colors{R, G, B}));
    EXPECT_EQ(item.UsedWidth(), 12);
    EXPECT_EQ(counter.count, 0);
}

TEST(ImageStripTest, ImagesOfTheWrongSizeAreRefused)
{
    TOBLImageListItem item(4, 3);
    TOwned<TBitmap> tall(Solid(4, 4, R));
    TOwned<TBitmap> odd(Solid(6, 3, R));
    TOwned<TBitmap> wide(Solid(8, 3, R));
    wide->Canvas()->Brush()->SetColor(B);
    wide->Canvas()->FillRect(Rect(4, 0, 8, 3));
    EXPECT_THROW(item.Add(tall.get(), nullptr), EInvalidGraphicOperation);
    EXPECT_THROW(item.Add(odd.get(), nullptr), EInvalidGraphicOperation);
    try {
        item.CheckImage(odd.get());
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message(), "Invalid image size");
    }
    EXPECT_FALSE(item.CheckImage(nullptr));
    EXPECT_EQ(item.Add(nullptr, tall.get()), -1);
    EXPECT_EQ(item.GetCount(), 0);
    // A whole multiple of the width passes; only its first picture is copied.
    EXPECT_EQ(item.Add(wide.get(), nullptr), 0);
    EXPECT_EQ(Pictures(item), (Colors{R}));
    EXPECT_THROW(TOBLImageListItem(0, 3), EInvalidGraphicOperation);
    EXPECT_THROW(TOBLImageListItem(3, -1), EInvalidGraphicOperation);
    TOwned<TOBLImageListItem> other(new TOBLImageListItem(5, 3));
    EXPECT_THROW(item.AddImages(other.get()), EInvalidGraphicOperation);
    EXPECT_THROW(item.InsertImages(0, other.get()), EInvalidGraphicOperation);
}

TEST(ImageStripTest, EmptyCellsAreReservedInOrder)
{
    TOBLImageListItem item(nullptr);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(item.Add(nullptr, nullptr), i);
    EXPECT_EQ(item.UsedWidth(), 48);
    EXPECT_EQ(item.GetImageBitmap()->Width(), 64);
}

TEST(ImageStripTest, StripGrowsByAllocByUpToItsLimit)
{
    // One pixel high, so that the 32,768-pixel strip stays small.
    TOBLImageListItem item(16, 1);
    std::vector<int> widths;
    for (int i = 0; i < 2048; ++i) {
        item.Add(nullptr, nullptr);
        if (widths.empty() || widths.back() != item.GetImageBitmap()->Width())
            widths.push_back(item.GetImageBitmap()->Width());
    }
    EXPECT_EQ(widths[0], 64);
    EXPECT_EQ(widths[1], 128);
    EXPECT_EQ(item.GetImageBitmap()->Width(), 32768);
    try {
        item.Add(nullptr, nullptr);
        ADD_FAILURE() << "the 2049th picture fits";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message(), "Too many images");
    }
    // Nothing of the failed reservation stays.
    EXPECT_EQ(item.GetCount(), 2048);
    EXPECT_EQ(item.UsedWidth(), 32768);
    TOwned<TOBLImageListItem> one(new TOBLImageListItem(16, 1));
    one->Add(nullptr, nullptr);
    EXPECT_THROW(item.AddImages(one.get()), EInvalidGraphicOperation);
    EXPECT_EQ(item.GetCount(), 2048);
}

TEST(ImageStripTest, AllocByBelowOneGrowsOnePictureAtATime)
{
    for (int allocBy : {0, -3}) {
        TOBLImageListItem item(4, 3);
        item.SetAllocBy(allocBy);
        EXPECT_EQ(item.AllocBy(), 1);
        AddPicture(item, R);
        AddPicture(item, G);
        EXPECT_EQ(item.GetImageBitmap()->Width(), 8);
        EXPECT_EQ(Pictures(item), (Colors{R, G}));
    }
}

TEST(ImageStripTest, ConvertRefusesAPictureCountBelowOneBeforeClearing)
{
    TOBLImageListItem item(nullptr);
    Fill(item, {R, G});
    TOwned<TBitmap> source(Solid(12, 5, B));
    for (int count : {0, -1, 13}) {
        EXPECT_THROW(item.ConvertBmpToIML(source.get(), count, false), EInvalidGraphicOperation) << count;
        EXPECT_EQ(Pictures(item), (Colors{R, G})) << count;
    }
    Counter counter;
    item.SetOnChange(TNotifyEvent(&counter, &Counter::Hit));
    item.ConvertBmpToIML(source.get(), 3, false);
    EXPECT_EQ(item.Width(), 4);
    EXPECT_EQ(item.Height(), 5);
    EXPECT_EQ(Pictures(item), (Colors{B, B, B}));
    EXPECT_EQ(counter.count, 1);
}

struct ImageStripFileTest : TempDrive {};

TEST_F(ImageStripFileTest, LoadFromBitmapCutsTheFileIntoPictures)
{
    TOwned<TBitmap> source(Solid(8, 2, R));
    source->Canvas()->Brush()->SetColor(G);
    source->Canvas()->FillRect(Rect(4, 0, 8, 2));
    source->SaveToFile("C:\\pair.bmp");
    TOBLImageListItem item(nullptr);
    Fill(item, {B});
    for (int count : {0, 3})
        EXPECT_THROW(item.LoadFromBitmap("C:\\pair.bmp", count, false), Exception) << count;
    EXPECT_EQ(Pictures(item), (Colors{B}));
    EXPECT_TRUE(item.LoadFromBitmap("C:\\pair.bmp", 2, false));
    EXPECT_EQ(item.Description(), "pair.bmp");
    EXPECT_EQ(item.Width(), 4);
    EXPECT_EQ(Pictures(item), (Colors{R, G}));
}

TEST(ImageStripTest, SizeChangeEmptiesTheItem)
{
    TOBLImageListItem item(nullptr);
    Fill(item, {R, G});
    Counter counter;
    item.SetOnChange(TNotifyEvent(&counter, &Counter::Hit));
    item.SetInteger(0, 4);
    item.SetInteger(1, -2);
    EXPECT_EQ(item.GetCount(), 2);
    EXPECT_EQ(counter.count, 0);
    item.SetInteger(0, 6);
    EXPECT_EQ(item.GetCount(), 0);
    EXPECT_EQ(item.Width(), 6);
    EXPECT_EQ(counter.count, 1);
}

TEST(ImageStripTest, NotificationCounts)
{
    TOBLImageListItem item(nullptr);
    Fill(item, {R, G, B});
    Counter counter;
    item.SetOnChange(TNotifyEvent(&counter, &Counter::Hit));
    struct Case {
        const char* name;
        std::function<void()> operation;
        int changes;
    };
    TOwned<TOBLImageListItem> pair(Other({Y, A}));
    TOwned<TOBLImageListItem> empty(new TOBLImageListItem(4, 3));
    const Case cases[] = {
        {"add", [&] { AddPicture(item, Y); }, 1},
        {"move", [&] { item.Move(0, 1); }, 1},
        {"add images", [&] { item.AddImages(pair.get()); }, 1},
        {"insert images", [&] { item.InsertImages(0, pair.get()); }, 1},
        {"add no images", [&] { item.AddImages(empty.get()); }, 0},
        {"clear", [&] { item.Clear(); }, 0},
        {"assign an empty item", [&] { item.Assign(empty.get()); }, 1},
        {"assign", [&] { item.Assign(pair.get()); }, 1},
        {"assign itself", [&] { item.Assign(&item); }, 0},
    };
    for (const Case& c : cases) {
        counter.count = 0;
        c.operation();
        EXPECT_EQ(counter.count, c.changes) << c.name;
    }
}

TEST(ImageStripTest, ImageListAnswersForItsStrips)
{
    TOBLImageList list(nullptr);
    Fill(*list.Items(list.Add(nullptr)), {R, G});
    EXPECT_EQ(list.ItemCount(0), 2);
    EXPECT_EQ(list.ItemCount(1), -1);
    EXPECT_TRUE(list.IsValidItem(0, 1));
    EXPECT_FALSE(list.IsValidItem(0, -1));
    EXPECT_FALSE(list.IsValidItem(0, 2));
    EXPECT_FALSE(list.IsValidItem(1, 0));
    EXPECT_EQ(list.Dimensions(0, 0), 4);
    EXPECT_EQ(list.Dimensions(0, 1), 3);
    EXPECT_EQ(list.Dimensions(0, 2), 0);
    EXPECT_EQ(list.Dimensions(1, 0), 0);
    EXPECT_EQ(list.TransparentColor(1, 0), 0xFFFFFF);
    EXPECT_EQ(list.GetColorAtPoint(Point(0, 0), 0, 1), G);
    EXPECT_EQ(list.ItemRect(0, 1).left, 4);
    EXPECT_EQ(list.Palette(5), nullptr);
    EXPECT_FALSE(list.Masked(0));
    TOwned<TBitmap> target(Solid(4, 3, clWhite));
    list.Draw(target->Canvas(), 0, 0, 0, 1);
    EXPECT_EQ(Pixel(target->Canvas(), 2, 2), G);

    TOBLImageList copy(nullptr);
    copy.SetDefaultPixelFormat(spf4bit);
    list.SetDefaultCompressed(true);
    copy.Assign(&list);
    EXPECT_EQ(copy.GetCount(), 1);
    EXPECT_NE(copy.Items(0), list.Items(0));
    EXPECT_EQ(Pictures(*copy.Items(0)), (Colors{R, G}));
    EXPECT_TRUE(copy.DefaultCompressed());
    EXPECT_EQ(copy.DefaultPixelFormat(), spfDefault);
    EXPECT_EQ(copy.ListIndex(), 0);
    copy.Assign(&copy);
    EXPECT_EQ(copy.GetCount(), 1);
    EXPECT_EQ(copy.Items(0)->GetCount(), 2);
}

TEST(ImageStripTest, ClearingLeavesNoBitmapObjectBehind)
{
    int before = GdiLiveObjectCount();
    {
        TOBLImageListItem item(4, 3);
        item.SetMaskedState(true);
        for (int round = 0; round < 3; ++round) {
            Fill(item, {R, G, B});
            item.Draw(TOwned<TBitmap>(Solid(4, 3, clWhite))->Canvas(), 0, 0, 0);
            item.Clear();
        }
    }
    EXPECT_EQ(GdiLiveObjectCount(), before);
}

} // namespace

TEST(ImageStripTest, ASizeBelowOneInADescriptionIsRefusedNotDropped)
{
    // The item ignores a size below 1; a description giving one is refused instead of
    // reading as an item of 16 x 16.
    RegisterClass(TOBLImageList::StaticClass()); // the list registers its item class itself
    TOwned<TOBLImageList> list(new TOBLImageList(nullptr));
    list->SetName("Strips");
    Fill(*list->Items(list->Add(nullptr)), {R, G});
    TStringStream out;
    out.WriteComponent(list.get());
    const std::string text = out.DataString().str();
    const std::size_t at = text.find("Width = 4");
    ASSERT_NE(at, std::string::npos) << text;
    const int line = static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n')) + 1;
    struct Case {
        const char* from;
        const char* to;
        const char* message; // empty: read
    };
    const Case cases[] = {
        {"Width = 4", "Width = -5", "Invalid property value -5 for Width"},
        {"Width = 4", "Width = 0", "Invalid property value 0 for Width"},
        {"Height = 3", "Height = -1", "Invalid property value -1 for Height"},
        {"Width = 4", "Width = 4", ""},
    };
    for (const Case& c : cases) {
        std::string changed = text;
        changed.replace(changed.find(c.from), std::strlen(c.from), c.to);
        TStringStream in{AnsiString(changed)};
        try {
            TOwned<TComponent> read(in.ReadComponent(nullptr));
            EXPECT_EQ(*c.message, '\0') << c.to << " read";
            EXPECT_EQ(static_cast<TOBLImageList*>(read.get())->Items(0)->Width(), 4);
        } catch (const EReadError& e) {
            const int at_line = std::string(c.from).rfind("Height", 0) == 0 ? line + 1 : line;
            EXPECT_EQ(e.Message().str(),
                      "Error reading form description at line " + std::to_string(at_line) + ": " + c.message)
                << changed;
        }
    }
    UnRegisterClass(TOBLImageList::StaticClass());
}
