#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// Elder ray: the candle's high and low measured from the EMA(N) of the close.
class ElderRay {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ElderRay, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return ElderRay(period);
    }

    // bull_power, bear_power.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const auto e = ema_.push(c.close);
        if (!e) return std::nullopt;
        return std::array<double, 2>{c.high - *e, c.low - *e};
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(ema_.period()); }

private:
    explicit ElderRay(std::uint64_t period) : ema_(period) {}
    ExpSmoother ema_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ElderRay, ostrel::ElderRay::create(p.count(0)))
