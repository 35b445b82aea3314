#pragma once

#include <cmath>

namespace ostrel {

// Where the close sits in its range, from −1 at the low to +1 at the high:
// ((close − low) − (high − close))/(high − low), 0 over an empty range.
inline double close_location(double high, double low, double close) {
    const double range = high - low;
    if (range == 0.0) return 0.0;
    if (std::isfinite(range)) [[likely]] return ((close - low) - (high - close)) / range;
    // Both differences are bounded by the range, so halving every price only removes the overflow.
    return ((close * 0.5 - low * 0.5) - (high * 0.5 - close * 0.5)) / (high * 0.5 - low * 0.5);
}

// Volume placed by the close within a range: volume·(2·close − high − low)/(high − low),
// 0 when the range is not positive.
inline double range_intensity(double volume, double high, double low, double close) {
    const double range = high - low;
    if (!(range > 0.0)) return 0.0;
    const double v = volume * (2.0 * close - high - low) / range;
    if (std::isfinite(v)) [[likely]] return v;
    // 2·close or the range overflowed although the location is bounded.
    return volume * close_location(high, low, close);
}

}  // namespace ostrel
