// Registration entries of the standard window classes ("BUTTON", "EDIT", "LISTBOX", "STATIC").
#pragma once

void UserRegisterButtonClass();
void UserRegisterEditClass();
void UserRegisterListBoxClass();
void UserRegisterStaticClass();
