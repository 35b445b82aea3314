#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/wilder_atr.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/sliding_extremes.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/running_sum.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// TTM squeeze: 1 while the Bollinger bands of the closes lie within the ATR range bands;
// momentum is the regression end value of the last N closes less the middle M of the
// range midpoint and the close average. Flat windows read exact means, σ = 0 and slope 0,
// so equal bands compare equal.
class TtmSqueeze {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TtmSqueeze, CoreError> create(std::uint64_t period, double k_bb, double k_kc) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2)
            return std::unexpected(CoreError::invalid_period("TTM squeeze needs period >= 2 for the momentum regression"));
        return TtmSqueeze(period, k_bb, k_kc);
    }

    // squeeze, momentum.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        moments_.push(c.close);
        sma_.push(c.close);
        regression_.push(c.close);
        extremes_.push(c.high, c.low);
        const auto atr = atr_.update(c);
        if (!atr || !moments_.full()) return std::nullopt;
        const double mean = moments_.mean();
        const double width = k_bb_ * moments_.stddev();
        const double sma = sma_.mean();
        const double range = k_kc_ * *atr;
        const bool squeeze = sma - range <= mean - width && sma + range >= mean + width;
        const double m = midpoint(midpoint(extremes_.highest(), extremes_.lowest()), sma);
        return std::array<double, 2>{squeeze ? 1.0 : 0.0, regression_.end_value() - m};
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    TtmSqueeze(std::uint64_t n, double k_bb, double k_kc)
        : moments_(n), sma_(n, 16), regression_(n), extremes_(n), atr_(n), k_bb_(k_bb), k_kc_(k_kc) {}

    AnchoredMoments moments_;
    RunningSum sma_;
    RegressionWindow regression_;
    SlidingExtremes extremes_;
    WilderAtr atr_;
    double k_bb_;
    double k_kc_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TtmSqueeze, ostrel::TtmSqueeze::create(p.count(0), p.real(1), p.real(2)))
