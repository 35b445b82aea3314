#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/calendar.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/indicator.hpp"

namespace ostrel {
namespace {

// Z-score of the one-bar return against the earlier returns of the same hour of the day
// (local time at the given offset in minutes), from a running mean and M2 per hour.
class SeasonalZScore {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<SeasonalZScore, CoreError> create(std::int32_t offset_minutes) {
        return SeasonalZScore(offset_minutes);
    }

    std::optional<double> update(const Candle& c) {
        const std::optional<double> previous = previous_;
        previous_ = c.close;
        if (!previous) return std::nullopt;
        const double r = *previous == 0.0 ? 0.0 : c.close / *previous - 1.0;
        // A quotient beyond the double range is no return; it would poison the slot for ever.
        if (!std::isfinite(r)) return std::nullopt;

        Slot& slot = slots_[hour_of_day(c.ts, offset_)];
        std::optional<double> z;
        if (slot.count >= 2) {
            const double variance = slot.m2 / static_cast<double>(slot.count - 1);
            z = variance > 0.0 ? (r - slot.mean) / std::sqrt(variance) : 0.0;
        }
        ++slot.count;
        const double delta = r - slot.mean;
        slot.mean += delta / static_cast<double>(slot.count);
        slot.m2 += delta * (r - slot.mean);
        return z;
    }

    // As documented, although a first value needs at least four candles.
    std::size_t warmup_period() const { return 2; }

private:
    struct Slot {
        std::uint64_t count = 0;
        double mean = 0.0;
        double m2 = 0.0;
    };

    explicit SeasonalZScore(std::int32_t offset) : offset_(offset) {}

    std::int32_t offset_;
    std::optional<double> previous_;
    std::array<Slot, 24> slots_{};
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SeasonalZScore, ostrel::SeasonalZScore::create(p.i32(0)))
