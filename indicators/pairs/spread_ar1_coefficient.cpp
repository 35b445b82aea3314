#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/spread_lag_regression.hpp"
#include "indicators/pairs/window_check.hpp"

namespace ostrel {
namespace {

// AR(1) slope of the spread x − y on its previous value; 0 when the lagged spread is flat.
class SpreadAr1Coefficient {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<SpreadAr1Coefficient, CoreError> create(std::uint64_t period) {
        if (auto e = window_error(period, 3, "AR(1) spread coefficient needs period >= 3")) return std::unexpected(*e);
        return SpreadAr1Coefficient(period);
    }

    std::optional<double> update(double x, double y) {
        if (!regression_.push(x, y) || !regression_.full()) return std::nullopt;
        return regression_.slope();
    }

    std::size_t warmup_period() const { return regression_.period(); }

private:
    explicit SpreadAr1Coefficient(std::size_t n) : regression_(n, SpreadLagRegression::Target::Level) {}

    SpreadLagRegression regression_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SpreadAr1Coefficient, ostrel::SpreadAr1Coefficient::create(p.count(0)))
