// Unit OBLCustomFormFill: a non-visual component that takes over the painting of its form's
// client-area background. While enabled it sits in the form's window procedure, answers
// WM_ERASEBKGND itself and invalidates the form when its size, scroll position or palette
// changes. The base paints through its OnPaint event only (pcOwnerDraw); TOBLBack paints
// a picture of an image list (pcControl). The paint mode and the paint event are shared
// with the title-bar styler.
#pragma once

#include "obl/core/app/OBLWndProcComponent.h"
#include "obl/core/containers/OBLContainerComponent.h"
#include "platform/classlib/Graphics.h"

VENDARO_ENUM(TOBLPaintMode, pcNone, pcControl, pcOwnerDraw)
// Sender, the canvas to paint on, the area to paint.
using TOBLPaintEvent = TEvent<TObject*, TCanvas*, const TRect&>;

class TOBLCustomFormFill : public TOBLWndProcComponent {
    VENDARO_CLASS(TOBLCustomFormFill, TOBLWndProcComponent)
public:
    explicit TOBLCustomFormFill(TComponent* AOwner);
    ~TOBLCustomFormFill() override;

    bool DefaultFill() const { return defaultFill_; }
    void SetDefaultFill(bool Value);
    TOBLCustomImageList* ImageList() const { return picture_.ImageList(); }
    void SetImageList(TOBLCustomImageList* Value) { picture_.SetImageList(Value); }
    int ImageIndex() const { return picture_.ImageIndex(); }
    int ListIndex() const { return picture_.ListIndex(); }
    // Index 0 ImageIndex, 1 ListIndex; negative or unchanged values are ignored.
    void SetIndex(int Index, int Value) { picture_.SetIndex(Index, Value); }
    void SetImageIndex(int Value) { SetIndex(0, Value); }
    void SetListIndex(int Value) { SetIndex(1, Value); }
    // The list is one placed on a form (stored as a reference, not as "Internal").
    bool HasControl() const { return picture_.HasControl(); }
    TOBLPaintMode PaintMode() const { return paintMode_; }
    void SetPaintMode(TOBLPaintMode Value);
    TOBLPaintEvent OnPaint() const { return onPaint_; }
    void SetOnPaint(TOBLPaintEvent Value) { onPaint_ = Value; }

    // No list, or the list holds no picture at (ListIndex, ImageIndex).
    bool IMLEmpty() const { return picture_.IMLEmpty(); }
    // The list or an index changed.
    virtual void GetIMLChange(TObject* Sender) { Invalidate(); }
    // Paints the background on the DC; false lets the form erase it itself.
    virtual bool PaintClientArea(HDC DC);
    void GetChange(TObject* Sender) override;
    // Invalidates the form's whole client area with erasing, when the form has a window.
    void Invalidate();

    void Notification(TComponent* AComponent, TOperation Operation) override;

    static void Publish(TClassBuilder<TOBLCustomFormFill>& c);

protected:
    void DefineProperties(TFiler* Filer) override;
    void Init() override;
    void RestoreState() override;
    void WndProc(TMessage& Message) override;
    // The owner form's client area: (0, 0, ClientWidth, ClientHeight).
    TRect FormClientRect() const;

private:
    void ListChange(TObject* Sender) { GetIMLChange(Sender); }
    // The hooked window's client area is repainted, the background left as it is.
    void InvalidateWithoutErasing();

    bool defaultFill_ = true;
    TOBLPaintMode paintMode_ = pcControl;
    TOBLPaintEvent onPaint_;
    TOBLImageListLink picture_;
};
