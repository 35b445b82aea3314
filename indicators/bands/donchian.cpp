#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Highest high, its midpoint with the lowest low, and the lowest low of the last N candles.
class Donchian {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Donchian, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return Donchian(n);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(const Candle& c) {
        window_.push(c.high, c.low);
        if (!window_.full()) return std::nullopt;
        const double upper = window_.highest_high();
        const double lower = window_.lowest_low();
        return std::array<double, 3>{upper, midpoint(upper, lower), lower};
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit Donchian(std::uint64_t n) : window_(n) {}

    HighLowWindow window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Donchian, ostrel::Donchian::create(p.count(0)))
