#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {

// Mean ± k population standard deviations of the last N closes. A window of identical
// closes has σ exactly 0 and its mean that close, so the three bands coincide.
class BollingerBands {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<BollingerBands, CoreError> create(std::uint64_t period, double k) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (auto e = multiplier_error(k)) return std::unexpected(*e);
        return BollingerBands(period, k);
    }

    // upper, middle, lower, stddev.
    std::optional<std::array<double, 4>> update(double x) {
        if (!moments_.push(x) || !moments_.full()) return std::nullopt;
        const double mean = moments_.mean();
        const double sigma = moments_.stddev();
        const double width = k_ * sigma;
        return std::array<double, 4>{mean + width, mean, mean - width, sigma};
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    BollingerBands(std::uint64_t n, double k) : moments_(n), k_(k) {}

    AnchoredMoments moments_;
    double k_;
};

}  // namespace ostrel
