#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Q-stick: the N-candle simple average of the candle bodies, close − open.
class Qstick {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Qstick, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Qstick(period);
    }

    std::optional<double> update(const Candle& c) {
        if (!bodies_.push(c.close - c.open) || !bodies_.full()) return std::nullopt;
        return bodies_.mean();
    }

    std::size_t warmup_period() const { return bodies_.period(); }

private:
    explicit Qstick(std::uint64_t period) : bodies_(static_cast<std::size_t>(period), 16) {}
    RunningSum bodies_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Qstick, ostrel::Qstick::create(p.count(0)))
