#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
}

// A fake clock at 2026-12-10 09:05:03.250 and the default settings.
class DateTimeTest : public ::testing::Test {
protected:
    DateTimeTest() : clock_(At(2026, 12, 10, 9, 5, 3, 250)), use_(clock_), settings_(TFormatSettings()) {}
    TFakeClock clock_;
    TClockOverride use_;
    TFormatSettingsOverride settings_;
};

} // namespace

TEST_F(DateTimeTest, EncodeAndDecodeAgreeWithTheDayNumbering)
{
    struct Case { int y, m, d; double serial; int weekday; };
    const Case cases[] = {
        {1899, 12, 30, 0, 7}, {1899, 12, 31, 1, 1}, {1900, 1, 1, 2, 2}, {1899, 12, 29, -1, 6},
        {2000, 2, 29, 36585, 3}, {2026, 12, 10, 46366, 5}, {1, 1, 1, -693593, 2}, {9999, 12, 31, 2958465, 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        int y = 0, m = 0, d = 0;
        DecodeDate(c.serial, y, m, d);
        EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d);
        EXPECT_EQ(DayOfWeek(c.serial + (c.serial < 0 ? -0.75 : 0.75)), c.weekday); // the time lies away from day zero
    }
    TDateTime out = 123;
    EXPECT_FALSE(TryEncodeDate(2001, 2, 29, out));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, out));
    EXPECT_FALSE(TryEncodeDate(2000, 13, 1, out));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, out));
    EXPECT_FALSE(TryEncodeTime(0, 0, 60, 0, out));
    EXPECT_EQ(out, 123);
    EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(1, 60, 0, 0), EConvertError);
}

TEST_F(DateTimeTest, DecodeTimeRoundsToTheMillisecondAndCarries)
{
    int h = 0, n = 0, s = 0, ms = 0;
    DecodeTime(At(2026, 1, 1, 23, 59, 59, 999), h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 235959999);
    const TDateTime almostMidnight = EncodeDate(2026, 1, 1) + 0.99999999999;
    DecodeTime(almostMidnight, h, n, s, ms);
    EXPECT_EQ(h + n + s + ms, 0);
    int y = 0, m = 0, d = 0;
    DecodeDate(almostMidnight, y, m, d);
    EXPECT_EQ(d, 2);
    DecodeTime(-1.25, h, n, s, ms); // the fraction's magnitude: 06:00 on 1899-12-29
    EXPECT_EQ(h, 6);
}

TEST_F(DateTimeTest, NowDateAndTimeComeFromTheClock)
{
    EXPECT_EQ(Date(), EncodeDate(2026, 12, 10));
    EXPECT_NEAR(Time(), EncodeTime(9, 5, 3, 250), 1e-9);
    clock_.Advance(60000);
    EXPECT_EQ(TimeToStr(Now()), "09:06:03");
    EXPECT_EQ(DateToStr(Now()), "10/12/2026");
}

TEST_F(DateTimeTest, FormatDateTimeLetters)
{
    const TDateTime v = At(2026, 3, 7, 14, 5, 9, 42);
    struct Case { const char* format; const char* text; };
    const Case cases[] = {
        {"d/m/yy", "7/3/26"}, {"dd/mm/yyyy", "07/03/2026"}, {"ddd dddd", "Sat Saturday"},
        {"mmm mmmm", "Mar March"}, {"hh:nn:ss.zzz", "14:05:09.042"}, {"h:m:s z", "14:5:9 42"},
        {"hh:mm", "14:05"}, {"mm-dd", "03-07"}, {"h am/pm", "2 pm"}, {"hh AM/PM", "02 PM"}, {"h a/p", "2 p"},
        {"h ampm", "2 PM"}, {"'d' \"yyyy\" d", "d yyyy 7"}, {"ddddd", "07/03/2026"}, {"dddddd", "Saturday 7 March 2026"},
        {"t|tt", "14:05|14:05:09"}, {"c", "07/03/2026 14:05:09"}, {"", "07/03/2026 14:05:09"}, {"YYYY-MM-DD", "2026-03-07"},
        {"x q", "x q"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, v), AnsiString(c.text)) << c.format;
    EXPECT_EQ(FormatDateTime("h:nn am/pm", At(2026, 1, 1, 0, 30)), "12:30 am");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", At(2026, 1, 1, 12, 0)), "12:00 pm");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 3, 7)), "07/03/2026"); // midnight shows no time
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 3, 7) + EncodeTime(0, 0, 0, 500)), "07/03/2026");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 3, 7) + EncodeTime(0, 0, 1, 0)), "07/03/2026 00:00:01");
}

TEST_F(DateTimeTest, SettingsChangeSeparatorsAndNames)
{
    TFormatSettings italian;
    italian.DateSeparator = '-';
    italian.TimeSeparator = '.';
    italian.ShortDateFormat = "dd/mm/yyyy";
    italian.LongTimeFormat = "h:nn:ss";
    italian.LongMonthNames[2] = "marzo";
    const TDateTime v = At(2026, 3, 7, 8, 5, 9);
    EXPECT_EQ(DateTimeToStr(v, italian), "07-03-2026 8.05.09");
    EXPECT_EQ(FormatDateTime("d mmmm", v, italian), "7 marzo");
    EXPECT_EQ(StrToDateTime("07-03-2026 8.05.09", italian), v);
}

TEST_F(DateTimeTest, StrToDateReadsTheShortDateOrder)
{
    struct Case { const char* format; const char* text; int y, m, d; };
    const Case cases[] = {
        {"dd/mm/yyyy", "07/03/2026", 2026, 3, 7}, {"dd/mm/yyyy", " 7 / 3 / 2026 ", 2026, 3, 7},
        {"dd/mm/yyyy", "7/3", 2026, 3, 7}, {"dd/mm/yyyy", "7/3/26", 2026, 3, 7}, {"dd/mm/yyyy", "7/3/80", 1980, 3, 7},
        {"dd/mm/yyyy", "7/3/0076", 76, 3, 7}, {"m/d/yyyy", "3/7/2026", 2026, 3, 7}, {"yyyy/mm/dd", "2026/03/07", 2026, 3, 7},
    };
    for (const auto& c : cases) {
        TFormatSettings settings;
        settings.ShortDateFormat = c.format;
        EXPECT_EQ(StrToDate(c.text, settings), EncodeDate(c.y, c.m, c.d)) << c.format << " " << c.text;
    }
    const char* bad[] = {"", "7", "7/", "31/02/2026", "7/3/2026x", "7-3-2026", "a/b/c", "7/3/12345", "00/01/2026"};
    for (const char* text : bad) {
        TDateTime value = 5;
        EXPECT_FALSE(TryStrToDate(text, value, FormatSettings())) << text;
        EXPECT_EQ(value, 5);
    }
    try {
        StrToDate("31/02/2026");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'31/02/2026' is not a valid date");
    }
}

TEST_F(DateTimeTest, StrToTimeAndStrToDateTime)
{
    struct Case { const char* text; int h, n, s, ms; };
    const Case cases[] = {
        {"14:05:09", 14, 5, 9, 0}, {"14:05", 14, 5, 0, 0}, {"9", 9, 0, 0, 0}, {" 2:05 PM ", 14, 5, 0, 0},
        {"12:00 am", 0, 0, 0, 0}, {"AM 11:30", 11, 30, 0, 0}, {"14:05:09.042", 14, 5, 9, 42},
    };
    for (const auto& c : cases) EXPECT_NEAR(StrToTime(c.text), EncodeTime(c.h, c.n, c.s, c.ms), 1e-12) << c.text;
    const char* bad[] = {"", "24:00", "12:60", "13:00 PM", "1:2:3:4", "10:", "x"};
    for (const char* text : bad) EXPECT_THROW(StrToTime(text), EConvertError) << text;

    EXPECT_EQ(StrToDateTime("07/03/2026 14:05:09"), At(2026, 3, 7, 14, 5, 9));
    EXPECT_EQ(StrToDateTime("07/03/2026"), EncodeDate(2026, 3, 7));
    EXPECT_NEAR(StrToDateTime("14:05"), EncodeTime(14, 5, 0, 0), 1e-12);
    EXPECT_THROW(StrToDateTime("07/03/2026 25:00"), EConvertError);
    // Written and read back through the texts the settings store keeps.
    const TDateTime v = At(2026, 12, 10, 9, 5, 3);
    EXPECT_EQ(StrToDateTime(DateTimeToStr(v)), v);
    EXPECT_EQ(StrToDate(DateToStr(v)), EncodeDate(2026, 12, 10));
    EXPECT_NEAR(StrToTime(TimeToStr(v)), EncodeTime(9, 5, 3, 0), 1e-12);
}
