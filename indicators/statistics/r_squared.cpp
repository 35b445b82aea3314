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

// Coefficient of determination of the least-squares line through the last N closes.
class RSquared {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<RSquared, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("R² needs period >= 2"));
        return RSquared(period);
    }

    std::optional<double> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        const double syy = line_.centered_syy();
        if (syy <= 0.0) return 1.0;
        const double m = line_.slope();
        const double n = static_cast<double>(line_.period());
        return std::clamp(m * m * (line_.denominator() / n) / syy, 0.0, 1.0);
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    explicit RSquared(std::size_t n) : line_(n) {}

    RegressionWindow line_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RSquared, ostrel::RSquared::create(p.count(0)))
