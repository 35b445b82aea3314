#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Midpoint of the highest high and the lowest low of the last N candles.
class MidPrice {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<MidPrice, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return MidPrice(period);
    }

    std::optional<double> update(const Candle& c) {
        window_.push(c.high, c.low);
        if (!window_.full()) return std::nullopt;
        return midpoint(window_.highest_high(), window_.lowest_low());
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit MidPrice(std::size_t n) : window_(n) {}

    HighLowWindow window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MidPrice, MidPrice::create(p.count(0)))
