#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// Least-squares slope of the last N closes against their positions.
class LinRegSlope {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<LinRegSlope, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("linear regression slope needs period >= 2"));
        return LinRegSlope(period);
    }

    std::optional<double> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        return line_.slope();
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    explicit LinRegSlope(std::size_t n) : line_(n) {}

    RegressionWindow line_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(LinRegSlope, ostrel::LinRegSlope::create(p.count(0)))
