#include "platform/rtl/Arith.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/RtlConsts.h"

#include <cmath>

namespace {

// 2^63: the first double beyond the 64-bit signed range.
constexpr double kInt64Limit = 9223372036854775808.0;

std::int64_t ToInt64(double whole)
{
    if (std::isnan(whole) || whole >= kInt64Limit || whole < -kInt64Limit) throw EInvalidOp(SInvalidOp);
    return static_cast<std::int64_t>(whole);
}

} // namespace

std::int64_t Round(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double whole = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) whole = floor + 1.0;
    return ToInt64(whole);
}

std::int64_t Trunc(double value) { return ToInt64(std::trunc(value)); }

int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t divisor = c;
    std::int64_t quotient = product / divisor;
    const std::int64_t remainder = product % divisor;
    // Round half away from zero: compare twice the remainder with the divisor.
    const std::int64_t twice = remainder < 0 ? -2 * remainder : 2 * remainder;
    if (twice >= (divisor < 0 ? -divisor : divisor)) quotient += (product < 0) != (divisor < 0) ? -1 : 1;
    if (quotient > INT32_MAX || quotient < INT32_MIN) return -1;
    return static_cast<int>(quotient);
}
