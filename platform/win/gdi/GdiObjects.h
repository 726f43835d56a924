// The objects behind GDI handles and the handle table that owns them. Handles are
// small integers handed out in order (never reused while the process runs), so a
// stale or foreign handle is detected instead of being dereferenced.
#pragma once

#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/gdi/Region.h"

#include <cstdint>
#include <memory>
#include <vector>

enum class GdiKind : std::uint8_t { Pen, Brush, Font, Bitmap, Region, Palette, DC, Icon };

struct GdiObject {
    explicit GdiObject(GdiKind k) : kind(k) {}
    virtual ~GdiObject() = default;
    GdiKind kind;
    bool stock = false;
    // Number of DCs (and saved DC states) that hold the object selected.
    int selectCount = 0;
    // DeleteObject on a selected object: freed when the last DC lets it go.
    bool deletePending = false;
};

struct PenObj : GdiObject {
    PenObj() : GdiObject(GdiKind::Pen) {}
    UINT style = PS_SOLID;  // full style word (type, caps, joins, style)
    int width = 1;
    COLORREF color = 0;
    bool extended = false;
    std::vector<DWORD> userStyle;  // on/off lengths of a PS_USERSTYLE pen
    UINT Style() const { return style & PS_STYLE_MASK; }
};

struct BrushObj : GdiObject {
    BrushObj() : GdiObject(GdiKind::Brush) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    // Pattern in pattern space: for mono patterns and hatches each value is 0 or 1
    // (hatch: 1 = line in the brush colour; mono pattern: 0 = text, 1 = background colour).
    int patternWidth = 0;
    int patternHeight = 0;
    std::vector<std::uint32_t> pattern;
    bool monoPattern = false;
};

class RealizedFont;
struct FontObj : GdiObject {
    FontObj() : GdiObject(GdiKind::Font) {}
    LOGFONTA logFont{};
    RealizedFont* realized = nullptr;  // found on first use; realisations live for the process
};

struct BitmapObj : GdiObject {
    BitmapObj() : GdiObject(GdiKind::Bitmap) {}
    int width = 0;
    int height = 0;
    int bpp = 1;
    int stride = 0;
    bool bottomUp = false;
    bool dibSection = false;
    std::vector<std::uint8_t> bits;
    std::vector<RGBQUAD> colors;
    SIZE dimension{0, 0};
    PixelBuffer Buffer() {
        return {bits.data(), width, height, stride, bpp, bottomUp, colors.empty() ? nullptr : &colors};
    }
};

struct RegionObj : GdiObject {
    RegionObj() : GdiObject(GdiKind::Region) {}
    Region region;
};

struct PaletteObj : GdiObject {
    PaletteObj() : GdiObject(GdiKind::Palette) {}
    std::vector<PALETTEENTRY> entries;
};

struct IconObj : GdiObject {
    IconObj() : GdiObject(GdiKind::Icon) {}
    ~IconObj() override;
    BOOL isIcon = TRUE;
    DWORD xHotspot = 0;
    DWORD yHotspot = 0;
    HBITMAP mask = nullptr;   // owned copy; twice the height for monochrome icons
    HBITMAP color = nullptr;  // owned copy; absent for monochrome icons
};

// Takes ownership and answers the new handle.
void* GdiInsertObject(std::unique_ptr<GdiObject> object);
GdiObject* GdiLookupObject(const void* handle);
template <class T>
T* GdiLookup(const void* handle, GdiKind kind) {
    GdiObject* object = GdiLookupObject(handle);
    return object && object->kind == kind ? static_cast<T*>(object) : nullptr;
}
inline PenObj* LookupPen(const void* h) { return GdiLookup<PenObj>(h, GdiKind::Pen); }
inline BrushObj* LookupBrush(const void* h) { return GdiLookup<BrushObj>(h, GdiKind::Brush); }
inline FontObj* LookupFont(const void* h) { return GdiLookup<FontObj>(h, GdiKind::Font); }
inline BitmapObj* LookupBitmap(const void* h) { return GdiLookup<BitmapObj>(h, GdiKind::Bitmap); }
inline RegionObj* LookupRegion(const void* h) { return GdiLookup<RegionObj>(h, GdiKind::Region); }
inline PaletteObj* LookupPalette(const void* h) { return GdiLookup<PaletteObj>(h, GdiKind::Palette); }
inline IconObj* LookupIcon(const void* h) { return GdiLookup<IconObj>(h, GdiKind::Icon); }
// Destroys the object behind the handle now.
void GdiDestroyObject(const void* handle);
// A DC takes or lets go of a selected object; a pending delete completes on the last release.
void GdiRetain(const void* handle);
void GdiRelease(const void* handle);
HRGN NewRegionHandle(Region region);
// Deep copy of a bitmap object (icons keep their own copies).
std::unique_ptr<BitmapObj> CloneBitmap(const BitmapObj& bitmap);
// New bitmap object of the given format, bits cleared (colour tables per depth);
// none when the size is not positive or the bits would pass kMaxBitmapBytes.
std::unique_ptr<BitmapObj> MakeBitmap(int width, int height, int bpp, bool dibSection);
