#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/stops/scaled_atr.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"

namespace ostrel {
namespace {

// Preliminary stops k·ATR inside the N-candle range, each then taken at its most cautious
// over the last M candles: the lowest of LL + k·ATR for longs, the highest of HH − k·ATR for
// shorts.
class ChandeKrollStop {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ChandeKrollStop, CoreError> create(std::uint64_t n, double k, std::uint64_t m) {
        auto band = ScaledAtr::create(n, k);
        if (!band) return std::unexpected(band.error());
        if (auto e = period_error(m)) return std::unexpected(*e);
        return ChandeKrollStop(*band, n, m);
    }

    // stop_long, stop_short.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const auto band = band_.update(c);
        range_.push(c.high, c.low);
        if (!band || !range_.full()) return std::nullopt;
        // Held as (HH − k·A, LL + k·A), so the window's extremes are the two stops.
        preliminary_.push(range_.highest_high() - *band, range_.lowest_low() + *band);
        if (!preliminary_.full()) return std::nullopt;
        return std::array<double, 2>{preliminary_.lowest_low(), preliminary_.highest_high()};
    }

    // Both periods are at most MAX_PERIOD, so the sum cannot wrap.
    std::size_t warmup_period() const { return range_.capacity() + preliminary_.capacity() - 1; }

private:
    ChandeKrollStop(ScaledAtr band, std::uint64_t n, std::uint64_t m) : band_(band), range_(n), preliminary_(m) {}

    ScaledAtr band_;
    HighLowWindow range_;
    HighLowWindow preliminary_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ChandeKrollStop, ostrel::ChandeKrollStop::create(p.count(0), p.real(1), p.count(2)))
