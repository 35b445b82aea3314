#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// WaveTrend: the channel index of the typical price (its distance from its EMA over 0.015
// times the EMA of that distance), smoothed by EMA(average) into wt1, and wt2 = SMA(signal)
// of wt1. A deviation average within rounding of the level reads as no deviation at all.
class WaveTrend {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<WaveTrend, CoreError> create(std::uint64_t channel, std::uint64_t average,
                                                      std::uint64_t signal) {
        if (auto e = period_error(channel, average, signal)) return std::unexpected(*e);
        return WaveTrend(channel, average, signal);
    }

    // wt1, wt2.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const double ap = (c.high + c.low + c.close) / 3.0;
        const auto esa = esa_.push(ap);
        if (!esa) return std::nullopt;
        const auto d = deviation_.push(std::fabs(ap - *esa));
        if (!d) return std::nullopt;
        const double floor = std::max(std::fabs(*esa), 1.0) * 16.0 * 2.220446049250313e-16;
        const double ci = *d <= floor ? 0.0 : (ap - *esa) / (0.015 * *d);
        const auto wt1 = wt1_.push(ci);
        if (!wt1 || !wt2_.push(*wt1) || !wt2_.full()) return std::nullopt;
        return std::array<double, 2>{*wt1, wt2_.mean()};
    }

    std::size_t warmup_period() const {
        return static_cast<std::size_t>(2 * esa_.period() + wt1_.period() + wt2_.period() - 3);
    }

private:
    WaveTrend(std::uint64_t channel, std::uint64_t average, std::uint64_t signal)
        : esa_(channel), deviation_(channel), wt1_(average), wt2_(static_cast<std::size_t>(signal), 16) {}

    ExpSmoother esa_;
    ExpSmoother deviation_;
    ExpSmoother wt1_;
    RunningSum wt2_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(WaveTrend, ostrel::WaveTrend::create(p.count(0), p.count(1), p.count(2)))
