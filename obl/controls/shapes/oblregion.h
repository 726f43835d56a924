// Unit oblregion: regions of fancy outlines built from a bounding rectangle. Every
// OBLCreate*Rgn returns a new region that the caller owns and deletes.
#pragma once

#include "platform/classlib/Graphics.h"

#include <array>
#include <vector>

// The side of the nose or bubbles, then the end of that side.
enum TOBLExtPos {
    epLeftTop, epTopLeft, epTopRight, epRightTop, epRightBottom, epBottomRight, epBottomLeft, epLeftBottom
};
enum TOBLRegionBorderStyle {
    rbNone, rbLowered, rbRaised, rbSingle, rbSingleRaised, rbSingleLowered, rbRaisedpsb, rbLoweredpsb
};

// The outline vertices the builders and the border painters share.
std::array<POINT, 4> OBLDiamondPoints(const TRect& R);
std::array<POINT, 10> OBLStarPoints(const TRect& R);
std::array<POINT, 8> OBLOctagonPoints(const TRect& R);
std::array<POINT, 6> OBLCombPoints(const TRect& R);
// Shrinks R to the body and gives the nose triangle: outer corner, then the base.
std::array<POINT, 3> OBLNosePoints(TRect& R, int NoseSize, TOBLExtPos Pos, int Offset);

struct TOBLBubble {
    int X, Y, Diameter;
};
// Shrinks R to the body and gives the n + 2 bubbles, smallest (at the outer corner) first;
// a count below 1 counts as 1.
std::vector<TOBLBubble> OBLThinkBubbles(TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos);

HRGN OBLCreateDiamondRgn(const TRect& R);
HRGN OBLCreateStarRgn(const TRect& R);
HRGN OBLCreateOctagonRgn(const TRect& R);
HRGN OBLCreateCombRgn(const TRect& R);
// The shields lie at the origin and depend only on R's size.
HRGN OBLCreateRoundShieldRgn(const TRect& R);
HRGN OBLCreateSharpShieldRgn(const TRect& R);
HRGN OBLCreateNoseRectRgn(const TRect& R, int NoseSize, TOBLExtPos Pos);
HRGN OBLCreateRoundNoseRectRgn(const TRect& R, int NoseSize, int RoundX, int RoundY, TOBLExtPos Pos);
HRGN OBLCreateThinkBubbleRgn(const TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos);
HRGN OBLCreateEllipticThinkBubbleRgn(const TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos);
HRGN OBLCreateRoundThinkBubbleRgn(const TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos, int RoundX,
                                  int RoundY);

// Paints the diamond's border with the canvas pen; the brush stays as the caller set it.
void OBLFrameDiamondRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                        TOBLRegionBorderStyle Style);
