#pragma once

#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {

// Simple moving average over a running sum re-added exactly every 16·N pushes.
class Sma {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Sma, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Sma(period);
    }

    std::optional<double> update(double x) {
        if (!sum_.push(x) || !sum_.full()) return std::nullopt;
        return sum_.mean();
    }

    std::size_t warmup_period() const { return sum_.period(); }

private:
    explicit Sma(std::size_t n) : sum_(n, 16) {}
    RunningSum sum_;
};

}  // namespace ostrel
