#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/book_top.hpp"

namespace ostrel {
namespace {

// Spread paid by the step's last trade against the reference price, in basis points.
class EffectiveSpread {
public:
    static constexpr InputKind input = InputKind::Microstructure;

    static std::expected<EffectiveSpread, CoreError> create() { return EffectiveSpread{}; }

    std::optional<double> update(const StepView& s) {
        return over_trades(s, [](const TradePrint& t, double r) { return spread_bps(trade_sign(t), t.price, r, r); });
    }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(EffectiveSpread, EffectiveSpread::create())
