#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "feed.hpp"
#include "indicators/core/catalogue.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

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

// Column j of the rows (0 = primary), NaN where a step has no value.
std::vector<double> column(const Rows& rows, std::size_t j) {
    std::vector<double> out;
    for (const auto& r : rows) out.push_back(r.empty() ? NaN : r[j]);
    return out;
}

// The named outputs of a row, without the primary value in front.
std::vector<double> named(const std::vector<double>& row) {
    return row.empty() ? row : std::vector<double>(row.begin() + 1, row.end());
}

// Closes from `start` down by 1 per bar, each bar spanning close ± 1.
std::vector<Candle> falling(double start, std::size_t n) {
    std::vector<Candle> out;
    for (std::size_t i = 0; i < n; ++i) out.push_back(bar(start - static_cast<double>(i)));
    return out;
}

std::vector<Candle> bars_of(const std::vector<double>& closes) {
    std::vector<Candle> out;
    for (double c : closes) out.push_back(bar(c));
    return out;
}

// A bar given by its high and low only.
Candle span(double h, double l) { return candle(l, h, l, l); }

// A deterministic walk with bodies of both colours, shadows and varying volume.
std::vector<Candle> mixed_series(std::size_t n) {
    std::uint64_t s = 11;
    const auto next = [&s] {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>((s >> 33) % 1000) / 1000.0;
    };
    std::vector<Candle> out;
    double close = 100.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double open = close + (next() - 0.5);
        close = close + 2.0 * (next() - 0.5);
        const double high = std::max(open, close) + next();
        const double low = std::min(open, close) - next();
        out.push_back(candle(open, high, low, close, 10.0 * next()));
    }
    return out;
}

const std::vector<Case>& members() {
    static const std::vector<Case> all{
        {"TdSetup", {4, 9}},       {"TdSequential", {4, 9, 2, 13}}, {"TdCountdown", {4, 9, 2, 13}},
        {"TdCombo", {4, 9, 2, 13}}, {"TdLines", {2, 3}},            {"TdRiskLevel", {2, 3}},
        {"TdDWave", {1}},          {"TdDeMarker", {3}},             {"TdPressure", {3}},
        {"TdRei", {3}},            {"TdMovingAverage", {2, 5}},     {"TdRangeProjection", {}},
        {"TdCamouflage", {}},      {"TdClop", {}},                  {"TdClopwin", {}},
        {"TdOpen", {}},            {"TdPropulsion", {}},            {"TdTrap", {}},
        {"TdDifferential", {}},
    };
    return all;
}

}  // namespace

TEST(SequentialSetup, FallingSeriesCountsUpAndSaturates) {
    std::vector<Candle> k = falling(100, 16);
    k.push_back(bar(k[k.size() - 4].close));  // equal to the close four bars earlier
    const std::vector<double> want{NaN, NaN, NaN, NaN, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9, 9, 0};
    const auto got = run_candles("TdSetup", {4, 9}, k);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_TRUE(std::isnan(want[i]) ? std::isnan(got[i]) : got[i] == want[i]) << i;

    std::vector<Candle> rising;
    for (int i = 0; i < 8; ++i) rising.push_back(bar(10.0 + i));
    EXPECT_EQ(run_candles("TdSetup", {1, 3}, rising)[7], -3.0);
    EXPECT_EQ(run_candles("TdSetup", {1, 3}, rising)[1], -1.0);
}

// Countdown bar 8 of 13 fixes the reference close; bar 13 needs a low at or below it.
TEST(SequentialCountdown, BuySetupThenCountdownWithReferenceClose) {
    std::vector<Candle> k = falling(100, 24);  // closes 100 .. 77
    for (double c : {90.0, 95.0, 85.0, 80.0, 60.0}) k.push_back(bar(c));
    const Rows rows = collect({"TdSequential", {4, 9, 2, 13}}, k);
    ASSERT_EQ(rows.size(), 29u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_TRUE(rows[i].empty()) << i;
    const std::vector<std::vector<double>> want{
        {1, 0, 0},  // bar 5
        {2, 0, 0},  {3, 0, 0},  {4, 0, 0}, {5, 0, 0}, {6, 0, 0}, {7, 0, 0}, {8, 0, 0},
        {9, 1, 1},  // the setup completes and counts as the first countdown bar
        {9, 2, 1},  {9, 3, 1},  {9, 4, 1}, {9, 5, 1}, {9, 6, 1}, {9, 7, 1},
        {9, 8, 1},  // reference close 81
        {9, 9, 1},  {9, 10, 1}, {9, 11, 1}, {9, 12, 1},
        {-1, 12, 1},  // 90: above the low two bars earlier
        {-2, 12, 1},
        {-3, 12, 1},  // 85: a countdown bar, but its low 84 is above 81
        {-4, 13, 1},  // 80: low 79 reaches the reference
        {1, 13, 1},   // the countdown stays at 13
    };
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(named(rows[4 + i]), want[i]) << "bar " << 5 + i;
}

TEST(SequentialCountdown, OppositeSetupResetsAndFlipsDirection) {
    std::vector<Candle> k = falling(100, 16);
    for (int i = 1; i <= 14; ++i) k.push_back(bar(85.0 + i));
    const Rows rows = collect({"TdSequential", {4, 9, 2, 13}}, k);
    std::size_t flip = 0;
    for (std::size_t i = 0; i < rows.size() && !flip; ++i)
        if (!rows[i].empty() && rows[i][3] == -1.0) flip = i;
    ASSERT_GT(flip, 0u);
    EXPECT_EQ(rows[flip - 1][3], 1.0);
    EXPECT_GT(rows[flip - 1][2], 0.0);
    // The flip bar completes the sell setup and is itself a sell countdown bar.
    EXPECT_EQ(named(rows[flip]), (std::vector<double>{-9, -1, -1}));
    EXPECT_EQ(named(rows[flip + 1]), (std::vector<double>{-9, -2, -1}));
}

// The countdown alone equals TdSequential's countdown; TdCombo also wants a lower close and
// a low at or below the previous low.
TEST(SequentialCountdown, CountdownAndComboAgainstSequential) {
    const auto mixed = mixed_series(400);
    const Rows seq = collect({"TdSequential", {2, 3, 2, 4}}, mixed);
    EXPECT_EQ(column(collect({"TdCountdown", {2, 3, 2, 4}}, mixed), 0).size(), seq.size());
    const auto countdown = column(collect({"TdCountdown", {2, 3, 2, 4}}, mixed), 0);
    const auto seq_countdown = column(seq, 2);
    std::size_t nonzero = 0;
    for (std::size_t i = 0; i < seq.size(); ++i) {
        EXPECT_TRUE(std::isnan(countdown[i]) ? std::isnan(seq_countdown[i]) : countdown[i] == seq_countdown[i]) << i;
        nonzero += std::isfinite(countdown[i]) && countdown[i] != 0.0;
    }
    EXPECT_GT(nonzero, 10u);

    // Falling bars: close 88 after 89; then a lower close whose low is above the previous low.
    std::vector<Candle> k = falling(100, 13);
    k.push_back(candle(87.5, 88.0, 87.5, 87.5));
    const auto combo = run_candles("TdCombo", {4, 9, 2, 13}, k);
    const auto sequential = run_candles("TdCountdown", {4, 9, 2, 13}, k);
    EXPECT_EQ(combo[12], 1.0);
    EXPECT_EQ(combo[13], 1.0);
    EXPECT_EQ(sequential[13], 2.0);
    // Short countdowns have no reference close and count through.
    EXPECT_EQ(run_candles("TdCountdown", {1, 2, 1, 3}, falling(50, 8))[7], 3.0);
    EXPECT_EQ(run_candles("TdCombo", {4, 9, 2, 13}, falling(100, 40))[39], 13.0);
}

TEST(SequentialLines, LevelsFromCompletedSetups) {
    // Buy run from bar 3 (highest high 9) completes at bar 5; an equal close; a sell run from
    // bar 7 (lowest low 7) completes at bar 9.
    const Rows rows = collect({"TdLines", {2, 3}}, bars_of({10, 9, 8, 7, 6, 7, 8, 9, 10}));
    for (std::size_t i = 0; i < 4; ++i) EXPECT_TRUE(rows[i].empty()) << i;
    ASSERT_EQ(rows[4].size(), 3u);
    EXPECT_EQ(rows[4][0], 9.0);
    EXPECT_EQ(rows[4][1], 9.0);
    EXPECT_TRUE(std::isnan(rows[4][2]));
    EXPECT_EQ(rows[5][0], 9.0);
    EXPECT_EQ(rows[8], (std::vector<double>{9, 9, 7}));
    // Only a sell setup: the primary value is the missing resistance.
    const Rows up = collect({"TdLines", {1, 2}}, bars_of({1, 2, 3}));
    ASSERT_EQ(up[2].size(), 3u);
    EXPECT_TRUE(std::isnan(up[2][0]));
    EXPECT_EQ(up[2][2], 1.0);
    EXPECT_TRUE(collect({"TdLines", {2, 3}}, bars_of({10, 9, 8, 7}))[3].empty());
}

TEST(SequentialRiskLevel, ExtremeBarsRangeBeyondTheRun) {
    // Lows 7, 6, then 6 again with a smaller range: the first bar with low 6 (range 2) stays.
    std::vector<Candle> k = bars_of({10, 9, 8, 7});
    k.push_back(candle(6, 6.5, 6, 6));
    for (double c : {7.0, 8.0, 9.0, 10.0}) k.push_back(bar(c));
    const Rows rows = collect({"TdRiskLevel", {2, 3}}, k);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_TRUE(rows[i].empty()) << i;
    ASSERT_EQ(rows[4].size(), 3u);
    EXPECT_EQ(rows[4][0], 4.0);
    EXPECT_TRUE(std::isnan(rows[4][2]));
    // Equal close at bar 6 keeps the level; the sell run's highest high 11 with range 2.
    EXPECT_EQ(rows[5][0], 4.0);
    EXPECT_EQ(rows[8], (std::vector<double>{4, 4, 13}));
}

TEST(SequentialDWave, LegsAdvanceTheWaveNumber) {
    // Alternating swings: every bar from the third starts a new leg; the count wraps after 8.
    std::vector<double> closes;
    for (int i = 0; i < 12; ++i) closes.push_back(i % 2 ? 3.0 : 1.0);
    const auto alt = run_candles("TdDWave", {1}, bars_of(closes));
    const std::vector<double> want{NaN, NaN, 1, 2, 3, 4, 5, 6, 7, 8, 1, 2};
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_TRUE(std::isnan(want[i]) ? std::isnan(alt[i]) : alt[i] == want[i]) << i;
    // A second swing high while the leg is up only raises it; a swing low starts wave 2.
    const auto same = run_candles("TdDWave", {1},
                                  {span(1, 0), span(3, 0), span(2, 0), span(4, 0), span(1, 0), span(1, -1), span(1, 0)});
    EXPECT_TRUE(std::isnan(same[1]));
    EXPECT_EQ(same[2], 1.0);
    EXPECT_EQ(same[4], 1.0);
    EXPECT_EQ(same[5], 1.0);
    EXPECT_EQ(same[6], 2.0);
    // An outside bar is a swing both ways, so no leg.
    EXPECT_EQ(first_value_at(run_candles("TdDWave", {1}, {span(1, 0), span(5, -5), span(1, 0)})), 0u);
}

TEST(SequentialRangeOscillators, Examples) {
    // DeMarker: up 1 then 0, down 0 then 2.
    const auto dem = run_candles("TdDeMarker", {2}, {span(10, 8), span(11, 9), span(10.5, 7)});
    EXPECT_TRUE(std::isnan(dem[1]));
    EXPECT_DOUBLE_EQ(dem[2], 0.5 / 1.5);
    EXPECT_EQ(run_candles("TdDeMarker", {3}, bars_of({5, 5, 5, 5, 5, 5}))[5], 0.5);

    // Pressure: (1/4)·100 = 25 and (2/2)·300 = 300 against volumes 100 and 300.
    const auto pr = run_candles("TdPressure", {2}, {candle(10, 12, 8, 11, 100), candle(11, 13, 11, 13, 300)});
    EXPECT_TRUE(std::isnan(pr[0]));
    EXPECT_EQ(pr[1], 81.25);
    EXPECT_EQ(run_candles("TdPressure", {2}, {candle(10, 12, 8, 11, 0), candle(11, 13, 11, 13, 0)})[1], 0.0);
    EXPECT_EQ(run_candles("TdPressure", {1}, {candle(5, 5, 5, 5, 7)})[0], 0.0);

    // Rei: bars 1..8 at closes 10..17, then an overlapping bar (term −4, abs 4) and a wide one
    // (term 1, abs 3).
    std::vector<Candle> k = bars_of({10, 11, 12, 13, 14, 15, 16, 17, 14});
    EXPECT_EQ(first_value_at(run_candles("TdRei", {1}, k)), 9u);
    EXPECT_EQ(run_candles("TdRei", {1}, k)[8], -100.0);
    k.push_back(candle(16, 20, 15, 16));
    EXPECT_DOUBLE_EQ(run_candles("TdRei", {2}, k)[9], -300.0 / 7.0);
    EXPECT_EQ(run_candles("TdRei", {2}, bars_of(std::vector<double>(12, 3.0)))[11], 0.0);
}

TEST(SequentialMovingAverage, TwoAveragesOfTheMidpoint) {
    const Rows rows = collect({"TdMovingAverage", {2, 3}}, bars_of({1, 2, 3, 4}));
    EXPECT_TRUE(rows[1].empty());
    EXPECT_EQ(rows[2], (std::vector<double>{2.5, 2.5, 2}));
    EXPECT_EQ(rows[3], (std::vector<double>{3.5, 3.5, 3}));
    // A constant midpoint averages to itself, without rounding residue.
    const Rows flat = collect({"TdMovingAverage", {3, 7}}, std::vector<Candle>(200, candle(0.1, 0.3, 0.1, 0.2)));
    const double mid = (0.3 + 0.1) * 0.5;
    for (std::size_t i = 6; i < flat.size(); ++i) EXPECT_EQ(flat[i], (std::vector<double>{mid, mid, mid})) << i;
}

TEST(SequentialRangeProjection, PivotByCandleColour) {
    struct P {
        Candle k;
        double high;
        double low;
    };
    for (const P& p : {P{candle(10, 12, 8, 10), 12, 8}, P{candle(11, 12, 8, 9), 10.5, 6.5},
                       P{candle(9, 12, 8, 11), 13.5, 9.5}}) {
        const Rows rows = collect({"TdRangeProjection", {}}, {p.k});
        EXPECT_EQ(rows[0], (std::vector<double>{p.high, p.high, p.low})) << p.k.open;
    }
}

TEST(SequentialPatterns, Rules) {
    struct P {
        const char* name;
        std::vector<Candle> k;
        double want;
    };
    const Candle prev = candle(10, 11, 9, 10);
    const Candle prev_up = candle(10, 11, 9, 10.5);
    const std::vector<P> cases{
        {"TdCamouflage", {prev, candle(8.8, 9.9, 8.7, 9.5)}, 1},
        {"TdCamouflage", {prev, candle(11, 11.5, 10.2, 10.5)}, -1},
        {"TdCamouflage", {prev, candle(10, 10, 10, 10)}, 0},
        {"TdClop", {prev_up, candle(11, 11.2, 9.5, 9.8)}, -1},
        {"TdClop", {prev_up, candle(9.5, 11, 9.4, 10.8)}, 1},
        {"TdClop", {prev_up, candle(10.2, 10.4, 10.1, 10.3)}, 0},
        {"TdClopwin", {prev_up, candle(10.1, 10.4, 10, 10.4)}, 1},
        {"TdClopwin", {prev_up, candle(10.4, 10.5, 10, 10.1)}, -1},
        {"TdClopwin", {prev_up, candle(10.2, 10.3, 10, 10.2)}, 1},
        {"TdClopwin", {prev_up, candle(10.1, 10.8, 10, 10.7)}, 0},
        {"TdOpen", {prev, candle(8.5, 9.5, 8.4, 9.2)}, 1},
        {"TdOpen", {prev, candle(11.5, 11.6, 10.8, 11)}, -1},
        {"TdOpen", {prev, candle(8.5, 8.9, 8.4, 8.6)}, 0},
        {"TdPropulsion", {prev, candle(10, 12, 10, 11.5)}, 1},
        {"TdPropulsion", {prev, candle(10, 10, 8, 8.5)}, -1},
        {"TdPropulsion", {prev, prev}, 0},
        {"TdTrap", {candle(10, 12, 8, 10), prev, candle(10, 11.5, 9.5, 11.2)}, 1},
        {"TdTrap", {candle(10, 12, 8, 10), prev, candle(10, 10, 8.5, 8.8)}, -1},
        {"TdTrap", {prev, prev, candle(10, 11.5, 9.5, 11.2)}, 0},
        {"TdDifferential", {candle(12, 12.5, 11.5, 12), candle(12, 12, 10, 10.5), candle(10.5, 10.5, 9.5, 10.4)}, 1},
        {"TdDifferential", {candle(8, 8.5, 7.5, 8), candle(8, 10, 8, 9.5), candle(9.5, 10.5, 9.5, 9.6)}, -1},
        {"TdDifferential", {candle(8, 8.5, 7.5, 8), candle(12, 12, 10, 10.5), candle(10.5, 10.5, 9.5, 10.4)}, 0},
    };
    for (const P& p : cases) {
        const auto got = run_candles(p.name, {}, p.k);
        ASSERT_EQ(got.size(), p.k.size());
        EXPECT_EQ(got.back(), p.want) << p.name << " " << p.k.back().close;
        EXPECT_EQ(first_value_at(got), p.k.size()) << p.name;
    }
}

TEST(SequentialWarmup, FirstValueMatchesWarmupPeriod) {
    struct W {
        Case c;
        std::size_t warmup;
    };
    const std::vector<W> cases{
        {{"TdSetup", {4, 9}}, 5},          {{"TdSequential", {4, 9, 2, 13}}, 5}, {{"TdSequential", {2, 9, 6, 13}}, 7},
        {{"TdCountdown", {4, 9, 2, 13}}, 5}, {{"TdCombo", {3, 9, 5, 13}}, 6},    {{"TdLines", {2, 3}}, 5},
        {{"TdRiskLevel", {4, 9}}, 13},      {{"TdDeMarker", {3}}, 4},            {{"TdPressure", {3}}, 3},
        {{"TdRei", {3}}, 11},               {{"TdMovingAverage", {2, 5}}, 5},    {{"TdRangeProjection", {}}, 1},
        {{"TdCamouflage", {}}, 2},          {{"TdClop", {}}, 2},                 {{"TdClopwin", {}}, 2},
        {{"TdOpen", {}}, 2},                {{"TdPropulsion", {}}, 2},           {{"TdTrap", {}}, 3},
        {{"TdDifferential", {}}, 3},
    };
    for (const W& w : cases) {
        auto ind = make(w.c.name, w.c.params);
        ASSERT_TRUE(ind) << label(w.c);
        EXPECT_EQ(ind->warmup_period(), w.warmup) << label(w.c);
        EXPECT_EQ(first_value_at(run_candles(*ind, falling(100, 40))), w.warmup) << label(w.c);
    }
    auto wave = make("TdDWave", {3});
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->warmup_period(), 7u);
    EXPECT_EQ(make("TdSetup", {16777216, 1.8446744073709552e19})->warmup_period(), 16777217u);
    EXPECT_EQ(make("TdLines", {3, 1.8446744073709552e19})->warmup_period(), SIZE_MAX);
}

// An invalid candle changes nothing: the other steps are as without it.
TEST(SequentialSkipping, InvalidCandlesLeaveNoTrace) {
    const auto clean = mixed_series(120);
    std::vector<Candle> dirty;
    std::vector<bool> inserted;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        if (i % 7 == 3) {
            Candle bad = clean[i];
            if (i % 2) bad.close = NaN;
            else bad.low = bad.high + 1.0;
            dirty.push_back(bad);
            inserted.push_back(true);
        }
        dirty.push_back(clean[i]);
        inserted.push_back(false);
    }
    for (const Case& c : members()) {
        const Rows want = collect(c, clean);
        const Rows got = collect(c, dirty);
        ASSERT_EQ(got.size(), dirty.size()) << label(c);
        EXPECT_GT(std::count_if(want.begin(), want.end(), [](const auto& r) { return !r.empty(); }), 20) << label(c);
        std::size_t j = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (inserted[i]) {
                EXPECT_TRUE(got[i].empty()) << label(c) << " step " << i;
                continue;
            }
            ASSERT_EQ(got[i].size(), want[j].size()) << label(c) << " step " << i;
            for (std::size_t v = 0; v < got[i].size(); ++v)
                EXPECT_TRUE(std::isnan(want[j][v]) ? std::isnan(got[i][v]) : got[i][v] == want[j][v])
                    << label(c) << " step " << i;
            ++j;
        }
    }
}

TEST(SequentialOutputs, NamedInOrder) {
    struct N {
        Case c;
        std::vector<std::string> names;
    };
    const std::vector<N> cases{
        {{"TdSequential", {1, 1, 1, 1}}, {"setup", "countdown", "direction"}},
        {{"TdLines", {1, 1}}, {"resistance", "support"}},
        {{"TdRiskLevel", {1, 1}}, {"buy_risk", "sell_risk"}},
        {{"TdMovingAverage", {1, 2}}, {"st1", "st2"}},
        {{"TdRangeProjection", {}}, {"high", "low"}},
        {{"TdSetup", {1, 1}}, {}},
    };
    for (const N& n : cases) {
        auto ind = make(n.c.name, n.c.params);
        ASSERT_TRUE(ind) << label(n.c);
        for (const Candle& k : falling(50, 3)) {
            StepView s;
            s.candle = k;
            ind->update(s);
        }
        std::vector<std::string> got;
        for (const auto& [name, value] : ind->extra_outputs()) got.push_back(name);
        EXPECT_EQ(got, n.names) << label(n.c);
    }
}

TEST(SequentialConstruction, Messages) {
    const std::string zero = "period must be greater than zero";
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string order = "invalid period: TD moving average ST1 period must be strictly less than ST2";
    const double huge = 1.8446744073709552e19;
    struct M {
        Case c;
        std::string want;  // "ok" or the detail after "invalid parameters for indicator {name}: "
    };
    const std::vector<M> cases{
        {{"TdSetup", {1e-20, 9}}, zero},
        {{"TdSetup", {4, 1e-20}}, zero},
        {{"TdSetup", {16777217, 9}}, max},
        {{"TdSetup", {huge, 9}}, max},
        {{"TdSetup", {16777216, huge}}, "ok"},
        {{"TdSequential", {4, 9, 16777217, 13}}, max},
        {{"TdSequential", {16777217, 9, 2, 13}}, max},
        {{"TdSequential", {4, 9, 2, 1e-20}}, zero},
        {{"TdSequential", {4, 1e-20, 2, 13}}, zero},
        {{"TdSequential", {16777216, 9, 16777216, 13}}, "ok"},
        {{"TdCountdown", {4, 9, huge, 13}}, max},
        {{"TdCountdown", {4, 9, 2, 1e-20}}, zero},
        {{"TdCombo", {4, 9, 16777217, 13}}, max},
        {{"TdCombo", {1e-20, 9, 2, 13}}, zero},
        {{"TdLines", {16777217, 3}}, max},
        {{"TdLines", {2, 1e-20}}, zero},
        {{"TdRiskLevel", {huge, 3}}, max},
        {{"TdRiskLevel", {2, 1e-20}}, zero},
        {{"TdDWave", {8388607}}, "ok"},
        {{"TdDWave", {8388608}}, max},  // a window of 2k + 1 = 16777217
        {{"TdDWave", {huge}}, max},
        {{"TdDWave", {1e-20}}, zero},
        {{"TdDeMarker", {16777217}}, max},
        {{"TdDeMarker", {1e-20}}, zero},
        {{"TdDeMarker", {16777216}}, "ok"},
        {{"TdPressure", {16777217}}, max},
        {{"TdPressure", {1e-20}}, zero},
        {{"TdRei", {16777217}}, max},
        {{"TdRei", {1e-20}}, zero},
        {{"TdMovingAverage", {3, 3}}, order},
        {{"TdMovingAverage", {4, 3}}, order},
        {{"TdMovingAverage", {1e-20, 3}}, zero},
        {{"TdMovingAverage", {2, 16777217}}, max},
        {{"TdMovingAverage", {16777217, 16777218}}, max},
        {{"TdMovingAverage", {16777215, 16777216}}, "ok"},
        {{"TdTrap", {}}, "ok"},
    };
    for (const auto& m : cases) {
        const std::string want =
            m.want == "ok" ? "ok" : std::string("invalid parameters for indicator ") + m.c.name + ": " + m.want;
        EXPECT_EQ(create_error(m.c.name, m.c.params), want) << label(m.c);
    }
}
