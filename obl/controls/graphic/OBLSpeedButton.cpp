#include "obl/controls/graphic/OBLSpeedButton.h"

void TOBLSpeedButton::Publish(TClassBuilder<TOBLSpeedButton>& c)
{
    using C = TOBLSpeedButton;
    c.Property("AllowAllUp", &C::AllowAllUp, &C::SetAllowAllUp).Default(false);
    c.Property("GroupIndex", &C::GroupIndex, &C::SetGroupIndex).Default(0);
    c.Property("MultiLine", &C::MultiLine, &C::SetMultiLine).Default(false);
    c.Property("Pressed", &C::Pressed, &C::SetPressed).Default(false);
    c.Property("DropDownCombo", &C::DropDownCombo, &C::SetDropDownCombo).Default(false);
    c.Property("DropDownComboWidth", &C::DropDownComboWidth, &C::SetDropDownComboWidth).Default(12);
    c.Property("DropDownMenu", &C::DropDownMenu, &C::SetDropDown);
    c.Property("DropDownIndent", &C::DropDownIndent, &C::SetDropDownIndent).Default(0);
    c.Property("DropDownRight", &C::DropDownRight, &C::SetDropDownRight).Default(false);
    c.Property("Style", &C::Style, &C::SetStyle).Default(ubsAutoDetect);
}
