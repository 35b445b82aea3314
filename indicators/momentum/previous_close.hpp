#pragma once

#include <cmath>
#include <optional>

namespace ostrel {

// The close before the current one: the first accepted close is only stored, each later one
// is answered with its predecessor. A non-finite close is ignored without any change.
class PreviousClose {
public:
    std::optional<double> push(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const std::optional<double> before = prev_;
        prev_ = x;
        return before;
    }

private:
    std::optional<double> prev_;
};

}  // namespace ostrel
