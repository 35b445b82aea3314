#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/microstructure/book_top.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {
namespace {

// Regression slope of reference-price changes on signed trade size over the last N trades.
class KylesLambda {
public:
    static constexpr InputKind input = InputKind::Microstructure;

    static std::expected<KylesLambda, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("kyle's lambda needs window >= 2"));
        return KylesLambda(period);
    }

    std::optional<double> update(const StepView& s) {
        return over_trades(s, [this](const TradePrint& t, double r) -> std::optional<double> {
            const std::optional<double> previous = previous_;
            previous_ = r;
            if (!previous) return std::nullopt;
            moments_.push(signed_size(t), r - *previous);
            if (!moments_.full()) return std::nullopt;
            const double var = moments_.variance_x();
            return var == 0.0 ? 0.0 : moments_.covariance() / var;
        });
    }

    std::size_t warmup_period() const { return moments_.period() + 1; }

private:
    explicit KylesLambda(std::size_t n) : moments_(n) {}
    std::optional<double> previous_;
    AnchoredPairMoments moments_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(KylesLambda, KylesLambda::create(p.count(0)))
