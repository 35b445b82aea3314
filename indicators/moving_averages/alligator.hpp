#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/moving_averages/wilder_smoother.hpp"
#include "indicators/rolling/midpoint.hpp"

namespace ostrel {

// The Alligator's jaw, teeth and lips: three Wilder averages of the median price, without
// forward shift, reported once all three are seeded.
class Alligator {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Alligator, CoreError> create(std::uint64_t jaw, std::uint64_t teeth,
                                                           std::uint64_t lips) {
        if (auto e = period_error(jaw, teeth, lips)) return std::unexpected(*e);
        return Alligator(jaw, teeth, lips);
    }

    // jaw, teeth, lips.
    std::optional<std::array<double, 3>> update(const Candle& c) {
        const double median = midpoint(c.high, c.low);
        if (!std::isfinite(median)) return std::nullopt;
        jaw_.push(median);
        teeth_.push(median);
        lips_.push(median);
        if (!jaw_.seeded() || !teeth_.seeded() || !lips_.seeded()) return std::nullopt;
        return std::array<double, 3>{jaw_.value(), teeth_.value(), lips_.value()};
    }

    std::size_t warmup_period() const {
        return static_cast<std::size_t>(std::max({jaw_.period(), teeth_.period(), lips_.period()}));
    }

private:
    Alligator(std::uint64_t jaw, std::uint64_t teeth, std::uint64_t lips)
        : jaw_(jaw), teeth_(teeth), lips_(lips) {}

    WilderSmoother jaw_;
    WilderSmoother teeth_;
    WilderSmoother lips_;
};

}  // namespace ostrel
