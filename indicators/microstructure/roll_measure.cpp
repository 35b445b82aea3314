#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Effective spread implied by the negative first-order autocovariance of trade price changes.
class RollMeasure {
public:
    static constexpr InputKind input = InputKind::Trades;

    static std::expected<RollMeasure, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 3) return std::unexpected(CoreError::invalid_period("Roll measure needs period >= 3"));
        return RollMeasure(period);
    }

    std::optional<double> update(const TradePrint& t) {
        const std::optional<double> previous = previous_;
        previous_ = t.price;
        if (!previous) return std::nullopt;
        changes_.push(t.price - *previous);
        if (!changes_.full()) return std::nullopt;

        const double sum = changes_.fold(0.0, [](double acc, double d) { return acc + d; });
        const double n = static_cast<double>(changes_.capacity());
        const double mean = sum / n;
        double cov = 0.0;
        for (std::size_t k = 1; k < changes_.size(); ++k) cov += (changes_[k] - mean) * (changes_[k - 1] - mean);
        cov /= n - 1.0;
        return cov < 0.0 ? 2.0 * std::sqrt(-cov) : 0.0;
    }

    std::size_t warmup_period() const { return changes_.capacity() + 1; }

private:
    explicit RollMeasure(std::size_t n) : changes_(n) {}
    std::optional<double> previous_;
    RingWindow<double> changes_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RollMeasure, RollMeasure::create(p.count(0)))
