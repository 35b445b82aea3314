#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace ostrel {

// Linearly weighted average of the last `period` inputs, weight 1 for the oldest up to
// `period` for the newest, kept incrementally and recomputed exactly after every 16·N
// pushes into the full window. Non-finite inputs are ignored. Storage grows with the
// data up to the period.
// The period is expected to be validated by the caller (1 ≤ period ≤ MAX_PERIOD).
class WeightedWindow {
public:
    explicit WeightedWindow(std::uint64_t period)
        : period_(period),
          n_(static_cast<double>(period)),
          denominator_((1.0 + static_cast<double>(period)) * static_cast<double>(period) * 0.5) {}

    std::optional<double> push(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (values_.size() == period_) [[likely]] {
            double& slot = values_[position_];  // the oldest value
            const double old = slot;
            slot = x;
            numerator_ = n_ * x + (numerator_ - plain_sum_);
            plain_sum_ = x + (plain_sum_ - old);
            if (++position_ == period_) wrap();
        } else if (!fill(x)) {
            return std::nullopt;
        }
        return numerator_ / denominator_;
    }

    std::uint64_t period() const { return period_; }
    bool full() const { return values_.size() == period_; }
    // Meaningful once full.
    double value() const { return numerator_ / denominator_; }

private:
    // Filling and wrapping stay out of line so that the per-step path inlines.
    // True once the window is full.
    [[gnu::noinline]] bool fill(double x) {
        if (values_.size() == values_.capacity())
            values_.reserve(std::min<std::size_t>(period_, std::max<std::size_t>(16, values_.size() * 2)));
        values_.push_back(x);
        plain_sum_ = x + plain_sum_;
        if (values_.size() < period_) return false;
        numerator_ = weighted_sum();
        return true;
    }

    // After a wrap the oldest value sits at position 0.
    [[gnu::noinline]] void wrap() {
        position_ = 0;
        if (++wraps_ < 16) return;
        wraps_ = 0;
        plain_sum_ = 0.0;
        for (double v : values_) plain_sum_ += v;
        numerator_ = weighted_sum();
    }

    // Σ (i + 1)·v_i, oldest first; only called when the oldest value is at position 0.
    double weighted_sum() const {
        double sum = 0.0;
        for (std::size_t i = 0; i < values_.size(); ++i) sum += static_cast<double>(i + 1) * values_[i];
        return sum;
    }

    std::vector<double> values_;
    std::uint64_t period_;
    double n_;
    double denominator_;
    double numerator_ = 0.0;
    double plain_sum_ = 0.0;
    std::uint64_t position_ = 0;  // write position once full
    unsigned wraps_ = 0;
};

}  // namespace ostrel
