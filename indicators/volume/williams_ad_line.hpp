#pragma once

#include <algorithm>

#include "indicators/volume/cumulative_line.hpp"

namespace ostrel {

// Williams accumulation/distribution: on an up close the close's distance above the lower of
// low and previous close, on a down close its distance below the higher of high and previous
// close, nothing on an unchanged close; summed from the second candle on.
struct WilliamsAdStep {
    static constexpr double START = 0.0;
    static constexpr bool FROM_FIRST = false;

    double next(double total, const Candle& c, const Candle& prev) const {
        if (c.close > prev.close) return total + (c.close - std::min(c.low, prev.close));
        if (c.close < prev.close) return total + (c.close - std::max(c.high, prev.close));
        return total;
    }
};

// It is also the `Wad` member.
using WilliamsAdLine = CumulativeLine<WilliamsAdStep>;

}  // namespace ostrel
