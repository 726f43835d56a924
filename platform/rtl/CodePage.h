// Code pages of the 8-bit text: the Windows code page (1252) to and from Unicode and UTF-8,
// and the OEM code page (850) of console and DOS-era files, converted with best-fit
// replacements where a character has no exact counterpart.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <string>
#include <string_view>

// Unicode code point of a Windows-1252 byte. The five bytes the code page leaves undefined
// map to the C1 control with the same value, so every byte survives a round trip.
char32_t AnsiCharToUnicode(unsigned char c);
// The Windows-1252 byte of a code point; false when the code page has none.
bool UnicodeToAnsiChar(char32_t code, char& out);

// Windows-1252 text to UTF-8 (lossless).
std::string AnsiToUtf8(const AnsiString& text);
// The same, appended to `out`.
void AppendAnsiAsUtf8(std::string& out, std::string_view ansi);
// UTF-8 to Windows-1252: characters outside the code page and malformed sequences become '?'.
AnsiString Utf8ToAnsi(std::string_view utf8);
// The same, appended to `out`; false when a '?' took the place of something, so the text
// is not the same as it was.
bool AppendUtf8AsAnsi(std::string& out, std::string_view utf8);

// Windows-1252 to OEM 850 and back, byte for byte. Characters the target lacks get a
// look-alike ("S" for a caron S, "+" for a box corner) or '?' when there is none.
AnsiString AnsiToOem(const AnsiString& text);
AnsiString OemToAnsi(const AnsiString& text);
