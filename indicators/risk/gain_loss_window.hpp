#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <limits>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {

// The last N values split into gains (v > 0) and losses (v < 0): their sums and counts next
// to the plain total. The side sums are re-added exactly whenever the total is, and a side
// that holds no value reads exactly 0, so "no loss" is decided from the values, never from
// residue left by evicted ones.
class GainLossWindow {
public:
    // 1 ≤ period ≤ MAX_PERIOD, checked by the caller.
    explicit GainLossWindow(std::size_t period) : total_(period) {}

    // Returns false (and changes nothing) for a non-finite value.
    bool push(double v) {
        if (!std::isfinite(v)) return false;
        std::optional<double> old;
        if (total_.full()) old = total_.window().oldest();
        total_.push(v);
        if (old) {
            if (*old > 0.0) {
                gains_ = gains_ - *old;
                --wins_;
            } else if (*old < 0.0) {
                losses_ = losses_ + *old;
                --loss_count_;
            }
        }
        if (v > 0.0) {
            gains_ = v + gains_;
            ++wins_;
        } else if (v < 0.0) {
            losses_ = -v + losses_;
            ++loss_count_;
        }
        if (total_.pushes_since_resum() == 0) resum();
        return true;
    }

    bool full() const { return total_.full(); }
    std::size_t period() const { return total_.period(); }
    double size() const { return static_cast<double>(total_.size()); }

    double total() const { return total_.sum(); }
    // Σ of the positive values.
    double gains() const { return wins_ == 0 ? 0.0 : gains_; }
    // Σ |v| of the negative values.
    double losses() const { return loss_count_ == 0 ? 0.0 : losses_; }
    std::size_t wins() const { return wins_; }
    std::size_t loss_count() const { return loss_count_; }
    double average_gain() const { return wins_ == 0 ? 0.0 : gains_ / static_cast<double>(wins_); }
    double average_loss() const { return loss_count_ == 0 ? 0.0 : losses_ / static_cast<double>(loss_count_); }

    // Σ gains over Σ losses; without a loss +infinity when anything was gained, else 1.
    double profit_factor() const {
        if (loss_count_ == 0) return wins_ > 0 ? std::numeric_limits<double>::infinity() : 1.0;
        return gains_ / losses_;
    }

private:
    void resum() {
        gains_ = 0.0;
        losses_ = 0.0;
        total_.window().for_each([&](double v) {
            if (v > 0.0) gains_ += v;
            else if (v < 0.0) losses_ += -v;
        });
    }

    RunningSum total_;
    double gains_ = 0.0;
    double losses_ = 0.0;
    std::size_t wins_ = 0;
    std::size_t loss_count_ = 0;
};

// A close-fed member whose value is a rule over a GainLossWindow of r − threshold
// (the threshold is 0 for all but the omega ratio). Rule::value(const GainLossWindow&).
template <class Rule>
class GainLossMember {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<GainLossMember, CoreError> create(std::uint64_t period, double threshold = 0.0) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return GainLossMember(period, threshold);
    }

    // An excess that overflows is as unusable as a non-finite return and is skipped.
    std::optional<double> update(double r) {
        if (!window_.push(r - threshold_) || !window_.full()) return std::nullopt;
        return Rule::value(window_);
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    GainLossMember(std::size_t n, double threshold) : window_(n), threshold_(threshold) {}

    GainLossWindow window_;
    double threshold_;
};

}  // namespace ostrel
