// Unit OBLAlphaObject: blends a fill (brush, bitmap, picture or gradient, described by an
// owned fill object) over a bitmap with a given strength. The picture of an image-list
// fill comes from an image list the object follows through a change link; a list of the
// global container is stored as the property "Internal" ("OBLBML30" or "OBLIML30"), a
// list on a form as an ordinary reference.
#pragma once

#include "obl/controls/effects/OBLFillObject.h"
#include "obl/core/base/OBLObject.h"
#include "obl/core/containers/oblcont.h"

class TOBLAlphaListWatcher;

class TOBLAlphaObject : public TOBLObject {
    VENDARO_CLASS(TOBLAlphaObject, TOBLObject)
public:
    TOBLAlphaObject();
    ~TOBLAlphaObject() override;

    // From another alpha object: fill, strength, indexes, the transparent flag and the
    // image list (the link moves to it), with one notification once everything is copied.
    void Assign(TPersistent* Source) override;
    // "{Disabled}", or "{Enabled (grad), strength: 0.600}" (always "." before the decimals).
    AnsiString GetSetStr() override;

    TOBLCustomImageList* ImageList() const { return imageList_; }
    // Moves the link to the new list (none for nil), then takes the picture again; freeing
    // the list drops it the same way.
    void SetImageList(TOBLCustomImageList* Value);
    // The list is one placed on a form (stored as a reference), not a global one.
    bool HasControl() const;
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

    // True unless the image list holds the picture (ListIndex, ImageIndex).
    bool IMLEmpty() const;
    // Copies that picture into the fill's list bitmap (empties it when there is none),
    // then notifies.
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

protected:
    // "Internal" for a list of the global container.
    void DefineProperties(TFiler* Filer) override;

private:
    // Registers the link (and the free notification) with Value instead of the old list.
    void Follow(TOBLCustomImageList* Value);

    TOBLCustomImageList* imageList_ = nullptr;
    float strength_ = 0.6f;
    int imageIndex_ = 0;
    int listIndex_ = 0;
    bool transparent_ = false;
    TOwned<TOBLFillObject> fillObject_;
    TOwned<TOBLChangeLink> link_;
    TOwned<TOBLAlphaListWatcher> watcher_;
};
