// The image-list interface and the bitmap list with its lazily fetched entries.
#include "obl/core/containers/oblcont.h"
#include "tests/obl/core/containers/ListFixtures.h"

#include "platform/win/kernel/Modules.h"
#include "platform/win/kernel/Resources.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <map>
#include <string>

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
    // Only the past the end has an answer: a negative entry is the item list's error.
    const std::function<void()> negative[] = {
        [&] { list.ItemCount(-1); },
        [&] { list.IsValidItem(-1, 0); },
        [&] { list.Dimensions(-1, 0); },
        [&] { list.Palette(-1); },
        [&] { list.TransparentColor(-1, 0); },
        [&] { list.GetColorAtPoint(Point(0, 0), -1, 0); },
        [&] { list.ItemRect(-1, 0); },
        [&] { list.BmpCanvas(-1); },
    };
    for (std::size_t i = 0; i < std::size(negative); ++i)
        EXPECT_THROW(negative[i](), EListError) << i;
    EXPECT_EQ(list.Palette(2), nullptr);
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
    // The count and the validity look at the bitmap as it is: nothing is fetched yet.
    EXPECT_FALSE(list.IsValidItem(0, 0));
    EXPECT_EQ(list.ItemCount(0), 0);
    EXPECT_TRUE(list.Items(0)->StoredBitmap()->Empty());
    // The first draw fetches the entry's bitmap, and keeps it.
    TOwned<TBitmap> target(Solid(4, 4, clWhite));
    list.Draw(target->Canvas(), 0, 0, 0, 0);
    EXPECT_EQ(Pixel(target->Canvas(), 1, 1), clBlue);
    EXPECT_EQ(Pixel(list.Items(0)->StoredBitmap()->Canvas(), 1, 1), clBlue);
    EXPECT_TRUE(list.IsValidItem(0, 0));
    // So does a query that uses the bitmap.
    EXPECT_EQ(list.ItemCount(1), 0);
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
    EXPECT_EQ(list.Dimensions(0, 0), 0);
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
    EXPECT_EQ(list.Dimensions(0, 0), 0);
    EXPECT_FALSE(list.IsValidItem(0, 0));
    EXPECT_TRUE(list.Items(0)->StoredBitmap()->Empty());
}

TEST_F(BitmapListTest, FetchFailuresLeaveTheEntryEmptyAndAreTriedAgain)
{
    list.SetPrefix(ppFixed);
    list.SetFileName("C:\\missing.bml");
    list.SetSource(sdFile);
    Entry(0);
    // The count and the validity do not fetch, so they do not fail either.
    EXPECT_FALSE(list.IsValidItem(0, 0));
    EXPECT_EQ(list.ItemCount(0), 0);
    // Every operation that fetches raises the loader's error.
    TOwned<TBitmap> target(Solid(4, 4, clWhite));
    const std::function<void()> fetching[] = {
        [&] { list.Dimensions(0, 0); },
        [&] { list.Palette(0); },
        [&] { list.TransparentColor(0, 0); },
        [&] { list.GetColorAtPoint(Point(0, 0), 0, 0); },
        [&] { list.Draw(target->Canvas(), 0, 0, 0, 0); },
    };
    for (std::size_t i = 0; i < std::size(fetching); ++i)
        EXPECT_THROW(fetching[i](), EFOpenError) << i;
    EXPECT_TRUE(list.Items(0)->StoredBitmap()->Empty());
    // Tried again on the next use.
    WriteFile("missing.bml", {clLime});
    EXPECT_EQ(list.Dimensions(0, 0), 3);
    EXPECT_TRUE(list.IsValidItem(0, 0));

    list.SetSource(sdAppResource);
    EXPECT_FALSE(list.IsValidItem(0, 0));
    EXPECT_THROW(list.TransparentColor(0, 0), Exception);
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
    EXPECT_EQ(Pixel(list.Items(0)->GetBitmap()->Canvas(), 0, 0), clAqua);
    EXPECT_TRUE(list.IsValidItem(0, 0));

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

// Counts the loads of modules registered with it.
struct LoadCounter {
    std::map<std::string, int> loads;
    void Register(const std::string& name)
    {
        RegisterModule(name.c_str(), {}, [this, name] {
            ++loads[name];
            return true;
        });
    }
};

// Registers a bitmap resource of the colour with a module registered before; answers
// the module's handle.
HMODULE RegisterSolidResource(const char* module, int id, TColor color)
{
    const HMODULE handle = LoadLibraryA(module);
    FreeLibrary(handle);
    TOwned<TBitmap> picture(Solid(3, 2, color));
    TMemoryStream file;
    picture->SaveToStream(&file);
    const auto* bytes = static_cast<const BYTE*>(file.Memory());
    EXPECT_TRUE(RegisterBitmapFileResource(handle, MAKEINTRESOURCEA(static_cast<WORD>(id)),
                                           std::vector<BYTE>(bytes, bytes + file.Size())));
    return handle;
}

TEST_F(BitmapListTest, LibraryResourcesLoadTheBitmapOfTheLibrary)
{
    LoadCounter counter;
    counter.Register("pictures.dll");
    const HMODULE pictures = RegisterSolidResource("pictures.dll", 1, clRed);
    counter.loads.clear();
    TOwned<TBitmap> bitmap(Solid(4, 4, clWhite));
    // A library that is not there, or one without the bitmap, answers false and leaves the
    // bitmap as it was; one with it answers true with the bitmap loaded. The library is
    // freed again either way.
    EXPECT_FALSE(OBLBmpLoadFromFile("library.dll", 1, bitmap.get()));
    EXPECT_FALSE(OBLBmpLoadFromFile("C:\\libs\\PICTURES.DLL", 2, bitmap.get()));
    EXPECT_EQ(bitmap->Width(), 4);
    EXPECT_TRUE(OBLBmpLoadFromFile("C:\\libs\\PICTURES.DLL", 1, bitmap.get()));
    EXPECT_EQ(counter.loads["pictures.dll"], 2);
    EXPECT_EQ(GetModuleHandleA("pictures.dll"), nullptr);
    EXPECT_EQ(bitmap->Width(), 3);
    EXPECT_EQ(Pixel(bitmap->Canvas(), 1, 1), clRed);

    // The library's name: the file name itself in the Windows and system folders, named
    // like a path source's item file in the program's or a fixed folder.
    struct Case {
        TOBLPathPrefix prefix;
        const char* fileName;
        const char* library;
        TColor color;
    };
    const Case cases[] = {
        {ppWindows, "pictures.dll", "pictures.dll", clLime},
        {ppSystem, "pictures.dll", "pictures.dll", clLime},
        {ppFixed, "C:\\libs\\pictures.dll", "pic5.bmp", clBlue},
        {ppProgram, "pictures.dll", "pic5.bmp", clBlue},
    };
    counter.Register("pic5.bmp");
    RegisterSolidResource("pictures.dll", 5, clLime);
    const HMODULE pic5 = RegisterSolidResource("pic5.bmp", 5, clBlue);
    for (const Case& c : cases) {
        counter.loads.clear();
        list.Clear();
        list.SetSource(sdComponent);
        list.SetPrefix(c.prefix);
        list.SetFileName(c.fileName);
        list.SetSource(sdLibResource);
        Entry(5);
        EXPECT_EQ(list.Dimensions(0, 0), 3) << c.fileName;
        EXPECT_EQ(Pixel(list.Items(0)->StoredBitmap()->Canvas(), 2, 1), c.color) << c.fileName;
        EXPECT_EQ(counter.loads[c.library], 1) << c.fileName;
        EXPECT_EQ(counter.loads.size(), 1u) << c.fileName;
    }
    // An ident the library holds no bitmap for leaves the entry empty, and is asked again.
    counter.loads.clear();
    list.SetPrefix(ppWindows);
    Entry(6);
    EXPECT_EQ(list.Dimensions(1, 0), 0);
    EXPECT_TRUE(list.Items(1)->StoredBitmap()->Empty());
    EXPECT_EQ(list.Dimensions(1, 1), 0);
    EXPECT_EQ(counter.loads["pictures.dll"], 2);
    RemoveModuleResources(pictures);
    RemoveModuleResources(pic5);
    UnregisterModule("pictures.dll");
    UnregisterModule("pic5.bmp");
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
