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
    if (!rects.empty())  // an empty region has no rectangles to copy (and no buffer)
        std::memcpy(rects.data(), data->Buffer, rects.size() * sizeof(RECT));
    return Region::FromRects(rects);
}

void UserStoreRegion(HRGN target, const Region& region) {
    // One region-data block, so the drawing side builds the region in a single sweep.
    const std::vector<RECT> rects = region.Rects();
    std::vector<std::uint8_t> bytes(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()),
                         static_cast<DWORD>(rects.size() * sizeof(RECT)), region.Bounds()};
    std::memcpy(bytes.data(), &header, sizeof header);
    if (!rects.empty())
        std::memcpy(bytes.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    HRGN built = ExtCreateRegion(nullptr, static_cast<DWORD>(bytes.size()), reinterpret_cast<const RGNDATA*>(bytes.data()));
    if (!built) {
        SetRectRgn(target, 0, 0, 0, 0);
        return;
    }
    CombineRgn(target, built, nullptr, RGN_COPY);
    DeleteObject(built);
}

HRGN UserNewRegion(const Region& region) {
    HRGN handle = CreateRectRgn(0, 0, 0, 0);
    UserStoreRegion(handle, region);
    return handle;
}
