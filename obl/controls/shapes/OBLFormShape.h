// The form shape (unit oblregion): a non-visual component that gives its owner form's
// window a region of one of the region shapes, a stored bitmap region or a user polygon,
// paints border and shadow along it, fills the background with a fill object or the
// mask's border bitmap, and lets the form be dragged by its client area. The controls
// on the form ask it for the background behind their transparent parts.
//
// Only a form can own one. While the component is disabled, and once it is gone, the
// form is a plain rectangle again; a shape without data leaves it rectangular too.
#pragma once

#include "obl/controls/effects/OBLFillObject.h"
#include "obl/controls/graphic/OBLBackProvider.h"
#include "obl/controls/shapes/OBLRegion.h"
#include "obl/core/app/OBLWndProcComponent.h"
#include "obl/core/containers/oblcont.h"

class TOBLFormWatch;

class TOBLFormShape : public TOBLWndProcComponent, public TOBLBackProvider {
    VENDARO_CLASS(TOBLFormShape, TOBLWndProcComponent)
public:
    // An owner that is not a form, and at design time a second form shape on one form,
    // raise OBLEOneInstError.
    explicit TOBLFormShape(TComponent* AOwner);
    ~TOBLFormShape() override;

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void GetChange(TObject* Sender) override;
    void GetIMLChange(TObject* Sender) { GetChange(Sender); }

    // The user polygon or region becomes the region's user region.
    void SetPolygonShape(const TPoint* Points, int Count);
    void SetRegionShape(HRGN Rgn);
    // Builds the form's window region from the settings and gives it to the window.
    void ReRegion();
    // Paints background, shadow and border on DC (the form's canvas when 0).
    void PaintBorder(HDC DC);

    // The background the controls on the form draw behind their transparent parts.
    bool BackBitmapCheck() override;
    TBitmap* BackBitmap() override;
    TPoint BackMapPoint(const TPoint& P) override { return P; }
    // Copies the area of Dest's size at Origin of the background into Dest; false when
    // there is no background to copy. Flags are not read.
    bool BackDrawArea(TCanvas* Canvas, const TRect& Dest, const TPoint& Origin, WORD Flags) override;
    bool IsFormShape() override { return true; }

    TOBLBorderRegion* Region() const { return region_.get(); }
    void SetRegion(TOBLBorderRegion* Value) { region_->Assign(Value); }
    bool ShowFormCaption() const { return showFormCaption_; }
    void SetShowFormCaption(bool Value);
    bool FormDragable() const { return formDragable_; }
    void SetFormDragable(bool Value) { formDragable_ = Value; }
    bool UseRgnBitmap() const { return useRgnBitmap_; }
    void SetUseRgnBitmap(bool Value);
    TOBLFillObject* FillObject() const { return fillObject_.get(); }
    void SetFillObject(TOBLFillObject* Value) { fillObject_->Assign(Value); }
    TOBLCustomImageList* ImageList() const { return imageList_; }
    void SetImageList(TOBLCustomImageList* Value);
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int Value) { listIndex_ = Value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { imageIndex_ = Value; }

    // The window has a region given by this component.
    bool RegionGiven() const { return regionGiven_; }
    // The form has a window (a first one, or one made anew): unless the component is
    // loading (Loaded hooks it then), disabled or hooked already, it hooks the window and
    // shapes it.
    void FormHasWindow();

    static void Publish(TClassBuilder<TOBLFormShape>& c);

protected:
    // Hooking may make the form's window, whose first messages tell the watch of it: they
    // find the component hooking already.
    void Init() override;
    void WndProc(TMessage& Message) override;
    void EnabledChanged() override;
    void DefineProperties(TFiler* Filer) override;

private:
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    // An image list placed on a form, stored as a reference (not a global list).
    bool HasListControl() const;
    bool ListItemValid() const;
    // The erase handling leaves the background to this component.
    bool PaintsBackground() const;
    TCustomForm* Form() const;
    HWND FormWindow() const;
    void RemoveRegion();
    // Paints the frame pixels the window region takes in around the client area.
    void PaintFrameRing();
    void HitTest(TMessage& Message);

    TOwned<TOBLBorderRegion> region_;
    TOwned<TOBLFillObject> fillObject_;
    TOwned<TBitmap> backBitmap_;
    TOwned<TOBLChangeLink> link_;
    // Watches the form's own dispatch for its window; none at design time.
    TOBLFormWatch* watch_ = nullptr;
    TOBLCustomImageList* imageList_ = nullptr;
    int listIndex_ = 0;
    int imageIndex_ = 0;
    bool showFormCaption_ = true;
    bool formDragable_ = true;
    bool useRgnBitmap_ = true;
    bool regionGiven_ = false;
    bool hooking_ = false;
    bool buttonDown_ = false;
};
