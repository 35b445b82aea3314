#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {
namespace {

// Population standard deviation over the mean of the last N closes.
class CoefficientOfVariation {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<CoefficientOfVariation, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return CoefficientOfVariation(period);
    }

    std::optional<double> update(double x) {
        if (!moments_.push(x) || !moments_.full()) return std::nullopt;
        const double mean = moments_.mean();
        if (mean == 0.0) return 0.0;
        return moments_.stddev() / mean;
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    explicit CoefficientOfVariation(std::size_t n) : moments_(n) {}

    AnchoredMoments moments_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(CoefficientOfVariation, ostrel::CoefficientOfVariation::create(p.count(0)))
