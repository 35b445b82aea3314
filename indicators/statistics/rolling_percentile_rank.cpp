#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Percentile rank of the newest close within the last N closes, itself included:
// 100·(less + ½·equal)/N, counted over the whole window at every step.
class RollingPercentileRank {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<RollingPercentileRank, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return RollingPercentileRank(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        std::size_t less = 0;
        std::size_t equal = 0;
        window_.for_each([&](double v) {
            less += v < x;
            equal += v == x;
        });
        const double n = static_cast<double>(window_.size());
        return 100.0 * (static_cast<double>(less) + 0.5 * static_cast<double>(equal)) / n;
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit RollingPercentileRank(std::size_t n) : window_(n) {}

    RingWindow<double> window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RollingPercentileRank, ostrel::RollingPercentileRank::create(p.count(0)))
