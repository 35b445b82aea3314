#pragma once

#include <cmath>

namespace ostrel {

// Average of two prices that cannot overflow.
inline double midpoint(double a, double b) {
    constexpr double limit = 8.98846567431158e307;  // 2^1023
    if (std::fabs(a) <= limit && std::fabs(b) <= limit) return (a + b) * 0.5;
    return a * 0.5 + b * 0.5;
}

}  // namespace ostrel
