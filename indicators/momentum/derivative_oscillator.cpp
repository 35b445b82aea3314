#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/wilder_rsi.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/moving_averages/sma.hpp"

namespace ostrel {
namespace {

// Derivative oscillator: Wilder's RSI smoothed by EMA(s1) then EMA(s2), minus the SMA(signal)
// of that smoothed line.
class DerivativeOscillator {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<DerivativeOscillator, CoreError> create(std::uint64_t r, std::uint64_t s1,
                                                                 std::uint64_t s2, std::uint64_t signal) {
        if (auto e = period_error(r, s1, s2, signal)) return std::unexpected(*e);
        return DerivativeOscillator(r, s1, s2, signal);
    }

    std::optional<double> update(double x) {
        const auto rsi = rsi_.push(x);
        if (!rsi) return std::nullopt;
        const auto d1 = first_.push(*rsi);
        if (!d1) return std::nullopt;
        const auto d2 = second_.push(*d1);
        if (!d2) return std::nullopt;
        const auto average = signal_.update(*d2);
        if (!average) return std::nullopt;
        return *d2 - *average;
    }

    std::size_t warmup_period() const {
        return static_cast<std::size_t>(rsi_.period() + first_.period() + second_.period()) +
               signal_.warmup_period() - 2;
    }

private:
    DerivativeOscillator(std::uint64_t r, std::uint64_t s1, std::uint64_t s2, std::uint64_t signal)
        : rsi_(r), first_(s1), second_(s2), signal_(*Sma::create(signal)) {}

    WilderRsi rsi_;
    ExpSmoother first_;
    ExpSmoother second_;
    Sma signal_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DerivativeOscillator,
               ostrel::DerivativeOscillator::create(p.count(0), p.count(1), p.count(2), p.count(3)))
