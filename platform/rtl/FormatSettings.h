// The format settings that number and date conversions follow. The defaults are fixed (they
// do not come from the host's locale), so text written on one machine reads back on another;
// tests may install other settings for a while.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <array>

struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    // In these formats "/" stands for DateSeparator and ":" for TimeSeparator.
    AnsiString ShortDateFormat = "dd/mm/yyyy";
    AnsiString LongDateFormat = "dddd d mmmm yyyy";
    AnsiString ShortTimeFormat = "hh:nn";
    AnsiString LongTimeFormat = "hh:nn:ss";
    AnsiString TimeAMString = "AM";
    AnsiString TimePMString = "PM";
    std::array<AnsiString, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<AnsiString, 12> LongMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                              "July",    "August",   "September", "October", "November", "December"};
    // Sunday first, as the original's day numbering.
    std::array<AnsiString, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<AnsiString, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    // A two-digit year lies in the century that starts this many years before the current one.
    int TwoDigitYearCenturyWindow = 50;
};

// The settings in force.
const TFormatSettings& FormatSettings();
void SetFormatSettings(const TFormatSettings& settings);
// Back to the fixed defaults.
void ResetFormatSettings();

// Puts settings in force for the guard's lifetime, then restores the previous ones.
class TFormatSettingsOverride {
public:
    explicit TFormatSettingsOverride(const TFormatSettings& settings);
    ~TFormatSettingsOverride();
    TFormatSettingsOverride(const TFormatSettingsOverride&) = delete;
    TFormatSettingsOverride& operator=(const TFormatSettingsOverride&) = delete;

private:
    TFormatSettings previous_;
};
