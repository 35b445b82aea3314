#include <algorithm>
#include <array>
#include <cmath>
#include <expected>
#include <optional>

#include "indicators/bands/stops/reversing_stop.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// Percentage reversal: a stop a fraction g away from the trend's extreme close, flipping
// to the other side of the close that crosses it.
class Nrtr {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Nrtr, CoreError> create(double percent) {
        if (!(percent > 0.0 && percent < 100.0))
            return std::unexpected(CoreError::invalid_parameter("NRTR percentage must be in (0, 100)"));
        return Nrtr(percent / 100.0);
    }

    // value, direction.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const double x = c.close;
        if (!stop_.started()) {
            extreme_ = x;
            stop_.start(true, down_ * x);
            return stop_.outputs();
        }
        // The trailing level only moves with the extreme, so the ratchet never bites.
        if (stop_.is_long()) {
            extreme_ = std::max(extreme_, x);
            if (stop_.trail_then_test(x, down_ * extreme_, up_ * x)) extreme_ = x;
        } else {
            extreme_ = std::min(extreme_, x);
            if (stop_.trail_then_test(x, down_ * x, up_ * extreme_)) extreme_ = x;
        }
        return stop_.outputs();
    }

    std::size_t warmup_period() const { return 1; }

private:
    explicit Nrtr(double g) : down_(1.0 - g), up_(1.0 + g) {}

    double down_;  // 1 − g
    double up_;    // 1 + g
    double extreme_ = 0.0;
    ReversingStop stop_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Nrtr, ostrel::Nrtr::create(p.real(0)))
