#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// Three-stage adaptive filter: an exponential stage, a detrended stage and a gain stage.
class Jma {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Jma, CoreError> create(std::uint64_t period, double phase, std::uint32_t power) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (!std::isfinite(phase)) return std::unexpected(CoreError::invalid_period("JMA phase must be a finite value"));
        if (power < 1 || power > 4) return std::unexpected(CoreError::invalid_period("JMA power must be in 1..=4"));
        const double span = 0.45 * static_cast<double>(period - 1);
        const double beta = span / (span + 2.0);
        const double alpha = std::pow(beta, static_cast<double>(power));
        const double ratio = std::clamp(phase / 100.0 + 1.5, 0.5, 2.5);
        return Jma(alpha, beta, ratio);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!started_) {
            started_ = true;
            e0_ = x;
            jma_ = x;
            return x;
        }
        // A weighted mean of two equal values is that value; the rounded blend may miss it,
        // and a constant series must stay exactly constant.
        e0_ = e0_ == x ? x : alpha_ * e0_ + (1.0 - alpha_) * x;
        e1_ = beta_ * e1_ + (1.0 - beta_) * (x - e0_);
        const double gain = 1.0 - alpha_;
        e2_ = alpha_ * alpha_ * e2_ + (e1_ * ratio_ + e0_ - jma_) * (gain * gain);
        jma_ = jma_ + e2_;
        return jma_;
    }

    std::size_t warmup_period() const { return 1; }

private:
    Jma(double alpha, double beta, double ratio) : alpha_(alpha), beta_(beta), ratio_(ratio) {}

    double alpha_;
    double beta_;
    double ratio_;
    double e0_ = 0.0;
    double e1_ = 0.0;
    double e2_ = 0.0;
    double jma_ = 0.0;
    bool started_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Jma, Jma::create(p.count(0), p.real(1), p.u32(2)))
