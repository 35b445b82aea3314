#pragma once

#include <cmath>
#include <cstddef>

#include "indicators/rolling/midpoint.hpp"

namespace ostrel {

// Two-pole super smoother of the midpoint of the input and the previous input. Its output is
// the input itself until a previous input and two outputs exist.
class SuperSmootherStage {
public:
    // `length` is the period the coefficients come from (N, or 0.5·N for the flex oscillators).
    explicit SuperSmootherStage(double length) {
        const double a = std::exp(-4.442882938158366 / length);
        c2_ = 2.0 * a * std::cos(4.442882938158366 / length);
        c3_ = -(a * a);
        c1_ = 1.0 - c2_ - c3_;
    }

    double push(double x) {
        double y = x;
        if (count_ >= 2) {
            const double m = midpoint(x, x1_);
            // The coefficients do not sum to 1 in floating point: a settled constant stays exact.
            y = (m == y1_ && m == y2_) ? m : c1_ * m + c2_ * y1_ + c3_ * y2_;
        } else {
            ++count_;
        }
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    double c1_ = 0.0, c2_ = 0.0, c3_ = 0.0;
    double x1_ = 0.0, y1_ = 0.0, y2_ = 0.0;
    std::size_t count_ = 0;
};

}  // namespace ostrel
