// One line on standard error for whoever supports the user: the program's name and why
// something it was asked to do failed. The dialogs keep their own messages.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <string>

// Writes "<program>: <reason>" and a line break, the reason on one line (its line breaks
// become blanks) and in UTF-8.
void WriteErrorLine(const AnsiString& program, const AnsiString& reason);
// The same for a reason already in UTF-8, such as text that the code page cannot hold.
void WriteErrorLineUtf8(const AnsiString& program, const std::string& reason);

// The message of the exception being handled (called inside a catch block): its text for
// one of the run-time library's or the standard library's exceptions.
AnsiString HandledExceptionMessage();
