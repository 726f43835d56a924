// Damaged container files and streams: cut short anywhere, counts beyond what they hold,
// offsets that point anywhere. Reading them raises EReadError and nothing else.
#include "obl/core/containers/oblcont.h"
#include "obl/core/formats/oblwave.h"
#include "tests/obl/core/containers/ListFixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace {

struct Sample {
    const char* name;
    std::function<TOBLCustomContainer*()> make;  // a list with content of its kind
    TOBLListItemClassType kind;
};

TOBLCustomContainer* Waves()
{
    auto* list = new TOBLWaveList(nullptr);
    LoadWave(list->Items(list->Add(nullptr))->Wave(), WaveImage(5));
    list->Add(nullptr);
    TOBLWaveListItem* packed = list->Items(list->Add(nullptr));
    LoadWave(packed->Wave(), WaveImage(9));
    packed->SetCompressed(true);
    return list;
}

const Sample samples[] = {
    {"strings", StringSample, icStringList}, {"generics", GenericSample, icGeneric}, {"waves", Waves, icWave},
    {"bitmaps", BitmapSample, icBitmap},     {"images", ImageSample, icImageList},
};

// Runs read; any exception other than EReadError is a failure.
enum class Outcome { read, readError, other };
Outcome Try(const std::function<void()>& read)
{
    try {
        read();
        return Outcome::read;
    } catch (const EReadError&) {
        return Outcome::readError;
    } catch (...) {
        return Outcome::other;
    }
}

struct DamagedInputTest : TempDrive {};

TEST_F(DamagedInputTest, SamplesReadBackWhole)
{
    for (const Sample& s : samples) {
        std::unique_ptr<TOBLCustomContainer> list(s.make());
        list->SaveToFile("C:\\whole.dat");
        std::unique_ptr<TOBLCustomContainer> copy(s.make());
        copy->Clear();
        copy->LoadFromFile("C:\\whole.dat");
        EXPECT_EQ(StreamForm(copy.get()), StreamForm(list.get())) << s.name;
    }
}

TEST_F(DamagedInputTest, FilesCutShortAnywhereRaiseReadErrors)
{
    for (const Sample& s : samples) {
        std::unique_ptr<TOBLCustomContainer> list(s.make());
        list->SaveToFile("C:\\whole.dat");
        const Bytes whole = Get("whole.dat");
        // Where each record ends: the next one's table entry, the file's end for the last.
        TList table;
        int stored = 0;
        OBLListGetFileType("C:\\whole.dat", stored, &table);
        std::vector<std::size_t> ends;
        for (int i = 1; i < table.Count(); ++i)
            ends.push_back(static_cast<std::size_t>(reinterpret_cast<std::intptr_t>(table.Items(i))));
        ends.push_back(whole.size());
        std::unique_ptr<TOBLCustomContainer> reader(s.make());
        for (std::size_t length = 9; length < whole.size(); ++length) {
            Put("cut.dat", Bytes(whole.begin(), whole.begin() + length));
            EXPECT_EQ(Try([&] { reader->LoadFromFile("C:\\cut.dat"); }), Outcome::readError)
                << s.name << " cut at " << length;
            // Every record whole before the cut is kept.
            int wholeRecords = 0;
            for (std::size_t end : ends)
                wholeRecords += end <= length;
            EXPECT_EQ(reader->GetCount(), wholeRecords) << s.name << " cut at " << length;
            int count = 0;
            TList table;
            Outcome typed = Try([&] { OBLListGetFileType("C:\\cut.dat", count, &table); });
            EXPECT_NE(typed, Outcome::other) << s.name << " cut at " << length;
            if (length < 13) {
                EXPECT_EQ(OBLListGetFileType("C:\\cut.dat", count, nullptr), icInvalid) << length;
            }
            if (typed == Outcome::read && length >= 13) {
                // The table is whole: every item read from it is whole or an error.
                for (int i = 0; i < table.Count(); ++i) {
                    std::unique_ptr<TOBLCustomContainer> one(s.make());
                    EXPECT_NE(Try([&] { OBLListGetItemFromFile("C:\\cut.dat", s.kind, nullptr, one->GetItem(0), i); }),
                              Outcome::other)
                        << s.name << " item " << i << " cut at " << length;
                }
            }
        }
    }
}

TEST_F(DamagedInputTest, StreamsCutShortAnywhereRaiseReadErrors)
{
    for (const Sample& s : samples) {
        std::unique_ptr<TOBLCustomContainer> list(s.make());
        const Bytes whole = StreamForm(list.get());
        std::unique_ptr<TOBLCustomContainer> reader(s.make());
        for (std::size_t length = 0; length < whole.size(); ++length) {
            TMemoryStream cut;
            Fill(cut, Bytes(whole.begin(), whole.begin() + length));
            EXPECT_EQ(Try([&] { reader->LoadFromStream(&cut); }), Outcome::readError)
                << s.name << " cut at " << length;
            // Items read whole before the damage stay, none half read.
            EXPECT_LT(reader->GetCount(), list->GetCount()) << s.name;
        }
    }
}

TEST_F(DamagedInputTest, CountsBeyondTheDataRaiseReadErrors)
{
    for (const Sample& s : samples) {
        std::unique_ptr<TOBLCustomContainer> list(s.make());
        list->SaveToFile("C:\\whole.dat");
        const Bytes whole = Get("whole.dat");
        std::unique_ptr<TOBLCustomContainer> reader(s.make());
        for (int count : {-1, 1000, 0x7FFFFFFF, static_cast<int>(0x80000000)}) {
            Bytes file = whole;
            Bytes field = Int32(count);
            std::copy(field.begin(), field.end(), file.begin() + 9);
            Put("count.dat", file);
            EXPECT_EQ(Try([&] { reader->LoadFromFile("C:\\count.dat"); }), Outcome::readError) << s.name << count;
            int read = 0;
            TList table;
            EXPECT_EQ(Try([&] { OBLListGetFileType("C:\\count.dat", read, &table); }), Outcome::readError)
                << s.name << count;

            Bytes stream = StreamForm(list.get());
            std::copy(field.begin(), field.end(), stream.begin());
            TMemoryStream in;
            Fill(in, stream);
            EXPECT_EQ(Try([&] { reader->LoadFromStream(&in); }), Outcome::readError) << s.name << count;
        }
        // One item more than stored: the table and records still fit in the file, so the
        // records are read from the wrong place, as whole items or as an error.
        Bytes file = whole;
        Bytes field = Int32(list->GetCount() + 1);
        std::copy(field.begin(), field.end(), file.begin() + 9);
        Put("count.dat", file);
        EXPECT_NE(Try([&] { reader->LoadFromFile("C:\\count.dat"); }), Outcome::other) << s.name;
    }
}

TEST_F(DamagedInputTest, OffsetsPointingAnywhereReadOrRaiseReadErrors)
{
    for (const Sample& s : samples) {
        std::unique_ptr<TOBLCustomContainer> list(s.make());
        list->SaveToFile("C:\\whole.dat");
        const Bytes whole = Get("whole.dat");
        std::vector<int> offsets{-1, -100, static_cast<int>(whole.size()), static_cast<int>(whole.size()) + 50,
                                 0x7FFFFFF0, static_cast<int>(0x80000000)};
        for (int offset = 0; offset < static_cast<int>(whole.size()); ++offset)
            offsets.push_back(offset);
        for (int offset : offsets) {
            Bytes file = whole;
            Bytes field = Int32(offset);
            std::copy(field.begin(), field.end(), file.begin() + 13);
            Put("offset.dat", file);
            std::unique_ptr<TOBLCustomContainer> one(s.make());
            Outcome outcome = Try([&] { OBLListGetItemFromFile("C:\\offset.dat", s.kind, nullptr, one->GetItem(0), 0); });
            EXPECT_NE(outcome, Outcome::other) << s.name << " offset " << offset;
            if (offset < 0 || offset >= static_cast<int>(whole.size())) {
                EXPECT_EQ(outcome, Outcome::readError) << s.name << " offset " << offset;
            }
        }
    }
}

TEST_F(DamagedInputTest, SingleItemsCheckTheTableAgainstTheRecords)
{
    auto entry = [](TList& table, int i) { return static_cast<int>(reinterpret_cast<std::intptr_t>(table.Items(i))); };
    for (const Sample& s : samples) {
        std::unique_ptr<TOBLCustomContainer> list(s.make());
        list->SaveToFile("C:\\whole.dat");
        const Bytes whole = Get("whole.dat");
        TList table;
        int count = 0;
        ASSERT_EQ(OBLListGetFileType("C:\\whole.dat", count, &table), s.kind);
        for (int i = 0; i < count; ++i) {
            std::unique_ptr<TOBLCustomContainer> one(s.make());
            one->Clear();
            one->Add(nullptr);
            ASSERT_TRUE(OBLListGetItemFromFile("C:\\whole.dat", s.kind, nullptr, one->GetItem(0), i)) << s.name;
            EXPECT_EQ(Record(one->GetItem(0)), Record(list->GetItem(i))) << s.name << " item " << i;
        }
        // Entry i names the start of record j: the whole file still loads (its reader goes
        // by the records). A single item is refused where the damage is beside it: item
        // i - 1 (its record no longer ends at entry i), item i, item i + 1 when entry i is
        // not below its entry, and every item when entry 0 is no longer where the table
        // ends; the items further away read whole.
        for (int i = 0; i < count; ++i)
            for (int j = 0; j < count; ++j) {
                if (i == j)
                    continue;
                Bytes file = whole;
                Bytes field = Int32(entry(table, j));
                std::copy(field.begin(), field.end(), file.begin() + 13 + 4 * i);
                Put("moved.dat", file);
                std::unique_ptr<TOBLCustomContainer> all(s.make());
                all->LoadFromFile("C:\\moved.dat");
                EXPECT_EQ(StreamForm(all.get()), StreamForm(list.get())) << s.name;
                for (int k = 0; k < count; ++k) {
                    std::unique_ptr<TOBLCustomContainer> one(s.make());
                    Outcome outcome =
                        Try([&] { OBLListGetItemFromFile("C:\\moved.dat", s.kind, nullptr, one->GetItem(0), k); });
                    const bool refused = i == 0 || k == i - 1 || k == i || (k == i + 1 && j > i);
                    EXPECT_EQ(outcome, refused ? Outcome::readError : Outcome::read)
                        << s.name << " entry " << i << " at record " << j << ", item " << k;
                }
            }
    }
}

TEST_F(DamagedInputTest, TypedSingleItemReadersRefuseAMovedEntry)
{
    struct Case {
        const char* name;
        std::function<TOBLCustomContainer*()> make;
        std::function<bool(int)> get;  // reads item n of C:\moved.dat
    };
    TBitmap bitmap;
    TOBLImageListItem strip(nullptr);
    TOBLWave wave;
    const Case cases[] = {
        {"bitmaps", BitmapSample, [&](int n) { return OBLBMLGetItem("C:\\moved.dat", n, &bitmap); }},
        {"images", ImageSample, [&](int n) { return OBLIMLGetItem("C:\\moved.dat", n, &strip); }},
        {"waves", Waves, [&](int n) { return OBLWVLGetItem("C:\\moved.dat", n, &wave); }},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TOBLCustomContainer> list(c.make());
        list->SaveToFile("C:\\moved.dat");
        Bytes file = Get("moved.dat");
        // Entry 1 takes the position of record 2: record 0 no longer ends where entry 1
        // starts, and entry 1 is no longer below entry 2.
        std::copy(file.begin() + 21, file.begin() + 25, file.begin() + 17);
        Put("moved.dat", file);
        EXPECT_EQ(Try([&] { c.get(0); }), Outcome::readError) << c.name;
        EXPECT_EQ(Try([&] { c.get(1); }), Outcome::readError) << c.name;
        EXPECT_EQ(Try([&] { c.get(2); }), Outcome::readError) << c.name;
    }
}

TEST_F(DamagedInputTest, SingleItemsRefuseTheTableDamageAroundThem)
{
    std::unique_ptr<TOBLCustomContainer> list(BitmapSample());
    list->SaveToFile("C:\\whole.dat");
    const Bytes whole = Get("whole.dat");
    const int size = static_cast<int>(whole.size());
    TList table;
    int count = 0;
    ASSERT_EQ(OBLListGetFileType("C:\\whole.dat", count, &table), icBitmap);
    ASSERT_EQ(count, 3);
    const int r1 = static_cast<int>(reinterpret_cast<std::intptr_t>(table.Items(1)));
    const int r2 = static_cast<int>(reinterpret_cast<std::intptr_t>(table.Items(2)));
    // Each case is refused, for some item, by one check alone: entry 0 where the table ends
    // (item 2), entries inside the records (item 2), entries growing (item 2), each record
    // ending where the next entry starts (item 0 one byte off), the last one at the end of
    // the file (item 2).
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> entries;  // (entry, value) replaced in the table
        int extra;                                 // bytes added at the end of the file
        bool reads[3];
    };
    const Case cases[] = {
        {"the whole file", {}, 0, {true, true, true}},
        {"entry 0 inside the table", {{0, 21}}, 0, {false, false, false}},
        {"entries 1 and 2 inside the table", {{1, 1}, {2, 5}}, 0, {false, false, false}},
        {"entry 1 equal to entry 2", {{1, r2}}, 0, {false, false, false}},
        {"entry 1 one byte off", {{1, r1 + 1}}, 0, {false, false, true}},
        {"entry 2 beyond the file", {{2, size + 10}}, 0, {true, false, false}},
        {"bytes after the last record", {}, 5, {true, true, false}},
    };
    for (const Case& c : cases) {
        Bytes file = whole;
        for (const auto& [entry, value] : c.entries) {
            const Bytes field = Int32(value);
            std::copy(field.begin(), field.end(), file.begin() + 13 + 4 * entry);
        }
        file.insert(file.end(), static_cast<std::size_t>(c.extra), 0);
        Put("damaged.dat", file);
        for (int k = 0; k < 3; ++k) {
            TOBLBitmapList one(nullptr);
            one.Add(nullptr);
            const Outcome outcome =
                Try([&] { OBLListGetItemFromFile("C:\\damaged.dat", icBitmap, nullptr, one.GetItem(0), k); });
            EXPECT_EQ(outcome, c.reads[k] ? Outcome::read : Outcome::readError) << c.name << ", item " << k;
            if (c.reads[k]) {
                EXPECT_EQ(Record(one.GetItem(0)), Record(list->GetItem(k))) << c.name << ", item " << k;
            }
        }
    }
}

TEST_F(DamagedInputTest, SingleItemImageFileCutShortRaisesReadErrors)
{
    std::unique_ptr<TOBLCustomContainer> list(ImageSample());
    auto* item = static_cast<TOBLImageListItem*>(list->GetItem(0));
    item->SaveToFile("C:\\one.iml");
    const Bytes whole = Get("one.iml");
    TOBLImageListItem reader(nullptr);
    for (std::size_t length = 9; length < whole.size(); ++length) {
        Put("cut.iml", Bytes(whole.begin(), whole.begin() + length));
        EXPECT_EQ(Try([&] { reader.LoadFromFile("C:\\cut.iml"); }), Outcome::readError) << length;
        EXPECT_EQ(reader.GetCount(), 0) << length;
    }
}

TEST_F(DamagedInputTest, ImpossibleStripSizesRaiseReadErrors)
{
    struct Case {
        const char* name;
        int height, width, count;
    };
    const Case cases[] = {
        {"zero height", 0, 4, 0}, {"negative width", 3, -4, 0}, {"negative count", 3, 4, -1},
        {"too wide", 3, 40000, 0}, {"too many", 3, 16, 2049}, {"strip missing", 3, 4, 2},
    };
    for (const Case& c : cases) {
        TMemoryStream in;
        Fill(in, Bytes{0x00} + Int32(c.height) + Int32(c.width) + Int32(4) + Bytes{0} + Int32(c.count));
        TOBLImageListItem item(nullptr);
        EXPECT_EQ(Try([&] { item.LoadFromStream(&in); }), Outcome::readError) << c.name;
    }
    // A strip of another size than its pictures announce.
    TOBLImageListItem source(4, 3);
    TOwned<TBitmap> picture(Solid(4, 3, clRed));
    source.Add(picture.get(), nullptr);
    Bytes record = Record(&source);
    Bytes twice = record;
    Bytes two = Int32(2);
    std::copy(two.begin(), two.end(), twice.begin() + 14);
    TMemoryStream in;
    Fill(in, twice);
    TOBLImageListItem item(nullptr);
    EXPECT_EQ(Try([&] { item.LoadFromStream(&in); }), Outcome::readError);
    EXPECT_EQ(item.GetCount(), 0);
}

TEST_F(DamagedInputTest, PayloadsOfTheRightSizeButNoContentRaiseReadErrors)
{
    struct Case {
        const char* name;
        TOBLListItem* item;
        Bytes record;
    };
    TOBLWaveListItem wave(nullptr);
    TOBLBitmapListItem bitmap(nullptr);
    const Case cases[] = {
        {"wave", &wave, Bytes{0x08} + Int32(4) + Text("junk")},
        {"bitmap", &bitmap, Bytes{0x08} + Int32(4) + Text("junk")},
        {"bitmap header", &bitmap, Bytes{0x08} + Int32(6) + Text("BM") + Int32(0x7FFFFFFF)},
    };
    for (const Case& c : cases) {
        TMemoryStream in;
        Fill(in, c.record);
        EXPECT_EQ(Try([&] { c.item->LoadFromStream(&in); }), Outcome::readError) << c.name;
    }
    EXPECT_TRUE(wave.GetEmpty());
}

TEST_F(DamagedInputTest, DamagedRecordsInFormDescriptionsRaiseReadErrors)
{
    RegisterClass(TOBLStringList::StaticClass());
    for (const char* data : {"08", "0E01", "0800000010", "0F"}) {
        TStringStream in(AnsiString("object L: TOBLStringList\n  object I: TOBLStringListItem\n    Internal = {") +
                         data + "}\n  end\nend\n");
        EXPECT_EQ(Try([&] { TOwned<TComponent> read(in.ReadComponent(nullptr)); }), Outcome::readError) << data;
    }
    UnRegisterClass(TOBLStringList::StaticClass());
}

} // namespace
