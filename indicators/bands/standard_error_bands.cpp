#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// The least-squares line's end value ± k standard errors of the estimate, √(SSE/(N − 2)).
class StandardErrorBands {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<StandardErrorBands, CoreError> create(std::uint64_t n, double k) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (n < 3) return std::unexpected(CoreError::invalid_period("standard error bands need period >= 3"));
        return StandardErrorBands(n, k);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        const double middle = line_.end_value();
        const double width = k_ * std::sqrt(line_.residual_sum_squares() / degrees_);
        return std::array<double, 3>{middle + width, middle, middle - width};
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    StandardErrorBands(std::uint64_t n, double k)
        : line_(n), degrees_(static_cast<double>(n) - 2.0), k_(k) {}

    RegressionWindow line_;
    double degrees_;
    double k_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(StandardErrorBands, ostrel::StandardErrorBands::create(p.count(0), p.real(1)))
