#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/transforms/heikin_ashi_step.hpp"

namespace ostrel {
namespace {

// Heikin-Ashi candles from exponentially smoothed open, high, low and close.
class SmoothedHeikinAshi {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<SmoothedHeikinAshi, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return SmoothedHeikinAshi(period);
    }

    std::optional<std::array<double, 4>> update(const Candle& c) {
        // All four are pushed on every candle so that they stay in lockstep.
        const auto o = open_.push(c.open);
        const auto h = high_.push(c.high);
        const auto l = low_.push(c.low);
        const auto cl = close_.push(c.close);
        if (!o || !h || !l || !cl) return std::nullopt;
        return step_.push(*o, *h, *l, *cl);
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(open_.period()); }

private:
    explicit SmoothedHeikinAshi(std::uint64_t period)
        : open_(period), high_(period), low_(period), close_(period) {}

    ExpSmoother open_;
    ExpSmoother high_;
    ExpSmoother low_;
    ExpSmoother close_;
    HeikinAshiStep step_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SmoothedHeikinAshi, SmoothedHeikinAshi::create(p.count(0)))
