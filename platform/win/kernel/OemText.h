// Conversion of text between the Windows code page and the OEM code page, in the form of the
// system calls: a source and a destination buffer, which may be the same (in place).
#pragma once

#include "platform/win/WinTypes.h"

BOOL CharToOemA(LPCSTR source, LPSTR destination);
BOOL OemToCharA(LPCSTR source, LPSTR destination);
BOOL CharToOemBuffA(LPCSTR source, LPSTR destination, DWORD length);
BOOL OemToCharBuffA(LPCSTR source, LPSTR destination, DWORD length);
