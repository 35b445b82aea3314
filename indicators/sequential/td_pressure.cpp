#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Volume-weighted position of the close within the range, against the mean volume.
class TdPressure {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TdPressure, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return TdPressure(n);
    }

    std::optional<double> update(const Candle& k) {
        const double range = k.high - k.low;
        const double pressure = range > 0.0 ? (k.close - k.open) / range * k.volume : 0.0;
        // A range that overflows gives no usable pressure; both windows must stay in step.
        if (!std::isfinite(pressure)) return std::nullopt;
        pressures_.push(pressure);
        volumes_.push(k.volume);
        if (!volumes_.full()) return std::nullopt;
        if (volumes_.all_zero()) return 0.0;
        const double value = 100.0 * pressures_.mean() / volumes_.mean();
        if (!std::isfinite(value)) return std::nullopt;
        return value;
    }

    std::size_t warmup_period() const { return volumes_.period(); }

private:
    explicit TdPressure(std::uint64_t n) : pressures_(n), volumes_(n) {}
    RunningSum pressures_;
    RunningSum volumes_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdPressure, TdPressure::create(p.count(0)))
