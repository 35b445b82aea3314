#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "indicators/rolling/flat_run.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// Windowed sum with periodic exact recomputation. It also knows when every value it holds
// is zero (the sum is then exactly 0) or equal (the mean is then exactly that value), so
// degenerate windows never report leftover rounding residue.
class RunningSum {
public:
    // `resum_factor` is 16 for the simple and weighted averages and 1 elsewhere.
    explicit RunningSum(std::size_t period, std::size_t resum_factor = 1)
        : window_(period), resum_every_(period * resum_factor) {}

    // Returns false (and changes nothing) for a non-finite input.
    bool push(double x) {
        if (!std::isfinite(x)) return false;
        if (auto old = window_.push(x)) {
            sum_ = x + (sum_ - *old);
            nonzero_ -= static_cast<std::size_t>(*old != 0.0);
        } else {
            sum_ = x + sum_;
        }
        nonzero_ += static_cast<std::size_t>(x != 0.0);
        flat_.push(x);
        if (++pushes_since_resum_ >= resum_every_) resum();
        return true;
    }

    double sum() const { return nonzero_ == 0 ? 0.0 : sum_; }
    bool all_zero() const { return nonzero_ == 0; }
    bool full() const { return window_.full(); }
    std::size_t size() const { return window_.size(); }
    std::size_t period() const { return window_.capacity(); }
    bool flat() const { return !window_.empty() && flat_.covers(window_.size()); }
    // Mean of a full window.
    double mean() const { return flat() ? flat_.value() : sum() / static_cast<double>(window_.capacity()); }
    const RingWindow<double>& window() const { return window_; }
    std::size_t pushes_since_resum() const { return pushes_since_resum_; }

private:
    [[gnu::noinline]] void resum() {
        sum_ = window_.fold(0.0, [](double acc, double v) { return acc + v; });
        pushes_since_resum_ = 0;
    }

    RingWindow<double> window_;
    std::size_t resum_every_;
    std::size_t pushes_since_resum_ = 0;
    std::size_t nonzero_ = 0;
    FlatRun flat_;
    double sum_ = 0.0;
};

}  // namespace ostrel
