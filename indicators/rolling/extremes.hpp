#pragma once

#include <limits>

#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// Left folds over the whole window, oldest first; NaN values are ignored.
template <class T, class Field>
double window_max(const RingWindow<T>& w, Field field) {
    return w.fold(-std::numeric_limits<double>::infinity(), [&](double acc, const T& v) {
        const double x = field(v);
        return x > acc ? x : acc;
    });
}

template <class T, class Field>
double window_min(const RingWindow<T>& w, Field field) {
    return w.fold(std::numeric_limits<double>::infinity(), [&](double acc, const T& v) {
        const double x = field(v);
        return x < acc ? x : acc;
    });
}

inline double window_max(const RingWindow<double>& w) {
    return window_max(w, [](double v) { return v; });
}
inline double window_min(const RingWindow<double>& w) {
    return window_min(w, [](double v) { return v; });
}

struct HighLow {
    double high;
    double low;
};

// The last N (high, low) pairs, with the highest high and lowest low scanned on demand.
class HighLowWindow {
public:
    explicit HighLowWindow(std::size_t period) : window_(period) {}

    void push(double high, double low) { window_.push({high, low}); }
    bool full() const { return window_.full(); }
    std::size_t size() const { return window_.size(); }
    std::size_t capacity() const { return window_.capacity(); }
    // i = 0 is the oldest pair.
    const HighLow& operator[](std::size_t i) const { return window_[i]; }

    double highest_high() const { return window_max(window_, [](const HighLow& v) { return v.high; }); }
    double lowest_low() const { return window_min(window_, [](const HighLow& v) { return v.low; }); }

private:
    RingWindow<HighLow> window_;
};

}  // namespace ostrel
