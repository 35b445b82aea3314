#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/wilder_smoother.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Relative momentum index: an RSI of the M-step momentum instead of the one-step change,
// Wilder-smoothed over N.
class Rmi {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Rmi, CoreError> create(std::uint64_t n, std::uint64_t m) {
        if (auto e = period_error(n, m)) return std::unexpected(*e);
        // The close window holds M + 1; compared without adding so no value can wrap.
        if (m >= MAX_PERIOD) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return Rmi(n, m);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        closes_.push(x);
        if (!closes_.full()) return std::nullopt;
        const double mom = x - closes_.oldest();
        if (!std::isfinite(mom)) return std::nullopt;  // only opposite prices near the largest doubles
        const auto g = gains_.push(mom > 0.0 ? mom : 0.0);
        const auto l = losses_.push(mom < 0.0 ? -mom : 0.0);
        if (!g || !l) return std::nullopt;
        const double s = *g + *l;
        return s == 0.0 ? 50.0 : 100.0 * *g / s;
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(gains_.period()) + closes_.capacity() - 1; }

private:
    Rmi(std::uint64_t n, std::uint64_t m) : closes_(m + 1), gains_(n), losses_(n) {}

    RingWindow<double> closes_;
    WilderSmoother gains_;
    WilderSmoother losses_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Rmi, ostrel::Rmi::create(p.count(0), p.count(1)))
