// Unit Oblgrapa: the key points and the painting of a filled geometric shape (ellipse,
// rectangle, rounded rectangle, arrows, diamond, comb, octagon, star, toothed rectangle) with
// its shadow, bevel and picture, plus helpers that move points and map colour names.
#pragma once

#include "obl/controls/shapes/OBLShape.h"
#include "obl/controls/shapes/OBLTeeth.h"
#include "obl/core/formats/OBLPointList.h"

#include <cstdint>
#include <vector>

enum TOBLLightColor { lcNone, lcBlue, lcRed, lcGreen, lcYellow, lcMarine, lcPurple };

// Any other value leaves Light and Dark untouched.
void OBLGetLightColors(TOBLLightColor Color, TColor& Light, TColor& Dark);
// Moves the first Count points; the array's own length bounds it as well.
void OBLOffsetPointArray(std::vector<POINT>& Points, int Count, int DX, int DY);
// Moves every point of the list, one notification per point; nothing for a null list.
void OBLOffsetPointList(TOBLPointList* List, int DX, int DY);
// A point of the list with X read back as the signed value it was stored from.
POINT OBLListPoint(TOBLPointList* List, int Index);

// Clears List and fills it, in coordinates local to R, with the outline points followed
// by the inner (bevel-inset) points; a toothed rectangle lists only its outline. Brush is
// not read. Teeth, Bevel and Shadow may be null.
void OBLShapeCalc(const TRect& R, TOBLShapeType ShapeType, TOBLTeeth* Teeth, bool Square, TBrush* Brush,
                  std::uint8_t Percent, TOBLSimpleBevel* Bevel, TOBLShadow* Shadow, TOBLPointList* List);

// Paints the shape in R: the shadow at the outline, the shape up-left of it (filled with
// Brush, or with Picture drawn through the shape's mask, MaskColor being transparent), then
// the bevel's two colours. Without a List the points are computed as by OBLShapeCalc; a
// given List is read, never changed, and refused (nothing drawn) when its count does not
// fit the shape. Null Teeth, Bevel, Shadow or Picture mean none, a null Brush fills with the
// canvas brush; no settings object notifies its owner. The canvas keeps its pen, brush and
// clip. The last argument is unused.
void OBLShapeDraw(const TRect& R, TCanvas* Canvas, TOBLShapeType ShapeType, TOBLTeeth* Teeth, TOBLPointList* List,
                  bool Square, TBrush* Brush, std::uint8_t Percent, TOBLSimpleBevel* Bevel, TOBLShadow* Shadow,
                  TBitmap* Picture, TColor MaskColor, TColor BackColor, WORD Unused);
