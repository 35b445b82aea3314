#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "feed.hpp"
#include "indicators/momentum/sliding_extremes.hpp"
#include "indicators/momentum/wilder_rsi.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

std::vector<Candle> random_candles(std::size_t n, unsigned seed = 5, double start = 100.0) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    std::uniform_real_distribution<double> wick(0.0, 0.8);
    std::vector<Candle> out;
    double x = start;
    for (std::size_t i = 0; i < n; ++i) {
        const double open = x;
        x += step(rng);
        out.push_back(candle(open, std::max(open, x) + wick(rng), std::min(open, x) - wick(rng), x,
                             1.0 + wick(rng)));
    }
    return out;
}

std::vector<double> closes_of(const std::vector<Candle>& candles) {
    std::vector<double> out;
    for (const Candle& c : candles) out.push_back(c.close);
    return out;
}

// A candle spanning [low, high] that opens and closes at `close`.
Candle hlc(double high, double low, double close, double volume = 1.0) {
    return candle(close, high, low, close, volume);
}

// A candle whose every price is v.
Candle point(double v, double volume = 1.0) { return candle(v, v, v, v, volume); }

// Close members are fed the close of each candle, candle members the whole candle.
std::vector<double> run(const Case& c, const std::vector<Candle>& candles) {
    auto ind = make(c.name, c.params);
    if (!ind) return {};
    if (ind->input_kind() == InputKind::Close) return run_closes(*ind, closes_of(candles));
    return run_candles(*ind, candles);
}

// One row per step: the primary value followed by the named outputs; empty without a value.
using Rows = std::vector<std::vector<double>>;

Rows collect(const Case& c, const std::vector<Candle>& candles) {
    auto ind = make(c.name, c.params);
    if (!ind) return {};
    Rows rows;
    for (const Candle& k : candles) {
        StepView s;
        s.candle = k;
        std::vector<double> row;
        if (auto v = ind->update(s)) {
            row.push_back(*v);
            for (const auto& [name, value] : ind->extra_outputs()) row.push_back(value);
        }
        rows.push_back(row);
    }
    return rows;
}

void expect_near(const std::vector<double>& got, const std::vector<double>& want, const std::string& what,
                 double tol = 1e-9) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << ": " << got[i];
        else EXPECT_NEAR(got[i], want[i], tol) << what << " step " << i + 1;
    }
}

std::vector<Candle> points(const std::vector<double>& closes) {
    std::vector<Candle> out;
    for (double c : closes) out.push_back(point(c));
    return out;
}

// Every member with typical parameters and its documented warm-up.
struct Member {
    Case c;
    std::size_t warmup;
};
const std::vector<Member> members{
    {{"Rsi", {14}}, 15},
    {{"Rsx", {14}}, 15},
    {{"AdaptiveRsi", {14}}, 15},
    {{"ConnorsRsi", {3, 2, 100}}, 101},
    {{"ConnorsRsi", {10, 2, 5}}, 11},
    {{"ConnorsRsi", {3, 6, 5}}, 8},
    {{"LaguerreRsi", {0.5}}, 1},
    {{"AnchoredRsi", {}}, 2},
    {{"Rmi", {14, 5}}, 19},
    {{"StochRsi", {14, 14}}, 28},
    {{"FisherRsi", {14}}, 15},
    {{"VolumeRsi", {14}}, 15},
    {{"Cmo", {14}}, 15},
    {{"Vidya", {9, 14}}, 15},
    {{"Stochastic", {14, 3}}, 16},
    {{"WilliamsR", {14}}, 14},
    {{"Smi", {13, 25, 2}}, 38},
    {{"KasePermissionStochastic", {9, 3}}, 13},
    {{"StochasticCci", {14}}, 27},
    {{"Cci", {20}}, 20},
    {{"AdaptiveCci", {20}}, 20},
    {{"UltimateOscillator", {7, 14, 28}}, 29},
    {{"UltimateOscillator", {28, 14, 7}}, 29},
    {{"Rvi", {10}}, 13},
    {{"RviVolatility", {10}}, 19},
    {{"Qqe", {14, 5, 4.236}}, 72},
    {{"Tii", {30, 10}}, 39},
    {{"DynamicMomentumIndex", {14}}, 31},
    {{"DynamicMomentumIndex", {1}}, 31},
    {{"Mfi", {14}}, 15},
};

}  // namespace

TEST(MomentumExamples, KnownValues) {
    const double third = 100.0 / 3.0;
    // AdaptiveRsi(2) over 1, 2, 1, 3: seeded at 0.5 / 0.5, then ER = |3 − 2| / (1 + 2).
    const double ers = std::pow(1.0 / 3.0 * 0.6021505376344085 + 0.06451612903225806, 2);
    const double ag = 0.5 + ers * 1.5;
    const double al = 0.5 - ers * 0.5;
    // AdaptiveCci(2) over typical prices 1, 2, 4: plain mean 1.5, then the fast constant (ER 1).
    const double m = std::pow(0.6021505376344085 + 0.06451612903225806, 2) * 2.5 + 1.5;
    const double acci = (4 - m) / (0.015 * (std::fabs(2 - m) + std::fabs(4 - m)) / 2);
    struct Example {
        Case c;
        std::vector<Candle> candles;
        std::vector<double> want;
    };
    const std::vector<Example> examples{
        {{"Rsi", {2}}, points({1, 2, 3}), {NaN, NaN, 100}},
        // avg 0.5 / 0.5, then (0.5 + 2)/2 and (0.5 + 0)/2.
        {{"Rsi", {2}}, points({1, 2, 1, 3}), {NaN, NaN, 50, 125.0 / 1.5}},
        {{"Rsx", {1}}, points({1, 2, 1, 1}), {NaN, 100, 0, 50}},
        {{"AdaptiveRsi", {2}}, points({1, 2, 1, 3}), {NaN, NaN, 50, 100 * ag / (ag + al)}},
        // Streaks 1, 2, 3; returns 1, 1/2, 1/3, the newest ranking lowest.
        {{"ConnorsRsi", {2, 2, 2}}, points({1, 2, 3, 4}), {NaN, NaN, NaN, 200.0 / 3}},
        {{"ConnorsRsi", {1, 1, 2}}, points({1, 2, 3}), {NaN, NaN, 200.0 / 3}},
        // No return after the zero close: the rank window fills one close later.
        {{"ConnorsRsi", {1, 1, 2}}, points({0, 1, 2, 3}), {NaN, NaN, NaN, 200.0 / 3}},
        // Stages 1.5, 0.75, 1.125, 0.9375: cu = 0.75 + 0.1875, cd = 0.375.
        {{"LaguerreRsi", {0.5}}, points({1, 2}), {50, 500.0 / 7}},
        // gamma 0 shifts the stages: 2, 1, 1, 1 then 1, 2, 1, 1.
        {{"LaguerreRsi", {0}}, points({1, 2, 1}), {50, 100, 50}},
        {{"AnchoredRsi", {}}, points({1, 2, 4, 3}), {NaN, 100, 100, 75}},
        {{"AnchoredRsi", {}}, points({5, 5, 5}), {NaN, 50, 50}},
        {{"AnchoredRsi", {}}, points({5, 4, 4}), {NaN, 0, 0}},
        {{"Rmi", {2, 1}}, points({1, 2, 1, 3}), {NaN, NaN, 50, 125.0 / 1.5}},
        {{"Rmi", {2, 2}}, points({1, 2, 3, 4, 1}), {NaN, NaN, NaN, 100, 50}},
        // RSI 50, 250/3, 250/3 (both averages halve), then 31.25/0.875.
        {{"StochRsi", {2, 2}}, points({1, 2, 1, 3, 3, 2}), {NaN, NaN, NaN, 100, 50, 0}},
        {{"FisherRsi", {2}}, points({1, 2, 1}), {NaN, NaN, 0}},
        {{"FisherRsi", {2}}, points({1, 2, 3}), {NaN, NaN, 0.5 * std::log(1.999 / 0.001)}},
        {{"FisherRsi", {2}}, points({3, 2, 1}), {NaN, NaN, 0.5 * std::log(0.001 / 1.999)}},
        {{"VolumeRsi", {2}}, {point(1, 1), point(1, 2), point(1, 1), point(1, 3)}, {NaN, NaN, 50, 125.0 / 1.5}},
        {{"Cmo", {2}}, points({1, 2, 4, 3}), {NaN, NaN, 100, third}},
        // k = 1/2 on a CMO of 100 (starting at the close), then 1/6 on a CMO of 100/3.
        {{"Vidya", {3, 2}}, points({1, 2, 4, 3}), {NaN, NaN, 4, 4 * (5.0 / 6) + 3.0 / 6}},
        {{"WilliamsR", {2}}, {hlc(10, 8, 9), hlc(11, 9, 10)}, {NaN, -third}},
        {{"WilliamsR", {1}}, {hlc(10, 8, 8), hlc(11, 9, 11)}, {-100, 0}},
        // One-period smoothers pass values through: d over half the range.
        // A zero range gives nothing before the first value and repeats it afterwards.
        {{"Smi", {2, 1, 1}}, {point(10), point(10), hlc(12, 8, 11), hlc(12, 8, 12), point(12), point(12)},
         {NaN, NaN, 50, 100, 100, 100}},
        {{"KasePermissionStochastic", {2, 1}}, {hlc(10, 8, 9), hlc(11, 9, 10)}, {NaN, 200.0 / 3}},
        // Typical prices 1, 2, 1, 2: CCI ±66.67.
        {{"StochasticCci", {2}}, points({1, 2, 1, 2}), {NaN, NaN, 0, 100}},
        {{"Cci", {3}}, points({1, 2, 3}), {NaN, NaN, 100}},
        {{"Cci", {2}}, points({1, 2, 1}), {NaN, 200.0 / 3, -200.0 / 3}},
        {{"AdaptiveCci", {2}}, points({1, 2, 4}), {NaN, 200.0 / 3, acci}},
        // Buying pressure 2 of a true range 3 on every horizon.
        {{"UltimateOscillator", {1, 1, 1}}, {hlc(10, 10, 10), hlc(12, 9, 11)}, {NaN, 200.0 / 3}},
        // Horizons of 1 and 2: 2/3, then 1/1 and (2 + 1)/(3 + 1).
        {{"UltimateOscillator", {1, 2, 1}},
         {hlc(10, 10, 10), hlc(12, 9, 11), hlc(12, 11, 12)},
         {NaN, NaN, (4.0 + 2 * 0.75 + 1) * 100 / 7}},
        // Bodies 1 and ranges 2 throughout.
        {{"Rvi", {1}}, {candle(1, 2, 0, 2), candle(1, 2, 0, 2), candle(1, 2, 0, 2), candle(1, 2, 0, 2)},
         {NaN, NaN, NaN, 0.5}},
        {{"Rvi", {2}},
         {candle(1, 2, 0, 2), candle(1, 2, 0, 2), candle(1, 2, 0, 2), candle(1, 2, 0, 2), candle(2, 2, 0, 1)},
         {NaN, NaN, NaN, NaN, (1 + 4.0 / 6) / 4}},
        // σ 0.5 each close: up, up (seed 0.5 / 0), then down.
        {{"RviVolatility", {2}}, points({1, 2, 3, 2}), {NaN, NaN, 100, 50}},
        // Deviations from SMA(2): 0.5, 0.5, then −1.
        {{"Tii", {2, 2}}, points({1, 2, 3, 1}), {NaN, NaN, 100, third}},
        // Flows +2 and −1 of typical prices 1, 2, 1.
        {{"Mfi", {2}}, points({1, 2, 1}), {NaN, NaN, 200.0 / 3}},
        {{"Mfi", {2}}, points({1, 2, 3}), {NaN, NaN, 100}},
        {{"Mfi", {2}}, points({3, 2, 1}), {NaN, NaN, 0}},
        // Negative prices: flows +1 and −1 cancel.
        {{"Mfi", {2}}, points({-1, 1, -1}), {NaN, NaN, 50}},
    };
    for (const auto& e : examples) expect_near(run(e.c, e.candles), e.want, label(e.c));
}

TEST(MomentumExamples, StochasticGivesKAndItsAverage) {
    const Rows rows = collect({"Stochastic", {3, 2}},
                              {hlc(10, 8, 9), hlc(11, 9, 10), hlc(12, 10, 11), hlc(12, 10, 10)});
    ASSERT_EQ(rows.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(rows[i].empty()) << i;
    // %K 75 then 100/3; primary = k.
    ASSERT_EQ(rows[3].size(), 3u);
    EXPECT_NEAR(rows[3][0], 100.0 / 3, 1e-12);
    EXPECT_NEAR(rows[3][1], 100.0 / 3, 1e-12);
    EXPECT_NEAR(rows[3][2], (75 + 100.0 / 3) / 2, 1e-12);
}

TEST(MomentumExamples, NamedOutputs) {
    struct N {
        Case c;
        std::vector<std::string> names;
    };
    for (const auto& n : std::vector<N>{{{"Stochastic", {3, 2}}, {"k", "d"}},
                                        {{"KasePermissionStochastic", {3, 2}}, {"fast", "slow"}},
                                        {{"Qqe", {2, 2, 4.236}}, {"rsi_ma", "trailing_line"}}}) {
        auto ind = make(n.c.name, n.c.params);
        ASSERT_TRUE(ind);
        std::vector<std::string> got;
        for (const auto& [name, value] : ind->extra_outputs()) got.push_back(name);
        EXPECT_EQ(got, n.names) << label(n.c);
        // The primary value is the first output.
        const Rows rows = collect(n.c, random_candles(40));
        EXPECT_EQ(rows.back().size(), 3u) << label(n.c);
        EXPECT_EQ(rows.back()[0], rows.back()[1]) << label(n.c);
    }
}

TEST(MomentumExamples, QqeTrailingLineSidesWithTheTrend) {
    std::vector<double> closes;
    for (int i = 0; i < 60; ++i) closes.push_back(100 + i + (i % 3 == 0 ? -3.0 : 0.0));
    for (int i = 0; i < 60; ++i) closes.push_back(160 - i + (i % 3 == 0 ? 3.0 : 0.0));
    const Rows rows = collect({"Qqe", {5, 3, 4.236}}, points(closes));
    // Long the rise: the line trails below the smoothed RSI; short the fall: above it.
    ASSERT_EQ(rows[59].size(), 3u);
    EXPECT_LT(rows[59][2], rows[59][1]);
    ASSERT_EQ(rows.back().size(), 3u);
    EXPECT_GT(rows.back()[2], rows.back()[1]);
    // A flat series: RSI 50, no movement, both bands on it.
    const Rows flat = collect({"Qqe", {3, 2, 4.236}}, points(std::vector<double>(20, 7.3)));
    EXPECT_EQ(flat.back(), (std::vector<double>{50, 50, 50}));
}

TEST(MomentumWarmup, FirstValueAtWarmupPeriod) {
    const auto candles = random_candles(160);
    for (const auto& m : members) {
        auto ind = make(m.c.name, m.c.params);
        ASSERT_TRUE(ind) << label(m.c);
        EXPECT_EQ(ind->warmup_period(), m.warmup) << label(m.c);
        const auto values = run(m.c, candles);
        EXPECT_EQ(first_value_at(values), m.warmup) << label(m.c);
        for (std::size_t i = m.warmup; i < values.size(); ++i)
            EXPECT_FALSE(std::isnan(values[i])) << label(m.c) << " step " << i + 1;
    }
}

TEST(MomentumConstruction, Messages) {
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string zero = "period must be greater than zero";
    const std::string qqe = "invalid period: QQE factor must be a finite positive value";
    const std::string gamma = "invalid period: LaguerreRSI gamma must be a finite value in [0, 1]";
    const double big = 18446744073709551615.0;
    struct M {
        Case c;
        std::string want;  // after "invalid parameters for indicator NAME: ", or "ok"
    };
    const std::vector<M> table{
        {{"Rsi", {1e-20}}, zero},
        {{"Rsi", {16777217}}, max},
        {{"Rsi", {16777216}}, "ok"},
        {{"Rsx", {1e-20}}, zero},
        {{"Rsx", {big}}, max},
        // The close window holds N + 1.
        {{"AdaptiveRsi", {16777215}}, "ok"},
        {{"AdaptiveRsi", {16777216}}, max},
        {{"AdaptiveRsi", {big}}, max},
        {{"ConnorsRsi", {3, 1e-20, 100}}, zero},
        {{"ConnorsRsi", {3, 2, 16777217}}, max},
        {{"ConnorsRsi", {16777217, 1e-20, 2}}, max},
        {{"LaguerreRsi", {1.5}}, gamma},
        {{"LaguerreRsi", {-0.1}}, gamma},
        {{"LaguerreRsi", {0}}, "ok"},
        {{"LaguerreRsi", {1}}, "ok"},
        {{"AnchoredRsi", {}}, "ok"},
        {{"Rmi", {1e-20, 2}}, zero},
        {{"Rmi", {16777216, 16777215}}, "ok"},
        {{"Rmi", {5, 16777216}}, max},
        {{"Rmi", {5, big}}, max},
        {{"StochRsi", {14, 1e-20}}, zero},
        {{"StochRsi", {14, 16777217}}, max},
        {{"FisherRsi", {16777217}}, max},
        {{"VolumeRsi", {1e-20}}, zero},
        {{"Cmo", {1e-20}}, zero},
        {{"Cmo", {16777217}}, max},
        {{"Vidya", {1e-20, 5}}, zero},
        {{"Vidya", {5, 1e-20}}, zero},
        {{"Vidya", {5, 16777217}}, max},
        {{"Stochastic", {14, 1e-20}}, zero},
        {{"Stochastic", {16777217, 3}}, max},
        {{"WilliamsR", {1e-20}}, zero},
        {{"Smi", {13, 25, 1e-20}}, zero},
        {{"Smi", {13, 16777217, 2}}, max},
        {{"KasePermissionStochastic", {9, 1e-20}}, zero},
        {{"KasePermissionStochastic", {16777217, 3}}, max},
        {{"StochasticCci", {1e-20}}, zero},
        {{"StochasticCci", {16777217}}, max},
        {{"Cci", {1e-20}}, zero},
        {{"Cci", {16777216}}, "ok"},
        {{"AdaptiveCci", {1}}, "invalid period: adaptive CCI needs period >= 2"},
        {{"AdaptiveCci", {2}}, "ok"},
        {{"AdaptiveCci", {1e-20}}, zero},
        {{"AdaptiveCci", {16777217}}, max},
        {{"UltimateOscillator", {28, 14, 7}}, "ok"},
        {{"UltimateOscillator", {7, 1e-20, 28}}, zero},
        {{"UltimateOscillator", {7, 14, 16777217}}, max},
        {{"Rvi", {1e-20}}, zero},
        {{"RviVolatility", {1}}, "invalid period: RVI period must be >= 2"},
        {{"RviVolatility", {1e-20}}, zero},
        {{"RviVolatility", {16777217}}, max},
        // Zero periods first, then the factor, then the bounds (2N − 1 < 2^24).
        {{"Qqe", {1e-20, 5, -1}}, zero},
        {{"Qqe", {14, 1e-20, 0}}, zero},
        {{"Qqe", {14, 5, 0}}, qqe},
        {{"Qqe", {14, 5, -4.2}}, qqe},
        {{"Qqe", {8388609, 5, -1}}, qqe},
        {{"Qqe", {14, 16777217, 0}}, qqe},
        {{"Qqe", {8388609, 5, 4.236}}, max},
        {{"Qqe", {big, 5, 4.236}}, max},
        {{"Qqe", {8388608, 16777216, 4.236}}, "ok"},
        {{"Qqe", {14, 16777217, 4.236}}, max},
        {{"Tii", {30, 1e-20}}, zero},
        {{"Tii", {16777217, 10}}, max},
        {{"DynamicMomentumIndex", {1e-20}}, zero},
        {{"DynamicMomentumIndex", {16777217}}, max},
        {{"Mfi", {1e-20}}, zero},
        {{"Mfi", {16777217}}, max},
    };
    for (const auto& m : table) expect_creation(m.c, m.want);
}

TEST(MomentumInputs, UnusableInputsAreSkippedWithoutStateChange) {
    const auto clean = random_candles(150);
    for (const auto& m : members) {
        auto probe = make(m.c.name, m.c.params);
        ASSERT_TRUE(probe) << label(m.c);
        // Close members read only the close; candle members also drop candles that break
        // the price order.
        const bool whole = probe->input_kind() == InputKind::Candle;
        std::vector<Candle> dirty;
        std::vector<double> want;
        const auto expected = run(m.c, clean);
        for (std::size_t i = 0; i < clean.size(); ++i) {
            if (i % 7 == 3) dirty.push_back(candle(NaN, NaN, NaN, NaN));
            if (i % 11 == 5) dirty.push_back(candle(Inf, Inf, Inf, Inf));
            if (i % 13 == 0) dirty.push_back(candle(-Inf, -Inf, -Inf, -Inf));
            if (whole && i % 9 == 4) dirty.push_back(candle(10, 9, 11, 10));  // high below low
            if (whole && i % 10 == 6) dirty.push_back(candle(10, 11, 9, 10, -1));  // negative volume
            want.resize(dirty.size(), NaN);
            dirty.push_back(clean[i]);
            want.push_back(expected[i]);
        }
        const auto got = run(m.c, dirty);
        ASSERT_EQ(got.size(), want.size()) << label(m.c);
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << label(m.c) << " step " << i + 1;
            else EXPECT_EQ(got[i], want[i]) << label(m.c) << " step " << i + 1;
        }
    }
}

// Flat stretches give the documented fallbacks exactly, not rounding residue of the sums.
TEST(MomentumInputs, FlatWindowsGiveTheDocumentedFallbacks) {
    struct F {
        Case c;
        double want;  // NaN: no value
        std::size_t settle;  // flat steps before the fallback holds
    };
    const std::vector<F> table{
        {{"Cmo", {10}}, 0, 11},
        {{"Cci", {10}}, 0, 10},
        {{"StochasticCci", {10}}, 50, 19},
        {{"WilliamsR", {10}}, -50, 10},
        {{"Stochastic", {10, 3}}, 50, 12},
        {{"KasePermissionStochastic", {10, 1}}, 50, 10},
        {{"Mfi", {10}}, 50, 11},
        {{"Tii", {10, 7}}, 50, 16},
        {{"UltimateOscillator", {3, 7, 5}}, 50, 8},
        {{"DynamicMomentumIndex", {14}}, 50, 31},
    };
    for (double v : {0.1, 3.3, 104.37, 1e9 + 0.3, -2.7}) {
        // A lively stretch first, so the running sums carry residue into the flat one.
        constexpr std::size_t lively = 97;
        std::vector<Candle> candles = random_candles(lively, 3, v);
        candles.resize(lively + 60, point(v));
        for (const auto& f : table) {
            const auto got = run(f.c, candles);
            for (std::size_t i = lively + f.settle - 1; i < got.size(); ++i)
                ASSERT_EQ(got[i], f.want) << label(f.c) << " at " << v << " step " << i + 1;
        }
        // Rvi keeps its last value once flat candles fill its sums.
        const auto rvi = run({"Rvi", {4}}, candles);
        ASSERT_FALSE(std::isnan(rvi[lively + 5])) << v;
        for (std::size_t i = lively + 6; i < rvi.size(); ++i) ASSERT_EQ(rvi[i], rvi[lively + 5]) << v;
    }
    // Series flat from the start.
    struct S {
        Case c;
        double want;
    };
    const std::vector<S> flat_table{
        {{"Rsi", {5}}, 50},          {{"Rsx", {5}}, 50},
        {{"AdaptiveRsi", {5}}, 50},  {{"LaguerreRsi", {0.3}}, 50},
        {{"LaguerreRsi", {0.7}}, 50}, {{"AnchoredRsi", {}}, 50},
        {{"Rmi", {5, 3}}, 50},       {{"StochRsi", {5, 3}}, 50},
        {{"FisherRsi", {5}}, 0},     {{"VolumeRsi", {5}}, 50},
        {{"Cmo", {5}}, 0},           {{"ConnorsRsi", {3, 2, 5}}, (50.0 + 50.0 + 0.0) / 3},
        {{"Stochastic", {5, 3}}, 50}, {{"WilliamsR", {5}}, -50},
        {{"KasePermissionStochastic", {5, 3}}, 50}, {{"StochasticCci", {5}}, 50},
        {{"Cci", {5}}, 0},           {{"AdaptiveCci", {5}}, 0},
        {{"UltimateOscillator", {3, 5, 7}}, 50}, {{"Tii", {5, 3}}, 50},
        {{"DynamicMomentumIndex", {14}}, 50}, {{"Mfi", {5}}, 50},
        {{"Qqe", {3, 2, 4.236}}, 50},
    };
    for (double v : {0.1, 3.3, 104.37, 1e9 + 0.3, -2.7}) {
        const std::vector<Candle> flat(80, point(v));
        for (const auto& s : flat_table) {
            const auto got = run(s.c, flat);
            EXPECT_EQ(got.back(), s.want) << label(s.c) << " at " << v;
        }
        // An average that follows its input stays on a constant.
        EXPECT_EQ(run({"Vidya", {3, 4}}, flat).back(), v);
        // Smi, Rvi and RviVolatility have nothing to divide and so no value at all.
        for (const Case& c : {Case{"Smi", {5, 3, 3}}, Case{"Rvi", {4}}, Case{"RviVolatility", {4}}})
            EXPECT_EQ(first_value_at(run(c, flat)), 0u) << label(c) << " at " << v;
    }
}

TEST(MomentumInputs, LaguerreStagesStayOnAConstant) {
    // Gammas and levels where the literal stage arithmetic moves a stage by an ulp, which
    // would read as a full-scale trend.
    const std::vector<std::pair<double, double>> drifting{{0.762280082457942, -995.7878932977786},
                                                          {0.2450980038952486, -959.2519431074953}};
    for (const auto& [g, v] : drifting) {
        const auto got = run({"LaguerreRsi", {g}}, points(std::vector<double>(40, v)));
        for (double x : got) ASSERT_EQ(x, 50.0) << g << " " << v;
    }
}

TEST(MomentumBlocks, SlidingExtremesMatchAWindowScan) {
    std::mt19937 rng(9);
    std::uniform_int_distribution<int> level(0, 6);  // many ties
    for (std::uint64_t n : {1u, 2u, 3u, 7u, 40u}) {
        SlidingExtremes ex(n);
        std::vector<double> seen;
        for (int i = 0; i < 300; ++i) {
            const double low = level(rng);
            const double high = low + level(rng);
            ex.push(high, low);
            seen.push_back(high);
            seen.push_back(low);
            const std::size_t held = std::min<std::size_t>(n, seen.size() / 2);
            EXPECT_EQ(ex.full(), seen.size() / 2 >= n);
            double hh = -Inf, ll = Inf;
            for (std::size_t j = seen.size() / 2 - held; j < seen.size() / 2; ++j) {
                hh = std::max(hh, seen[2 * j]);
                ll = std::min(ll, seen[2 * j + 1]);
            }
            ASSERT_EQ(ex.highest(), hh) << n << " step " << i;
            ASSERT_EQ(ex.lowest(), ll) << n << " step " << i;
        }
    }
}

TEST(MomentumBlocks, WilderRsiSkipsNonFiniteValues) {
    WilderRsi rsi(2);
    EXPECT_FALSE(rsi.push(1));
    EXPECT_FALSE(rsi.push(NaN));
    EXPECT_FALSE(rsi.push(2));
    EXPECT_FALSE(rsi.push(Inf));
    EXPECT_EQ(rsi.push(1), 50.0);
    EXPECT_EQ(rsi.warmup_period(), 3u);
    // A steady climb keeps its average gain exact (49·(1/49) would round below 1).
    WilderRsi trend(49);
    for (int i = 0; i < 200; ++i) trend.push(i);
    EXPECT_EQ(trend.avg_gain(), 1.0);
    EXPECT_EQ(trend.avg_loss(), 0.0);
}
