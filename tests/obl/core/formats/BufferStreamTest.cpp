#include "obl/core/formats/OBLDynLIFOBuffer.h"

#include "platform/rtl/Exceptions.h"

#include "tests/obl/core/formats/ByteFixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

const std::string Signature = "@OBLBufferStream-V0.1@";

// Items are NUL-terminated texts in blocks of the buffer's heap.
void* Text(const std::string& text)
{
    void* block = OBLAllocItem(static_cast<int>(text.size() + 1));
    std::memcpy(block, text.c_str(), text.size() + 1);
    return block;
}

class TextSizes : public TObject {
public:
    void Size(TObject*, void* item, int& size)
    {
        ++calls;
        size = item ? static_cast<int>(std::strlen(static_cast<const char*>(item)) + 1) : reported;
    }
    int calls = 0;
    int reported = 0; // what a null item is said to measure
};

class DestroyCount : public TObject {
public:
    void Destroyed(TObject*, void* item)
    {
        ++count;
        OBLFreeItem(item);
    }
    int count = 0;
};

Bytes Header(const std::string& signature = Signature)
{
    Bytes out = Int32(static_cast<std::int32_t>(signature.size() + 1));
    for (char c : signature)
        out.push_back(static_cast<BYTE>(c));
    out.push_back(0);
    return out;
}

Bytes Chars(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Texts from top to bottom, popped and released.
std::vector<std::string> DrainTexts(TOBLDynLIFOBuffer& buffer)
{
    std::vector<std::string> out;
    while (!buffer.isEmpty()) {
        void* item = buffer.Get();
        out.push_back(item ? static_cast<const char*>(item) : "(null)");
        OBLFreeItem(item);
    }
    return out;
}

struct BufferStreamTest : ::testing::Test {
    TOBLDynLIFOBuffer buffer;
    TextSizes sizes;
    TMemoryStream stream;

    void SetUp() override { buffer.SetOnGetItemSize(TOBLGetItemSizeEvent(&sizes, &TextSizes::Size)); }
};

} // namespace

TEST_F(BufferStreamTest, EmptyBufferSavesHeaderOnly)
{
    buffer.SaveToStream(&stream);
    EXPECT_EQ(Content(stream), Header());
    EXPECT_EQ(stream.Size(), 27);
}

TEST_F(BufferStreamTest, ItemsAreWrittenOldestFirstWithTheirSizes)
{
    buffer.Put(Text("one"));
    buffer.Put(Text("two!"));
    buffer.SaveToStream(&stream);
    EXPECT_EQ(Content(stream), Header() + Int32(4) + Chars(std::string("one\0", 4)) + Int32(5) +
                                   Chars(std::string("two!\0", 5)));
}

TEST_F(BufferStreamTest, SaveAndLoadKeepTheStackOrder)
{
    for (const char* t : {"bottom", "middle", "top"}) buffer.Put(Text(t));
    buffer.SaveToStream(&stream);
    TOBLDynLIFOBuffer copy;
    stream.SetPosition(0);
    copy.LoadFromStream(&stream);
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_EQ(DrainTexts(copy), (std::vector<std::string>{"top", "middle", "bottom"}));
}

TEST_F(BufferStreamTest, WithoutSizeHandlerItemsAreWrittenEmptyAndLoadAsNull)
{
    TOBLDynLIFOBuffer plain;
    for (int i = 0; i < 3; ++i) plain.Put(Text("x"));
    plain.SaveToStream(&stream);
    EXPECT_EQ(Content(stream), Header() + Int32(0) + Int32(0) + Int32(0));
    stream.SetPosition(0);
    TOBLDynLIFOBuffer loaded;
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(DrainTexts(loaded), (std::vector<std::string>{"(null)", "(null)", "(null)"}));
}

TEST_F(BufferStreamTest, NullItemWithAReportedSizeIsWrittenEmpty)
{
    sizes.reported = 12;
    buffer.Put(nullptr);
    buffer.SaveToStream(&stream);
    EXPECT_EQ(Content(stream), Header() + Int32(0));
}

TEST_F(BufferStreamTest, ForeignHeaderLeavesTheBufferAsItWas)
{
    buffer.Put(Text("kept"));
    for (const std::string& signature : {std::string("@OBLBufferStream-V0.2@"), std::string("@oblbufferstream-v0.1@"),
                                         std::string("@OBLBufferStream-V0.1"), std::string("")}) {
        SCOPED_TRACE(signature);
        const Bytes header = Header(signature);
        Fill(stream, header + Int32(2) + Chars("z"));
        buffer.LoadFromStream(&stream);
        EXPECT_EQ(buffer.Count(), 1);
        EXPECT_EQ(stream.Position(), static_cast<int>(header.size()));
    }
    EXPECT_EQ(DrainTexts(buffer), (std::vector<std::string>{"kept"}));
}

TEST_F(BufferStreamTest, HeaderWithoutNulIsReadWhole)
{
    Fill(stream, Int32(22) + Chars(Signature) + Int32(2) + Chars(std::string("q\0", 2)));
    buffer.LoadFromStream(&stream);
    EXPECT_EQ(DrainTexts(buffer), (std::vector<std::string>{"q"}));
}

TEST_F(BufferStreamTest, LoadingDestroysTheHeldItemsFirst)
{
    DestroyCount destroyed;
    buffer.SetOnDestroyItem(TOBLDestroyItemEvent(&destroyed, &DestroyCount::Destroyed));
    buffer.Put(Text("old1"));
    buffer.Put(Text("old2"));
    Fill(stream, Header() + Int32(4) + Chars(std::string("new\0", 4)));
    buffer.LoadFromStream(&stream);
    EXPECT_EQ(destroyed.count, 2);
    EXPECT_EQ(DrainTexts(buffer), (std::vector<std::string>{"new"}));
}

TEST_F(BufferStreamTest, DamagedStreamsRaiseReadErrorKeepingWhatWasLoaded)
{
    const struct {
        const char* name;
        Bytes bytes;
        int countAfter;
    } cases[] = {
        {"stream ends inside the header length", Bytes{23, 0}, 1},
        {"header length negative", Int32(-1), 1},
        {"header longer than the stream", Int32(1000) + Chars(Signature), 1},
        {"item size cut off", Header() + Int32(2) + Chars(std::string("a\0", 2)) + Bytes{5, 0}, 1},
        {"item shorter than its size", Header() + Int32(2) + Chars(std::string("a\0", 2)) + Int32(50) + Chars("abc"), 1},
        {"negative item size", Header() + Int32(2) + Chars(std::string("a\0", 2)) + Int32(-4) + Chars("abcd"), 1},
        {"huge item size", Header() + Int32(0x7FFFFFFF) + Chars("abcd"), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TOBLDynLIFOBuffer target;
        target.Put(Text("held"));
        Fill(stream, c.bytes);
        EXPECT_THROW(target.LoadFromStream(&stream), EReadError);
        EXPECT_EQ(target.Count(), c.countAfter);
        DrainTexts(target);
    }
}

TEST_F(BufferStreamTest, ItemsAFullBufferRefusesAreReleased)
{
    buffer.SetMaxEntries(1);
    buffer.SetCircleMode(false);
    Fill(stream, Header() + Int32(2) + Chars(std::string("a\0", 2)) + Int32(2) + Chars(std::string("b\0", 2)));
    buffer.LoadFromStream(&stream);
    EXPECT_EQ(stream.Position(), stream.Size());
    EXPECT_EQ(DrainTexts(buffer), (std::vector<std::string>{"a"}));
}

TEST_F(BufferStreamTest, FileRoundTripAndMissingFile)
{
    const auto folder = std::filesystem::temp_directory_path() / ("oblbuffer-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const AnsiString file = (folder / "stack.buf").string();
    buffer.Put(Text("first"));
    buffer.Put(Text("second"));
    buffer.SaveToFile(file);
    buffer.SaveToFile(file); // replaces the file
    EXPECT_EQ(std::filesystem::file_size(file.str()), 27u + 4 + 6 + 4 + 7);
    TOBLDynLIFOBuffer loaded;
    loaded.LoadFromFile(file);
    EXPECT_EQ(DrainTexts(loaded), (std::vector<std::string>{"second", "first"}));

    const AnsiString missing = (folder / "missing.buf").string();
    EXPECT_THROW(buffer.LoadFromFile(missing), EFOpenError);
    EXPECT_EQ(buffer.Count(), 2);
    DrainTexts(buffer);
    std::filesystem::remove_all(folder);
}

TEST_F(BufferStreamTest, ItemSizeComesFromTheHandler)
{
    buffer.Put(Text("abc"));
    void* node = nullptr;
    buffer.FirstNode(node);
    EXPECT_EQ(buffer.GetItemSize(node), 4);
    EXPECT_EQ(sizes.calls, 1);
    TOBLDynLIFOBuffer plain;
    plain.Put(nullptr);
    plain.FirstNode(node);
    EXPECT_EQ(plain.GetItemSize(node), 0);
}
