#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/sliding_extremes.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// %K: the close's place in the K-candle range in percent (50 on a zero range); %D: its
// simple average over D.
class Stochastic {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Stochastic, CoreError> create(std::uint64_t k, std::uint64_t d) {
        if (auto e = period_error(k, d)) return std::unexpected(*e);
        return Stochastic(k, d);
    }

    // k, d.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        range_.push(c.high, c.low);
        if (!range_.full()) return std::nullopt;
        const double ll = range_.lowest();
        const double span = range_.highest() - ll;
        const double k = span == 0.0 ? 50.0 : (c.close - ll) * 100.0 / span;
        if (!d_.push(k) || !d_.full()) return std::nullopt;
        return std::array<double, 2>{k, d_.mean()};
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(range_.period()) + d_.period() - 1; }

private:
    Stochastic(std::uint64_t k, std::uint64_t d) : range_(k), d_(d, 16) {}

    SlidingExtremes range_;
    RunningSum d_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Stochastic, ostrel::Stochastic::create(p.count(0), p.count(1)))
