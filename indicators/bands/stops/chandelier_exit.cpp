#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/stops/scaled_atr.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/rolling/extremes.hpp"

namespace ostrel {
namespace {

// Exits hung k·ATR below the highest high and above the lowest low of the last N candles.
class ChandelierExit {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ChandelierExit, CoreError> create(std::uint64_t n, double k) {
        auto band = ScaledAtr::create(n, k);
        if (!band) return std::unexpected(band.error());
        return ChandelierExit(*band, n);
    }

    // long_stop, short_stop.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const auto band = band_.update(c);
        range_.push(c.high, c.low);
        if (!band || !range_.full()) return std::nullopt;
        return std::array<double, 2>{range_.highest_high() - *band, range_.lowest_low() + *band};
    }

    std::size_t warmup_period() const { return range_.capacity(); }

private:
    ChandelierExit(ScaledAtr band, std::uint64_t n) : band_(band), range_(n) {}

    ScaledAtr band_;
    HighLowWindow range_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ChandelierExit, ostrel::ChandelierExit::create(p.count(0), p.real(1)))
