#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/microstructure/record_member.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Relative change of open interest minus that of the mark price over N ticks; the pair a
// push evicts is the one N ticks back.
class OIPriceDivergence {
public:
    static constexpr InputKind input = InputKind::Derivatives;

    static std::expected<OIPriceDivergence, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return OIPriceDivergence(period);
    }

    std::optional<double> update(const DerivativesTick& t) {
        const auto old = window_.push({t.open_interest, t.mark_price});
        if (!old) return std::nullopt;
        const auto [oi0, mark0] = *old;
        const double oi_change = oi0 == 0.0 ? 0.0 : relative_change(t.open_interest, oi0);
        return oi_change - relative_change(t.mark_price, mark0);
    }

    std::size_t warmup_period() const { return window_.capacity() + 1; }

private:
    explicit OIPriceDivergence(std::size_t n) : window_(n) {}
    RingWindow<std::pair<double, double>> window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OIPriceDivergence, OIPriceDivergence::create(p.count(0)))
