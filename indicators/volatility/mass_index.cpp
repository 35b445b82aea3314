#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Sum over the last M candles of EMA(N)(high − low) / EMA(N)(EMA(N)(high − low)).
class MassIndex {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<MassIndex, CoreError> create(std::uint64_t period, std::uint64_t sum_period) {
        if (auto e = period_error(period, sum_period)) return std::unexpected(*e);
        return MassIndex(period, sum_period);
    }

    std::optional<double> update(const Candle& c) {
        const std::optional<double> single = single_.push(c.high - c.low);
        if (!single) return std::nullopt;
        const std::optional<double> dbl = double_.push(*single);
        if (!dbl) return std::nullopt;
        ratios_.push(*dbl == 0.0 ? 1.0 : *single / *dbl);
        if (!ratios_.full()) return std::nullopt;
        return ratios_.sum();
    }

    std::size_t warmup_period() const { return ratios_.period() + 2 * single_.period() - 2; }

private:
    MassIndex(std::uint64_t period, std::size_t sum_period)
        : single_(period), double_(period), ratios_(sum_period) {}

    ExpSmoother single_;
    ExpSmoother double_;
    RunningSum ratios_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MassIndex, ostrel::MassIndex::create(p.count(0), p.count(1)))
