#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Volume-weighted typical price over the last N candles.
class RollingVwap {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<RollingVwap, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return RollingVwap(period);
    }

    std::optional<double> update(const Candle& c) {
        const double tpv = (c.high + c.low + c.close) / 3.0 * c.volume;
        if (auto old = weighted_window_.push(tpv)) {
            weighted_ = tpv + (weighted_ - *old);
        } else {
            weighted_ = tpv + weighted_;
        }
        volumes_.push(c.volume);
        // Both sums are re-added exactly on the same push.
        if (volumes_.pushes_since_resum() == 0)
            weighted_ = weighted_window_.fold(0.0, [](double acc, double v) { return acc + v; });
        if (!volumes_.full()) return std::nullopt;
        // Exactly 0 over a window of zero volumes, never a residue to divide by.
        const double volume = volumes_.sum();
        if (volume == 0.0) return std::nullopt;
        return weighted_ / volume;
    }

    std::size_t warmup_period() const { return volumes_.period(); }

private:
    explicit RollingVwap(std::size_t n) : weighted_window_(n), volumes_(n, 1) {}

    RingWindow<double> weighted_window_;  // typical price · volume
    double weighted_ = 0.0;
    RunningSum volumes_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RollingVwap, RollingVwap::create(p.count(0)))
