#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/indicator.hpp"

namespace ostrel {
namespace {

// Cumulative volume-weighted mean of the typical price ± k volume-weighted deviations.
// Sums run about the first typical price so that price level does not swamp the variance.
class VwapStdDevBands {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<VwapStdDevBands, CoreError> create(double k) {
        return VwapStdDevBands(k);
    }

    // upper, middle, lower, stddev; nothing while no volume has traded.
    std::optional<std::array<double, 4>> update(const Candle& c) {
        const double tp = (c.high + c.low + c.close) / 3.0;
        const double a = anchor_.value_or(tp);
        const double d = tp - a;
        const double sum_v = sum_v_ + c.volume;
        const double sum_vd = sum_vd_ + c.volume * d;
        const double sum_vdd = sum_vdd_ + c.volume * (d * d);
        // Prices near the float limit can overflow a sum; one such candle would poison the
        // cumulative sums for good, so it is skipped instead.
        if (!std::isfinite(sum_v) || !std::isfinite(sum_vd) || !std::isfinite(sum_vdd)) return std::nullopt;
        anchor_ = a;
        sum_v_ = sum_v;
        sum_vd_ = sum_vd;
        sum_vdd_ = sum_vdd;
        // A zero volume-weighted denominator has no mean.
        if (sum_v_ == 0.0) return std::nullopt;
        const double m = sum_vd_ / sum_v_;
        const double mean = *anchor_ + m;
        const double sigma = std::sqrt(std::max(0.0, sum_vdd_ / sum_v_ - m * m));
        const double width = k_ * sigma;
        return std::array<double, 4>{mean + width, mean, mean - width, sigma};
    }

    std::size_t warmup_period() const { return 1; }

private:
    explicit VwapStdDevBands(double k) : k_(k) {}

    std::optional<double> anchor_;
    double sum_v_ = 0.0;
    double sum_vd_ = 0.0;
    double sum_vdd_ = 0.0;
    double k_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VwapStdDevBands, ostrel::VwapStdDevBands::create(p.real(0)))
