#include "platform/win/gdi/GdiObjects.h"

#include <cstdint>
#include <map>

namespace {

struct HandleTable {
    std::map<std::uintptr_t, std::unique_ptr<GdiObject>> objects;
    std::uintptr_t next = 0x10000;
};

// Never destroyed: objects still alive at exit would otherwise release each other
// through a table that is being torn down.
HandleTable& Table() {
    static HandleTable* table = new HandleTable;
    return *table;
}

} // namespace

void* GdiInsertObject(std::unique_ptr<GdiObject> object) {
    HandleTable& table = Table();
    const std::uintptr_t handle = table.next;
    table.next += 4;
    table.objects.emplace(handle, std::move(object));
    return reinterpret_cast<void*>(handle);
}

GdiObject* GdiLookupObject(const void* handle) {
    HandleTable& table = Table();
    auto it = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == table.objects.end() ? nullptr : it->second.get();
}

void GdiDestroyObject(const void* handle) { Table().objects.erase(reinterpret_cast<std::uintptr_t>(handle)); }

void GdiRetain(const void* handle) {
    if (GdiObject* object = GdiLookupObject(handle))
        ++object->selectCount;
}

void GdiRelease(const void* handle) {
    GdiObject* object = GdiLookupObject(handle);
    if (!object)
        return;
    if (object->selectCount > 0)
        --object->selectCount;
    if (object->selectCount == 0 && object->deletePending)
        GdiDestroyObject(handle);
}

int GdiLiveObjectCount() {
    int count = 0;
    for (const auto& entry : Table().objects)
        if (!entry.second->stock)
            ++count;
    return count;
}

HRGN NewRegionHandle(Region region) {
    auto object = std::make_unique<RegionObj>();
    object->region = std::move(region);
    return static_cast<HRGN>(GdiInsertObject(std::move(object)));
}

std::unique_ptr<BitmapObj> CloneBitmap(const BitmapObj& bitmap) {
    auto copy = std::make_unique<BitmapObj>();
    copy->width = bitmap.width;
    copy->height = bitmap.height;
    copy->bpp = bitmap.bpp;
    copy->stride = bitmap.stride;
    copy->bottomUp = bitmap.bottomUp;
    copy->dibSection = bitmap.dibSection;
    copy->bits = bitmap.bits;
    copy->colors = bitmap.colors;
    copy->dimension = bitmap.dimension;
    return copy;
}

std::unique_ptr<BitmapObj> MakeBitmap(int width, int height, int bpp, bool dibSection) {
    if (width <= 0 || height <= 0 || static_cast<long long>(DibStride(width, bpp)) * height > kMaxBitmapBytes)
        return nullptr;
    auto bitmap = std::make_unique<BitmapObj>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->bpp = bpp;
    bitmap->stride = DibStride(width, bpp);
    bitmap->bottomUp = dibSection;
    bitmap->dibSection = dibSection;
    bitmap->bits.assign(static_cast<std::size_t>(bitmap->stride) * height, 0);
    if (bpp == 1)
        bitmap->colors = MonoColorTable();
    else if (bpp == 4)
        bitmap->colors = StandardColorTable16();
    else if (bpp == 8)
        bitmap->colors = FixedColorTable256();
    return bitmap;
}
