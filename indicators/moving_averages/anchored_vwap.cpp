#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Volume-weighted typical price anchored at the first candle the indicator receives.
// Nothing re-anchors it within a build, so it keeps no reset flag.
class AnchoredVwap {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AnchoredVwap, CoreError> create() { return AnchoredVwap(); }

    std::optional<double> update(const Candle& c) {
        const double tp = (c.high + c.low + c.close) / 3.0;
        weighted_ += tp * c.volume;
        volume_ += c.volume;
        if (volume_ == 0.0) return std::nullopt;
        return weighted_ / volume_;
    }

    std::size_t warmup_period() const { return 1; }

private:
    double weighted_ = 0.0;
    double volume_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AnchoredVwap, AnchoredVwap::create())
