#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <expected>
#include <optional>

#include "indicators/core/indicator.hpp"
#include "indicators/rolling/midpoint.hpp"

// Pattern names are generic (Bar, near, inside); they stay inside the family.
namespace ostrel::candlestick {

// One candle's prices and the measures the pattern rules read.
struct Bar {
    double o = 0.0;
    double h = 0.0;
    double l = 0.0;
    double c = 0.0;

    double range() const { return h - l; }
    double body() const { return c - o; }
    double body_size() const { return std::fabs(c - o); }
    double top() const { return std::max(o, c); }
    double bottom() const { return std::min(o, c); }
    double upper_shadow() const { return h - top(); }
    double lower_shadow() const { return bottom() - l; }
    bool bullish() const { return c > o; }
    bool bearish() const { return c < o; }
};

inline Bar bar_of(const Candle& k) { return Bar{k.open, k.high, k.low, k.close}; }

template <std::size_t K>
using Bars = std::array<Bar, K>;

// The candle upside down: colours, highs and lows, shadows trade places. Negation is exact and
// rounding is symmetric, so a rule read on the mirror is exactly its mirrored reading.
inline Bar mirror(const Bar& b) { return Bar{-b.o, -b.l, -b.h, -b.c}; }

template <std::size_t K>
Bars<K> mirror(const Bars<K>& bars) {
    Bars<K> out;
    for (std::size_t i = 0; i < K; ++i) out[i] = mirror(bars[i]);
    return out;
}

// +1 when the bullish form holds, -1 when it holds on the mirrored candles, else 0.
template <class Candles, class Form>
double either_way(const Candles& candles, Form bullish_form) {
    if (bullish_form(candles)) return 1.0;
    return bullish_form(mirror(candles)) ? -1.0 : 0.0;
}

inline double colour(const Bar& b) { return b.bullish() ? 1.0 : (b.bearish() ? -1.0 : 0.0); }

inline bool is_doji(const Bar& b) { return b.range() > 0.0 && b.body_size() <= 0.1 * b.range(); }

inline bool long_body(const Bar& b, double share) {
    return b.range() > 0.0 && b.body_size() >= share * b.range();
}

// Equal within `tolerance` of the larger magnitude.
inline bool near(double x, double y, double tolerance) {
    return std::fabs(x - y) <= tolerance * std::max(std::fabs(x), std::fabs(y));
}

// `inner` strictly inside `outer`: a lower high and a higher low.
inline bool inside(const Bar& outer, const Bar& inner) { return inner.h < outer.h && inner.l > outer.l; }

// Three bullish candles, each opening within the body before it and closing higher.
inline bool three_soldiers(const Bar& a, const Bar& p, const Bar& x) {
    return a.bullish() && p.bullish() && x.bullish() && a.o <= p.o && p.o <= a.c && p.o <= x.o &&
           x.o <= p.c && a.c < p.c && p.c < x.c;
}

inline bool hammer_shape(const Bar& b) {
    return b.range() > 0.0 && b.body() != 0.0 && b.upper_shadow() <= b.body_size() &&
           b.lower_shadow() >= 2.0 * b.body_size();
}

inline double hammer(const Bars<1>& b) { return hammer_shape(b[0]) ? 1.0 : 0.0; }
inline double inverted_hammer(const Bars<1>& b) { return hammer_shape(mirror(b[0])) ? 1.0 : 0.0; }

// A long bullish body opening on its low; `share` is the least body per range.
inline double opening_marubozu_signal(const Bar& b, double share) {
    return either_way(b, [share](const Bar& x) {
        return long_body(x, share) && x.bullish() && x.o - x.l <= 0.05 * x.range();
    });
}

// The setup shared by the neck and thrusting lines: a long bearish candle, then a bullish one
// opening below its low.
inline bool neck_setup(const Bar& p, const Bar& x) {
    return p.range() > 0.0 && p.bearish() && p.o - p.c >= 0.5 * p.range() && x.bullish() && x.o < p.l;
}

// Two near-marubozus of opposite colour with a gap between them, signed by the current candle.
inline double kicking(const Bars<2>& b) {
    if (!long_body(b[0], 0.95) || !long_body(b[1], 0.95)) return 0.0;
    return either_way(b, [](const Bars<2>& k) { return k[0].bearish() && k[1].bullish() && k[1].l > k[0].h; });
}

inline bool is_morning_doji_star(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    if (!(a.range() > 0.0 && p.range() > 0.0 && a.bearish() && a.o - a.c >= 0.5 * a.range())) return false;
    if (!(p.body_size() <= 0.1 * p.range())) return false;
    const double t = p.top();
    return x.bullish() && x.bottom() > t && a.c > t && x.c > a.c + 0.3 * (a.o - a.c);
}

inline bool is_upside_gap_three_methods(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    return a.bullish() && p.bullish() && p.o > a.c && x.bearish() && p.o < x.o && x.o < p.c && a.o < x.c &&
           x.c < a.c;
}

inline bool is_rising_three_methods(const Bars<5>& b) {
    const Bar& x1 = b[0];
    const Bar& x = b[4];
    if (!(x1.range() > 0.0 && x1.bullish() && x1.body() >= 0.5 * x1.range())) return false;
    for (std::size_t i = 1; i <= 3; ++i) {
        const Bar& m = b[i];
        if (!(m.bearish() && m.body_size() <= 0.5 * x1.body() && m.top() > x1.l && m.bottom() < x1.h)) return false;
    }
    return b[1].c > b[2].c && b[2].c > b[3].c && x.bullish() && x.body_size() >= 0.5 * x.range() &&
           x.o > b[3].c && x.c > x1.c;
}

// A formation of K bars: the last K - 1 accepted candles are held, and from the K-th accepted
// candle on each one yields the rule's signal on them and itself (oldest first).
template <std::size_t K, double (*Rule)(const Bars<K>&)>
class CandlePattern {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<CandlePattern, CoreError> create() { return CandlePattern(); }

    std::optional<double> update(const Candle& k) {
        if (held_ < K - 1) {
            bars_[held_++] = bar_of(k);
            return std::nullopt;
        }
        bars_[K - 1] = bar_of(k);
        const double signal = Rule(bars_);
        for (std::size_t i = 0; i + 1 < K; ++i) bars_[i] = bars_[i + 1];
        return signal;
    }

    std::size_t warmup_period() const { return K; }

private:
    CandlePattern() = default;
    Bars<K> bars_{};
    std::size_t held_ = 0;
};

// Long and short lines: the candle's range against the mean range of the five accepted before it;
// +1 when a qualifying candle is bullish, -1 otherwise.
template <bool Long>
class LineLength {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<LineLength, CoreError> create() { return LineLength(); }

    std::optional<double> update(const Candle& k) {
        const Bar b = bar_of(k);
        const double r = b.range();
        if (held_ < span) {
            ranges_[held_++] = r;
            return std::nullopt;
        }
        double sum = 0.0;
        bool flat = true;
        for (std::size_t i = 0; i < span; ++i) {
            const double v = ranges_[(oldest_ + i) % span];
            sum += v;
            flat = flat && v == ranges_[oldest_];
        }
        // Equal ranges average to themselves: their sum's rounding must not rank the candle.
        const double avg = flat ? ranges_[oldest_] : sum / static_cast<double>(span);
        ranges_[oldest_] = r;
        oldest_ = (oldest_ + 1) % span;
        // A short line needs a range: a flat candle is neither colour.
        const bool sized = Long ? r > avg : (r < avg && r > 0.0);
        if (!sized || !(b.body_size() >= 0.5 * r)) return 0.0;
        return b.bullish() ? 1.0 : -1.0;
    }

    // The first value comes with the sixth accepted candle; five is the documented count.
    std::size_t warmup_period() const { return span; }

private:
    static constexpr std::size_t span = 5;
    LineLength() = default;
    std::array<double, span> ranges_{};
    std::size_t held_ = 0;
    std::size_t oldest_ = 0;
};

}  // namespace ostrel::candlestick
