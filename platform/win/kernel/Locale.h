// Locale queries. The machine is set up for Italian (Italy), LCID 0x0410, Windows-1252;
// US English (0x0409) answers too, for callers that ask for it by number.
#pragma once

#include "platform/win/WinTypes.h"

using LCTYPE = DWORD;

constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LANGID LANG_ITALIAN_ITALY = 0x0410;
constexpr LANGID LANG_ENGLISH_US = 0x0409;

constexpr LCTYPE LOCALE_NOUSEROVERRIDE = 0x80000000;
constexpr LCTYPE LOCALE_USE_CP_ACP = 0x40000000;
constexpr LCTYPE LOCALE_RETURN_NUMBER = 0x20000000;

constexpr LCTYPE LOCALE_ILANGUAGE = 0x01;
constexpr LCTYPE LOCALE_SLANGUAGE = 0x02;
constexpr LCTYPE LOCALE_SENGLANGUAGE = 0x1001;
constexpr LCTYPE LOCALE_SABBREVLANGNAME = 0x03;
constexpr LCTYPE LOCALE_ICOUNTRY = 0x05;
constexpr LCTYPE LOCALE_SCOUNTRY = 0x06;
constexpr LCTYPE LOCALE_IDEFAULTANSICODEPAGE = 0x1004;
constexpr LCTYPE LOCALE_IDEFAULTCODEPAGE = 0x0B;
constexpr LCTYPE LOCALE_SLIST = 0x0C;
constexpr LCTYPE LOCALE_IMEASURE = 0x0D;
constexpr LCTYPE LOCALE_SDECIMAL = 0x0E;
constexpr LCTYPE LOCALE_STHOUSAND = 0x0F;
constexpr LCTYPE LOCALE_SGROUPING = 0x10;
constexpr LCTYPE LOCALE_IDIGITS = 0x11;
constexpr LCTYPE LOCALE_ILZERO = 0x12;
constexpr LCTYPE LOCALE_SCURRENCY = 0x14;
constexpr LCTYPE LOCALE_SMONDECIMALSEP = 0x16;
constexpr LCTYPE LOCALE_SMONTHOUSANDSEP = 0x17;
constexpr LCTYPE LOCALE_SMONGROUPING = 0x18;
constexpr LCTYPE LOCALE_ICURRDIGITS = 0x19;
constexpr LCTYPE LOCALE_ICURRENCY = 0x1B;
constexpr LCTYPE LOCALE_INEGCURR = 0x1C;
constexpr LCTYPE LOCALE_SDATE = 0x1D;
constexpr LCTYPE LOCALE_STIME = 0x1E;
constexpr LCTYPE LOCALE_SSHORTDATE = 0x1F;
constexpr LCTYPE LOCALE_SLONGDATE = 0x20;
constexpr LCTYPE LOCALE_IDATE = 0x21;
constexpr LCTYPE LOCALE_ILDATE = 0x22;
constexpr LCTYPE LOCALE_ITIME = 0x23;
constexpr LCTYPE LOCALE_ICENTURY = 0x24;
constexpr LCTYPE LOCALE_ITLZERO = 0x25;
constexpr LCTYPE LOCALE_IDAYLZERO = 0x26;
constexpr LCTYPE LOCALE_IMONLZERO = 0x27;
constexpr LCTYPE LOCALE_S1159 = 0x28;
constexpr LCTYPE LOCALE_S2359 = 0x29;
constexpr LCTYPE LOCALE_SDAYNAME1 = 0x2A;        // Monday; ..7 = Sunday
constexpr LCTYPE LOCALE_SABBREVDAYNAME1 = 0x31;
constexpr LCTYPE LOCALE_SMONTHNAME1 = 0x38;      // ..12
constexpr LCTYPE LOCALE_SABBREVMONTHNAME1 = 0x44;
constexpr LCTYPE LOCALE_SPOSITIVESIGN = 0x50;
constexpr LCTYPE LOCALE_SNEGATIVESIGN = 0x51;
constexpr LCTYPE LOCALE_ICALENDARTYPE = 0x1009;
constexpr LCTYPE LOCALE_IFIRSTDAYOFWEEK = 0x100C;
constexpr LCTYPE LOCALE_IFIRSTWEEKOFYEAR = 0x100D;
constexpr LCTYPE LOCALE_INEGNUMBER = 0x1010;
constexpr LCTYPE LOCALE_STIMEFORMAT = 0x1003;

LANGID GetSystemDefaultLangID();
LANGID GetUserDefaultLangID();
LCID GetSystemDefaultLCID();
LCID GetUserDefaultLCID();
LCID GetThreadLocale();

// Copies the item's text with its terminating zero and answers the characters written
// including the zero; with size 0 answers the size needed. Failures answer 0 with
// ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_FLAGS (unknown item) or ERROR_INVALID_PARAMETER
// (unknown locale). With LOCALE_RETURN_NUMBER a numeric item is written as a DWORD and the
// answer is 4 (the characters a DWORD takes).
int GetLocaleInfoA(LCID locale, LCTYPE type, LPSTR data, int size);
inline int GetLocaleInfo(LCID locale, LCTYPE type, LPSTR data, int size) { return GetLocaleInfoA(locale, type, data, size); }
