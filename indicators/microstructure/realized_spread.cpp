#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/microstructure/book_top.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Spread of each trade realised against the reference price N trades later, in basis points.
class RealizedSpread {
public:
    static constexpr InputKind input = InputKind::Microstructure;

    static std::expected<RealizedSpread, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return RealizedSpread(period);
    }

    std::optional<double> update(const StepView& s) {
        return over_trades(s, [this](const TradePrint& t, double r) -> std::optional<double> {
            // The window holds the N previous trades; the one a push evicts is N trades back.
            const std::optional<Entry> old = window_.push({trade_sign(t), t.price, r});
            if (!old) return std::nullopt;
            return spread_bps(old->sign, old->price, r, old->reference);
        });
    }

    std::size_t warmup_period() const { return window_.capacity() + 1; }

private:
    struct Entry {
        double sign;
        double price;
        double reference;
    };

    explicit RealizedSpread(std::size_t n) : window_(n) {}
    RingWindow<Entry> window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RealizedSpread, RealizedSpread::create(p.count(0)))
