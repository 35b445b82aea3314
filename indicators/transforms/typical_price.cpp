#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Mean of high, low and close.
class TypicalPrice {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TypicalPrice, CoreError> create() { return TypicalPrice(); }

    std::optional<double> update(const Candle& c) {
        const double v = ((c.high + c.low) + c.close) / 3.0;
        if (std::isfinite(v)) [[likely]] return v;
        // The sum overflowed: average the quartered prices and scale back, which is exact.
        return (((c.high * 0.25 + c.low * 0.25) + c.close * 0.25) / 3.0) * 4.0;
    }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TypicalPrice, TypicalPrice::create())
