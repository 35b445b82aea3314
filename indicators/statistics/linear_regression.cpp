#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// Least-squares line of the last N closes, evaluated at the newest close.
class LinearRegression {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<LinearRegression, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("linear regression needs period >= 2"));
        return LinearRegression(period);
    }

    std::optional<double> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        return line_.end_value();
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    explicit LinearRegression(std::size_t n) : line_(n) {}

    RegressionWindow line_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(LinearRegression, ostrel::LinearRegression::create(p.count(0)))
