// Unit OBLFillObject: a shape fill that paints itself: a brush of its own, the placement
// of an untiled bitmap, and options. FillCanvas fills a rectangle; ClipFill does the same
// clipped to it.
#pragma once

#include "obl/controls/effects/OBLShapeFill.h"

VENDARO_ENUM(TOBLFillOption, foFillInner, foQuickDraw, foGrUseBitmap)
using TOBLFillOptions = TSet<TOBLFillOption>;

class TOBLFillObject : public TOBLShapeFill {
    VENDARO_CLASS(TOBLFillObject, TOBLShapeFill)
public:
    TOBLFillObject();
    ~TOBLFillObject() override;

    // From another fill object: brush, options, bitmaps, gradient, style and tile mode
    // (not the alignment and offsets), with one Change; a shape fill as the base does.
    void Assign(TPersistent* Source) override;

    TOBLAlignment Alignment() const { return alignment_; }
    void SetAlignment(TOBLAlignment Value);
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(TBrush* Value);
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    // Index 0 sets OffsetX, 1 OffsetY.
    void SetInteger(int Index, int Value);
    TOBLFillOptions Options() const { return options_; }
    void SetOptions(TOBLFillOptions Value);

    // Whether the fill leaves pixels of the area as they were.
    bool GetTransparent() const;
    // Fills R; Color is the colour of the fill inner and of a hatch brush's gaps. False
    // when nothing of the fill itself was painted (sfNone, an empty bitmap).
    bool FillCanvas(TCanvas* Canvas, const TRect& R, TColor Color);
    // FillCanvas clipped to R (R moved by Offset: low 16 bits x, high 16 bits y, both
    // unsigned) and to whatever clip the canvas already had, which is kept.
    bool ClipFill(TCanvas* Canvas, const TRect& R, TColor Color, int Offset);

    static void Publish(TClassBuilder<TOBLFillObject>& c);

protected:
    TOBLFillStyle DefaultStyle() const override { return sfNone; }

private:
    void FillInner(TCanvas* canvas, const TRect& r, TColor color);
    void FillBrushBitmap(TCanvas* canvas, const TRect& r);
    void FillBrush(TCanvas* canvas, const TRect& r, TColor color);
    bool FillBitmap(TCanvas* canvas, const TRect& r, TColor color);
    bool ShowsPlacement() const;

    TOBLAlignment alignment_ = agTopLeft;
    TOwned<TBrush> brush_;
    int offsetX_ = 0;
    int offsetY_ = 0;
    TOBLFillOptions options_{foFillInner, foGrUseBitmap};
};
