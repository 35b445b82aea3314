#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>

#include "indicators/rolling/flat_run.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// Sums of deviations from an anchor value, re-anchored on the window mean every N pushes
// so that large offsets do not swamp the variance.
class AnchoredMoments {
public:
    explicit AnchoredMoments(std::size_t period) : window_(period) {}

    bool push(double x) {
        if (!std::isfinite(x)) return false;
        if (auto old = window_.push(x)) {
            const double d = *old - *anchor_;
            s1_ -= d;
            s2_ -= d * d;
        }
        if (!anchor_) anchor_ = x;
        const double d = x - *anchor_;
        s1_ += d;
        s2_ += d * d;
        flat_.push(x);
        if (++pushes_since_reanchor_ >= window_.capacity()) reanchor();
        return true;
    }

    bool full() const { return window_.full(); }
    std::size_t size() const { return window_.size(); }
    std::size_t period() const { return window_.capacity(); }
    // Every held value equal: variance is exactly 0 and the mean that value.
    bool flat() const { return flat_.covers(window_.size()) && !window_.empty(); }

    // Statistics over the values held (the window is full in ordinary use).
    double mean() const {
        if (flat()) return flat_.value();
        return *anchor_ + s1_ / n();
    }
    double variance() const {
        if (flat()) return 0.0;
        const double m = s1_ / n();
        return std::max(0.0, s2_ / n() - m * m);
    }
    double stddev() const { return std::sqrt(variance()); }

    double anchor() const { return anchor_.value_or(0.0); }
    double s1() const { return flat() ? 0.0 : s1_; }
    double s2() const { return flat() ? 0.0 : s2_; }
    const RingWindow<double>& window() const { return window_; }

private:
    double n() const { return static_cast<double>(window_.size()); }

    void reanchor() {
        const double a = window_.fold(0.0, [](double acc, double v) { return acc + v; }) / n();
        anchor_ = a;
        s1_ = 0.0;
        s2_ = 0.0;
        window_.for_each([&](double v) {
            const double d = v - a;
            s1_ += d;
            s2_ += d * d;
        });
        pushes_since_reanchor_ = 0;
    }

    RingWindow<double> window_;
    std::optional<double> anchor_;
    double s1_ = 0.0;
    double s2_ = 0.0;
    std::size_t pushes_since_reanchor_ = 0;
    FlatRun flat_;
};

// Two series pushed together; each is anchored on its own first value.
class AnchoredPairMoments {
public:
    explicit AnchoredPairMoments(std::size_t period) : window_(period) {}

    bool push(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return false;
        if (auto old = window_.push({x, y})) remove(*old);
        if (!ax_) {
            ax_ = x;
            ay_ = y;
        }
        add({x, y});
        flat_x_.push(x);
        flat_y_.push(y);
        if (++pushes_since_reanchor_ >= window_.capacity()) reanchor();
        return true;
    }

    bool full() const { return window_.full(); }
    std::size_t size() const { return window_.size(); }
    std::size_t period() const { return window_.capacity(); }
    bool flat_x() const { return !window_.empty() && flat_x_.covers(window_.size()); }
    bool flat_y() const { return !window_.empty() && flat_y_.covers(window_.size()); }

    double mean_x() const { return flat_x() ? flat_x_.value() : *ax_ + sx_ / n(); }
    double mean_y() const { return flat_y() ? flat_y_.value() : *ay_ + sy_ / n(); }
    double variance_x() const { return flat_x() ? 0.0 : std::max(0.0, sxx_ / n() - sq(sx_ / n())); }
    double variance_y() const { return flat_y() ? 0.0 : std::max(0.0, syy_ / n() - sq(sy_ / n())); }
    double covariance() const {
        if (flat_x() || flat_y()) return 0.0;
        return sxy_ / n() - (sx_ / n()) * (sy_ / n());
    }

    // Raw sums of deviations from the anchors, for members that combine them their own way.
    double anchor_x() const { return ax_.value_or(0.0); }
    double anchor_y() const { return ay_.value_or(0.0); }
    double sx() const { return flat_x() ? 0.0 : sx_; }
    double sy() const { return flat_y() ? 0.0 : sy_; }
    double sxx() const { return flat_x() ? 0.0 : sxx_; }
    double syy() const { return flat_y() ? 0.0 : syy_; }
    double sxy() const { return flat_x() || flat_y() ? 0.0 : sxy_; }
    const RingWindow<std::pair<double, double>>& window() const { return window_; }

private:
    static double sq(double v) { return v * v; }
    double n() const { return static_cast<double>(window_.size()); }

    void add(std::pair<double, double> v) {
        const double dx = v.first - *ax_;
        const double dy = v.second - *ay_;
        sx_ += dx;
        sy_ += dy;
        sxx_ += dx * dx;
        syy_ += dy * dy;
        sxy_ += dx * dy;
    }
    void remove(std::pair<double, double> v) {
        const double dx = v.first - *ax_;
        const double dy = v.second - *ay_;
        sx_ -= dx;
        sy_ -= dy;
        sxx_ -= dx * dx;
        syy_ -= dy * dy;
        sxy_ -= dx * dy;
    }

    void reanchor() {
        double tx = 0.0, ty = 0.0;
        window_.for_each([&](const std::pair<double, double>& v) {
            tx += v.first;
            ty += v.second;
        });
        ax_ = tx / n();
        ay_ = ty / n();
        sx_ = sy_ = sxx_ = syy_ = sxy_ = 0.0;
        window_.for_each([&](const std::pair<double, double>& v) { add(v); });
        pushes_since_reanchor_ = 0;
    }

    RingWindow<std::pair<double, double>> window_;
    std::optional<double> ax_, ay_;
    double sx_ = 0.0, sy_ = 0.0, sxx_ = 0.0, syy_ = 0.0, sxy_ = 0.0;
    std::size_t pushes_since_reanchor_ = 0;
    FlatRun flat_x_, flat_y_;
};

}  // namespace ostrel
