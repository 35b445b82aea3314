#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/pairs/least_squares.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// F-statistic of the reference's lags in explaining the close: the level x_t regressed on a
// constant and its own L lags (restricted) and also on the reference's L lags (unrestricted),
// over the last N pairs. A singular fit, a negative F or 0/0 give 0.
class GrangerCausality {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<GrangerCausality, CoreError> create(std::uint64_t period, std::uint64_t lag) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (lag < 1) return std::unexpected(CoreError::invalid_period("granger causality needs lag >= 1"));
        // N ≥ 3·lag + 2 without forming 3·lag + 2, which wraps for the largest counts.
        if (period < 2 || (period - 2) / 3 < lag)
            return std::unexpected(CoreError::invalid_period("granger causality needs period >= 3*lag + 2"));
        // The unrestricted normal equations hold (2·lag + 1)² entries.
        const std::uint64_t k = 2 * lag + 1;
        if (k * k > MAX_PERIOD) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return GrangerCausality(period, lag);
    }

    std::optional<double> update(double x, double y) {
        window_.push({x, y});
        if (!window_.full()) return std::nullopt;
        xs_.clear();
        ys_.clear();
        window_.for_each([&](const std::pair<double, double>& v) {
            xs_.push_back(v.first);
            ys_.push_back(v.second);
        });
        const std::size_t n = xs_.size();
        const std::size_t count = n - lag_;
        auto restricted = [&](std::size_t j, double* row) {
            const std::size_t t = lag_ + j;
            row[0] = 1.0;
            for (std::size_t i = 1; i <= lag_; ++i) row[i] = xs_[t - i];
            return xs_[t];
        };
        auto unrestricted = [&](std::size_t j, double* row) {
            const double target = restricted(j, row);
            const std::size_t t = lag_ + j;
            for (std::size_t i = 1; i <= lag_; ++i) row[lag_ + i] = ys_[t - i];
            return target;
        };
        if (!fit_.fit(lag_ + 1, count, restricted)) return 0.0;
        const double rss_r = fit_.residual_sum_squares(count, restricted);
        if (!fit_.fit(2 * lag_ + 1, count, unrestricted)) return 0.0;
        const double rss_u = fit_.residual_sum_squares(count, unrestricted);
        const double gain = (rss_r - rss_u) / static_cast<double>(lag_);
        // A perfect unrestricted fit: 0/0 is the documented 0, a positive gain has no finite F.
        if (rss_u == 0.0) return gain > 0.0 ? std::nullopt : std::optional<double>(0.0);
        const double f = gain / (rss_u / static_cast<double>(n - lag_ - (2 * lag_ + 1)));
        if (std::isnan(f) || f < 0.0) return 0.0;
        return f;
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    GrangerCausality(std::size_t n, std::size_t lag) : window_(n), lag_(lag) {}

    RingWindow<std::pair<double, double>> window_;
    std::size_t lag_;
    LeastSquares fit_{LeastSquares::Pivoting::None};
    std::vector<double> xs_, ys_;  // the window oldest first
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(GrangerCausality, ostrel::GrangerCausality::create(p.count(0), p.count(1)))
