// Floating-point numbers to text and back, with the run time's formats and the decimal
// separator of the format settings.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/FormatSettings.h"

#include <cstdint>

enum TFloatFormat : std::uint8_t { ffGeneral, ffExponent, ffFixed, ffNumber };

// ffGeneral: the shorter of plain and scientific notation with 'precision' significant
//   digits, trailing zeros dropped; plain while the value is at least 0.00001 and has no
//   more integer digits than 'precision'; 'digits' is the least exponent width.
// ffExponent: "d.ddd" with 'precision' digits, then "E", the exponent's sign, and at least
//   'digits' exponent digits.
// ffFixed: 'digits' decimals (scientific when the integer part has more digits than
//   'precision'). ffNumber: as ffFixed, with thousand separators.
// Not-a-number and infinities read "NAN", "INF" and "-INF".
AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits);
AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& settings);
// ffGeneral with 15 digits.
AnsiString FloatToStr(double value);
AnsiString FloatToStr(double value, const TFormatSettings& settings);

// Leading and trailing blanks, an optional sign, digits with at most one decimal separator,
// an optional exponent ("E" or "e", optional sign, digits). No thousand separators.
bool TryStrToFloat(const AnsiString& s, double& value);
bool TryStrToFloat(const AnsiString& s, double& value, const TFormatSettings& settings);
// Raises EConvertError "'<s>' is not a valid floating point value".
double StrToFloat(const AnsiString& s);
double StrToFloat(const AnsiString& s, const TFormatSettings& settings);
double StrToFloatDef(const AnsiString& s, double defaultValue);
