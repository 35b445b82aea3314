#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/sorted_window.hpp"

namespace ostrel {
namespace {

// Volatility regime: −1 when the sample deviation of the last V log returns lies below the
// 0.25 quantile of its last L values, +1 above their 0.75 quantile, else 0. Closes that are
// not finite and positive are ignored.
class RegimeLabel {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<RegimeLabel, CoreError> create(std::uint64_t vol_period, std::uint64_t lookback) {
        if (auto e = period_error(vol_period, lookback)) return std::unexpected(*e);
        if (vol_period < 2) return std::unexpected(CoreError::invalid_period("regime label needs vol_period >= 2"));
        if (lookback < 2) return std::unexpected(CoreError::invalid_period("regime label needs lookback >= 2"));
        return RegimeLabel(vol_period, lookback);
    }

    std::optional<double> update(double x) {
        if (!(std::isfinite(x) && x > 0.0)) return std::nullopt;
        const std::optional<double> previous = previous_;
        previous_ = x;
        if (!previous) return std::nullopt;
        // A quotient beyond the double range has no finite logarithm; the window ignores it.
        if (!returns_.push(std::log(x / *previous)) || !returns_.full()) return std::nullopt;

        const double v = static_cast<double>(returns_.size());
        const double sigma = std::sqrt(returns_.variance() * v / (v - 1.0));
        sigmas_.push(sigma);
        if (!sigmas_.full()) return std::nullopt;
        if (sigma < sigmas_.quantile(0.25)) return -1.0;
        if (sigma > sigmas_.quantile(0.75)) return 1.0;
        return 0.0;
    }

    std::size_t warmup_period() const { return returns_.period() + sigmas_.period(); }

private:
    RegimeLabel(std::size_t vol_period, std::size_t lookback) : returns_(vol_period), sigmas_(lookback) {}

    std::optional<double> previous_;
    AnchoredMoments returns_;
    SortedWindow sigmas_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RegimeLabel, ostrel::RegimeLabel::create(p.count(0), p.count(1)))
