#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Polarized fractal efficiency: the straight distance over N bars (one unit per bar) against
// the path walked bar by bar, ×100 and signed by the net move, then exponentially smoothed.
class PolarizedFractalEfficiency {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<PolarizedFractalEfficiency, CoreError> create(std::uint64_t period,
                                                                       std::uint64_t smoothing) {
        if (auto e = period_error(period, smoothing)) return std::unexpected(*e);
        // The ring holds N + 1 closes; compared without adding so that N = 2^64 − 1 cannot wrap.
        if (period >= MAX_PERIOD) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return PolarizedFractalEfficiency(period, smoothing);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!closes_.empty()) {
            const double d = x - closes_.newest();
            // A step beyond the double range cannot enter the path; the close is unusable.
            if (!path_.push(std::sqrt(d * d + 1.0))) return std::nullopt;
        }
        closes_.push(x);
        if (!closes_.full()) return std::nullopt;

        const double delta = x - closes_.oldest();
        double raw = 0.0;
        if (delta != 0.0) {
            const double sign = delta > 0.0 ? 1.0 : -1.0;
            raw = sign * 100.0 * std::sqrt(delta * delta + n_ * n_) / path_.sum();
            // The chord never exceeds the path; only rounding of the running path could say so.
            raw = std::clamp(raw, -100.0, 100.0);
        }
        return smoother_.push(raw);
    }

    std::size_t warmup_period() const { return closes_.capacity() + smoother_.period() - 1; }

private:
    PolarizedFractalEfficiency(std::size_t n, std::size_t s)
        : closes_(n + 1), path_(n), n_(static_cast<double>(n)), smoother_(s) {}

    RingWindow<double> closes_;
    RunningSum path_;
    double n_;
    ExpSmoother smoother_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(PolarizedFractalEfficiency, ostrel::PolarizedFractalEfficiency::create(p.count(0), p.count(1)))
