// The program's command line: ParamStr(0) is the program file as a full Windows-form path.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <vector>

// The program start-up hands over main's arguments; argument 0 is replaced by the running
// program file's full path.
void SetCommandLine(int argc, const char* const* argv);
// Tests set the whole list; element 0 stands for the program file.
void SetParams(const std::vector<AnsiString>& params);

// Argument 'index' (0 the program file); empty when out of range. Until a command line is
// set, ParamStr(0) is the running program file.
AnsiString ParamStr(int index);
int ParamCount();
