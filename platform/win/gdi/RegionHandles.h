// Direct access between region handles and region values, for the window system,
// which keeps update and visible regions as values.
#pragma once

#include "platform/win/gdi/Region.h"

#include <optional>

// A copy of the region behind a handle; nothing for an invalid handle.
std::optional<Region> GdiRegionOf(HRGN region);
// A new region handle holding a copy of `region`; the caller owns it.
HRGN GdiNewRegion(const Region& region);
// Replaces the contents of an existing region handle; FALSE for an invalid handle.
BOOL GdiStoreRegion(HRGN target, const Region& region);
