#pragma once

#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"

namespace ostrel {

// Wilder's relative strength index: the first N gains and losses are averaged, later ones
// smoothed as (avg·(N − 1) + new)·(1/N) with one fused multiply-add. The warm-up sums are
// kept in arrival order instead of stored lists, so nothing is allocated. A gain or loss
// equal to its average leaves that average untouched, so a steady trend stays exact.
class WilderRsi {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<WilderRsi, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return WilderRsi(period);
    }

    // 1 ≤ period ≤ MAX_PERIOD, checked by the caller.
    explicit WilderRsi(std::uint64_t period)
        : period_(period),
          n_minus_one_(static_cast<double>(period) - 1.0),
          inv_n_(1.0 / static_cast<double>(period)) {}

    // Takes a value (a close, or any other series); a non-finite one is ignored.
    std::optional<double> push(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!has_prev_) {
            prev_ = x;
            has_prev_ = true;
            return std::nullopt;
        }
        const double d = x - prev_;
        // Only opposite prices near the largest doubles overflow; such a value is dropped
        // rather than poisoning both averages for ever.
        if (!std::isfinite(d)) return std::nullopt;
        prev_ = x;
        const double gain = d > 0.0 ? d : 0.0;
        const double loss = d < 0.0 ? -d : 0.0;
        if (seeded_) [[likely]] {
            if (gain != avg_gain_) avg_gain_ = std::fma(avg_gain_, n_minus_one_, gain) * inv_n_;
            if (loss != avg_loss_) avg_loss_ = std::fma(avg_loss_, n_minus_one_, loss) * inv_n_;
        } else if (!seed(gain, loss)) {
            return std::nullopt;
        }
        const double s = avg_gain_ + avg_loss_;
        value_ = s == 0.0 ? 50.0 : avg_gain_ * 100.0 / s;
        return value_;
    }

    std::optional<double> update(double x) { return push(x); }

    std::size_t warmup_period() const { return static_cast<std::size_t>(period_) + 1; }
    std::uint64_t period() const { return period_; }
    bool seeded() const { return seeded_; }
    // Meaningful once seeded.
    double value() const { return value_; }
    double avg_gain() const { return avg_gain_; }
    double avg_loss() const { return avg_loss_; }

private:
    [[gnu::noinline]] bool seed(double gain, double loss) {
        gain_sum_ += gain;
        loss_sum_ += loss;
        if (++count_ < period_) return false;
        const double n = static_cast<double>(period_);
        avg_gain_ = gain_sum_ / n;
        avg_loss_ = loss_sum_ / n;
        seeded_ = true;
        return true;
    }

    std::uint64_t period_;
    double n_minus_one_;
    double inv_n_;
    double prev_ = 0.0;
    bool has_prev_ = false;
    bool seeded_ = false;
    std::uint64_t count_ = 0;
    double gain_sum_ = 0.0;
    double loss_sum_ = 0.0;
    double avg_gain_ = 0.0;
    double avg_loss_ = 0.0;
    double value_ = 50.0;
};

}  // namespace ostrel
