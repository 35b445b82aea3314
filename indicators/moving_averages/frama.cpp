#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <limits>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Fractal adaptive average: the smoothing constant follows the fractal dimension of the
// window, estimated from the ranges of its two halves against the whole.
class Frama {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Frama, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("FRAMA period must be at least 2"));
        if (period % 2 != 0) return std::unexpected(CoreError::invalid_period("FRAMA period must be even"));
        return Frama(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        const double a = smoothing();
        const double prev = value_.value_or(x);
        // The blend of two equal values is that value, which the rounded blend may miss.
        value_ = prev == x ? x : (1.0 - a) * prev + a * x;
        return value_;
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit Frama(std::size_t n) : window_(n) {}

    double smoothing() const {
        constexpr double inf = std::numeric_limits<double>::infinity();
        constexpr double ln2 = 0.6931471805599453;
        const std::size_t n = window_.capacity();
        const std::size_t half = n / 2;
        double old_hi = -inf, old_lo = inf, new_hi = -inf, new_lo = inf;
        std::size_t i = 0;
        window_.for_each([&](double v) {
            if (i++ < half) {
                old_hi = std::max(old_hi, v);
                old_lo = std::min(old_lo, v);
            } else {
                new_hi = std::max(new_hi, v);
                new_lo = std::min(new_lo, v);
            }
        });
        const double hi = std::max(old_hi, new_hi);
        const double lo = std::min(old_lo, new_lo);
        const double n3 = (hi - lo) / static_cast<double>(n);
        if (!(n3 > 0.0)) return 0.01;
        const double h = static_cast<double>(half);
        const double n1 = (old_hi - old_lo) / h;
        const double n2 = (new_hi - new_lo) / h;
        if (!(n1 > 0.0) || !(n2 > 0.0)) return 0.01;
        const double d = (std::log(n1 + n2) - std::log(n3)) / ln2;
        const double a = std::exp(-4.6 * (d - 1.0));
        // Ranges that overflow to infinity give a NaN dimension: treat it as no signal.
        if (std::isnan(a)) return 0.01;
        return std::clamp(a, 0.01, 1.0);
    }

    RingWindow<double> window_;
    std::optional<double> value_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Frama, Frama::create(p.count(0)))
