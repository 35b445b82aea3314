#pragma once

#include <algorithm>
#include <array>

namespace ostrel {

// A stop on one side of the price that changes sides when the price crosses it: below the
// price while long, where it only rises, and above it while short, where it only falls.
// Each step offers two levels: `below`, where a long stop would stand, and `above`, where a
// short one would; the current side trails toward its level and a flip restarts at the other.
class ReversingStop {
public:
    bool started() const { return direction_ != 0.0; }
    bool is_long() const { return direction_ > 0.0; }
    double stop() const { return stop_; }
    // value, direction (+1 long, −1 short).
    std::array<double, 2> outputs() const { return {stop_, direction_}; }

    void start(bool go_long, double stop) {
        direction_ = go_long ? 1.0 : -1.0;
        stop_ = stop;
    }

    // Trails first, then tests the trailed stop. True on a flip.
    bool trail_then_test(double price, double below, double above) {
        trail(below, above);
        return test(price, below, above);
    }

    // Tests the standing stop and trails only when it holds. True on a flip.
    bool test_then_trail(double price, double below, double above) {
        if (test(price, below, above)) return true;
        trail(below, above);
        return false;
    }

private:
    void trail(double below, double above) {
        stop_ = is_long() ? std::max(stop_, below) : std::min(stop_, above);
    }

    bool test(double price, double below, double above) {
        const bool crossed = is_long() ? price < stop_ : price > stop_;
        if (!crossed) return false;
        start(!is_long(), is_long() ? above : below);
        return true;
    }

    double direction_ = 0.0;  // 0 until the first value
    double stop_ = 0.0;
};

}  // namespace ostrel
