#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "feed.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

Candle flat(double x) { return candle(x, x, x, x); }

// One flat candle per pivot price (the first a swing high, kinds alternating), then one that
// reverses 10% from the last: from the second candle on, each candle confirms the pivot of the
// candle before it, so the last pivot is confirmed on the final candle.
std::vector<Candle> swings(const std::vector<double>& prices) {
    std::vector<Candle> out;
    for (double x : prices) out.push_back(flat(x));
    const bool last_high = prices.size() % 2 == 1;
    out.push_back(flat(prices.back() * (last_high ? 0.9 : 1.1)));
    return out;
}

// Pivots each formation is judged on; first value one candle later.
const std::map<std::string, std::size_t>& pivots_used() {
    static const std::map<std::string, std::size_t> table = {
        {"Gartley", 5},       {"Bat", 5},          {"Butterfly", 5},        {"Crab", 5},
        {"Shark", 5},         {"Cypher", 5},       {"Abcd", 4},             {"ThreeDrives", 7},
        {"HeadAndShoulders", 5}, {"TripleTopBottom", 5}, {"DoubleTopBottom", 3}, {"FlagPennant", 3},
        {"CupAndHandle", 4},  {"RectangleRange", 4}, {"Triangle", 4},      {"Wedge", 4},
    };
    return table;
}

struct PatternCase {
    const char* name;
    std::vector<double> pivots;
    double want;  // on the candle confirming the last pivot
};

// Completions of both signs and near misses. Bullish harmonics lead with an extra swing high,
// which the tracker drops once the formation's pivots are all held.
const std::vector<PatternCase>& pattern_cases() {
    static const std::vector<PatternCase> cases = {
        {"Gartley", {150, 100, 200, 138.2, 176.39, 121.4}, 1},
        {"Gartley", {200, 100, 161.8, 123.61, 178.6}, -1},
        {"Gartley", {150, 100, 200, 138.2, 176.39, 130}, 0},  // retraces only 0.7 of the first leg
        {"Bat", {150, 100, 200, 155, 191, 111.4}, 1},
        {"Bat", {200, 100, 145, 109, 188.6}, -1},
        {"Bat", {150, 100, 200, 138.2, 176.39, 121.4}, 0},  // a Gartley is no Bat
        {"Butterfly", {150, 100, 200, 121.4, 169.97, 60}, 1},
        {"Butterfly", {150, 100, 200, 121.4, 169.97, 90}, 0},
        {"Crab", {150, 100, 200, 140, 188, 38.2}, 1},
        {"Crab", {150, 100, 200, 140, 188, 60}, 0},
        {"Shark", {130, 100, 150, 74, 203, 100}, 1},
        {"Shark", {130, 100, 150, 74, 203, 80}, 0},
        {"Cypher", {150, 100, 200, 150, 235, 129}, 1},
        {"Cypher", {150, 100, 200, 150, 235, 160}, 0},
        {"Abcd", {200, 100, 161.8, 61.8}, 1},
        {"Abcd", {130, 100, 200, 138.2, 238.2}, -1},
        {"Abcd", {200, 100, 161.8, 40}, 0},  // the last leg is 22% longer than the first
        {"ThreeDrives", {250, 200, 230, 190, 220, 180, 210, 170}, 1},
        {"ThreeDrives", {200, 170, 210, 180, 220, 190, 230}, -1},
        {"ThreeDrives", {250, 200, 230, 190, 220, 180, 210, 150}, 0},  // the third drive overshoots
        {"HeadAndShoulders", {100, 90, 110, 91, 101}, -1},
        {"HeadAndShoulders", {120, 100, 110, 90, 111, 101}, 1},
        {"HeadAndShoulders", {100, 90, 98, 91, 101}, 0},  // no head
        {"HeadAndShoulders", {100, 90, 110, 91, 106}, 0},  // uneven shoulders
        {"DoubleTopBottom", {100, 90, 102}, -1},
        {"DoubleTopBottom", {120, 100, 110, 98}, 1},
        {"DoubleTopBottom", {100, 90, 104}, 0},
        {"TripleTopBottom", {100, 90, 101, 89, 102}, -1},
        {"TripleTopBottom", {120, 100, 110, 101, 111, 99}, 1},
        {"TripleTopBottom", {100, 90, 101, 89, 106}, 0},
        {"CupAndHandle", {100, 70, 101, 90}, 1},
        {"CupAndHandle", {130, 100, 130, 99, 110}, -1},
        {"CupAndHandle", {100, 70, 101, 60}, 0},  // the handle breaks the bottom
        {"CupAndHandle", {100, 70, 120, 90}, 0},  // uneven rims
        {"FlagPennant", {130, 100, 120, 111}, 1},
        {"FlagPennant", {130, 100, 120, 110}, 0},  // exactly half the pole
        {"FlagPennant", {120, 100, 109}, -1},
        {"RectangleRange", {110, 100, 111, 101}, 1},
        {"RectangleRange", {130, 100, 110, 101, 111}, -1},
        {"RectangleRange", {110, 100, 120, 101}, 0},
        {"Triangle", {110, 90, 111, 100}, 1},          // ascending
        {"Triangle", {110, 100, 111, 90}, 0},          // flat top, falling lows
        {"Triangle", {120, 100, 110, 101}, -1},        // descending
        {"Triangle", {120, 90, 110, 100}, 1},          // symmetrical, ending on a low
        {"Triangle", {130, 90, 120, 100, 110}, -1},    // symmetrical, ending on a high
        {"Triangle", {120, 100, 110, 90}, 0},          // falling highs and lows
        {"Triangle", {110, 100, 120, 90}, 0},          // broadening
        {"Wedge", {110, 100, 112, 106}, -1},
        {"Wedge", {120, 100, 110, 98}, 1},
        {"Wedge", {110, 100, 120, 90}, 0},
        {"Wedge", {110, 100, 120, 110}, 0},  // parallel rise
    };
    return cases;
}

}  // namespace

TEST(PatternsSwing, FormationsOnTheConfirmingCandle) {
    for (const auto& e : pattern_cases()) {
        const auto candles = swings(e.pivots);
        // The fixture itself: the zigzag confirms a pivot on every candle after the first.
        const auto zz = run_candles("ZigZag", {0.05}, candles);
        ASSERT_EQ(first_value_at(zz), 2u) << e.name;
        for (std::size_t i = 1; i < zz.size(); ++i) ASSERT_EQ(zz[i], e.pivots[i - 1]) << e.name << " bar " << i;

        auto ind = make(e.name, {});
        ASSERT_TRUE(ind) << e.name;
        const auto values = run_candles(*ind, candles);
        const std::size_t warm = pivots_used().at(e.name) + 1;
        EXPECT_EQ(ind->warmup_period(), warm) << e.name;
        EXPECT_EQ(first_value_at(values), warm) << e.name;
        EXPECT_EQ(values.back(), e.want) << e.name << " on " << e.pivots.size() << " pivots";
    }
}

TEST(PatternsSwing, CandleWithoutANewPivotGivesZero) {
    for (const auto& e : pattern_cases()) {
        if (e.want == 0) continue;
        auto candles = swings(e.pivots);
        // Repeating the last candle neither extends the candidate nor reverses from it.
        candles.push_back(candles.back());
        const auto values = run_candles(e.name, {}, candles);
        ASSERT_EQ(values.size(), candles.size());
        EXPECT_EQ(values[values.size() - 2], e.want) << e.name;
        EXPECT_EQ(values.back(), 0) << e.name;
    }
}

TEST(PatternsSwing, InvalidCandlesAreSkippedWithoutStateChange) {
    const Candle bad_range = candle(100, 90, 110, 100);
    const Candle bad_close = candle(100, 300, 10, NaN);
    for (const auto& e : pattern_cases()) {
        const auto candles = swings(e.pivots);
        const auto plain = run_candles(e.name, {}, candles);
        // An invalid candle with an extreme range at every position: nothing moves.
        for (std::size_t at = 0; at <= candles.size(); ++at) {
            auto mixed = candles;
            mixed.insert(mixed.begin() + static_cast<std::ptrdiff_t>(at), {bad_range, bad_close});
            const auto values = run_candles(e.name, {}, mixed);
            std::vector<double> kept;
            for (std::size_t i = 0; i < values.size(); ++i) {
                if (i == at || i == at + 1) {
                    EXPECT_TRUE(std::isnan(values[i])) << e.name;
                    continue;
                }
                kept.push_back(values[i]);
            }
            ASSERT_EQ(kept.size(), plain.size());
            for (std::size_t i = 0; i < kept.size(); ++i)
                EXPECT_TRUE(kept[i] == plain[i] || (std::isnan(kept[i]) && std::isnan(plain[i])))
                    << e.name << " insert at " << at << " step " << i;
        }
    }
}

TEST(PatternsSwing, SteadyRiseNeverConfirmsAPivot) {
    std::vector<Candle> rising;
    for (int i = 0; i < 200; ++i) rising.push_back(bar(100.0 * std::pow(1.01, i)));
    for (const auto& [name, n] : pivots_used()) EXPECT_EQ(first_value_at(run_candles(name, {}, rising)), 0u) << name;
}

// Zero prices confirm a pivot on every candle with zero legs: the ratio tests fail rather than
// reading 0/0, and a zero pole is no flag.
TEST(PatternsSwing, ZeroLegsGiveZero) {
    const std::vector<Candle> zeros(12, flat(0));
    for (const char* name : {"Gartley", "Bat", "Butterfly", "Crab", "Shark", "Cypher", "Abcd", "ThreeDrives",
                             "FlagPennant", "HeadAndShoulders", "CupAndHandle", "Triangle", "Wedge"}) {
        const auto values = run_candles(name, {}, zeros);
        const std::size_t warm = pivots_used().at(name) + 1;
        ASSERT_EQ(first_value_at(values), warm) << name;
        for (std::size_t i = warm - 1; i < values.size(); ++i) EXPECT_EQ(values[i], 0) << name << " bar " << i;
    }
}

// A fraction exactly at its bound passes.
TEST(PatternsSwing, RatioBoundsAreInclusive) {
    // Abcd: g2/g1 = 0.5 and g3/g2 = 2 at g1 = g3; then g1 and g3 exactly 10% apart, then 11%.
    EXPECT_EQ(run_candles("Abcd", {}, swings({200, 100, 150, 50})).back(), 1);
    EXPECT_EQ(run_candles("Abcd", {}, swings({200, 100, 150, 60})).back(), 1);
    EXPECT_EQ(run_candles("Abcd", {}, swings({200, 100, 150, 61})).back(), 0);
    // DoubleTopBottom: 3 apart at a larger price of 100 is exactly 0.03 of it.
    EXPECT_EQ(run_candles("DoubleTopBottom", {}, swings({100, 90, 97})).back(), -1);
    EXPECT_EQ(run_candles("DoubleTopBottom", {}, swings({100, 90, 96.9})).back(), 0);
}

namespace {

struct RoundingCase {
    const char* name;
    double n;
    std::vector<double> closes;
    std::vector<double> want;
};

std::vector<Candle> closes_to_candles(const std::vector<double>& closes) {
    std::vector<Candle> out;
    for (double c : closes) out.push_back(bar(c, 1.0, 0.5));
    return out;
}

}  // namespace

TEST(PatternsRounding, Values) {
    const std::vector<RoundingCase> cases = {
        {"DumplingTop", 5, {10, 12, 15, 11, 9}, {NaN, NaN, NaN, NaN, -1}},
        {"DumplingTop", 5, {10, 15, 12, 11, 9}, {NaN, NaN, NaN, NaN, -1}},  // position q
        {"DumplingTop", 5, {15, 12, 11, 10, 9}, {NaN, NaN, NaN, NaN, 0}},   // position 0 < q
        {"DumplingTop", 5, {10, 11, 12, 15, 9}, {NaN, NaN, NaN, NaN, -1}},  // position N − q − 1
        {"DumplingTop", 5, {10, 11, 12, 9, 15}, {NaN, NaN, NaN, NaN, 0}},   // the extreme is the last close
        {"DumplingTop", 5, {10, 12, 15, 11, 10}, {NaN, NaN, NaN, NaN, 0}},  // not below the first
        // Ties: the first occurrence counts (at 0 here, though another stands at 2).
        {"DumplingTop", 5, {15, 12, 15, 11, 9}, {NaN, NaN, NaN, NaN, 0}},
        // The window slides: 12, 15, 11, 9, 8 and then 15, 11, 9, 8, 7.
        {"DumplingTop", 5, {10, 12, 15, 11, 9, 8, 7}, {NaN, NaN, NaN, NaN, -1, -1, 0}},
        // q = 2 for N = 8: the highest at position 1 is too early, at 2 it counts.
        {"DumplingTop", 8, {10, 15, 12, 11, 10, 9, 8, 7}, {NaN, NaN, NaN, NaN, NaN, NaN, NaN, 0}},
        {"DumplingTop", 8, {10, 11, 15, 12, 10, 9, 8, 7}, {NaN, NaN, NaN, NaN, NaN, NaN, NaN, -1}},
        {"FryPanBottom", 5, {10, 8, 6, 7, 11}, {NaN, NaN, NaN, NaN, 1}},
        {"FryPanBottom", 5, {10, 6, 8, 7, 11}, {NaN, NaN, NaN, NaN, 1}},
        {"FryPanBottom", 5, {6, 8, 6, 7, 11}, {NaN, NaN, NaN, NaN, 0}},
        {"FryPanBottom", 5, {10, 8, 6, 7, 10}, {NaN, NaN, NaN, NaN, 0}},
        {"FryPanBottom", 5, {10, 8, 9, 7, 6}, {NaN, NaN, NaN, NaN, 0}},
        {"FryPanBottom", 5, {10, 10, 10, 10, 10}, {NaN, NaN, NaN, NaN, 0}},
    };
    for (const auto& e : cases) {
        auto ind = make(e.name, {e.n});
        ASSERT_TRUE(ind);
        EXPECT_EQ(ind->warmup_period(), static_cast<std::size_t>(e.n)) << e.name;
        const auto values = run_candles(*ind, closes_to_candles(e.closes));
        ASSERT_EQ(values.size(), e.want.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (std::isnan(e.want[i]))
                EXPECT_TRUE(std::isnan(values[i])) << e.name << " step " << i;
            else
                EXPECT_EQ(values[i], e.want[i]) << e.name << " step " << i;
        }
    }
}

TEST(PatternsRounding, InvalidCandlesAreSkippedWithoutStateChange) {
    const Candle bad = candle(100, 90, 110, 100);
    const std::vector<Candle> with_bad = {bar(10), bad, bar(12), bar(15), candle(50, 40, 60, 50), bar(11), bad, bar(9)};
    const auto values = run_candles("DumplingTop", {5}, with_bad);
    EXPECT_EQ(first_value_at(values), with_bad.size());
    EXPECT_EQ(values.back(), -1);
    EXPECT_TRUE(std::isnan(values[6]));
}

TEST(PatternsRounding, ConstructionMessages) {
    const std::string maxp = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const struct {
        const char* name;
        std::vector<double> params;
        std::string text;
    } cases[] = {
        {"DumplingTop", {4}, "invalid period: dumpling top needs period >= 5"},
        {"DumplingTop", {1}, "invalid period: dumpling top needs period >= 5"},
        {"FryPanBottom", {4}, "invalid period: frying pan bottom needs period >= 5"},
        {"DumplingTop", {1e-20}, "period must be greater than zero"},
        {"FryPanBottom", {16777217}, maxp},
        {"DumplingTop", {1.8e19}, maxp},
        {"DumplingTop", {5}, "ok"},
        {"FryPanBottom", {5}, "ok"},
        {"FryPanBottom", {16777216}, "ok"},
        {"Gartley", {}, "ok"},
    };
    for (const auto& e : cases) {
        const std::string want =
            e.text == "ok" ? e.text : "invalid parameters for indicator " + std::string(e.name) + ": " + e.text;
        EXPECT_EQ(create_error(e.name, e.params), want) << e.name;
    }
}
