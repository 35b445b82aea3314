#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Range relative to the close.
class HighLowRange {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<HighLowRange, CoreError> create() { return HighLowRange(); }

    std::optional<double> update(const Candle& c) {
        if (c.close == 0.0) return 0.0;
        const double range = c.high - c.low;
        if (std::isfinite(range)) [[likely]] return range / c.close;
        // The range overflowed: halve it and scale the quotient back.
        return ((c.high * 0.5 - c.low * 0.5) / c.close) * 2.0;
    }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HighLowRange, HighLowRange::create())
