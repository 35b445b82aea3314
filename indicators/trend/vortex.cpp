#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/true_range.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Vortex indicator: the summed reaches of each high from the previous low (VM+) and of each
// low from the previous high (VM−) over the last N candles, relative to their true ranges.
class Vortex {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Vortex, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Vortex(period);
    }

    // plus, minus.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const double tr = range_.push(c.high, c.low, c.close);
        const bool has_prev = has_prev_;
        const Move move{std::fabs(c.high - prev_low_), std::fabs(c.low - prev_high_), tr};
        prev_high_ = c.high;
        prev_low_ = c.low;
        has_prev_ = true;
        if (!has_prev) return std::nullopt;
        moves_.push(move);
        if (!moves_.full()) return std::nullopt;
        // Summed afresh each step (oldest first), so a window of zero ranges sums to exactly 0.
        Move sum{0.0, 0.0, 0.0};
        moves_.for_each([&](const Move& m) {
            sum.plus += m.plus;
            sum.minus += m.minus;
            sum.range += m.range;
        });
        if (sum.range == 0.0) return std::array<double, 2>{0.0, 0.0};
        return std::array<double, 2>{sum.plus / sum.range, sum.minus / sum.range};
    }

    std::size_t warmup_period() const { return moves_.capacity() + 1; }

private:
    struct Move {
        double plus;
        double minus;
        double range;
    };

    explicit Vortex(std::uint64_t period) : moves_(static_cast<std::size_t>(period)) {}

    TrueRange range_;
    RingWindow<Move> moves_;
    double prev_high_ = 0.0;
    double prev_low_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Vortex, ostrel::Vortex::create(p.count(0)))
