#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Disparity index: the close's distance from its N-close simple average, in percent of that
// average; no value when the average is 0. A window of equal closes has an average exactly
// equal to the close (the divided sum could miss it by an ulp), so it reads 0.
class DisparityIndex {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<DisparityIndex, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return DisparityIndex(n);
    }

    std::optional<double> update(double x) {
        if (!closes_.push(x)) return std::nullopt;
        flat_.push(x);
        if (!closes_.full()) return std::nullopt;
        const double sma = flat_.covers(closes_.size()) ? flat_.value() : closes_.mean();
        if (sma == 0.0) return std::nullopt;
        return 100.0 * (x - sma) / sma;
    }

    std::size_t warmup_period() const { return closes_.period(); }

private:
    explicit DisparityIndex(std::size_t n) : closes_(n, 16) {}

    RunningSum closes_;
    FlatRun flat_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DisparityIndex, ostrel::DisparityIndex::create(p.count(0)))
