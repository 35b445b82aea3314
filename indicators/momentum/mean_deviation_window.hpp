#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {

// The last N values with their mean (a running sum re-added exactly every N pushes) and
// their mean absolute deviation (a scan of the window). A window of identical values is
// recognised: its mean is that value and its deviation exactly 0, where the divided sum
// could miss the value by an ulp and leave a residue deviation.
class MeanDeviationWindow {
public:
    // 1 ≤ period ≤ MAX_PERIOD, checked by the caller.
    explicit MeanDeviationWindow(std::uint64_t period) : sum_(period) {}

    // Returns false (and changes nothing) for a non-finite value.
    bool push(double x) {
        if (!sum_.push(x)) return false;
        flat_.push(x);
        return true;
    }

    bool full() const { return sum_.full(); }
    std::size_t size() const { return sum_.size(); }
    std::size_t period() const { return sum_.period(); }
    bool flat() const { return sum_.size() > 0 && flat_.covers(sum_.size()); }
    const RingWindow<double>& window() const { return sum_.window(); }

    // Of a full window.
    double mean() const { return flat() ? flat_.value() : sum_.mean(); }
    double mean_deviation() const { return flat() ? 0.0 : mean_deviation(mean()); }
    // Σ |v − centre| / N, oldest first.
    double mean_deviation(double centre) const {
        const double total = sum_.window().fold(0.0, [&](double acc, double v) { return acc + std::fabs(v - centre); });
        return total / static_cast<double>(sum_.period());
    }

private:
    RunningSum sum_;
    FlatRun flat_;
};

}  // namespace ostrel
