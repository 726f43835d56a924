// The image-list interface and the bitmap list with its lazily fetched entries.
#include "obl/core/containers/oblcont.h"
#include "tests/obl/core/containers/ListFixtures.h"

#include <gtest/gtest.h>

namespace {

struct BitmapListTest : TempDrive {
    TOBLBitmapList list{nullptr};

    // A bitmap-list file of entries of these colours, with idents 10, 11, ...
    void WriteFile(const std::string& name, std::initializer_list<TColor> colors)
    {
        TOBLBitmapList file(nullptr);
        int ident = 10;
        for (TColor color : colors) {
            TOwned<TBitmap> picture(Solid(3, 2, color));
            TOBLBitmapListItem* item = file.Items(file.Add(nullptr));
            item->SetBitmap(picture.get());
            item->SetIdent(ident++);
        }
        file.SaveToFile(("C:\\" + name).c_str());
    }
    TOBLBitmapListItem* Entry(int ident)
    {
        TOBLBitmapListItem* item = list.Items(list.Add(nullptr));
        item->SetIdent(ident);
        return item;
    }
};

TEST_F(BitmapListTest, SetIndexAcceptsNegativeValuesAndRefusesThePastTheEnd)
{
    for (int i = 0; i < 5; ++i)
        list.Add(nullptr);
    list.SetIndex(-1);
    EXPECT_EQ(list.ListIndex(), -1);
    list.SetIndex(4);
    try {
        list.SetIndex(5);
        ADD_FAILURE();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (5)");
    }
    EXPECT_EQ(list.ListIndex(), 4);
}

TEST_F(BitmapListTest, EntriesAnswerForTheirBitmaps)
{
    list.Add(nullptr);
    TOwned<TBitmap> picture(Solid(3, 2, clRed));
    picture->Canvas()->SetPixels(0, 0, clBlue);
    list.Items(list.Add(nullptr))->SetBitmap(picture.get());
    EXPECT_EQ(list.ItemCount(0), 0);
    EXPECT_FALSE(list.IsValidItem(0, 0));
    EXPECT_EQ(list.ItemCount(1), 1);
    EXPECT_TRUE(list.IsValidItem(1, 7));  // the image index is ignored
    EXPECT_EQ(list.ItemCount(2), 0);
    // A negative entry does not exist either.
    EXPECT_EQ(list.ItemCount(-1), 0);
    EXPECT_FALSE(list.IsValidItem(-1, 0));
    EXPECT_EQ(list.Dimensions(-1, 0), 0);
    EXPECT_EQ(list.TransparentColor(-1, 0), 0xFFFFFF);
    EXPECT_EQ(list.Dimensions(1, 0), 3);
    EXPECT_EQ(list.Dimensions(1, 1), 2);
    EXPECT_EQ(list.Dimensions(0, 2), 0);
    EXPECT_EQ(list.Dimensions(2, 0), 0);
    EXPECT_EQ(list.TransparentColor(1, 0) & 0xFFFFFF, clRed);
    EXPECT_EQ(list.TransparentColor(2, 0), 0xFFFFFF);
    EXPECT_EQ(list.GetColorAtPoint(Point(0, 0), 1, 0), clBlue);
    EXPECT_EQ(list.GetColorAtPoint(Point(0, 0), 2, 0), 0xFFFFFF);
    EXPECT_EQ(list.ItemRect(1, 0).right, 3);
    EXPECT_FALSE(list.Masked(1));
    EXPECT_TRUE(OBLIsSingleItemImageList(&list));
    EXPECT_FALSE(OBLIsCollectionImageList(&list));
    EXPECT_FALSE(OBLIsSingleItemImageList(nullptr));

    TOwned<TBitmap> target(Solid(6, 4, clWhite));
    list.Draw(target->Canvas(), 2, 1, 1, 0);
    EXPECT_EQ(Pixel(target->Canvas(), 2, 1), clBlue);
    EXPECT_EQ(Pixel(target->Canvas(), 4, 2), clRed);
    EXPECT_EQ(Pixel(target->Canvas(), 5, 3), clWhite);
    TBitmap copy;
    list.GetBitmapItem(1, 0, &copy);
    EXPECT_EQ(Pixel(copy.Canvas(), 1, 1), clRed);
    EXPECT_THROW(list.Draw(target->Canvas(), 0, 0, -1, 0), EListError);
}

TEST_F(BitmapListTest, BaseListRaisesAbstractErrors)
{
    TOBLCustomImageList base(nullptr);
    EXPECT_THROW(base.ItemCount(0), EAbstractError);
    EXPECT_THROW(base.Draw(nullptr, 0, 0, 0, 0), EAbstractError);
}

TEST_F(BitmapListTest, FileSourceFetchesTheItemOfTheIdentOnce)
{
    WriteFile("pics.bml", {clRed, clLime, clBlue});
    list.SetPrefix(ppFixed);
    list.SetFileName("C:\\pics.bml");
    list.SetSource(sdFile);
    Entry(2);
    Entry(0);
    // The controls ask before they draw: the question fetches the bitmap.
    EXPECT_TRUE(list.IsValidItem(0, 0));
    EXPECT_EQ(Pixel(list.Items(0)->StoredBitmap()->Canvas(), 1, 1), clBlue);
    EXPECT_EQ(list.Dimensions(1, 0), 3);
    EXPECT_EQ(list.ItemCount(1), 1);

    // Fetched once: a new file is not read again until the source changes.
    TBitmap* held = list.Items(0)->StoredBitmap();
    WriteFile("pics.bml", {clYellow, clYellow, clYellow});
    EXPECT_EQ(Pixel(list.Items(0)->GetBitmap()->Canvas(), 1, 1), clBlue);
    list.SetSource(sdComponent);
    EXPECT_TRUE(held->Empty());
    EXPECT_EQ(list.Items(0)->StoredBitmap(), held);  // callers keep their bitmap
    EXPECT_FALSE(list.IsValidItem(0, 0));
    list.SetSource(sdFile);
    EXPECT_EQ(Pixel(list.Items(0)->GetBitmap()->Canvas(), 1, 1), clYellow);
}

TEST_F(BitmapListTest, DesigningListsFetchNothing)
{
    WriteFile("pics.bml", {clRed});
    list.SetPrefix(ppFixed);
    list.SetFileName("C:\\pics.bml");
    list.SetSource(sdFile);
    Entry(0);
    list.SetDesigning(true);
    EXPECT_FALSE(list.IsValidItem(0, 0));
    EXPECT_TRUE(list.Items(0)->StoredBitmap()->Empty());
}

TEST_F(BitmapListTest, FetchFailuresLeaveTheEntryEmptyAndAreTriedAgain)
{
    list.SetPrefix(ppFixed);
    list.SetFileName("C:\\missing.bml");
    list.SetSource(sdFile);
    Entry(0);
    EXPECT_FALSE(list.IsValidItem(0, 0));
    EXPECT_EQ(list.Dimensions(0, 0), 0);
    TOwned<TBitmap> target(Solid(4, 4, clWhite));
    EXPECT_THROW(list.Draw(target->Canvas(), 0, 0, 0, 0), EFOpenError);
    WriteFile("missing.bml", {clLime});
    EXPECT_TRUE(list.IsValidItem(0, 0));

    list.SetSource(sdAppResource);
    EXPECT_FALSE(list.IsValidItem(0, 0));
    EXPECT_THROW(list.Items(0)->GetBitmap(), Exception);
}

TEST_F(BitmapListTest, PathSourceBuildsTheFileNameFromTheIdent)
{
    std::filesystem::create_directory(root_ + "/pics");
    TOwned<TBitmap> picture(Solid(2, 2, clAqua));
    picture->SaveToFile("C:\\pics\\ima7.bmp");
    list.SetPrefix(ppFixed);
    list.SetFileName("C:\\pics\\images");
    list.SetSource(sdPath);
    Entry(7);
    EXPECT_TRUE(list.IsValidItem(0, 0));
    EXPECT_EQ(Pixel(list.Items(0)->GetBitmap()->Canvas(), 0, 0), clAqua);

    // Without a folder the fixed path is the root.
    list.SetFileName("images");
    list.SetSource(sdComponent);
    list.SetSource(sdPath);
    try {
        list.Items(0)->GetBitmap();
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_NE(Pos("\\ima7.bmp", e.Message()), 0) << e.Message().c_str();
        EXPECT_EQ(Pos("images", e.Message()), 0) << e.Message().c_str();
    }
}

TEST_F(BitmapListTest, LibraryResourcesLoadNothing)
{
    list.SetFileName("library.dll");
    list.SetSource(sdLibResource);
    Entry(1);
    EXPECT_FALSE(list.IsValidItem(0, 0));
    TBitmap bitmap;
    EXPECT_FALSE(OBLBmpLoadFromFile("library.dll", 1, &bitmap));
    EXPECT_TRUE(bitmap.Empty());
}

TEST_F(BitmapListTest, AssignCopiesBitmapsAndDefaults)
{
    WriteFile("pics.bml", {clRed, clLime});
    TOBLBitmapList source(nullptr);
    source.SetPrefix(ppFixed);
    source.SetFileName("C:\\pics.bml");
    source.SetSource(sdFile);
    source.Items(source.Add(nullptr))->SetIdent(1);
    source.Items(0)->SetPixelFormat(spfMono);
    source.SetDefaultPixelFormat(spf8bit);
    list.Add(nullptr);
    Counter counter;
    list.SetOnChange(TNotifyEvent(&counter, &Counter::Hit));
    list.Assign(&source);
    ASSERT_EQ(list.GetCount(), 1);
    // A lazily fetched source entry is fetched for the copy.
    EXPECT_EQ(Pixel(list.Items(0)->StoredBitmap()->Canvas(), 0, 0), clLime);
    EXPECT_EQ(list.Items(0)->PixelFormat(), spfMono);
    EXPECT_EQ(list.DefaultPixelFormat(), spf8bit);
    EXPECT_EQ(counter.count, 1);
    list.Assign(&list);
    EXPECT_EQ(list.GetCount(), 1);
    TOBLImageList other(nullptr);
    EXPECT_THROW(list.Assign(&other), EConvertError);
}

} // namespace
