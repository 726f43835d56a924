// Unit OBLCustomControl: the base of the library's windowed controls (panels, the own-drawn
// edit, the button panel). It adds transparency over a container's cached background (the
// back-bitmap operations, which a container descendant answers for its children), a flat
// border raised on focus and hover, themed borders, an image-list link, the effects applied
// to the background (BackFX), after-enter and after-exit events that run once the focus
// change is over, mouse enter and exit events, and the forwarding of the theme-changed and
// background-changed messages to the children.
#pragma once

#include "obl/controls/effects/OBLBitmapEffectObject.h"
#include "obl/controls/graphic/OBLBackProvider.h"
#include "obl/core/base/Oblbase.h"
#include "obl/core/containers/oblcont.h"
#include "platform/classlib/Controls.h"

class TOBLCustomControl : public TCustomControl, public TOBLBackProvider {
    VENDARO_CLASS(TOBLCustomControl, TCustomControl)
public:
    explicit TOBLCustomControl(TComponent* AOwner);
    ~TOBLCustomControl() override;

    const TOBLAboutVar& About() const { return about_; }
    void SetAbout(const TOBLAboutVar& Value) { about_ = Value; }
    bool CtlXP() const { return ctlXP_; }
    void SetCtlXP(bool Value);
    bool Transparent() const { return transparent_; }
    // The window is made again: an opaque window erases what lies behind it.
    void SetTransparent(bool Value);
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    bool Entered() const { return entered_; }
    void SetBoolean(bool Value);
    bool MouseAbove() const { return mouseAbove_; }
    void SetMouseAbove(bool Value) { mouseAbove_ = true; }
    bool PassBackFX() const { return passBackFX_; }
    void SetPassBackFX(bool Value);
    bool ErasedByTheme() const { return erasedByTheme_; }
    bool RepaintOnChange() const { return repaintOnChange_; }
    TOBLBitmapEffectObject* BackFX() const { return backFX_.get(); }
    void SetBackFXObject(TOBLBitmapEffectObject* Value) { backFX_->Assign(Value); }
    TOBLCustomImageList* ImageList() const { return imageList_; }
    void SetImageList(TOBLCustomImageList* Value);
    int ImageIndex() const { return imageIndex_; }
    int ListIndex() const { return listIndex_; }
    // Index 0 ImageIndex, 1 ListIndex; negative or unchanged values are ignored.
    void SetIndex(int Index, int Value);
    bool IsImageListStored() const { return imageList_ && (!OBLContainer || imageList_->Owner() != OBLContainer); }

    TNotifyEvent OnAfterEnter() const { return onAfterEnter_; }
    void SetOnAfterEnter(TNotifyEvent Value) { onAfterEnter_ = Value; }
    TNotifyEvent OnAfterExit() const { return onAfterExit_; }
    void SetOnAfterExit(TNotifyEvent Value) { onAfterExit_ = Value; }
    TNotifyEvent OnMouseEnter() const { return onMouseEnter_; }
    void SetOnMouseEnter(TNotifyEvent Value) { onMouseEnter_ = Value; }
    TNotifyEvent OnMouseExit() const { return onMouseExit_; }
    void SetOnMouseExit(TNotifyEvent Value) { onMouseExit_ = Value; }

    // Themed painting: the control can, the application uses themes, they are supported and
    // CtlXP is set.
    bool UseXP();
    // Repaints the rectangle's background: the container's picture when the control copies
    // it, otherwise Color; nothing when themed.
    void RepBack(const TRect& Rect);
    // The control's bounds in the parent window, erased.
    void InvalidateFrame();
    TRect GetScreenRect(const TRect& Rect);
    // The theme's "EDIT" border of the part and state GetXPBevelParams gives, into Rect.
    void BevelXP(TCanvas* Canvas, const TRect& Rect);

    // The back-bitmap operations: a control that keeps no background lends none.
    bool BackBitmapCheck() override { return false; }
    TBitmap* BackBitmap() override { return nullptr; }
    bool BackDrawArea(TCanvas* Canvas, const TRect& Rect, const TPoint& Point, WORD Flags) override { return false; }
    TPoint BackMapPoint(const TPoint& Point) override { return Point; }
    // The palette of the background its container lends, for a control that does not copy
    // its background itself; 0 otherwise.
    virtual HPALETTE BackBitmapPalette();

    // The change handler of the owned objects: repaints while RepaintOnChange.
    virtual void GetChange(TObject* Sender);
    virtual bool GetEmpty() { return true; }
    virtual bool GetReadOnly() { return false; }
    virtual void GetIMLChange(TObject* Sender) { GetChange(Sender); }

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    HPALETTE GetPalette() override { return inherited::GetPalette(); }

    // For descendants: the base's properties under their published names and defaults.
    template <class C>
    static void PublishControl(TClassBuilder<C>& c)
    {
        c.Property("About", &C::About, &C::SetAbout).Stored(false);
        c.Property("Transparent", &C::Transparent, &C::SetTransparent).Default(false);
        c.Property("Flat", &C::Flat, &C::SetFlat).Default(false);
        c.Property("CtlXP", &C::CtlXP, &C::SetCtlXP).Default(true);
        c.Property("BackFX", &C::BackFX, &C::SetBackFXObject);
        c.Property("ImageList", &C::ImageList, &C::SetImageList).Stored(&C::IsImageListStored);
        c.Property("ImageIndex", &C::ImageIndex, [](C& o, int v) { o.SetIndex(0, v); }).Default(0).ReadRange(0);
        c.Property("ListIndex", &C::ListIndex, [](C& o, int v) { o.SetIndex(1, v); }).Default(0).ReadRange(0);
        c.Property("OnAfterEnter", &C::OnAfterEnter, &C::SetOnAfterEnter);
        c.Property("OnAfterExit", &C::OnAfterExit, &C::SetOnAfterExit);
        c.Property("OnMouseEnter", &C::OnMouseEnter, &C::SetOnMouseEnter);
        c.Property("OnMouseExit", &C::OnMouseExit, &C::SetOnMouseExit);
    }

protected:
    virtual void DoThemeChanged();
    virtual bool IsXPPartiallyTransparent() { return true; }
    virtual bool ControlSupportsXP() { return false; }
    virtual bool XPSupportsTransparency();
    virtual void DoForwardBackFX() {}
    virtual void DoFlatChanged() {}
    // The background comes from the container's cached picture.
    virtual bool CheckOptimized() { return transparent_ && BackBitmapCheck(); }
    virtual void FillControl();
    virtual void MouseEnter();
    virtual void MouseExit();
    // The full border (focused or hovered) and the flat one, on the window's frame.
    virtual void RestoreBorderFront();
    virtual void RestoreBorderBack();
    virtual void GetXPBevelParams(AnsiString& ClassName, int& Part, int& State);

    void CreateParams(TCreateParams& Params) override;
    void DefineProperties(TFiler* Filer) override;
    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override { inherited::AlignControls(AControl, Rect); }
    void DoEnter() override;
    void DoExit() override;

    bool Loading() const { return ComponentState().Contains(csLoading); }
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    // The frame that shows an empty control at design time.
    void DrawDashedFrame();

private:
    void BackFXChange(TObject* Sender);
    void EraseBackground(TMessage& Message);
    // The background may have changed: the effects' buffer goes, and the control repaints
    // (a copying one at once, telling its children too).
    void RefreshBackground();
    // The window rectangle at 0,0 and the client area within it.
    TRect WindowFrame(TRect& Interior);
    // The themed border into the window's frame, the interior left alone.
    void FrameXP(HDC WindowDC, const TRect& Frame, const TRect& Interior);

    TOBLAboutVar about_;
    bool ctlXP_ = true;
    bool erasedByTheme_ = false;
    // The theme could not draw the parent background at the last erase.
    bool themeEraseFailed_ = false;
    bool passBackFX_ = false;
    bool mouseAbove_ = false;
    bool entered_ = false;
    bool flat_ = false;
    bool transparent_ = false;
    bool repaintOnChange_ = true;
    TOBLCustomImageList* imageList_ = nullptr;
    int imageIndex_ = 0;
    int listIndex_ = 0;
    TOwned<TOBLChangeLink> link_;
    TNotifyEvent onAfterEnter_, onAfterExit_, onMouseEnter_, onMouseExit_;
    TOwned<TOBLBitmapEffectObject> backFX_;
};

// The index of the first component of a form owner that is an instance of AClass; -1 when
// the owner is no form or AClass is nil.
int OBLCheckForFormComponent(TComponent* AOwner, TClass AClass);
