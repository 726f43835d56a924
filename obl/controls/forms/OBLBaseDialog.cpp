#include "obl/controls/forms/OBLBaseDialog.h"

#include "obl/core/draw/Oblutils.h"

TOBLBaseDialog::TOBLBaseDialog(TComponent* AOwner) : TOBLContainerComponent(AOwner), hints_(new TStringList) {}

namespace {

TOBLFormStyler* FirstStyler(TCustomForm* form)
{
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* styler = dynamic_cast<TOBLFormStyler*>(form->Components(i)))
            return styler;
    return nullptr;
}

} // namespace

void TOBLBaseDialog::SetCaptionTitle(const AnsiString& Value)
{
    captionTitle_ = Value;
    if (currentDialog_ != nullptr)
        Retitle(currentDialog_, Value);
}

// A styler that keeps the caption itself takes the new title; otherwise the form does
// and the styler paints it again.
void TOBLBaseDialog::Retitle(TCustomForm* Dialog, const AnsiString& Caption)
{
    TOBLFormStyler* styler = FirstStyler(Dialog);
    if (styler != nullptr && styler->Hooked() && !styler->Options().Contains(fsUseFormCaption)) {
        styler->SetCaption(Caption);
        return;
    }
    Dialog->SetCaption(Caption);
    if (styler != nullptr)
        styler->ForceNCPaint();
}

TModalResult TOBLBaseDialog::BaseExecute(TCustomForm* Dialog, TControl* Relative, TControl* HelpButton,
                                         TOBLFormStyler* Styler, TOBLBack* Back, const AnsiString& DefaultCaption)
{
    // The dialog is current only while it is shown, however showing it ends.
    currentDialog_ = Dialog;
    struct Clear {
        TCustomForm*& current;
        ~Clear() { current = nullptr; }
    } clear{currentDialog_};

    Retitle(Dialog, captionTitle_.IsEmpty() ? DefaultCaption : captionTitle_);
    ShowHelpButton(HelpButton);
    onCustomize_(Dialog);
    PlaceDialog(Dialog, Relative);
    if (effect_ == deExplode)
        OBLExplodeForm(Dialog);
    else if (effect_ == deExplodeExt)
        OBLExplodeForm2(Dialog);
    ApplyStyler(Styler);
    ApplyBack(Back);
    return Dialog->ShowModal();
}

// Without a help caption the button stays hidden, whatever handler is assigned.
void TOBLBaseDialog::ShowHelpButton(TControl* HelpButton)
{
    if (HelpButton == nullptr)
        return;
    if (helpCaption_.IsEmpty()) {
        HelpButton->SetVisible(false);
        return;
    }
    HelpButton->SetCaption(helpCaption_);
    HelpButton->SetVisible(true);
    if (onHelpClick_)
        HelpButton->SetOnClick(onHelpClick_);
}

// A control inside a form is placed against its place on the screen.
void TOBLBaseDialog::PlaceDialog(TCustomForm* Dialog, TControl* Relative)
{
    TRect target;
    if (ComponentState().Contains(csDesigning)) {
        target = OBLDlgGetTargetRect(brScreenWorkArea);
    } else if (Relative != nullptr) {
        target = Relative->BoundsRect();
        if (Relative->Parent() != nullptr) {
            const TPoint origin = Relative->Parent()->ClientToScreen(Point(0, 0));
            OffsetRect(&target, origin.x, origin.y);
        }
    } else {
        target = OBLDlgGetTargetRect(relatePos_);
    }
    OBLPositionWindow(Dialog->Handle(), target, position_, false);
}

void TOBLBaseDialog::ApplyStyler(TOBLFormStyler* Styler)
{
    if (Styler == nullptr)
        return;
    Styler->SetEnabled(useStyler_);
    if (useStyler_)
        Styler->SetColors(captionColors_);
    Styler->SetOptions(Styler->Options() + TOBLFormStyleOptions{fsCheckSystemGradient});
}

void TOBLBaseDialog::ApplyBack(TOBLBack* Back)
{
    if (Back == nullptr || ImageList() == nullptr)
        return;
    Back->SetImageList(ImageList());
    Back->SetListIndex(ListIndex());
    Back->SetImageIndex(ImageIndex());
    Back->SetEnabled(true);
}
