// The region settings of a shaped window (unit oblregion): the shape of the window
// region (TOBLRegion) and, for the components that show it, the border painted along it
// (TOBLBorderRegion). The object builds the region handle, applies it to its window
// control and paints the border and the drop shadow.
//
// Region handles: the current region is the object's own (CurrentRegion, null for a
// shape without data); the copy kept of the region given to the window is deleted with
// the object; SetWindowRgn hands the window a region of its own.
//
// A user polygon is stored with the object: Points (a point list) and, in a form
// description, the property "PointList" = ( x0 y0 x1 y1 ... ).
#pragma once

#include "obl/controls/shapes/OBLRegionBorder.h"
#include "obl/controls/shapes/OBLRegionMask.h"
#include "obl/controls/shapes/OBLRgnShadow.h"
#include "obl/controls/shapes/oblregion.h"
#include "obl/core/formats/OBLPointList.h"
#include "platform/classlib/Controls.h"

#include <vector>

VENDARO_ENUM(TOBLRegionShape, rsRect, rsRoundRect, rsBitmap, rsNoseRect, rsRoundNoseRect, rsElliptic, rsStar,
             rsRoundShield, rsSharpShield, rsDiamond, rsOctagon, rsComb, rsHalfRound, rsUserRegion, rsThinkBubble,
             rsRoundThinkBubble, rsEllipticThinkBubble, rsPointList)
VENDARO_ENUM_NAMES(TOBLExtPos, epLeftTop, epTopLeft, epTopRight, epRightTop, epRightBottom, epBottomRight,
                   epBottomLeft, epLeftBottom)

class TOBLRegion : public TOBLObject {
    VENDARO_CLASS(TOBLRegion, TOBLObject)
public:
    TOBLRegion();
    ~TOBLRegion() override;

    // From another region: shape, corners, shadow, nose position, border and mask, with
    // one notification; the points and the user region stay.
    void Assign(TPersistent* Source) override;

    TOBLPointList* Points() const { return points_.get(); }
    // Copies the points into the owned list (null: none).
    void SetPoints(TOBLPointList* Value);
    TOBLRegionShape Shape() const { return shape_; }
    void SetShape(TOBLRegionShape Value);
    TOBLExtPos ExtPos() const { return extPos_; }
    void SetExtPos(TOBLExtPos Value);
    TOBLRegionMask* Mask() const { return mask_.get(); }
    void SetMask(TOBLRegionMask* Value) { mask_->Assign(Value); }
    int RoundX() const { return roundX_; }
    void SetRoundX(int Value);
    int RoundY() const { return roundY_; }
    void SetRoundY(int Value);
    TOBLRgnShadow* Shadow() const { return shadow_.get(); }
    void SetShadow(TOBLRgnShadow* Value) { shadow_->Assign(Value); }
    TOBLRegionBorder* Border() const { return border_.get(); }
    void SetBorder(TOBLRegionBorder* Value) { border_->Assign(Value); }

    // The window the region is for (null: none).
    TWinControl* WindowControl() const { return windowControl_; }
    void SetWindowControl(TWinControl* Value) { windowControl_ = Value; }
    int BubbleCount() const { return bubbleCount_; }
    void SetBubbleCount(int Value) { bubbleCount_ = Value; }
    // Added to the left and top of every rectangle the region is built or painted in.
    TPoint RegionOffset() const { return regionOffset_; }
    void SetRegionOffset(TPoint Value) { regionOffset_ = Value; }
    // Keeps the shadow out of the window region and unpainted.
    bool ShadowOff() const { return shadowOff_; }
    void SetShadowOff(bool Value) { shadowOff_ = Value; }
    // The shadow's depth when there is a shadow, else 0.
    int ShadowDepth() const;

    // The region last built; null when the shape has no data.
    HRGN CurrentRegion() const { return current_; }
    // The user region's data (empty: none).
    const std::vector<BYTE>& UserRegionData() const { return userData_; }
    // Stores a copy of the region as the user region (null: none).
    void SetUserRgn(HRGN Rgn);
    // Replaces the points by these and makes their polygon the user region.
    void SetUserPolygonRgn(const TPoint* Points, int Count);
    // A polygon of points makes a user region only while its edges cross at most this many
    // rows in all (the sum of their heights): a window's outline needs some thousands. A
    // polygon beyond it gives none, as one too complex for a region, and the window stays
    // rectangular; the points are kept.
    static constexpr long long PolygonRowLimit = 1 << 16;

    // Builds the current region of the shape in R (nothing while the window control is
    // being destroyed).
    void CreateRegion(const TRect& R);
    // The current region becomes the rectangle R.
    void CreateSpecialRectRgn(const TRect& R);
    // Gives the window control the current region, united with its shadow; without a
    // current region the window is left rectangular.
    void SetRegion();
    // Takes the region given by SetRegion away from the window.
    void FreeRegion();
    // Takes the shadow's depth off R's right and bottom and paints the shadow.
    void DrawShadow(TCanvas* Canvas, TRect& R);
    // Paints shadow and border of the shape in R.
    void PaintRegionShape(TCanvas* Canvas, const TRect& R);

    static void Publish(TClassBuilder<TOBLRegion>& c);

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    void GetPointListChange(TObject* Sender);
    void RebuildPointRegion();
    void ReadPointList(TReader* Reader);
    void WritePointList(TWriter* Writer);
    bool WindowDestroying() const;
    bool Designing() const;
    HRGN BuildRegion(const TRect& R) const;
    HRGN UserRegion() const;
    void PaintPointListBorder(TCanvas* Canvas);
    void PaintNoseBorder(TCanvas* Canvas, const TRect& R, int NoseSize);
    void ReplaceCurrent(HRGN Rgn);

    TOwned<TOBLPointList> points_;
    TOwned<TOBLRegionBorder> border_;
    TOwned<TOBLRegionMask> mask_;
    TOwned<TOBLRgnShadow> shadow_;
    TOBLRegionShape shape_ = rsRoundRect;
    TOBLExtPos extPos_ = epLeftTop;
    int roundX_ = 20;
    int roundY_ = 20;
    TWinControl* windowControl_ = nullptr;
    int bubbleCount_ = 4;
    HRGN current_ = nullptr;
    HRGN inUse_ = nullptr;
    std::vector<BYTE> userData_;
    TPoint regionOffset_{0, 0};
    bool shadowOff_ = false;
};

// The region settings whose border is published (the form shape's).
class TOBLBorderRegion : public TOBLRegion {
    VENDARO_CLASS(TOBLBorderRegion, TOBLRegion)
public:
    TOBLBorderRegion() = default;

    static void Publish(TClassBuilder<TOBLBorderRegion>& c);
};
