#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/pair_moments.hpp"
#include "indicators/pairs/window_check.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {
namespace {

// Z-score of the log spread ln x − beta·ln y over its last Z values, beta being the rolling
// beta of ln x on ln y over the last B pairs. A pair with a non-positive value has no
// logarithm and is skipped.
class PairSpreadZScore {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<PairSpreadZScore, CoreError> create(std::uint64_t beta_period, std::uint64_t z_period) {
        if (auto e = period_error(beta_period, z_period)) return std::unexpected(*e);
        if (beta_period < 2) return std::unexpected(CoreError::invalid_period("pair spread z-score needs beta_period >= 2"));
        if (z_period < 2) return std::unexpected(CoreError::invalid_period("pair spread z-score needs z_period >= 2"));
        return PairSpreadZScore(beta_period, z_period);
    }

    std::optional<double> update(double x, double y) {
        if (!(x > 0.0 && y > 0.0)) return std::nullopt;
        const double lx = std::log(x);
        const double ly = std::log(y);
        if (!prices_.push(lx, ly) || !prices_.full()) return std::nullopt;
        const double s = lx - prices_.beta() * ly;
        if (!spreads_.push(s) || !spreads_.full()) return std::nullopt;
        const double variance = spreads_.variance();
        if (variance == 0.0) return 0.0;
        return (s - spreads_.mean()) / std::sqrt(variance);
    }

    std::size_t warmup_period() const { return prices_.period() + spreads_.period() - 1; }

private:
    PairSpreadZScore(std::size_t b, std::size_t z) : prices_(b), spreads_(z) {}

    PairMoments prices_;
    AnchoredMoments spreads_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(PairSpreadZScore, ostrel::PairSpreadZScore::create(p.count(0), p.count(1)))
