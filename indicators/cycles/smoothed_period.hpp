#pragma once

#include <cmath>
#include <cstddef>
#include <expected>
#include <optional>

#include "indicators/core/indicator.hpp"
#include "indicators/cycles/hilbert_core.hpp"

namespace ostrel {

// A reading of the HilbertCore's smoothed period SP, from the 50th close on.
template <double (*Reading)(double)>
class SmoothedPeriod {
public:
    static constexpr InputKind input = InputKind::Close;
    static constexpr std::size_t warmup = 50;

    static std::expected<SmoothedPeriod, CoreError> create() { return SmoothedPeriod(); }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        core_.push(x);
        if (core_.closes() < warmup) return std::nullopt;
        return Reading(core_.smooth_period());
    }
    std::size_t warmup_period() const { return warmup; }

private:
    HilbertCore core_;
};

}  // namespace ostrel
