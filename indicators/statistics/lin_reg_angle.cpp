#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// Angle of the least-squares slope of the last N closes, in degrees.
class LinRegAngle {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<LinRegAngle, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("linear regression slope needs period >= 2"));
        return LinRegAngle(period);
    }

    std::optional<double> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        return std::atan(line_.slope()) * 57.29577951308232;
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    explicit LinRegAngle(std::size_t n) : line_(n) {}

    RegressionWindow line_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(LinRegAngle, ostrel::LinRegAngle::create(p.count(0)))
