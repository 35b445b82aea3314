#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/stops/reversing_stop.hpp"
#include "indicators/bands/wilder_atr.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// A stop set k1·ATR from the close at each reversal that then closes in on the price by
// k2·ATR every candle, so a trend that stalls is soon stopped out.
class AtrRatchet {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AtrRatchet, CoreError> create(std::uint64_t n, double k1, double k2) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (auto e = multiplier_error(k1)) return std::unexpected(*e);
        if (auto e = multiplier_error(k2)) return std::unexpected(*e);
        return AtrRatchet(n, k1, k2);
    }

    // value, direction.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const auto atr = atr_.update(c);
        if (!atr) return std::nullopt;
        const double x = c.close;
        const double reset = k1_ * *atr;
        const double move = k2_ * *atr;
        if (!stop_.started()) {
            stop_.start(true, x - reset);
        } else if (stop_.is_long()) {
            // move ≥ 0, so trailing to stop + move is exactly that step.
            stop_.trail_then_test(x, stop_.stop() + move, x + reset);
        } else {
            stop_.trail_then_test(x, x - reset, stop_.stop() - move);
        }
        return stop_.outputs();
    }

    std::size_t warmup_period() const { return atr_.warmup_period(); }

private:
    AtrRatchet(std::uint64_t n, double k1, double k2) : atr_(n), k1_(k1), k2_(k2) {}

    WilderAtr atr_;
    double k1_;
    double k2_;
    ReversingStop stop_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AtrRatchet, ostrel::AtrRatchet::create(p.count(0), p.real(1), p.real(2)))
