// Unit OBLButtonBase: button helpers shared by the library's buttons: the built-in small
// glyphs and the bevel width of a button style.
#pragma once

#include "obl/core/draw/Oblgraph.h"
#include "platform/classlib/Graphics.h"

#include <vector>

VENDARO_ENUM(TOBLGlyphKind, gkCustom, gkEllipsis, gkFile, gkFolder, gkCalculator, gkCalender, gkSearch, gkColor,
             gkFont)

// The type of the multimedia button's ButtonFace property; it carries nothing.
class TOBLButtonFace : public TObject {
    VENDARO_CLASS(TOBLButtonFace, TObject)
};

// The program's bitmap resource holding the built-in glyphs: eight 13 x 14 cells side by
// side, gkEllipsis first.
constexpr int OBLGlyphStripResource = 16546;
constexpr int OBLGlyphCellWidth = 13;
constexpr int OBLGlyphCellHeight = 14;

// The colour around the built-in glyphs (their transparent colour).
constexpr TColor OBLGlyphStripMaskColor = static_cast<TColor>(0xFF00FF);

// The .bmp file image of the library's own strip: 104 x 14 pixels, 4 bits per pixel,
// black pictures on the mask colour.
std::vector<BYTE> OBLGlyphStripBitmapFile();

// The unit's start-up: no glyph cache yet, and the built-in strip registered as the
// program's bitmap resource unless the program has one.
void OBLButtonBaseInitialization();

// Loads the built-in glyph of the kind into the bitmap, which ends up 13 x 14 pixels. A nil
// bitmap is left alone; gkCustom has no picture of its own and yields the first cell.
void OBLGetGlyphKind(TBitmap* bitmap, TOBLGlyphKind kind);

// Width in pixels of the bevel that the classic face of the style draws; the state does not
// matter. ubsAutoDetect follows the shell's new-style controls.
std::uint8_t OBLGetButtonBevel(TOBLUserButtonStyle style, TOBLButtonState state);
