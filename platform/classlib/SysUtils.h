// The class library's view of the run time (strings, numbers, dates, Format, exceptions,
// file names and files), plus the locale-aware comparison of Windows-1252 text that sorted
// string lists use.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Arith.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/FloatConv.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/rtl/StrUtils.h"

// Collation of the Windows code page, in three levels: first the letters themselves
// (symbols before digits, digits before letters, accented letters with their base letter:
// "a" < "à" < "b"), then accents (the plain letter first), then case (lower before upper).
// AnsiCompareText stops after the accents, so it ignores case only. Results are <0, 0, >0.
int AnsiCompareText(const AnsiString& a, const AnsiString& b);
int AnsiCompareStr(const AnsiString& a, const AnsiString& b);
bool AnsiSameText(const AnsiString& a, const AnsiString& b);
