#include "obl/controls/buttons/OBLButton.h"

void TOBLButton::Publish(TClassBuilder<TOBLButton>& c)
{
    c.Property("DropDownMenu", &TOBLButton::DropDownMenu, &TOBLButton::SetDropDownMenu);
    c.Property("DropDownIndent", &TOBLButton::DropDownIndent, &TOBLButton::SetDropDownIndent).Default(0);
    c.Property("DropDownRight", &TOBLButton::DropDownRight, &TOBLButton::SetDropDownRight).Default(false);
    c.Property("OnDropDown", &TOBLButton::OnDropDown, &TOBLButton::SetOnDropDown);
}

void OBLButtonInitialization()
{
    if (!GetClass(TOBLButton::StaticClassName)) RegisterClass(TOBLButton::StaticClass());
}
