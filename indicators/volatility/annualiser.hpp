#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ostrel {

// Turns a per-period variance into √A·σ·100, an annualised volatility in percent, where A is
// the number of periods per year. A variance below 0 by cancellation counts as 0.
class Annualiser {
public:
    explicit Annualiser(std::uint64_t periods_per_year)
        : root_a_(std::sqrt(static_cast<double>(periods_per_year))) {}

    double operator()(double variance) const { return root_a_ * std::sqrt(std::max(variance, 0.0)) * 100.0; }

private:
    double root_a_;
};

}  // namespace ostrel
