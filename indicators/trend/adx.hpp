#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/moving_averages/wilder_smoother.hpp"
#include "indicators/trend/directional_core.hpp"

namespace ostrel {

// Wilder's DMI with the ADX: the mean of the first N DX values, then
// adx = (DX + (N − 1)·adx)/N. Reports +DI, −DI and ADX from candle 2N.
class Adx {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Adx, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Adx(period);
    }

    // plus_di, minus_di, adx.
    std::optional<std::array<double, 3>> update(const Candle& c) {
        if (!core_.push(c)) return std::nullopt;
        const auto adx = adx_.push(core_.dx());
        if (!adx) return std::nullopt;
        return std::array<double, 3>{core_.plus_di(), core_.minus_di(), *adx};
    }

    std::uint64_t period() const { return core_.period(); }
    std::size_t warmup_period() const { return static_cast<std::size_t>(2 * core_.period()); }

private:
    explicit Adx(std::uint64_t period) : core_(period), adx_(period) {}

    DirectionalCore core_;
    WilderSmoother adx_;
};

}  // namespace ostrel
