#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/spread_window.hpp"
#include "indicators/pairs/window_check.hpp"

namespace ostrel {
namespace {

// Hurst exponent of the spread x − y from the scaling of its lagged squared differences:
// half the least-squares slope of ln v(τ) on ln τ for τ = 1 … ⌊N/4⌋, clamped to [0, 1].
// Lags without variance drop out; fewer than two points give 0.5.
class SpreadHurst {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<SpreadHurst, CoreError> create(std::uint64_t period) {
        if (auto e = window_error(period, 8, "spread Hurst needs period >= 8")) return std::unexpected(*e);
        return SpreadHurst(period);
    }

    std::optional<double> update(double x, double y) {
        const std::vector<double>* spreads = window_.push(x, y);
        if (!spreads) return std::nullopt;
        const std::vector<double>& s = *spreads;
        const std::size_t n = s.size();
        points_.clear();
        for (std::size_t tau = 1; tau <= n / 4; ++tau) {
            double sum = 0.0;
            for (std::size_t i = 0; i + tau < n; ++i) {
                const double d = s[i + tau] - s[i];
                sum += d * d;
            }
            const double v = sum / static_cast<double>(n - tau);
            if (v > 0.0) points_.emplace_back(std::log(static_cast<double>(tau)), std::log(v));
        }
        if (points_.size() < 2) return 0.5;
        const double count = static_cast<double>(points_.size());
        double mean_u = 0.0, mean_w = 0.0;
        for (const auto& [u, w] : points_) {
            mean_u += u;
            mean_w += w;
        }
        mean_u /= count;
        mean_w /= count;
        double suw = 0.0, suu = 0.0;
        for (const auto& [u, w] : points_) {
            suw += (u - mean_u) * (w - mean_w);
            suu += (u - mean_u) * (u - mean_u);
        }
        // Two distinct lags always spread ln τ, so suu > 0.
        return std::clamp(0.5 * (suw / suu), 0.0, 1.0);
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    explicit SpreadHurst(std::size_t n) : window_(n) {}

    SpreadWindow window_;
    std::vector<std::pair<double, double>> points_;  // (ln τ, ln v(τ)); at most N/4
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SpreadHurst, ostrel::SpreadHurst::create(p.count(0)))
