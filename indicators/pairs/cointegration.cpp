#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/pairs/least_squares.hpp"
#include "indicators/pairs/pair_moments.hpp"

namespace ostrel {
namespace {

// Engle–Granger test on the last N pairs: the hedge line of x on y from the population
// moments, then an augmented Dickey–Fuller regression without a constant on its residuals,
// the t-statistic of the lagged residual being `adf_stat` (0 when the regression is singular).
class Cointegration {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<Cointegration, CoreError> create(std::uint64_t period, std::uint64_t adf_lags) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        // N ≥ 2·lags + 4 without forming 2·lags + 4, which wraps for the largest counts.
        if (period < 4 || (period - 4) / 2 < adf_lags)
            return std::unexpected(CoreError::invalid_period("cointegration needs period >= 2*adf_lags + 4"));
        // The normal equations hold (lags + 1)² entries.
        const std::uint64_t k = adf_lags + 1;
        if (k * k > MAX_PERIOD) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return Cointegration(period, adf_lags);
    }

    // hedge_ratio, spread, adf_stat.
    std::optional<std::array<double, 3>> update(double x, double y) {
        if (!moments_.push(x, y) || !moments_.full()) return std::nullopt;
        const double hedge = moments_.beta();
        const double intercept =
            moments_.variance_y() != 0.0 ? moments_.mean_x() - moments_.mean_y() * hedge : moments_.mean_x();
        residuals_.clear();
        moments_.window().for_each([&](const std::pair<double, double>& v) {
            residuals_.push_back(v.first - (v.second * hedge + intercept));
        });
        return std::array<double, 3>{hedge, residuals_.back(), adf_stat()};
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    Cointegration(std::size_t n, std::size_t lags) : moments_(n), lags_(lags) {}

    double adf_stat() {
        const std::size_t n = residuals_.size();
        const std::size_t k = lags_ + 1;
        const std::size_t count = n - k;
        const double* r = residuals_.data();
        // Observation j is t = K + j: target Δr_t, row (r_{t−1}, Δr_{t−1}, …, Δr_{t−p}).
        auto observe = [&](std::size_t j, double* row) {
            const std::size_t t = k + j;
            row[0] = r[t - 1];
            for (std::size_t i = 1; i <= lags_; ++i) row[i] = r[t - i] - r[t - i - 1];
            return r[t] - r[t - 1];
        };
        if (!fit_.fit(k, count, observe)) return 0.0;
        const double rss = fit_.residual_sum_squares(count, observe);
        const double sigma2 = rss / static_cast<double>(n - 2 * k);
        const auto z0 = fit_.inverse_diagonal(0);
        if (!z0) return 0.0;
        const double s = sigma2 * *z0;
        if (!(s > 0.0)) return 0.0;
        return fit_.coefficients()[0] / std::sqrt(s);
    }

    PairMoments moments_;
    std::size_t lags_;
    LeastSquares fit_{LeastSquares::Pivoting::None};
    std::vector<double> residuals_;  // of the window, oldest first
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Cointegration, ostrel::Cointegration::create(p.count(0), p.count(1)))
