#include "platform/rtl/CodePage.h"

#include <array>

namespace {

// Windows-1252 0x80..0x9F; the undefined slots hold the C1 control of the same value.
constexpr char32_t kAnsiHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// OEM 850 0x80..0xFF.
constexpr char32_t kOemHigh[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

char32_t OemCharToUnicode(unsigned char c) { return c < 0x80 ? c : kOemHigh[c - 0x80]; }

// Look-alikes for characters that one of the two code pages lacks.
char BestFit(char32_t code)
{
    switch (code) {
    case 0x201A: return ',';
    case 0x201E: case 0x201C: case 0x201D: return '"';
    case 0x2026: case 0x2022: return '.';
    case 0x2020: case 0x2021: return '+';
    case 0x02C6: return '^';
    case 0x2030: return '%';
    case 0x0160: return 'S';
    case 0x0161: return 's';
    case 0x2039: return '<';
    case 0x203A: return '>';
    case 0x0152: return 'O';
    case 0x0153: return 'o';
    case 0x017D: return 'Z';
    case 0x017E: return 'z';
    case 0x0178: return 'Y';
    case 0x2018: case 0x2019: return '\'';
    case 0x2013: case 0x2014: return '-';
    case 0x02DC: return '~';
    case 0x2122: return 'T';
    case 0x0131: return 'i';
    case 0x2017: return '_';
    default: break;
    }
    if (code >= 0x2500 && code <= 0x257F) {
        if (code == 0x2500 || code == 0x2550) return '-';
        if (code == 0x2502 || code == 0x2551) return '|';
        return '+';
    }
    if (code >= 0x2580 && code <= 0x25A0) return '#';
    return '?';
}

using ByteTable = std::array<unsigned char, 256>;

// Byte-to-byte table from one code page to the other, built from the two code point tables.
ByteTable BuildTable(char32_t (*from)(unsigned char), char32_t (*to)(unsigned char))
{
    ByteTable table{};
    for (int b = 0; b < 256; ++b) {
        const char32_t code = from(static_cast<unsigned char>(b));
        int found = -1;
        for (int t = 0; t < 256 && found < 0; ++t)
            if (to(static_cast<unsigned char>(t)) == code) found = t;
        table[static_cast<std::size_t>(b)] =
            static_cast<unsigned char>(found >= 0 ? found : static_cast<unsigned char>(BestFit(code)));
    }
    return table;
}

AnsiString Translate(const AnsiString& text, const ByteTable& table)
{
    AnsiString result(text);
    for (int i = 1; i <= result.Length(); ++i)
        result[i] = static_cast<char>(table[static_cast<unsigned char>(result[i])]);
    return result;
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes one UTF-8 sequence at 'at'; a malformed one yields U+FFFD and consumes one byte.
char32_t DecodeUtf8(std::string_view s, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(s[at]);
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || at + static_cast<std::size_t>(extra) >= s.size()) {
        ++at;
        return 0xFFFD;
    }
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return 0xFFFD;
        }
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    at += static_cast<std::size_t>(extra) + 1;
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < kSmallest[extra] || code > 0x10FFFF || surrogate ? 0xFFFD : code;
}

} // namespace

char32_t AnsiCharToUnicode(unsigned char c)
{
    return c >= 0x80 && c < 0xA0 ? kAnsiHigh[c - 0x80] : c;
}

bool UnicodeToAnsiChar(char32_t code, char& out)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        out = static_cast<char>(code);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kAnsiHigh[i] == code) {
            out = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

void AppendAnsiAsUtf8(std::string& out, std::string_view in)
{
    // Runs of ASCII, the bulk of any statement or name, are the same bytes in both.
    for (std::size_t at = 0; at < in.size();) {
        std::size_t run = at;
        while (run < in.size() && static_cast<unsigned char>(in[run]) < 0x80)
            ++run;
        out.append(in, at, run - at);
        if (run < in.size())
            AppendUtf8(out, AnsiCharToUnicode(static_cast<unsigned char>(in[run++])));
        at = run;
    }
}

std::string AnsiToUtf8(const AnsiString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.Length()));
    AppendAnsiAsUtf8(out, std::string_view(text.c_str(), static_cast<std::size_t>(text.Length())));
    return out;
}

AnsiString Utf8ToAnsi(std::string_view utf8)
{
    std::string out;
    AppendUtf8AsAnsi(out, utf8);
    return AnsiString(std::move(out));
}

bool AppendUtf8AsAnsi(std::string& out, std::string_view utf8)
{
    bool exact = true;
    out.reserve(out.size() + utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t run = at;
        while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80)
            ++run;
        out.append(utf8, at, run - at);
        at = run;
        if (at == utf8.size())
            break;
        char c = '?';
        if (!UnicodeToAnsiChar(DecodeUtf8(utf8, at), c)) {
            c = '?';
            exact = false;
        }
        out += c;
    }
    return exact;
}

AnsiString AnsiToOem(const AnsiString& text)
{
    static const ByteTable table = BuildTable(AnsiCharToUnicode, OemCharToUnicode);
    return Translate(text, table);
}

AnsiString OemToAnsi(const AnsiString& text)
{
    static const ByteTable table = BuildTable(OemCharToUnicode, AnsiCharToUnicode);
    return Translate(text, table);
}
