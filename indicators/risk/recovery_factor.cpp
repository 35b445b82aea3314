#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/risk/drawdown_tracker.hpp"

namespace ostrel {
namespace {

// Total return since the first level over the largest drawdown since then; 0 until there
// is a drawdown, and nothing at all when the first level is 0.
class RecoveryFactor {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<RecoveryFactor, CoreError> create() { return RecoveryFactor(); }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!first_) first_ = x;
        drawdowns_.push(x);
        if (*first_ == 0.0) return std::nullopt;
        const double d = drawdowns_.max_depth();
        if (d == 0.0) return 0.0;
        return (x / *first_ - 1.0) / d;
    }

    std::size_t warmup_period() const { return 1; }

private:
    RecoveryFactor() = default;

    std::optional<double> first_;
    DrawdownTracker drawdowns_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RecoveryFactor, ostrel::RecoveryFactor::create())
