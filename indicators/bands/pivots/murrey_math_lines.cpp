#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// mm8_8 … mm0_8: the N-bar range cut into eighths, from the top down.
class MurreyMathLines {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<MurreyMathLines, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return MurreyMathLines(n);
    }

    std::optional<std::array<double, 9>> update(const Candle& c) {
        window_.push(c.high, c.low);
        if (!window_.full()) return std::nullopt;
        const double h = window_.highest_high();
        const double l = window_.lowest_low();
        const double v = (h - l) * 0.125;
        std::array<double, 9> out;
        for (std::size_t i = 0; i < 9; ++i) out[i] = l + static_cast<double>(8 - i) * v;
        return out;
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit MurreyMathLines(std::uint64_t n) : window_(n) {}

    HighLowWindow window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MurreyMathLines, ostrel::MurreyMathLines::create(p.count(0)))
