#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/wilder_rsi.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// The mean of the close's RSI, the RSI of the up/down streak length, and the percent rank
// of the latest one-bar return among the last P returns.
class ConnorsRsi {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<ConnorsRsi, CoreError> create(std::uint64_t r, std::uint64_t s, std::uint64_t p) {
        if (auto e = period_error(r, s, p)) return std::unexpected(*e);
        return ConnorsRsi(r, s, p);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const auto rsi = close_rsi_.push(x);
        if (!has_prev_) {
            prev_ = x;
            has_prev_ = true;
            return std::nullopt;
        }
        const double p = prev_;
        prev_ = x;
        if (x > p) streak_ = (streak_ > 0.0 ? streak_ : 0.0) + 1.0;
        else if (x < p) streak_ = (streak_ < 0.0 ? streak_ : 0.0) - 1.0;
        else streak_ = 0.0;
        const auto streak_rsi = streak_rsi_.push(streak_);
        // A zero previous close has no return; the rank window then fills later.
        if (p != 0.0) {
            const double r = (x - p) / p;
            if (std::isfinite(r)) returns_.push(r);
        }
        if (!rsi || !streak_rsi || !returns_.full()) return std::nullopt;
        const double newest = returns_.newest();
        const double below = returns_.fold(0.0, [&](double acc, double v) { return v < newest ? acc + 1.0 : acc; });
        const double rank = 100.0 * below / static_cast<double>(returns_.capacity());
        return (*rsi + *streak_rsi + rank) / 3.0;
    }

    std::size_t warmup_period() const {
        return std::max({close_rsi_.period() + 1, streak_rsi_.period() + 2, returns_.capacity() + 1});
    }

private:
    ConnorsRsi(std::uint64_t r, std::uint64_t s, std::uint64_t p) : close_rsi_(r), streak_rsi_(s), returns_(p) {}

    WilderRsi close_rsi_;
    WilderRsi streak_rsi_;
    RingWindow<double> returns_;
    double prev_ = 0.0;
    bool has_prev_ = false;
    double streak_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ConnorsRsi, ostrel::ConnorsRsi::create(p.count(0), p.count(1), p.count(2)))
