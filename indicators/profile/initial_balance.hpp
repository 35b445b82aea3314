#pragma once

#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/profile/price_extremes.hpp"

namespace ostrel {

// Highest high and lowest low of the first N candles, fixed from then on.
class InitialBalance {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<InitialBalance, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return InitialBalance(period);
    }

    std::optional<std::array<double, 2>> update(const Candle& c) {
        if (seen_ < period_) {
            ++seen_;
            range_.add(c);
        }
        return std::array<double, 2>{range_.high, range_.low};
    }

    std::size_t warmup_period() const { return 1; }

private:
    explicit InitialBalance(std::uint64_t period) : period_(period) {}

    std::uint64_t period_;
    std::uint64_t seen_ = 0;
    PriceExtremes range_;
};

}  // namespace ostrel
