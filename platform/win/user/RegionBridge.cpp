// Region values cross the drawing interface as rectangle lists (GetRegionData).
#include "platform/win/user/RegionBridge.h"

#include "platform/win/gdi/Gdi.h"

#include <cstring>
#include <vector>

std::optional<Region> UserRegionOf(HRGN region) {
    if (!region)
        return std::nullopt;
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size < sizeof(RGNDATAHEADER))
        return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    if (!GetRegionData(region, size, data))
        return std::nullopt;
    std::vector<RECT> rects(data->rdh.nCount);
    std::memcpy(rects.data(), data->Buffer, rects.size() * sizeof(RECT));
    return Region::FromRects(rects);
}

void UserStoreRegion(HRGN target, const Region& region) {
    SetRectRgn(target, 0, 0, 0, 0);
    for (const RECT& r : region.Rects()) {
        HRGN part = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        CombineRgn(target, target, part, RGN_OR);
        DeleteObject(part);
    }
}

HRGN UserNewRegion(const Region& region) {
    HRGN handle = CreateRectRgn(0, 0, 0, 0);
    UserStoreRegion(handle, region);
    return handle;
}
