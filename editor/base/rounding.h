#pragma once
// Rounding a measured or parsed number to a whole one, the same way everywhere.

#include <cmath>
#include <cstdint>
#include <limits>

namespace quillet {

// Halves to the even neighbour, clamped to 32 bits; NaN gives 0.
inline int32_t RoundHalfEven(double value) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    if (std::isnan(value))
        return 0;
    if (value >= double(kMax))
        return kMax;
    if (value <= double(kMin))
        return kMin;
    return int32_t(std::nearbyint(value)); // the default rounding mode ties to even
}

} // namespace quillet
