// The connector to the class library's image lists and the graphic list.
#include "obl/core/containers/oblcont.h"
#include "tests/obl/core/containers/ListFixtures.h"

#include <gtest/gtest.h>

namespace {

struct ConnectorTest : ::testing::Test {
    TOwned<TImageList> images{new TImageList(nullptr, 4, 3)};
    TOBLImageListConnector connector{nullptr};
    TOBLChangeLink link;
    Counter counter;

    void SetUp() override
    {
        TOwned<TBitmap> red(Solid(4, 3, clRed));
        TOwned<TBitmap> blue(Solid(4, 3, clBlue));
        images->Add(red.get(), nullptr);
        images->Add(blue.get(), nullptr);
        TOBLBorImageListItem* first = connector.ImageLists()->Add();
        first->SetName("first");
        first->SetImageList(images.get());
        connector.ImageLists()->Add()->SetName("none");
        link.SetOnChange(TNotifyEvent(&counter, &Counter::Hit));
        connector.RegisterChanges(&link);
    }
};

TEST_F(ConnectorTest, EntriesAnswerThroughTheirImageLists)
{
    EXPECT_EQ(connector.GetCount(), 2);
    EXPECT_EQ(connector.ItemCount(0), 2);
    EXPECT_EQ(connector.ItemCount(2), -1);
    EXPECT_TRUE(connector.IsValidItem(0, 1));
    EXPECT_FALSE(connector.IsValidItem(0, 2));
    EXPECT_EQ(connector.Dimensions(0, 0), 4);
    EXPECT_EQ(connector.Dimensions(0, 1), 3);
    EXPECT_EQ(connector.Dimensions(0, 2), 0);
    EXPECT_EQ(connector.ItemRect(0, 0).right, 4);
    EXPECT_EQ(connector.BmpCanvas(0), nullptr);
    EXPECT_EQ(connector.GetColorAtPoint(Point(0, 0), 0, 0), 0xFFFFFF);
    EXPECT_TRUE(OBLIsCollectionImageList(&connector));
    EXPECT_FALSE(OBLIsSingleItemImageList(&connector));
    TBitmap picture;
    connector.GetBitmapItem(0, 1, &picture);
    EXPECT_EQ(Pixel(picture.Canvas(), 1, 1), clBlue);
    EXPECT_EQ(connector.TransparentColor(0, 1) & 0xFFFFFF, clBlue);
    TOwned<TBitmap> target(Solid(6, 5, clWhite));
    connector.Draw(target->Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(Pixel(target->Canvas(), 2, 2), clRed);
    EXPECT_EQ(connector.DrawExt(target->Canvas(), Rect(0, 0, 4, 3), 0, 0, 1).right, 4);
    EXPECT_EQ(Pixel(target->Canvas(), 0, 0), clBlue);
}

TEST_F(ConnectorTest, EntryWithoutImageListHoldsNoPicture)
{
    EXPECT_EQ(connector.ItemCount(1), 0);
    EXPECT_FALSE(connector.IsValidItem(1, 0));
    EXPECT_EQ(connector.Dimensions(1, 0), 0);
    EXPECT_EQ(connector.ItemRect(1, 0).right, 0);
    EXPECT_FALSE(connector.Masked(1));
    EXPECT_EQ(connector.TransparentColor(1, 0), clNone);
    TBitmap picture;
    connector.GetBitmapItem(1, 0, &picture);
    EXPECT_TRUE(picture.Empty());
    TOwned<TBitmap> target(Solid(4, 3, clWhite));
    connector.Draw(target->Canvas(), 0, 0, 1, 0);
    connector.ClipDraw(target->Canvas(), Rect(0, 0, 4, 3), 0, 0, 0, 1, 0);
    EXPECT_EQ(Pixel(target->Canvas(), 1, 1), clWhite);
}

TEST_F(ConnectorTest, ItemOperationsSeeOneProxy)
{
    TOBLListItem* first = connector.GetItem(0);
    EXPECT_EQ(first->Description(), "first");
    TOBLListItem* second = connector.GetItem(1);
    EXPECT_EQ(first, second);
    EXPECT_EQ(second->Description(), "none");
    EXPECT_EQ(connector.GetItemByName("first"), first);
    EXPECT_EQ(connector.GetItemByName("other"), nullptr);
    EXPECT_THROW(connector.GetItem(2), EListError);
    // No stored items: the stream holds a count of 0, and nothing makes items.
    EXPECT_EQ(StreamForm(&connector), Int32(0));
    EXPECT_THROW(connector.Add(nullptr), EAbstractError);
    EXPECT_THROW(connector.Insert(0, nullptr), EAbstractError);
    TMemoryStream in;
    Fill(in, Int32(1) + Bytes{0});
    EXPECT_THROW(connector.LoadFromStream(&in), EAbstractError);
    TOBLImageListConnector other(nullptr);
    other.ImageLists()->Add();
    EXPECT_THROW(connector.AddList(&other), EAbstractError);
    EXPECT_EQ(connector.GetCount(), 2);
}

TEST_F(ConnectorTest, ChangesOfEntriesAndTheirListsNotifyTheLinks)
{
    TOwned<TBitmap> lime(Solid(4, 3, clLime));
    images->Add(lime.get(), nullptr);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(counter.last, &connector);
    connector.ImageLists()->Items(1)->SetName("renamed");
    EXPECT_EQ(counter.count, 2);
    connector.ImageLists()->Items(1)->SetImageList(images.get());
    EXPECT_EQ(counter.count, 3);
    // A removed image list leaves every entry that used it.
    counter.count = 0;
    images.reset();
    EXPECT_EQ(connector.ImageLists()->Items(0)->ImageList(), nullptr);
    EXPECT_EQ(connector.ImageLists()->Items(1)->ImageList(), nullptr);
    EXPECT_EQ(counter.count, 2);
    EXPECT_THROW(connector.ImageLists()->Items(0)->Assign(connector.ImageLists()->Items(1)), EConvertError);
}

// However the image list ends, every entry that used it lets go of it before it is gone.
TEST_F(ConnectorTest, AnImageListEndedInAnyWayLeavesEveryEntry)
{
    for (const bool freed : {true, false}) {
        SCOPED_TRACE(freed ? "Free" : "delete");
        auto* doomed = new TImageList(nullptr, 4, 3);
        TOwned<TOBLImageListConnector> user(new TOBLImageListConnector(nullptr));
        user->ImageLists()->Add()->SetImageList(doomed);
        user->ImageLists()->Add()->SetImageList(doomed);
        if (freed)
            doomed->Free();
        else
            delete doomed;
        EXPECT_EQ(user->ImageLists()->Items(0)->ImageList(), nullptr);
        EXPECT_EQ(user->ImageLists()->Items(1)->ImageList(), nullptr);
    }
}

TEST_F(ConnectorTest, FreeingTheConnectorTellsNobody)
{
    auto* doomed = new TOBLImageListConnector(nullptr);
    doomed->ImageLists()->Add()->SetImageList(images.get());
    doomed->ImageLists()->Add();
    TOBLChangeLink other;
    Counter heard;
    other.SetOnChange(TNotifyEvent(&heard, &Counter::Hit));
    doomed->RegisterChanges(&other);
    heard.count = 0;
    doomed->Free();
    EXPECT_EQ(heard.count, 0);
    EXPECT_EQ(other.Sender(), nullptr);
    // The image list forgot the freed entry's link.
    TOwned<TBitmap> lime(Solid(4, 3, clLime));
    images->Add(lime.get(), nullptr);
}

TEST(GraphicListTest, EntriesHoldOnePictureEach)
{
    TOBLGraphicList list(nullptr);
    TOBLChangeLink link;
    Counter counter;
    link.SetOnChange(TNotifyEvent(&counter, &Counter::Hit));
    list.RegisterChanges(&link);
    TOBLGraphicListItem* full = list.Graphics()->Add();
    full->SetName("full");
    TOwned<TBitmap> picture(Solid(5, 2, clRed));
    full->Picture()->SetBitmap(picture.get());
    EXPECT_GE(counter.count, 2);
    list.Graphics()->Add();

    EXPECT_TRUE(OBLIsSingleItemImageList(&list));
    EXPECT_EQ(list.ItemCount(0), 1);
    EXPECT_TRUE(list.IsValidItem(0, 9));
    EXPECT_EQ(list.Dimensions(0, 0), 5);
    EXPECT_EQ(list.ItemRect(0, 0).bottom, 2);
    EXPECT_EQ(list.TransparentColor(0, 0) & 0xFFFFFF, clRed);
    EXPECT_EQ(list.ItemCount(1), 0);
    EXPECT_FALSE(list.IsValidItem(1, 0));
    EXPECT_EQ(list.ItemRect(1, 0).right, 0);
    EXPECT_EQ(list.TransparentColor(1, 0), clNone);
    EXPECT_EQ(list.Palette(1), nullptr);
    EXPECT_FALSE(list.IsValidItem(2, 0));
    TBitmap copy;
    list.GetBitmapItem(0, 0, &copy);
    EXPECT_EQ(Pixel(copy.Canvas(), 4, 1), clRed);
    TOwned<TBitmap> target(Solid(6, 3, clWhite));
    list.Draw(target->Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(Pixel(target->Canvas(), 1, 1), clRed);
    EXPECT_EQ(list.GetItem(0)->Description(), "full");
    EXPECT_EQ(StreamForm(&list), Int32(0));

    TOBLGraphicListItem* copied = list.Graphics()->Add();
    copied->Assign(full);
    EXPECT_EQ(copied->Name(), "full");
    EXPECT_EQ(list.Dimensions(2, 0), 5);
}

} // namespace
