// Unit OBLCustomParentPanel: the panel other library controls sit on. It keeps its painted
// background in a cached bitmap, Back, and lends it to its transparent children, which copy
// their piece of it instead of having the panel repaint. The base fills Back with an image
// list's picture, or, for a transparent panel that passes its effects on, with the parent's
// background; descendants fill it their own way (CreateBack).
#pragma once

#include "obl/controls/panels/OBLCustomBevelPanel.h"

class TOBLCustomParentPanel : public TOBLCustomBevelPanel {
    VENDARO_CLASS(TOBLCustomParentPanel, TOBLCustomBevelPanel)
public:
    explicit TOBLCustomParentPanel(TComponent* AOwner);

    // The cached background, the size of the whole control; nil while the panel has
    // nothing of its own to show.
    TBitmap* Back() const { return back_.get(); }
    // Paints nothing here.
    void DrawBack(TCanvas* Canvas, const TRect& R) {}

    // The cache is there, or the panel lends its parent's background.
    bool BackBitmapCheck() override;
    TBitmap* BackBitmap() override;
    // Copies from the cache when there is one: a request for the whole client area copies
    // only the canvas's clip box.
    bool BackDrawArea(TCanvas* Canvas, const TRect& R, const TPoint& P, WORD Flags) override;
    // The cache is in the panel's own coordinates.
    TPoint BackMapPoint(const TPoint& P) override;

    // Any change rebuilds the cache and repaints; the bevel's also relays the children.
    void GetChange(TObject* Sender) override;
    // A new picture is a new background for the children too.
    void GetIMLChange(TObject* Sender) override;
    bool GetEmpty() override;
    HPALETTE GetPalette() override;
    void Loaded() override;
    void WndProc(TMessage& Message) override;

protected:
    // Builds the cache, or drops it when the panel shows nothing of its own. Unless Force,
    // a cache that still holds the client area is kept.
    virtual void CreateBack(bool Force);
    // Whether the image list has no picture at the panel's indexes.
    bool IMLEmpty();
    bool CheckOptimized() override { return BackBitmapCheck(); }
    void DoForwardBackFX() override { GetChange(BackFX()); }
    void Paint() override;

private:
    // The parent's background, through the panel's own copying.
    void CopyParentBack();
    // The picture tiled over the whole cache.
    void DrawPicture();

    TOwned<TBitmap> back_;
};
