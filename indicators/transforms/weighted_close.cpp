#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// High, low and twice the close, averaged.
class WeightedClose {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<WeightedClose, CoreError> create() { return WeightedClose(); }

    std::optional<double> update(const Candle& c) {
        const double v = (2.0 * c.close + (c.high + c.low)) * 0.25;
        if (std::isfinite(v)) [[likely]] return v;
        // The sum overflowed; quartered prices give the same value without it.
        return 2.0 * (c.close * 0.25) + (c.high * 0.25 + c.low * 0.25);
    }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(WeightedClose, WeightedClose::create())
