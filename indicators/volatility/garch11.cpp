#include <algorithm>
#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/volatility/log_return_source.hpp"

namespace ostrel {
namespace {

// GARCH(1,1) deviation of log returns: σ² starts at the long-run variance ω/(1 − α − β), then
// σ² = β·σ²_prev + (ω + α·r²_prev), the current return only entering the next step.
class Garch11 {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Garch11, CoreError> create(double omega, double alpha, double beta) {
        if (!(std::isfinite(omega) && std::isfinite(alpha) && std::isfinite(beta)))
            return std::unexpected(CoreError::invalid_parameter("GARCH(1,1) parameters must be finite"));
        if (omega <= 0.0) return std::unexpected(CoreError::invalid_parameter("GARCH(1,1) omega must be > 0"));
        if (alpha < 0.0 || beta < 0.0)
            return std::unexpected(CoreError::invalid_parameter("GARCH(1,1) alpha and beta must be >= 0"));
        if (alpha + beta >= 1.0)
            return std::unexpected(CoreError::invalid_parameter(
                "GARCH(1,1) requires alpha + beta < 1 (covariance stationarity)"));
        const double long_run = omega / (1.0 - alpha - beta);
        // An overflowing start would turn into NaN at the first β·σ² with β = 0.
        if (!std::isfinite(long_run))
            return std::unexpected(CoreError::invalid_parameter("GARCH(1,1) parameters must be finite"));
        return Garch11(omega, alpha, beta, long_run);
    }

    std::optional<double> update(double x) {
        const std::optional<double> r = returns_.push(x);
        if (!r) return std::nullopt;
        if (!started_) {
            variance_ = long_run_;
            started_ = true;
        } else {
            variance_ = beta_ * variance_ + (omega_ + alpha_ * previous_square_);
        }
        previous_square_ = *r * *r;
        return std::sqrt(std::max(variance_, 0.0));
    }

    std::size_t warmup_period() const { return 2; }

private:
    Garch11(double omega, double alpha, double beta, double long_run)
        : omega_(omega), alpha_(alpha), beta_(beta), long_run_(long_run) {}

    LogReturnSource returns_;
    double omega_;
    double alpha_;
    double beta_;
    double long_run_;
    double variance_ = 0.0;
    double previous_square_ = 0.0;
    bool started_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Garch11, ostrel::Garch11::create(p.real(0), p.real(1), p.real(2)))
