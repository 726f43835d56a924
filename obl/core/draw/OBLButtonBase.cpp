#include "obl/core/draw/OBLButtonBase.h"

#include "platform/classlib/Forms.h"
#include "platform/win/kernel/Modules.h"
#include "platform/win/kernel/Resources.h"
#include "obl/core/draw/oblglyph.h"

#include <cstdint>
#include <vector>

namespace {

// The library's built-in glyphs, one 13 x 14 cell per kind from gkEllipsis to gkFont:
// '#' is black, '.' the mask colour.
constexpr const char* kStripRows[OBLGlyphCellHeight] = {
    "...............######...................##########....#..#..#...........................................",
    "...............#....##..................#........#...##########.....####..........#####.........#.......",
    "...............#....#.#....####.........#.######.#...##########....#....#........#.....#.......###......",
    "...............#....####..#....#........#.#....#.#...#........#...#......#......#.##.##.#......###......",
    "...............#.......#..#.....######..#.######.#...#.#.#.#..#...#......#.....#.........#....##.##.....",
    "...............#.####..#..#...........#.#........#...#........#...#......#.....#.##......#....##.##.....",
    "...............#.......#..#..#########..#.##.##.##...#.#.#.#..#...#......#.....#.##......#...##...##....",
    "...............#.####..#..#.#........#..#........#...#........#....#....#......#.......#.#...#######....",
    "...............#.......#..#.#........#..#.##.##.##...#.#.#.#..#.....#####.......#.....##.#..##.....##...",
    "##..##..##.....#.####..#..##........#...#........#...#........#.........###......#....#.#...##.....##...",
    "##..##..##.....#.......#..##........#...#.##.##.##...#.#.#....#..........###......####.#...####...####..",
    "...............#.......#..##########....#........#...#........#...........###...........................",
    "...............#########................##########...##########............#............................",
    "........................................................................................................",
};

} // namespace

std::vector<BYTE> OBLGlyphStripBitmapFile()
{
    constexpr int width = 8 * OBLGlyphCellWidth, height = OBLGlyphCellHeight;
    constexpr int stride = (width * 4 + 31) / 32 * 4;
    constexpr int headers = 14 + 40 + 16 * 4;
    std::vector<BYTE> file(headers + stride * height, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<BYTE>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, headers);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    file[26] = 1;  // planes
    file[28] = 4;  // bits per pixel
    put32(34, static_cast<std::uint32_t>(stride * height));
    put32(46, 16); // colours used
    // Palette: 0 black, 1 the mask colour; the rest stay black.
    const COLORREF mask = static_cast<COLORREF>(OBLGlyphStripMaskColor);
    BYTE* entry = &file[54 + 4];
    entry[0] = GetBValue(mask);
    entry[1] = GetGValue(mask);
    entry[2] = GetRValue(mask);
    for (int y = 0; y < height; ++y) {
        BYTE* row = &file[headers + (height - 1 - y) * stride];
        for (int x = 0; x < width; ++x) {
            const BYTE index = kStripRows[y][x] == '#' ? 0 : 1;
            row[x / 2] |= static_cast<BYTE>(x % 2 == 0 ? index << 4 : index);
        }
    }
    return file;
}

void OBLButtonBaseInitialization()
{
    OBLGlyphCache = nullptr;
    // A program that brings a strip of its own keeps it.
    if (!FindResourceA(HInstance, MAKEINTRESOURCEA(OBLGlyphStripResource), RT_BITMAP))
        RegisterBitmapFileResource(nullptr, MAKEINTRESOURCEA(OBLGlyphStripResource), OBLGlyphStripBitmapFile());
}

void OBLGetGlyphKind(TBitmap* bitmap, TOBLGlyphKind kind)
{
    if (bitmap == nullptr) return;
    bitmap->SetHandle(LoadBitmapA(HInstance, MAKEINTRESOURCEA(OBLGlyphStripResource)));
    const int cell = static_cast<int>(kind) - 1;
    // The strip starts with gkEllipsis; gkCustom would read left of the strip, so it keeps
    // the first cell instead.
    if (cell > 0) {
        const TRect source = Rect(cell * OBLGlyphCellWidth, 0, (cell + 1) * OBLGlyphCellWidth, OBLGlyphCellHeight);
        bitmap->Canvas()->CopyRect(Rect(0, 0, OBLGlyphCellWidth, OBLGlyphCellHeight), bitmap->Canvas(), source);
    }
    bitmap->SetWidth(OBLGlyphCellWidth);
}

std::uint8_t OBLGetButtonBevel(TOBLUserButtonStyle style, TOBLButtonState)
{
    if (style == ubsAutoDetect) style = NewStyleControls ? ubsWin40 : ubsWin31;
    switch (style) {
    case ubsWin31: return 3;
    case ubsWin40:
    case ubsDelphi:
    case ubsDelphiFlat:
    case ubsNavigator:
    case ubsIntegrated: return 2;
    default: return 1;
    }
}
