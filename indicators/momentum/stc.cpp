#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"
#include "indicators/momentum/sliding_extremes.hpp"

namespace ostrel {
namespace {

// One stochastic stage: the input's place in the range of its last `cycle` values (0 on a
// zero range), smoothed by f += (raw − f)·factor from its first raw value on.
class StochasticStage {
public:
    StochasticStage(std::uint64_t cycle, double factor) : range_(cycle), factor_(factor) {}

    std::optional<double> push(double v) {
        range_.push(v);
        if (!range_.full()) return std::nullopt;
        const double high = range_.highest();
        const double low = range_.lowest();
        const double raw = high > low ? (v - low) * 100.0 / (high - low) : 0.0;
        value_ = seeded_ ? (raw - value_) * factor_ + value_ : raw;
        seeded_ = true;
        return value_;
    }

private:
    SlidingExtremes range_;
    double factor_;
    double value_ = 0.0;
    bool seeded_ = false;
};

// Schaff trend cycle: a twice-applied smoothed stochastic of the MACD line, clamped to
// [0, 100] on output only.
class Stc {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Stc, CoreError> create(std::uint64_t fast, std::uint64_t slow, std::uint64_t cycle,
                                                double factor) {
        if (fast == 0 || slow == 0 || cycle == 0) return std::unexpected(CoreError::zero_period());
        if (fast >= slow)
            return std::unexpected(CoreError::invalid_period("STC fast period must be strictly less than slow"));
        if (!(std::isfinite(factor) && factor > 0.0 && factor <= 1.0))
            return std::unexpected(CoreError::invalid_period("STC factor must be a finite value in (0, 1]"));
        // The cycle sizes two windows, so it is bounded like the averages.
        if (auto e = period_error(fast, slow, cycle)) return std::unexpected(*e);
        return Stc(fast, slow, cycle, factor);
    }

    std::optional<double> update(double x) {
        const auto pair = spread_.push(x);
        if (!pair) return std::nullopt;
        const double macd = pair->fast - pair->slow;
        if (!std::isfinite(macd)) return std::nullopt;
        const auto f1 = first_.push(macd);
        if (!f1) return std::nullopt;
        const auto f2 = second_.push(*f1);
        if (!f2) return std::nullopt;
        return std::clamp(*f2, 0.0, 100.0);
    }

    std::size_t warmup_period() const { return spread_.warmup_period() + 2 * cycle_ - 2; }

private:
    Stc(std::uint64_t fast, std::uint64_t slow, std::uint64_t cycle, double factor)
        : spread_(fast, slow), first_(cycle, factor), second_(cycle, factor), cycle_(static_cast<std::size_t>(cycle)) {}

    EmaSpread spread_;
    StochasticStage first_;
    StochasticStage second_;
    std::size_t cycle_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Stc, ostrel::Stc::create(p.count(0), p.count(1), p.count(2), p.real(3)))
