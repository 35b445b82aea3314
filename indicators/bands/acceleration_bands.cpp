#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// SMAs of the high widened and the low narrowed by f times the candle's relative range,
// and of the close.
class AccelerationBands {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AccelerationBands, CoreError> create(std::uint64_t n, double f) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (auto e = multiplier_error(f)) return std::unexpected(*e);
        return AccelerationBands(n, f);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(const Candle& c) {
        const double sum = c.high + c.low;
        const double rho = sum == 0.0 ? 0.0 : (c.high - c.low) / sum;
        const double raw_upper = c.high * std::fma(f_, rho, 1.0);
        const double raw_lower = c.low * std::fma(-f_, rho, 1.0);
        // Near-zero or overflowing prices can make a raw band non-finite; the three windows
        // must stay aligned, so such a candle is skipped whole.
        if (!std::isfinite(raw_upper) || !std::isfinite(raw_lower)) return std::nullopt;
        upper_.push(raw_upper);
        middle_.push(c.close);
        lower_.push(raw_lower);
        if (!middle_.full()) return std::nullopt;
        return std::array<double, 3>{upper_.mean(), middle_.mean(), lower_.mean()};
    }

    std::size_t warmup_period() const { return middle_.period(); }

private:
    AccelerationBands(std::uint64_t n, double f) : upper_(n, 16), middle_(n, 16), lower_(n, 16), f_(f) {}

    RunningSum upper_;
    RunningSum middle_;
    RunningSum lower_;
    double f_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AccelerationBands, ostrel::AccelerationBands::create(p.count(0), p.real(1)))
