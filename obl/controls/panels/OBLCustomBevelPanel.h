// Unit OBLCustomBevelPanel: a panel with a bevel. Aligned children stay inside the bevel;
// the bevel is painted over the background, hidden while the panel is flat and neither
// focused nor under the mouse, and its Windows kind is the window's own edge styles.
#pragma once

#include "obl/controls/panels/OBLCustomPanel.h"
#include "obl/controls/windowed/OBLBevel.h"

class TOBLCustomBevelPanel : public TOBLCustomPanel {
    VENDARO_CLASS(TOBLCustomBevelPanel, TOBLCustomPanel)
public:
    explicit TOBLCustomBevelPanel(TComponent* AOwner);
    ~TOBLCustomBevelPanel() override;

    TOBLBevel* Bevel() const { return bevel_.get(); }
    // Copies the settings and tells the panel with CM_OBLBEVELCHANGED.
    void SetBevel(TOBLBevel* Value);
    int BevelExt() const { return bevel_->Ext(); }
    int DblBevelExt() const { return 2 * bevel_->Ext(); }
    // The client area inside the bevel.
    TRect BeveledRect();

    // A change of the bevel may recreate the window and moves the children; any change
    // repaints. Nothing happens while the panel is read.
    void GetChange(TObject* Sender) override;
    // No bevel to show.
    bool GetEmpty() override;
    void WndProc(TMessage& Message) override;

protected:
    // After a change of the bevel: the window is made again when its kind of border
    // changed, and the children are laid out inside the new bevel.
    void BevelChanged();
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void DoEnter() override;
    void MouseEnter() override;
    void RestoreBorderFront() override;
    void RestoreBorderBack() override;

private:
    // A Windows bevel is the window's client edge or border.
    bool WindowsBevel() const { return bevel_->Mode() == bmWindows; }

    TOwned<TOBLBevel> bevel_;
};
