#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// Standard error of the estimate of the least-squares line through the last N closes.
class StandardError {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<StandardError, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 3) return std::unexpected(CoreError::invalid_period("standard error needs period >= 3"));
        return StandardError(period);
    }

    std::optional<double> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        const double n = static_cast<double>(line_.period());
        return std::sqrt(line_.residual_sum_squares() / (n - 2.0));
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    explicit StandardError(std::size_t n) : line_(n) {}

    RegressionWindow line_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(StandardError, ostrel::StandardError::create(p.count(0)))
