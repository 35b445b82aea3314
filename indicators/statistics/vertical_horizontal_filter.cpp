#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Vertical horizontal filter: the range of the last N closes over the sum of the last N
// absolute one-bar changes; 0 when nothing moved.
class VerticalHorizontalFilter {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<VerticalHorizontalFilter, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return VerticalHorizontalFilter(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (previous_) {
            const double change = std::fabs(x - *previous_);
            // A change beyond the double range cannot enter the sum; the close is unusable.
            if (!changes_.push(change)) return std::nullopt;
        }
        previous_ = x;
        closes_.push(x);
        if (!changes_.full()) return std::nullopt;
        const double path = changes_.sum();
        if (path == 0.0) return 0.0;
        return (window_max(closes_) - window_min(closes_)) / path;
    }

    std::size_t warmup_period() const { return closes_.capacity() + 1; }

private:
    explicit VerticalHorizontalFilter(std::size_t n) : closes_(n), changes_(n) {}

    std::optional<double> previous_;
    RingWindow<double> closes_;
    RunningSum changes_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VerticalHorizontalFilter, ostrel::VerticalHorizontalFilter::create(p.count(0)))
