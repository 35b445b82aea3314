#pragma once

#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/moving_averages/weighted_window.hpp"

namespace ostrel {

// Linearly weighted moving average of N closes.
class Wma {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Wma, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Wma(period);
    }

    std::optional<double> update(double x) { return window_.push(x); }

    std::size_t warmup_period() const { return window_.period(); }

private:
    explicit Wma(std::uint64_t n) : window_(n) {}
    WeightedWindow window_;
};

}  // namespace ostrel
