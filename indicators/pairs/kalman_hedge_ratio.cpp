#include <array>
#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Two-state Kalman filter for x = hedge·y + intercept with random-walk states: process noise
// delta/(1 − delta) on both states from the second step on, observation noise
// observation_var. Outputs the states after the step and the innovation before it.
class KalmanHedgeRatio {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<KalmanHedgeRatio, CoreError> create(double delta, double observation_var) {
        if (!(std::isfinite(delta) && delta > 0.0 && delta < 1.0))
            return std::unexpected(CoreError::invalid_parameter("kalman hedge ratio needs delta in (0, 1)"));
        if (!(std::isfinite(observation_var) && observation_var > 0.0))
            return std::unexpected(CoreError::invalid_parameter("kalman hedge ratio needs observation_var > 0"));
        return KalmanHedgeRatio(delta / (1.0 - delta), observation_var);
    }

    // hedge_ratio, intercept, spread.
    std::optional<std::array<double, 3>> update(double x, double y) {
        double p00 = p00_, p01 = p01_, p10 = p10_, p11 = p11_;
        if (steps_ != 0) {
            p00 += vw_;
            p11 += vw_;
        }
        const double e = x - (y * hedge_ + intercept_);
        const double h0 = p00 * y + p01;
        const double h1 = p10 * y + p11;
        const double s = y * h0 + h1 + ve_;
        const double k0 = h0 / s;
        const double k1 = h1 / s;
        const double hedge = hedge_ + e * k0;
        const double intercept = intercept_ + e * k1;
        p00 -= k0 * h0;
        p01 -= k0 * h1;
        p10 -= k1 * h0;
        p11 -= k1 * h1;
        // Pairs near the largest doubles overflow the covariance; such a step is dropped rather
        // than poisoning the filter with NaN for ever.
        if (!(std::isfinite(hedge) && std::isfinite(intercept) && std::isfinite(p00) && std::isfinite(p01) &&
              std::isfinite(p10) && std::isfinite(p11)))
            return std::nullopt;
        hedge_ = hedge;
        intercept_ = intercept;
        p00_ = p00;
        p01_ = p01;
        p10_ = p10;
        p11_ = p11;
        ++steps_;
        return std::array<double, 3>{hedge_, intercept_, e};
    }

    std::size_t warmup_period() const { return 1; }

private:
    KalmanHedgeRatio(double vw, double ve) : vw_(vw), ve_(ve) {}

    double vw_;
    double ve_;
    double hedge_ = 0.0;
    double intercept_ = 0.0;
    double p00_ = 0.0, p01_ = 0.0, p10_ = 0.0, p11_ = 0.0;
    std::size_t steps_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(KalmanHedgeRatio, ostrel::KalmanHedgeRatio::create(p.real(0), p.real(1)))
