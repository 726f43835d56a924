// Unit OBLCustomPanel: the base of the panels and of the own-drawn edit. A transparent
// panel finds its background in its parent (a library control or the scroll box, which
// lend theirs, or a form that carries a form shape), copies its piece of the parent's
// picture into its own canvas, optionally through its background effects, and lends the
// same picture on to its own transparent children.
#pragma once

#include "obl/controls/windowed/OBLCustomControl.h"

class TOBLCustomPanel : public TOBLCustomControl {
    VENDARO_CLASS(TOBLCustomPanel, TOBLCustomControl)
public:
    explicit TOBLCustomPanel(TComponent* AOwner);

    // A transparent panel whose parent lends a background.
    bool BackBitmapCheck() override;
    // The parent's background (24-bit while effects are on it), or nil.
    TBitmap* BackBitmap() override;
    // Copies the background under R (in the coordinates of a child at P) onto Canvas,
    // through the effects unless they are passed on to the children.
    bool BackDrawArea(TCanvas* Canvas, const TRect& R, const TPoint& P, WORD Flags) override;
    // A client point in the coordinates of the parent's background.
    TPoint BackMapPoint(const TPoint& P) override;

    void WndProc(TMessage& Message) override;

    // Every panel is made in the button face colour: that is the default its descendants
    // publish (a colour equal to it is not written).
    static void Publish(TClassBuilder<TOBLCustomPanel>& c);

protected:
    // Who lends this panel its background: a parent that lends its own (a library control,
    // the scroll box) or the first form shape of a form parent; nil otherwise, and while
    // the parent has no window.
    TOBLBackProvider* ParentBackProvider();

private:
    // The client area in the background's coordinates, past a symmetric window border.
    TRect ClientInBack(TOBLBackProvider* Provider);
    // Copies S of the background, processed by the effects, onto R of Canvas.
    void DrawThroughEffects(TCanvas* Canvas, const TRect& R, const TRect& S, const TRect& B);
};
