#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Chaikin money flow: the volume-weighted close location ((c − l) − (h − c))/(h − l) over N
// candles. Both sums know when they hold only zeros, so a window without volume reads 0
// instead of dividing residue.
class ChaikinMoneyFlow {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ChaikinMoneyFlow, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return ChaikinMoneyFlow(n);
    }

    std::optional<double> update(const Candle& c) {
        const double range = c.high - c.low;
        const double location = range == 0.0 ? 0.0 : ((c.close - c.low) - (c.high - c.close)) / range;
        const double flow = location * c.volume;
        // Only ranges near the largest doubles overflow; such a candle is dropped whole so
        // that both windows stay aligned.
        if (!std::isfinite(flow)) return std::nullopt;
        flows_.push(flow);
        volumes_.push(c.volume);
        if (!volumes_.full()) return std::nullopt;
        if (volumes_.all_zero()) return 0.0;
        return flows_.sum() / volumes_.sum();
    }

    std::size_t warmup_period() const { return volumes_.period(); }

private:
    explicit ChaikinMoneyFlow(std::size_t n) : flows_(n), volumes_(n) {}

    RunningSum flows_;
    RunningSum volumes_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ChaikinMoneyFlow, ostrel::ChaikinMoneyFlow::create(p.count(0)))
