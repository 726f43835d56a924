// Registration entries of the standard window classes ("BUTTON", "EDIT", "LISTBOX", "STATIC", "COMBOBOX").
#pragma once

void UserRegisterButtonClass();
void UserRegisterEditClass();
void UserRegisterListBoxClass();
void UserRegisterStaticClass();
void UserRegisterComboBoxClass();
