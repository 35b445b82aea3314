#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"
#include "indicators/moving_averages/vwma.hpp"

namespace ostrel {
namespace {

// MACD of volume-weighted averages: Vwma(fast) − Vwma(slow) with an exponential signal.
// Over zero volumes each average is the plain mean of its closes (Vwma's own fallback).
class VolumeWeightedMacd {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<VolumeWeightedMacd, CoreError> create(std::uint64_t fast, std::uint64_t slow,
                                                               std::uint64_t signal) {
        if (auto e = convergence_error(FAST_SLOW_MESSAGE, fast, slow, signal)) return std::unexpected(*e);
        return VolumeWeightedMacd(*Vwma::create(fast), *Vwma::create(slow), signal);
    }

    std::optional<MacdOutputs> update(const Candle& c) {
        const auto fast = fast_.push(c.close, c.volume);
        const auto slow = slow_.push(c.close, c.volume);
        if (!fast || !slow) return std::nullopt;
        return signal_.push(*fast - *slow);
    }

    std::size_t warmup_period() const {
        return slow_.warmup_period() + static_cast<std::size_t>(signal_.period()) - 1;
    }

private:
    VolumeWeightedMacd(Vwma fast, Vwma slow, std::uint64_t signal) : fast_(fast), slow_(slow), signal_(signal) {}
    Vwma fast_;
    Vwma slow_;
    SignalLine signal_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VolumeWeightedMacd, ostrel::VolumeWeightedMacd::create(p.count(0), p.count(1), p.count(2)))
