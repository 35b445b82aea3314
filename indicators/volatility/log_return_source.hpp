#pragma once

#include <cmath>
#include <optional>

namespace ostrel {

// ln(a/b) of two finite positive values. A quotient that overflows or leaves the normal range
// takes the difference of the logarithms instead, so the result is always finite and accurate.
inline double log_ratio(double a, double b) {
    const double ratio = a / b;
    if (!std::isnormal(ratio)) return std::log(a) - std::log(b);
    return std::log(ratio);
}

// Log returns of the accepted closes (finite and strictly positive; any other close changes
// nothing). The first accepted close only becomes the previous one.
class LogReturnSource {
public:
    // The return of x against the previous accepted close, if x is accepted and has one.
    std::optional<double> push(double x) {
        if (!(std::isfinite(x) && x > 0.0)) return std::nullopt;
        const bool first = !has_previous_;
        const double previous = previous_;
        previous_ = x;
        has_previous_ = true;
        if (first) return std::nullopt;
        return log_ratio(x, previous);
    }

private:
    double previous_ = 0.0;
    bool has_previous_ = false;
};

}  // namespace ostrel
