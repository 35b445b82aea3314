#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Absolute buy-sell count imbalance of the last N trades as a fraction of N.
class Pin {
public:
    static constexpr InputKind input = InputKind::Trades;

    static std::expected<Pin, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Pin(period);
    }

    std::optional<double> update(const TradePrint& t) {
        const bool buy = t.side == Side::Buy;
        if (auto old = window_.push(buy)) buys_ -= *old ? 1 : 0;
        buys_ += buy ? 1 : 0;
        if (!window_.full()) return std::nullopt;
        const double n = static_cast<double>(window_.capacity());
        return std::fabs(2.0 * static_cast<double>(buys_) - n) / n;
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit Pin(std::size_t n) : window_(n) {}
    RingWindow<bool> window_;
    std::size_t buys_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Pin, Pin::create(p.count(0)))
