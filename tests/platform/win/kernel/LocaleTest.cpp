#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Locale.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string Item(LCID locale, LCTYPE type)
{
    char buffer[128] = {};
    const int n = GetLocaleInfoA(locale, type, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n - 1)) : std::string("<fail>");
}

struct LocaleCase {
    LCTYPE type;
    const char* italian;
    const char* english;
};

TEST(LocaleTest, ItemsTheLibraryAsksFor)
{
    const LocaleCase cases[] = {
        {LOCALE_ICALENDARTYPE, "1", "1"},      {LOCALE_ICURRDIGITS, "2", "2"},
        {LOCALE_ICURRENCY, "2", "0"},          {LOCALE_IDIGITS, "2", "2"},
        {LOCALE_IFIRSTDAYOFWEEK, "0", "6"},    {LOCALE_IFIRSTWEEKOFYEAR, "0", "0"},
        {LOCALE_ILZERO, "1", "1"},             {LOCALE_IMEASURE, "0", "1"},
        {LOCALE_INEGCURR, "9", "0"},           {LOCALE_INEGNUMBER, "1", "1"},
        {LOCALE_ITIME, "1", "0"},              {LOCALE_S1159, "", "AM"},
        {LOCALE_S2359, "", "PM"},              {LOCALE_SCURRENCY, "\x80", "$"},
        {LOCALE_SDATE, "/", "/"},              {LOCALE_SDECIMAL, ",", "."},
        {LOCALE_SGROUPING, "3;0", "3;0"},      {LOCALE_SLIST, ";", ","},
        {LOCALE_SLONGDATE, "dddd d MMMM yyyy", "dddd, MMMM dd, yyyy"},
        {LOCALE_SMONDECIMALSEP, ",", "."},     {LOCALE_SMONGROUPING, "3;0", "3;0"},
        {LOCALE_SMONTHOUSANDSEP, ".", ","},    {LOCALE_SNEGATIVESIGN, "-", "-"},
        {LOCALE_SPOSITIVESIGN, "", ""},        {LOCALE_SSHORTDATE, "dd/MM/yyyy", "M/d/yyyy"},
        {LOCALE_STHOUSAND, ".", ","},          {LOCALE_STIME, ".", ":"},
        {LOCALE_STIMEFORMAT, "H.mm.ss", "h:mm:ss tt"},
        {LOCALE_SDAYNAME1, "luned\xEC", "Monday"}, {LOCALE_SMONTHNAME1 + 11, "dicembre", "December"},
    };
    for (const LocaleCase& c : cases) {
        EXPECT_EQ(Item(GetThreadLocale(), c.type), c.italian) << std::hex << c.type;
        EXPECT_EQ(Item(LANG_ENGLISH_US, c.type), c.english) << std::hex << c.type;
    }
}

TEST(LocaleTest, DefaultsAreItalian)
{
    EXPECT_EQ(GetSystemDefaultLangID(), 0x0410);
    EXPECT_EQ(GetThreadLocale(), 0x0410u);
    EXPECT_EQ(Item(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL), ",");
    EXPECT_EQ(Item(LOCALE_SYSTEM_DEFAULT, LOCALE_SDECIMAL | LOCALE_NOUSEROVERRIDE), ",");
}

TEST(LocaleTest, SizesAndFailures)
{
    EXPECT_EQ(GetLocaleInfoA(0x0410, LOCALE_SLONGDATE, nullptr, 0), 17);
    char small[4] = "xyz";
    SetLastError(0);
    EXPECT_EQ(GetLocaleInfoA(0x0410, LOCALE_SLONGDATE, small, sizeof small), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(GetLocaleInfoA(0x0410, 0, small, sizeof small), 0) << "item 0 is no item";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
    EXPECT_EQ(GetLocaleInfoA(0x0407, LOCALE_SDECIMAL, small, sizeof small), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(LocaleTest, NumbersOnRequest)
{
    DWORD value = 0;
    EXPECT_EQ(GetLocaleInfoA(0x0410, LOCALE_ICURRDIGITS | LOCALE_RETURN_NUMBER, reinterpret_cast<LPSTR>(&value), 4), 4);
    EXPECT_EQ(value, 2u);
    EXPECT_EQ(GetLocaleInfoA(0x0409, LOCALE_IFIRSTDAYOFWEEK | LOCALE_RETURN_NUMBER, reinterpret_cast<LPSTR>(&value), 4), 4);
    EXPECT_EQ(value, 6u);
    EXPECT_EQ(GetLocaleInfoA(0x0410, LOCALE_ICURRDIGITS | LOCALE_RETURN_NUMBER, nullptr, 0), 4);
    EXPECT_EQ(GetLocaleInfoA(0x0410, LOCALE_ICURRDIGITS | LOCALE_RETURN_NUMBER, reinterpret_cast<LPSTR>(&value), 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(GetLocaleInfoA(0x0410, LOCALE_SDECIMAL | LOCALE_RETURN_NUMBER, reinterpret_cast<LPSTR>(&value), 4), 0)
        << "a text item has no number";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

} // namespace
