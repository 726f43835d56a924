// Unit OBLBaseControl: the windowless control with a picture source and a background:
// the image-list triple (list, entry, picture) followed through a change link, the
// effects applied to the background (BackFX), and the mapping of the control's points
// into the background its container keeps.
#pragma once

#include "obl/controls/effects/OBLBitmapEffectObject.h"
#include "obl/controls/graphic/OBLControl.h"
#include "obl/core/containers/oblcont.h"

class TOBLBaseControl : public TOBLControl {
    VENDARO_CLASS(TOBLBaseControl, TOBLControl)
public:
    explicit TOBLBaseControl(TComponent* AOwner);
    ~TOBLBaseControl() override;

    TOBLCustomImageList* ImageList() const { return imageList_; }
    // Moves the change link to the new list and reloads.
    void SetImageList(TOBLCustomImageList* Value);
    int ImageIndex() const { return imageIndex_; }
    int ListIndex() const { return listIndex_; }
    // Index 0 ImageIndex, 1 ListIndex; negative or unchanged values are ignored, a change
    // reloads when a list is set.
    void SetIndex(int Index, int Value);
    // Stores the picture index as it is, telling no one.
    void SetImageIndex(int Value) { imageIndex_ = Value; }
    TOBLBitmapEffectObject* BackFX() const { return backFX_.get(); }
    void SetBackFX(TOBLBitmapEffectObject* Value) { backFX_->Assign(Value); }

    // No list, or the list has no such picture.
    bool IMLEmpty();
    // The list is stored by reference: it is set and not one of the global container's.
    bool IsImageListStored() const;
    // Both corners from client to screen coordinates.
    TRect GetScreenRect(const TRect& Rect);
    // The point of the control's client area in the coordinates of the bitmap its
    // container keeps (one level: the container's own position).
    TPoint BackMapPoint(int X, int Y);

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

    // For descendants that publish the picture source: "ImageList" stored only for a list
    // on a form, "ImageIndex" and "ListIndex" with default 0.
    template <class C>
    static void PublishImageList(TClassBuilder<C>& c)
    {
        c.Property("ImageList", &C::ImageList, &C::SetImageList).Stored(&C::IsImageListStored);
        c.Property("ImageIndex", &C::ImageIndex, [](C& o, int v) { o.SetIndex(0, v); }).Default(0).ReadRange(0);
        c.Property("ListIndex", &C::ListIndex, [](C& o, int v) { o.SetIndex(1, v); }).Default(0).ReadRange(0);
    }

protected:
    // Whether the control copies its background from the container's back bitmap.
    virtual bool CheckOptimized() { return false; }
    // The list or an index changed.
    virtual void GetIMLChange(TObject* Sender) { GetChange(Sender); }

    void DefineProperties(TFiler* Filer) override;

private:
    void ListChanged(TObject* Sender) { GetIMLChange(Sender); }

    TOBLCustomImageList* imageList_ = nullptr;
    int imageIndex_ = 0;
    int listIndex_ = 0;
    TOwned<TOBLChangeLink> link_;
    TOwned<TOBLBitmapEffectObject> backFX_;
};
