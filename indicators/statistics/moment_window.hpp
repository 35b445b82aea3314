#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// Population central moments up to the fourth of the last N values, from power sums of
// deviations about an anchor that moves to the window mean every N pushes. A window of
// identical values reports exactly zero moments and a mean equal to that value.
class MomentWindow {
public:
    struct Central {
        double m2;
        double m3;
        double m4;
    };

    // 1 ≤ period ≤ MAX_PERIOD, checked by the caller.
    explicit MomentWindow(std::size_t period) : window_(period) {}

    // Returns false (and changes nothing) for a non-finite value.
    bool push(double x) {
        if (!std::isfinite(x)) return false;
        if (auto old = window_.push(x)) add(*old - *anchor_, -1.0);
        if (!anchor_) anchor_ = x;
        add(x - *anchor_, 1.0);
        flat_.push(x);
        if (++pushes_since_reanchor_ >= window_.capacity()) reanchor();
        return true;
    }

    bool full() const { return window_.full(); }
    std::size_t size() const { return window_.size(); }
    std::size_t period() const { return window_.capacity(); }
    bool flat() const { return !window_.empty() && flat_.covers(window_.size()); }

    double mean() const { return flat() ? flat_.value() : *anchor_ + s1_ / n(); }

    Central central() const {
        if (flat()) return {0.0, 0.0, 0.0};
        const double a1 = s1_ / n();
        const double a2 = s2_ / n();
        const double a3 = s3_ / n();
        const double a4 = s4_ / n();
        const double a1sq = a1 * a1;
        return {
            std::max(0.0, a2 - a1sq),
            a3 - 3.0 * a1 * a2 + 2.0 * (a1sq * a1),
            a4 - 4.0 * a1 * a3 + 6.0 * a1sq * a2 - 3.0 * (a1sq * a1sq),
        };
    }

private:
    double n() const { return static_cast<double>(window_.size()); }

    void add(double d, double sign) {
        const double d2 = d * d;
        s1_ += sign * d;
        s2_ += sign * d2;
        s3_ += sign * (d2 * d);
        s4_ += sign * (d2 * d2);
    }

    void reanchor() {
        const double a = window_.fold(0.0, [](double acc, double v) { return acc + v; }) / n();
        anchor_ = a;
        s1_ = s2_ = s3_ = s4_ = 0.0;
        window_.for_each([&](double v) { add(v - a, 1.0); });
        pushes_since_reanchor_ = 0;
    }

    RingWindow<double> window_;
    std::optional<double> anchor_;
    double s1_ = 0.0;
    double s2_ = 0.0;
    double s3_ = 0.0;
    double s4_ = 0.0;
    std::size_t pushes_since_reanchor_ = 0;
    FlatRun flat_;
};

}  // namespace ostrel
