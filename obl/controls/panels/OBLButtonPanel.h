// Unit OBLButtonPanel: a fill panel holding a row of speed buttons, laid out in a grid of
// equal cells filled left to right and top to bottom; the panel sizes itself to the grid.
#pragma once

#include "obl/controls/graphic/oblsbtn.h"
#include "obl/controls/panels/OBLCustomPanelFill.h"

// Sender (the panel), the speed button clicked, its index.
using TOBLBtnClickEvent = TEvent<TObject*, TObject*, int>;

class TOBLButtonPanel : public TOBLCustomPanelFill, public TOBLSpecialButtonsHost {
    VENDARO_CLASS(TOBLButtonPanel, TOBLCustomPanelFill)
public:
    explicit TOBLButtonPanel(TComponent* AOwner);

    TOBLSpecialButtons* Buttons() const { return buttons_.get(); }
    void SetButtons(TOBLSpecialButtons* Value) { buttons_->Assign(Value); }
    // Index 0 ButtonHeight, 1 ButtonWidth; a new value lays the buttons out again.
    int GetBtnSize(int Index) const { return Index == 0 ? buttonHeight_ : buttonWidth_; }
    void SetBtnSize(int Index, int Value);
    int ButtonHeight() const { return buttonHeight_; }
    int ButtonWidth() const { return buttonWidth_; }
    TOBLUserButtonStyle ButtonStyle() const { return buttonStyle_; }
    void SetBtnStyle(TOBLUserButtonStyle Value);
    TOBLBtnClickEvent OnButtonClick() const { return onButtonClick_; }
    void SetOnButtonClick(TOBLBtnClickEvent Value) { onButtonClick_ = Value; }

    // Adds a button, lays the buttons out and answers its index.
    int AddButton();
    // A new item at Index.
    TOBLSpecialButton* InsertButton(int Index) { return buttons_->Insert(Index); }
    // Places the buttons in the grid and sizes the panel to it; nothing while loading.
    void SetBorders();

    void GetChange(TObject* Sender) override;
    bool GetEmpty() override { return buttons_->Count() == 0; }
    void Loaded() override;
    void WndProc(TMessage& Message) override;
    void SpecialButtonsChanged() override { SetBorders(); }
    // The panel's size is the grid's: new limits size it to the grid again.
    void ConstraintsChanged(TObject* Sender) override
    {
        inherited::ConstraintsChanged(Sender);
        SetBorders();
    }

    static void Publish(TClassBuilder<TOBLButtonPanel>& c);

private:
    // The click of a button: its item's own event first, then OnButtonClick.
    void DoBtnClick(TObject* Sender);
    void InitBtnStyle(TOBLSpeedButton* Btn) { Btn->SetStyle(buttonStyle_); }
    // The panel's size for Columns by Rows cells: the cells, the bevel on both sides and
    // the window's own border.
    TPoint GridSize(int Columns, int Rows);

    TOwned<TOBLSpecialButtons> buttons_;
    int buttonHeight_ = 20;
    int buttonWidth_ = 20;
    TOBLUserButtonStyle buttonStyle_ = ubsAutoDetect;
    TOBLBtnClickEvent onButtonClick_;
    bool placing_ = false;
};
