#pragma once

#include <cstdint>
#include <optional>

#include "indicators/core/period.hpp"

namespace ostrel {

// The common window check followed by a member's own minimum length, which fails with
// `message` (InvalidPeriod).
inline std::optional<CoreError> window_error(std::uint64_t n, std::uint64_t min, const char* message) {
    if (auto e = period_error(n)) return e;
    if (n < min) return CoreError::invalid_period(message);
    return std::nullopt;
}

}  // namespace ostrel
