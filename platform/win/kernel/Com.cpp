// Task-allocator blocks carry a small header with a tag and their size, so GetSize and
// DidAlloc can answer and a block that is not ours is never handed to free.
#include "platform/win/kernel/Com.h"

#include <cstdlib>
#include <cstring>

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IMalloc = {0x00000002, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

namespace {

constexpr std::uint64_t kTag = 0x4B53415456444E56ull;

struct alignas(std::max_align_t) TBlockHeader {
    std::uint64_t tag;
    std::size_t size;
};

TBlockHeader* HeaderOf(void* block) { return static_cast<TBlockHeader*>(block) - 1; }

bool Ours(void* block) { return block != nullptr && HeaderOf(block)->tag == kTag; }

class TTaskAllocator final : public IMalloc {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IMalloc) {
            *object = static_cast<IMalloc*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    void* Alloc(std::size_t size) override { return CoTaskMemAlloc(size); }
    void* Realloc(void* block, std::size_t size) override { return CoTaskMemRealloc(block, size); }
    void Free(void* block) override { CoTaskMemFree(block); }
    std::size_t GetSize(void* block) override { return Ours(block) ? HeaderOf(block)->size : static_cast<std::size_t>(-1); }
    int DidAlloc(void* block) override { return block == nullptr ? -1 : (Ours(block) ? 1 : 0); }
    void HeapMinimize() override {}
};

} // namespace

void* CoTaskMemAlloc(std::size_t size)
{
    auto* header = static_cast<TBlockHeader*>(std::malloc(sizeof(TBlockHeader) + size));
    if (header == nullptr)
        return nullptr;
    header->tag = kTag;
    header->size = size;
    return header + 1;
}

void* CoTaskMemRealloc(void* block, std::size_t size)
{
    if (block == nullptr)
        return CoTaskMemAlloc(size);
    if (!Ours(block))
        return nullptr;
    auto* header = static_cast<TBlockHeader*>(std::realloc(HeaderOf(block), sizeof(TBlockHeader) + size));
    if (header == nullptr)
        return nullptr;
    header->size = size;
    return header + 1;
}

void CoTaskMemFree(void* block)
{
    if (!Ours(block))
        return;
    HeaderOf(block)->tag = 0;
    std::free(HeaderOf(block));
}

IMalloc* TaskAllocator()
{
    static TTaskAllocator allocator;
    return &allocator;
}
