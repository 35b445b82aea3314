#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/wilder_atr.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// EMA(N) of the close ± k·ATR(M).
class Keltner {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Keltner, CoreError> create(std::uint64_t n, std::uint64_t m, double k) {
        if (auto e = period_error(n, m)) return std::unexpected(*e);
        if (auto e = multiplier_error(k)) return std::unexpected(*e);
        return Keltner(n, m, k);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(const Candle& c) {
        const auto middle = ema_.push(c.close);
        const auto atr = atr_.update(c);
        if (!middle || !atr) return std::nullopt;
        const double width = k_ * *atr;
        return std::array<double, 3>{*middle + width, *middle, *middle - width};
    }

    std::size_t warmup_period() const { return std::max<std::size_t>(ema_.period(), atr_.period()); }

private:
    Keltner(std::uint64_t n, std::uint64_t m, double k) : ema_(n), atr_(m), k_(k) {}

    ExpSmoother ema_;
    WilderAtr atr_;
    double k_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Keltner, ostrel::Keltner::create(p.count(0), p.count(1), p.real(2)))
