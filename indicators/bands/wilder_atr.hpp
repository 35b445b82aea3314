#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/true_range.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {

// Average true range with Wilder smoothing: the mean of the first N true ranges, then
// atr = (atr·(N − 1) + TR)·(1/N) with one fused multiply-add. A constant true range
// reproduces itself exactly: a seed of equal ranges is that range, and a range equal to
// the average leaves it untouched (the division and the rounded 1/N would drift by an ulp).
class WilderAtr {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<WilderAtr, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return WilderAtr(period);
    }

    // 1 ≤ period ≤ MAX_PERIOD, checked by the caller.
    explicit WilderAtr(std::uint64_t period)
        : period_(period),
          n_minus_one_(static_cast<double>(period) - 1.0),
          inv_n_(1.0 / static_cast<double>(period)) {}

    // Takes one true range; a non-finite range is ignored. Returns the average once seeded.
    std::optional<double> push(double tr) {
        if (!std::isfinite(tr)) return std::nullopt;
        if (seeded_) [[likely]] {
            if (tr != atr_) atr_ = std::fma(atr_, n_minus_one_, tr) * inv_n_;
        } else if (!seed(tr)) {
            return std::nullopt;
        }
        return atr_;
    }

    // The true range of the candle against the previous one, then its average.
    std::optional<double> update(const Candle& c) { return push(range_.push(c.high, c.low, c.close)); }

    std::size_t warmup_period() const { return period_; }
    std::uint64_t period() const { return period_; }
    bool seeded() const { return seeded_; }
    // Meaningful once seeded.
    double value() const { return atr_; }

private:
    [[gnu::noinline]] bool seed(double tr) {
        if (seed_count_ == 0) seed_first_ = tr;
        else if (tr != seed_first_) seed_flat_ = false;
        seed_sum_ += tr;
        if (++seed_count_ < period_) return false;
        atr_ = seed_flat_ ? seed_first_ : seed_sum_ / static_cast<double>(period_);
        seeded_ = true;
        return true;
    }

    TrueRange range_;
    std::uint64_t period_;
    double n_minus_one_;
    double inv_n_;
    double seed_sum_ = 0.0;
    std::uint64_t seed_count_ = 0;
    bool seeded_ = false;
    bool seed_flat_ = true;
    double seed_first_ = 0.0;
    double atr_ = 0.0;
};

}  // namespace ostrel
