// Unit Oblgraph: the enumerations, sets and range types that the library's drawing
// routines and appearance objects take. The value names and their order are streamed in
// form descriptions, so they must not change.
#pragma once

#include "platform/classlib/TypInfo.h"

#include <cstdint>

// Range types; the alias is the storage width, the range is the property's.
using TOBLAngle = std::uint16_t;        // 0..360
using TOBLDDArrowSize = std::uint8_t;   // 2..10
using TOBLBevelWidth = std::uint8_t;    // 0..50
using TOBLBorderWidth = std::uint8_t;   // 0..255
using TOBLColorCount = std::uint8_t;    // 2..236
using TOBLPercent = std::uint8_t;       // 0..100
using TOBLShadowDepth = std::uint8_t;   // 0..40

VENDARO_ENUM(TOBLShadowStyle, hssNone, hssSolid, hssTracing)
VENDARO_ENUM(TOBLOrientation, toHorizontal, toVertical)
VENDARO_ENUM(TOBLBevelStyle, bvNone, bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal, bvShadow)
VENDARO_ENUM(TOBLBevelMode, bmCustom, bmStandard, bmEdge, bmWindows)
VENDARO_ENUM(TOBLBorderStyle, lsNone, lsSingle, lsLowered, lsRaised, lsRaisedspb, lsLoweredspb, lsRaisedExt,
             lsLoweredExt, lsFrameInset, lsFrameOffset, lsWindowBorder, lsSingleRaised, lsSingleLowered,
             lsDoubleRaised, lsDoubleLowered)
VENDARO_ENUM(TOBLEdgeStyle, etRaisedInner, etRaisedOuter, etSunkenInner, etSunkenOuter, etBump, etEtched,
             etRaised, etSunken)
VENDARO_ENUM(TOBLFrameSide, fsBottom, fsLeft, fsRight, fsTop)
using TOBLFrameSides = TSet<TOBLFrameSide>;
VENDARO_ENUM(TOBLTextArrange, taLeft, taLeftTop, taRight, taRightTop, taTop, taTopLeft, taBottom, taBottomLeft)
VENDARO_ENUM(TOBLArrowPosition, apRightText, apLeftText, apRightGlyph, apLeftGlyph)
VENDARO_ENUM(TOBLButtonState, bsUp, bsDisabledUp, bsMouseOver, bsOptionSet, bsDown, bsDragOver, bsDropDownOpen,
             bsDisabledDown, bsDefaultEd)
VENDARO_ENUM(TOBLUserButtonStyle, ubsAutoDetect, ubsWin31, ubsWin40, ubsDelphi, ubsDelphiFlat, ubsFlat,
             ubsFlatUnColored, ubsNavigator, ubsExplorer, ubsExplorerColored, ubsIntegrated, ubsWinXP,
             ubsWinXPCombo, ubsWinXPTool)
VENDARO_ENUM(TOBLNormalButtonStyle, nbsAutoDetect, nbsWin31, nbsWin40)
VENDARO_ENUM(TOBLAlignment, agTopLeft, agTopCenter, agTopRight, agCenterLeft, agCenter, agCenterRight,
             agBottomLeft, agBottomCenter, agBottomRight)
VENDARO_ENUM(TOBLFillStyle, sfNone, sfBrushBitmap, sfBrush, sfBitmap, sfBitmapList, sfGradient)
VENDARO_ENUM(TOBLTileMode, tmNone, tmCenter, tmStretch, tmTile)
VENDARO_ENUM(TOBLGradientStyle, gstHorizontal, gstVertical, gstSquare, gstElliptic, gstTopLeft, gstTopRight,
             gstBottomLeft, gstBottomRight, gstTopLeftDiagonal, gstTopRightDiagonal)
// The member with ordinal n is bit n of the two-byte set.
VENDARO_ENUM(TOBLDrawTextStyle, dtDisabled, dtEnabled, dt3DDisabled, dtClip, dtAccelChar, dtAutoSize, dtRectText,
             dtRectGlyph, dtRectGlyphText, dtCalculate, dtRectClip)
using TOBLDrawTextStyles = TSet<TOBLDrawTextStyle>;
VENDARO_ENUM(TOBLGlyphTextFocusStyle, fcControl, fcText, fcGlyph, fcGlyphText, fcNone)
VENDARO_ENUM(TOBLThreeDStyle, tdNone, tdSunken, tdRaised, tdSunkenShadow, tdRaisedShadow, tdPColorSunken,
             tdPColorRaised, tdShadow, tdOutline, tdExtrude, tdExtrudeEnh)
VENDARO_ENUM(TOBLThreeDOrientation, toBottomLeft, toBottomRight, toTopLeft, toTopRight)
VENDARO_ENUM(TOBLDisabledStyle, dsAuto, dsStandard, ds3d, dsNone)
VENDARO_ENUM(TOBLTransparentMode, tpNone, tpRestoreBack, tpTransparentColor, tpRBTranspColor)
VENDARO_ENUM(TOBLBitmapStyle, sbNone, sbAutosize, sbCenter, sbStretch, sbTile, sbKeepAspRatio, sbKeepWidth,
             sbKeepHeight)
VENDARO_ENUM(TOBLDirection, tdRight, tdDown, tdLeft, tdUp)
VENDARO_ENUM(TOBLMeterDirection, mdHorizontal, mdVertical, mdHorizontalReverse, mdVerticalReverse)
VENDARO_ENUM(TOBLMeterTextOptions, toNoText, toCaption, toPercent)

// The value names of the legacy button style, in order; the push button reads its old
// "Style" property with them.
inline constexpr const char* OBLNormalButtonStyleNames[3] = {"nbsAutoDetect", "nbsWin31", "nbsWin40"};

// The TOBLDrawTextStyles bit (dtRectText, dtRectGlyph, dtRectGlyphText) that asks the
// text-and-glyph routine for the focus rectangle of a focus style; 0 for fcControl and fcNone.
int OBLConvertFocusStyle(TOBLGlyphTextFocusStyle style);
