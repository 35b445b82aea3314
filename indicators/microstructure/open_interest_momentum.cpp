#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Percent change of open interest over N ticks. The window holds the N previous values;
// the one a push evicts is the value N ticks back.
class OpenInterestMomentum {
public:
    static constexpr InputKind input = InputKind::Derivatives;

    static std::expected<OpenInterestMomentum, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return OpenInterestMomentum(period);
    }

    std::optional<double> update(const DerivativesTick& t) {
        const std::optional<double> old = window_.push(t.open_interest);
        if (!old) return std::nullopt;
        if (*old <= 0.0) return 0.0;
        return 100.0 * (t.open_interest - *old) / *old;
    }

    std::size_t warmup_period() const { return window_.capacity() + 1; }

private:
    explicit OpenInterestMomentum(std::size_t n) : window_(n) {}
    RingWindow<double> window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OpenInterestMomentum, OpenInterestMomentum::create(p.count(0)))
