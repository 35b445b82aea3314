#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/risk/shortfall_window.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {
namespace {

// Mean excess over the target per unit of downside deviation, the squared shortfalls
// divided by all N observations.
class SortinoRatio {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<SortinoRatio, CoreError> create(std::uint64_t period, double target) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("sortino ratio needs period >= 2"));
        return SortinoRatio(period, target);
    }

    std::optional<double> update(double r) {
        // Both windows take the return or neither does.
        if (!shortfalls_.push(r)) return std::nullopt;
        moments_.push(r);
        if (!moments_.full()) return std::nullopt;
        const double dv = shortfalls_.downside_variance();
        if (dv == 0.0) return 0.0;
        return (moments_.mean() - shortfalls_.target()) / std::sqrt(dv);
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    SortinoRatio(std::size_t n, double target) : moments_(n), shortfalls_(n, target) {}

    AnchoredMoments moments_;
    ShortfallWindow shortfalls_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SortinoRatio, ostrel::SortinoRatio::create(p.count(0), p.real(1)))
