#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/flat_run.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Pearson correlation of the last N closes with their index, oldest first.
class CorrelationTrendIndicator {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<CorrelationTrendIndicator, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (n < 2) return std::unexpected(CoreError::invalid_period("CTI needs period >= 2"));
        return CorrelationTrendIndicator(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        flat_.push(x);
        if (!window_.full()) return std::nullopt;
        // Equal closes have no correlation; the mean's rounding would fake a perfect one.
        if (flat_.covers(n_)) return 0.0;
        const double mean = window_.fold(0.0, [](double a, double v) { return a + v; }) /
                            static_cast<double>(n_);
        const double mid = (static_cast<double>(n_) - 1.0) / 2.0;
        double sxy = 0.0, sxx = 0.0, i = 0.0;
        window_.for_each([&](double v) {
            const double d = v - mean;
            sxy += d * (i - mid);
            sxx += d * d;
            i += 1.0;
        });
        const double den = std::sqrt(sxx * syy_);
        if (!(den > 0.0)) return 0.0;
        return std::clamp(sxy / den, -1.0, 1.0);
    }
    std::size_t warmup_period() const { return n_; }

private:
    explicit CorrelationTrendIndicator(std::uint64_t n) : n_(n), window_(n) {
        const double m = static_cast<double>(n);
        const double sum_i = m * (m - 1.0) / 2.0;
        const double sum_ii = (2.0 * m - 1.0) * m * (m - 1.0) / 6.0;
        syy_ = sum_ii - sum_i * sum_i / m;
    }
    std::size_t n_;
    RingWindow<double> window_;
    FlatRun flat_;
    double syy_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(CorrelationTrendIndicator, ostrel::CorrelationTrendIndicator::create(p.count(0)))
