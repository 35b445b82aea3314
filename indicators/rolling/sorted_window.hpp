#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// IEEE total order: -0 sorts before +0, and NaNs sort by their bits at the ends.
inline bool total_less(double a, double b) {
    auto key = [](double v) {
        const auto bits = std::bit_cast<std::int64_t>(v);
        return bits < 0 ? bits ^ INT64_MAX : bits;
    };
    return key(a) < key(b);
}

// Values in arrival order plus the same values kept sorted, for order statistics.
class SortedWindow {
public:
    explicit SortedWindow(std::size_t period) : ring_(period) {}

    void push(double x) {
        if (auto old = ring_.push(x)) {
            sorted_.erase(std::lower_bound(sorted_.begin(), sorted_.end(), *old, total_less));
        } else if (sorted_.size() == sorted_.capacity()) {
            sorted_.reserve(std::min(ring_.capacity(), std::max<std::size_t>(16, sorted_.size() * 2)));
        }
        // A new value goes before existing equal values.
        sorted_.insert(std::lower_bound(sorted_.begin(), sorted_.end(), x, total_less), x);
    }

    bool full() const { return ring_.full(); }
    std::size_t size() const { return ring_.size(); }
    std::size_t period() const { return ring_.capacity(); }
    const RingWindow<double>& ring() const { return ring_; }
    // Ascending.
    const std::vector<double>& sorted() const { return sorted_; }

    // Linear interpolation between closest ranks; q in [0, 1]; window not empty.
    double quantile(double q) const {
        const std::size_t n = sorted_.size();
        if (n == 1) return sorted_[0];
        const double p = static_cast<double>(n - 1) * q;
        const double fi = std::floor(p);
        if (fi >= static_cast<double>(n - 1)) return sorted_[n - 1];
        const auto i = static_cast<std::size_t>(fi);
        return sorted_[i] + (sorted_[i + 1] - sorted_[i]) * (p - fi);
    }

    double median() const {
        const std::size_t n = sorted_.size();
        if (n % 2 == 1) return sorted_[n / 2];
        return midpoint(sorted_[n / 2 - 1], sorted_[n / 2]);
    }

private:
    RingWindow<double> ring_;
    std::vector<double> sorted_;
};

}  // namespace ostrel
