#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/window_check.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {
namespace {

// Bollinger bands on the spread x − y: mean ± k population standard deviations, and where
// the newest spread sits between them. A flat spread has σ exactly 0, so the bands coincide
// and percent_b takes its 0.5.
class SpreadBollingerBands {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<SpreadBollingerBands, CoreError> create(std::uint64_t period, double k) {
        if (auto e = window_error(period, 2, "spread bollinger bands needs period >= 2")) return std::unexpected(*e);
        return SpreadBollingerBands(period, k);
    }

    // middle, upper, lower, percent_b.
    std::optional<std::array<double, 4>> update(double x, double y) {
        const double s = x - y;
        if (!spreads_.push(s) || !spreads_.full()) return std::nullopt;
        const double middle = spreads_.mean();
        const double width = k_ * spreads_.stddev();
        const double upper = middle + width;
        const double lower = middle - width;
        const double percent_b = upper == lower ? 0.5 : (s - lower) / (upper - lower);
        return std::array<double, 4>{middle, upper, lower, percent_b};
    }

    std::size_t warmup_period() const { return spreads_.period(); }

private:
    SpreadBollingerBands(std::size_t n, double k) : spreads_(n), k_(k) {}

    AnchoredMoments spreads_;
    double k_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SpreadBollingerBands, ostrel::SpreadBollingerBands::create(p.count(0), p.real(1)))
