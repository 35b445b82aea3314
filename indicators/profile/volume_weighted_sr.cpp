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

// Volume-weighted mean low (support) and high (resistance) of the last N candles.
class VolumeWeightedSr {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<VolumeWeightedSr, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return VolumeWeightedSr(period);
    }

    std::optional<std::array<double, 2>> update(const Candle& c) {
        const double vl = c.volume * c.low;
        const double vh = c.volume * c.high;
        // An overflowing product would be refused by its sum alone and put the five windows
        // out of step; the candle is skipped instead.
        if (!std::isfinite(vl) || !std::isfinite(vh)) return std::nullopt;
        volume_low_.push(vl);
        volume_high_.push(vh);
        volume_.push(c.volume);
        low_.push(c.low);
        high_.push(c.high);
        if (!volume_.full()) return std::nullopt;
        if (volume_.all_zero()) return std::array<double, 2>{low_.mean(), high_.mean()};
        return std::array<double, 2>{weighted(volume_low_, low_), weighted(volume_high_, high_)};
    }

    std::size_t warmup_period() const { return volume_.period(); }

private:
    explicit VolumeWeightedSr(std::size_t n) : volume_low_(n), volume_high_(n), volume_(n), low_(n), high_(n) {}

    // Weighting equal prices gives that price, not the rounding of Σ(v·p)/Σv.
    double weighted(const RunningSum& product, const RunningSum& price) const {
        if (price.flat()) return price.mean();
        return product.sum() / volume_.sum();
    }

    RunningSum volume_low_;
    RunningSum volume_high_;
    RunningSum volume_;
    RunningSum low_;
    RunningSum high_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VolumeWeightedSr, VolumeWeightedSr::create(p.count(0)))
