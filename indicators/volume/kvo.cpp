#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"

namespace ostrel {
namespace {

// Klinger volume oscillator: EMA(fast) − EMA(slow) of the volume force
// volume·|2·(dm/cm − 1)|·trend·100, where the trend is +1 when high + low + close rose against
// the previous candle and −1 otherwise, dm = high − low, and cm accumulates dm while the trend
// persists and restarts from the previous dm + dm when it turns.
class Kvo {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Kvo, CoreError> create(std::uint64_t fast, std::uint64_t slow) {
        if (auto e = convergence_error("KVO needs fast < slow", fast, slow)) return std::unexpected(*e);
        return Kvo(fast, slow);
    }

    std::optional<double> update(const Candle& c) {
        const double hlc = c.high + c.low + c.close;
        const double dm = c.high - c.low;
        if (!has_prev_) {
            remember(hlc, dm);
            return std::nullopt;
        }
        const double trend = hlc > prev_hlc_ ? 1.0 : -1.0;
        const double cm = trend == trend_ ? cm_ + dm : prev_dm_ + dm;
        // Two zero-range candles leave cm at 0: no force rather than a 0/0 that would
        // poison both averages for good.
        const double force = cm == 0.0 ? 0.0 : c.volume * std::fabs(2.0 * (dm / cm - 1.0)) * trend * 100.0;
        // A range or force beyond the largest doubles drops the candle whole.
        if (!std::isfinite(force)) return std::nullopt;
        trend_ = trend;
        cm_ = cm;
        remember(hlc, dm);
        const auto pair = spread_.push(force);
        if (!pair) return std::nullopt;
        return pair->fast - pair->slow;
    }

    // The force starts on the second candle.
    std::size_t warmup_period() const { return spread_.warmup_period() + 1; }

private:
    Kvo(std::uint64_t fast, std::uint64_t slow) : spread_(fast, slow) {}

    void remember(double hlc, double dm) {
        prev_hlc_ = hlc;
        prev_dm_ = dm;
        has_prev_ = true;
    }

    EmaSpread spread_;
    double prev_hlc_ = 0.0;
    double prev_dm_ = 0.0;
    double trend_ = 0.0;  // none before the first change
    double cm_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Kvo, ostrel::Kvo::create(p.count(0), p.count(1)))
