#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/wilder_rsi.hpp"
#include "indicators/moving_averages/sma.hpp"

namespace ostrel {
namespace {

// The relative strength line x/y with its simple average over N and its Wilder RSI over M.
// A zero reference has no ratio and is skipped.
class RelativeStrengthAB {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<RelativeStrengthAB, CoreError> create(std::uint64_t n, std::uint64_t m) {
        if (auto e = period_error(n, m)) return std::unexpected(*e);
        return RelativeStrengthAB(*Sma::create(n), m);
    }

    // ratio, ratio_ma, ratio_rsi.
    std::optional<std::array<double, 3>> update(double x, double y) {
        if (y == 0.0) return std::nullopt;
        const double ratio = x / y;
        if (!std::isfinite(ratio)) return std::nullopt;
        const auto average = sma_.update(ratio);
        const auto rsi = rsi_.push(ratio);
        if (!average || !rsi) return std::nullopt;
        return std::array<double, 3>{ratio, *average, *rsi};
    }

    std::size_t warmup_period() const { return std::max(sma_.warmup_period(), rsi_.warmup_period()); }

private:
    RelativeStrengthAB(Sma sma, std::uint64_t m) : sma_(sma), rsi_(m) {}

    Sma sma_;
    WilderRsi rsi_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RelativeStrengthAB, ostrel::RelativeStrengthAB::create(p.count(0), p.count(1)))
