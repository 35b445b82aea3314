#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/transforms/heikin_ashi_step.hpp"

namespace ostrel {
namespace {

// The EMA(N) of the Heikin-Ashi body, close − open.
class HeikinAshiOscillator {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<HeikinAshiOscillator, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return HeikinAshiOscillator(period);
    }

    std::optional<double> update(const Candle& c) {
        const auto ha = heikin_ashi_.push(c.open, c.high, c.low, c.close);
        return ema_.push(ha[3] - ha[0]);
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(ema_.period()); }

private:
    explicit HeikinAshiOscillator(std::uint64_t period) : ema_(period) {}

    HeikinAshiStep heikin_ashi_;
    ExpSmoother ema_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HeikinAshiOscillator, ostrel::HeikinAshiOscillator::create(p.count(0)))
