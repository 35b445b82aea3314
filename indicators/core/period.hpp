#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

#include "indicators/core/core_error.hpp"
#include "indicators/core/indicator.hpp"

namespace ostrel {

// The common window-length check, over one or several lengths in order: 0 is ZeroPeriod,
// above MAX_PERIOD is InvalidPeriod; the first failing length wins.
//   if (auto e = period_error(n)) return std::unexpected(*e);
template <class... N>
std::optional<CoreError> period_error(N... lengths) {
    std::optional<CoreError> error;
    auto check = [&](std::uint64_t n) {
        if (error) return;
        if (n == 0) error = CoreError::zero_period();
        else if (n > MAX_PERIOD) error = CoreError::invalid_period(MAX_PERIOD_MESSAGE);
    };
    (check(static_cast<std::uint64_t>(lengths)), ...);
    return error;
}

// A multiplier that must be positive: 0, negatives, NaN and infinities are ZeroMultiplier.
inline std::optional<CoreError> multiplier_error(double k) {
    if (std::isfinite(k) && k > 0.0) return std::nullopt;
    return CoreError::zero_multiplier();
}

}  // namespace ostrel
