#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Midpoint of the highest and lowest of the last N closes.
class MidPoint {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<MidPoint, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return MidPoint(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        return midpoint(window_max(window_), window_min(window_));
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit MidPoint(std::size_t n) : window_(n) {}

    RingWindow<double> window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MidPoint, MidPoint::create(p.count(0)))
