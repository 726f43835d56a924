#include "platform/rtl/StrUtils.h"

#include <string_view>

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

int FirstKept(const AnsiString& s)
{
    int i = 1;
    while (i <= s.Length() && IsBlank(s[i])) ++i;
    return i;
}

int LastKept(const AnsiString& s)
{
    int i = s.Length();
    while (i >= 1 && IsBlank(s[i])) --i;
    return i;
}

template <typename Map>
AnsiString MapBytes(const AnsiString& s, Map map)
{
    AnsiString result(s);
    for (int i = 1; i <= result.Length(); ++i) result[i] = map(result[i]);
    return result;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

int CompareMapped(const AnsiString& a, const AnsiString& b, char (*map)(char))
{
    const int common = a.Length() < b.Length() ? a.Length() : b.Length();
    for (int i = 1; i <= common; ++i) {
        const int x = static_cast<unsigned char>(map(a[i]));
        const int y = static_cast<unsigned char>(map(b[i]));
        if (x != y) return x - y;
    }
    return a.Length() - b.Length();
}

char Same(char c) { return c; }

} // namespace

AnsiString Trim(const AnsiString& s)
{
    const int first = FirstKept(s);
    return Copy(s, first, LastKept(s) - first + 1);
}

AnsiString TrimLeft(const AnsiString& s) { return Copy(s, FirstKept(s), s.Length()); }

AnsiString TrimRight(const AnsiString& s) { return Copy(s, 1, LastKept(s)); }

AnsiString UpperCase(const AnsiString& s) { return MapBytes(s, AsciiUpper); }

AnsiString LowerCase(const AnsiString& s) { return MapBytes(s, AsciiLower); }

char AnsiUpperChar(char c)
{
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
    switch (b) {
    case 0x9A: case 0x9C: case 0x9E: return static_cast<char>(b - 0x10); // s, oe, z with caron / ligature
    case 0xFF: return static_cast<char>(0x9F);
    default: return c;
    }
}

char AnsiLowerChar(char c)
{
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
    switch (b) {
    case 0x8A: case 0x8C: case 0x8E: return static_cast<char>(b + 0x10);
    case 0x9F: return static_cast<char>(0xFF);
    default: return c;
    }
}

AnsiString AnsiUpperCase(const AnsiString& s) { return MapBytes(s, AnsiUpperChar); }

AnsiString AnsiLowerCase(const AnsiString& s) { return MapBytes(s, AnsiLowerChar); }

int CompareStr(const AnsiString& a, const AnsiString& b) { return CompareMapped(a, b, Same); }

int CompareText(const AnsiString& a, const AnsiString& b) { return CompareMapped(a, b, AsciiUpper); }

bool SameText(const AnsiString& a, const AnsiString& b)
{
    // Case folding keeps lengths, so texts of two lengths differ without a look at them.
    const std::string& x = a.str();
    const std::string& y = b.str();
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (x[i] != y[i] && AsciiUpper(x[i]) != AsciiUpper(y[i])) return false;
    return true;
}

AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         TReplaceFlags flags)
{
    if (oldPattern.IsEmpty()) return s;
    const bool ignoreCase = flags.Contains(rfIgnoreCase);
    const std::string folded = ignoreCase ? AnsiUpperCase(s).str() : std::string();
    const std::string foldedPattern = ignoreCase ? AnsiUpperCase(oldPattern).str() : std::string();
    const std::string_view haystack = ignoreCase ? std::string_view(folded) : std::string_view(s.str());
    const std::string_view needle = ignoreCase ? std::string_view(foldedPattern) : std::string_view(oldPattern.str());
    if (haystack.find(needle) == std::string_view::npos) return s;
    std::string result;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = haystack.find(needle, from);
        if (at == std::string_view::npos) break;
        result.append(s.str(), from, at - from);
        result += newPattern.str();
        from = at + needle.size();
        if (!flags.Contains(rfReplaceAll)) break;
    }
    result.append(s.str(), from, std::string::npos);
    return AnsiString(std::move(result));
}

AnsiString QuotedStr(const AnsiString& s)
{
    return "'" + StringReplace(s, "'", "''", {rfReplaceAll}) + "'";
}
