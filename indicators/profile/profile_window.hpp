#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <span>
#include <vector>

#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// The last N candles and the price profile rebuilt from them over B bins between the
// window's lowest low and highest high. A zero price range collapses into one bin.
class ProfileWindow {
public:
    // Volume: each candle spreads its volume evenly over the bins its range touches.
    // Time: each candle adds 1 to every bin its range touches, whatever its volume.
    enum class Weight : std::uint8_t { Volume, Time };

    static std::expected<ProfileWindow, CoreError> create(std::uint64_t period, std::uint64_t bins,
                                                          Weight weight = Weight::Volume) {
        if (auto e = period_error(period, bins)) return std::unexpected(*e);
        return ProfileWindow(period, bins, weight);
    }

    // Holds the candle (evicting the oldest when full); true once N candles are held.
    bool push(const Candle& c) {
        window_.push(c);
        return window_.full();
    }

    bool full() const { return window_.full(); }
    std::size_t period() const { return window_.capacity(); }
    std::size_t bin_count() const { return bin_count_; }

    // Rebuilds the bins from the candles held; the bin array is allocated once.
    void rebuild() {
        lo_ = window_min(window_, [](const Candle& c) { return c.low; });
        hi_ = window_max(window_, [](const Candle& c) { return c.high; });
        zero_range_ = !(hi_ - lo_ > 0.0);
        if (zero_range_) {
            used_ = 1;
            w_ = 0.0;
            reserve_bins();
            bins_[0] = window_.fold(0.0, [&](double acc, const Candle& c) { return acc + weight_of(c); });
            return;
        }
        used_ = bin_count_;
        w_ = (hi_ - lo_) / static_cast<double>(bin_count_);
        reserve_bins();
        for (std::size_t i = 0; i < used_; ++i) bins_[i] = 0.0;
        window_.for_each([&](const Candle& c) { add(c); });
    }

    double lo() const { return lo_; }
    double hi() const { return hi_; }
    double width() const { return w_; }
    // hi − lo ≤ 0: the profile is one bin holding everything.
    bool zero_range() const { return zero_range_; }
    // Bins of the latest rebuild, lowest price first.
    std::span<const double> bins() const { return {bins_.data(), used_}; }
    // Centre price of bin i; lo for a single-bin profile.
    double centre(std::size_t i) const { return lo_ + (static_cast<double>(i) + 0.5) * w_; }

    // The point of control: the largest bin, the lowest on equal values.
    std::size_t poc() const {
        std::size_t best = 0;
        for (std::size_t i = 1; i < used_; ++i)
            if (bins_[i] > bins_[best]) best = i;
        return best;
    }

private:
    ProfileWindow(std::size_t period, std::size_t bins, Weight weight)
        : window_(period), bin_count_(bins), weight_(weight) {}

    double weight_of(const Candle& c) const { return weight_ == Weight::Volume ? c.volume : 1.0; }

    void reserve_bins() {
        if (bins_.size() < used_) bins_.resize(used_);
    }

    // floor((x − lo)/w) clamped to the bins; a NaN quotient (a range too wide for doubles)
    // cannot reach the integer conversion.
    std::size_t bin_of(double x) const {
        const double q = std::floor((x - lo_) / w_);
        if (!(q > 0.0)) return 0;
        const double top = static_cast<double>(used_ - 1);
        return q >= top ? used_ - 1 : static_cast<std::size_t>(q);
    }

    void add(const Candle& c) {
        if (weight_ == Weight::Volume && c.volume == 0.0) return;
        const std::size_t b_low = bin_of(c.low);
        if (c.low >= c.high) {
            bins_[b_low] += weight_of(c);
            return;
        }
        const std::size_t b_high = bin_of(c.high);
        const double share =
            weight_ == Weight::Volume ? c.volume / static_cast<double>(b_high - b_low + 1) : 1.0;
        for (std::size_t i = b_low; i <= b_high; ++i) bins_[i] += share;
    }

    RingWindow<Candle> window_;
    std::size_t bin_count_;
    Weight weight_;
    std::vector<double> bins_;
    std::size_t used_ = 0;
    bool zero_range_ = false;
    double lo_ = 0.0;
    double hi_ = 0.0;
    double w_ = 0.0;
};

}  // namespace ostrel
