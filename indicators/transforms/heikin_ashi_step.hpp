#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "indicators/rolling/midpoint.hpp"

namespace ostrel {

// (((o + h) + l) + c)·0.25. Four finite prices always have a finite average, so when the
// plain sum overflows the prices are quartered first (exact at that magnitude); otherwise
// an infinite close would pass into every later Heikin-Ashi open.
inline double avg_price(double o, double h, double l, double c) {
    const double v = (((o + h) + l) + c) * 0.25;
    if (std::isfinite(v)) [[likely]] return v;
    return ((o * 0.25 + h * 0.25) + l * 0.25) + c * 0.25;
}

// The Heikin-Ashi recurrence over a stream of open, high, low, close quadruples; outputs
// open, high, low, close in that order.
class HeikinAshiStep {
public:
    std::array<double, 4> push(double open, double high, double low, double close) {
        const double ha_close = avg_price(open, high, low, close);
        const double ha_open = has_previous_ ? midpoint(open_, close_) : midpoint(open, close);
        const double ha_high = std::max(std::max(high, ha_open), ha_close);
        const double ha_low = std::min(std::min(low, ha_open), ha_close);
        open_ = ha_open;
        close_ = ha_close;
        has_previous_ = true;
        return {ha_open, ha_high, ha_low, ha_close};
    }

    bool has_previous() const { return has_previous_; }

private:
    bool has_previous_ = false;
    double open_ = 0.0;
    double close_ = 0.0;
};

}  // namespace ostrel
