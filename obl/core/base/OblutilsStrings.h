// Unit Oblutils, its text forms: rectangles, points and fonts as the comma-separated text
// the settings store keeps, and the splitter they use. They draw nothing, so they sit
// beside the string helpers, below both the settings store and the drawing routines that
// share them; Oblutils.h includes this header.
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/classlib/Graphics.h"

// The library's default delimiter of text forms.
inline constexpr char OBLTextFormDelimiter = ',';

// Clears the list and adds every piece between delimiters, empty pieces included; nothing
// follows a trailing delimiter. An empty text leaves the list empty; a nil list is ignored.
void OBLParseToStrList(const AnsiString& text, char delimiter, TStrings* list);
// "left,top,right,bottom"; anything but four parts gives (0, 0, 0, 0), a part that is no
// number counts 0.
TRect OBLStringToRect(const AnsiString& text);
// "x,y"; (0, 0) without a comma before the last character.
TPoint OBLStringToPoint(const AnsiString& text);
// "name,size,colour,bold,italic,underline,strikeout". The whole text is checked before
// the font changes: anything but seven parts leaves it alone, and a colour or style part
// that does not convert raises EConvertError with the font unchanged.
void OBLStringToFont(const AnsiString& text, TFont* font);
AnsiString OBLFontToString(TFont* font);
AnsiString OBLPointToString(const TPoint& point);
AnsiString OBLRectToString(const TRect& rect);
// The divisors of the number in ascending order (none for 1); a nil list is ignored.
void OBLGetDivider(TStringList* list, int number);
