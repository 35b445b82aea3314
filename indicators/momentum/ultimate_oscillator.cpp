#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Buying pressure over true range on three horizons, weighted 4:2:1. A horizon without any
// true range counts 0.5; its sum is known to be exactly 0 then, not a residue.
class UltimateOscillator {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<UltimateOscillator, CoreError> create(std::uint64_t p1, std::uint64_t p2,
                                                               std::uint64_t p3) {
        if (auto e = period_error(p1, p2, p3)) return std::unexpected(*e);
        return UltimateOscillator(p1, p2, p3);
    }

    std::optional<double> update(const Candle& c) {
        if (!has_prev_) {
            prev_close_ = c.close;
            has_prev_ = true;
            return std::nullopt;
        }
        const double floor = std::min(c.low, prev_close_);
        const double bp = c.close - floor;
        const double tr = std::max(c.high, prev_close_) - floor;
        prev_close_ = c.close;
        if (!std::isfinite(bp) || !std::isfinite(tr)) return std::nullopt;
        for (Horizon& h : horizons_) {
            h.pressure.push(bp);
            h.range.push(tr);
        }
        if (!std::all_of(horizons_.begin(), horizons_.end(), [](const Horizon& h) { return h.range.full(); }))
            return std::nullopt;
        const auto average = [](const Horizon& h) {
            const double tr_sum = h.range.sum();
            return tr_sum == 0.0 ? 0.5 : h.pressure.sum() / tr_sum;
        };
        return (4.0 * average(horizons_[0]) + 2.0 * average(horizons_[1]) + average(horizons_[2])) * 100.0 / 7.0;
    }

    std::size_t warmup_period() const {
        return std::max({horizons_[0].range.period(), horizons_[1].range.period(), horizons_[2].range.period()}) + 1;
    }

private:
    struct Horizon {
        explicit Horizon(std::uint64_t n) : pressure(n), range(n) {}
        RunningSum pressure;
        RunningSum range;
    };

    UltimateOscillator(std::uint64_t p1, std::uint64_t p2, std::uint64_t p3)
        : horizons_{Horizon(p1), Horizon(p2), Horizon(p3)} {}

    std::array<Horizon, 3> horizons_;
    double prev_close_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(UltimateOscillator, ostrel::UltimateOscillator::create(p.count(0), p.count(1), p.count(2)))
