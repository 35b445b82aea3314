#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "feed.hpp"
#include "indicators/bands/swing_tracker.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

// A valid candle spanning [low, high], opening at the low and closing mid-range.
Candle hl(double high, double low) { return candle(low, high, low, (high + low) / 2); }

// Swings at 5 %: highs 130 (bar 2), 112 (7), 120 (11), 119 (15) and lows 100 (4), 95 (9),
// 112 (13), confirmed on bars 3, 6, 8, 10, 12, 14, 16; bars 17 to 22 confirm nothing.
std::vector<Candle> swings() {
    const std::vector<std::pair<double, double>> v{
        {120, 119}, {125, 122}, {130, 127}, {128, 123}, {110, 100}, {104, 101}, {106, 103}, {112, 108},
        {111, 106}, {107, 95},  {101, 98},  {120, 110}, {118, 113}, {115, 112}, {118, 114}, {119, 117},
        {117, 112}, {116, 113}, {116, 113}, {115, 113}, {116, 114}, {117, 113}, {116, 113}};
    std::vector<Candle> out;
    for (auto [h, l] : v) out.push_back(hl(h, l));
    return out;
}

// One pivot on every candle after the first.
std::vector<Candle> alternating(std::size_t n) {
    std::vector<Candle> out{hl(100, 99)};
    for (std::size_t i = 1; i < n; ++i) out.push_back(i % 2 ? hl(99, 90) : hl(100, 91));
    return out;
}

// The named outputs after each step; empty where the step gave no value.
std::vector<NamedOutputs> run_outputs(std::string_view name, std::vector<double> params,
                                      const std::vector<Candle>& candles) {
    std::vector<NamedOutputs> out;
    auto ind = make(name, std::move(params));
    if (!ind) return out;
    for (const Candle& c : candles) {
        StepView s;
        s.candle = c;
        const auto v = ind->update(s);
        out.push_back(v ? ind->extra_outputs() : NamedOutputs{});
        if (v) {
            EXPECT_EQ(*v, out.back().front().second) << name << ": primary is the first output";
        }
    }
    return out;
}

void expect_outputs(const NamedOutputs& got, const std::vector<std::string>& names,
                    const std::vector<double>& values, const std::string& what) {
    ASSERT_EQ(got.size(), names.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].first, names[i]) << what;
        EXPECT_NEAR(got[i].second, values[i], 1e-9) << what << " " << names[i];
    }
}

const std::vector<std::string> retracement_names{"level_0",   "level_236", "level_382", "level_500",
                                                 "level_618", "level_786", "level_1000"};

struct Example {
    const char* name;
    std::vector<double> params;
    std::vector<Candle> candles;
    std::size_t step;  // counted from 0
    std::vector<std::string> names;
    std::vector<double> values;
};

void check(const std::vector<Example>& examples) {
    for (const Example& e : examples) {
        const std::string what = std::string(e.name) + " step " + std::to_string(e.step);
        const auto out = run_outputs(e.name, e.params, e.candles);
        ASSERT_GT(out.size(), e.step) << what;
        expect_outputs(out[e.step], e.names, e.values, what);
    }
}

const std::vector<const char*> swing_tools{"FibRetracement", "AutoFib",  "FibExtension", "GoldenPocket",
                                           "FibProjection",  "FibFan",   "FibArcs",      "FibChannel",
                                           "FibTimeZones",   "FibConfluence"};

}  // namespace

TEST(PivotsPerCandle, LevelsInOrder) {
    const Candle c = candle(10, 12, 8, 10);
    const double m = 4 * 1.1;
    const double cpr = 31.0 / 3;
    check({
        {"ClassicPivots", {}, {c}, 0, {"pp", "r1", "r2", "r3", "s1", "s2", "s3"}, {10, 12, 14, 16, 8, 6, 4}},
        {"Camarilla", {}, {c}, 0, {"pp", "r1", "r2", "r3", "r4", "s1", "s2", "s3", "s4"},
         {10, 10 + m / 12, 10 + m / 6, 10 + m / 4, 10 + m / 2, 10 - m / 12, 10 - m / 6, 10 - m / 4, 10 - m / 2}},
        {"FibonacciPivots", {}, {c}, 0, {"pp", "r1", "r2", "r3", "s1", "s2", "s3"},
         {10, 11.528, 12.472, 14, 8.472, 7.528, 6}},
        // close = open: X = h + l + 2c = 40; below the open X = h + 2l + c; above it 2h + l + c.
        {"DemarkPivots", {}, {c}, 0, {"pp", "r1", "s1"}, {10, 12, 8}},
        {"DemarkPivots", {}, {candle(11, 12, 8, 10)}, 0, {"pp", "r1", "s1"}, {9.5, 11, 7}},
        {"DemarkPivots", {}, {candle(9, 12, 8, 10)}, 0, {"pp", "r1", "s1"}, {10.5, 13, 9}},
        {"WoodiePivots", {}, {candle(10, 12, 8, 11)}, 0, {"pp", "r1", "r2", "s1", "s2"}, {10.5, 13, 14.5, 9, 6.5}},
        // tc is the larger of 2·pivot − midpoint and the midpoint, bc the smaller.
        {"CentralPivotRange", {}, {candle(10, 12, 8, 11)}, 0, {"pivot", "tc", "bc"}, {cpr, 2 * cpr - 10, 10}},
        {"CentralPivotRange", {}, {candle(10, 12, 8, 9)}, 0, {"pivot", "tc", "bc"}, {29.0 / 3, 10, 58.0 / 3 - 10}},
    });
}

TEST(PivotsPerCandle, ExactClassicExample) {
    // pp 10, r1 12, s1 8, r2 14, s2 6 exactly.
    auto ind = make("ClassicPivots", {});
    ASSERT_TRUE(ind);
    StepView s;
    s.candle = candle(10, 12, 8, 10);
    ASSERT_EQ(ind->update(s), 10.0);
    const NamedOutputs out = ind->extra_outputs();
    EXPECT_EQ(out[1].second, 12.0);
    EXPECT_EQ(out[2].second, 14.0);
    EXPECT_EQ(out[4].second, 8.0);
    EXPECT_EQ(out[5].second, 6.0);
}

TEST(PivotsMurrey, EighthsOfTheRange) {
    const std::vector<Candle> c{hl(12, 8), hl(16, 10), hl(14, 9), hl(13, 11)};
    const std::vector<std::string> names{"mm8_8", "mm7_8", "mm6_8", "mm5_8", "mm4_8",
                                         "mm3_8", "mm2_8", "mm1_8", "mm0_8"};
    std::vector<double> second;  // range 9 to 16 once the first candle has left
    for (int k = 8; k >= 0; --k) second.push_back(9 + k * 0.875);
    const Candle flat = candle(5, 5, 5, 5);
    check({
        {"MurreyMathLines", {3}, c, 2, names, {16, 15, 14, 13, 12, 11, 10, 9, 8}},
        {"MurreyMathLines", {3}, c, 3, names, second},
        {"MurreyMathLines", {2}, {flat, flat}, 1, names, std::vector<double>(9, 5.0)},
    });
    EXPECT_EQ(first_value_at(run_candles("MurreyMathLines", {3}, c)), 3u);
}

TEST(PivotsZigZag, ConfirmsOnTheReversalCandle) {
    // Highs rising to 110, then a low of 104.5 = 0.95 · 110.
    const std::vector<Candle> rise{hl(100, 99), hl(105, 104), hl(110, 108), hl(108, 104.5)};
    const auto out = run_outputs("ZigZag", {0.05}, rise);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(out[i].empty()) << i;
    expect_outputs(out[3], {"swing", "direction"}, {110, 1}, "rise to 110");

    struct Want {
        double threshold;
        std::vector<std::pair<std::size_t, std::pair<double, double>>> pivots;  // bar, (price, kind)
    };
    const std::vector<Want> wants{
        {0.05, {{3, {130, 1}}, {6, {100, -1}}, {8, {112, 1}}, {10, {95, -1}}, {12, {120, 1}}, {14, {112, -1}},
                {16, {119, 1}}}},
        {0.2, {{4, {130, 1}}, {11, {95, -1}}}},
    };
    const std::vector<Candle> c = swings();
    for (const Want& w : wants) {
        const auto got = run_outputs("ZigZag", {w.threshold}, c);
        std::size_t k = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            const std::string what = "threshold " + std::to_string(w.threshold) + " bar " + std::to_string(i);
            if (k < w.pivots.size() && w.pivots[k].first == i) {
                const auto [price, kind] = w.pivots[k++].second;
                expect_outputs(got[i], {"swing", "direction"}, {price, kind}, what);
            } else {
                EXPECT_TRUE(got[i].empty()) << what;
            }
        }
        EXPECT_EQ(k, w.pivots.size());
    }
}

TEST(PivotsSwingTracker, KeepsTheNewestPivots) {
    SwingTracker t(SWING_THRESHOLD, 3);
    std::vector<std::size_t> confirmed;
    const std::vector<Candle> c = swings();
    for (std::size_t i = 0; i < c.size(); ++i)
        if (t.push(c[i].high, c[i].low)) confirmed.push_back(i);
    EXPECT_EQ(confirmed, (std::vector<std::size_t>{3, 6, 8, 10, 12, 14, 16}));
    ASSERT_EQ(t.size(), 3u);
    const std::vector<std::pair<double, std::uint64_t>> want{{120, 11}, {112, 13}, {119, 15}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(t[i].price, want[i].first);
        EXPECT_EQ(t[i].index, want[i].second);
        EXPECT_EQ(t[i].kind, i % 2 ? -1.0 : 1.0);
    }
    EXPECT_EQ(t.recent(0).price, 119);
    EXPECT_EQ(t.bar_index(), c.size() - 1);
    EXPECT_EQ(t.direction(), -1);
    EXPECT_EQ(t.candidate(), 112);
    EXPECT_EQ(t.candidate_index(), 16u);
}

TEST(PivotsSwingTools, LevelsOfTheNewestPivots) {
    const std::vector<Candle> c = swings();
    const std::vector<std::string> fan{"fan_382", "fan_500", "fan_618"};
    const std::vector<std::string> arcs{"arc_382", "arc_500", "arc_618"};
    const std::vector<std::string> projection{"level_618", "level_1000", "level_1618", "level_2618"};
    const std::vector<std::string> channel{"base", "level_618", "level_1000", "level_1618"};
    const std::vector<double> first_leg{100, 107.08, 111.46, 115, 118.54, 123.58, 130};
    check({
        // Legs 130 -> 100 (bar 6) and, later, 112 -> 119.
        {"FibRetracement", {}, c, 6, retracement_names, first_leg},
        {"FibRetracement", {}, c, 16, retracement_names, {119, 117.348, 116.326, 115.5, 114.674, 113.498, 112}},
        {"FibExtension", {}, c, 6, {"level_1272", "level_1414", "level_1618", "level_2000", "level_2618"},
         {138.16, 142.42, 148.54, 160, 178.54}},
        {"GoldenPocket", {}, c, 6, {"low", "mid", "high"}, {118.54, 119.02, 119.5}},
        {"GoldenPocket", {}, c, 16, {"low", "mid", "high"}, {116.326, 116.438, 116.55}},
        // The widest of the last six pivots' legs: 130 -> 100 until that leg leaves, then 95 -> 120.
        {"AutoFib", {}, c, 14, retracement_names, first_leg},
        {"AutoFib", {}, c, 16, retracement_names, {120, 114.1, 110.45, 107.5, 104.55, 100.35, 95}},
        // Two legs of 10: the later, 100 -> 110, wins.
        {"AutoFib",
         {},
         {hl(105, 104), hl(110, 108), hl(108, 104), hl(103, 100), hl(106, 102), hl(110, 107), hl(108, 104)},
         6,
         retracement_names, {110, 107.64, 106.18, 105, 103.82, 102.14, 100}},
        // 130, 100, 112 projected from 112 by −30; later 120, 112, 119 by −8.
        {"FibProjection", {}, c, 8, projection, {93.46, 82, 63.46, 33.46}},
        {"FibProjection", {}, c, 16, projection, {114.056, 111, 106.056, 98.056}},
        // From 130 at bar 2 to 100 at bar 4: t = 2 at bar 6, 2.5 at bar 7; 112@13 -> 119@15: t = 1.5.
        {"FibFan", {}, c, 6, fan, {107.08, 100, 92.92}},
        {"FibFan", {}, c, 7, fan, {101.35, 92.5, 83.65}},
        {"FibFan", {}, c, 16, fan, {116.011, 117.25, 118.489}},
        {"FibArcs", {}, c, 6, arcs, {130, 130, 130}},
        {"FibArcs", {}, c, 16, arcs, {112, 112, 112}},
        // 130@2, 100@4, 112@7: slope −3.6, offset −22.8; 120@11, 112@13, 119@15: slope −0.25, offset −7.5.
        {"FibChannel", {}, c, 8, channel, {108.4, 94.3096, 85.6, 71.5096}},
        {"FibChannel", {}, c, 16, channel, {118.75, 114.115, 111.25, 106.615}},
        // Levels 111.46, 115, 118.54, 107.416, 106, 104.584: the last three cluster.
        {"FibConfluence", {}, c, 8, {"price", "strength"}, {106, 3}},
        {"FibConfluence", {}, c, 10, {"price", "strength"}, {104.75, 6}},
        // The six pivots from 100 on; all seven would give 115.12.
        {"FibConfluence", {}, c, 16, {"price", "strength"}, {105.06875, 8}},
        // 200, 100, 300: six lone levels, the last (300 − 0.618 · 200) wins.
        {"FibConfluence", {}, {hl(200, 199), hl(190, 100), hl(300, 120), hl(290, 200)}, 3, {"price", "strength"},
         {176.4, 1}},
    });
}

TEST(PivotsSwingTools, NothingBeforeTheirPivotsThenEveryBar) {
    const std::vector<Candle> c = swings();
    const std::vector<std::pair<const char*, std::size_t>> first{
        {"FibRetracement", 7}, {"AutoFib", 7},        {"FibExtension", 7}, {"GoldenPocket", 7},
        {"FibFan", 7},         {"FibArcs", 7},        {"FibProjection", 9}, {"FibChannel", 9},
        {"FibTimeZones", 4},   {"FibConfluence", 9},
    };
    for (const auto& [name, at] : first) {
        const auto v = run_candles(name, {}, c);
        EXPECT_EQ(first_value_at(v), at) << name;
        for (std::size_t i = at; i < v.size(); ++i) EXPECT_FALSE(std::isnan(v[i])) << name << " " << i;
    }
    // A steady rise confirms nothing.
    std::vector<Candle> rise;
    for (int i = 0; i < 30; ++i) rise.push_back(hl(100 + i, 99 + i));
    for (const char* name : swing_tools) EXPECT_EQ(first_value_at(run_candles(name, {}, rise)), 0u) << name;
}

TEST(PivotsSwingTools, TimeZonesCountBarsSinceTheNewestPivot) {
    // Bars 17 to 22 are 2 to 7 bars after the pivot at bar 15.
    const auto out = run_outputs("FibTimeZones", {}, swings());
    const std::vector<std::pair<double, double>> want{{1, 1}, {1, 2}, {0, 1}, {1, 3}, {0, 2}, {0, 1}};
    for (std::size_t i = 0; i < want.size(); ++i)
        expect_outputs(out[17 + i], {"on_zone", "bars_to_next"}, {want[i].first, want[i].second},
                       "bar " + std::to_string(17 + i));
    expect_outputs(out[3], {"on_zone", "bars_to_next"}, {1, 1}, "bar 3");
    expect_outputs(out[5], {"on_zone", "bars_to_next"}, {1, 2}, "bar 5");
}

TEST(PivotsPitchfork, MedianLineAndParallels) {
    // Fractals with one bar each side: high 12@1, low 7@3, high 13@4 (bar 5); 14@6 replaces
    // 13@4 (bar 7); low 6@8 appends and drops 12@1 (bar 9); 30/0.5@10 is both, ignored (bar 11).
    const std::vector<Candle> c{hl(10, 9),  hl(12, 10), hl(11, 8),  hl(11, 7),  hl(13, 9), hl(12, 10),
                                hl(14, 11), hl(13, 12), hl(12, 6),  hl(13, 8),  hl(30, 0.5), hl(12, 9)};
    const std::vector<std::string> names{"median", "upper", "lower"};
    const double s7 = (10.5 - 12) / 3.5;  // P1 12@1, midpoint of 7@3 and 14@6
    const double o7a = 7 - (12 + s7 * 2), o7b = 14 - (12 + s7 * 5);
    check({
        {"AndrewsPitchfork", {1}, c, 5, names, {8.8, 12.2, 5.4}},
        {"AndrewsPitchfork", {1}, c, 6, names, {8, 11.4, 4.6}},
        {"AndrewsPitchfork", {1}, c, 7, names, {12 + s7 * 6, 12 + s7 * 6 + o7b, 12 + s7 * 6 + o7a}},
        {"AndrewsPitchfork", {1}, c, 9, names, {11.5, 16.25, 6.75}},
        {"AndrewsPitchfork", {1}, c, 10, names, {12.25, 17, 7.5}},
        {"AndrewsPitchfork", {1}, c, 11, names, {13, 17.75, 8.25}},
    });
    EXPECT_EQ(first_value_at(run_candles("AndrewsPitchfork", {1}, c)), 6u);
    auto ind = make("AndrewsPitchfork", {4});
    ASSERT_TRUE(ind);
    EXPECT_EQ(ind->warmup_period(), 9u);
}

TEST(PivotsWarmup, ReportedCountsMatchTheEarliestValue) {
    struct Case {
        const char* name;
        std::vector<double> params;
        std::size_t warmup;
    };
    const std::vector<Case> cases{
        {"ClassicPivots", {}, 1},  {"Camarilla", {}, 1},       {"FibonacciPivots", {}, 1}, {"DemarkPivots", {}, 1},
        {"WoodiePivots", {}, 1},   {"CentralPivotRange", {}, 1}, {"MurreyMathLines", {5}, 5}, {"ZigZag", {0.05}, 2},
        {"FibTimeZones", {}, 2},   {"FibRetracement", {}, 3},  {"AutoFib", {}, 3},         {"FibExtension", {}, 3},
        {"GoldenPocket", {}, 3},   {"FibFan", {}, 3},          {"FibArcs", {}, 3},         {"FibProjection", {}, 4},
        {"FibChannel", {}, 4},     {"FibConfluence", {}, 4},
    };
    const std::vector<Candle> c = alternating(12);
    for (const Case& k : cases) {
        auto ind = make(k.name, k.params);
        ASSERT_TRUE(ind) << k.name;
        EXPECT_EQ(ind->warmup_period(), k.warmup) << k.name;
        EXPECT_EQ(first_value_at(run_candles(*ind, c)), k.warmup) << k.name;
    }
}

TEST(PivotsSkipping, InvalidCandlesChangeNothing) {
    const std::vector<std::pair<const char*, std::vector<double>>> members{
        {"ClassicPivots", {}}, {"Camarilla", {}},       {"FibonacciPivots", {}}, {"DemarkPivots", {}},
        {"WoodiePivots", {}},  {"CentralPivotRange", {}}, {"MurreyMathLines", {3}}, {"AndrewsPitchfork", {1}},
        {"ZigZag", {0.05}},    {"FibRetracement", {}},  {"AutoFib", {}},          {"FibExtension", {}},
        {"GoldenPocket", {}},  {"FibProjection", {}},   {"FibFan", {}},           {"FibArcs", {}},
        {"FibChannel", {}},    {"FibTimeZones", {}},    {"FibConfluence", {}},
    };
    const std::vector<Candle> bad{candle(100, 90, 95, 95), candle(100, 101, 99, NaN), candle(100, 101, 99, 100, -1),
                                  candle(100, Inf, 99, 100)};
    const std::vector<Candle> clean = swings();
    std::vector<Candle> mixed;
    std::vector<bool> valid;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        if (i % 3 == 1) {
            mixed.push_back(bad[i % bad.size()]);
            valid.push_back(false);
        }
        mixed.push_back(clean[i]);
        valid.push_back(true);
    }
    for (const auto& [name, params] : members) {
        const auto want = run_candles(name, params, clean);
        const auto got = run_candles(name, params, mixed);
        ASSERT_EQ(got.size(), valid.size()) << name;
        std::size_t k = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (!valid[i]) {
                EXPECT_TRUE(std::isnan(got[i])) << name << " step " << i;
                continue;
            }
            if (std::isnan(want[k])) EXPECT_TRUE(std::isnan(got[i])) << name << " step " << i;
            else EXPECT_EQ(got[i], want[k]) << name << " step " << i;
            ++k;
        }
    }
}

TEST(PivotsConstruction, Messages) {
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string zigzag = "invalid period: ZigZag threshold must be a finite fraction in (0, 1)";
    const std::string zero = "period must be greater than zero";
    struct Case {
        const char* name;
        std::vector<double> params;
        std::string detail;  // "" when accepted
    };
    const std::vector<Case> cases{
        {"ZigZag", {0.05}, ""},
        {"ZigZag", {0.999}, ""},
        {"ZigZag", {0}, zigzag},
        {"ZigZag", {1}, zigzag},
        {"ZigZag", {-0.05}, zigzag},
        {"ZigZag", {5}, zigzag},
        {"ZigZag", {NaN}, "parameter #0 must be finite"},
        {"ZigZag", {}, "missing parameter #0"},
        {"MurreyMathLines", {16777216}, ""},
        {"MurreyMathLines", {16777217}, max},
        {"MurreyMathLines", {1e-20}, zero},
        {"MurreyMathLines", {0}, "parameter #0 must be a positive integer, got 0"},
        // The window holds 2N + 1 candles.
        {"AndrewsPitchfork", {8388607}, ""},
        {"AndrewsPitchfork", {8388608}, max},
        {"AndrewsPitchfork", {1.8446744073709552e19}, max},
        {"AndrewsPitchfork", {1e-20}, zero},
        {"ClassicPivots", {}, ""},
        {"FibConfluence", {7, -1}, ""},
    };
    for (const Case& c : cases) {
        const std::string want =
            c.detail.empty() ? "ok" : "invalid parameters for indicator " + std::string(c.name) + ": " + c.detail;
        EXPECT_EQ(create_error(c.name, c.params), want) << c.name;
    }
}
