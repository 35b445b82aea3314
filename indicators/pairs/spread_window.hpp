#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// The last N spreads x − y, laid out oldest first for members that scan the whole window at
// every step. A pair whose spread overflows is skipped.
class SpreadWindow {
public:
    explicit SpreadWindow(std::size_t period) : window_(period) {}

    // The window, once the pair is accepted and the window full; null otherwise.
    const std::vector<double>* push(double x, double y) {
        const double s = x - y;
        if (!std::isfinite(s)) return nullptr;
        window_.push(s);
        if (!window_.full()) return nullptr;
        values_.clear();
        window_.for_each([&](double v) { values_.push_back(v); });
        return &values_;
    }

    std::size_t period() const { return window_.capacity(); }

private:
    RingWindow<double> window_;
    std::vector<double> values_;  // grows once to N
};

}  // namespace ostrel
