#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace ostrel {

// The reversal fraction of the parameterless swing tools and chart patterns.
inline constexpr double SWING_THRESHOLD = 0.05;

struct SwingPivot {
    double price;
    double kind;          // +1 swing high, -1 swing low
    std::uint64_t index;  // bar of the extreme, counting accepted candles from 0
};

// Percentage zigzag: follows the running extreme and confirms it as a swing once price
// reverses from it by the threshold fraction. Keeps the newest pivots, oldest first;
// consecutive pivots alternate in kind and stand on strictly increasing bars.
class SwingTracker {
public:
    static constexpr std::size_t capacity = 8;

    // max_pivots is taken into [1, capacity].
    SwingTracker(double threshold, std::size_t max_pivots)
        : fall_(1.0 - threshold), rise_(1.0 + threshold),
          max_pivots_(std::clamp<std::size_t>(max_pivots, 1, capacity)) {}

    // Feeds one candle; true when it confirmed a pivot.
    bool push(double high, double low) {
        const std::uint64_t bar = bars_++;
        if (bar == 0) {
            follow(1, high, bar);
            return false;
        }
        if (direction_ > 0) {
            if (high > candidate_) {
                follow(1, high, bar);
                return false;
            }
            if (!(low <= fall_ * candidate_)) return false;
            confirm(1.0);
            follow(-1, low, bar);
            return true;
        }
        if (low < candidate_) {
            follow(-1, low, bar);
            return false;
        }
        if (!(high >= rise_ * candidate_)) return false;
        confirm(-1.0);
        follow(1, high, bar);
        return true;
    }

    std::size_t size() const { return count_; }
    // i = 0 is the oldest pivot held.
    const SwingPivot& operator[](std::size_t i) const { return pivots_[i]; }
    // i = 0 is the newest pivot held.
    const SwingPivot& recent(std::size_t i) const { return pivots_[count_ - 1 - i]; }

    // Index of the latest bar pushed.
    std::uint64_t bar_index() const { return bars_ - 1; }
    std::uint64_t bar_count() const { return bars_; }
    int direction() const { return direction_; }
    double candidate() const { return candidate_; }
    std::uint64_t candidate_index() const { return candidate_index_; }

private:
    void follow(int direction, double price, std::uint64_t bar) {
        direction_ = direction;
        candidate_ = price;
        candidate_index_ = bar;
    }

    void confirm(double kind) {
        if (count_ == max_pivots_) {
            std::shift_left(pivots_.begin(), pivots_.begin() + count_, 1);
            --count_;
        }
        pivots_[count_++] = SwingPivot{candidate_, kind, candidate_index_};
    }

    double fall_;
    double rise_;
    std::size_t max_pivots_;
    std::array<SwingPivot, capacity> pivots_{};
    std::size_t count_ = 0;
    std::uint64_t bars_ = 0;
    int direction_ = 1;
    double candidate_ = 0.0;
    std::uint64_t candidate_index_ = 0;
};

}  // namespace ostrel
