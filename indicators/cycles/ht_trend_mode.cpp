#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/cycles/dominant_cycle_phase.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// 1 while the market trends, 0 while it cycles, from the dominant-cycle phase and an
// instantaneous trendline over one dominant cycle.
class HtTrendMode {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<HtTrendMode, CoreError> create() { return HtTrendMode(); }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        closes_.push(x);
        const auto phase = phase_.push(x);
        if (!phase) return std::nullopt;
        const double phi = *phase;
        const std::size_t l = phase_.length(), n = closes_.size();
        double sum = 0.0;
        for (std::size_t j = n - l; j < n; ++j) sum += closes_[j];
        raw_ = {sum / static_cast<double>(l), raw_[0], raw_[1], raw_[2]};
        const double trendline = (4.0 * raw_[0] + 3.0 * raw_[1] + 2.0 * raw_[2] + raw_[3]) / 10.0;

        constexpr double deg = std::numbers::pi / 180.0;
        const double sine = std::sin(phi * deg);
        const double lead = std::sin((phi + 45.0) * deg);
        const double sp = phase_.core().smooth_period();
        double trend = 1.0;
        if ((lead < sine && lead1_ >= sine1_) || (lead > sine && lead1_ <= sine1_)) {
            days_in_trend_ = 0.0;
            trend = 0.0;
        }
        days_in_trend_ += 1.0;
        if (days_in_trend_ < 0.5 * sp) trend = 0.0;
        if (sp != 0.0) {
            const double step = phi - phi1_;
            if (241.20000000000002 / sp < step && step < 540.0 / sp) trend = 0.0;
        }
        const double s = phase_.core().smooth();
        if (trendline != 0.0 && std::fabs((s - trendline) / trendline) >= 0.015) trend = 1.0;
        phi1_ = phi;
        sine1_ = sine;
        lead1_ = lead;
        return trend;
    }
    std::size_t warmup_period() const { return DominantCyclePhase::warmup; }

private:
    HtTrendMode() = default;
    DominantCyclePhase phase_;
    RingWindow<double> closes_{DominantCyclePhase::warmup};
    std::array<double, 4> raw_{};
    double phi1_ = 0.0, sine1_ = 0.0, lead1_ = 0.0, days_in_trend_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HtTrendMode, ostrel::HtTrendMode::create())
