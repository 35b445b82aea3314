#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// An RSI over the four stages of a Laguerre filter instead of over time: the ups and downs
// between adjacent stages.
class LaguerreRsi {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<LaguerreRsi, CoreError> create(double gamma) {
        if (!std::isfinite(gamma) || gamma < 0.0 || gamma > 1.0)
            return std::unexpected(CoreError::invalid_period("LaguerreRSI gamma must be a finite value in [0, 1]"));
        return LaguerreRsi(gamma);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!started_) {
            l0_ = l1_ = l2_ = l3_ = x;
            started_ = true;
            return 50.0;
        }
        const double l0 = x == l0_ ? l0_ : (1.0 - g_) * x + g_ * l0_;
        const double l1 = stage(l1_, l0_, l0);
        const double l2 = stage(l2_, l1_, l1);
        const double l3 = stage(l3_, l2_, l2);
        l0_ = l0;
        l1_ = l1;
        l2_ = l2;
        l3_ = l3;
        double cu = 0.0;
        double cd = 0.0;
        for (const double diff : {l0 - l1, l1 - l2, l2 - l3}) {
            if (diff >= 0.0) cu += diff;
            else cd -= diff;
        }
        if (!(cu + cd > 0.0)) return 50.0;
        return std::clamp(100.0 * cu / (cu + cd), 0.0, 100.0);
    }

    std::size_t warmup_period() const { return 1; }

private:
    explicit LaguerreRsi(double gamma) : g_(gamma) {}

    // A stage whose state and both inputs agree stays exactly there; the literal arithmetic
    // could move it by an ulp and a flat series would then read as a trend.
    double stage(double state, double prev_in, double in) const {
        if (state == prev_in && prev_in == in) return state;
        return g_ * state + (prev_in - g_ * in);
    }

    double g_;
    double l0_ = 0.0;
    double l1_ = 0.0;
    double l2_ = 0.0;
    double l3_ = 0.0;
    bool started_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(LaguerreRsi, ostrel::LaguerreRsi::create(p.real(0)))
