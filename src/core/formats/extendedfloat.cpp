#include "core/formats/extendedfloat.h"

#include <cmath>
#include <limits>

namespace Dayloom {

namespace {
constexpr int ExponentBias = 16383;
constexpr int MaxExponent = 0x7FFF;

ExtendedBytes Pack(bool negative, int exponent, std::uint64_t mantissa)
{
    ExtendedBytes bytes{};
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    const unsigned top = static_cast<unsigned>(exponent) | (negative ? 0x8000u : 0u);
    bytes[8] = static_cast<std::uint8_t>(top);
    bytes[9] = static_cast<std::uint8_t>(top >> 8);
    return bytes;
}
} // namespace

ExtendedBytes DoubleToExtended(double value)
{
    const bool negative = std::signbit(value);
    if (std::isnan(value))
        return Pack(negative, MaxExponent, 0xC000000000000000ull);
    if (std::isinf(value))
        return Pack(negative, MaxExponent, 0x8000000000000000ull);
    if (value == 0.0)
        return Pack(negative, 0, 0);
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent); // in [0.5, 1)
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    return Pack(negative, exponent - 1 + ExponentBias, mantissa);
}

double ExtendedToDouble(const ExtendedBytes &bytes)
{
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | bytes[i];
    const unsigned top = bytes[8] | (unsigned(bytes[9]) << 8);
    const bool negative = (top & 0x8000u) != 0;
    const int exponent = static_cast<int>(top & 0x7FFFu);
    double magnitude = 0.0;
    if (exponent == MaxExponent) {
        magnitude = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                         : std::numeric_limits<double>::quiet_NaN();
    } else if (mantissa != 0) {
        // An exponent field of 0 marks a denormal, scaled like exponent 1.
        const int unbiased = (exponent == 0 ? 1 : exponent) - ExponentBias - 63;
        magnitude = std::ldexp(static_cast<double>(mantissa), unbiased);
    }
    return negative ? -magnitude : magnitude;
}

} // namespace Dayloom
