#include <array>
#include <cmath>
#include <cstddef>
#include <expected>
#include <optional>

#include "indicators/bands/swing_tracker.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// swing, direction: the price and kind of a pivot, on the candle that confirms it only.
class ZigZag {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ZigZag, CoreError> create(double threshold) {
        if (!(std::isfinite(threshold) && threshold > 0.0 && threshold < 1.0))
            return std::unexpected(
                CoreError::invalid_period("ZigZag threshold must be a finite fraction in (0, 1)"));
        return ZigZag(threshold);
    }

    std::optional<std::array<double, 2>> update(const Candle& c) {
        if (!tracker_.push(c.high, c.low)) return std::nullopt;
        const SwingPivot& p = tracker_.recent(0);
        return std::array<double, 2>{p.price, p.kind};
    }

    // The earliest confirmation is on the second candle.
    std::size_t warmup_period() const { return 2; }

private:
    explicit ZigZag(double threshold) : tracker_(threshold, 1) {}

    SwingTracker tracker_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ZigZag, ostrel::ZigZag::create(p.real(0)))
