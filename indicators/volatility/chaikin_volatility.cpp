#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Percent change over M candles of the N-period exponential average of high − low.
class ChaikinVolatility {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ChaikinVolatility, CoreError> create(std::uint64_t period, std::uint64_t lag) {
        if (auto e = period_error(period, lag)) return std::unexpected(*e);
        return ChaikinVolatility(period, lag);
    }

    std::optional<double> update(const Candle& c) {
        const std::optional<double> e = average_.push(c.high - c.low);
        if (!e) return std::nullopt;
        // The ring holds the M averages before this one; its oldest is the average M candles ago.
        std::optional<double> change;
        if (past_.full()) {
            const double then = past_.oldest();
            change = then == 0.0 ? 0.0 : 100.0 * (*e - then) / then;
        }
        past_.push(*e);
        return change;
    }

    std::size_t warmup_period() const { return average_.period() + past_.capacity(); }

private:
    ChaikinVolatility(std::uint64_t period, std::size_t lag) : average_(period), past_(lag) {}

    ExpSmoother average_;
    RingWindow<double> past_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ChaikinVolatility, ostrel::ChaikinVolatility::create(p.count(0), p.count(1)))
