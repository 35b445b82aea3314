#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/true_range.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {

// Wilder's directional movement: per-candle +DM, −DM and true range against the previous
// candle, summed over the first N changes and then carried as Wilder running sums
// S = S − S/N + new; +DI and −DI are the movement sums over the range sum.
class DirectionalCore {
public:
    // 1 ≤ period ≤ MAX_PERIOD, checked by the caller.
    explicit DirectionalCore(std::uint64_t period) : period_(period), n_(static_cast<double>(period)) {}

    // True once the sums cover N changes, i.e. from the (N + 1)-th candle on. A candle whose
    // movement or sums overflow is dropped whole, so no infinity can turn the sums into NaN.
    bool push(const Candle& c) {
        TrueRange range = range_;
        const double tr = range.push(c.high, c.low, c.close);
        if (!has_prev_) {
            range_ = range;
            remember(c);
            return false;
        }
        const double up = c.high - prev_high_;
        const double down = prev_low_ - c.low;
        const double plus = up > down && up > 0.0 ? up : 0.0;
        const double minus = down > up && down > 0.0 ? down : 0.0;
        const double tr_s = next(tr_s_, tr);
        const double plus_s = next(plus_s_, plus);
        const double minus_s = next(minus_s_, minus);
        if (!std::isfinite(tr_s) || !std::isfinite(plus_s) || !std::isfinite(minus_s)) return false;
        range_ = range;
        remember(c);
        tr_s_ = tr_s;
        plus_s_ = plus_s;
        minus_s_ = minus_s;
        if (!seeded_ && ++changes_ == period_) seeded_ = true;
        return seeded_;
    }

    std::uint64_t period() const { return period_; }

    // Meaningful once push has returned true.
    double plus_dm() const { return plus_s_; }
    double minus_dm() const { return minus_s_; }
    double plus_di() const { return tr_s_ == 0.0 ? 0.0 : 100.0 * plus_s_ / tr_s_; }
    double minus_di() const { return tr_s_ == 0.0 ? 0.0 : 100.0 * minus_s_ / tr_s_; }
    double dx() const {
        const double p = plus_di();
        const double m = minus_di();
        const double sum = p + m;
        return sum == 0.0 ? 0.0 : 100.0 * std::fabs(p - m) / sum;
    }

private:
    // Plain sum while warming up, Wilder's running sum afterwards.
    double next(double s, double x) const { return seeded_ ? s - s / n_ + x : s + x; }

    void remember(const Candle& c) {
        prev_high_ = c.high;
        prev_low_ = c.low;
        has_prev_ = true;
    }

    std::uint64_t period_;
    double n_;
    TrueRange range_;
    double prev_high_ = 0.0;
    double prev_low_ = 0.0;
    bool has_prev_ = false;
    std::uint64_t changes_ = 0;
    bool seeded_ = false;
    double tr_s_ = 0.0;
    double plus_s_ = 0.0;
    double minus_s_ = 0.0;
};

enum class DirectionalReading { Dx, PlusDi, MinusDi, PlusDm, MinusDm };

// One reading of the directional core as a member of its own, from candle N + 1.
template <DirectionalReading R>
class DirectionalLine {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<DirectionalLine, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return DirectionalLine(period);
    }

    std::optional<double> update(const Candle& c) {
        if (!core_.push(c)) return std::nullopt;
        if constexpr (R == DirectionalReading::Dx) return core_.dx();
        else if constexpr (R == DirectionalReading::PlusDi) return core_.plus_di();
        else if constexpr (R == DirectionalReading::MinusDi) return core_.minus_di();
        else if constexpr (R == DirectionalReading::PlusDm) return core_.plus_dm();
        else return core_.minus_dm();
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(core_.period() + 1); }

private:
    explicit DirectionalLine(std::uint64_t period) : core_(period) {}
    DirectionalCore core_;
};

}  // namespace ostrel
