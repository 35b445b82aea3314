#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/mean_deviation_window.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// CCI around an adaptive mean of the typical price that moves with Kaufman's
// efficiency-ratio constant instead of the plain window mean.
class AdaptiveCci {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AdaptiveCci, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (n < 2) return std::unexpected(CoreError::invalid_period("adaptive CCI needs period >= 2"));
        return AdaptiveCci(n);
    }

    std::optional<double> update(const Candle& c) {
        const double tp = (c.high + c.low + c.close) / 3.0;
        if (!std::isfinite(tp)) return std::nullopt;
        if (tps_.size() > 0) {
            const double step = std::fabs(tp - tps_.window().newest());
            if (!std::isfinite(step)) return std::nullopt;
            path_.push(step);
        }
        tps_.push(tp);
        if (!tps_.full()) return std::nullopt;
        if (!has_mean_) {
            // The plain mean, exactly the price itself over a flat window.
            mean_ = tps_.mean();
            has_mean_ = true;
        } else {
            const double volatility = path_.sum();
            double sc = 0.004162330905306971;  // (2/31)², the slow constant
            if (volatility > 0.0) {
                const double direction = std::fabs(tp - tps_.window().oldest());
                const double t = std::min(direction / volatility, 1.0) * 0.6021505376344085 + 0.06451612903225806;
                sc = t * t;
            }
            mean_ = sc * (tp - mean_) + mean_;
        }
        const double md = tps_.mean_deviation(mean_);
        if (!(md > 0.0)) return 0.0;
        return (tp - mean_) / (0.015 * md);
    }

    std::size_t warmup_period() const { return tps_.period(); }

private:
    explicit AdaptiveCci(std::uint64_t n) : tps_(n), path_(n - 1) {}

    MeanDeviationWindow tps_;
    RunningSum path_;  // |Δtp| of the N − 1 adjacent pairs in the window
    double mean_ = 0.0;
    bool has_mean_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AdaptiveCci, ostrel::AdaptiveCci::create(p.count(0)))
