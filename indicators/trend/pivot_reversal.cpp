#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Pivot reversal: a candle with `left` candles before it and `right` after it is a pivot high
// (low) when its high (low) is strictly beyond every other one of those candles. The value is
// +1 when the close crosses above the last pivot high, −1 when it crosses below the last pivot
// low (that check comes second and wins), else 0.
class PivotReversal {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<PivotReversal, CoreError> create(std::uint64_t left, std::uint64_t right) {
        if (auto e = period_error(left, right)) return std::unexpected(*e);
        // Both are at most MAX_PERIOD here, so the sum cannot wrap.
        if (left + right + 1 > MAX_PERIOD) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return PivotReversal(left, right);
    }

    std::optional<double> update(const Candle& c) {
        window_.push({c.high, c.low});
        const double prev_close = prev_close_;
        prev_close_ = c.close;
        if (!window_.full()) return std::nullopt;
        find_pivots();
        double value = 0.0;
        if (has_high_ && c.close > pivot_high_ && prev_close <= pivot_high_) value = 1.0;
        if (has_low_ && c.close < pivot_low_ && prev_close >= pivot_low_) value = -1.0;
        return value;
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    PivotReversal(std::uint64_t left, std::uint64_t right)
        : window_(static_cast<std::size_t>(left + right + 1)), left_(static_cast<std::size_t>(left)) {}

    void find_pivots() {
        const HighLow& mid = window_[left_];
        bool high = true;
        bool low = true;
        for (std::size_t i = 0; i < window_.size(); ++i) {
            if (i == left_) continue;
            high = high && window_[i].high < mid.high;
            low = low && window_[i].low > mid.low;
        }
        if (high) {
            pivot_high_ = mid.high;
            has_high_ = true;
        }
        if (low) {
            pivot_low_ = mid.low;
            has_low_ = true;
        }
    }

    RingWindow<HighLow> window_;
    std::size_t left_;
    double prev_close_ = 0.0;
    double pivot_high_ = 0.0;
    double pivot_low_ = 0.0;
    bool has_high_ = false;
    bool has_low_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(PivotReversal, ostrel::PivotReversal::create(p.count(0), p.count(1)))
