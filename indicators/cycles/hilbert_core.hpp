#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace ostrel {

// Hilbert-transform cycle measurement: smoothed price, detrender, in-phase and quadrature
// components, homodyne period P and its smoothing SP.
class HilbertCore {
public:
    // How far the latest close went through the measurement.
    enum class Stage { Warming, Smoothed, Detrended, Phasor, Homodyne };

    Stage push(double x) {
        ++closes_;
        closes_hist_ = {x, closes_hist_[0], closes_hist_[1], closes_hist_[2]};
        Stage stage = Stage::Warming;
        const double adj = 0.075 * std::clamp(period_, 6.0, 50.0) + 0.54;
        if (closes_ >= 4) {
            const auto& c = closes_hist_;
            // Equal closes smooth to themselves exactly (the weighted sum would round).
            smooth_ = (c[0] == c[1] && c[1] == c[2] && c[2] == c[3])
                          ? x
                          : (4.0 * c[0] + 3.0 * c[1] + 2.0 * c[2] + c[3]) / 10.0;
            shift(smooth_hist_, smooth_);
            stage = Stage::Smoothed;
        }
        if (closes_ >= 10) {
            shift(detrender_, h(smooth_hist_) * adj);
            stage = Stage::Detrended;
        }
        const double i2_prev = i2_, q2_prev = q2_;
        if (closes_ >= 16) {
            q1_ = h(detrender_) * adj;
            i1_ = detrender_[3];
            shift(q1_hist_, q1_);
            shift(i1_hist_, i1_);
            stage = Stage::Phasor;
        }
        if (closes_ >= 22) {
            const double ji = h(i1_hist_) * adj;
            const double jq = h(q1_hist_) * adj;
            i2_ = 0.2 * (i1_ - jq) + 0.8 * i2_prev;
            q2_ = 0.2 * (q1_ + ji) + 0.8 * q2_prev;
            stage = Stage::Homodyne;
        }
        re_ = 0.2 * (i2_ * i2_prev + q2_ * q2_prev) + 0.8 * re_;
        im_ = 0.2 * (i2_ * q2_prev - q2_ * i2_prev) + 0.8 * im_;
        constexpr double eps = 2.220446049250313e-16;
        double p = period_;
        if (std::fabs(re_) > eps && std::fabs(im_) > eps) p = 2.0 * std::numbers::pi / std::atan2(im_, re_);
        p = std::min(p, 1.5 * period_);
        p = std::max(p, 0.67 * period_);
        p = std::max(p, 6.0);
        p = std::min(p, 50.0);
        period_ = 0.2 * p + 0.8 * period_;
        smooth_period_ = 0.33 * period_ + 0.67 * smooth_period_;
        return stage;
    }

    std::size_t closes() const { return closes_; }
    double smooth() const { return smooth_; }
    double inphase() const { return i1_; }
    double quadrature() const { return q1_; }
    double smooth_period() const { return smooth_period_; }

private:
    using History = std::array<double, 7>;

    static void shift(History& h, double v) {
        for (std::size_t i = h.size() - 1; i > 0; --i) h[i] = h[i - 1];
        h[0] = v;
    }
    static double h(const History& v) {
        // The taps cancel on equal values; the literal sum would leave rounding residue.
        if (v[0] == v[2] && v[2] == v[4] && v[4] == v[6]) return 0.0;
        return 0.0962 * v[0] + 0.5769 * v[2] - 0.5769 * v[4] - 0.0962 * v[6];
    }

    std::size_t closes_ = 0;
    std::array<double, 4> closes_hist_{};
    History smooth_hist_{}, detrender_{}, q1_hist_{}, i1_hist_{};
    double smooth_ = 0.0, i1_ = 0.0, q1_ = 0.0;
    double i2_ = 0.0, q2_ = 0.0, re_ = 0.0, im_ = 0.0;
    double period_ = 0.0, smooth_period_ = 0.0;
};

}  // namespace ostrel
