#include "platform/rtl/NumConv.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/RtlConsts.h"

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Parses the text into a value of 'bits' bits. Decimal values must lie within the signed
// range; hexadecimal ones may use every bit and are taken as the bit pattern.
bool ParseInteger(const AnsiString& s, int bits, std::int64_t& value)
{
    const std::string& text = s.str();
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return false;
    const std::uint64_t hexLimit = bits == 64 ? ~0ull : (1ull << bits) - 1;
    const std::uint64_t decLimit = (1ull << (bits - 1)) - (negative ? 0 : 1);
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = base == 16 ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) return false;
        const std::uint64_t limit = base == 16 ? hexLimit : decLimit;
        if (magnitude > (limit - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base)) return false;
        magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    if (negative) magnitude = ~magnitude + 1;
    value = bits == 64 ? static_cast<std::int64_t>(magnitude)
                       : static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    return true;
}

[[noreturn]] void RaiseInvalidInteger(const AnsiString& s)
{
    throw EConvertError(Format(SInvalidInteger, {s}));
}

} // namespace

AnsiString IntToStr(std::int64_t value) { return AnsiString(std::to_string(value)); }

AnsiString UIntToHex(std::uint64_t value, int digits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return AnsiString(std::move(text));
}

bool TryStrToInt(const AnsiString& s, int& value)
{
    std::int64_t parsed = 0;
    if (!ParseInteger(s, 32, parsed)) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool TryStrToInt64(const AnsiString& s, std::int64_t& value) { return ParseInteger(s, 64, value); }

int StrToInt(const AnsiString& s)
{
    int value = 0;
    if (!TryStrToInt(s, value)) RaiseInvalidInteger(s);
    return value;
}

std::int64_t StrToInt64(const AnsiString& s)
{
    std::int64_t value = 0;
    if (!TryStrToInt64(s, value)) RaiseInvalidInteger(s);
    return value;
}

int StrToIntDef(const AnsiString& s, int defaultValue)
{
    int value = 0;
    return TryStrToInt(s, value) ? value : defaultValue;
}

std::int64_t StrToInt64Def(const AnsiString& s, std::int64_t defaultValue)
{
    std::int64_t value = 0;
    return TryStrToInt64(s, value) ? value : defaultValue;
}
