// Unit OBLFormStyler: a non-visual component, at most one per form, that paints the owner
// form's title bar itself: a horizontal gradient from black to the caption colour with a
// chosen number of steps, the window icon put back on top and the caption drawn with the
// library's 3D text effects, or everything handed to event handlers. It lets the window
// paint its frame first (WM_NCPAINT, WM_NCACTIVATE) and paints over the caption area;
// unless it uses the form's own caption, it keeps the real caption itself and shows the
// window a blank one.
#pragma once

#include "obl/controls/forms/OBLCustomFormFill.h"
#include "obl/core/draw/OBL3DCaption.h"
#include "platform/classlib/StdCtrls.h"

VENDARO_ENUM(TOBLFormStyleOption, fsAdjustRect, fsUseDefaultFont, fsUseFontColor, fsInactiveGradient,
             fsDrawCaptionEvent, fsUseFormCaption, fsCheckSystemGradient)
using TOBLFormStyleOptions = TSet<TOBLFormStyleOption>;

// fsAdjustRect, fsUseDefaultFont, fsUseFormCaption, fsCheckSystemGradient.
inline constexpr TOBLFormStyleOptions OBLDefaultFormStyleOptions = TOBLFormStyleOptions::FromMask(99);

class TOBLFormStyler : public TOBLWndProcComponent {
    VENDARO_CLASS(TOBLFormStyler, TOBLWndProcComponent)
public:
    // In the designer, an owner that is not a form or already holds a styler raises
    // OBLEOneInstError.
    explicit TOBLFormStyler(TComponent* AOwner);
    ~TOBLFormStyler() override;
    void BeforeDestruction() override;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TOBLColorCount Colors() const { return colors_; }
    void SetColors(TOBLColorCount Value);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    TOBL3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(TOBL3DCaption* Value) { font3D_->Assign(Value); }
    TOBLPaintMode PaintMode() const { return paintMode_; }
    void SetPaintMode(TOBLPaintMode Value);
    TOBLFormStyleOptions Options() const { return options_; }
    // Switching fsUseFormCaption while the form is hooked hands the caption over.
    void SetOptions(TOBLFormStyleOptions Value);
    TOBLPaintEvent OnPaint() const { return onPaint_; }
    void SetOnPaint(TOBLPaintEvent Value) { onPaint_ = Value; }
    TOBLPaintEvent OnCaptionPaint() const { return onCaptionPaint_; }
    void SetOnCaptionPaint(TOBLPaintEvent Value) { onCaptionPaint_ = Value; }

    // The text painted in the title bar.
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& Value);
    // The form was last activated (WM_NCACTIVATE).
    bool FormActive() const { return active_; }
    // The system draws gradient captions itself.
    bool SystemGradient() const { return systemGradient_; }

    // The font or the 3D settings changed.
    void GetChange(TObject* Sender) override;
    // Has the window repaint its frame in its present activation state.
    void NCPaint();
    // Paints the title bar again over what the window shows.
    void ForceNCPaint();
    // Paints the title bar; Full also takes a new copy of the icon area first.
    void PaintTitleBar(bool Full);

    static void Publish(TClassBuilder<TOBLFormStyler>& c);

protected:
    void Init() override;
    void RestoreState() override;
    void WndProc(TMessage& Message) override;

private:
    bool Has(TOBLFormStyleOption Option) const { return options_.Contains(Option); }
    // The frame paint is followed by the styled bar.
    bool PaintsNow() const { return active_ || Has(fsInactiveGradient); }
    // The frame paint is followed by the styled bar, or at least by the caption the styler
    // holds: the window shows a blank one, so an inactive bar would have none.
    bool PaintsAfterFrame() const { return PaintsNow() || holdsCaption_; }
    bool CanPaint();
    void RepaintFrame();
    // The form shows a blank caption and the styler keeps the real one.
    void TakeFormCaption();
    // The form gets its caption back from the styler.
    void GiveFormCaption();
    // While hooked the styler holds the caption when it draws one of its own: without
    // fsUseFormCaption and unless it paints nothing (pcNone).
    void HoldCaptionAsSet();
    void Repaint(bool Full);
    // PaintTitleBar right after the window painted its frame.
    void PaintAfterFrame(bool Full);
    void AnswerText(TMessage& Message);
    void PaintArea(const TRect& Bar, const TRect& Text, WORD AreaFlags, bool Full);
    // Puts the icon of the copied area back over the painted bar at Place.
    void DrawIconBack(const TRect& Place);
    void PaintText(const TRect& Text, bool SmallCaption);
    void SelectCaptionFont(bool SmallCaption);

    TAlignment alignment_ = taLeftJustify;
    TOBLColorCount colors_ = 32;
    TOwned<TFont> font_;
    TOwned<TOBL3DCaption> font3D_;
    TOBLPaintMode paintMode_ = pcControl;
    TOBLFormStyleOptions options_ = OBLDefaultFormStyleOptions;
    TOBLPaintEvent onPaint_;
    TOBLPaintEvent onCaptionPaint_;
    AnsiString caption_;
    bool active_ = false;
    bool systemGradient_ = false;
    TOwned<TBitmap> iconBitmap_;
    TOwned<TCanvas> canvas_;
    bool painting_ = false;
    bool afterFrame_ = false;
    // The form shows the blank caption while the styler holds the real one.
    bool holdsCaption_ = false;
};
