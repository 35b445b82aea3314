#pragma once

#include <cmath>
#include <cstddef>
#include <expected>
#include <optional>

#include "indicators/core/indicator.hpp"

namespace ostrel {

// Per-candle true range: high − low on the first candle, then the widest of high − low and
// the gaps of high and low from the previous close. The maximum ignores a NaN operand.
class TrueRange {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TrueRange, CoreError> create() { return TrueRange(); }

    double push(double high, double low, double close) {
        double tr = high - low;
        if (has_prev_) {
            tr = std::fmax(tr, std::fabs(high - prev_close_));
            tr = std::fmax(tr, std::fabs(low - prev_close_));
        }
        prev_close_ = close;
        has_prev_ = true;
        return tr;
    }

    std::optional<double> update(const Candle& c) { return push(c.high, c.low, c.close); }

    std::size_t warmup_period() const { return 1; }

    bool has_previous() const { return has_prev_; }
    // Meaningful once a candle has been pushed.
    double previous_close() const { return prev_close_; }

private:
    double prev_close_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace ostrel
