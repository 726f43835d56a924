// Dates and times as TDateTime (days since 1899-12-30 plus the fraction of the day), read
// from the installed clock and shown or parsed with the format settings.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/FormatSettings.h"

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Years 1..9999; hours 0..23, minutes and seconds 0..59, milliseconds 0..999.
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& time);
// Raise EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
// The day is the integral part; the time is the fraction's magnitude, to the nearest ms.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
// 1 for Sunday .. 7 for Saturday.
int DayOfWeek(TDateTime value);

// The installed clock's date and time, its date alone (midnight) and its time alone.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Format letters (either case): c (short date, then long time unless midnight), d dd ddd
// dddd ddddd (short date) dddddd (long date), m mm mmm mmmm (minutes right after an hour),
// yy yyyy, h hh, n nn, s ss, z zzz, t (short time) tt (long time), am/pm a/p ampm (12-hour
// clock), "/" date and ":" time separator, text in single or double quotes as it stands.
AnsiString FormatDateTime(const AnsiString& format, TDateTime value);
AnsiString FormatDateTime(const AnsiString& format, TDateTime value, const TFormatSettings& settings);
AnsiString DateToStr(TDateTime value);
AnsiString DateToStr(TDateTime value, const TFormatSettings& settings);
AnsiString TimeToStr(TDateTime value);
AnsiString TimeToStr(TDateTime value, const TFormatSettings& settings);
AnsiString DateTimeToStr(TDateTime value);
AnsiString DateTimeToStr(TDateTime value, const TFormatSettings& settings);

// Dates: two or three numbers separated by DateSeparator in the order of ShortDateFormat;
// without a year the current one; a year of one or two digits in the century window.
// Times: hour[:minute[:second[<decimal separator>ms]]] with an optional AM/PM marker.
// Blanks around and between the parts are skipped. Failures raise EConvertError.
bool TryStrToDate(const AnsiString& s, TDateTime& value, const TFormatSettings& settings);
bool TryStrToTime(const AnsiString& s, TDateTime& value, const TFormatSettings& settings);
bool TryStrToDateTime(const AnsiString& s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToDate(const AnsiString& s);
TDateTime StrToDate(const AnsiString& s, const TFormatSettings& settings);
TDateTime StrToTime(const AnsiString& s);
TDateTime StrToTime(const AnsiString& s, const TFormatSettings& settings);
TDateTime StrToDateTime(const AnsiString& s);
TDateTime StrToDateTime(const AnsiString& s, const TFormatSettings& settings);
