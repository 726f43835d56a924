// Unit Oblutils: the library's drawing routines on a TCanvas.
#pragma once

#include "obl/core/Oblgraph.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/Graphics.h"

// ---- Frames and borders -------------------------------------------------------------
// Routines taking the rectangle by reference shrink it to the area inside the frame.

// A bevel of the style in the two colours (bvNormal: black). False, with nothing drawn and
// the rectangle unchanged, for bvNone, bvShadow or a width below 1.
bool OBLDrawFrame3D(TCanvas* canvas, TRect& rect, TOBLBevelStyle style, TColor lightColor, TColor shadowColor,
                    int width);
// A drop shadow of the depth at the right and bottom (the two corners it leaves open are
// painted in the background colour unless transparent), then a frame of frameWidth pixels
// around the rest. The last argument is kept for callers and ignored.
bool OBLDrawFrameShadow(TCanvas* canvas, TRect& rect, TColor frameColor, TColor shadowColor, TColor backColor,
                        TOBLShadowDepth depth, std::uint8_t frameWidth, bool transparent, WORD unused);
// Width in pixels of a standard border.
int OBLDrawStdFrameExt(TOBLBorderStyle style);
// A standard border by DrawEdge; extraFlags are ORed into the edge flags.
bool OBLDrawStdFrame(TCanvas* canvas, TRect& rect, TOBLBorderStyle style, WORD extraFlags);
// A one-pixel two-colour border on the rectangle's edge; the rectangle is not changed.
void OBLDrawBorder(TCanvas* canvas, const TRect& rect, TColor topLeftColor, TColor bottomRightColor);
// The width of a control's border: 0 unless the style is bsSingle, then 2 when either flag
// is set (a 3D look), else 1.
int OBLGetCtrlBorderWidth(bool flagA, TFormBorderStyle borderStyle, bool flagB);
// The small triangle of a drop-down button, size 2..15 (other sizes draw nothing). Pointing
// down it is 2 * size - 1 wide and size high with its top-left at (x, y). Disabled, it is
// grey with a highlight copy one pixel right and down.
void OBLDrawTriangle(TCanvas* canvas, int x, int y, int size, TColor color, bool down, bool enabled);
