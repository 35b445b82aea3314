#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"

namespace ostrel {

// Hull's lag-reduced average: a smoother of length round(√N) over 2·S(N/2) − S(N), with S the
// weighted window (Hma) or the exponential smoother (Ehma).
template <class Smoother>
class HullAverage {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<HullAverage, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return HullAverage(period);
    }

    std::optional<double> update(double x) {
        const auto half = half_.push(x);
        const auto full = full_.push(x);
        if (!half || !full) return std::nullopt;
        const double raw = 2.0 * *half - *full;
        return smooth_.push(raw);  // a non-finite raw value is not taken in
    }

    std::size_t warmup_period() const { return full_.period() + smooth_.period() - 1; }

private:
    explicit HullAverage(std::uint64_t n)
        : half_(std::max<std::uint64_t>(n / 2, 1)),
          full_(n),
          smooth_(std::max<std::uint64_t>(
              static_cast<std::uint64_t>(std::round(std::sqrt(static_cast<double>(n)))), 1)) {}
    Smoother half_;
    Smoother full_;
    Smoother smooth_;
};

}  // namespace ostrel
