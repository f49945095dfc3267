#pragma once

#include <climits>
#include <cmath>

namespace wid {

// Nearest whole number with halves going to the even neighbour (2.5 -> 2,
// 3.5 -> 4), whatever the floating-point rounding mode happens to be. All
// fractional geometry of the skinned controls is rounded this way.
// Values beyond the int range give its nearest end, NaN gives 0.
inline int RoundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    const double down = std::floor(value);
    const double rest = value - down;
    if (rest < 0.5)
        return static_cast<int>(down);
    if (rest > 0.5)
        return static_cast<int>(down) + 1;
    return static_cast<int>(std::fmod(down, 2.0) == 0.0 ? down : down + 1.0);
}

} // namespace wid
