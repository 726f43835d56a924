#include "obl/controls/edits/OBLCustomBrowseEdit.h"

TOBLCustomBrowseEdit::TOBLCustomBrowseEdit(TComponent* AOwner) : TOBLCustomEdit(AOwner)
{
    TOBLSpecialButton* button = CustomButtons()->Add();
    SetCustomButtonWidth(18);
    button->SetOnClick(TOBLOnCustomBtnClick(this, &TOBLCustomBrowseEdit::DoOnBrowseClick));
}

void TOBLCustomBrowseEdit::Publish(TClassBuilder<TOBLCustomBrowseEdit>& c)
{
    using C = TOBLCustomBrowseEdit;
    c.Redeclare("OnChange");
    c.Property("OnBeforeBrowse", &C::OnBeforeBrowse, &C::SetOnBeforeBrowse);
    c.Property("OnBrowse", &C::OnBrowse, &C::SetOnBrowse);
}

void TOBLCustomBrowseEdit::DoOnBrowseClick(TObject* Sender, int Index)
{
    if (Assigned(onBeforeBrowse_)) onBeforeBrowse_(this);
    DoBrowse();
    if (Assigned(onBrowse_)) onBrowse_(this);
}
