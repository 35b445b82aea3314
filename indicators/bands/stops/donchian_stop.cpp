#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"

namespace ostrel {
namespace {

// Stops at the edges of the last N candles' range: the lowest low for longs, the highest
// high for shorts.
class DonchianStop {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<DonchianStop, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return DonchianStop(n);
    }

    // stop_long, stop_short.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        range_.push(c.high, c.low);
        if (!range_.full()) return std::nullopt;
        return std::array<double, 2>{range_.lowest_low(), range_.highest_high()};
    }

    std::size_t warmup_period() const { return range_.capacity(); }

private:
    explicit DonchianStop(std::uint64_t n) : range_(n) {}

    HighLowWindow range_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DonchianStop, ostrel::DonchianStop::create(p.count(0)))
