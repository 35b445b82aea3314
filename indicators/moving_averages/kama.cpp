#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Kaufman's adaptive average: the smoothing constant moves between the fast and slow
// constants with the efficiency ratio (net move over path length) of the last N changes.
class Kama {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Kama, CoreError> create(std::uint64_t period, std::uint64_t fast, std::uint64_t slow) {
        if (period == 0 || fast == 0 || slow == 0) return std::unexpected(CoreError::zero_period());
        if (fast >= slow)
            return std::unexpected(CoreError::invalid_period("KAMA fast period must be strictly less than slow"));
        // The window holds N + 1 closes; compared without adding so N = 2^64 − 1 cannot wrap.
        if (period >= MAX_PERIOD) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return Kama(period, fast, slow);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        closes_.push(x);
        if (!closes_.full()) return std::nullopt;

        const double oldest = closes_.oldest();
        // The oldest value meets itself first and adds exactly 0.
        double volatility = 0.0;
        double previous = oldest;
        closes_.for_each([&](double v) {
            volatility += std::fabs(v - previous);
            previous = v;
        });
        const double direction = std::fabs(x - oldest);
        const double er = volatility != 0.0 ? direction / volatility : 0.0;
        const double t = (fast_sc_ - slow_sc_) * er + slow_sc_;
        const double sc = t * t;
        const double prev = has_value_ ? value_ : oldest;
        const double next = prev + sc * (x - prev);
        // Only reachable through overflowing differences near the largest doubles; such a
        // value would otherwise stick for ever.
        if (!std::isfinite(next)) return std::nullopt;
        value_ = next;
        has_value_ = true;
        return value_;
    }

    std::size_t warmup_period() const { return closes_.capacity(); }

private:
    Kama(std::uint64_t n, std::uint64_t fast, std::uint64_t slow)
        : closes_(n + 1),
          fast_sc_(2.0 / (static_cast<double>(fast) + 1.0)),
          slow_sc_(2.0 / (static_cast<double>(slow) + 1.0)) {}

    RingWindow<double> closes_;
    double fast_sc_;
    double slow_sc_;
    double value_ = 0.0;
    bool has_value_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Kama, ostrel::Kama::create(p.count(0), p.count(1), p.count(2)))
