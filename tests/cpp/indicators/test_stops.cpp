#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "feed.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

struct Member {
    const char* name;
    std::vector<double> params;
};

std::string label(const Member& m) { return m.name + ::testing::PrintToString(m.params); }

// A candle spanning [low, high] that opens and closes at `close`.
Candle hlc(double high, double low, double close) { return candle(close, high, low, close); }

// Close members read only the close.
std::vector<Candle> closes(const std::vector<double>& xs) {
    std::vector<Candle> out;
    for (double x : xs) out.push_back(hlc(x, x, x));
    return out;
}

std::vector<Candle> random_walk(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    std::uniform_real_distribution<double> wick(0.0, 0.8);
    std::vector<Candle> out;
    double x = 100.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double open = x;
        x += step(rng);
        out.push_back(candle(open, std::max(open, x) + wick(rng), std::min(open, x) - wick(rng), x));
    }
    return out;
}

// Per step: the primary value then the named outputs; empty without a value.
using Rows = std::vector<std::vector<double>>;

Rows rows_of(Indicator& ind, const std::vector<Candle>& candles) {
    Rows rows;
    for (const Candle& c : candles) {
        StepView s;
        s.candle = c;
        std::vector<double> row;
        if (auto v = ind.update(s)) {
            row.push_back(*v);
            for (const auto& output : ind.extra_outputs()) row.push_back(output.second);
        }
        rows.push_back(row);
    }
    return rows;
}

void expect_rows(const Rows& got, const Rows& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i) {
        ASSERT_EQ(got[i].size(), want[i].size()) << what << " step " << i + 1;
        for (std::size_t j = 0; j < want[i].size(); ++j)
            EXPECT_NEAR(got[i][j], want[i][j], 1e-9) << what << " step " << i + 1 << " column " << j;
    }
}

struct Example {
    Member m;
    std::vector<Candle> input;
    Rows want;
};

void check(const std::vector<Example>& examples) {
    for (const Example& e : examples) {
        auto ind = make(e.m.name, e.m.params);
        ASSERT_TRUE(ind) << label(e.m);
        expect_rows(rows_of(*ind, e.input), e.want, label(e.m));
    }
}

const std::vector<Candle> three{hlc(11, 9, 10), hlc(12, 10, 11), hlc(13, 10, 12)};

// Every member with parameters that make short warm-ups, its reported warm-up and its outputs.
struct Shape {
    Member m;
    std::size_t warmup;
    std::vector<std::string> outputs;
};

const std::vector<std::string> value_direction{"value", "direction"};

const std::vector<Shape> shapes{
    {{"AtrRatchet", {3, 2, 0.5}}, 3, value_direction},
    {{"AtrTrailingStop", {3, 2}}, 3, {}},
    {{"ChandeKrollStop", {3, 1, 4}}, 6, {"stop_long", "stop_short"}},
    {{"ChandelierExit", {3, 2}}, 3, {"long_stop", "short_stop"}},
    {{"DonchianStop", {3}}, 3, {"stop_long", "stop_short"}},
    {{"ElderSafeZone", {3, 2}}, 4, value_direction},
    {{"HiLoActivator", {3}}, 4, {}},
    {{"KaseDevStop", {3, 1}}, 4, value_direction},
    {{"ModifiedMaStop", {3}}, 3, value_direction},
    {{"Nrtr", {2}}, 1, value_direction},
    {{"PercentageTrailingStop", {2}}, 1, {}},
    {{"Psar", {0.02, 0.02, 0.2}}, 2, {}},
    {{"RenkoTrailingStop", {1}}, 1, {}},
    {{"SarExt", {0, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2}}, 2, {}},
    {{"StepTrailingStop", {1}}, 1, {}},
    {{"SuperTrend", {3, 2}}, 3, value_direction},
    {{"TimeBasedStop", {5}}, 1, {}},
    {{"VoltyStop", {3, 2}}, 3, {}},
    {{"YoyoExit", {3, 2}}, 3, {}},
};

}  // namespace

TEST(StopsShape, WarmupsAndNamedOutputs) {
    const auto candles = random_walk(300, 5);
    for (const Shape& s : shapes) {
        auto ind = make(s.m.name, s.m.params);
        ASSERT_TRUE(ind) << label(s.m);
        EXPECT_EQ(ind->warmup_period(), s.warmup) << label(s.m);
        const Rows rows = rows_of(*ind, candles);
        std::vector<double> primary;
        for (const auto& r : rows) primary.push_back(r.empty() ? NaN : r[0]);
        EXPECT_EQ(first_value_at(primary), s.warmup) << label(s.m);
        for (std::size_t i = s.warmup - 1; i < rows.size(); ++i) {
            ASSERT_FALSE(rows[i].empty()) << label(s.m) << " step " << i + 1;
            for (double v : rows[i]) EXPECT_TRUE(std::isfinite(v)) << label(s.m) << " step " << i + 1;
        }
        std::vector<std::string> names;
        for (const auto& output : ind->extra_outputs()) names.push_back(output.first);
        EXPECT_EQ(names, s.outputs) << label(s.m);
        // The primary value is the first named output.
        if (!s.outputs.empty()) {
            EXPECT_EQ(rows.back()[0], rows.back()[1]) << label(s.m);
        }
    }
}

// Unusable inputs leave no trace: a non-finite close for every member, an inconsistent
// candle for the candle members.
TEST(StopsShape, SkipsUnusableInputsWithoutStateChange) {
    const auto clean = random_walk(120, 9);
    for (const Shape& s : shapes) {
        auto reference = make(s.m.name, s.m.params);
        auto probe = make(s.m.name, s.m.params);
        ASSERT_TRUE(reference && probe) << label(s.m);
        const Rows want = rows_of(*reference, clean);
        const bool candles = probe->input_kind() == InputKind::Candle;
        for (std::size_t i = 0; i < clean.size(); ++i) {
            if (i % 7 == 0) {
                EXPECT_TRUE(rows_of(*probe, {candle(100, 101, 99, NaN)})[0].empty()) << label(s.m);
                if (candles) {
                    EXPECT_TRUE(rows_of(*probe, {candle(100, 99, 101, 100)})[0].empty()) << label(s.m);
                }
            }
            expect_rows(rows_of(*probe, {clean[i]}), {want[i]}, label(s.m));
        }
    }
}

TEST(StopsConstruction, Messages) {
    const std::string zero_multiplier = "multiplier must be greater than zero";
    const std::string zero_period = "period must be greater than zero";
    const std::string too_long = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string nrtr = "invalid parameter: NRTR percentage must be in (0, 100)";
    const std::string kase = "invalid period: Kase DevStop period must be >= 2";
    const std::string af = "invalid period: af_start must be <= af_max";
    const std::string init = "invalid period: acceleration init must be <= max";
    struct Case {
        Member m;
        std::string want;  // after "invalid parameters for indicator {name}: "; "ok" when accepted
    };
    const std::vector<Case> cases{
        {{"Psar", {0.02, 0.02, 0.01}}, af},
        {{"Psar", {0, 0.02, 0.2}}, zero_multiplier},
        {{"Psar", {0.02, -0.02, 0.2}}, zero_multiplier},
        {{"Psar", {0.02, 0.02, 0}}, zero_multiplier},  // before the order of start and max
        {{"Psar", {NaN, 0.02, 0.2}}, "parameter #0 must be finite"},
        {{"Psar", {0.02, 0.02, 0.02}}, "ok"},
        {{"SarExt", {0, -0.1, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2}}, zero_multiplier},
        {{"SarExt", {0, 0, 0.02, 0, 0.2, 0.02, 0.02, 0.2}}, zero_multiplier},
        {{"SarExt", {0, 0, 0.02, 0.02, 0.2, 0.02, 0.02, -1}}, zero_multiplier},
        {{"SarExt", {0, 0, 0.3, 0.02, 0.2, 0.02, 0, 0.2}}, zero_multiplier},  // before the order of init and max
        {{"SarExt", {0, 0, 0.3, 0.02, 0.2, 0.02, 0.02, 0.2}}, init},
        {{"SarExt", {0, 0, 0.02, 0.02, 0.2, 0.5, 0.02, 0.2}}, init},
        {{"SarExt", {-5, 0.01, 0, 0.02, 0.2, 0, 0.02, 0.2}}, "ok"},
        {{"SuperTrend", {3, 0}}, zero_multiplier},
        {{"SuperTrend", {3, -1}}, zero_multiplier},
        {{"SuperTrend", {1e-17, 2}}, zero_period},
        {{"SuperTrend", {16777217, 2}}, too_long},
        {{"SuperTrend", {16777216, 2}}, "ok"},
        {{"KaseDevStop", {1, 1}}, kase},
        {{"KaseDevStop", {1, 0}}, kase},
        {{"KaseDevStop", {2, 0}}, zero_multiplier},
        {{"KaseDevStop", {1e-17, 1}}, zero_period},
        {{"KaseDevStop", {2, 1}}, "ok"},
        {{"Nrtr", {0}}, nrtr},
        {{"Nrtr", {100}}, nrtr},
        {{"Nrtr", {-5}}, nrtr},
        {{"Nrtr", {99.9}}, "ok"},
        {{"PercentageTrailingStop", {0}}, zero_multiplier},
        {{"PercentageTrailingStop", {-1}}, zero_multiplier},
        {{"RenkoTrailingStop", {0}}, zero_multiplier},
        {{"RenkoTrailingStop", {-2}}, zero_multiplier},
        {{"StepTrailingStop", {-0.5}}, zero_multiplier},
        {{"StepTrailingStop", {Inf}}, "parameter #0 must be finite"},
        {{"StepTrailingStop", {0.5}}, "ok"},
        {{"ChandeKrollStop", {3, 1, 16777217}}, too_long},
        {{"ChandeKrollStop", {3, 0, 16777217}}, zero_multiplier},
        {{"ChandeKrollStop", {16777217, 0, 3}}, too_long},
        {{"ChandeKrollStop", {3, 1, 1e-17}}, zero_period},
        {{"ChandeKrollStop", {16777216, 1, 16777216}}, "ok"},
        {{"ChandelierExit", {3, -2}}, zero_multiplier},
        {{"AtrRatchet", {3, 2, 0}}, zero_multiplier},
        {{"AtrRatchet", {3, 0, 1}}, zero_multiplier},
        {{"AtrRatchet", {16777217, 0, 1}}, too_long},
        {{"AtrTrailingStop", {3, 0}}, zero_multiplier},
        {{"VoltyStop", {3, 0}}, zero_multiplier},
        {{"YoyoExit", {3, -0.5}}, zero_multiplier},
        {{"ElderSafeZone", {3, 0}}, zero_multiplier},
        {{"ElderSafeZone", {16777217, 2}}, too_long},
        {{"HiLoActivator", {16777217}}, too_long},
        {{"ModifiedMaStop", {16777217}}, too_long},
        {{"DonchianStop", {1e-17}}, zero_period},
        {{"TimeBasedStop", {1e-17}}, zero_period},
        {{"TimeBasedStop", {16777217}}, too_long},
    };
    for (const Case& c : cases) {
        const std::string want =
            c.want == "ok" ? c.want : "invalid parameters for indicator " + std::string(c.m.name) + ": " + c.want;
        EXPECT_EQ(create_error(c.m.name, c.m.params), want) << label(c.m);
    }
}

TEST(StopsParabolic, PsarOpensOnTheSecondCandleAndReverses) {
    // c3 is clamped to the first candle's low; the reversal at c5 restarts at the old EP 14;
    // at c10 the reset AF 0.04 (not 0.08) moves the SAR.
    const std::vector<Candle> trend{hlc(11, 9, 10), hlc(12, 10, 11), hlc(13, 11, 12), hlc(14, 12, 13),
                                    hlc(10, 8, 9), hlc(9, 7, 8), hlc(8.5, 6.5, 7), hlc(15, 9, 14),
                                    hlc(16, 14, 15), hlc(17, 15, 16)};
    check({
        {{"Psar", {0.02, 0.02, 0.2}},
         trend,
         {{}, {9.06}, {9}, {9.16}, {14}, {14}, {13.72}, {6.5}, {6.5}, {6.5 + 0.04 * 9.5}}},
        // A larger down move opens short at the first high.
        {{"Psar", {0.02, 0.02, 0.2}}, {hlc(11, 9, 10), hlc(10.5, 8, 9)}, {{}, {10.94}}},
        // The second candle's own low clamps the opening SAR, and reaching it reverses at once.
        {{"Psar", {0.02, 0.02, 0.2}}, {hlc(11, 9, 10), hlc(11.5, 8.9, 10)}, {{}, {11.5}}},
        // From the third candle on the clamp reaches back two candles: the first high 13.
        {{"Psar", {0.02, 0.02, 0.2}}, {hlc(13, 9, 10), hlc(12, 8, 9), hlc(11, 8.5, 9)}, {{}, {12.9}, {13}}},
        // AF stops growing at its maximum: 0.02, 0.04 and then 0.04 again.
        {{"Psar", {0.02, 0.02, 0.04}},
         {hlc(11, 9, 10), hlc(12, 10, 11), hlc(13, 11, 12), hlc(14, 12, 13), hlc(15, 13, 14)},
         {{}, {9.06}, {9}, {9.16}, {9.16 + 0.04 * (14 - 9.16)}}},
    });
}

TEST(StopsParabolic, SarExtSignsItsSarAndReverses) {
    const std::vector<Candle> trend{hlc(11, 9, 10), hlc(12, 10, 11), hlc(13, 11, 12), hlc(14, 12, 13),
                                    hlc(10, 8, 9), hlc(9, 7, 8), hlc(8.5, 6.5, 7), hlc(15, 9, 14)};
    const std::vector<double> plain{0, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2};
    const double s4 = 9.06 + 0.04 * (13 - 9.06);
    check({
        // The second candle only opens; SAR' starts at the third.
        {{"SarExt", plain}, trend, {{}, {9}, {9.06}, {s4}, {-14}, {-14}, {-13.72}, {6.5}}},
        // A forced short start at 20; separate accelerations and a 10% reversal offset.
        {{"SarExt", {-20, 0.1, 0.01, 0.01, 0.1, 0.03, 0.03, 0.3}},
         {hlc(11, 9, 10), hlc(12, 10, 11), hlc(11, 9.5, 10), hlc(21, 15, 20), hlc(22, 20, 21), hlc(13, 8, 9)},
         {{}, {-20}, {-19.7}, {8.55}, {8.6745}, {-24.2}}},
        // A forced long start the second candle already reaches reverses at once.
        {{"SarExt", {10.5, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2}}, {hlc(11, 9, 10), hlc(12, 10, 11)}, {{}, {-12}}},
        // The third candle clamps with the second candle twice, not with the first high 13.
        {{"SarExt", plain}, {hlc(13, 9, 10), hlc(12, 8, 9), hlc(11, 8.5, 9)}, {{}, {-13}, {-12.9}}},
    });
}

TEST(StopsAtr, VolatilityStops) {
    // With N = 1 the ATR is the candle's true range.
    const std::vector<Candle> trailing{hlc(11, 9, 10), hlc(12, 10, 11), hlc(11.5, 10.5, 11), hlc(10, 8, 9),
                                       hlc(10, 8.5, 9), hlc(11, 10, 10.8), hlc(12, 11, 11.5)};
    const std::vector<Candle> volty{hlc(11, 9, 10), hlc(12, 10, 11.5), hlc(12, 11, 11), hlc(11, 9, 10),
                                    hlc(9.5, 8.5, 9), hlc(9, 8, 8.5), hlc(11, 10, 10.8), hlc(12, 11, 11.5)};
    check({
        // Rising while above, a fresh stop above on the cross, lowered while both closes are
        // below, a fresh stop below on the upward cross.
        {{"AtrTrailingStop", {1, 1}}, trailing, {{8}, {9}, {10}, {12}, {10.5}, {8.8}, {10.3}}},
        // The stop widens with the ATR (9.5 after 10.5) and re-anchors at each reversal.
        {{"VoltyStop", {1, 1}}, volty, {{8}, {9.5}, {10.5}, {9.5}, {10.5}, {9.5}, {11}, {10.3}}},
        {{"AtrRatchet", {1, 2, 0.5}},
         {hlc(11, 9, 10), hlc(12, 10, 11), hlc(12, 10, 11), hlc(8.5, 7.5, 8), hlc(9, 8, 8.5), hlc(16, 14, 15)},
         {{6, 6, 1}, {7, 7, 1}, {8, 8, 1}, {15, 15, -1}, {14.5, 14.5, -1}, {0, 0, 1}}},
        // Broken at 9.2, the exit rests at 9.5 until the close clears it by the ATR.
        {{"YoyoExit", {1, 1}},
         {hlc(11, 9, 10), hlc(12, 10, 11.5), hlc(11, 10, 10.5), hlc(10, 9, 9.2), hlc(10, 9, 9.8),
          hlc(11.5, 10.5, 11), hlc(12.5, 11.5, 12)},
         {{8}, {9.5}, {9.5}, {9.5}, {9.5}, {9.5}, {10.5}}},
        // ATR(2) 2 then 2.5.
        {{"ChandelierExit", {2, 1}}, three, {{}, {10, 10, 11}, {10.5, 10.5, 12.5}}},
        {{"ChandeKrollStop", {2, 1, 2}},
         {hlc(11, 9, 10), hlc(12, 10, 11), hlc(13, 10, 12), hlc(12, 11, 11.5)},
         {{}, {}, {11, 11, 10.5}, {11.75, 11.75, 11.25}}},
    });
}

TEST(StopsAtr, SuperTrendStartsUpAndFollowsItsBands) {
    check({{{"SuperTrend", {1, 1}},
            {hlc(11, 9, 10), hlc(12, 10, 11), hlc(10, 6, 7), hlc(8, 6, 7), hlc(12, 10, 11.5)},
            {{8, 8, 1}, {9, 9, 1}, {12, 12, -1}, {9, 9, -1}, {6, 6, 1}}}});
}

TEST(StopsChannel, RangeStops) {
    const double sq = std::sqrt(0.5);
    check({
        {{"DonchianStop", {2}}, three, {{}, {9, 9, 12}, {10, 10, 13}}},
        // Penetrations from the second candle; the upside average falls back to 0 at step 6.
        {{"ElderSafeZone", {2, 2}},
         {hlc(11, 9, 10), hlc(12, 10, 11), hlc(12.5, 9.5, 12), hlc(13, 11, 12.5), hlc(12, 9, 9.5), hlc(11, 8, 10),
          hlc(12, 10, 11.5)},
         {{}, {}, {8.5, 8.5, 1}, {10, 10, 1}, {13, 13, -1}, {11, 11, -1}, {8, 8, 1}}},
        // Two-bar ranges 3, 2, 4, 5, 5, 7; a flat window at step 6 gives W = 5 exactly.
        {{"KaseDevStop", {2, 1}},
         {hlc(11, 9, 10), hlc(12, 10, 11), hlc(12, 10, 11), hlc(14, 12, 13.5), hlc(13, 9, 9.5), hlc(10, 8, 9),
          hlc(15, 9, 14)},
         {{},
          {},
          {9.5 - sq, 9.5 - sq, 1},
          {11 - std::sqrt(2.0), 11 - std::sqrt(2.0), 1},
          {13.5 + sq, 13.5 + sq, -1},
          {13, 13, -1},
          {9 - std::sqrt(2.0), 9 - std::sqrt(2.0), 1}}},
    });
}

TEST(StopsAverage, HiLoActivatorAndModifiedMaStop) {
    const std::vector<Candle> hilo{hlc(11, 9, 10), hlc(12, 10, 11), hlc(13, 11, 12), hlc(13, 11, 12),
                                   hlc(11, 9, 10), hlc(11, 10, 10.5), hlc(12, 11, 11.5)};
    check({
        {{"HiLoActivator", {2}}, hilo, {{}, {}, {9.5}, {10.5}, {13}, {12}, {9.5}}},
        // Between the previous averages the state is kept, and it starts short.
        {{"HiLoActivator", {2}}, {hlc(11, 9, 10), hlc(12, 10, 11), hlc(11.5, 10, 11)}, {{}, {}, {11.5}}},
        // Three highs of 0.7 sum to 2.0999999999999996: the average is still exactly 0.7, so a
        // close of 0.7 is no breakout.
        {{"HiLoActivator", {3}}, std::vector<Candle>(5, hlc(0.7, 0.5, 0.7)), {{}, {}, {}, {0.7}, {0.7}}},
        {{"ModifiedMaStop", {2}},
         closes({10, 12, 14, 10, 9, 12}),
         {{}, {11, 11, 1}, {12.5, 12.5, 1}, {11.25, 11.25, -1}, {10.125, 10.125, -1}, {11.0625, 11.0625, 1}}},
        {{"ModifiedMaStop", {2}}, closes({12, 10}), {{}, {11, 11, -1}}},
    });
}

TEST(StopsClose, PercentageStepAndRenkoStops) {
    check({
        {{"Nrtr", {10}},
         closes({100, 110, 105, 98, 95, 106}),
         {{90, 90, 1}, {99, 99, 1}, {99, 99, 1}, {107.8, 107.8, -1}, {104.5, 104.5, -1}, {95.4, 95.4, 1}}},
        {{"PercentageTrailingStop", {10}}, closes({100, 110, 105, 98, 95, 106}),
         {{90}, {99}, {99}, {107.8}, {104.5}, {95.4}}},
        // The band is a percentage of |x|.
        {{"PercentageTrailingStop", {10}}, closes({-100, -95}), {{-110}, {-104.5}}},
        {{"StepTrailingStop", {5}}, closes({103, 112, 108, 104, 101, 96, 106}),
         {{95}, {105}, {105}, {110}, {110}, {105}, {100}}},
        // Starts short; whole bricks only; a close beyond a brick against the trend reverses.
        {{"RenkoTrailingStop", {2}}, closes({100, 99, 95, 99, 104.5, 100.5}),
         {{102}, {102}, {98}, {97}, {101}, {102.5}}},
        {{"TimeBasedStop", {4}}, three, {{0.25}, {0.5}, {0.75}}},
        {{"TimeBasedStop", {2}}, three, {{0.5}, {1}, {1}}},
    });
}
