#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/true_range.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Pretty good oscillator: the close's distance from its N-close average in units of the
// EMA(N) of the true range; a range average that is not positive repeats the last value.
class Pgo {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Pgo, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Pgo(period);
    }

    std::optional<double> update(const Candle& c) {
        // A range that overflows drops the candle before anything is taken in.
        TrueRange range = range_;
        const double tr = range.push(c.high, c.low, c.close);
        if (!std::isfinite(tr)) return std::nullopt;
        range_ = range;
        sma_.push(c.close);
        const auto atr = ema_range_.push(tr);
        if (!atr || !sma_.full()) return std::nullopt;
        if (*atr > 0.0) {
            value_ = (c.close - sma_.mean()) / *atr;
            has_value_ = true;
        }
        if (!has_value_) return std::nullopt;
        return value_;
    }

    std::size_t warmup_period() const { return sma_.period(); }

private:
    explicit Pgo(std::uint64_t period) : sma_(static_cast<std::size_t>(period), 16), ema_range_(period) {}

    RunningSum sma_;
    TrueRange range_;
    ExpSmoother ema_range_;
    double value_ = 0.0;
    bool has_value_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Pgo, ostrel::Pgo::create(p.count(0)))
