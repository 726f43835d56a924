// Unit OBLShapeFill: what an area is filled with (nothing, a brush, a brush bitmap, a
// bitmap, an image-list picture or a gradient) and how a bitmap is laid out (tile mode),
// with the owned bitmaps and gradient.
#pragma once

#include "obl/controls/effects/OBLGradient.h"
#include "obl/core/base/OBLObject.h"
#include "obl/core/draw/Oblgraph.h"
#include "platform/classlib/Graphics.h"

class TOBLShapeFill : public TOBLObject {
    VENDARO_CLASS(TOBLShapeFill, TOBLObject)
public:
    TOBLShapeFill();
    ~TOBLShapeFill() override;

    // From another shape fill: bitmaps, gradient, style and tile mode, with one Change.
    void Assign(TPersistent* Source) override;
    // "{Brush}", "{Bitmap}", ...; sfBrushBitmap has no word ("{}").
    AnsiString GetSetStr() override;

    TBitmap* Bitmap() const { return bitmap_.get(); }
    // Keeps a copy.
    void SetBitmap(TBitmap* Value);
    TOBLFillStyle Style() const { return style_; }
    void SetFillStyle(TOBLFillStyle Value);
    TOBLGradient* Gradient() const { return gradient_.get(); }
    // Keeps a copy.
    void SetGradient(TOBLGradient* Value);
    TOBLTileMode TileMode() const { return tileMode_; }
    void SetTileMode(TOBLTileMode Value);
    // The picture taken from an image list for sfBitmapList; not announced as a change.
    TBitmap* ListBitmap() const { return listBitmap_.get(); }
    void SetListBitmap(TBitmap* Value);

    // The bitmap the style draws (Bitmap, ListBitmap), else nil.
    TBitmap* GetBitmap() const;
    // Nothing to paint: sfNone, or the style's bitmap is empty.
    bool GetEmpty() const;
    // Whether the fill depends on the area's size (a resize needs a repaint).
    bool GetMustRedraw() const;
    HPALETTE GetPalette() const;

    static void Publish(TClassBuilder<TOBLShapeFill>& c);

protected:
    // The style a new object of the class has; it is not written to a form description.
    virtual TOBLFillStyle DefaultStyle() const { return sfBrush; }
    // Fields copied by Assign, without notification.
    void CopyShapeFill(const TOBLShapeFill& source);

    TOBLFillStyle style_ = sfBrush;
    TOBLTileMode tileMode_ = tmTile;

private:
    bool IsStyleStored() const { return style_ != DefaultStyle(); }

    TOwned<TBitmap> bitmap_;
    TOwned<TBitmap> listBitmap_;
    TOwned<TOBLGradient> gradient_;
};
