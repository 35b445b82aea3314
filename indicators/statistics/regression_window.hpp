#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// Least-squares line through the last N values against their positions, 0 for the oldest and
// N − 1 for the newest. Sums of deviations from an anchor (the first value, later the window
// mean every N pushes) keep large price levels from swamping the slope. A window of identical
// values is recognised and reports an exactly flat line through that value.
class RegressionWindow {
public:
    // 1 ≤ period ≤ MAX_PERIOD, checked by the caller.
    explicit RegressionWindow(std::size_t period)
        : window_(period), n_(static_cast<double>(period)) {
        const auto n = static_cast<unsigned __int128>(period);
        const unsigned __int128 sx = n * (n - 1) / 2;
        const unsigned __int128 sxx = (n - 1) * n * (2 * n - 1) / 6;
        // Exact in 128 bits (below 2^96 for any admissible period), rounded once.
        sx_ = static_cast<double>(sx);
        d_ = static_cast<double>(n * sxx - sx * sx);
    }

    // Returns false (and changes nothing) for a non-finite value.
    bool push(double y) {
        if (!std::isfinite(y)) return false;
        if (auto old = window_.push(y)) {
            const double d = *old - *anchor_;
            sy_ -= d;
            syy_ -= d * d;
            // The evicted value sat at x = 0; every remaining position moves down by one.
            sxy_ -= sy_;
        }
        if (!anchor_) anchor_ = y;
        const double d = y - *anchor_;
        sy_ += d;
        syy_ += d * d;
        sxy_ += static_cast<double>(window_.size() - 1) * d;
        flat_.push(y);
        if (++pushes_since_reanchor_ >= window_.capacity()) reanchor();
        return true;
    }

    bool full() const { return window_.full(); }
    std::size_t size() const { return window_.size(); }
    std::size_t period() const { return window_.capacity(); }
    bool flat() const { return !window_.empty() && flat_.covers(window_.size()); }

    // The line of a full window (N ≥ 2 for a meaningful slope).
    double slope() const {
        if (flat() || d_ == 0.0) return 0.0;
        return slope_numerator() / d_;
    }
    // The fitted value at x = 0, the oldest position.
    double intercept() const { return intercept_for(slope()); }
    double value_at(double x) const {
        const double m = slope();
        return intercept_for(m) + m * x;
    }
    // The fitted value at the newest position, N − 1.
    double end_value() const {
        const double m = slope();
        return (n_ - 1.0) * m + intercept_for(m);
    }
    // One step beyond the newest position.
    double forecast() const {
        const double m = slope();
        return n_ * m + intercept_for(m);
    }

    // N·Sxy − Sx·Sy: N² times the covariance of position and value.
    double slope_numerator() const { return flat() ? 0.0 : n_ * sxy_ - sx_ * sy_; }
    // D = N·Σx² − Sx²: N² times the variance of the positions.
    double denominator() const { return d_; }
    // Σ(y − mean)², as Syy − N·(Sy/N)².
    double centered_syy() const {
        if (flat()) return 0.0;
        const double a = sy_ / n_;
        return syy_ - n_ * (a * a);
    }
    // Σ e² of the residuals e = y − (b + m·x), over one pass of the window.
    double residual_sum_squares() const {
        if (flat()) return 0.0;
        const double m = slope();
        const double b = intercept_for(m);
        double sse = 0.0;
        double x = 0.0;
        window_.for_each([&](double y) {
            const double e = y - (b + m * x);
            sse += e * e;
            x += 1.0;
        });
        return sse;
    }

    // Raw sums of deviations from the anchor, for members that combine them their own way;
    // unlike the values above they carry the window's rounding residue even when it is flat.
    double anchor() const { return anchor_.value_or(0.0); }
    double sy() const { return sy_; }
    double sxy() const { return sxy_; }
    double syy() const { return syy_; }
    double sx() const { return sx_; }
    const RingWindow<double>& window() const { return window_; }

private:
    double intercept_for(double m) const {
        if (flat()) return flat_.value();
        return *anchor_ + (sy_ - sx_ * m) / n_;
    }

    void reanchor() {
        const double count = static_cast<double>(window_.size());
        const double a = window_.fold(0.0, [](double acc, double v) { return acc + v; }) / count;
        anchor_ = a;
        sy_ = sxy_ = syy_ = 0.0;
        double x = 0.0;
        window_.for_each([&](double v) {
            const double d = v - a;
            sy_ += d;
            syy_ += d * d;
            sxy_ += x * d;
            x += 1.0;
        });
        pushes_since_reanchor_ = 0;
    }

    RingWindow<double> window_;
    double n_;
    double sx_ = 0.0;
    double d_ = 0.0;
    std::optional<double> anchor_;
    double sy_ = 0.0;
    double sxy_ = 0.0;
    double syy_ = 0.0;
    std::size_t pushes_since_reanchor_ = 0;
    FlatRun flat_;
};

}  // namespace ostrel
