// Conversions between region handles and the region values the window system keeps.
#pragma once

#include "platform/win/gdi/Region.h"

#include <optional>

// The region behind a handle; nothing for an invalid handle.
std::optional<Region> UserRegionOf(HRGN region);
// A new region handle holding `region`; the caller owns it.
HRGN UserNewRegion(const Region& region);
// Replaces the contents of an existing region handle.
void UserStoreRegion(HRGN target, const Region& region);
