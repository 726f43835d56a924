#include "platform/rtl/DateTime.h"

#include "platform/rtl/Arith.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/rtl/StrUtils.h"

#include <chrono>
#include <cmath>
#include <string>

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

// Days between 1970-01-01 and 1899-12-30.
constexpr int kUnixEpoch = 25569;

struct TDayAndTime {
    std::int64_t day;
    std::int64_t ms;
};

TDayAndTime Split(TDateTime value)
{
    const double whole = std::trunc(value);
    std::int64_t day = static_cast<std::int64_t>(whole);
    std::int64_t ms = Round(std::fabs(value - whole) * static_cast<double>(kMsPerDay));
    if (ms >= kMsPerDay) { // rounded up to the next midnight, away from day zero
        ms -= kMsPerDay;
        day += value < 0 ? -1 : 1;
    }
    return {day, ms};
}

std::string TwoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

std::string Padded(int v, std::size_t width)
{
    std::string text = std::to_string(v);
    return text.size() < width ? std::string(width - text.size(), '0') + text : text;
}

// The date-time value with the time fraction pointing away from day zero, as decoding reads it.
TDateTime Combine(TDateTime date, TDateTime time) { return date < 0 ? date - time : date + time; }

} // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date)
{
    if (year < 1 || year > 9999 || day < 1 || day > DaysInMonth(year, month)) return false;
    using namespace std::chrono;
    const year_month_day ymd{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                             std::chrono::day{static_cast<unsigned>(day)}};
    date = static_cast<double>(sys_days{ymd}.time_since_epoch().count() + kUnixEpoch);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& time)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 || millisecond > 999)
        return false;
    time = (((hour * 60 + minute) * 60 + second) * 1000.0 + millisecond) / static_cast<double>(kMsPerDay);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime date = 0;
    if (!TryEncodeDate(year, month, day, date)) throw EConvertError(SDateEncodeError);
    return date;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    TDateTime time = 0;
    if (!TryEncodeTime(hour, minute, second, millisecond, time)) throw EConvertError(STimeEncodeError);
    return time;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    using namespace std::chrono;
    const sys_days days{std::chrono::days{Split(value).day - kUnixEpoch}};
    const year_month_day ymd{days};
    year = static_cast<int>(ymd.year());
    month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    day = static_cast<int>(static_cast<unsigned>(ymd.day()));
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond)
{
    const std::int64_t ms = Split(value).ms;
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    millisecond = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime value)
{
    // Day 0 (1899-12-30) was a Saturday.
    const std::int64_t day = Split(value).day;
    return static_cast<int>(((day % 7) + 7 + 6) % 7) + 1;
}

TDateTime Now() { return CurrentClock().Now(); }

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time()
{
    const TDateTime now = Now();
    return now - std::trunc(now);
}

namespace {

// Writes one FormatDateTime format; nested for the c, ddddd, dddddd, t and tt letters.
class TDateWriter {
public:
    TDateWriter(TDateTime value, const TFormatSettings& settings) : value_(value), settings_(settings)
    {
        DecodeDate(value, year_, month_, day_);
        DecodeTime(value, hour_, minute_, second_, ms_);
    }

    void Write(const std::string& format, int depth = 0)
    {
        const bool twelveHour = HasAmPm(format);
        char lastLetter = 0;
        for (std::size_t i = 0; i < format.size();) {
            const char c = format[i];
            const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (c == '\'' || c == '"') {
                const std::size_t end = format.find(c, i + 1);
                out_.append(format, i + 1, (end == std::string::npos ? format.size() : end) - i - 1);
                i = end == std::string::npos ? format.size() : end + 1;
                continue;
            }
            if (upper == 'A' && AmPm(format, i)) continue;
            std::size_t count = 1;
            while (upper >= 'A' && upper <= 'Z' && i + count < format.size() &&
                   std::toupper(static_cast<unsigned char>(format[i + count])) == upper)
                ++count;
            char token = upper;
            if (token == 'M' && lastLetter == 'H') token = 'N';
            if (upper >= 'A' && upper <= 'Z') lastLetter = upper;
            Token(token, c, count, twelveHour, depth);
            i += token >= 'A' && token <= 'Z' ? count : 1;
        }
    }

    const std::string& Text() const { return out_; }

private:
    static bool HasAmPm(const std::string& format)
    {
        const AnsiString upper = UpperCase(format);
        return Pos("AM/PM", upper) > 0 || Pos("A/P", upper) > 0 || Pos("AMPM", upper) > 0;
    }

    bool IsAfternoon() const { return hour_ >= 12; }

    // Writes the am/pm marker at 'i' and moves past it; false when there is none.
    bool AmPm(const std::string& format, std::size_t& i)
    {
        const auto starts = [&](const char* marker) { return SameText(AnsiString(format.substr(i, std::char_traits<char>::length(marker))), marker); };
        if (starts("am/pm")) {
            const bool lower = format[i] == 'a';
            out_ += IsAfternoon() ? (lower ? "pm" : "PM") : (lower ? "am" : "AM");
            i += 5;
        } else if (starts("a/p")) {
            const bool lower = format[i] == 'a';
            out_ += IsAfternoon() ? (lower ? "p" : "P") : (lower ? "a" : "A");
            i += 3;
        } else if (starts("ampm")) {
            out_ += (IsAfternoon() ? settings_.TimePMString : settings_.TimeAMString).str();
            i += 4;
        } else {
            return false;
        }
        return true;
    }

    void Nested(const AnsiString& format, int depth)
    {
        if (depth < 2) Write(format.str(), depth + 1);
    }

    void Token(char token, char original, std::size_t count, bool twelveHour, int depth)
    {
        switch (token) {
        case 'C':
            Nested(settings_.ShortDateFormat, depth);
            if (hour_ != 0 || minute_ != 0 || second_ != 0) { // milliseconds alone show no time
                out_ += ' ';
                Nested(settings_.LongTimeFormat, depth);
            }
            break;
        case 'D': Day(count, depth); break;
        case 'M':
            if (count >= 4) out_ += settings_.LongMonthNames[static_cast<std::size_t>(month_ - 1)].str();
            else if (count == 3) out_ += settings_.ShortMonthNames[static_cast<std::size_t>(month_ - 1)].str();
            else out_ += count == 2 ? TwoDigits(month_) : std::to_string(month_);
            break;
        case 'Y': out_ += count <= 2 ? TwoDigits(year_ % 100) : Padded(year_, 4); break;
        case 'H': {
            int hour = hour_;
            if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
            out_ += count >= 2 ? TwoDigits(hour) : std::to_string(hour);
            break;
        }
        case 'N': out_ += count >= 2 ? TwoDigits(minute_) : std::to_string(minute_); break;
        case 'S': out_ += count >= 2 ? TwoDigits(second_) : std::to_string(second_); break;
        case 'Z': out_ += count >= 3 ? Padded(ms_, 3) : std::to_string(ms_); break;
        case 'T': Nested(count >= 2 ? settings_.LongTimeFormat : settings_.ShortTimeFormat, depth); break;
        case '/': out_ += settings_.DateSeparator; break;
        case ':': out_ += settings_.TimeSeparator; break;
        default: out_.append(token >= 'A' && token <= 'Z' ? count : 1, original); break;
        }
    }

    void Day(std::size_t count, int depth)
    {
        const std::size_t weekday = static_cast<std::size_t>(DayOfWeek(value_) - 1);
        switch (count) {
        case 1: out_ += std::to_string(day_); break;
        case 2: out_ += TwoDigits(day_); break;
        case 3: out_ += settings_.ShortDayNames[weekday].str(); break;
        case 4: out_ += settings_.LongDayNames[weekday].str(); break;
        case 5: Nested(settings_.ShortDateFormat, depth); break;
        default: Nested(settings_.LongDateFormat, depth); break;
        }
    }

    TDateTime value_;
    const TFormatSettings& settings_;
    int year_ = 0, month_ = 0, day_ = 0, hour_ = 0, minute_ = 0, second_ = 0, ms_ = 0;
    std::string out_;
};

// Reads numbers, separators and markers from the text, skipping blanks between them.
class TScanner {
public:
    explicit TScanner(const AnsiString& s) : text_(s.str()) {}

    void Blanks()
    {
        while (at_ < text_.size() && text_[at_] == ' ') ++at_;
    }
    bool AtEnd()
    {
        Blanks();
        return at_ == text_.size();
    }
    bool Char(char c)
    {
        Blanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    // An unsigned number of up to 'maxDigits' digits; 'digits' tells how many were read.
    bool Number(int& value, int& digits, int maxDigits = 4)
    {
        Blanks();
        value = 0;
        digits = 0;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9' && digits < maxDigits) {
            value = value * 10 + (text_[at_++] - '0');
            ++digits;
        }
        return digits > 0 && !(at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9');
    }
    bool Word(const AnsiString& word)
    {
        Blanks();
        if (word.IsEmpty() || !SameText(AnsiString(text_.substr(at_, static_cast<std::size_t>(word.Length()))), word)) return false;
        at_ += static_cast<std::size_t>(word.Length());
        return true;
    }
    std::size_t Position() const { return at_; }
    void SetPosition(std::size_t at) { at_ = at; }

private:
    std::string text_;
    std::size_t at_ = 0;
};

enum class TDateOrder { DMY, MDY, YMD };

TDateOrder OrderOf(const AnsiString& shortDateFormat)
{
    for (const char c : shortDateFormat.str()) {
        switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'D': return TDateOrder::DMY;
        case 'M': return TDateOrder::MDY;
        case 'Y': return TDateOrder::YMD;
        default: break;
        }
    }
    return TDateOrder::MDY;
}

int CurrentYear()
{
    int year = 0, month = 0, day = 0;
    DecodeDate(Now(), year, month, day);
    return year;
}

int WindowedYear(int year, int window)
{
    int threshold = CurrentYear() - window;
    year += threshold / 100 * 100;
    if (window > 0 && year < threshold) year += 100;
    return year;
}

bool ScanDate(TScanner& scan, TDateTime& date, const TFormatSettings& settings)
{
    int n[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    if (!scan.Number(n[0], digits[0]) || !scan.Char(settings.DateSeparator) || !scan.Number(n[1], digits[1])) return false;
    int count = 2;
    const std::size_t afterTwo = scan.Position();
    if (scan.Char(settings.DateSeparator)) {
        if (!scan.Number(n[2], digits[2])) return false;
        count = 3;
    } else {
        scan.SetPosition(afterTwo);
    }
    const TDateOrder order = OrderOf(settings.ShortDateFormat);
    int year = 0, month = 0, day = 0, yearDigits = 4;
    if (count == 2) {
        year = CurrentYear();
        if (order == TDateOrder::MDY) { month = n[0]; day = n[1]; }
        else if (order == TDateOrder::DMY) { day = n[0]; month = n[1]; }
        else { month = n[0]; day = n[1]; }
    } else if (order == TDateOrder::MDY) {
        month = n[0]; day = n[1]; year = n[2]; yearDigits = digits[2];
    } else if (order == TDateOrder::DMY) {
        day = n[0]; month = n[1]; year = n[2]; yearDigits = digits[2];
    } else {
        year = n[0]; month = n[1]; day = n[2]; yearDigits = digits[0];
    }
    if (yearDigits <= 2) year = WindowedYear(year, settings.TwoDigitYearCenturyWindow);
    return TryEncodeDate(year, month, day, date);
}

// -1 none, 0 morning, 1 afternoon.
int ScanAmPm(TScanner& scan, const TFormatSettings& settings)
{
    if (scan.Word(settings.TimeAMString) || scan.Word("AM")) return 0;
    if (scan.Word(settings.TimePMString) || scan.Word("PM")) return 1;
    return -1;
}

bool ScanTime(TScanner& scan, TDateTime& time, const TFormatSettings& settings)
{
    int marker = ScanAmPm(scan, settings);
    int hour = 0, minute = 0, second = 0, ms = 0, digits = 0;
    if (!scan.Number(hour, digits, 2)) return false;
    if (scan.Char(settings.TimeSeparator)) {
        if (!scan.Number(minute, digits, 2)) return false;
        if (scan.Char(settings.TimeSeparator)) {
            if (!scan.Number(second, digits, 2)) return false;
            if (scan.Char(settings.DecimalSeparator) && !scan.Number(ms, digits, 3)) return false;
        }
    }
    if (marker < 0) marker = ScanAmPm(scan, settings);
    if (marker >= 0) {
        if (hour < 1 || hour > 12) return false;
        hour = hour % 12 + (marker == 1 ? 12 : 0);
    }
    return TryEncodeTime(hour, minute, second, ms, time);
}

[[noreturn]] void RaiseConvert(const char* format, const AnsiString& s) { throw EConvertError(format, {s}); }

} // namespace

AnsiString FormatDateTime(const AnsiString& format, TDateTime value, const TFormatSettings& settings)
{
    TDateWriter writer(value, settings);
    writer.Write(format.IsEmpty() ? std::string("c") : format.str());
    return AnsiString(writer.Text());
}

AnsiString FormatDateTime(const AnsiString& format, TDateTime value) { return FormatDateTime(format, value, FormatSettings()); }

AnsiString DateToStr(TDateTime value, const TFormatSettings& settings) { return FormatDateTime("ddddd", value, settings); }
AnsiString DateToStr(TDateTime value) { return DateToStr(value, FormatSettings()); }
AnsiString TimeToStr(TDateTime value, const TFormatSettings& settings) { return FormatDateTime("tt", value, settings); }
AnsiString TimeToStr(TDateTime value) { return TimeToStr(value, FormatSettings()); }
AnsiString DateTimeToStr(TDateTime value, const TFormatSettings& settings) { return FormatDateTime("c", value, settings); }
AnsiString DateTimeToStr(TDateTime value) { return DateTimeToStr(value, FormatSettings()); }

bool TryStrToDate(const AnsiString& s, TDateTime& value, const TFormatSettings& settings)
{
    TScanner scan(s);
    TDateTime date = 0;
    if (!ScanDate(scan, date, settings) || !scan.AtEnd()) return false;
    value = date;
    return true;
}

bool TryStrToTime(const AnsiString& s, TDateTime& value, const TFormatSettings& settings)
{
    TScanner scan(s);
    TDateTime time = 0;
    if (!ScanTime(scan, time, settings) || !scan.AtEnd()) return false;
    value = time;
    return true;
}

bool TryStrToDateTime(const AnsiString& s, TDateTime& value, const TFormatSettings& settings)
{
    TScanner scan(s);
    TDateTime date = 0;
    TDateTime time = 0;
    if (ScanDate(scan, date, settings)) {
        if (!scan.AtEnd() && (!ScanTime(scan, time, settings) || !scan.AtEnd())) return false;
        value = Combine(date, time);
        return true;
    }
    return TryStrToTime(s, value, settings);
}

TDateTime StrToDate(const AnsiString& s, const TFormatSettings& settings)
{
    TDateTime value = 0;
    if (!TryStrToDate(s, value, settings)) RaiseConvert(SInvalidDate, s);
    return value;
}

TDateTime StrToDate(const AnsiString& s) { return StrToDate(s, FormatSettings()); }

TDateTime StrToTime(const AnsiString& s, const TFormatSettings& settings)
{
    TDateTime value = 0;
    if (!TryStrToTime(s, value, settings)) RaiseConvert(SInvalidTime, s);
    return value;
}

TDateTime StrToTime(const AnsiString& s) { return StrToTime(s, FormatSettings()); }

TDateTime StrToDateTime(const AnsiString& s, const TFormatSettings& settings)
{
    TDateTime value = 0;
    if (!TryStrToDateTime(s, value, settings)) RaiseConvert(SInvalidDateTime, s);
    return value;
}

TDateTime StrToDateTime(const AnsiString& s) { return StrToDateTime(s, FormatSettings()); }
