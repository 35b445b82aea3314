#include <algorithm>
#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Share of the window's upward high extensions in all high and low extensions.
class TdDeMarker {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TdDeMarker, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return TdDeMarker(n);
    }

    std::optional<double> update(const Candle& k) {
        if (!has_prev_) {
            remember(k);
            return std::nullopt;
        }
        const double up = std::max(k.high - prev_high_, 0.0);
        const double down = std::max(prev_low_ - k.low, 0.0);
        // Extensions that overflow cannot be summed: the candle is skipped.
        if (!std::isfinite(up) || !std::isfinite(down)) return std::nullopt;
        remember(k);
        ups_.push(up);
        downs_.push(down);
        if (!ups_.full()) return std::nullopt;
        const double n = static_cast<double>(ups_.capacity());
        const double u = ups_.fold(0.0, [](double acc, double v) { return acc + v; }) / n;
        const double d = downs_.fold(0.0, [](double acc, double v) { return acc + v; }) / n;
        if (u + d == 0.0) return 0.5;
        const double value = u / (u + d);
        if (!std::isfinite(value)) return std::nullopt;
        return value;
    }

    std::size_t warmup_period() const { return ups_.capacity() + 1; }

private:
    explicit TdDeMarker(std::uint64_t n) : ups_(n), downs_(n) {}

    void remember(const Candle& k) {
        prev_high_ = k.high;
        prev_low_ = k.low;
        has_prev_ = true;
    }

    RingWindow<double> ups_;
    RingWindow<double> downs_;
    double prev_high_ = 0.0;
    double prev_low_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdDeMarker, TdDeMarker::create(p.count(0)))
