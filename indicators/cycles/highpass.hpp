#pragma once

#include <cmath>
#include <cstddef>

namespace ostrel {

// Two-pole high-pass (0.707·2π/N); 0 until two previous inputs exist.
class TwoPoleHighpass {
public:
    explicit TwoPoleHighpass(double period) {
        const double w = 4.442212012175967 / period;
        const double alpha = (std::cos(w) + std::sin(w) - 1.0) / std::cos(w);
        const double half = 1.0 - alpha / 2.0;
        k1_ = half * half;
        k2_ = 2.0 * (1.0 - alpha);
        k3_ = (1.0 - alpha) * (1.0 - alpha);
    }

    double push(double x) {
        double hp = 0.0;
        if (count_ >= 2) hp = k1_ * (x - 2.0 * x1_ + x2_) + k2_ * hp1_ - k3_ * hp2_;
        else ++count_;
        x2_ = x1_;
        x1_ = x;
        hp2_ = hp1_;
        hp1_ = hp;
        return hp;
    }

private:
    double k1_ = 0.0, k2_ = 0.0, k3_ = 0.0;
    double x1_ = 0.0, x2_ = 0.0, hp1_ = 0.0, hp2_ = 0.0;
    std::size_t count_ = 0;
};

}  // namespace ostrel
