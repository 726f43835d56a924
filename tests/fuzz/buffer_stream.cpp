// The buffer stream ("@OBLBufferStream-V0.1@", then the items with their lengths), read
// into the LIFO buffer. What loads must save to a stream that loads and saves to the same
// bytes; a buffer with an entry limit must keep to it.
#include "FuzzTarget.h"

#include "obl/core/formats/OBLDynLIFOBuffer.h"

#include <cstring>
#include <unordered_map>

namespace {

// The byte sizes of the items of a buffer, which the blocks themselves do not tell.
class TItemSizes : public TObject {
public:
    void Size(TObject*, void* item, int& size) { size = sizes.at(item); }
    std::unordered_map<void*, int> sizes;
};

// A buffer that learns each item's length from where its reading stopped in the stream,
// since the blocks themselves do not tell it.
class TSizedBuffer : public TOBLDynLIFOBuffer {
public:
    explicit TSizedBuffer(TStream* source) : source_(source)
    {
        SetOnGetItemSize(TOBLGetItemSizeEvent(&sizes_, &TItemSizes::Size));
    }

    void Load(const std::string& bytes)
    {
        std::int32_t header = 0;
        if (bytes.size() >= 4)
            std::memcpy(&header, bytes.data(), 4);
        itemEnd_ = 4 + static_cast<std::int64_t>(header);
        LoadFromStream(source_);
    }

protected:
    bool TryPut(void* item) override
    {
        const std::int64_t end = source_->Position();
        const bool kept = TOBLDynLIFOBuffer::TryPut(item);
        if (kept && item)
            sizes_.sizes[item] = static_cast<int>(end - itemEnd_ - 4);
        itemEnd_ = end;
        return kept;
    }

private:
    TStream* source_;
    std::int64_t itemEnd_ = 0;
    TItemSizes sizes_;
};

std::string Bytes(TMemoryStream& stream)
{
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

// Loads the bytes and saves what was loaded; empty when the stream is not a buffer stream.
std::string Resave(const std::string& bytes, int maxEntries, bool circle)
{
    TMemoryStream in, out;
    in.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
    in.SetPosition(0);
    TSizedBuffer buffer(&in);
    buffer.SetMaxEntries(maxEntries);
    buffer.SetCircleMode(circle);
    try {
        buffer.Load(bytes);
    } catch (const EReadError&) {
    }
    if (maxEntries >= 0)
        FUZZ_CHECK(buffer.Count() <= maxEntries);
    if (buffer.isEmpty())
        return {};
    buffer.SaveToStream(&out);
    return Bytes(out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string saved = Resave(input, -1, true);
    if (!saved.empty())
        FUZZ_CHECK(Resave(saved, -1, true) == saved);
    Resave(input, 3, true);
    Resave(input, 1, true);
    Resave(input, 2, false);
    return 0;
}

std::vector<std::string> FuzzSeeds()
{
    std::vector<std::string> seeds;
    const std::vector<std::vector<std::string>> lists = {{}, {"one"}, {"a", "", "bcd", std::string(300, 'x')}};
    for (const auto& items : lists) {
        TMemoryStream out;
        TItemSizes sizes;
        TOBLDynLIFOBuffer buffer;
        buffer.SetOnGetItemSize(TOBLGetItemSizeEvent(&sizes, &TItemSizes::Size));
        for (const std::string& item : items) {
            void* block = OBLAllocItem(static_cast<int>(item.size()));
            if (block)
                std::memcpy(block, item.data(), item.size());
            sizes.sizes[block] = static_cast<int>(item.size());
            buffer.Put(block);
        }
        buffer.SaveToStream(&out);
        seeds.push_back(Bytes(out));
    }
    return seeds;
}
