#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "feed.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

// A candle spanning [low, high] that opens and closes at `close`.
Candle hlc(double high, double low, double close) { return candle(close, high, low, close); }

// A candle whose every price is v.
Candle point(double v) { return candle(v, v, v, v); }

std::vector<Candle> random_candles(std::size_t n, unsigned seed = 13) {
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

// One row per step: the primary value followed by the named outputs; empty without a value.
using Rows = std::vector<std::vector<double>>;

Rows collect(Indicator& ind, const std::vector<Candle>& candles) {
    Rows rows;
    for (const Candle& c : candles) {
        StepView s;
        s.candle = c;
        std::vector<double> row;
        if (auto v = ind.update(s)) {
            row.push_back(*v);
            for (const auto& [name, value] : ind.extra_outputs()) row.push_back(value);
        }
        rows.push_back(row);
    }
    return rows;
}

Rows collect(const Case& c, const std::vector<Candle>& candles) {
    auto ind = make(c.name, c.params);
    return ind ? collect(*ind, candles) : Rows{};
}

// The primary values, NaN where a step has none.
std::vector<double> primary(const Rows& rows) {
    std::vector<double> out;
    for (const auto& r : rows) out.push_back(r.empty() ? NaN : r[0]);
    return out;
}

void expect_values(const std::vector<double>& got, const std::vector<double>& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (std::isnan(want[i])) {
            EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << " got " << got[i];
        } else {
            EXPECT_NEAR(got[i], want[i], 1e-12 * std::max(1.0, std::fabs(want[i]))) << what << " step " << i + 1;
        }
    }
}

const std::vector<Case> all_members{
    {"Adx", {3}},           {"Adxr", {3}},
    {"Aroon", {4}},         {"AroonOscillator", {4}},
    {"Dpo", {6}},           {"Dx", {3}},
    {"ElderRay", {4}},      {"GatorOscillator", {5, 3, 2}},
    {"HeikinAshiOscillator", {4}}, {"IntradayMomentumIndex", {4}},
    {"MinusDi", {3}},       {"MinusDm", {3}},
    {"NewPriceLines", {2}}, {"Pgo", {4}},
    {"PivotReversal", {2, 1}}, {"PlusDi", {3}},
    {"PlusDm", {3}},        {"ProjectionOscillator", {4}},
    {"Qstick", {4}},        {"Rwi", {4}},
    {"ThreeLineBreak", {3}}, {"TtmSqueeze", {4, 2, 1.5}},
    {"TtmTrend", {4}},      {"Vortex", {4}},
    {"WaveTrend", {3, 2, 2}},
};

}  // namespace

// Candle 2 moves up 1 and down −0.5, candle 3 moves neither way, candles 4 and 5 move down 1.
TEST(TrendDirectional, WilderSumsDiAndAdxByHand) {
    const std::vector<Candle> c{hlc(10, 8, 9), hlc(11, 8.5, 10.5), hlc(10.8, 9, 9.5), hlc(10, 8, 8.5),
                                hlc(9, 7, 7.5)};
    // N = 2: TR sums 4.3, 4.15, 4.075; +DM sums 1, 0.5, 0.25; −DM sums 0, 1, 1.5.
    const struct {
        Case c;
        std::vector<double> want;
    } cases[]{
        {{"PlusDm", {2}}, {NaN, NaN, 1, 0.5, 0.25}},
        {{"MinusDm", {2}}, {NaN, NaN, 0, 1, 1.5}},
        {{"PlusDi", {2}}, {NaN, NaN, 100 / 4.3, 50 / 4.15, 25 / 4.075}},
        {{"MinusDi", {2}}, {NaN, NaN, 0, 100 / 4.15, 150 / 4.075}},
        {{"Dx", {2}}, {NaN, NaN, 100, 100.0 / 3, 100 * 1.25 / 1.75}},
        {{"Adxr", {2}}, {NaN, NaN, NaN, NaN, (200.0 / 3 + 69.047619047619051) / 2}},
    };
    for (const auto& k : cases) expect_values(primary(collect(k.c, c)), k.want, label(k.c));
    const Rows adx = collect({"Adx", {2}}, c);
    EXPECT_TRUE(adx[2].empty());
    expect_values(adx[3], {50 / 4.15, 50 / 4.15, 100 / 4.15, 200.0 / 3}, "Adx(2) candle 4");
    expect_values(adx[4], {25 / 4.075, 25 / 4.075, 150 / 4.075, 69.047619047619051}, "Adx(2) candle 5");
}

TEST(TrendDirectional, EqualUpAndDownMovesCountNeither) {
    // Up 1 and down 1: neither is larger, so both movements are 0 and so are DI and DX.
    const std::vector<Candle> c{hlc(10, 8, 9), hlc(11, 7, 9)};
    for (const char* name : {"PlusDm", "MinusDm", "PlusDi", "MinusDi", "Dx"})
        EXPECT_EQ(collect({name, {1}}, c)[1], std::vector<double>{0.0}) << name;
}

TEST(TrendDirectional, AdxReportsFromCandle2NWithPlusDiAsPrimary) {
    const auto candles = random_candles(80);
    auto adx = make("Adx", {14});
    ASSERT_TRUE(adx);
    const Rows rows = collect(*adx, candles);
    EXPECT_EQ(first_value_at(primary(rows)), 28u);
    EXPECT_EQ(adx->warmup_period(), 28u);
    const auto plus = primary(collect({"PlusDi", {14}}, candles));
    const auto minus = primary(collect({"MinusDi", {14}}, candles));
    const auto dx = primary(collect({"Dx", {14}}, candles));
    // The ADX starts as the mean of the first 14 DX values and then smooths them by Wilder.
    double seed = 0.0;
    for (std::size_t i = 14; i < 28; ++i) seed += dx[i];
    double want = seed / 14;
    for (std::size_t i = 27; i < rows.size(); ++i) {
        if (i > 27) want = (dx[i] + 13 * want) / 14;
        ASSERT_EQ(rows[i].size(), 4u);
        EXPECT_EQ(rows[i][0], plus[i]) << "candle " << i + 1;
        EXPECT_EQ(rows[i][1], plus[i]) << "candle " << i + 1;
        EXPECT_EQ(rows[i][2], minus[i]) << "candle " << i + 1;
        EXPECT_NEAR(rows[i][3], want, 1e-9) << "candle " << i + 1;
    }
    // ADXR is the midpoint of the ADX and the ADX 13 steps earlier.
    const auto adxr = primary(collect({"Adxr", {14}}, candles));
    EXPECT_EQ(first_value_at(adxr), 41u);
    for (std::size_t i = 40; i < rows.size(); ++i) EXPECT_EQ(adxr[i], (rows[i][3] + rows[i - 13][3]) * 0.5);
}

TEST(TrendDirectional, ZeroRangesGiveZeroDiAndDx) {
    const std::vector<Candle> flat(8, point(50));
    for (const char* name : {"PlusDi", "MinusDi", "Dx", "PlusDm", "MinusDm"})
        EXPECT_EQ(collect({name, {3}}, flat).back(), std::vector<double>{0.0}) << name;
    EXPECT_EQ(collect({"Adx", {3}}, flat).back(), (std::vector<double>{0, 0, 0, 0}));
}

// A candle whose range overflows a double would turn the Wilder sums into NaN for good.
TEST(TrendDirectional, OverflowingCandleIsDropped) {
    auto candles = random_candles(30);
    auto dirty = candles;
    dirty.insert(dirty.begin() + 12, candle(0, 1.5e308, -1.5e308, 0));
    for (const char* name : {"Adx", "Dx", "PlusDm"}) {
        const Rows want = collect({name, {3}}, candles);
        Rows got = collect({name, {3}}, dirty);
        EXPECT_TRUE(got[12].empty()) << name;
        got.erase(got.begin() + 12);
        EXPECT_EQ(got, want) << name;
    }
}

TEST(TrendAroon, PositionsOfTheExtremesWithTiesToTheMostRecent) {
    // Highs 5 7 7 6: the later 7 counts (position 2 of 3); lows 4 3 5 3: the later 3 (position 3).
    const std::vector<Candle> c{hlc(5, 4, 4.5), hlc(7, 3, 5), hlc(7, 5, 6), hlc(6, 3, 4), hlc(8, 4, 7)};
    const Rows rows = collect({"Aroon", {3}}, c);
    EXPECT_TRUE(rows[2].empty());
    expect_values(rows[3], {200.0 / 3, 200.0 / 3, 100}, "candle 4");
    expect_values(rows[4], {100, 100, 200.0 / 3}, "candle 5");
    expect_values(primary(collect({"AroonOscillator", {3}}, c)), {NaN, NaN, NaN, 200.0 / 3 - 100, 100 - 200.0 / 3},
                  "AroonOscillator(3)");
}

TEST(TrendVortex, MovementsOverTrueRanges) {
    const std::vector<Candle> c{hlc(10, 8, 9), hlc(11, 9, 10), hlc(12, 10, 11), hlc(11, 9, 9.5)};
    const Rows rows = collect({"Vortex", {2}}, c);
    EXPECT_TRUE(rows[1].empty());
    EXPECT_EQ(rows[2], (std::vector<double>{1.5, 1.5, 0.5}));
    EXPECT_EQ(rows[3], (std::vector<double>{1, 1, 1}));
    const std::vector<Candle> flat(6, point(7));
    EXPECT_EQ(collect({"Vortex", {3}}, flat).back(), (std::vector<double>{0, 0, 0}));
}

TEST(TrendRwi, BestLookBackAgainstTheRandomWalk) {
    // True ranges 2, 2, 3: ATR 7/3. k = 1: (13 − 9)/ATR and (11 − 10)/ATR; k = 2: (13 − 8)/(ATR·√2), 0.
    const std::vector<Candle> c{hlc(10, 8, 9), hlc(11, 9, 10), hlc(13, 10, 12)};
    const Rows rows = collect({"Rwi", {3}}, c);
    EXPECT_TRUE(rows[1].empty());
    expect_values(rows[2], {12.0 / 7, 12.0 / 7, 3.0 / 7}, "Rwi(3)");
    // A falling newest candle: the high ratio is floored at 0.
    const Rows down = collect({"Rwi", {2}}, {hlc(10, 9, 9.5), hlc(8, 6, 6.5)});
    EXPECT_EQ(down[1][1], 0.0);
    // Windows without any true range have no scale: no value.
    const std::vector<Candle> flat(5, point(3));
    for (const auto& r : collect({"Rwi", {3}}, flat)) EXPECT_TRUE(r.empty());
}

TEST(TrendOscillators, KnownValues) {
    const std::vector<Candle> c{hlc(10, 8, 9), hlc(11, 9, 10.5), hlc(12, 10, 11.5), hlc(11.5, 9.5, 10),
                                hlc(13, 11, 12.5)};
    const struct {
        Case c;
        std::vector<Candle> candles;
        std::vector<double> want;
    } cases[]{
        // TR 2, 2, 2, 2, 2.5 → EMA(2) 2, 2, 2, 7/3 (SMA seed); closes less their 2-close average.
        {{"Pgo", {2}}, c, {NaN, 0.375, 0.25, -0.375, 0.46874999999999994}},
        // Closes 1 2 4 8 16: the close 3 bars back less the 4-close average.
        {{"Dpo", {4}}, {point(1), point(2), point(4), point(8), point(16)}, {NaN, NaN, NaN, 1 - 3.75, 2 - 7.5}},
        {{"Dpo", {2}}, {point(1), point(2), point(4), point(8)}, {NaN, NaN, 1 - 3, 2 - 6}},
        {{"Qstick", {2}}, {candle(1, 3, 1, 2), candle(4, 4, 0, 1), candle(1, 3, 1, 3)}, {NaN, -1, -0.5}},
        // Bodies +1, −1, +2: up 3 of 4.
        {{"IntradayMomentumIndex", {3}}, {candle(1, 2, 1, 2), candle(2, 2, 1, 1), candle(1, 3, 1, 3)}, {NaN, NaN, 75}},
        // Midpoints 10, 11, 11, 11 against closes 11, 10.5, 11 (equality is −1).
        {{"TtmTrend", {2}}, {hlc(11, 9, 10.5), hlc(12, 10, 11), hlc(12, 10, 10.5), hlc(12, 10, 11)}, {NaN, 1, -1, -1}},
        // Highs 10, 12 project to 12, 12; lows 8, 9 to 9, 9.
        {{"ProjectionOscillator", {2}}, {hlc(10, 8, 9), hlc(12, 9, 11)}, {NaN, 100.0 * 2 / 3}},
        // Heikin-Ashi bodies 0 and 1 (close 11.5, open the midpoint 10.5 of the first).
        {{"HeikinAshiOscillator", {1}}, {candle(10, 12, 9, 11), candle(11, 13, 10, 12)}, {0, 1}},
        {{"HeikinAshiOscillator", {2}}, {candle(10, 12, 9, 11), candle(11, 13, 10, 12)}, {NaN, 0.5}},
    };
    for (const auto& k : cases) expect_values(primary(collect(k.c, k.candles)), k.want, label(k.c));
}

TEST(TrendOscillators, ElderRayAndGatorOutputs) {
    const Rows elder = collect({"ElderRay", {2}}, {hlc(11, 9, 10), hlc(13, 11, 12), hlc(15, 13, 14)});
    EXPECT_TRUE(elder[0].empty());
    expect_values(elder[1], {2, 2, 0}, "ElderRay(2) candle 2");
    expect_values(elder[2], {2, 2, 0}, "ElderRay(2) candle 3");
    // The gator reads the Alligator lines: |jaw − teeth| above, −|teeth − lips| below.
    const auto candles = random_candles(40);
    const Rows lines = collect({"Alligator", {8, 5, 3}}, candles);
    const Rows gator = collect({"GatorOscillator", {8, 5, 3}}, candles);
    for (std::size_t i = 0; i < candles.size(); ++i) {
        ASSERT_EQ(gator[i].empty(), lines[i].empty()) << "candle " << i + 1;
        if (gator[i].empty()) continue;
        const double upper = std::fabs(lines[i][1] - lines[i][2]);
        EXPECT_EQ(gator[i], (std::vector<double>{upper, upper, -std::fabs(lines[i][2] - lines[i][3])}));
    }
}

TEST(TrendOscillators, PgoWaitsForARange) {
    // No range and no gap: the range average is 0 and there is no earlier value to repeat.
    const Rows rows = collect({"Pgo", {2}}, {point(5), point(5), point(6)});
    EXPECT_TRUE(rows[1].empty());
    expect_values(rows[2], {(6 - 5.5) / (2.0 / 3)}, "Pgo(2) candle 3");
}

TEST(TrendTtmSqueeze, BandsAndMomentum) {
    const std::vector<Candle> c{hlc(10, 8, 9), hlc(11, 9, 10.5), hlc(12, 10, 11.5), hlc(11.5, 9.5, 10),
                                hlc(13, 11, 12.5)};
    const std::vector<double> momentum{1.4166666666666661, -0.16666666666666607, 0.54166666666666607};
    // ATR 2, 2, 7/3 against σ 1.03, 0.62, 1.03: range bands of 1.5·ATR hold 2σ, of 0.5·ATR not.
    for (double k_kc : {1.5, 0.5}) {
        const Rows rows = collect({"TtmSqueeze", {3, 2, k_kc}}, c);
        EXPECT_TRUE(rows[1].empty());
        for (std::size_t i = 2; i < 5; ++i)
            expect_values(rows[i], {k_kc > 1 ? 1.0 : 0.0, k_kc > 1 ? 1.0 : 0.0, momentum[i - 2]},
                          "TtmSqueeze k_kc " + std::to_string(k_kc) + " candle " + std::to_string(i + 1));
    }
}

// Six closes of 100.1: Bollinger and range bands coincide, which is a squeeze, and nothing moves.
TEST(TrendTtmSqueeze, FlatWindowIsASqueezeWithoutMomentum) {
    auto varied = random_candles(20);
    std::vector<Candle> tail(6, point(100.1));
    varied.insert(varied.end(), tail.begin(), tail.end());
    for (const auto& candles : {tail, varied})
        EXPECT_EQ(collect({"TtmSqueeze", {6, 2, 1.5}}, candles).back(), (std::vector<double>{1, 1, 0}));
}

TEST(TrendWaveTrend, ChannelIndexSmoothed) {
    const std::vector<Candle> c{hlc(10, 8, 9),  hlc(11, 9, 10.5), hlc(12, 10, 11.5), hlc(11.5, 9.5, 10),
                                hlc(13, 11, 12.5), hlc(14, 12, 13), hlc(13.5, 11, 12)};
    auto wt = make("WaveTrend", {2, 2, 2});
    ASSERT_TRUE(wt);
    EXPECT_EQ(wt->warmup_period(), 5u);
    const Rows rows = collect(*wt, c);
    EXPECT_TRUE(rows[3].empty());
    expect_values(rows[4], {60.762373413207833, 60.762373413207833, 39.507202966766556}, "candle 5");
    expect_values(rows[5], {64.73101011583816, 64.73101011583816, 62.746691764522993}, "candle 6");
    expect_values(rows[6], {-1.094801380783732, -1.094801380783732, 31.818104367527212}, "candle 7");
    // A flat series has no deviation: the channel index is 0, not residue over residue.
    EXPECT_EQ(collect({"WaveTrend", {3, 2, 2}}, std::vector<Candle>(12, point(100.1))).back(),
              (std::vector<double>{0, 0, 0}));
}

TEST(TrendPivotReversal, CrossesOfTheLastPivots) {
    // Candle 2 is a pivot high (12) once candle 3 is in; candle 3 a pivot low (9.8) once candle 4 is.
    const std::vector<Candle> c{hlc(10, 9, 9.5),    hlc(12, 10, 11),  hlc(11, 9.8, 10),
                                hlc(12.5, 11, 12.4), hlc(12.5, 9, 9.5), hlc(10, 9, 9.6)};
    expect_values(primary(collect({"PivotReversal", {1, 1}}, c)), {NaN, NaN, 0, 1, -1, 0}, "PivotReversal(1,1)");
    // Equal highs are no pivot.
    const std::vector<Candle> tie{hlc(10, 9, 9.5), hlc(12, 10, 11), hlc(12, 10, 10), hlc(13, 11, 12.5)};
    expect_values(primary(collect({"PivotReversal", {1, 1}}, tie)), {NaN, NaN, 0, 0}, "equal highs");
}

TEST(TrendLines, ThreeLineBreakAndNewPriceLines) {
    const std::vector<double> closes{10, 11, 12, 11.5, 13, 10.5, 10.8, 9, 13.5};
    std::vector<Candle> c;
    for (double x : closes) c.push_back(point(x));
    // 11.5 is neither a new high nor below every line; 10.5 breaks below the lines 11, 12, 13;
    // 13.5 breaks above 13, 10.5, 9.
    expect_values(primary(collect({"ThreeLineBreak", {3}}, c)), {NaN, 1, 1, 1, 1, -1, -1, -1, 1}, "ThreeLineBreak(3)");
    expect_values(primary(collect({"ThreeLineBreak", {3}}, {point(10), point(10), point(9)})), {NaN, NaN, -1},
                  "no direction before a move");
    std::vector<Candle> n;
    for (double x : {1, 2, 3, 3, 2, 1, 0}) n.push_back(point(x));
    expect_values(primary(collect({"NewPriceLines", {2}}, n)), {NaN, 0, -1, 0, 0, 1, 1}, "NewPriceLines(2)");
}

// Windows whose candles have no bodies or only one kind give the documented values exactly,
// also after a varied history.
TEST(TrendFlatWindows, DocumentedFallbacks) {
    auto varied = random_candles(23);
    auto with = [&](const std::vector<Candle>& tail) {
        auto all = varied;
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    const std::vector<Candle> flat(8, point(100.1));
    const std::vector<Candle> ups(8, candle(100.1, 100.4, 100.1, 100.3));
    const struct {
        Case c;
        std::vector<Candle> tail;
        double want;
    } cases[]{
        {{"IntradayMomentumIndex", {4}}, flat, 50},  {{"IntradayMomentumIndex", {4}}, ups, 100},
        {{"ProjectionOscillator", {4}}, flat, 50},   {{"Qstick", {4}}, flat, 0},
        {{"Dpo", {4}}, flat, 0},                     {{"TtmTrend", {4}}, flat, -1},
        {{"AroonOscillator", {3}}, flat, 0},
    };
    for (const auto& k : cases) {
        for (const auto& candles : {k.tail, with(k.tail)}) {
            const Rows rows = collect(k.c, candles);
            ASSERT_FALSE(rows.back().empty()) << label(k.c);
            EXPECT_EQ(rows.back()[0], k.want) << label(k.c) << " over " << candles.size() << " candles";
        }
    }
    // After a varied history the Heikin-Ashi open only approaches a flat price; from the start it is on it.
    EXPECT_EQ(collect({"HeikinAshiOscillator", {3}}, flat).back(), std::vector<double>{0.0});
}

TEST(TrendOutputs, NamedOutputsInCatalogueOrder) {
    const struct {
        Case c;
        std::vector<std::string> names;
    } cases[]{
        {{"Adx", {2}}, {"plus_di", "minus_di", "adx"}}, {{"Aroon", {2}}, {"up", "down"}},
        {{"Vortex", {2}}, {"plus", "minus"}},            {{"Rwi", {2}}, {"high", "low"}},
        {{"ElderRay", {2}}, {"bull_power", "bear_power"}}, {{"GatorOscillator", {3, 2, 1}}, {"upper", "lower"}},
        {{"TtmSqueeze", {2, 2, 1.5}}, {"squeeze", "momentum"}}, {{"WaveTrend", {1, 1, 1}}, {"wt1", "wt2"}},
        {{"Dx", {2}}, {}},
    };
    for (const auto& k : cases) {
        auto ind = make(k.c.name, k.c.params);
        ASSERT_TRUE(ind) << label(k.c);
        const Rows rows = collect(*ind, random_candles(12));
        ASSERT_FALSE(rows.back().empty()) << label(k.c);
        std::vector<std::string> names;
        for (const auto& [name, value] : ind->extra_outputs()) names.push_back(name);
        EXPECT_EQ(names, k.names) << label(k.c);
        if (!k.names.empty()) {
            EXPECT_EQ(rows.back()[0], rows.back()[1]) << label(k.c);
        }
    }
}

TEST(TrendWarmup, FirstValueAtWarmupPeriod) {
    const struct {
        Case c;
        std::size_t warmup;
    } cases[]{
        {{"Adx", {3}}, 6},          {{"Adx", {1}}, 2},          {{"Adxr", {3}}, 8},
        {{"Adxr", {1}}, 2},         {{"Dx", {3}}, 4},           {{"PlusDi", {3}}, 4},
        {{"MinusDi", {3}}, 4},      {{"PlusDm", {3}}, 4},       {{"MinusDm", {3}}, 4},
        {{"Aroon", {4}}, 5},        {{"AroonOscillator", {1}}, 2}, {{"Vortex", {4}}, 5},
        {{"Rwi", {4}}, 4},          {{"ElderRay", {4}}, 4},     {{"GatorOscillator", {5, 3, 2}}, 5},
        {{"GatorOscillator", {2, 7, 3}}, 7}, {{"TtmSqueeze", {4, 2, 1.5}}, 4}, {{"TtmTrend", {4}}, 4},
        {{"WaveTrend", {3, 2, 2}}, 7}, {{"WaveTrend", {1, 1, 1}}, 1}, {{"Dpo", {6}}, 6},
        {{"Dpo", {2}}, 3},          {{"Dpo", {1}}, 2},          {{"Dpo", {3}}, 3},
        {{"Qstick", {4}}, 4},       {{"Pgo", {4}}, 4},          {{"ProjectionOscillator", {4}}, 4},
        {{"HeikinAshiOscillator", {4}}, 4}, {{"IntradayMomentumIndex", {4}}, 4},
        {{"PivotReversal", {2, 1}}, 4}, {{"ThreeLineBreak", {3}}, 2}, {{"NewPriceLines", {3}}, 2},
    };
    // Steadily rising closes, so the three-line break turns up on the second candle.
    std::vector<Candle> candles = random_candles(40);
    for (std::size_t i = 0; i < candles.size(); ++i) {
        const double shift = 2.0 * static_cast<double>(i);
        candles[i] = candle(candles[i].open + shift, candles[i].high + shift, candles[i].low + shift,
                            candles[i].close + shift);
    }
    for (const auto& k : cases) {
        auto ind = make(k.c.name, k.c.params);
        ASSERT_TRUE(ind) << label(k.c);
        EXPECT_EQ(ind->warmup_period(), k.warmup) << label(k.c);
        const auto values = primary(collect(*ind, candles));
        EXPECT_EQ(first_value_at(values), k.warmup) << label(k.c);
        for (std::size_t i = k.warmup; i < values.size(); ++i) EXPECT_FALSE(std::isnan(values[i])) << label(k.c) << " step " << i + 1;
    }
}

// An invalid candle (or a non-finite close for Dpo) changes nothing: the other steps are as
// without it.
TEST(TrendSkipping, UnusableInputsLeaveNoTrace) {
    const auto clean = random_candles(60);
    const std::vector<std::size_t> at{0, 1, 3, 9, 30, 31};
    for (const Case& c : all_members) {
        auto a = make(c.name, c.params);
        auto b = make(c.name, c.params);
        ASSERT_TRUE(a && b) << label(c);
        const bool closes = a->input_kind() == InputKind::Close;
        std::vector<Candle> dirty;
        std::vector<bool> inserted;
        for (std::size_t i = 0, k = 0; i < clean.size(); ++i) {
            for (; k < at.size() && at[k] == i; ++k) {
                Candle bad = clean[i];
                if (closes) bad.close = k % 2 ? Inf : NaN;
                else if (k % 2) bad.low = bad.high + 1;
                else bad.volume = -1;
                dirty.push_back(bad);
                inserted.push_back(true);
            }
            dirty.push_back(clean[i]);
            inserted.push_back(false);
        }
        const Rows want = collect(*a, clean);
        const Rows got = collect(*b, dirty);
        for (std::size_t i = 0, j = 0; i < got.size(); ++i) {
            if (inserted[i]) {
                EXPECT_TRUE(got[i].empty()) << label(c) << " inserted step " << i + 1;
                continue;
            }
            EXPECT_EQ(got[i], want[j]) << label(c) << " clean step " << j + 1;
            ++j;
        }
    }
}

TEST(TrendConstruction, Messages) {
    const std::string zero = "period must be greater than zero";
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const struct {
        Case c;
        std::string want;  // "ok" or the detail after "invalid parameters for indicator {name}: "
    } cases[]{
        {{"Rwi", {1}}, "invalid period: RWI requires period >= 2"},
        {{"Rwi", {1e-20}}, zero},
        {{"Rwi", {2}}, "ok"},
        {{"TtmSqueeze", {1, 2, 1.5}}, "invalid period: TTM squeeze needs period >= 2 for the momentum regression"},
        {{"TtmSqueeze", {1e-20, 2, 1.5}}, zero},
        {{"TtmSqueeze", {16777217, 2, 1.5}}, max},
        {{"TtmSqueeze", {2, -1, 0}}, "ok"},
        {{"NewPriceLines", {1}}, "invalid period: new price lines count must be >= 2"},
        {{"NewPriceLines", {1e-20}}, zero},
        {{"ProjectionOscillator", {1}}, "invalid period: projection bands need period >= 2"},
        {{"ProjectionOscillator", {16777217}}, max},
        // N + 1 candles are held.
        {{"Aroon", {16777216}}, max},
        {{"Aroon", {16777215}}, "ok"},
        {{"AroonOscillator", {16777216}}, max},
        // left + right + 1 candles are held.
        {{"PivotReversal", {8388608, 8388608}}, max},
        {{"PivotReversal", {8388608, 8388607}}, "ok"},
        {{"PivotReversal", {1e-20, 2}}, zero},
        {{"PivotReversal", {2, 16777217}}, max},
        {{"WaveTrend", {10, 1e-20, 4}}, zero},
        {{"WaveTrend", {10, 21, 16777217}}, max},
        {{"GatorOscillator", {13, 8, 1e-20}}, zero},
        {{"GatorOscillator", {16777217, 8, 5}}, max},
        {{"Adx", {1e-20}}, zero},
        {{"Adx", {16777216}}, "ok"},
        {{"Adxr", {16777217}}, max},
        {{"Dx", {16777217}}, max},
        {{"PlusDm", {1e-20}}, zero},
        {{"Dpo", {16777216}}, "ok"},
        {{"Dpo", {16777217}}, max},
        {{"ThreeLineBreak", {1e-20}}, zero},
        {{"Qstick", {16777217}}, max},
    };
    for (const auto& k : cases) {
        const std::string want =
            k.want == "ok" ? k.want : "invalid parameters for indicator " + std::string(k.c.name) + ": " + k.want;
        EXPECT_EQ(create_error(k.c.name, k.c.params), want) << label(k.c);
    }
}
