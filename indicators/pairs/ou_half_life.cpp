#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/spread_lag_regression.hpp"
#include "indicators/pairs/window_check.hpp"

namespace ostrel {
namespace {

// Ornstein–Uhlenbeck half-life −ln 2/λ of the spread x − y, λ the slope of its change on its
// previous value: 0 when the lagged spread is flat, no value when λ is 0 (no mean reversion
// to time).
class OuHalfLife {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<OuHalfLife, CoreError> create(std::uint64_t period) {
        if (auto e = window_error(period, 3, "OU half-life needs period >= 3")) return std::unexpected(*e);
        return OuHalfLife(period);
    }

    std::optional<double> update(double x, double y) {
        if (!regression_.push(x, y) || !regression_.full()) return std::nullopt;
        if (regression_.lag_variance() == 0.0) return 0.0;
        const double lambda = regression_.slope();
        if (lambda == 0.0) return std::nullopt;
        return -0.6931471805599453 / lambda;
    }

    std::size_t warmup_period() const { return regression_.period(); }

private:
    explicit OuHalfLife(std::size_t n) : regression_(n, SpreadLagRegression::Target::Change) {}

    SpreadLagRegression regression_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OuHalfLife, ostrel::OuHalfLife::create(p.count(0)))
