// Logical palettes. On true-colour targets they change no pixel; they are tracked so
// that selection, realisation, deselection and deletion behave.
#include "platform/win/gdi/DeviceContext.h"

#include <algorithm>

HPALETTE CreatePalette(const LOGPALETTE* palette) {
    if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0)
        return nullptr;
    auto object = std::make_unique<PaletteObj>();
    object->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    return static_cast<HPALETTE>(GdiInsertObject(std::move(object)));
}

HPALETTE SelectPalette(HDC handle, HPALETTE palette, BOOL) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !LookupPalette(palette))
        return nullptr;
    HPALETTE previous = dc->state.palette;
    GdiRetain(palette);
    dc->state.palette = palette;
    GdiRelease(previous);
    return previous;
}

UINT RealizePalette(HDC handle) {
    DcObj* dc = LookupDC(handle);
    PaletteObj* palette = dc ? LookupPalette(dc->state.palette) : nullptr;
    if (!palette)
        return static_cast<UINT>(-1);
    // Only a palette device maps entries; true-colour targets need none.
    return GdiDisplayBitsPerPixel() <= 8 ? static_cast<UINT>(palette->entries.size()) : 0;
}

UINT GetPaletteEntries(HPALETTE handle, UINT start, UINT count, PALETTEENTRY* entries) {
    PaletteObj* palette = LookupPalette(handle);
    if (!palette)
        return 0;
    const UINT size = static_cast<UINT>(palette->entries.size());
    if (!entries)
        return size;
    if (start >= size)
        return 0;
    const UINT n = std::min(count, size - start);
    std::copy_n(palette->entries.begin() + start, n, entries);
    return n;
}

UINT SetPaletteEntries(HPALETTE handle, UINT start, UINT count, const PALETTEENTRY* entries) {
    PaletteObj* palette = LookupPalette(handle);
    if (!palette || !entries || start >= palette->entries.size())
        return 0;
    const UINT n = std::min(count, static_cast<UINT>(palette->entries.size()) - start);
    std::copy_n(entries, n, palette->entries.begin() + start);
    return n;
}

UINT GetNearestPaletteIndex(HPALETTE handle, COLORREF color) {
    PaletteObj* palette = LookupPalette(handle);
    if (!palette)
        return CLR_INVALID;
    std::vector<RGBQUAD> table;
    for (const PALETTEENTRY& e : palette->entries)
        table.push_back({e.peBlue, e.peGreen, e.peRed, 0});
    return NearestIndex(table, RgbFromColorRef(color));
}

UINT GetSystemPaletteEntries(HDC handle, UINT start, UINT count, PALETTEENTRY* entries) {
    if (!LookupDC(handle) || GdiDisplayBitsPerPixel() > 8)
        return 0;
    const std::vector<RGBQUAD>& table = FixedColorTable256();
    if (!entries)
        return static_cast<UINT>(table.size());
    UINT n = 0;
    for (UINT i = start; i < table.size() && n < count; ++i, ++n)
        entries[n] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    return n;
}
