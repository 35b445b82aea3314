#pragma once

#include <cstdint>
#include <limits>
#include <optional>

#include "indicators/core/calendar.hpp"
#include "indicators/core/records.hpp"

namespace ostrel {

// Highest high and lowest low of the candles added since the last reset; empty is
// (−infinity, +infinity).
struct PriceExtremes {
    double high = -std::numeric_limits<double>::infinity();
    double low = std::numeric_limits<double>::infinity();

    void add(const Candle& c) {
        if (c.high > high) high = c.high;
        if (c.low < low) low = c.low;
    }
    void reset() { *this = PriceExtremes{}; }
    // high − low, and 0 before any candle.
    double range() const { return high >= low ? high - low : 0.0; }
};

// Tells when a candle opens a new calendar day (shifted by the offset).
class DayClock {
public:
    explicit DayClock(std::int32_t offset_minutes) : offset_minutes_(offset_minutes) {}

    bool new_day(const Candle& c) {
        const std::int64_t day = local_day_number(c.ts, offset_minutes_);
        if (day_ && *day_ == day) return false;
        day_ = day;
        return true;
    }
    std::int32_t offset_minutes() const { return offset_minutes_; }

private:
    std::int32_t offset_minutes_;
    std::optional<std::int64_t> day_;
};

}  // namespace ostrel
