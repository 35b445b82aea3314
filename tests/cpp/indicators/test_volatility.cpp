#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "feed.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

// Positive prices with gaps between one close and the next open.
std::vector<Candle> random_candles(std::size_t n, unsigned seed = 7) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.5, 1.5);
    std::uniform_real_distribution<double> wick(0.0, 0.9);
    std::vector<Candle> out;
    double x = 100.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double open = x + step(rng) * 0.3;
        x += step(rng);
        out.push_back(candle(open, std::max(open, x) + wick(rng), std::min(open, x) - wick(rng), x));
    }
    return out;
}

// One row per step: the primary value then all named outputs; a single NaN without a value.
using Rows = std::vector<std::vector<double>>;

Rows collect(const Case& c, const std::vector<Candle>& candles) {
    auto ind = make(c.name, c.params);
    if (!ind) return {};
    Rows rows;
    for (Candle k : candles) {
        if (ind->input_kind() == InputKind::Close) k = Candle{k.ts, k.close, k.close, k.close, k.close, 0.0};
        StepView s;
        s.candle = k;
        std::vector<double> row{NaN};
        if (auto v = ind->update(s)) {
            row = {*v};
            for (const auto& [name, value] : ind->extra_outputs()) row.push_back(value);
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<double> primary(const Rows& rows) {
    std::vector<double> out;
    for (const auto& r : rows) out.push_back(r[0]);
    return out;
}

// Same values, NaN standing for "no value" on both sides.
void expect_same(const std::vector<double>& got, const std::vector<double>& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << ": " << got[i];
        else EXPECT_EQ(got[i], want[i]) << what << " step " << i + 1;
    }
}

void expect_close(const std::vector<double>& got, const std::vector<double>& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << ": " << got[i];
        else EXPECT_NEAR(got[i], want[i], 1e-9 * std::max(1.0, std::fabs(want[i]))) << what << " step " << i + 1;
    }
}

// Plain two-pass statistics for the reference computations below.
double mean(const std::vector<double>& v) {
    double s = 0.0;
    for (double x : v) s += x;
    return s / static_cast<double>(v.size());
}
double sample_var(const std::vector<double>& v) {
    const double m = mean(v);
    double s = 0.0;
    for (double x : v) s += (x - m) * (x - m);
    return s / static_cast<double>(v.size() - 1);
}
// The n values of v ending just before `end`.
std::vector<double> last(const std::vector<double>& v, std::size_t end, std::size_t n) {
    return {v.begin() + static_cast<long>(end - n), v.begin() + static_cast<long>(end)};
}
std::vector<double> true_ranges(const std::vector<Candle>& cs) {
    std::vector<double> out;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        double tr = cs[i].high - cs[i].low;
        if (i > 0) {
            tr = std::max({tr, std::fabs(cs[i].high - cs[i - 1].close), std::fabs(cs[i].low - cs[i - 1].close)});
        }
        out.push_back(tr);
    }
    return out;
}
// Exponential average seeded with the mean of the first n values.
std::vector<double> ema(const std::vector<double>& v, std::size_t n) {
    std::vector<double> out(v.size(), NaN);
    const double a = 2.0 / (static_cast<double>(n) + 1.0);
    double e = 0.0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (i + 1 < n) continue;
        e = i + 1 == n ? mean(last(v, n, n)) : a * v[i] + (1.0 - a) * e;
        out[i] = e;
    }
    return out;
}

// Per-step reference values of a member over candles (close members see the closes).
using Reference = std::vector<double> (*)(const std::vector<Candle>&);

constexpr std::size_t N = 5;
const double root252 = std::sqrt(252.0);

// Range estimators: the mean of a per-candle term over N candles, as √252·√mean·100.
template <double (*Term)(const Candle&)>
std::vector<double> range_estimator(const std::vector<Candle>& cs) {
    std::vector<double> terms, out;
    for (const Candle& c : cs) {
        terms.push_back(Term(c));
        out.push_back(terms.size() < N ? NaN : root252 * std::sqrt(mean(last(terms, terms.size(), N))) * 100.0);
    }
    return out;
}
double parkinson_term(const Candle& c) { return std::pow(std::log(c.high / c.low), 2) / (4.0 * std::log(2.0)); }
double garman_klass_term(const Candle& c) {
    return 0.5 * std::pow(std::log(c.high / c.low), 2) - (2.0 * std::log(2.0) - 1.0) * std::pow(std::log(c.close / c.open), 2);
}
double rogers_satchell_term(const Candle& c) {
    return std::log(c.high / c.close) * std::log(c.high / c.open) + std::log(c.low / c.close) * std::log(c.low / c.open);
}

std::vector<double> returns_of(const std::vector<Candle>& cs) {
    std::vector<double> r;
    for (std::size_t i = 1; i < cs.size(); ++i) r.push_back(std::log(cs[i].close / cs[i - 1].close));
    return r;
}

// Applies f to the returns known at each step (one fewer than the candles seen).
template <class F>
std::vector<double> over_returns(const std::vector<Candle>& cs, F f) {
    const auto r = returns_of(cs);
    std::vector<double> out{NaN};
    for (std::size_t k = 1; k <= r.size(); ++k) out.push_back(f(r, k));
    return out;
}

std::vector<double> ref_historical(const std::vector<Candle>& cs) {
    return over_returns(cs, [](const std::vector<double>& r, std::size_t k) {
        return k < N ? NaN : root252 * std::sqrt(sample_var(last(r, k, N))) * 100.0;
    });
}
std::vector<double> ref_realized(const std::vector<Candle>& cs) {
    return over_returns(cs, [](const std::vector<double>& r, std::size_t k) {
        if (k < N) return NaN;
        double s = 0.0;
        for (double x : last(r, k, N)) s += x * x;
        return std::sqrt(s);
    });
}
std::vector<double> ref_bipower(const std::vector<Candle>& cs) {
    return over_returns(cs, [](const std::vector<double>& r, std::size_t k) {
        if (k < N) return NaN;
        const auto w = last(r, k, N);
        double s = 0.0;
        for (std::size_t i = 0; i + 1 < w.size(); ++i) s += std::fabs(w[i] * w[i + 1]);
        return std::numbers::pi / 2.0 * s;
    });
}
std::vector<double> ref_jump(const std::vector<Candle>& cs) {  // threshold 1
    return over_returns(cs, [](const std::vector<double>& r, std::size_t k) {
        if (k < N + 1) return NaN;
        const auto w = last(r, k - 1, N);
        const double sd = std::sqrt(sample_var(w)), d = r[k - 1] - mean(w);
        return d > sd ? 1.0 : d < -sd ? -1.0 : 0.0;
    });
}
std::vector<double> ref_ewma(const std::vector<Candle>& cs) {  // lambda 0.94
    return over_returns(cs, [](const std::vector<double>& r, std::size_t k) {
        double v = r[0] * r[0];
        for (std::size_t i = 1; i < k; ++i) v = 0.06 * r[i] * r[i] + 0.94 * v;
        return std::sqrt(v);
    });
}
std::vector<double> ref_garch(const std::vector<Candle>& cs) {  // (1e-5, 0.1, 0.85)
    return over_returns(cs, [](const std::vector<double>& r, std::size_t k) {
        double v = 1e-5 / 0.05;
        for (std::size_t i = 1; i < k; ++i) v = 0.85 * v + 1e-5 + 0.1 * r[i - 1] * r[i - 1];
        return std::sqrt(v);
    });
}
std::vector<double> ref_yang_zhang(const std::vector<Candle>& cs) {
    std::vector<double> o, c, rs, out{NaN};
    const double k = 0.34 / (1.34 + (N + 1.0) / (N - 1.0));
    for (std::size_t i = 1; i < cs.size(); ++i) {
        o.push_back(std::log(cs[i].open / cs[i - 1].close));
        c.push_back(std::log(cs[i].close / cs[i].open));
        rs.push_back(rogers_satchell_term(cs[i]));
        if (i < N) {
            out.push_back(NaN);
            continue;
        }
        const double v = sample_var(last(o, i, N)) + k * sample_var(last(c, i, N)) + (1 - k) * mean(last(rs, i, N));
        out.push_back(root252 * std::sqrt(v) * 100.0);
    }
    return out;
}
std::vector<double> ref_natr(const std::vector<Candle>& cs) {
    const auto tr = true_ranges(cs);
    std::vector<double> out(cs.size(), NaN);
    double atr = 0.0;
    for (std::size_t i = N - 1; i < cs.size(); ++i) {
        atr = i == N - 1 ? mean(last(tr, N, N)) : (atr * (N - 1) + tr[i]) / N;
        out[i] = 100.0 * atr / cs[i].close;
    }
    return out;
}
std::vector<double> ref_choppiness(const std::vector<Candle>& cs) {
    const auto tr = true_ranges(cs);
    std::vector<double> out(cs.size(), NaN);
    for (std::size_t i = N - 1; i < cs.size(); ++i) {
        double s = 0.0, hh = -Inf, ll = Inf;
        for (std::size_t j = i + 1 - N; j <= i; ++j) {
            s += tr[j];
            hh = std::max(hh, cs[j].high);
            ll = std::min(ll, cs[j].low);
        }
        out[i] = 100.0 * std::log10(s / (hh - ll)) / std::log10(double(N));
    }
    return out;
}
std::vector<double> ref_ulcer(const std::vector<Candle>& cs) {
    std::vector<double> d2, out(cs.size(), NaN);
    for (std::size_t i = N - 1; i < cs.size(); ++i) {
        double m = -Inf;
        for (std::size_t j = i + 1 - N; j <= i; ++j) m = std::max(m, cs[j].close);
        const double d = 100.0 * (cs[i].close - m) / m;
        d2.push_back(d * d);
        if (d2.size() >= N) out[i] = std::sqrt(mean(last(d2, d2.size(), N)));
    }
    return out;
}
std::vector<double> ref_mass(const std::vector<Candle>& cs) {  // (3, 4)
    std::vector<double> range;
    for (const Candle& c : cs) range.push_back(c.high - c.low);
    const auto e1 = ema(range, 3);
    const auto e2_seen = ema(last(e1, e1.size(), e1.size() - 2), 3);
    std::vector<double> ratios, out(cs.size(), NaN);
    for (std::size_t i = 0; i < e2_seen.size(); ++i) {
        if (std::isnan(e2_seen[i])) continue;
        ratios.push_back(e1[i + 2] / e2_seen[i]);
        if (ratios.size() >= 4) out[i + 2] = 4.0 * mean(last(ratios, ratios.size(), 4));
    }
    return out;
}
std::vector<double> ref_chaikin(const std::vector<Candle>& cs) {  // (3, 4)
    std::vector<double> range;
    for (const Candle& c : cs) range.push_back(c.high - c.low);
    const auto e = ema(range, 3);
    std::vector<double> out(cs.size(), NaN);
    for (std::size_t i = 4; i < cs.size(); ++i)
        if (!std::isnan(e[i - 4])) out[i] = 100.0 * (e[i] - e[i - 4]) / e[i - 4];
    return out;
}
std::vector<double> ref_volatility_ratio(const std::vector<Candle>& cs) {
    const auto tr = true_ranges(cs);
    const auto avg = ema(last(tr, tr.size(), tr.size() - 1), N);  // from the second candle
    std::vector<double> out(cs.size(), NaN);
    for (std::size_t i = 2; i < cs.size(); ++i)
        if (!std::isnan(avg[i - 2])) out[i] = tr[i] / avg[i - 2];
    return out;
}
std::vector<double> ref_vol_of_vol(const std::vector<Candle>& cs) {  // (3, 4)
    std::vector<double> sigmas;
    return over_returns(cs, [&](const std::vector<double>& r, std::size_t k) {
        if (k < 3) return NaN;
        sigmas.push_back(std::sqrt(sample_var(last(r, k, 3))));
        return sigmas.size() < 4 ? NaN : std::sqrt(sample_var(last(sigmas, sigmas.size(), 4)));
    });
}

struct Member {
    Case c;
    Reference ref;
};

const std::vector<Member> referenced{
    {{"HistoricalVolatility", {N, 252}}, ref_historical},
    {{"ParkinsonVolatility", {N, 252}}, range_estimator<parkinson_term>},
    {{"GarmanKlassVolatility", {N, 252}}, range_estimator<garman_klass_term>},
    {{"RogersSatchellVolatility", {N, 252}}, range_estimator<rogers_satchell_term>},
    {{"YangZhangVolatility", {N, 252}}, ref_yang_zhang},
    {{"RealizedVolatility", {N}}, ref_realized},
    {{"BipowerVariation", {N}}, ref_bipower},
    {{"JumpIndicator", {N, 1}}, ref_jump},
    {{"EwmaVolatility", {0.94}}, ref_ewma},
    {{"Garch11", {1e-5, 0.1, 0.85}}, ref_garch},
    {{"Natr", {N}}, ref_natr},
    {{"ChoppinessIndex", {N}}, ref_choppiness},
    {{"UlcerIndex", {N}}, ref_ulcer},
    {{"MassIndex", {3, 4}}, ref_mass},
    {{"ChaikinVolatility", {3, 4}}, ref_chaikin},
    {{"VolatilityRatio", {N}}, ref_volatility_ratio},
    {{"VolatilityOfVolatility", {3, 4}}, ref_vol_of_vol},
};

// Every member, with its warm-up.
struct Warmup {
    Case c;
    std::size_t warmup;
    int logarithmic;  // 0: arithmetic; 1: skips closes that are not positive; 2: also lows
};
const std::vector<Warmup> members{
    {{"TrueRange", {}}, 1, 0},
    {{"Atr", {5}}, 5, 0},
    {{"Natr", {5}}, 5, 0},
    {{"HistoricalVolatility", {5, 252}}, 6, 1},
    {{"ParkinsonVolatility", {5, 252}}, 5, 2},
    {{"GarmanKlassVolatility", {5, 252}}, 5, 2},
    {{"RogersSatchellVolatility", {5, 252}}, 5, 2},
    {{"YangZhangVolatility", {5, 252}}, 6, 2},
    {{"RealizedVolatility", {5}}, 6, 1},
    {{"BipowerVariation", {5}}, 6, 1},
    {{"JumpIndicator", {5, 2}}, 7, 1},
    {{"EwmaVolatility", {0.94}}, 2, 1},
    {{"Garch11", {1e-6, 0.1, 0.8}}, 2, 1},
    {{"ChoppinessIndex", {5}}, 5, 0},
    {{"UlcerIndex", {5}}, 9, 0},
    {{"MassIndex", {3, 4}}, 8, 0},
    {{"ChaikinVolatility", {3, 4}}, 7, 0},
    {{"VolatilityRatio", {5}}, 7, 0},
    {{"VolatilityOfVolatility", {3, 4}}, 7, 1},
    {{"VolatilityCone", {3, 4}}, 7, 1},
};

}  // namespace

TEST(VolatilityExamples, DocumentedCases) {
    const double r = std::log(1.1);
    // Equal returns ln 1.1: no variance.
    expect_same(run_closes("HistoricalVolatility", {2, 252}, {100, 110, 121}), {NaN, NaN, 0}, "HistoricalVolatility(2,252)");
    // The first EWMA value is |r|; a return whose square equals the variance leaves it untouched.
    expect_same(run_closes("EwmaVolatility", {0.3}, {100, 110, 121}), {NaN, r, r}, "EwmaVolatility(0.3)");
    expect_same(run_closes("EwmaVolatility", {0.5}, {100, 50}), {NaN, -std::log(0.5)}, "EwmaVolatility(0.5)");
    // GARCH starts at the long-run deviation whatever the first return, then takes that return.
    const double long_run = 0.01 / (1.0 - 0.1 - 0.8);
    for (double second : {101.0, 150.0}) {
        const auto v = run_closes("Garch11", {0.01, 0.1, 0.8}, {100, second, second});
        EXPECT_DOUBLE_EQ(v[1], std::sqrt(long_run)) << second;
        const double r1 = std::log(second / 100.0);
        EXPECT_DOUBLE_EQ(v[2], std::sqrt(0.8 * long_run + (0.01 + 0.1 * r1 * r1))) << second;
    }
    // Identical previous returns: no deviation, no jump.
    expect_same(run_closes("JumpIndicator", {3, 1}, {100, 100, 100, 100, 200}), {NaN, NaN, NaN, NaN, 0},
                "JumpIndicator(3,1)");
    expect_same(run_closes("JumpIndicator", {2, 1}, {100, 101, 100, 200, 100}), {NaN, NaN, NaN, 1, -1},
                "JumpIndicator(2,1)");
    expect_same(run_closes("RealizedVolatility", {2}, {100, 110, 121}), {NaN, NaN, std::sqrt(r * r + r * r)},
                "RealizedVolatility(2)");
    expect_same(run_closes("BipowerVariation", {2}, {100, 110, 99}),
                {NaN, NaN, 1.5707963267948966 * std::fabs(r * std::log(99.0 / 110.0))}, "BipowerVariation(2)");
    // Parkinson over one candle spanning a factor 2: ln2²/(4·ln 2) = ln 2 / 4.
    expect_close(run_candles("ParkinsonVolatility", {1, 1}, {candle(1.5, 2, 1, 1.5)}),
                 {std::sqrt(std::log(2.0) / 4.0) * 100.0}, "ParkinsonVolatility(1,1)");
    // A candle with high = low contributes nothing.
    expect_same(run_candles("ParkinsonVolatility", {2, 252}, {candle(5, 5, 5, 5), candle(7, 7, 7, 7)}), {NaN, 0},
                "ParkinsonVolatility(2,252) flat");
    // Drawdowns −20 % and 0 %, then a window without drawdown.
    expect_same(run_closes("UlcerIndex", {2}, {10, 8, 8, 10}), {NaN, NaN, std::sqrt(200.0), 0}, "UlcerIndex(2)");
    expect_same(run_candles("TrueRange", {}, {candle(10, 12, 9, 10), candle(14.5, 15, 14, 14.5)}), {3, 5}, "TrueRange");
    // N = 1: the first true range (from the second candle) seeds the average, which then follows
    // each range; every value divides by the average before its candle.
    const std::vector<Candle> ranges{candle(10, 11, 9, 10), candle(10, 11, 9, 10), candle(10, 12, 8, 10),
                                     candle(10, 10.5, 9.5, 10)};
    expect_same(run_candles("VolatilityRatio", {1}, ranges), {NaN, NaN, 2, 0.25}, "VolatilityRatio(1)");
    // Ranges 2, 2, 4: e = 2, 2, 4 with N = 1; change over one candle 0 then 100 %.
    expect_same(run_candles("ChaikinVolatility", {1, 1}, {ranges[0], ranges[1], ranges[2]}), {NaN, 0, 100},
                "ChaikinVolatility(1,1)");
}

TEST(VolatilityExamples, AgainstPlainComputation) {
    const auto candles = random_candles(70);
    for (const auto& m : referenced) expect_close(primary(collect(m.c, candles)), m.ref(candles), label(m.c));
}

TEST(VolatilityExamples, UlcerIndexOverLongFallingWindows) {
    // Long falling runs fill the maximum's deque to its whole window.
    std::vector<double> closes;
    for (int i = 0; i < 300; ++i) closes.push_back(400.0 - i + 5.0 * std::sin(i * 0.3) + (i % 97 == 0 ? 80.0 : 0.0));
    const std::size_t n = 40;
    std::vector<double> d2, want(closes.size(), NaN);
    for (std::size_t i = n - 1; i < closes.size(); ++i) {
        const double m = *std::max_element(closes.begin() + static_cast<long>(i + 1 - n), closes.begin() + static_cast<long>(i + 1));
        d2.push_back(std::pow(100.0 * (closes[i] - m) / m, 2));
        if (d2.size() >= n) want[i] = std::sqrt(mean(last(d2, d2.size(), n)));
    }
    expect_close(run_closes("UlcerIndex", {40}, closes), want, "UlcerIndex(40)");
}

TEST(VolatilityExamples, VolatilityConeRanksTheCurrentDeviation) {
    const auto candles = random_candles(40);
    const auto rows = collect({"VolatilityCone", {3, 4}}, candles);
    const auto r = returns_of(candles);
    std::vector<double> sigmas;
    for (std::size_t k = 3; k <= r.size(); ++k) sigmas.push_back(std::sqrt(sample_var(last(r, k, 3))));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i + 1 < 7) {
            EXPECT_TRUE(std::isnan(rows[i][0])) << i;
            continue;
        }
        auto held = last(sigmas, i - 2, 4);
        const double now = held.back();
        std::sort(held.begin(), held.end());
        const double below = static_cast<double>(std::count_if(held.begin(), held.end(), [&](double s) { return s <= now + 1e-12; }));
        expect_close(rows[i], {now, now, held[0], (held[1] + held[2]) / 2, held[3], 100.0 * below / 4.0},
                     "VolatilityCone(3,4) step " + std::to_string(i + 1));
    }
    auto cone = make("VolatilityCone", {3, 4});
    ASSERT_TRUE(cone);
    std::vector<std::string> names;
    for (const auto& [name, value] : cone->extra_outputs()) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"current", "min", "median", "max", "percentile"}));
}

TEST(VolatilityExamples, AverageDailyRangeOverFinishedDays) {
    constexpr std::int64_t hour = 3'600'000;
    auto at = [](double high, double low, std::int64_t ts) { return candle(low, high, low, low, 1.0, ts); };
    const std::vector<Candle> candles{
        at(12, 10, 1 * hour), at(13, 11, 5 * hour),   // day 1: range 3
        at(20, 19, 25 * hour),                        // day 2: range 1
        at(30, 25, 49 * hour), at(31, 29, 50 * hour), // day 3: range 6
        at(40, 40, 73 * hour),                        // day 4
    };
    // No value until a day has finished; then the mean of the finished days held (at most 2).
    expect_same(run_candles("AverageDailyRange", {2, 0}, candles), {NaN, NaN, 3, 2, 2, 3.5}, "AverageDailyRange(2,0)");
    // Shifted two hours back, each day's first candle falls on the day before.
    expect_same(run_candles("AverageDailyRange", {2, -120}, candles), {NaN, 2, 2, 5.5, 7, 7},
                "AverageDailyRange(2,-120)");
    auto adr = make("AverageDailyRange", {2, 0});
    ASSERT_TRUE(adr);
    EXPECT_EQ(adr->warmup_period(), 2u);
}

TEST(VolatilityWarmup, FirstValueAtWarmupPeriod) {
    const auto candles = random_candles(40);
    for (const auto& w : members) {
        auto ind = make(w.c.name, w.c.params);
        ASSERT_TRUE(ind) << label(w.c);
        EXPECT_EQ(ind->warmup_period(), w.warmup) << label(w.c);
        const auto values = primary(collect(w.c, candles));
        EXPECT_EQ(first_value_at(values), w.warmup) << label(w.c);
        for (std::size_t i = w.warmup; i < values.size(); ++i) EXPECT_FALSE(std::isnan(values[i])) << label(w.c);
    }
}

TEST(VolatilityConstruction, Messages) {
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string zero = "period must be greater than zero";
    const std::string garch_stationary = "invalid parameter: GARCH(1,1) requires alpha + beta < 1 (covariance stationarity)";
    const std::string ewma = "invalid parameter: EWMA volatility lambda must be in the open interval (0, 1)";
    const double big = 18446744073709551615.0;
    struct M {
        Case c;
        std::string want;  // after "invalid parameters for indicator NAME: ", or "ok"
    };
    const std::vector<M> table{
        {{"Atr", {1e-20}}, zero},
        {{"Atr", {16777217}}, max},
        {{"Natr", {big}}, max},
        {{"HistoricalVolatility", {1, 252}}, "invalid period: historical volatility period must be >= 2"},
        {{"HistoricalVolatility", {1e-20, 252}}, zero},
        {{"HistoricalVolatility", {16777217, 252}}, max},
        {{"HistoricalVolatility", {2, big}}, "ok"},  // periods per year size no window
        {{"HistoricalVolatility", {2, 1e-20}}, "ok"},
        {{"ParkinsonVolatility", {16777216, 1}}, "ok"},
        {{"GarmanKlassVolatility", {16777217, 252}}, max},
        {{"RogersSatchellVolatility", {1e-20, 252}}, zero},
        {{"YangZhangVolatility", {1, 252}}, "invalid period: Yang-Zhang period must be >= 2"},
        {{"YangZhangVolatility", {big, 252}}, max},
        {{"RealizedVolatility", {16777217}}, max},
        {{"BipowerVariation", {1}}, "invalid period: bipower variation period must be >= 2"},
        {{"JumpIndicator", {1, 2}}, "invalid period: jump indicator needs period >= 2"},
        {{"JumpIndicator", {5, 0}}, "invalid parameter: jump indicator threshold must be finite and positive"},
        {{"JumpIndicator", {5, -1}}, "invalid parameter: jump indicator threshold must be finite and positive"},
        {{"JumpIndicator", {1, 0}}, "invalid period: jump indicator needs period >= 2"},
        {{"EwmaVolatility", {0}}, ewma},
        {{"EwmaVolatility", {1}}, ewma},
        {{"EwmaVolatility", {-0.5}}, ewma},
        {{"EwmaVolatility", {0.999}}, "ok"},
        {{"Garch11", {0.1, 0.5, 0.5}}, garch_stationary},
        {{"Garch11", {0, 0.1, 0.1}}, "invalid parameter: GARCH(1,1) omega must be > 0"},
        {{"Garch11", {-1, -1, 2}}, "invalid parameter: GARCH(1,1) omega must be > 0"},
        {{"Garch11", {0.1, -0.1, 0.5}}, "invalid parameter: GARCH(1,1) alpha and beta must be >= 0"},
        {{"Garch11", {0.1, 1.5, -0.1}}, "invalid parameter: GARCH(1,1) alpha and beta must be >= 0"},
        {{"Garch11", {0.1, 0, 0.9999}}, "ok"},
        {{"Garch11", {1e308, 0.5, 0.4}}, "invalid parameter: GARCH(1,1) parameters must be finite"},  // ω/(1 − α − β)
        {{"Garch11", {1e308, 0, 0}}, "ok"},
        {{"ChoppinessIndex", {1}}, "invalid period: choppiness index needs period >= 2"},
        {{"UlcerIndex", {16777217}}, max},
        {{"MassIndex", {9, 16777217}}, max},
        {{"MassIndex", {1e-20, 25}}, zero},
        {{"ChaikinVolatility", {10, big}}, max},
        {{"ChaikinVolatility", {16777216, 16777216}}, "ok"},
        {{"VolatilityRatio", {16777217}}, max},
        {{"AverageDailyRange", {16777217, 0}}, max},
        {{"AverageDailyRange", {5, -1440}}, "ok"},
        {{"VolatilityOfVolatility", {1, 5}}, "invalid period: vol-of-vol windows must both be >= 2"},
        {{"VolatilityOfVolatility", {5, 1}}, "invalid period: vol-of-vol windows must both be >= 2"},
        {{"VolatilityOfVolatility", {5, 1e-20}}, zero},
        {{"VolatilityCone", {1, 5}}, "invalid period: volatility cone window and lookback must both be >= 2"},
        {{"VolatilityCone", {5, 1}}, "invalid period: volatility cone window and lookback must both be >= 2"},
        {{"VolatilityCone", {5, 16777217}}, max},
    };
    for (const auto& m : table) expect_creation(m.c, m.want);
}

TEST(VolatilityInputs, UnusableInputsAreSkippedWithoutStateChange) {
    const auto clean = random_candles(60);
    for (const auto& w : members) {
        const bool close_fed = make(w.c.name, w.c.params)->input_kind() == InputKind::Close;
        std::vector<Candle> dirty;
        std::vector<bool> inserted;
        for (std::size_t i = 0; i < clean.size(); ++i) {
            std::vector<Candle> extra;
            if (close_fed) {
                if (i % 7 == 3) extra.push_back(bar(NaN));
                if (i % 11 == 5) extra.push_back(bar(-Inf));
                if (w.logarithmic && i % 9 == 4) extra.push_back(bar(0.0));
                if (w.logarithmic && i % 13 == 6) extra.push_back(bar(-3.0));
            } else {
                if (i % 7 == 3) extra.push_back(candle(10, 9, 11, 10));    // high below low
                if (i % 11 == 5) extra.push_back(candle(NaN, 11, 9, 10));
                if (w.logarithmic == 2 && i % 9 == 4) extra.push_back(candle(1, 2, 0, 1));  // low of 0
                if (w.logarithmic && i % 13 == 6) extra.push_back(candle(-1, 1, -2, 0));  // close of 0
            }
            for (const Candle& e : extra) {
                dirty.push_back(e);
                inserted.push_back(true);
            }
            dirty.push_back(clean[i]);
            inserted.push_back(false);
        }
        const Rows expected = collect(w.c, clean);
        const Rows got = collect(w.c, dirty);
        ASSERT_EQ(got.size(), dirty.size()) << label(w.c);
        std::size_t k = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (inserted[i]) {
                EXPECT_TRUE(std::isnan(got[i][0])) << label(w.c) << " inserted step " << i + 1;
                continue;
            }
            expect_same(got[i], expected[k], label(w.c) + " step " + std::to_string(k + 1));
            ++k;
        }
    }
}

TEST(VolatilityInputs, NonPositivePricesInArithmeticMembers) {
    // Natr keeps averaging through a close of 0 but has no percentage there.
    const std::vector<Candle> cs{candle(1, 2, -1, 1), candle(0, 1, -1, 0), candle(0, 2, -1, 1)};
    expect_same(run_candles("Natr", {1}, cs), {300, NaN, 300}, "Natr(1)");
    // Drawdowns from a maximum of 0 count as 0; negative prices are prices.
    expect_same(run_closes("UlcerIndex", {2}, {0, -1, -1, -4}), {NaN, NaN, 0, std::sqrt(45000.0)}, "UlcerIndex(2)");
}

TEST(VolatilityInputs, FlatStretchesGiveExactValues) {
    const auto noisy = random_candles(40);
    const std::size_t after = noisy.size();
    auto series = [&](bool noisy_first, const Candle& tail, std::size_t count) {
        auto out = noisy_first ? noisy : std::vector<Candle>{};
        for (std::size_t i = 0; i < count; ++i) out.push_back(tail);
        return out;
    };
    std::vector<Candle> rising = noisy;
    for (int i = 0; i < 14; ++i) rising.push_back(bar(200.0 + i));
    const Candle still = candle(100, 100, 100, 100);
    const Candle steady = bar(100.0, 1.0, 1.0);  // range 2 around an unchanged close
    struct F {
        Case c;
        std::vector<Candle> series;
        std::size_t from;  // first step whose window holds only the flat tail
        double want;       // NaN: no value
    };
    const std::vector<F> table{
        {{"ParkinsonVolatility", {6, 252}}, series(true, still, 14), after + 6, 0},
        {{"GarmanKlassVolatility", {6, 252}}, series(true, still, 14), after + 6, 0},
        {{"RogersSatchellVolatility", {6, 252}}, series(true, still, 14), after + 6, 0},
        {{"YangZhangVolatility", {6, 252}}, series(true, still, 14), after + 7, 0},
        {{"HistoricalVolatility", {6, 252}}, series(true, still, 14), after + 7, 0},
        {{"RealizedVolatility", {6}}, series(true, still, 14), after + 7, 0},
        {{"BipowerVariation", {6}}, series(true, still, 14), after + 7, 0},
        {{"JumpIndicator", {6, 0.5}}, series(true, still, 14), after + 8, 0},
        {{"VolatilityOfVolatility", {3, 4}}, series(true, still, 14), after + 7, 0},
        {{"VolatilityCone", {3, 4}}, series(true, still, 14), after + 7, 0},
        {{"UlcerIndex", {6}}, rising, after + 6, 0},
        {{"ChoppinessIndex", {6}}, series(true, still, 14), after + 6, NaN},  // no range to compare with
        {{"ChoppinessIndex", {5}}, series(false, steady, 14), 5, 100},
        // Recursive averages of a constant reproduce it exactly.
        {{"MassIndex", {3, 4}}, series(false, steady, 20), 8, 4},
        {{"ChaikinVolatility", {3, 4}}, series(false, steady, 20), 7, 0},
        {{"ChaikinVolatility", {3, 4}}, series(false, still, 20), 7, 0},  // from an average of 0
        {{"VolatilityRatio", {3}}, series(false, steady, 20), 5, 1},
        {{"VolatilityRatio", {3}}, series(false, still, 20), 5, 0},  // average 0
        {{"Atr", {3}}, series(false, steady, 20), 3, 2},
        {{"Natr", {3}}, series(false, steady, 20), 3, 2},
    };
    for (const auto& f : table) {
        const Rows rows = collect(f.c, f.series);
        for (std::size_t i = f.from - 1; i < rows.size(); ++i) {
            const std::string what = label(f.c) + " step " + std::to_string(i + 1);
            if (std::isnan(f.want)) EXPECT_TRUE(std::isnan(rows[i][0])) << what;
            else EXPECT_EQ(rows[i][0], f.want) << what;
        }
    }
    // A cone of zero deviations: every order statistic 0 and all values at or below the current.
    const Rows cone = collect({"VolatilityCone", {3, 4}}, series(true, still, 14));
    expect_same(cone.back(), {0, 0, 0, 0, 0, 100}, "VolatilityCone(3,4) flat");
    // Days without range average exactly 0 once the ranged days have left the window.
    std::vector<Candle> days;
    for (std::int64_t d = 0; d < 8; ++d) days.push_back(candle(100, d < 3 ? 107.3 : 100, 100, 100, 1, d * 86'400'000));
    const auto adr = primary(collect({"AverageDailyRange", {3, 0}}, days));
    expect_close(adr, {NaN, 7.3, 7.3, 7.3, 7.3 * 2 / 3, 7.3 / 3, 0, 0}, "AverageDailyRange(3,0)");
    EXPECT_EQ(adr[6], 0.0);
    EXPECT_EQ(adr[7], 0.0);
}
