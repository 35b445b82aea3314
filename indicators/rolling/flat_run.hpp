#pragma once

#include <cstddef>
#include <limits>

namespace ostrel {

// Counts the trailing run of identical inputs, so a window of N equal values is known
// to be flat in constant time and its statistics can be reported exactly.
class FlatRun {
public:
    void push(double x) {
        run_ = x == last_ ? run_ + 1 : 1;
        last_ = x;
    }
    bool covers(std::size_t n) const { return run_ >= n; }
    double value() const { return last_; }

private:
    std::size_t run_ = 0;
    double last_ = std::numeric_limits<double>::quiet_NaN();  // equal to nothing
};

}  // namespace ostrel
