#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Trend intensity index: the share of the last M deviations of the close from its N-close
// average that lie above it. A flat close window has an average exactly equal to the close
// (the divided sum could miss it by an ulp), and the deviation sums know when they hold only
// zeros, so a flat stretch reads 50 instead of ranking residues.
class Tii {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Tii, CoreError> create(std::uint64_t n, std::uint64_t m) {
        if (auto e = period_error(n, m)) return std::unexpected(*e);
        return Tii(n, m);
    }

    std::optional<double> update(double x) {
        if (!closes_.push(x)) return std::nullopt;
        flat_.push(x);
        if (!closes_.full()) return std::nullopt;
        const double sma = flat_.covers(closes_.size()) ? flat_.value() : closes_.mean();
        const double d = x - sma;
        above_.push(d > 0.0 ? d : 0.0);
        below_.push(d < 0.0 ? -d : 0.0);
        if (!above_.full()) return std::nullopt;
        const double p = above_.sum();
        const double q = below_.sum();
        if (!(p + q > 0.0)) return 50.0;
        return std::clamp(100.0 * p / (p + q), 0.0, 100.0);
    }

    std::size_t warmup_period() const { return closes_.period() + above_.period() - 1; }

private:
    Tii(std::uint64_t n, std::uint64_t m) : closes_(n, 16), above_(m), below_(m) {}

    RunningSum closes_;
    FlatRun flat_;
    RunningSum above_;  // positive deviations
    RunningSum below_;  // magnitudes of the negative ones
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Tii, ostrel::Tii::create(p.count(0), p.count(1)))
