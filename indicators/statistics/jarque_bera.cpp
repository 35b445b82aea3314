#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Jarque–Bera normality statistic (N/6)(S² + K²/4) of the last N closes, from population
// moments recomputed over the whole window at every step.
class JarqueBera {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<JarqueBera, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 4) return std::unexpected(CoreError::invalid_period("Jarque-Bera needs period >= 4"));
        return JarqueBera(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        flat_.push(x);
        if (!window_.full()) return std::nullopt;
        // A flat window's mean may not come out as its value; its moments are exactly 0.
        if (flat_.covers(window_.size())) return 0.0;

        const double n = static_cast<double>(window_.size());
        const double mean = window_.fold(0.0, [](double acc, double v) { return acc + v; }) / n;
        double s2 = 0.0, s3 = 0.0, s4 = 0.0;
        window_.for_each([&](double v) {
            const double d = v - mean;
            const double d2 = d * d;
            s2 += d2;
            s3 += d2 * d;
            s4 += d2 * d2;
        });
        const double m2 = s2 / n;
        const double m3 = s3 / n;
        const double m4 = s4 / n;
        const double m2sq = m2 * m2;
        const double scale = std::sqrt(m2) * m2;
        if (m2sq == 0.0 || scale == 0.0) return 0.0;
        const double k = m4 / m2sq - 3.0;
        const double s = m3 / scale;
        return (s * s + k * k * 0.25) * (n / 6.0);
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit JarqueBera(std::size_t n) : window_(n) {}

    RingWindow<double> window_;
    FlatRun flat_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(JarqueBera, ostrel::JarqueBera::create(p.count(0)))
