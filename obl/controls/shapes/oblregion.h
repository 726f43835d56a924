// Unit oblregion: regions of fancy outlines built from a bounding rectangle. Every
// OBLCreate*Rgn returns a new region that the caller owns and deletes.
#pragma once

#include "platform/classlib/Graphics.h"

#include <array>
#include <cstdint>
#include <vector>

// The side of the nose or bubbles, then the end of that side. One byte wide, as every
// enumeration a form description names.
enum TOBLExtPos : std::uint8_t {
    epLeftTop, epTopLeft, epTopRight, epRightTop, epRightBottom, epBottomRight, epBottomLeft, epLeftBottom
};
enum TOBLRegionBorderStyle : std::uint8_t {
    rbNone, rbLowered, rbRaised, rbSingle, rbSingleRaised, rbSingleLowered, rbRaisedpsb, rbLoweredpsb
};

// The outline vertices the builders and the border painters share.
std::array<POINT, 4> OBLDiamondPoints(const TRect& R);
std::array<POINT, 10> OBLStarPoints(const TRect& R);
std::array<POINT, 8> OBLOctagonPoints(const TRect& R);
std::array<POINT, 6> OBLCombPoints(const TRect& R);
// Shrinks R to the body and gives the nose triangle: outer corner, then the base.
std::array<POINT, 3> OBLNosePoints(TRect& R, int NoseSize, TOBLExtPos Pos, int Offset);
// The offset of a round-cornered body's nose from its corner: past the corner's curve.
int OBLRoundNoseOffset(TOBLExtPos Pos, int RoundX, int RoundY);

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

// Border painters: the border of each region shape in the style, drawn with the canvas pen
// (its colour set by the style); the brush stays as the caller set it and so does the clip.
// Lowered styles swap LightColor and ShadowColor; rbSingle is the outline in SingleColor;
// rbSingleRaised/rbSingleLowered add the two colours just inside it; the psb styles draw
// the lower-right half in SingleColor with a line of the lower-right colour inside it.
void OBLFrameRectRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                     TOBLRegionBorderStyle Style);
void OBLFrameEllipticRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor,
                         TColor SingleColor, TOBLRegionBorderStyle Style);
// The lower half of the ellipse (L, 2T - B, R, B), which fills R; nothing above R.
void OBLFrameHalfRoundRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor,
                          TColor SingleColor, TOBLRegionBorderStyle Style);
void OBLFrameDiamondRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                        TOBLRegionBorderStyle Style);
void OBLFrameStarRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                     TOBLRegionBorderStyle Style);
void OBLFrameOctagonRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                        TOBLRegionBorderStyle Style);
void OBLFrameCombRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                     TOBLRegionBorderStyle Style);
// Like their regions, the shields lie at the origin and take only R's size.
void OBLFrameRoundShieldRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor,
                            TColor SingleColor, TOBLRegionBorderStyle Style);
void OBLFrameSharpShieldRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor,
                            TColor SingleColor, TOBLRegionBorderStyle Style);
void OBLFrameRoundRectRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor,
                          TColor SingleColor, TOBLRegionBorderStyle Style, int RoundX, int RoundY);
// Each bubble is framed as an ellipse and kept out of the body's frame.
void OBLFrameThinkBubbleRgn(TCanvas* Canvas, const TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos,
                            TColor LightColor, TColor ShadowColor, TColor SingleColor, TOBLRegionBorderStyle Style);
void OBLFrameEllipticThinkBubbleRgn(TCanvas* Canvas, const TRect& R, int NoseSize, int BubbleCount,
                                    TOBLExtPos Pos, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                                    TOBLRegionBorderStyle Style);
void OBLFrameRoundThinkBubbleRgn(TCanvas* Canvas, const TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos,
                                 int RoundX, int RoundY, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                                 TOBLRegionBorderStyle Style);
