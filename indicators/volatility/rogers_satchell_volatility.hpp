#pragma once

#include "indicators/core/records.hpp"
#include "indicators/volatility/log_return_source.hpp"

namespace ostrel {

// The drift-free per-candle term ln(h/c)·ln(h/o) + ln(l/c)·ln(l/o); the candle's low must be
// positive (every other price of a valid candle is then positive too).
inline double rogers_satchell_term(const Candle& c) {
    return log_ratio(c.high, c.close) * log_ratio(c.high, c.open) +
           log_ratio(c.low, c.close) * log_ratio(c.low, c.open);
}

}  // namespace ostrel
