// Integer to text and back, with the run time's rules.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <concepts>
#include <cstdint>
#include <type_traits>

AnsiString IntToStr(std::int64_t value);

// Upper-case hexadecimal of the value's own width (a negative 32-bit value shows as its
// 32-bit pattern, IntToHex(-1, 4) is "FFFFFFFF"), at least 'digits' digits, zero-padded.
AnsiString UIntToHex(std::uint64_t value, int digits);

template <std::integral T>
AnsiString IntToHex(T value, int digits)
{
    return UIntToHex(static_cast<std::make_unsigned_t<T>>(value), digits);
}

// The run time's Val rules: leading blanks, an optional sign, decimal digits or "$"/"0x"/"x"
// followed by hexadecimal digits, nothing after them. Decimal text must fit the type;
// hexadecimal text may fill all its bits (StrToInt("$FFFFFFFF") is -1).
bool TryStrToInt(const AnsiString& s, int& value);
bool TryStrToInt64(const AnsiString& s, std::int64_t& value);
// Raise EConvertError "'<s>' is not a valid integer value" on bad text.
int StrToInt(const AnsiString& s);
std::int64_t StrToInt64(const AnsiString& s);
int StrToIntDef(const AnsiString& s, int defaultValue);
std::int64_t StrToInt64Def(const AnsiString& s, std::int64_t defaultValue);
