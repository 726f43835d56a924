#include "platform/win/kernel/Locale.h"

#include "platform/win/kernel/Errors.h"

#include <cstring>
#include <map>
#include <string>

namespace {

using TLocaleTable = std::map<LCTYPE, std::string>;

void AddNames(TLocaleTable& table, LCTYPE first, std::initializer_list<const char*> names)
{
    LCTYPE item = first;
    for (const char* name : names)
        table[item++] = name;
}

// Texts in Windows-1252: "\x80" is the euro sign, "\xEC" the i with grave accent.
TLocaleTable ItalianTable()
{
    TLocaleTable t{
        {LOCALE_ILANGUAGE, "0410"}, {LOCALE_SLANGUAGE, "Italiano (Italia)"}, {LOCALE_SENGLANGUAGE, "Italian"},
        {LOCALE_SABBREVLANGNAME, "ITA"}, {LOCALE_ICOUNTRY, "39"}, {LOCALE_SCOUNTRY, "Italia"},
        {LOCALE_IDEFAULTANSICODEPAGE, "1252"}, {LOCALE_IDEFAULTCODEPAGE, "850"},
        {LOCALE_SLIST, ";"}, {LOCALE_IMEASURE, "0"}, {LOCALE_SDECIMAL, ","}, {LOCALE_STHOUSAND, "."},
        {LOCALE_SGROUPING, "3;0"}, {LOCALE_IDIGITS, "2"}, {LOCALE_ILZERO, "1"}, {LOCALE_SCURRENCY, "\x80"},
        {LOCALE_SMONDECIMALSEP, ","}, {LOCALE_SMONTHOUSANDSEP, "."}, {LOCALE_SMONGROUPING, "3;0"},
        {LOCALE_ICURRDIGITS, "2"}, {LOCALE_ICURRENCY, "2"}, {LOCALE_INEGCURR, "9"}, {LOCALE_SDATE, "/"},
        {LOCALE_STIME, "."}, {LOCALE_SSHORTDATE, "dd/MM/yyyy"}, {LOCALE_SLONGDATE, "dddd d MMMM yyyy"},
        {LOCALE_IDATE, "1"}, {LOCALE_ILDATE, "1"}, {LOCALE_ITIME, "1"}, {LOCALE_ICENTURY, "1"},
        {LOCALE_ITLZERO, "0"}, {LOCALE_IDAYLZERO, "1"}, {LOCALE_IMONLZERO, "1"}, {LOCALE_S1159, ""},
        {LOCALE_S2359, ""}, {LOCALE_SPOSITIVESIGN, ""}, {LOCALE_SNEGATIVESIGN, "-"},
        {LOCALE_ICALENDARTYPE, "1"}, {LOCALE_IFIRSTDAYOFWEEK, "0"}, {LOCALE_IFIRSTWEEKOFYEAR, "0"},
        {LOCALE_INEGNUMBER, "1"}, {LOCALE_STIMEFORMAT, "H.mm.ss"},
    };
    AddNames(t, LOCALE_SDAYNAME1, {"luned\xEC", "marted\xEC", "mercoled\xEC", "gioved\xEC", "venerd\xEC", "sabato", "domenica"});
    AddNames(t, LOCALE_SABBREVDAYNAME1, {"lun", "mar", "mer", "gio", "ven", "sab", "dom"});
    AddNames(t, LOCALE_SMONTHNAME1, {"gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio", "agosto",
                                     "settembre", "ottobre", "novembre", "dicembre"});
    AddNames(t, LOCALE_SABBREVMONTHNAME1, {"gen", "feb", "mar", "apr", "mag", "giu", "lug", "ago", "set", "ott", "nov", "dic"});
    return t;
}

TLocaleTable EnglishTable()
{
    TLocaleTable t{
        {LOCALE_ILANGUAGE, "0409"}, {LOCALE_SLANGUAGE, "English (United States)"}, {LOCALE_SENGLANGUAGE, "English"},
        {LOCALE_SABBREVLANGNAME, "ENU"}, {LOCALE_ICOUNTRY, "1"}, {LOCALE_SCOUNTRY, "United States"},
        {LOCALE_IDEFAULTANSICODEPAGE, "1252"}, {LOCALE_IDEFAULTCODEPAGE, "437"},
        {LOCALE_SLIST, ","}, {LOCALE_IMEASURE, "1"}, {LOCALE_SDECIMAL, "."}, {LOCALE_STHOUSAND, ","},
        {LOCALE_SGROUPING, "3;0"}, {LOCALE_IDIGITS, "2"}, {LOCALE_ILZERO, "1"}, {LOCALE_SCURRENCY, "$"},
        {LOCALE_SMONDECIMALSEP, "."}, {LOCALE_SMONTHOUSANDSEP, ","}, {LOCALE_SMONGROUPING, "3;0"},
        {LOCALE_ICURRDIGITS, "2"}, {LOCALE_ICURRENCY, "0"}, {LOCALE_INEGCURR, "0"}, {LOCALE_SDATE, "/"},
        {LOCALE_STIME, ":"}, {LOCALE_SSHORTDATE, "M/d/yyyy"}, {LOCALE_SLONGDATE, "dddd, MMMM dd, yyyy"},
        {LOCALE_IDATE, "0"}, {LOCALE_ILDATE, "0"}, {LOCALE_ITIME, "0"}, {LOCALE_ICENTURY, "1"},
        {LOCALE_ITLZERO, "0"}, {LOCALE_IDAYLZERO, "0"}, {LOCALE_IMONLZERO, "0"}, {LOCALE_S1159, "AM"},
        {LOCALE_S2359, "PM"}, {LOCALE_SPOSITIVESIGN, ""}, {LOCALE_SNEGATIVESIGN, "-"},
        {LOCALE_ICALENDARTYPE, "1"}, {LOCALE_IFIRSTDAYOFWEEK, "6"}, {LOCALE_IFIRSTWEEKOFYEAR, "0"},
        {LOCALE_INEGNUMBER, "1"}, {LOCALE_STIMEFORMAT, "h:mm:ss tt"},
    };
    AddNames(t, LOCALE_SDAYNAME1, {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"});
    AddNames(t, LOCALE_SABBREVDAYNAME1, {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"});
    AddNames(t, LOCALE_SMONTHNAME1, {"January", "February", "March", "April", "May", "June", "July", "August",
                                     "September", "October", "November", "December"});
    AddNames(t, LOCALE_SABBREVMONTHNAME1, {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"});
    return t;
}

const TLocaleTable* TableFor(LCID locale)
{
    static const TLocaleTable italian = ItalianTable();
    static const TLocaleTable english = EnglishTable();
    if (locale == LOCALE_SYSTEM_DEFAULT || locale == LOCALE_USER_DEFAULT || locale == LANG_ITALIAN_ITALY)
        return &italian;
    if (locale == LANG_ENGLISH_US)
        return &english;
    return nullptr;
}

// The item as a DWORD in the buffer (its size counted in characters); only numeric items.
int NumberOut(const std::string& text, LPSTR data, int size)
{
    constexpr int kNeeded = static_cast<int>(sizeof(DWORD));
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    if (size == 0)
        return kNeeded;
    if (size < kNeeded) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const DWORD value = static_cast<DWORD>(std::stoul(text));
    std::memcpy(data, &value, sizeof value);
    return kNeeded;
}

} // namespace

LANGID GetSystemDefaultLangID() { return LANG_ITALIAN_ITALY; }
LANGID GetUserDefaultLangID() { return LANG_ITALIAN_ITALY; }
LCID GetSystemDefaultLCID() { return LANG_ITALIAN_ITALY; }
LCID GetUserDefaultLCID() { return LANG_ITALIAN_ITALY; }
LCID GetThreadLocale() { return LANG_ITALIAN_ITALY; }

int GetLocaleInfoA(LCID locale, LCTYPE type, LPSTR data, int size)
{
    const TLocaleTable* table = TableFor(locale);
    if (table == nullptr || size < 0 || (size > 0 && data == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto it = table->find(type & ~(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP | LOCALE_RETURN_NUMBER));
    if (it == table->end()) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    if (type & LOCALE_RETURN_NUMBER)
        return NumberOut(it->second, data, size);
    const int needed = static_cast<int>(it->second.size()) + 1;
    if (size == 0)
        return needed;
    if (size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(data, it->second.c_str(), static_cast<std::size_t>(needed));
    return needed;
}
