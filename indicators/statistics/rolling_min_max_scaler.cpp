#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Position (x − min)/(max − min) of the newest close within the range of the last N closes;
// 0.5 when the range is empty.
class RollingMinMaxScaler {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<RollingMinMaxScaler, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("min-max scaler needs period >= 2"));
        return RollingMinMaxScaler(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        const double lo = window_min(window_);
        const double hi = window_max(window_);
        const double range = hi - lo;
        if (!(range > 0.0)) return 0.5;
        // A range wider than the largest double is taken at half scale.
        if (std::isinf(range)) return (x * 0.5 - lo * 0.5) / (hi * 0.5 - lo * 0.5);
        return (x - lo) / range;
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit RollingMinMaxScaler(std::size_t n) : window_(n) {}

    RingWindow<double> window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RollingMinMaxScaler, ostrel::RollingMinMaxScaler::create(p.count(0)))
