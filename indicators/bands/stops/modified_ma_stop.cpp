#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/stops/reversing_stop.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/wilder_smoother.hpp"

namespace ostrel {
namespace {

// A stop that trails the Wilder-smoothed close, tightening only, and restarts at the average
// on the other side when the close crosses it.
class ModifiedMaStop {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ModifiedMaStop, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return ModifiedMaStop(n);
    }

    // value, direction.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const auto m = average_.push(c.close);
        if (!m) return std::nullopt;
        if (!stop_.started()) stop_.start(*m <= c.close, *m);
        else stop_.trail_then_test(c.close, *m, *m);
        return stop_.outputs();
    }

    std::size_t warmup_period() const { return average_.period(); }

private:
    explicit ModifiedMaStop(std::uint64_t n) : average_(n) {}

    WilderSmoother average_;
    ReversingStop stop_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ModifiedMaStop, ostrel::ModifiedMaStop::create(p.count(0)))
