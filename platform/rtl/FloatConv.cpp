#include "platform/rtl/FloatConv.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/RtlConsts.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>
#include <vector>

namespace {

// A rounded value as significant digits: value = 0.d1d2d3... x 10^exponent.
// Trailing zeros are dropped; zero has no digits.
struct TDecimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

constexpr int kMaxPrecision = 18;

void DropTrailingZeros(TDecimal& d)
{
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.exponent = 0;
}

// The value's first 18 significant digits (as the run time's extended-precision conversion).
TDecimal Digits18(double value)
{
    TDecimal d;
    d.negative = std::signbit(value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kMaxPrecision - 1, std::fabs(value));
    const std::string text = buffer;
    const std::size_t e = text.find('e');
    d.digits = text.substr(0, 1) + text.substr(2, e - 2);
    d.exponent = std::atoi(text.c_str() + e + 1) + 1;
    DropTrailingZeros(d);
    return d;
}

// Keeps 'count' significant digits, rounding a dropped half away from zero.
TDecimal RoundDigits(TDecimal d, int count)
{
    if (count >= static_cast<int>(d.digits.size())) return d;
    if (count < 0 || (count == 0 && d.digits[0] < '5')) {
        d.digits.clear();
        d.exponent = 0;
        return d;
    }
    const bool up = d.digits[static_cast<std::size_t>(count)] >= '5';
    d.digits.resize(static_cast<std::size_t>(count));
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') d.digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    DropTrailingZeros(d);
    return d;
}

TDecimal Significant(double value, int precision) { return RoundDigits(Digits18(value), precision); }

// Rounded to 'decimals' places, or to 'precision' significant digits if that is coarser.
TDecimal Fixed(double value, int precision, int decimals)
{
    const TDecimal d = Digits18(value);
    if (d.digits.empty()) return d;
    return RoundDigits(d, std::min(precision, d.exponent + decimals));
}

std::string Sign(const TDecimal& d) { return d.negative && !d.digits.empty() ? "-" : ""; }

std::string ExponentText(int exponent, int minDigits, bool plusSign)
{
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    return std::string("E") + (exponent < 0 ? "-" : plusSign ? "+" : "") + digits;
}

// "d.ddd" + exponent; 'width' pads the digits with zeros (0: as they are).
std::string Scientific(const TDecimal& d, int width, int expDigits, bool plusSign, char separator)
{
    std::string digits = d.digits.empty() ? "0" : d.digits;
    if (static_cast<int>(digits.size()) < width) digits.append(static_cast<std::size_t>(width) - digits.size(), '0');
    std::string text = Sign(d) + digits.substr(0, 1);
    if (digits.size() > 1) text += separator + digits.substr(1);
    return text + ExponentText(d.digits.empty() ? 0 : d.exponent - 1, expDigits, plusSign);
}

std::string Grouped(const std::string& whole, char thousands)
{
    std::string text;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) text += thousands;
        text += whole[i];
    }
    return text;
}

// Plain notation with at least 'decimals' decimals (trailing digits kept when longer).
std::string Plain(const TDecimal& d, int decimals, char separator, char thousands)
{
    std::string whole;
    std::string fraction;
    if (d.exponent > 0) {
        whole = d.digits.substr(0, std::min<std::size_t>(d.digits.size(), static_cast<std::size_t>(d.exponent)));
        whole.append(static_cast<std::size_t>(d.exponent) - whole.size(), '0');
        if (static_cast<int>(d.digits.size()) > d.exponent) fraction = d.digits.substr(static_cast<std::size_t>(d.exponent));
    } else {
        whole = "0";
        fraction = std::string(static_cast<std::size_t>(-d.exponent), '0') + d.digits;
    }
    if (d.digits.empty()) fraction.clear();
    if (static_cast<int>(fraction.size()) < decimals) fraction.append(static_cast<std::size_t>(decimals) - fraction.size(), '0');
    if (thousands) whole = Grouped(whole, thousands);
    return Sign(d) + whole + (fraction.empty() ? "" : separator + fraction);
}

std::string General(double value, int precision, int expDigits, char separator)
{
    const TDecimal d = Significant(value, precision);
    if (d.digits.empty()) return "0";
    if (d.exponent > precision || d.exponent < -4) return Scientific(d, 0, expDigits, false, separator);
    return Plain(d, 0, separator, 0);
}

std::string NonFinite(double value)
{
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

int ClampPrecision(int precision) { return precision < 1 ? 1 : precision > kMaxPrecision ? kMaxPrecision : precision; }

} // namespace

AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& settings)
{
    if (!std::isfinite(value)) return AnsiString(NonFinite(value));
    precision = ClampPrecision(precision);
    const char separator = settings.DecimalSeparator;
    switch (format) {
    case ffExponent:
        return AnsiString(Scientific(Significant(value, precision), precision, digits < 0 ? 0 : digits > 4 ? 4 : digits, true, separator));
    case ffFixed:
    case ffNumber: {
        digits = digits < 0 ? 0 : digits > kMaxPrecision ? kMaxPrecision : digits;
        const TDecimal whole = Significant(value, precision);
        if (whole.exponent > precision) return AnsiString(General(value, precision, 0, separator));
        const char thousands = format == ffNumber ? settings.ThousandSeparator : 0;
        return AnsiString(Plain(Fixed(value, precision, digits), digits, separator, thousands));
    }
    case ffGeneral:
    default:
        return AnsiString(General(value, precision, digits < 0 ? 0 : digits > 4 ? 4 : digits, separator));
    }
}

AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
    return FloatToStrF(value, format, precision, digits, FormatSettings());
}

AnsiString FloatToStr(double value, const TFormatSettings& settings)
{
    // A whole number of up to 15 digits comes out of the general format as its plain digits.
    if (std::fabs(value) < 1e15 && value == std::trunc(value))
        return AnsiString(std::to_string(static_cast<long long>(value)));
    return FloatToStrF(value, ffGeneral, 15, 0, settings);
}

AnsiString FloatToStr(double value) { return FloatToStr(value, FormatSettings()); }

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Rewrites the number in the C notation strtod reads; false when it is not a number.
bool ToCNotation(const std::string& text, char separator, std::string& out)
{
    std::size_t i = 0;
    const auto digitsRun = [&] {
        const std::size_t start = i;
        while (i < text.size() && IsDigit(text[i])) out += text[i++];
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
    std::size_t mantissa = digitsRun();
    if (i < text.size() && text[i] == separator) {
        out += '.';
        ++i;
        mantissa += digitsRun();
    }
    if (mantissa == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        out += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
        if (digitsRun() == 0) return false;
    }
    return i == text.size();
}

} // namespace

bool TryStrToFloat(const AnsiString& s, double& value, const TFormatSettings& settings)
{
    std::string text = s.str();
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::string c;
    if (!ToCNotation(text, settings.DecimalSeparator, c)) return false;
    const double parsed = std::strtod(c.c_str(), nullptr);
    if (!std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool TryStrToFloat(const AnsiString& s, double& value) { return TryStrToFloat(s, value, FormatSettings()); }

double StrToFloat(const AnsiString& s, const TFormatSettings& settings)
{
    double value = 0;
    if (!TryStrToFloat(s, value, settings)) throw EConvertError(Format(SInvalidFloat, {s}));
    return value;
}

double StrToFloat(const AnsiString& s) { return StrToFloat(s, FormatSettings()); }

double StrToFloatDef(const AnsiString& s, double defaultValue)
{
    double value = 0;
    return TryStrToFloat(s, value) ? value : defaultValue;
}
