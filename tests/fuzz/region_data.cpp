// Region data (RGNDATA, as ExtCreateRegion reads it), with a translation taken from the
// input. A region made must give back data that makes the same region, byte for byte.
#include "FuzzTarget.h"

#include "platform/win/gdi/Gdi.h"

#include <cstring>

namespace {

std::string Data(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::string bytes(size, '\0');
    FUZZ_CHECK(GetRegionData(region, size, reinterpret_cast<RGNDATA*>(bytes.data())) == size);
    return bytes;
}

} // namespace

// Input: one flag byte (bit 0: a transform follows), the transform's six floats when
// flagged, then the region data.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const bool transformed = data[0] & 1;
    ++data;
    --size;
    XFORM transform{};
    if (transformed) {
        if (size < sizeof transform)
            return 0;
        std::memcpy(&transform, data, sizeof transform);
        data += sizeof transform;
        size -= sizeof transform;
    }
    std::string block(reinterpret_cast<const char*>(data), size);
    block.resize((size + 3) / 4 * 4 + sizeof(RGNDATAHEADER));
    HRGN region = ExtCreateRegion(transformed ? &transform : nullptr, static_cast<DWORD>(size),
                                  reinterpret_cast<const RGNDATA*>(block.data()));
    if (!region)
        return 0;
    const std::string first = Data(region);
    HRGN again = ExtCreateRegion(nullptr, static_cast<DWORD>(first.size()), reinterpret_cast<const RGNDATA*>(first.data()));
    FUZZ_CHECK(again != nullptr);
    FUZZ_CHECK(EqualRgn(region, again));
    FUZZ_CHECK(Data(again) == first);
    // Moves near the limits are refused or done, never wrapped.
    if (OffsetRgn(again, 2147483647, 0) != ERROR)
        FUZZ_CHECK(OffsetRgn(again, -2147483647, 0) != ERROR);
    FUZZ_CHECK(EqualRgn(region, again));
    DeleteObject(region);
    DeleteObject(again);
    return 0;
}

std::vector<std::string> FuzzSeeds() {
    std::vector<std::string> seeds;
    auto add = [&](HRGN region, const XFORM* transform) {
        std::string seed(1, transform ? '\1' : '\0');
        if (transform)
            seed.append(reinterpret_cast<const char*>(transform), sizeof *transform);
        seed += Data(region);
        seeds.push_back(seed);
        DeleteObject(region);
    };
    const XFORM move{1, 0, 0, 1, 5, -7};
    add(CreateRectRgn(0, 0, 10, 10), nullptr);
    add(CreateEllipticRgn(0, 0, 17, 11), nullptr);
    add(CreateRoundRectRgn(2, 3, 40, 20, 8, 8), &move);
    const POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    add(CreatePolygonRgn(star, 5, ALTERNATE), &move);
    add(CreateRectRgn(0, 0, 0, 0), nullptr);
    // Regressions: translations that are not numbers or leave the int range, and rectangles
    // at the limits moved past them; each must be refused.
    const XFORM far{1, 0, 0, 1, 3e9f, 0};
    const XFORM nan{1, 0, 0, 1, 0, __builtin_nanf("")};
    const XFORM nudge{1, 0, 0, 1, 1, 1};
    add(CreateRectRgn(0, 0, 1, 1), &far);
    add(CreateRectRgn(0, 0, 1, 1), &nan);
    add(CreateRectRgn(2147483600, 2147483600, 2147483647, 2147483647), &nudge);
    return seeds;
}
