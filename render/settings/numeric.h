#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace tidepool {

// Rounds to the nearest whole number, halves to even, as every conversion to an integer does.
inline double nearest(double v) {
    return std::nearbyint(v);
}

// nearest(v) as a 16-bit drawing coordinate, or nothing when it does not fit (or v is not a
// number), so that no conversion ever overflows.
inline std::optional<std::int16_t> nearestInt16(double v) {
    double r = nearest(v);
    if (!(r >= std::numeric_limits<std::int16_t>::min() &&
          r <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<std::int16_t>(r);
}

// nearest(v) clamped into int range; for pixel offsets, where anything beyond the range is off
// every surface anyway.
inline int nearestClamped(double v) {
    double r = nearest(v);
    if (std::isnan(r))
        return 0;
    if (r <= -1e9)
        return -1000000000;
    if (r >= 1e9)
        return 1000000000;
    return static_cast<int>(r);
}

// Layout values are held as 32-bit floats; expressions are evaluated in double from them.
inline float toFloat32(double v) {
    return static_cast<float>(v);
}

} // namespace tidepool
