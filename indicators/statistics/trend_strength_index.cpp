#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// Coefficient of determination of the least-squares line through the last N closes, signed
// by its slope.
class TrendStrengthIndex {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<TrendStrengthIndex, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("period must be >= 2 for a regression"));
        return TrendStrengthIndex(period);
    }

    std::optional<double> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        // N²·cov and N²·var of the closes; both are unchanged by the anchor shift.
        const double sxy = line_.slope_numerator();
        const double n = static_cast<double>(line_.period());
        const double syy = n * line_.centered_syy();
        if (syy <= 0.0) return 0.0;
        // Rounding can carry a perfect fit a few ulps past 1.
        const double r2 = std::min(1.0, sxy * sxy / (line_.denominator() * syy));
        return sxy < 0.0 ? -r2 : r2;
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    explicit TrendStrengthIndex(std::size_t n) : line_(n) {}

    RegressionWindow line_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TrendStrengthIndex, ostrel::TrendStrengthIndex::create(p.count(0)))
