// Integer arithmetic with the original's rounding and explicit 32-bit wrap-around.
#pragma once

#include <cstdint>

// Nearest integer, halves to the even neighbour (Round(2.5) = 2, Round(-3.5) = -4).
// Raises EInvalidOp for not-a-number or a value outside the 64-bit range.
std::int64_t Round(double value);
// Toward zero. Raises EInvalidOp like Round.
std::int64_t Trunc(double value);

// a * b / c with a 64-bit product, rounded half away from zero; -1 for a zero divisor or a
// result outside the 32-bit range.
int MulDiv(int a, int b, int c);

// Two's-complement wrap-around at 32 bits, written out so no signed overflow occurs.
constexpr std::int32_t WrapInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}
constexpr std::int32_t WrapAdd32(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrapSub32(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrapMul32(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
// Milliseconds from 'start' to 'now' on the 32-bit tick count, across a wrap.
constexpr std::uint32_t TicksBetween(std::uint32_t start, std::uint32_t now) { return now - start; }
