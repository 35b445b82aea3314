#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/risk/shortfall_window.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Mean excess above the minimum acceptable return over the downside deviation below it.
class UpsidePotentialRatio {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<UpsidePotentialRatio, CoreError> create(std::uint64_t period, double mar) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (!std::isfinite(mar)) return std::unexpected(CoreError::invalid_parameter("mar must be finite"));
        if (period < 2)
            return std::unexpected(CoreError::invalid_period("upside potential ratio needs period >= 2"));
        return UpsidePotentialRatio(period, mar);
    }

    std::optional<double> update(double r) {
        // Both windows take the return or neither does.
        const auto e = shortfalls_.push(r);
        if (!e) return std::nullopt;
        upside_.push(*e > 0.0 ? *e : 0.0);
        if (!upside_.full()) return std::nullopt;
        const double downside = std::sqrt(shortfalls_.downside_variance());
        if (downside == 0.0) return 0.0;
        return upside_.mean() / downside;
    }

    std::size_t warmup_period() const { return upside_.period(); }

private:
    UpsidePotentialRatio(std::size_t n, double mar) : upside_(n), shortfalls_(n, mar) {}

    RunningSum upside_;
    ShortfallWindow shortfalls_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(UpsidePotentialRatio, ostrel::UpsidePotentialRatio::create(p.count(0), p.real(1)))
