#include "platform/win/gdi/RegionHandles.h"

#include "platform/win/gdi/GdiObjects.h"

std::optional<Region> GdiRegionOf(HRGN region) {
    RegionObj* r = LookupRegion(region);
    if (!r)
        return std::nullopt;
    return r->region;
}

HRGN GdiNewRegion(const Region& region) { return NewRegionHandle(region); }

BOOL GdiStoreRegion(HRGN target, const Region& region) {
    RegionObj* r = LookupRegion(target);
    if (!r)
        return FALSE;
    r->region = region;
    return TRUE;
}
