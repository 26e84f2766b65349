#pragma once

#include <array>
#include <cstdint>

namespace Dayloom {

// The 80-bit IEEE extended format that files use for real numbers: 64-bit
// mantissa with an explicit integer bit, 15-bit exponent, sign; 10 bytes,
// little-endian.
using ExtendedBytes = std::array<std::uint8_t, 10>;

// Exact for every double, infinities and NaN included.
ExtendedBytes DoubleToExtended(double value);
// Rounds to the nearest double; values beyond the double range become
// infinite or zero.
double ExtendedToDouble(const ExtendedBytes &bytes);

} // namespace Dayloom
