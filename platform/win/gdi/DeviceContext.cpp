#include "platform/win/gdi/DeviceContext.h"

#include <algorithm>
#include <climits>
#include <memory>

namespace {

int gDisplayBpp = 32;

constexpr std::uint32_t kDesktopColour = 0x008080;

// The desktop's size is known from the start; its pixels are made only when something draws
// on the screen itself, which most programs never do.
struct DesktopScreen {
    int width = 1024;
    int height = 768;
    std::unique_ptr<Surface> surface;
};

DesktopScreen& Screen() {
    static DesktopScreen screen;
    return screen;
}

Surface& Desktop() {
    DesktopScreen& screen = Screen();
    if (!screen.surface)
        screen.surface = std::make_unique<Surface>(screen.width, screen.height, kDesktopColour);
    return *screen.surface;
}

void SelectDefaults(DcObj& dc) {
    dc.state.pen = static_cast<HPEN>(StockObject(BLACK_PEN));
    dc.state.brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
    dc.state.font = static_cast<HFONT>(StockObject(SYSTEM_FONT));
    dc.state.palette = static_cast<HPALETTE>(StockObject(DEFAULT_PALETTE));
    if (dc.memory)
        dc.state.bitmap = DefaultMemoryBitmap();
}

void ForEachSelected(const DcState& s, void (*action)(const void*)) {
    for (const void* h : {static_cast<const void*>(s.pen), static_cast<const void*>(s.brush),
                          static_cast<const void*>(s.font), static_cast<const void*>(s.palette),
                          static_cast<const void*>(s.bitmap)})
        if (h)
            action(h);
}

HDC NewDC(std::unique_ptr<DcObj> dc) {
    SelectDefaults(*dc);
    ForEachSelected(dc->state, GdiRetain);
    return static_cast<HDC>(GdiInsertObject(std::move(dc)));
}

} // namespace

DcObj::~DcObj() {
    for (const DcState& s : saved)
        ForEachSelected(s, GdiRelease);
    ForEachSelected(state, GdiRelease);
}

DcObj* LookupDC(const void* handle) { return GdiLookup<DcObj>(handle, GdiKind::DC); }

PixelBuffer DcObj::Target() {
    if (memory) {
        BitmapObj* bitmap = LookupBitmap(state.bitmap);
        return bitmap ? bitmap->Buffer() : PixelBuffer{};
    }
    if (desktop && !surface)
        surface = &Desktop();
    if (!surface)
        return {};
    return {surface->Bits(), surface->Width(), surface->Height(), surface->Stride(), 32, false, nullptr};
}

Region DcObj::VisibleInTarget() {
    const PixelBuffer target = Target();
    Region visible(RECT{0, 0, target.width, target.height});
    for (const std::optional<Region>* clip : {&systemClip, &state.clip}) {
        if (!*clip)
            continue;
        Region moved = **clip;
        moved.Offset(origin.x, origin.y);
        visible = Region::Combine(visible, moved, Region::Op::And);
    }
    return visible;
}

namespace {

// Coordinate sums that would leave the int range stop at its ends instead of wrapping.
LONG ClampedSum(long long a, long long b, long long c) {
    return static_cast<LONG>(std::clamp<long long>(a + b + c, INT_MIN, INT_MAX));
}

} // namespace

POINT DcObj::ToDevice(int x, int y) const {
    return {ClampedSum(x, -static_cast<long long>(state.windowOrigin.x), state.viewportOrigin.x),
            ClampedSum(y, -static_cast<long long>(state.windowOrigin.y), state.viewportOrigin.y)};
}

POINT DcObj::TargetOffset() const {
    return {ClampedSum(origin.x, -static_cast<long long>(state.windowOrigin.x), state.viewportOrigin.x),
            ClampedSum(origin.y, -static_cast<long long>(state.windowOrigin.y), state.viewportOrigin.y)};
}

POINT DcObj::ToTarget(int x, int y) const {
    const POINT offset = TargetOffset();
    return {ClampedSum(x, offset.x, 0), ClampedSum(y, offset.y, 0)};
}

PenObj* DcObj::Pen() const { return LookupPen(state.pen); }
BrushObj* DcObj::Brush() const { return LookupBrush(state.brush); }
FontObj* DcObj::Font() const { return LookupFont(state.font); }

// ---------------------------------------------------------------- creation

HDC GdiCreateSurfaceDC(Surface* surface, POINT deviceOrigin, HRGN systemClip) {
    if (!surface)
        return nullptr;
    auto dc = std::make_unique<DcObj>();
    dc->surface = surface;
    dc->origin = deviceOrigin;
    if (RegionObj* clip = LookupRegion(systemClip))
        dc->systemClip = clip->region;
    return NewDC(std::move(dc));
}

BOOL GdiSetSurfaceDCSystemClip(HDC handle, POINT deviceOrigin, HRGN systemClip) {
    DcObj* dc = LookupDC(handle);
    if (!dc || dc->memory)
        return FALSE;
    dc->origin = deviceOrigin;
    dc->systemClip.reset();
    if (RegionObj* clip = LookupRegion(systemClip))
        dc->systemClip = clip->region;
    return TRUE;
}

HDC GdiCreateDesktopDC() {
    auto dc = std::make_unique<DcObj>();
    dc->desktop = true;
    return NewDC(std::move(dc));
}

void GdiDeleteSurfaceDC(HDC handle) {
    if (DcObj* dc = LookupDC(handle); dc && !dc->memory)
        GdiDestroyObject(handle);
}

Surface& GdiDesktopSurface() { return Desktop(); }
void GdiSetDesktopSize(int width, int height) {
    DesktopScreen& screen = Screen();
    screen.width = width;
    screen.height = height;
    if (screen.surface)
        screen.surface->Resize(width, height, kDesktopColour);
}
void GdiSetDisplayBitsPerPixel(int bitsPerPixel) { gDisplayBpp = bitsPerPixel; }
int GdiDisplayBitsPerPixel() { return gDisplayBpp; }

HDC CreateCompatibleDC(HDC) {
    auto dc = std::make_unique<DcObj>();
    dc->memory = true;
    return NewDC(std::move(dc));
}

HDC CreateDCA(LPCSTR driver, LPCSTR, LPCSTR, const void*) {
    if (!driver || std::string(driver) != "DISPLAY")
        return nullptr;
    return GdiCreateDesktopDC();
}

BOOL DeleteDC(HDC handle) {
    if (!LookupDC(handle))
        return FALSE;
    GdiDestroyObject(handle);
    return TRUE;
}

// ---------------------------------------------------------------- save and restore

int SaveDC(HDC handle) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return 0;
    ForEachSelected(dc->state, GdiRetain);
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int savedDC) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return FALSE;
    const int depth = static_cast<int>(dc->saved.size());
    const int level = savedDC < 0 ? depth + 1 + savedDC : savedDC;
    if (level < 1 || level > depth)
        return FALSE;
    while (static_cast<int>(dc->saved.size()) > level) {
        ForEachSelected(dc->saved.back(), GdiRelease);
        dc->saved.pop_back();
    }
    DcState restored = std::move(dc->saved.back());
    dc->saved.pop_back();
    // The restored state's references were taken at SaveDC; drop the current ones.
    ForEachSelected(dc->state, GdiRelease);
    dc->state = std::move(restored);
    return TRUE;
}

// ---------------------------------------------------------------- selection

namespace {

template <class H>
HGDIOBJ Swap(H& slot, HGDIOBJ object) {
    HGDIOBJ previous = slot;
    GdiRetain(object);
    slot = static_cast<H>(object);
    GdiRelease(previous);
    return previous;
}

} // namespace

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
    DcObj* dc = LookupDC(handle);
    GdiObject* target = GdiLookupObject(object);
    if (!dc || !target)
        return nullptr;
    switch (target->kind) {
    case GdiKind::Pen: return Swap(dc->state.pen, object);
    case GdiKind::Brush: return Swap(dc->state.brush, object);
    case GdiKind::Font: return Swap(dc->state.font, object);
    case GdiKind::Bitmap: {
        if (!dc->memory)
            return nullptr;
        // A bitmap lives in one DC at a time.
        if (target->selectCount > 0 && object != dc->state.bitmap && !target->stock)
            return nullptr;
        return Swap(dc->state.bitmap, object);
    }
    case GdiKind::Region: {
        const int type = SelectClipRgn(handle, static_cast<HRGN>(object));
        return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(type));
    }
    default: return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return nullptr;
    switch (type) {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_PAL: return dc->state.palette;
    case OBJ_BITMAP: return dc->state.bitmap;
    default: return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ handle) {
    GdiObject* object = GdiLookupObject(handle);
    if (!object || object->kind == GdiKind::DC || object->kind == GdiKind::Icon)
        return FALSE;
    if (object->stock)
        return TRUE;
    if (object->selectCount > 0) {
        object->deletePending = true;
        return TRUE;
    }
    GdiDestroyObject(handle);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ handle) {
    GdiObject* object = GdiLookupObject(handle);
    if (!object)
        return 0;
    switch (object->kind) {
    case GdiKind::Pen: return static_cast<PenObj*>(object)->extended ? OBJ_EXTPEN : OBJ_PEN;
    case GdiKind::Brush: return OBJ_BRUSH;
    case GdiKind::Font: return OBJ_FONT;
    case GdiKind::Bitmap: return OBJ_BITMAP;
    case GdiKind::Region: return OBJ_REGION;
    case GdiKind::Palette: return OBJ_PAL;
    case GdiKind::DC: return static_cast<DcObj*>(object)->memory ? OBJ_MEMDC : OBJ_DC;
    default: return 0;
    }
}

BOOL GdiFlush() { return TRUE; }

// ---------------------------------------------------------------- device capabilities

int GetDeviceCaps(HDC handle, int index) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return 0;
    // Memory DCs answer for the display they are compatible with, whatever bitmap they hold.
    const int bpp = gDisplayBpp;
    const DesktopScreen& screen = Screen();
    switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return screen.width;
    case VERTRES: return screen.height;
    case HORZSIZE: return screen.width * 254 / 960;
    case VERTSIZE: return screen.height * 254 / 960;
    case BITSPIXEL: return bpp;
    case PLANES: return 1;
    case NUMCOLORS: return bpp <= 8 ? (1 << bpp) : -1;
    case SIZEPALETTE: return bpp <= 8 ? (1 << bpp) : 0;
    case NUMRESERVED: return bpp <= 8 ? 20 : 0;
    case COLORRES: return bpp <= 8 ? 18 : 24;
    case RASTERCAPS: {
        int caps = RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
        return bpp <= 8 ? caps | RC_PALETTE : caps;
    }
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    default: return 0;
    }
}

// ---------------------------------------------------------------- recording

std::string FormatArgs(std::initializer_list<long long> values) {
    std::string out;
    for (long long v : values) {
        if (!out.empty())
            out += ",";
        out += std::to_string(v);
    }
    return out;
}

void RecordCall(DcObj& dc, const char* function, const std::string& arguments) {
    if (!dc.recording)
        return;
    GdiRecordedCall call{};
    call.function = function;
    call.arguments = arguments;
    if (PenObj* pen = dc.Pen()) {
        call.penColor = pen->color;
        call.penStyle = pen->Style();
        call.penWidth = pen->width;
    }
    if (BrushObj* brush = dc.Brush()) {
        call.brushColor = brush->color;
        call.brushStyle = brush->style;
    }
    call.textColor = dc.state.textColor;
    call.bkColor = dc.state.bkColor;
    call.bkMode = dc.state.bkMode;
    call.rop2 = dc.state.rop2;
    Region visible = dc.VisibleInTarget();
    visible.Offset(-dc.TargetOffset().x, -dc.TargetOffset().y);
    call.clipBox = visible.Bounds();
    dc.calls.push_back(std::move(call));
}

BOOL GdiStartRecording(HDC handle) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return FALSE;
    dc->recording = true;
    dc->calls.clear();
    return TRUE;
}

BOOL GdiStopRecording(HDC handle) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return FALSE;
    dc->recording = false;
    return TRUE;
}

std::vector<GdiRecordedCall> GdiRecordedCalls(HDC handle) {
    DcObj* dc = LookupDC(handle);
    return dc ? dc->calls : std::vector<GdiRecordedCall>{};
}
