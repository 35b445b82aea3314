#pragma once

#include <cstdint>
#include <optional>

namespace ostrel {

// The simple average of the first `period` inputs that seeds the recursive averages. A seed
// of equal inputs is exactly that input (the sum divided by N can miss it by an ulp).
class SeedAverage {
public:
    explicit SeedAverage(std::uint64_t period) : period_(period) {}

    // The average at the period-th input, nothing before it.
    std::optional<double> push(double x) {
        if (count_ == 0) first_ = x;
        else if (x != first_) flat_ = false;
        sum_ = sum_ + x;
        if (++count_ < period_) return std::nullopt;
        return flat_ ? first_ : sum_ / static_cast<double>(period_);
    }

private:
    std::uint64_t period_;
    std::uint64_t count_ = 0;
    double sum_ = -0.0;  // so that a seed of negative zeros stays -0.0
    double first_ = 0.0;
    bool flat_ = true;
};

}  // namespace ostrel
