#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/true_range.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// True range over its exponential average as it stood before the candle. The average is seeded
// with the mean of the first N true ranges, counted from the second candle.
class VolatilityRatio {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<VolatilityRatio, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return VolatilityRatio(period);
    }

    std::optional<double> update(const Candle& c) {
        const bool has_previous = true_range_.has_previous();
        const double tr = true_range_.push(c.high, c.low, c.close);
        if (!has_previous || !std::isfinite(tr)) return std::nullopt;
        std::optional<double> ratio;
        if (average_.seeded()) {
            const double before = average_.value();
            ratio = before > 0.0 ? tr / before : 0.0;
        }
        average_.push(tr);
        return ratio;
    }

    std::size_t warmup_period() const { return average_.period() + 2; }

private:
    explicit VolatilityRatio(std::uint64_t period) : average_(period) {}

    TrueRange true_range_;
    ExpSmoother average_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VolatilityRatio, ostrel::VolatilityRatio::create(p.count(0)))
