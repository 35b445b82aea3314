#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// Construction checks of the setup-based counts: every lookback sizes the candle window, and a
// count truncated to 0 would make a setup of no bars.
template <class... N>
std::optional<CoreError> td_counts_error(std::uint64_t length, N... lookbacks) {
    if (auto e = period_error(lookbacks...)) return e;
    if (length == 0) return CoreError::zero_period();
    return std::nullopt;
}

// Saturating, so a warm-up of huge counts cannot wrap.
inline std::size_t saturating_add(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t limit = static_cast<std::uint64_t>(SIZE_MAX);
    return static_cast<std::size_t>(b > limit - std::min(a, limit) ? limit : a + b);
}

// The window of previous candles and the buy and sell price-flip counts against the close
// `lookback` bars earlier, saturating at `length`.
class TdSetupCounter {
public:
    // Lookback and capacity validated by the caller; capacity >= lookback.
    TdSetupCounter(std::uint64_t lookback, std::uint64_t length, std::uint64_t capacity)
        : window_(static_cast<std::size_t>(capacity)), lookback_(static_cast<std::size_t>(lookback)), length_(length) {}

    // False while the window fills (the candle is then stored). Otherwise runs the count step;
    // the caller reads the window and then stores the candle with `store`.
    bool begin(const Candle& k) {
        if (!window_.full()) {
            window_.push(k);
            return false;
        }
        const double ref = ago(lookback_).close;
        if (k.close < ref) {
            buy_ = std::min(length_, buy_ + 1);
            sell_ = 0;
        } else if (k.close > ref) {
            sell_ = std::min(length_, sell_ + 1);
            buy_ = 0;
        } else {
            buy_ = 0;
            sell_ = 0;
        }
        return true;
    }

    void store(const Candle& k) { window_.push(k); }

    // The candle `bars` before the current one (1 = the previous candle).
    const Candle& ago(std::size_t bars) const { return window_[window_.size() - bars]; }

    std::uint64_t buy() const { return buy_; }
    std::uint64_t sell() const { return sell_; }
    std::uint64_t length() const { return length_; }
    bool buy_complete() const { return buy_ == length_; }
    bool sell_complete() const { return sell_ == length_; }
    // +buy, -sell or 0.
    double signed_count() const {
        if (buy_ > 0) return static_cast<double>(buy_);
        return sell_ > 0 ? -static_cast<double>(sell_) : 0.0;
    }
    std::size_t warmup_period() const { return saturating_add(window_.capacity(), 1); }

private:
    RingWindow<Candle> window_;
    std::size_t lookback_;
    std::uint64_t length_;
    std::uint64_t buy_ = 0;
    std::uint64_t sell_ = 0;
};

}  // namespace ostrel
