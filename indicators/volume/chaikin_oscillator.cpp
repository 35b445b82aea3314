#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"
#include "indicators/volume/ad_line.hpp"

namespace ostrel {
namespace {

// EMA(fast) − EMA(slow) of the accumulation/distribution line.
class ChaikinOscillator {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ChaikinOscillator, CoreError> create(std::uint64_t fast, std::uint64_t slow) {
        if (auto e = convergence_error("Chaikin Oscillator needs fast < slow", fast, slow))
            return std::unexpected(*e);
        return ChaikinOscillator(fast, slow);
    }

    std::optional<double> update(const Candle& c) {
        const auto line = line_.update(c);
        if (!line) return std::nullopt;
        const auto pair = spread_.push(*line);
        if (!pair) return std::nullopt;
        return pair->fast - pair->slow;
    }

    std::size_t warmup_period() const { return spread_.warmup_period(); }

private:
    ChaikinOscillator(std::uint64_t fast, std::uint64_t slow) : spread_(fast, slow) {}

    AdLine line_;
    EmaSpread spread_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ChaikinOscillator, ostrel::ChaikinOscillator::create(p.count(0), p.count(1)))
