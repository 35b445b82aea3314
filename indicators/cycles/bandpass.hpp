#pragma once

#include <cmath>
#include <cstddef>
#include <numbers>

namespace ostrel {

// Two-pole band-pass around period N with relative bandwidth bw; 0 until two previous
// inputs exist.
class BandpassStage {
public:
    BandpassStage(double period, double bandwidth) {
        beta_ = std::cos(2.0 * std::numbers::pi / period);
        const double gamma = 1.0 / std::cos(4.0 * std::numbers::pi * bandwidth / period);
        alpha_ = gamma - std::sqrt(gamma * gamma - 1.0);
    }

    double push(double x) {
        double bp = 0.0;
        if (count_ >= 2)
            bp = 0.5 * (1.0 - alpha_) * (x - x2_) + beta_ * (1.0 + alpha_) * bp1_ - alpha_ * bp2_;
        else
            ++count_;
        x2_ = x1_;
        x1_ = x;
        bp2_ = bp1_;
        bp1_ = bp;
        return bp;
    }

private:
    double alpha_ = 0.0, beta_ = 0.0;
    double x1_ = 0.0, x2_ = 0.0, bp1_ = 0.0, bp2_ = 0.0;
    std::size_t count_ = 0;
};

}  // namespace ostrel
