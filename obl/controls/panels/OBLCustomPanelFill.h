// Unit OBLCustomPanelFill: the parent panel whose cached background comes from a fill
// object (passed through the background effects) and which draws its caption with caption
// effects, rotated when asked, at one of nine places inside the bevel.
#pragma once

#include "obl/controls/effects/OBLFillObject.h"
#include "obl/controls/panels/OBLCustomParentPanel.h"
#include "obl/core/draw/OBLFXCaption.h"

// The face a rotated caption switches to when the control's font cannot be rotated.
inline constexpr const char* OBL_DEFAULTFONT = "Arial";

class TOBLCustomPanelFill : public TOBLCustomParentPanel {
    VENDARO_CLASS(TOBLCustomPanelFill, TOBLCustomParentPanel)
public:
    explicit TOBLCustomPanelFill(TComponent* AOwner);
    ~TOBLCustomPanelFill() override;

    TOBLAlignment Alignment() const { return alignment_; }
    void SetAlignment(TOBLAlignment Value);
    TOBLFxCaption* CaptionFx() const { return captionFx_.get(); }
    void SetCaptionFx(TOBLFxCaption* Value) { captionFx_->Assign(Value); }
    TOBLFillObject* FillObject() const { return fillObject_.get(); }
    void SetFillObject(TOBLFillObject* Value) { fillObject_->Assign(Value); }
    bool TransparentBorder() const { return transparentBorder_; }
    void SetTransparentBorder(bool Value);

    // Rebuilds the cache for the fill or the effects; a caption effect checks the font;
    // the children hear of what they show.
    void GetChange(TObject* Sender) override;
    void GetIMLChange(TObject* Sender) override;
    bool GetEmpty() override;
    HPALETTE GetPalette() override;
    void WndProc(TMessage& Message) override;

protected:
    void CreateBack(bool Force) override;
    virtual void DrawCaption(const TRect& R, TOBLAlignment Alignment);
    void Paint() override;
    void Resize() override;

private:
    // Fills Back from the fill object, or for a transparent panel that passes its effects
    // on, from the parent's background; false when the parent lends none.
    bool FillBack();
    // A rotated caption needs a TrueType face: the font switches to the default one.
    void CheckCaptionFont();
    // CM_FONTCHANGED to every child, which keeps following the panel's font if it did.
    void NotifyFontChanged();

    TOBLAlignment alignment_ = agCenter;
    TOwned<TOBLFxCaption> captionFx_;
    TOwned<TOBLFillObject> fillObject_;
    bool transparentBorder_ = false;
};
