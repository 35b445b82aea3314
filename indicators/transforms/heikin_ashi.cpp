#include <array>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/transforms/heikin_ashi_step.hpp"

namespace ostrel {
namespace {

// Heikin-Ashi candles from every valid candle.
class HeikinAshi {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<HeikinAshi, CoreError> create() { return HeikinAshi(); }

    std::optional<std::array<double, 4>> update(const Candle& c) {
        return step_.push(c.open, c.high, c.low, c.close);
    }

    std::size_t warmup_period() const { return 1; }

private:
    HeikinAshiStep step_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HeikinAshi, HeikinAshi::create())
