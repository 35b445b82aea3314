#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "feed.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/moving_averages/weighted_window.hpp"
#include "indicators/moving_averages/wilder_smoother.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

std::vector<double> random_walk(std::size_t n, unsigned seed = 7) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    std::vector<double> out;
    double x = 100.0;
    for (std::size_t i = 0; i < n; ++i) out.push_back(x += step(rng));
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

const std::vector<Case> close_members{
    {"Ema", {5}},         {"Wma", {5}},          {"Dema", {4}},          {"Tema", {3}},
    {"GeneralizedDema", {4, 0.7}}, {"T3", {3, 0.7}}, {"Trima", {6}},     {"Hma", {9}},
    {"Ehma", {9}},        {"Zlema", {6}},        {"Kama", {10, 2, 30}}, {"Alma", {9, 0.85, 6}},
    {"SineWeightedMa", {7}}, {"Smma", {5}},
};

}  // namespace

TEST(MovingAveragesExamples, KnownValues) {
    const double sine_w = std::sin(std::numbers::pi / 4);
    const double a = std::exp(-0.5);  // Alma(3, 0.5, 3): c = 2, weights e^-1/2, 1, e^-1/2
    struct Example {
        Case c;
        std::vector<double> closes;
        std::vector<double> want;
    };
    const std::vector<Example> examples{
        {{"Ema", {3}}, {1, 2, 3, 4}, {NaN, NaN, 2, 3}},
        {{"Wma", {3}}, {1, 2, 3}, {NaN, NaN, 14.0 / 6.0}},
        {{"Wma", {3}}, {1, 2, 3, 10}, {NaN, NaN, 14.0 / 6.0, (2 + 6 + 30) / 6.0}},
        {{"Smma", {3}}, {1, 2, 3, 6}, {NaN, NaN, 2, 10.0 / 3.0}},
        // First average of length 2, second of length 3.
        {{"Trima", {4}}, {1, 2, 3, 4, 5}, {NaN, NaN, NaN, 2.5, 3.5}},
        // e1: 1.5 then 2.5; e2 seeds at 2.0.
        {{"Dema", {2}}, {1, 2, 3}, {NaN, NaN, 3}},
        // L = 1: de-lagged 3, 4, 5, 6; the EMA(3) seeds at 4.
        {{"Zlema", {3}}, {1, 2, 3, 4, 5}, {NaN, NaN, NaN, 4, 5}},
        // h = 2, s = 2: raw values 40/3 − 4.9 and 80/3 − 9.8.
        {{"Hma", {4}}, {1, 2, 4, 8, 16}, {NaN, NaN, NaN, NaN, ((40.0 / 3 - 4.9) + 2 * (80.0 / 3 - 9.8)) / 3}},
        {{"Hma", {1}}, {5, -2, 7.5}, {5, -2, 7.5}},
        // ER = 1, sc = (2/3)², prev = the oldest close.
        {{"Kama", {2, 2, 30}}, {1, 2, 3}, {NaN, NaN, 1 + 8.0 / 9.0}},
        {{"Alma", {3, 0.5, 3}}, {1, 2, 6}, {NaN, NaN, (a * 1 + 2 + a * 6) / (1 + 2 * a)}},
        {{"SineWeightedMa", {3}}, {1, 2, 4}, {NaN, NaN, (sine_w * 1 + 2 + sine_w * 4) / (1 + 2 * sine_w)}},
        {{"T3", {1, 0.7}}, {3, 1.25}, {3, 1.25}},
        {{"Tema", {1}}, {3, 1.25}, {3, 1.25}},
    };
    for (const auto& e : examples) {
        const auto got = run_closes(e.c.name, e.c.params, e.closes);
        ASSERT_EQ(got.size(), e.want.size()) << label(e.c);
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (std::isnan(e.want[i])) EXPECT_TRUE(std::isnan(got[i])) << label(e.c) << " step " << i + 1;
            else EXPECT_NEAR(got[i], e.want[i], 1e-12) << label(e.c) << " step " << i + 1;
        }
    }
}

// A weight-curve narrower than one step puts all weight on the nearest index (or two).
TEST(MovingAveragesExamples, AlmaWithVeryLargeSigma) {
    expect_same(run_closes("Alma", {3, 0.5, 1e300}, {1, 2, 6, 7}), {NaN, NaN, 2, 6}, "Alma(3,0.5,1e300)");
    expect_same(run_closes("Alma", {4, 0.5, 1e300}, {1, 2, 4, 8}), {NaN, NaN, NaN, 3}, "Alma(4,0.5,1e300)");
    expect_same(run_closes("Alma", {5, 1, 1e200}, {1, 2, 3, 4, 5}), {NaN, NaN, NaN, NaN, 5}, "Alma(5,1,1e200)");
}

// v = 0 leaves the first average (once the second exists), v = 1 is the double exponential average.
TEST(MovingAveragesExamples, GeneralizedDemaEndpoints) {
    const auto closes = random_walk(200);
    auto ema = run_closes("Ema", {7}, closes);
    std::fill(ema.begin(), ema.begin() + 12, NaN);
    expect_same(run_closes("GeneralizedDema", {7, 0}, closes), ema, "v = 0");
    expect_same(run_closes("GeneralizedDema", {7, 1}, closes), run_closes("Dema", {7}, closes), "v = 1");
}

TEST(MovingAveragesWarmup, FirstValueAtWarmupPeriod) {
    struct W {
        Case c;
        std::size_t warmup;
    };
    const std::vector<W> table{
        {{"Ema", {5}}, 5},          {{"Wma", {5}}, 5},           {{"Dema", {3}}, 5},
        {{"Tema", {3}}, 7},         {{"GeneralizedDema", {3, 0.5}}, 5}, {{"T3", {3, 0.7}}, 13},
        {{"T3", {1, 0.7}}, 1},      {{"Trima", {5}}, 5},         {{"Trima", {4}}, 4},
        {{"Trima", {1}}, 1},        {{"Hma", {4}}, 5},           {{"Hma", {1}}, 1},
        {{"Hma", {7}}, 9},          {{"Hma", {10}}, 12},         {{"Hma", {2}}, 2},
        {{"Ehma", {4}}, 5},         {{"Ehma", {10}}, 12},        {{"Zlema", {1}}, 1},
        {{"Zlema", {3}}, 4},        {{"Zlema", {6}}, 8},         {{"Kama", {10, 2, 30}}, 11},
        {{"Kama", {1, 1, 2}}, 2},   {{"Alma", {9, 0.85, 6}}, 9}, {{"SineWeightedMa", {5}}, 5},
        {{"Smma", {5}}, 5},
    };
    const auto closes = random_walk(40);
    for (const auto& w : table) {
        auto ind = make(w.c.name, w.c.params);
        ASSERT_TRUE(ind) << label(w.c);
        EXPECT_EQ(ind->warmup_period(), w.warmup) << label(w.c);
        const auto values = run_closes(*ind, closes);
        EXPECT_EQ(first_value_at(values), w.warmup) << label(w.c);
        for (std::size_t i = w.warmup; i < values.size(); ++i) EXPECT_FALSE(std::isnan(values[i])) << label(w.c);
    }
}

TEST(MovingAveragesWarmup, AlligatorOutputsOnceAllThreeAreSeeded) {
    std::vector<Candle> candles;
    for (double c : random_walk(20)) candles.push_back(bar(c, 1.0, 0.5 + c * 0.01));
    auto ind = make("Alligator", {13, 8, 5});
    ASSERT_TRUE(ind);
    EXPECT_EQ(ind->warmup_period(), 13u);
    const auto values = run_candles(*ind, candles);
    EXPECT_EQ(first_value_at(values), 13u);

    // Each output is the Wilder average of the median price with its own period.
    std::vector<double> medians;
    for (const auto& c : candles) medians.push_back((c.high + c.low) * 0.5);
    const auto jaw = run_closes("Smma", {13}, medians);
    const auto teeth = run_closes("Smma", {8}, medians);
    const auto lips = run_closes("Smma", {5}, medians);
    auto again = make("Alligator", {13, 8, 5});
    for (std::size_t i = 0; i < candles.size(); ++i) {
        StepView s;
        s.candle = candles[i];
        const auto v = again->update(s);
        if (i + 1 < 13) {
            EXPECT_FALSE(v);
            continue;
        }
        ASSERT_TRUE(v);
        const auto named = again->extra_outputs();
        ASSERT_EQ(named.size(), 3u);
        EXPECT_EQ(named[0].first, "jaw");
        EXPECT_EQ(named[1].first, "teeth");
        EXPECT_EQ(named[2].first, "lips");
        EXPECT_EQ(*v, jaw[i]);
        EXPECT_EQ(named[0].second, jaw[i]);
        EXPECT_EQ(named[1].second, teeth[i]);
        EXPECT_EQ(named[2].second, lips[i]);
    }
}

TEST(MovingAveragesConstruction, Messages) {
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string zero = "period must be greater than zero";
    struct M {
        Case c;
        std::string want;  // after "invalid parameters for indicator NAME: ", or "ok"
    };
    const std::vector<M> table{
        {{"Ema", {1e-20}}, zero},
        {{"Ema", {16777217}}, max},
        {{"Ema", {16777216}}, "ok"},
        {{"Wma", {16777217}}, max},
        {{"Dema", {1e-20}}, zero},
        {{"Tema", {16777217}}, max},
        {{"Trima", {16777216}}, "ok"},
        {{"Hma", {16777216}}, "ok"},
        {{"Ehma", {16777217}}, max},
        {{"Zlema", {16777216}}, "ok"},
        {{"Smma", {16777217}}, max},
        {{"SineWeightedMa", {16777216}}, "ok"},
        {{"SineWeightedMa", {16777217}}, max},
        {{"GeneralizedDema", {3, 1.5}}, "invalid period: GD volume factor must be a finite value in [0.0, 1.0]"},
        {{"GeneralizedDema", {3, -0.1}}, "invalid period: GD volume factor must be a finite value in [0.0, 1.0]"},
        {{"GeneralizedDema", {3, 0}}, "ok"},
        {{"GeneralizedDema", {3, 1}}, "ok"},
        {{"GeneralizedDema", {1e-20, 2}}, zero},
        {{"GeneralizedDema", {16777217, 0.5}}, max},
        {{"T3", {3, 1.01}}, "invalid period: T3 volume factor must be a finite value in [0.0, 1.0]"},
        {{"T3", {3, -1e-9}}, "invalid period: T3 volume factor must be a finite value in [0.0, 1.0]"},
        {{"T3", {16777216, 1}}, "ok"},
        {{"T3", {1e-20, 0.7}}, zero},
        {{"Kama", {10, 30, 2}}, "invalid period: KAMA fast period must be strictly less than slow"},
        {{"Kama", {10, 5, 5}}, "invalid period: KAMA fast period must be strictly less than slow"},
        {{"Kama", {1e-20, 2, 30}}, zero},
        {{"Kama", {10, 1e-20, 30}}, zero},
        {{"Kama", {10, 2, 1e-20}}, zero},
        // The window holds N + 1 closes.
        {{"Kama", {16777215, 2, 30}}, "ok"},
        {{"Kama", {16777216, 2, 30}}, max},
        {{"Kama", {18446744073709551615.0, 2, 30}}, max},
        {{"Kama", {1e300, 2, 30}}, max},
        {{"Kama", {10, 2, 1e300}}, "ok"},
        {{"Alma", {9, 1.5, 6}}, "invalid period: ALMA offset must be a finite value in [0, 1]"},
        {{"Alma", {9, -0.1, 6}}, "invalid period: ALMA offset must be a finite value in [0, 1]"},
        {{"Alma", {9, 0.85, 0}}, "invalid period: ALMA sigma must be a finite positive value"},
        {{"Alma", {9, 0.85, -6}}, "invalid period: ALMA sigma must be a finite positive value"},
        {{"Alma", {9, 2, 0}}, "invalid period: ALMA offset must be a finite value in [0, 1]"},
        {{"Alma", {1e-20, 2, 0}}, zero},
        {{"Alma", {16777216, 0, 1e-300}}, "ok"},
        {{"Alma", {16777217, 0.85, 6}}, max},
        {{"Alligator", {13, 1e-20, 5}}, zero},
        {{"Alligator", {13, 8, 16777217}}, max},
        {{"Alligator", {16777216, 16777216, 16777216}}, "ok"},
    };
    for (const auto& m : table) expect_creation(m.c, m.want);
}

TEST(MovingAveragesInputs, NonFiniteClosesAreSkippedWithoutStateChange) {
    const auto clean = random_walk(60);
    std::vector<double> dirty;
    std::vector<std::size_t> at;  // position of each clean close in the dirty series
    for (std::size_t i = 0; i < clean.size(); ++i) {
        if (i % 7 == 3) dirty.push_back(NaN);
        if (i % 11 == 5) dirty.push_back(Inf);
        if (i % 13 == 0) dirty.push_back(-Inf);
        at.push_back(dirty.size());
        dirty.push_back(clean[i]);
    }
    for (const auto& c : close_members) {
        const auto expected = run_closes(c.name, c.params, clean);
        std::vector<double> want(dirty.size(), NaN);
        for (std::size_t i = 0; i < clean.size(); ++i) want[at[i]] = expected[i];
        expect_same(run_closes(c.name, c.params, dirty), want, label(c));
    }
}

TEST(MovingAveragesInputs, AlligatorSkipsInvalidCandles) {
    std::vector<Candle> clean;
    for (double c : random_walk(30)) clean.push_back(bar(c));
    std::vector<Candle> dirty;
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        if (i % 4 == 1) dirty.push_back(candle(10, 9, 11, 10));  // high below low
        if (i % 9 == 2) dirty.push_back(candle(10, NaN, 9, 10));
        at.push_back(dirty.size());
        dirty.push_back(clean[i]);
    }
    const auto expected = run_candles("Alligator", {5, 3, 2}, clean);
    std::vector<double> want(dirty.size(), NaN);
    for (std::size_t i = 0; i < clean.size(); ++i) want[at[i]] = expected[i];
    expect_same(run_candles("Alligator", {5, 3, 2}, dirty), want, "Alligator");
}

// Recursive averages reproduce a constant exactly; plain seed sums and fused steps drift.
TEST(MovingAveragesInputs, ConstantSeriesGivesExactlyTheConstant) {
    const std::vector<Case> recursive{
        {"Ema", {3}},   {"Ema", {5}},      {"Ema", {20}},  {"Dema", {7}},
        {"Tema", {5}},  {"GeneralizedDema", {3, 0.7}},     {"GeneralizedDema", {5, 0.5}},
        {"T3", {3, 0.7}}, {"T3", {2, 0.1}}, {"T3", {3, 0.9}}, {"Smma", {3}},
        {"Smma", {10}}, {"Kama", {10, 2, 30}}, {"Zlema", {5}}, {"Ehma", {9}},
    };
    for (double value : {0.1, 3.3, 104.37, -2.7}) {
        const std::vector<double> closes(60, value);
        for (const auto& c : recursive) {
            const auto got = run_closes(c.name, c.params, closes);
            for (std::size_t i = first_value_at(got) - 1; i < got.size(); ++i)
                ASSERT_EQ(got[i], value) << label(c) << " step " << i + 1;
        }
        std::vector<Candle> flat(40, Candle{0, value, value, value, value, 1.0});
        const auto got = run_candles("Alligator", {13, 8, 3}, flat);
        for (std::size_t i = 12; i < got.size(); ++i) ASSERT_EQ(got[i], value) << "Alligator step " << i + 1;
    }
}

// A non-finite raw series value (2·E_h overflows) is not taken in, so the output recovers.
TEST(MovingAveragesInputs, NonFiniteIntermediateIsNotFedOn) {
    std::vector<double> closes(4, 1.7e308);
    closes.resize(2000, 1.0);
    const auto got = run_closes("Ehma", {4}, closes);
    EXPECT_TRUE(std::isnan(got[4]));  // 2·E_h overflows
    // s = 2 finite raw values seed E_s; had the infinite one entered, it would never leave.
    for (std::size_t i = 6; i < got.size(); ++i) ASSERT_TRUE(std::isfinite(got[i])) << "step " << i + 1;
    EXPECT_NEAR(got.back(), 1.0, 1e-9);
}

TEST(MovingAveragesBlocks, ExpSmootherWithOwnAlpha) {
    ExpSmoother e(3, 0.25);
    EXPECT_EQ(e.period(), 3u);
    EXPECT_EQ(e.alpha(), 0.25);
    EXPECT_FALSE(e.push(1));
    EXPECT_FALSE(e.push(NaN));
    EXPECT_FALSE(e.push(2));
    EXPECT_FALSE(e.seeded());
    EXPECT_EQ(e.push(3), 2.0);
    EXPECT_TRUE(e.seeded());
    EXPECT_EQ(e.push(4), 2.5);  // 0.25·4 + 0.75·2
    EXPECT_FALSE(e.push(Inf));
    EXPECT_EQ(e.value(), 2.5);
    EXPECT_EQ(ExpSmoother(4).alpha(), 0.4);
}

TEST(MovingAveragesBlocks, SeedOfNegativeZerosStaysNegativeZero) {
    ExpSmoother e(2);
    e.push(-0.0);
    const auto v = e.push(-0.0);
    ASSERT_TRUE(v);
    EXPECT_TRUE(std::signbit(*v));
}

TEST(MovingAveragesBlocks, WilderSmoother) {
    WilderSmoother w(4);
    EXPECT_EQ(w.period(), 4u);
    for (double x : {1.0, 2.0, 3.0}) EXPECT_FALSE(w.push(x));
    EXPECT_FALSE(w.push(NaN));
    EXPECT_EQ(w.push(6), 3.0);
    EXPECT_TRUE(w.seeded());
    EXPECT_EQ(w.push(7), 4.0);  // (7 + 3·3) / 4
    EXPECT_EQ(w.value(), 4.0);
}

// The incremental numerator keeps residue while a large value passes through; the exact
// recomputation after 16·N pushes into the full window removes it.
TEST(MovingAveragesBlocks, WeightedWindowRecomputesEvery16Wraps) {
    constexpr std::size_t n = 3;
    WeightedWindow w(n);
    std::vector<double> held;
    auto exact = [&] {
        double num = 0.0;
        for (std::size_t i = 0; i < n; ++i) num += static_cast<double>(i + 1) * held[held.size() - n + i];
        return num / 6.0;
    };
    std::vector<double> inputs{1e17, 0.1, 0.2};
    for (std::size_t i = 3; i < n + 16 * n; ++i) inputs.push_back(0.1 * static_cast<double>(i % 5 + 1));
    bool drifted = false;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        held.push_back(inputs[i]);
        const auto v = w.push(inputs[i]);
        if (i + 1 < n) continue;
        ASSERT_TRUE(v);
        if (i + 1 == n) EXPECT_EQ(*v, exact());
        else if (i + 1 < n + 16 * n) drifted = drifted || *v != exact();
    }
    EXPECT_TRUE(drifted);  // otherwise this test would prove nothing
    EXPECT_EQ(w.value(), exact());
    EXPECT_FALSE(w.push(NaN));
    EXPECT_EQ(w.value(), exact());
}
