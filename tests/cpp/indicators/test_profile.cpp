#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "feed.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

constexpr std::int64_t HOUR = 3600000;

// A candle that trades at one price only.
Candle point(double price, double volume, std::int64_t ts = 0) { return candle(price, price, price, price, volume, ts); }
// A candle from low to high without volume.
Candle span(double low, double high, std::int64_t ts = 0) { return candle(low, high, low, low, 0.0, ts); }
Candle range(double low, double high, double close, double volume = 1.0, std::int64_t ts = 0) {
    return candle(close, high, low, close, volume, ts);
}

// A window over [0, 4] in four unit bins: an empty candle spanning it, then one point
// candle of the given volume at each bin centre (skipped when 0).
std::vector<Candle> unit_bins(const std::vector<double>& volumes) {
    std::vector<Candle> out{span(0.0, 4.0)};
    for (std::size_t i = 0; i < volumes.size(); ++i) out.push_back(point(static_cast<double>(i) + 0.5, volumes[i]));
    return out;
}

// Primary value and named outputs of every step; a step without a value is {NaN}.
std::vector<std::vector<double>> run_all(Indicator& ind, const std::vector<Candle>& candles) {
    std::vector<std::vector<double>> out;
    for (const Candle& c : candles) {
        StepView s;
        s.candle = c;
        const auto v = ind.update(s);
        std::vector<double> row{v.value_or(NaN)};
        if (v)
            for (const auto& [name, value] : ind.extra_outputs()) row.push_back(value);
        out.push_back(row);
    }
    return out;
}

// The named outputs of the last candle.
std::vector<double> last_outputs(std::string_view name, std::vector<double> params, const std::vector<Candle>& cs) {
    auto ind = make(name, std::move(params));
    if (!ind) return {};
    const auto rows = run_all(*ind, cs);
    std::vector<double> row = rows.back();
    if (row.size() > 1) row.erase(row.begin());
    return row;
}

// Valid candles a few hours apart, crossing several calendar days, with some zero volumes.
std::vector<Candle> wandering(std::size_t n) {
    std::vector<Candle> out;
    double x = 100.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double step = std::sin(static_cast<double>(i) * 1.7) * 2.0;
        const double open = x;
        x += step;
        const double volume = i % 5 == 3 ? 0.0 : 10.0 + static_cast<double>(i % 7);
        out.push_back(candle(open, std::max(open, x) + 0.4, std::min(open, x) - 0.3, x, volume,
                             static_cast<std::int64_t>(i) * 3 * HOUR + 1000));
    }
    return out;
}

const std::vector<Case> ALL = {
    {"VolumeProfile", {5, 4}},   {"TpoProfile", {5, 4}},        {"ValueArea", {5, 4, 0.7}},
    {"CompositeProfile", {5, 4, 0.7}}, {"HighLowVolumeNodes", {5, 4}}, {"NakedPoc", {3, 4}},
    {"ProfileShape", {5, 4}},    {"SinglePrints", {5, 4}},      {"SessionRange", {60}},
    {"SessionHighLow", {-90}},   {"InitialBalance", {4}},       {"OpeningRange", {4}},
    {"VolumeWeightedSr", {5}},
};

TEST(ProfileConstruction, Messages) {
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string zero = "period must be greater than zero";
    const std::string pct = "value_area_pct must be in (0, 1]";
    struct Row {
        Case c;
        std::string want;
    };
    std::vector<Row> rows = {
        {{"ValueArea", {10, 10, 0}}, "invalid period: " + pct},
        {{"ValueArea", {10, 10, 1.5}}, "invalid period: " + pct},
        {{"ValueArea", {10, 10, -0.5}}, "invalid period: " + pct},
        {{"ValueArea", {10, 10, 1}}, "ok"},
        {{"CompositeProfile", {10, 10, 0}}, "invalid parameter: " + pct},
        {{"CompositeProfile", {10, 10, 1.5}}, "invalid parameter: " + pct},
        {{"CompositeProfile", {10, 10, 1}}, "ok"},
        {{"ValueArea", {1e-20, 10, 1.5}}, zero},
        {{"ProfileShape", {10, 2}}, "invalid period: profile shape needs bins >= 3"},
        {{"ProfileShape", {10, 3}}, "ok"},
        {{"ProfileShape", {10, 1e-20}}, zero},
        {{"SessionRange", {-2147483648.0}}, "ok"},
        {{"SessionHighLow", {2147483647}}, "ok"},
    };
    // Both the window and the bin count are bounded.
    for (const char* name : {"VolumeProfile", "TpoProfile", "HighLowVolumeNodes", "NakedPoc", "ProfileShape",
                             "SinglePrints", "ValueArea", "CompositeProfile"}) {
        const bool pct_param = std::string(name) == "ValueArea" || std::string(name) == "CompositeProfile";
        auto params = [&](double n, double b) {
            return pct_param ? std::vector<double>{n, b, 0.7} : std::vector<double>{n, b};
        };
        rows.push_back({{name, params(4, 1e-20)}, zero});
        rows.push_back({{name, params(1e-20, 4)}, zero});
        rows.push_back({{name, params(16777217, 4)}, max});
        rows.push_back({{name, params(4, 16777217)}, max});
        rows.push_back({{name, params(16777216, 16777216)}, "ok"});
    }
    for (const char* name : {"InitialBalance", "OpeningRange", "VolumeWeightedSr"}) {
        rows.push_back({{name, {1e-20}}, zero});
        rows.push_back({{name, {16777217}}, max});
        rows.push_back({{name, {16777216}}, "ok"});
    }
    for (const Row& r : rows) {
        const std::string want =
            r.want == "ok" ? r.want : "invalid parameters for indicator " + std::string(r.c.name) + ": " + r.want;
        EXPECT_EQ(create_error(r.c.name, r.c.params), want) << label(r.c);
    }
}

TEST(ProfileOutputs, NamesInOrder) {
    const std::vector<std::pair<Case, std::vector<std::string>>> rows = {
        {{"VolumeProfile", {1, 4}}, {"price_low", "price_high"}},
        {{"TpoProfile", {1, 4}}, {"price_low", "price_high"}},
        {{"ValueArea", {1, 4, 0.7}}, {"poc", "vah", "val"}},
        {{"CompositeProfile", {1, 4, 0.7}}, {"poc", "vah", "val"}},
        {{"HighLowVolumeNodes", {1, 4}}, {"hvn", "lvn"}},
        {{"SessionRange", {0}}, {"asia", "eu", "us"}},
        {{"SessionHighLow", {0}}, {"high", "low"}},
        {{"InitialBalance", {1}}, {"high", "low"}},
        {{"OpeningRange", {1}}, {"high", "low", "breakout_distance"}},
        {{"VolumeWeightedSr", {1}}, {"support", "resistance"}},
        {{"NakedPoc", {1, 4}}, {}},
        {{"ProfileShape", {1, 4}}, {}},
        {{"SinglePrints", {1, 4}}, {}},
    };
    for (const auto& [c, names] : rows) {
        auto ind = make(c.name, c.params);
        ASSERT_TRUE(ind);
        StepView s;
        s.candle = range(9.0, 11.0, 10.0);
        ASSERT_TRUE(ind->update(s)) << label(c);
        std::vector<std::string> got;
        for (const auto& [name, value] : ind->extra_outputs()) got.push_back(name);
        EXPECT_EQ(got, names) << label(c);
    }
}

TEST(ProfileWarmup, FirstValueAndWarmupPeriod) {
    const std::vector<std::pair<Case, std::size_t>> rows = {
        {ALL[0], 5}, {ALL[1], 5}, {ALL[2], 5}, {ALL[3], 5}, {ALL[4], 5},  {ALL[5], 3},  {ALL[6], 5},
        {ALL[7], 5}, {ALL[8], 1}, {ALL[9], 1}, {ALL[10], 1}, {ALL[11], 1}, {ALL[12], 5},
    };
    ASSERT_EQ(rows.size(), ALL.size());
    for (const auto& [c, want] : rows) {
        auto ind = make(c.name, c.params);
        ASSERT_TRUE(ind);
        EXPECT_EQ(ind->warmup_period(), want) << label(c);
        EXPECT_EQ(first_value_at(run_candles(*ind, wandering(12))), want) << label(c);
    }
}

// Invalid candles return nothing and leave every member exactly where it was.
TEST(ProfileSkipping, InvalidCandlesChangeNothing) {
    const std::vector<Candle> clean = wandering(40);
    std::vector<Candle> dirty;
    std::vector<bool> is_bad;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        if (i % 4 == 1) {
            Candle bad = clean[i];
            bad.low = bad.high + 1.0;
            dirty.push_back(bad);
            Candle nan = clean[i];
            nan.close = NaN;
            dirty.push_back(nan);
            Candle negative = clean[i];
            negative.volume = -1.0;
            dirty.push_back(negative);
            is_bad.insert(is_bad.end(), 3, true);
        }
        dirty.push_back(clean[i]);
        is_bad.push_back(false);
    }
    for (const Case& c : ALL) {
        auto a = make(c.name, c.params);
        auto b = make(c.name, c.params);
        ASSERT_TRUE(a && b);
        const auto want = run_all(*a, clean);
        const auto got = run_all(*b, dirty);
        std::size_t j = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (is_bad[i]) {
                EXPECT_TRUE(std::isnan(got[i][0])) << label(c) << " step " << i;
                continue;
            }
            ASSERT_EQ(got[i].size(), want[j].size()) << label(c) << " step " << i;
            for (std::size_t k = 0; k < got[i].size(); ++k) {
                if (std::isnan(want[j][k])) EXPECT_TRUE(std::isnan(got[i][k])) << label(c);
                else EXPECT_EQ(got[i][k], want[j][k]) << label(c) << " step " << i << " output " << k;
            }
            ++j;
        }
    }
}

TEST(ProfileRange, LowAndHighOfTheWindow) {
    const std::vector<Candle> cs = {range(8, 10, 9, 5), range(9, 12, 10, 0), range(10, 11, 10),
                                    range(10.5, 11, 11), range(9.5, 10.5, 10)};
    for (const char* name : {"VolumeProfile", "TpoProfile"}) {
        auto ind = make(name, {3, 4});
        ASSERT_TRUE(ind);
        const auto rows = run_all(*ind, cs);
        const std::vector<std::vector<double>> want = {{NaN}, {NaN}, {8, 8, 12}, {9, 9, 12}, {9.5, 9.5, 11}};
        ASSERT_EQ(rows.size(), want.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (std::isnan(want[i][0])) EXPECT_TRUE(std::isnan(rows[i][0])) << name << " step " << i;
            else EXPECT_EQ(rows[i], want[i]) << name << " step " << i;
        }
    }
}

TEST(ProfileValueArea, PocAndArea) {
    struct Row {
        const char* what;
        std::vector<double> volumes;
        double pct;
        std::vector<double> value_area;  // poc, vah, val
        std::vector<double> composite;
    };
    const std::vector<Row> rows = {
        {"grows to the larger neighbour", {1, 5, 3, 1}, 0.7, {1.5, 3, 1}, {1.5, 2.5, 1.5}},
        {"equal neighbours: the bin above first", {2, 5, 2, 1}, 0.7, {1.5, 3, 1}, {1.5, 2.5, 1.5}},
        {"equal maxima: the lower bin is the poc", {1, 4, 4, 1}, 0.3, {1.5, 2, 1}, {1.5, 1.5, 1.5}},
        {"pct 1 covers every bin with volume", {0, 3, 0, 2}, 1.0, {1.5, 4, 1}, {1.5, 3.5, 1.5}},
        {"pct 1 stops at the last volume", {0.1, 0.2, 0.3, 0}, 1.0, {2.5, 3, 0}, {2.5, 2.5, 0.5}},
        {"only one side left", {0, 0, 1, 6}, 0.9, {3.5, 4, 2}, {3.5, 3.5, 2.5}},
        {"no volume at all", {0, 0, 0, 0}, 0.7, {0.5, 1, 0}, {0.5, 0.5, 0.5}},
    };
    for (const Row& r : rows) {
        const auto cs = unit_bins(r.volumes);
        const double n = static_cast<double>(cs.size());
        EXPECT_EQ(last_outputs("ValueArea", {n, 4, r.pct}, cs), r.value_area) << r.what;
        EXPECT_EQ(last_outputs("CompositeProfile", {n, 4, r.pct}, cs), r.composite) << r.what;
    }
}

// A zero-volume candle inside the range leaves the bins as they were.
TEST(ProfileValueArea, ZeroVolumeCandleAddsNothing) {
    auto with = unit_bins({1, 5, 3, 1});
    auto without = with;
    with.push_back(span(0.2, 0.9));
    without.push_back(point(2.0, 0.0));
    for (const char* name : {"ValueArea", "CompositeProfile"}) {
        const double n = static_cast<double>(with.size());
        EXPECT_EQ(last_outputs(name, {n, 4, 0.7}, with), last_outputs(name, {n, 4, 0.7}, without)) << name;
    }
}

TEST(ProfileValueArea, FlatWindowIsOneBin) {
    const std::vector<Candle> cs(3, point(5.0, 2.0));
    EXPECT_EQ(last_outputs("ValueArea", {3, 10, 0.7}, cs), (std::vector<double>{5, 5, 5}));
    EXPECT_EQ(last_outputs("CompositeProfile", {3, 10, 0.7}, cs), (std::vector<double>{5, 5, 5}));
    EXPECT_EQ(last_outputs("HighLowVolumeNodes", {3, 10}, cs), (std::vector<double>{5, 5}));
    EXPECT_EQ(last_outputs("VolumeProfile", {3, 10}, cs), (std::vector<double>{5, 5}));
    EXPECT_EQ(last_outputs("ProfileShape", {3, 10}, cs), (std::vector<double>{0}));
    EXPECT_EQ(last_outputs("SinglePrints", {3, 10}, cs), (std::vector<double>{0}));
}

// Composite reports bin centres where ValueArea reports the outer edges.
TEST(ProfileValueArea, CompositeIsHalfABinInside) {
    const auto cs = wandering(30);
    auto va = make("ValueArea", {8, 6, 0.7});
    auto cp = make("CompositeProfile", {8, 6, 0.7});
    auto range = make("VolumeProfile", {8, 6});
    ASSERT_TRUE(va && cp && range);
    const auto a = run_all(*va, cs), b = run_all(*cp, cs), r = run_all(*range, cs);
    for (std::size_t i = 7; i < cs.size(); ++i) {
        const double half = (r[i][2] - r[i][1]) / 6.0 / 2.0;
        EXPECT_EQ(a[i][1], b[i][1]) << i;
        EXPECT_NEAR(a[i][2] - half, b[i][2], 1e-12) << i;
        EXPECT_NEAR(a[i][3] + half, b[i][3], 1e-12) << i;
    }
}

TEST(ProfileNodes, HighAndLowVolume) {
    struct Row {
        const char* what;
        std::vector<Candle> candles;
        std::vector<double> want;
    };
    const std::vector<Row> rows = {
        {"lowest positive bin, lowest index on ties", unit_bins({3, 5, 1, 1}), {1.5, 2.5}},
        {"empty bins are no low-volume node", unit_bins({0, 2, 4, 0}), {2.5, 1.5}},
        {"no volume: both at the high-volume bin", unit_bins({0, 0, 0, 0}), {0.5, 0.5}},
        // 8 spread over all four bins (the top edge clamped into the last), 1 more in bin 2.
        {"spread and clamped", {range(0, 4, 2, 8), point(2.5, 1)}, {2.5, 0.5}},
    };
    for (const Row& r : rows) {
        const double n = static_cast<double>(r.candles.size());
        EXPECT_EQ(last_outputs("HighLowVolumeNodes", {n, 4}, r.candles), r.want) << r.what;
    }
}

TEST(ProfileShape, ThirdOfThePoc) {
    struct Row {
        std::vector<double> volumes;
        double want;
    };
    // Four bins: B/3 = 1, so bin 0 is the bottom and bin 3 the top.
    const std::vector<Row> rows = {
        {{1, 2, 1, 5}, 1}, {{5, 2, 1, 1}, -1}, {{1, 5, 1, 1}, 0}, {{1, 2, 5, 1}, 0}, {{0, 0, 0, 0}, 0},
    };
    for (const Row& r : rows) {
        const auto cs = unit_bins(r.volumes);
        EXPECT_EQ(run_candles("ProfileShape", {static_cast<double>(cs.size()), 4}, cs).back(), r.want)
            << r.volumes[0] << "," << r.volumes[1] << "," << r.volumes[2] << "," << r.volumes[3];
    }
}

TEST(ProfileSinglePrints, BinsTouchedOnce) {
    // The empty spanning candle counts too: bins touched 2, 2, 1, 1 times.
    EXPECT_EQ(run_candles("SinglePrints", {3, 4}, unit_bins({1, 1})).back(), 2.0);
    // Nine bins over [0, 9]: touched by one candle each except 4..6.
    const auto got = run_candles("SinglePrints", {2, 9}, {range(0, 6, 3), range(4, 9, 5)});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_TRUE(std::isnan(got[0]));
    EXPECT_EQ(got[1], 6.0);
}

TEST(ProfileNakedPoc, TradedThroughLevels) {
    const std::vector<Candle> cs = {
        range(10, 12, 11, 1),      // block 1
        range(10, 11, 10.5, 3),    // block 1 ends: bins [2, 2], poc 10.5
        range(13, 14, 13.5),       // 10.5 untouched
        range(14, 16, 15),         // block 2 ends: bins [1.5, 0.5] over w = 1.5, poc 13.75
        range(9, 11, 10),          // trades through 10.5
        range(12, 15, 14),         // trades through 13.75; block 3 ends: poc 10.5
        range(10, 11, 10.8),       // trades through 10.5: none left, the close
    };
    const auto got = run_candles("NakedPoc", {2, 2}, cs);
    const std::vector<double> want = {NaN, 10.5, 10.5, 13.75, 13.75, 10.5, 10.8};
    ASSERT_EQ(got.size(), want.size());
    EXPECT_TRUE(std::isnan(got[0]));
    for (std::size_t i = 1; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << "step " << i + 1;
}

TEST(ProfileNakedPoc, OlderLevelOnEqualDistance) {
    // Blocks of two flat candles give levels 10 and 12; a close of 11 lies between them.
    const auto got = run_candles("NakedPoc", {2, 3}, {point(10, 1), point(10, 1), point(12, 1), point(12, 1),
                                                       range(10.5, 11.5, 11)});
    EXPECT_EQ(got.back(), 10.0);
}

TEST(ProfileSessions, RangesPerSession) {
    const std::int64_t day = 24 * HOUR;
    const std::vector<Candle> cs = {
        range(8, 10, 9, 1, 1 * HOUR),         // asia
        range(11, 12, 11, 1, 9 * HOUR),       // eu
        range(7, 9, 8, 1, 7 * HOUR + 1),      // asia again (out of order, same day)
        range(4, 5, 4, 1, 17 * HOUR),         // us
        range(6, 7, 6, 1, day + 2 * HOUR),    // new day
    };
    const auto ind = make("SessionRange", {0});
    ASSERT_TRUE(ind);
    const std::vector<std::vector<double>> want = {
        {2, 2, 0, 0}, {2, 2, 1, 0}, {3, 3, 1, 0}, {3, 3, 1, 1}, {1, 1, 0, 0}};
    EXPECT_EQ(run_all(*ind, cs), want);
}

TEST(ProfileSessions, OffsetShiftsHourAndDay) {
    // 07:30 UTC is 08:30 at +60 (eu); 00:30 UTC is 23:30 of the previous day at −60 (us).
    const Candle c = range(1, 3, 2, 1, 7 * HOUR + HOUR / 2);
    EXPECT_EQ(last_outputs("SessionRange", {60}, {c}), (std::vector<double>{0, 2, 0}));
    EXPECT_EQ(last_outputs("SessionRange", {0}, {c}), (std::vector<double>{2, 0, 0}));
    const std::vector<Candle> late = {range(1, 3, 2, 1, 23 * HOUR), range(5, 6, 5, 1, 24 * HOUR + HOUR / 2)};
    // Both fall into the same local day at −60, so the us range spans 1 … 6.
    EXPECT_EQ(last_outputs("SessionRange", {-60}, late), (std::vector<double>{0, 0, 5}));
    EXPECT_EQ(last_outputs("SessionRange", {0}, late), (std::vector<double>{1, 0, 0}));
}

TEST(ProfileSessions, DayHighLow) {
    const std::vector<Candle> cs = {range(9, 10, 9.5, 1, 22 * HOUR), range(8, 9, 8.5, 1, 23 * HOUR),
                                    range(11, 12, 11, 1, 24 * HOUR + HOUR), range(10, 11, 10, 1, 26 * HOUR)};
    const auto utc = make("SessionHighLow", {0});
    const auto east = make("SessionHighLow", {120});  // 22:00 UTC is already the next day
    ASSERT_TRUE(utc && east);
    EXPECT_EQ(run_all(*utc, cs), (std::vector<std::vector<double>>{
                                     {10, 10, 9}, {10, 10, 8}, {12, 12, 11}, {12, 12, 10}}));
    EXPECT_EQ(run_all(*east, cs), (std::vector<std::vector<double>>{
                                      {10, 10, 9}, {10, 10, 8}, {12, 12, 8}, {12, 12, 8}}));
}

TEST(ProfileOpening, RangeFixedAfterN) {
    const std::vector<Candle> cs = {range(8, 10, 9), range(9, 12, 11), range(1, 20, 15), range(30, 31, 30)};
    const auto ib = make("InitialBalance", {2});
    const auto orange = make("OpeningRange", {2});
    ASSERT_TRUE(ib && orange);
    EXPECT_EQ(run_all(*ib, cs), (std::vector<std::vector<double>>{{10, 10, 8}, {12, 12, 8}, {12, 12, 8}, {12, 12, 8}}));
    EXPECT_EQ(run_all(*orange, cs),
              (std::vector<std::vector<double>>{{10, 10, 8, 0}, {12, 12, 8, 1}, {12, 12, 8, 5}, {12, 12, 8, 20}}));
    // The midpoint of two huge prices does not overflow.
    EXPECT_EQ(last_outputs("OpeningRange", {1}, {range(1.4e308, 1.6e308, 1.5e308)}),
              (std::vector<double>{1.6e308, 1.4e308, 0}));
}

TEST(ProfileSupportResistance, VolumeWeightedOrPlain) {
    const std::vector<Candle> cs = {range(8, 10, 9, 1), range(9, 12, 10, 3), range(10, 11, 10, 0),
                                    range(11, 13, 12, 0)};
    const auto ind = make("VolumeWeightedSr", {2});
    ASSERT_TRUE(ind);
    const auto rows = run_all(*ind, cs);
    EXPECT_TRUE(std::isnan(rows[0][0]));
    EXPECT_EQ(rows[1], (std::vector<double>{8.75, 8.75, 11.5}));
    EXPECT_EQ(rows[2], (std::vector<double>{9, 9, 12}));
    // No volume left in the window: the plain means.
    EXPECT_EQ(rows[3], (std::vector<double>{10.5, 10.5, 12}));
}

TEST(ProfileSupportResistance, EqualLowsGiveThatLow) {
    // Σ(v·low)/Σv over these volumes rounds to 100.10000000000001.
    const std::vector<Candle> cs = {range(100.1, 101, 100.5, 0.7), range(100.1, 102, 101, 0.1),
                                    range(100.1, 103, 102, 0.3)};
    EXPECT_EQ(last_outputs("VolumeWeightedSr", {3}, cs)[0], 100.1);
}

}  // namespace
