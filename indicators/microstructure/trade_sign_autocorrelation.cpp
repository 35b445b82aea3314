#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Mean product of consecutive trade signs over the last N trades, uncentred. The products
// are ±1, so their sum is kept as an exact integer instead of rescanning the window.
class TradeSignAutocorrelation {
public:
    static constexpr InputKind input = InputKind::Trades;

    static std::expected<TradeSignAutocorrelation, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("trade-sign autocorrelation needs period >= 2"));
        return TradeSignAutocorrelation(period);
    }

    std::optional<double> update(const TradePrint& t) {
        const int sign = t.side == Side::Buy ? 1 : -1;
        if (window_.full()) products_ -= window_[0] * window_[1];
        if (!window_.empty()) products_ += sign * window_.newest();
        window_.push(sign);
        if (!window_.full()) return std::nullopt;
        return static_cast<double>(products_) / static_cast<double>(window_.capacity() - 1);
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit TradeSignAutocorrelation(std::size_t n) : window_(n) {}
    RingWindow<int> window_;
    std::int64_t products_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TradeSignAutocorrelation, TradeSignAutocorrelation::create(p.count(0)))
