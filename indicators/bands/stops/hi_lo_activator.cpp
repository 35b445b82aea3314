#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// The previous candle's average low while long and average high while short; a close above
// the previous average high turns long, one below the previous average low turns short.
class HiLoActivator {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<HiLoActivator, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return HiLoActivator(n);
    }

    std::optional<double> update(const Candle& c) {
        highs_.push(c.high);
        lows_.push(c.low);
        if (!highs_.full()) return std::nullopt;
        const double prev_high = avg_high_;
        const double prev_low = avg_low_;
        avg_high_ = highs_.mean();
        avg_low_ = lows_.mean();
        if (!has_prev_) {
            has_prev_ = true;
            return std::nullopt;
        }
        if (c.close > prev_high) long_ = true;
        else if (c.close < prev_low) long_ = false;
        return long_ ? prev_low : prev_high;
    }

    // The first averages are only stored; N ≤ MAX_PERIOD.
    std::size_t warmup_period() const { return period_ + 1; }

private:
    explicit HiLoActivator(std::uint64_t n) : period_(n), highs_(n), lows_(n) {}

    std::size_t period_;
    RunningSum highs_;
    RunningSum lows_;
    double avg_high_ = 0.0;
    double avg_low_ = 0.0;
    bool has_prev_ = false;
    bool long_ = false;  // starts short
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HiLoActivator, ostrel::HiLoActivator::create(p.count(0)))
