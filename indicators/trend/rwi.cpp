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

// Random walk index: how far the newest high (low) lies from each low (high) of the last N
// candles, against the distance a random walk covers in as many steps, ATR·√k; the largest
// over the look-backs, 0 at least. Windows without any true range give no value.
class Rwi {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Rwi, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("RWI requires period >= 2"));
        return Rwi(period);
    }

    // high, low.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        window_.push({c.high, c.low, range_.push(c.high, c.low, c.close)});
        if (!window_.full()) return std::nullopt;
        const double sum = window_.fold(0.0, [](double acc, const Bar& b) { return acc + b.range; });
        if (sum == 0.0) return std::nullopt;
        const double atr = sum / static_cast<double>(window_.size());
        const std::size_t last = window_.size() - 1;
        const Bar& now = window_[last];
        double high = 0.0;
        double low = 0.0;
        for (std::size_t k = 1; k <= last; ++k) {
            const Bar& then = window_[last - k];
            const double walk = atr * std::sqrt(static_cast<double>(k));
            high = std::fmax(high, (now.high - then.low) / walk);
            low = std::fmax(low, (then.high - now.low) / walk);
        }
        return std::array<double, 2>{high, low};
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    struct Bar {
        double high;
        double low;
        double range;
    };

    explicit Rwi(std::uint64_t period) : window_(static_cast<std::size_t>(period)) {}

    TrueRange range_;
    RingWindow<Bar> window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Rwi, ostrel::Rwi::create(p.count(0)))
