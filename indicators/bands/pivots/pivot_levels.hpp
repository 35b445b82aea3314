#pragma once

#include <cstddef>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/core/indicator.hpp"

namespace ostrel {

// The floor-trader pivot of one candle, (close + (low + high))/3.
inline double floor_pivot(const Candle& c) { return (c.close + (c.low + c.high)) / 3.0; }

struct FloorLevels {
    double r1, r2, s1, s2;
};

// The first two resistances and supports around a pivot: one pivot-to-extreme swing,
// then one full range.
inline FloorLevels floor_levels(double pp, const Candle& c) {
    const double range = c.high - c.low;
    return {2.0 * pp - c.low, range + pp, 2.0 * pp - c.high, pp - range};
}

// A member whose levels come from each candle alone: no parameters, no state, a value from
// the first candle on. `Levels::of(candle)` gives the outputs in catalogue order.
template <class Levels>
class PerCandleLevels {
public:
    static constexpr InputKind input = InputKind::Candle;
    using Outputs = decltype(Levels::of(std::declval<const Candle&>()));

    static std::expected<PerCandleLevels, CoreError> create() { return PerCandleLevels(); }

    std::optional<Outputs> update(const Candle& c) { return Levels::of(c); }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace ostrel
