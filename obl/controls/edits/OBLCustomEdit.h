// Unit OBLCustomEdit: the single-line edit. It draws the engine's text as one line with its
// selection, scrolls it horizontally to keep the caret inside the text rectangle, turns a
// mouse point into a text position, and adds a password character, a row of small custom
// buttons at the right edge inside the border, and automatic height. It is the base of the
// browse edits.
//
// What is drawn and measured is the display text: the text itself, or the password
// character once per character of it.
#pragma once

#include "obl/controls/edits/OBLBaseEdit.h"
#include "obl/controls/graphic/oblsbtn.h"
#include "obl/core/draw/Oblgraph.h"

// (Sender: the edit, Btn: the clicked speed button, index of its item).
using TOBLOnBtnClick = TEvent<TObject*, TObject*, int>;

// What the edit asks of its linked auto-completion component (TOBLEditAutoComplete, unit
// OBLEditAutoComplete, implements it beside its component base).
class TOBLEditAutoCompleteLink {
public:
    virtual ~TOBLEditAutoCompleteLink() = default;

    // Enabled and completing in the edit itself (amText): Backspace then removes the
    // completed tail together with the character before it.
    virtual bool CompletesInPlace() = 0;
    // After each change of the edit's text.
    virtual void AutoCompleteText(TOBLBaseEdit* Edit, const AnsiString& Text) = 0;
    // The edit's text is offered on Enter (aaControlReturn) / when the edit is left
    // (aaControlExit).
    virtual bool AddsOnReturn() = 0;
    virtual bool AddsOnExit() = 0;
    virtual void Add(TOBLBaseEdit* Edit, const AnsiString& Text) = 0;
};

class TOBLCustomEdit : public TOBLBaseEdit, public TOBLSpecialButtonsHost {
    VENDARO_CLASS(TOBLCustomEdit, TOBLBaseEdit)
public:
    explicit TOBLCustomEdit(TComponent* AOwner);
    ~TOBLCustomEdit() override;

    // #0: the text is shown as it is. Otherwise every character is shown as C.
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char C);
    const AnsiString& DisplayText() const { return displayText_; }
    // The height follows the font (and the width leaves room for the custom buttons).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool B);
    TOBLSpecialButtons* CustomButtons() const { return customButtons_.get(); }
    void SetCustomButtons(TOBLSpecialButtons* B) { customButtons_->Assign(B); }
    int CustomButtonWidth() const { return customButtonWidth_; }
    void SetCustomButtonWidth(int W);
    TOBLUserButtonStyle CustomButtonStyle() const { return customButtonStyle_; }
    void SetCustomButtonStyle(TOBLUserButtonStyle S);
    // The linked auto-completion component (one that implements TOBLEditAutoCompleteLink);
    // cleared when that component goes.
    TComponent* AutoComplete() const { return autoComplete_; }
    void SetAutoComplete(TComponent* A);
    TOBLOnBtnClick OnCustomButtonClick() const { return onCustomButtonClick_; }
    void SetOnCustomButtonClick(TOBLOnBtnClick Value) { onCustomButtonClick_ = Value; }

    // Clicks the custom button Index; nothing for an index outside the buttons.
    void BtnClick(int Index);

    void Loaded() override;
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // A change of the bevel (any of its settings) lays the edit out again and repaints it.
    void GetChange(TObject* Sender) override;

    // ---- Virtual operations added by the single-line edit --------------------------------
    // S := the display text of the current text.
    virtual void CreateSpecialText(AnsiString& S);
    // The height fitted to the font when AutoSize, the width kept wide enough for the
    // custom buttons.
    virtual void CorrectBounds();
    // A custom button was clicked (after its item's own OnClick).
    virtual void DoAClick(TObject* Sender, int Index);
    // Paints behind the text of a descendant's special display; nothing here.
    virtual void DrawSpecialTextBackground(TCanvas* Canvas, const TRect& Rect) {}

    // ---- The engine's abstract operations ------------------------------------------------
    short CalcMouseCol(short Coordinate) override { return 0; }
    short CalcMouseRow(short Coordinate) override { return 0; }
    // Places the caret, scrolling the line when the caret would leave the text rectangle.
    void SetCaret() override;
    void SetNewText() override;
    void GetNewText() override {}
    // Redraws all of the line, whatever the position.
    void DrawText(int Position) override;
    int CalcMousePos(DWORD Point) override;
    // Where DrawText puts the gap: the line's base X for the alignment, less the scroll,
    // plus the display text's width before it (CalcMousePos's measure, so that the point
    // one pixel right of the answer is that character again).
    int PosFromChar(int Count) override;
    // The display text rebuilt, then the engine's redraw and change events.
    void ChangedText(int At) override;
    // A password is never copied, cut or pasted.
    bool AllowCopyPaste() override { return passwordChar_ == '\0'; }
    // Backspace also removes the character before an in-place completion's tail.
    bool BackOneMore() override;
    // The auto-completion completes the changed text (not inside the engine's own
    // operations).
    void FinishedSetSelText() override;
    // Leaves room for the custom buttons at the right and places them there.
    void ModifyPaintRect() override;
    // Each custom button in its place right of PaintRect, in CustomButtonStyle.
    void SetBorders();

    // ---- The custom buttons' host ---------------------------------------------------------
    // The buttons changed: a posted WM_SIZE lays them out again.
    void SpecialButtonsChanged() override;
    void SpecialButtonClicked(TObject* Btn, int Index) override { DoAClick(Btn, Index); }

    static void Publish(TClassBuilder<TOBLCustomEdit>& c);

protected:
    void Paint() override;
    // The display text made again by CreateSpecialText and drawn, for a descendant whose
    // display changed while the text did not: no event fires; the cursor goes to 1 with
    // nothing selected, as when a new text is shown.
    void DisplayChanged();
    // The engine's keys; Enter also offers the text to the auto-completion.
    void GetCommandKey(WORD& Key, TShiftState Shift) override;

private:
    TOBLEditAutoCompleteLink* AutoCompleteLink() const
    {
        return dynamic_cast<TOBLEditAutoCompleteLink*>(autoComplete_);
    }
    // The canvas measures with the edit's font and the 3D caption's character spacing.
    void PrepareMeasuring(TCanvas* Canvas);
    // Left X of the line before scrolling, for the alignment and the display text's width.
    int BaseX(TCanvas* Canvas);
    // Width of the first Count display characters.
    int PrefixWidth(TCanvas* Canvas, int Count);
    // Caret X for the current CursorPos and ScrollOffset; X0 is the base X with the depth
    // offsets, minus 1.
    int CaretX(TCanvas* Canvas, int X0);
    // The caret X of an empty line: at the side the alignment names.
    int EmptyLineCaretX() const;
    // Keeps the caret X inside TextRect for a line whose unscrolled start is Base; true
    // when ScrollOffset changed.
    bool ScrollToCaret(int X, int Base);
    void DrawLine(TCanvas* Canvas);
    // The selection's background from X1 + DX to X2 (the line's right edge at most).
    void FillSelection(TCanvas* Canvas, const TRect& R, int X1, int X2, int DX, int DY);
    // Horizontal and vertical offsets of the selection for the 3D caption's style.
    void DepthOffsets(int& DX, int& DY) const;
    bool SelectionShown() const { return SelLength() > 0 && !SelectionHidden(); }

    char passwordChar_ = '\0';
    AnsiString displayText_;
    bool autoSize_ = false;
    TOwned<TOBLSpecialButtons> customButtons_;
    int customButtonWidth_ = 16;
    TOBLUserButtonStyle customButtonStyle_ = ubsIntegrated;
    TComponent* autoComplete_ = nullptr;
    TOBLOnBtnClick onCustomButtonClick_;
};
