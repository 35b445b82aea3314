#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Geometric mean of the last N positive closes, as the exponential of their mean logarithm.
class GeometricMa {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<GeometricMa, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return GeometricMa(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x) || !(x > 0.0)) return std::nullopt;
        logs_.push(std::log(x));
        flat_.push(x);
        if (!logs_.full()) return std::nullopt;
        // Equal closes: their mean is the close itself, not exp(log) rounded twice.
        if (flat_.covers(logs_.period())) return x;
        return std::exp(logs_.mean());
    }

    std::size_t warmup_period() const { return logs_.period(); }

private:
    explicit GeometricMa(std::size_t n) : logs_(n, 1) {}

    RunningSum logs_;
    FlatRun flat_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(GeometricMa, GeometricMa::create(p.count(0)))
