#include "obl/core/containers/oblcont.h"
#include "platform/rtl/FileSystem.h"
#include "tests/obl/core/containers/ContainerFixtures.h"
#include "tests/support/TempDriveTest.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Bytes(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
        s.push_back(static_cast<char>(b));
    return s;
}

std::string Int32(std::uint32_t v) { return Bytes({int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF), int(v >> 24)}); }

// Two items: "ab" with nothing else (flags 08, 4 bytes), and an empty compressed one with
// description "D" and ident 0x1234 (flags 07, 8 bytes).
const std::string firstRecord = Bytes({0x08, 2, 'a', 'b'});
const std::string secondRecord = Bytes({0x07, 1, 'D', 0x34, 0x12, 0, 0});
const std::string twoItemFile = "\x08OBLSLL30" + Int32(2) + Int32(21) + Int32(25) + firstRecord + secondRecord;

struct ContainerFormatTest : TempDriveTest {
    TOwned<TTextList> list{new TTextList(nullptr)};

    ContainerFormatTest() : TempDriveTest("vendaro-containers") {}
    std::string Get(const std::string& name) const
    {
        std::ifstream in(root_ + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Put(const std::string& name, const std::string& content) const
    {
        std::ofstream(root_ + "/" + name, std::ios::binary) << content;
    }
    void FillTwo(TTextList* target)
    {
        target->AddTexts({"ab", ""});
        TOBLListItem* second = target->GetItem(1);
        second->SetDescription("D");
        second->SetIdent(0x1234);
        second->SetCompressed(true);
    }
};

TEST_F(ContainerFormatTest, EmptyContainerFileIsSignatureAndZeroCount)
{
    struct Case {
        TOBLListItemClassType kind;
        const char* signature;
    };
    const Case cases[] = {{icImageList, "OBLIML30"}, {icBitmap, "OBLBML30"}, {icWave, "OBLWVL30"},
                          {icStringList, "OBLSLL30"}, {icGeneric, "OBLGLL50"}, {icRTF, "OBLRTL50"}};
    for (const Case& c : cases) {
        list->UseKind(c.kind);
        list->SaveToFile("C:\\empty.dat");
        EXPECT_EQ(Get("empty.dat"), "\x08" + std::string(c.signature) + Int32(0)) << c.signature;
        EXPECT_EQ(OBLICGetSignature(c.kind), c.signature);
    }
    EXPECT_TRUE(OBLICGetSignature(icInvalid).IsEmpty());
}

TEST_F(ContainerFormatTest, FileHasOffsetTableOfItemRecords)
{
    FillTwo(list.get());
    list->SaveToFile("C:\\two.sll");
    EXPECT_EQ(Get("two.sll"), twoItemFile);
}

TEST_F(ContainerFormatTest, FileReadsBackByItsSignatureWhateverItsName)
{
    Put("two.bml", twoItemFile);
    list->AddTexts({"old", "older", "oldest"});
    TCallLog log;
    list->SetOnChange(TNotifyEvent(&log, &TCallLog::Third));
    list->LoadFromFile("C:\\two.bml");
    ASSERT_EQ(list->GetCount(), 2);
    EXPECT_EQ(list->ComponentCount(), 2);
    EXPECT_EQ(list->Items(0)->Text(), "ab");
    EXPECT_TRUE(list->Items(0)->Description().IsEmpty());
    EXPECT_EQ(list->Items(0)->Ident(), 0);
    EXPECT_FALSE(list->Items(0)->Compressed());
    EXPECT_TRUE(list->Items(1)->Text().IsEmpty());
    EXPECT_EQ(list->Items(1)->Description(), "D");
    EXPECT_EQ(list->Items(1)->Ident(), 0x1234);
    EXPECT_TRUE(list->Items(1)->Compressed());
    EXPECT_EQ(log.Count(3), 1);
}

TEST_F(ContainerFormatTest, WrongSignatureRaisesAndChangesNothing)
{
    list->AddTexts({"keep"});
    struct Case {
        const char* what;
        std::string content;
    };
    const Case cases[] = {
        {"bitmap list", "\x08OBLBML30" + Int32(0)},
        {"short", "\x08OBLSLL"},
        {"length byte", "\x07OBLSLL30" + Int32(0)},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        Put("other.sll", c.content);
        try {
            list->LoadFromFile("C:\\other.sll");
            ADD_FAILURE() << c.what;
        } catch (const EReadError&) {
            ADD_FAILURE() << c.what;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Cannot open file %s: TTextList") << c.what;
        }
        ASSERT_EQ(list->GetCount(), 1) << c.what;
        EXPECT_EQ(list->Items(0)->Text(), "keep");
    }
    EXPECT_THROW(list->LoadFromFile("C:\\missing.sll"), EFOpenError);
}

TEST_F(ContainerFormatTest, StreamFormHasNeitherSignatureNorTable)
{
    FillTwo(list.get());
    TStringStream out;
    list->SaveToStream(&out);
    EXPECT_EQ(std::string(out.DataString().c_str(), out.DataString().Length()), Int32(2) + firstRecord + secondRecord);

    TTextList copy(nullptr);
    TStringStream in(out.DataString());
    copy.LoadFromStream(&in);
    ASSERT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.Items(0)->Text(), "ab");
    EXPECT_EQ(copy.Items(1)->Ident(), 0x1234);
    EXPECT_EQ(in.Position(), in.Size());
}

TEST_F(ContainerFormatTest, ItemHeaderFlagsSelectTheFields)
{
    struct Case {
        const char* what;
        std::string bytes;
        bool compressed;
        const char* description;
        WORD ident;
    };
    const Case cases[] = {
        {"nothing", Bytes({0x00}), false, "", 0},
        {"compressed", Bytes({0x01}), true, "", 0},
        {"description", Bytes({0x02, 3, 'a', 'b', 'c'}), false, "abc", 0},
        {"ident keeps 16 bits", Bytes({0x04, 0x34, 0x12, 0x05, 0x00}), false, "", 0x1234},
        {"all", Bytes({0x07, 1, 'x', 0xFF, 0xFF, 0, 0}), true, "x", 0xFFFF},
    };
    for (const Case& c : cases) {
        TTextItem item(nullptr);
        item.SetDescription("stale");
        item.SetIdent(99);
        TStringStream in(AnsiString(c.bytes.data(), static_cast<int>(c.bytes.size())));
        EXPECT_EQ(item.ReadStd(&in), static_cast<BYTE>(c.bytes[0])) << c.what;
        EXPECT_EQ(item.Compressed(), c.compressed) << c.what;
        EXPECT_EQ(item.Description(), c.description) << c.what;
        EXPECT_EQ(item.Ident(), c.ident) << c.what;
        EXPECT_EQ(in.Position(), in.Size()) << c.what;
    }
}

TEST_F(ContainerFormatTest, EmptyItemIsOneZeroByte)
{
    TTextItem item(nullptr);
    TStringStream out;
    item.SaveToStream(&out);
    EXPECT_EQ(out.DataString(), AnsiString("\0", 1));
}

TEST_F(ContainerFormatTest, TruncatedHeaderRaisesReadError)
{
    const std::string cases[] = {Bytes({}), Bytes({0x02}), Bytes({0x02, 3, 'a'}), Bytes({0x04, 1, 2})};
    for (const std::string& bytes : cases) {
        TTextItem item(nullptr);
        TStringStream in(AnsiString(bytes.data(), static_cast<int>(bytes.size())));
        EXPECT_THROW(item.ReadStd(&in), EReadError) << bytes.size();
    }
}

TEST_F(ContainerFormatTest, DamagedStreamsRaiseReadErrorKeepingWhatWasRead)
{
    struct Case {
        const char* what;
        std::string bytes;
        int itemsKept;
    };
    const Case cases[] = {
        {"no count", Bytes({2, 0}), 0},
        {"negative count", Int32(0xFFFFFFFF) + Bytes({0}), 0},
        // A count larger than the records (the stream cut short): the whole record stays.
        {"count beyond the data", Int32(0x7FFFFFFF) + firstRecord, 1},
        {"second record cut", Int32(2) + firstRecord + Bytes({0x07, 1}), 1},
    };
    for (const Case& c : cases) {
        TTextList target(nullptr);
        target.AddTexts({"old"});
        TCallLog log;
        target.SetOnChange(TNotifyEvent(&log, &TCallLog::Third));
        TStringStream in(AnsiString(c.bytes.data(), static_cast<int>(c.bytes.size())));
        EXPECT_THROW(target.LoadFromStream(&in), EReadError) << c.what;
        EXPECT_EQ(target.GetCount(), c.itemsKept) << c.what;
        EXPECT_EQ(target.ComponentCount(), c.itemsKept) << c.what;
        EXPECT_EQ(log.Count(3), 1) << c.what;  // the bracket still ends with a change
    }
}

TEST_F(ContainerFormatTest, FileCountBeyondItsTableRaisesReadError)
{
    Put("bad.sll", "\x08OBLSLL30" + Int32(1000) + Int32(17) + Bytes({0}));
    EXPECT_THROW(list->LoadFromFile("C:\\bad.sll"), EReadError);
    EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(ContainerFormatTest, FileCutShortKeepsTheWholeRecords)
{
    // Three one-byte records, the file cut after the table and any number of them.
    const std::string file = "\x08OBLSLL30" + Int32(3) + Int32(25) + Int32(26) + Int32(27) + Bytes({0, 0, 0});
    for (int records = 0; records < 3; ++records) {
        Put("cut.sll", file.substr(0, 25 + records));
        TTextList target(nullptr);
        EXPECT_THROW(target.LoadFromFile("C:\\cut.sll"), EReadError) << records;
        EXPECT_EQ(target.GetCount(), records);
    }
}

TEST_F(ContainerFormatTest, FileTypeReadsSignatureCountAndTable)
{
    Put("two.sll", twoItemFile);
    Put("none.dat", "\x08NOTALIST" + Int32(7) + Int32(1));
    Put("empty.bml", "\x08OBLBML30" + Int32(0));
    Put("huge.wvl", "\x08OBLWVL30" + Int32(0x40000000) + Int32(1));

    TList table;
    int count = 0;
    EXPECT_EQ(OBLListGetFileType("C:\\two.sll", count, &table), icStringList);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(table.Items(0)), 21);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(table.Items(1)), 25);

    EXPECT_EQ(OBLListGetFileType("C:\\none.dat", count, &table), icInvalid);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(table.Count(), 2);  // not touched without a kind

    EXPECT_EQ(OBLListGetFileType("C:\\empty.bml", count, &table), icBitmap);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(table.Count(), 0);

    EXPECT_EQ(OBLListGetFileType("C:\\two.sll", count, nullptr), icStringList);
    // A file too short for its count is not a list, whatever its signature.
    for (int length : {9, 10, 12}) {
        Put("short.bml", ("\x08OBLBML30" + Int32(0)).substr(0, length));
        EXPECT_EQ(OBLListGetFileType("C:\\short.bml", count, &table), icInvalid) << length;
        EXPECT_EQ(count, -1) << length;
    }
    EXPECT_THROW(OBLListGetFileType("C:\\huge.wvl", count, &table), EReadError);
    EXPECT_THROW(OBLListGetFileType("C:\\missing.sll", count, &table), EFOpenError);
}

TEST_F(ContainerFormatTest, SingleItemsAreReadFromFilesByNumber)
{
    Put("two.sll", twoItemFile);
    TTextItem item(nullptr);
    EXPECT_TRUE(OBLListGetItemFromFile("C:\\two.sll", icStringList, nullptr, &item, 1));
    EXPECT_EQ(item.Description(), "D");
    EXPECT_EQ(item.Ident(), 0x1234);
    EXPECT_TRUE(OBLListGetItemFromFile("C:\\two.sll", icStringList, nullptr, &item, 0));
    EXPECT_EQ(item.Text(), "ab");
    EXPECT_TRUE(item.Description().IsEmpty());

    EXPECT_THROW(OBLListGetItemFromFile("C:\\two.sll", icStringList, nullptr, &item, 2), EListError);
    try {
        OBLListGetItemFromFile("C:\\two.sll", icBitmap, nullptr, &item, 0);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot open file %s: C:\\two.sll");
    }

    // A given table is trusted: no kind check, its offsets are used.
    TList table;
    table.Add(reinterpret_cast<void*>(std::intptr_t{25}));
    table.Add(reinterpret_cast<void*>(std::intptr_t{4000}));
    table.Add(reinterpret_cast<void*>(std::intptr_t{-1}));
    EXPECT_TRUE(OBLListGetItemFromFile("C:\\two.sll", icBitmap, &table, &item, 0));
    EXPECT_EQ(item.Description(), "D");
    EXPECT_THROW(OBLListGetItemFromFile("C:\\two.sll", icBitmap, &table, &item, 1), EReadError);
    EXPECT_THROW(OBLListGetItemFromFile("C:\\two.sll", icBitmap, &table, &item, 2), EReadError);

    TStringStream stream;
    EXPECT_FALSE(OBLListGetItemFromStream(&stream, nullptr, 0, &item));
}

TEST_F(ContainerFormatTest, PixelFormatsInFlagsAndCodes)
{
    struct Case {
        TOBLSavePixelFormat format;
        BYTE flag;
        int code;
    };
    for (const Case& c : {Case{spfDefault, 0x00, -1}, Case{spfMono, 0x10, 2}, Case{spf4bit, 0x20, 16},
                          Case{spf8bit, 0x40, 256}}) {
        EXPECT_EQ(OBLPixelFormatFlag(c.format), c.flag);
        EXPECT_EQ(OBLPixelFormatCode(c.format), c.code);
        EXPECT_EQ(OBLPixelFormatFromFlags(c.flag | 0x0F), c.format);
    }
    // More than one bit: the first of 0x10, 0x20, 0x40.
    EXPECT_EQ(OBLPixelFormatFromFlags(0x60), spf4bit);
    EXPECT_EQ(OBLPixelFormatFromFlags(0x70), spfMono);
    EXPECT_EQ(OBLPixelFormatFromFlags(0x80), spfDefault);
}

TEST_F(ContainerFormatTest, SuffixesByKind)
{
    struct Case {
        TOBLListItemClassType kind;
        const char* suffix;
        const char* itemSuffix;
    };
    const Case cases[] = {{icImageList, "iml", "iml"}, {icBitmap, "bml", "bmp"}, {icWave, "wvl", "wav"},
                          {icStringList, "sll", "txt"}, {icGeneric, "gll", "*"},   {icRTF, "rtl", "rtf"},
                          {icInvalid, "", ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(OBLICGetSuffix(c.kind, false), c.suffix);
        EXPECT_EQ(OBLICGetItemSuffix(c.kind, false), c.itemSuffix);
        AnsiString dotted(c.suffix), dottedItem(c.itemSuffix);
        EXPECT_EQ(OBLICGetSuffix(c.kind, true), dotted.IsEmpty() ? dotted : "." + dotted);
        EXPECT_EQ(OBLICGetItemSuffix(c.kind, true), dottedItem.IsEmpty() ? dottedItem : "." + dottedItem);
    }
    EXPECT_EQ(OBLICGetSuffix(icBitmap, true), ".bml");
    EXPECT_EQ(OBLICGetItemSuffix(icGeneric, true), ".*");
}

TEST_F(ContainerFormatTest, FormDescriptionCarriesTheItemRecordAsInternal)
{
    RegisterClasses({TTextList::StaticClass(), TTextItem::StaticClass()});
    FillTwo(list.get());
    list->SetName("Texts");
    TStringStream out;
    out.WriteComponent(list.get());
    EXPECT_NE(Pos("Internal = {", out.DataString()), 0) << out.DataString().c_str();
    EXPECT_NE(Pos("07014434120000", out.DataString()), 0) << out.DataString().c_str();

    // Only the record: flags 0A (description, payload), "N", then "xyz".
    TStringStream in("object L: TTextList\n  object TTextItem\n    Internal = {0A014E0378797A}\n  end\nend\n");
    TOwned<TComponent> read(in.ReadComponent(nullptr));
    auto* copy = dynamic_cast<TTextList*>(read.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->GetCount(), 1);
    EXPECT_EQ(copy->Items(0)->Description(), "N");
    EXPECT_EQ(copy->Items(0)->Text(), "xyz");

    TStringStream damaged("object L: TTextList\n  object TTextItem\n    Internal = {02}\n  end\nend\n");
    EXPECT_THROW(damaged.ReadComponent(nullptr), EReadError);
    UnRegisterClass(TTextList::StaticClass());
    UnRegisterClass(TTextItem::StaticClass());
}

} // namespace
