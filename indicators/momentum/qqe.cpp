#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/wilder_rsi.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// Quantitative qualitative estimation: a smoothed RSI and a trailing line that ratchets at
// factor × the double-smoothed movement of that RSI, flipping sides when crossed.
class Qqe {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Qqe, CoreError> create(std::uint64_t n, std::uint64_t s, double factor) {
        if (n == 0 || s == 0) return std::unexpected(CoreError::zero_period());
        if (!std::isfinite(factor) || !(factor > 0.0))
            return std::unexpected(CoreError::invalid_period("QQE factor must be a finite positive value"));
        // 2N − 1 ≥ 2^24 exactly when N > 2^23; compared without doubling so no value can wrap.
        if (s > MAX_PERIOD || n > MAX_PERIOD / 2)
            return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return Qqe(n, s, factor);
    }

    // rsi_ma, trailing_line.
    std::optional<std::array<double, 2>> update(double x) {
        const auto rsi = rsi_.push(x);
        if (!rsi) return std::nullopt;
        const auto ma = rsi_ma_.push(*rsi);
        if (!ma) return std::nullopt;
        const double p = prev_ma_;
        const bool had_ma = has_prev_ma_;
        prev_ma_ = *ma;
        has_prev_ma_ = true;
        if (!had_ma) return std::nullopt;
        const auto a1 = movement1_.push(std::fabs(*ma - p));
        if (!a1) return std::nullopt;
        const auto a2 = movement2_.push(*a1);
        if (!a2) return std::nullopt;
        const double dar = *a2 * factor_;
        double lng = *ma - dar;
        double sht = *ma + dar;
        if (!has_bands_) {
            trend_ = 1;
            has_bands_ = true;
        } else {
            if (p > long_ && *ma > long_) lng = std::max(lng, long_);
            if (p < short_ && *ma < short_) sht = std::min(sht, short_);
            if (p <= short_ && *ma > short_) trend_ = 1;
            else if (p >= long_ && *ma < long_) trend_ = -1;
        }
        long_ = lng;
        short_ = sht;
        return std::array<double, 2>{*ma, trend_ == 1 ? long_ : short_};
    }

    std::size_t warmup_period() const {
        return static_cast<std::size_t>(5 * rsi_.period() + rsi_ma_.period() - 3);
    }

private:
    Qqe(std::uint64_t n, std::uint64_t s, double factor)
        : rsi_(n), rsi_ma_(s), movement1_(2 * n - 1), movement2_(2 * n - 1), factor_(factor) {}

    WilderRsi rsi_;
    ExpSmoother rsi_ma_;
    ExpSmoother movement1_;  // period 2N − 1, so alpha 1/N
    ExpSmoother movement2_;
    double factor_;
    double prev_ma_ = 0.0;
    bool has_prev_ma_ = false;
    double long_ = 0.0;
    double short_ = 0.0;
    bool has_bands_ = false;
    int trend_ = 1;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Qqe, ostrel::Qqe::create(p.count(0), p.count(1), p.real(2)))
