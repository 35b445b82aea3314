#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "indicators/rolling/running_sum.hpp"

namespace ostrel {

// The gains and losses of the last N close-to-close changes with their window sums. Each
// sum is re-added exactly every N pushes and is exactly 0 when every value it holds is 0,
// so a flat stretch cannot leave residue that reads as a one-sided move.
class ChangeWindow {
public:
    // 1 ≤ period ≤ MAX_PERIOD, checked by the caller.
    explicit ChangeWindow(std::uint64_t period) : gains_(period), losses_(period) {}

    // Takes a close; a non-finite one is ignored. True when the close entered a change.
    bool push(double x) {
        if (!std::isfinite(x)) return false;
        if (!has_prev_) {
            prev_ = x;
            has_prev_ = true;
            return false;
        }
        const double d = x - prev_;
        // Only opposite prices near the largest doubles overflow; such a close is dropped.
        if (!std::isfinite(d)) return false;
        prev_ = x;
        gains_.push(d > 0.0 ? d : 0.0);
        losses_.push(d < 0.0 ? -d : 0.0);
        return true;
    }

    bool full() const { return gains_.full(); }
    std::size_t period() const { return gains_.period(); }
    double gains() const { return gains_.sum(); }
    double losses() const { return losses_.sum(); }

    // Chande's momentum oscillator of a full window: 0 when nothing moved.
    double cmo() const {
        const double up = gains();
        const double down = losses();
        const double s = up + down;
        if (s == 0.0) return 0.0;
        return (up - down) * 100.0 / s;
    }

private:
    RunningSum gains_;
    RunningSum losses_;
    double prev_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace ostrel
