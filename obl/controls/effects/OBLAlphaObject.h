// Unit OBLAlphaObject: blends a fill (brush, bitmap, picture or gradient, described by an
// owned fill object) over a bitmap with a given strength.
#pragma once

#include "obl/controls/effects/OBLFillObject.h"
#include "obl/core/base/OBLObject.h"

class TOBLAlphaObject : public TOBLObject {
    VENDARO_CLASS(TOBLAlphaObject, TOBLObject)
public:
    TOBLAlphaObject();
    ~TOBLAlphaObject() override;

    // From another alpha object: fill, strength, indexes and the transparent flag, with
    // one notification once everything is copied.
    void Assign(TPersistent* Source) override;
    // "{Disabled}", or "{Enabled (grad), strength: 0.600}" (always "." before the decimals).
    AnsiString GetSetStr() override;

    // The weight of the bitmap against the fill, 0..1 (values outside are held at the
    // ends); 1 leaves the bitmap as it is.
    float Strength() const { return strength_; }
    void SetStrength(float Value);
    int ImageIndex() const { return imageIndex_; }
    int ListIndex() const { return listIndex_; }
    // Index 0 sets ImageIndex, 1 ListIndex.
    void SetIndex(int Index, int Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    TOBLFillObject* FillObject() const { return fillObject_.get(); }
    // Copies the fill's settings.
    void SetFillObject(TOBLFillObject* Value);

    // True while no picture of an image list stands behind the fill's list bitmap.
    bool IMLEmpty() const;
    // Takes the fill's list bitmap from the image list again, then notifies.
    void GetIMLChange(TObject* Sender);
    // A fill other than sfNone at a strength other than 1.
    bool Enabled() const;
    HPALETTE GetPalette() const;

    // Blends the fill over the whole bitmap, which becomes 24-bit.
    void AlphaBlend(TBitmap* Bitmap);
    // The source's rectangle blended with the fill; its area rectangle (relative to the
    // source rectangle) goes to the target canvas's rectangle.
    void ControlBlend(TBitmap* Source, const TRect& SourceRect, const TRect& AreaRect, TCanvas* Target,
                      const TRect& TargetRect);

    static void Publish(TClassBuilder<TOBLAlphaObject>& c);

private:
    float strength_ = 0.6f;
    int imageIndex_ = 0;
    int listIndex_ = 0;
    bool transparent_ = false;
    TOwned<TOBLFillObject> fillObject_;
};
