#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Share of the range taken by the body.
class BodySizePct {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<BodySizePct, CoreError> create() { return BodySizePct(); }

    std::optional<double> update(const Candle& c) {
        const double range = c.high - c.low;
        if (range == 0.0) return 0.0;
        if (std::isfinite(range)) [[likely]] return std::fabs(c.close - c.open) / range;
        // A range beyond the largest double: the ratio of the halves is the same ratio.
        return std::fabs(c.close * 0.5 - c.open * 0.5) / (c.high * 0.5 - c.low * 0.5);
    }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(BodySizePct, BodySizePct::create())
