#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// Sign (−1, 0, +1) of the least-squares slope of the last N closes.
class TrendLabel {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<TrendLabel, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("trend label needs period >= 2"));
        return TrendLabel(period);
    }

    std::optional<double> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        const double sxy = line_.slope_numerator();
        return sxy > 0.0 ? 1.0 : sxy < 0.0 ? -1.0 : 0.0;
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    explicit TrendLabel(std::size_t n) : line_(n) {}

    RegressionWindow line_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TrendLabel, ostrel::TrendLabel::create(p.count(0)))
