// Adaptive, order-statistic and volume-weighted averages, and the calendar-day VWAP.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "feed.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

constexpr double TINY = 1e-17;  // passes the whole-number test and truncates to a count of 0
constexpr std::int64_t DAY_MS = 86400000;
constexpr std::int64_t HOUR_MS = 3600000;

const std::string MAX_TEXT = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
const std::string ZERO_TEXT = "period must be greater than zero";

std::string failure(const std::string& name, const std::string& text) {
    return "invalid parameters for indicator " + name + ": " + text;
}

void expect_values(const std::vector<double>& got, const std::vector<double>& want, double tol = 0.0) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (std::isnan(want[i])) {
            EXPECT_TRUE(std::isnan(got[i])) << "step " << i + 1 << " got " << got[i];
        } else if (tol == 0.0) {
            EXPECT_EQ(got[i], want[i]) << "step " << i + 1;
        } else {
            EXPECT_NEAR(got[i], want[i], tol) << "step " << i + 1;
        }
    }
}

bool is_candle_member(const std::string& name) {
    for (const char* n : {"MidPrice", "Vwma", "Evwma", "Vwap", "AnchoredVwap", "RollingVwap", "SessionVwap"})
        if (name == n) return true;
    return false;
}

// A varied positive series with volumes, fed as closes or as candles.
std::vector<double> series(std::size_t n) {
    std::vector<double> out;
    for (std::size_t i = 0; i < n; ++i) out.push_back(100.0 + 7.0 * std::sin(0.7 * static_cast<double>(i)) + 0.1 * i);
    return out;
}

std::vector<Candle> candles_of(const std::vector<double>& closes) {
    std::vector<Candle> out;
    for (std::size_t i = 0; i < closes.size(); ++i)
        out.push_back(bar(closes[i], 1.0 + static_cast<double>(i % 4), 0.5 + 0.1 * static_cast<double>(i % 3),
                          static_cast<std::int64_t>(i) * HOUR_MS));
    return out;
}

std::vector<double> run_any(const std::string& name, const std::vector<double>& params, std::size_t n) {
    const std::vector<double> closes = series(n);
    return is_candle_member(name) ? run_candles(name, params, candles_of(closes)) : run_closes(name, params, closes);
}

struct Member {
    const char* name;
    std::vector<double> params;
    std::size_t warmup;
    bool recursive_or_ordered = false;  // exactly the constant over a flat series
};

const std::vector<Member>& members() {
    static const std::vector<Member> all = {
        {"Jma", {7, 0, 2}, 1, true},
        {"Frama", {6}, 6, true},
        {"McGinleyDynamic", {5}, 5, true},
        {"HoltWinters", {0.3, 0.5}, 2, true},
        {"GeometricMa", {4}, 4, true},
        {"MedianMa", {3}, 3, true},
        {"MidPoint", {3}, 3, true},
        {"MidPrice", {3}, 3, true},
        {"Vwma", {4}, 4},
        {"Evwma", {4}, 4, true},
        {"Vwap", {}, 1},
        {"AnchoredVwap", {}, 1},
        {"RollingVwap", {4}, 4},
        {"SessionVwap", {0}, 1},
    };
    return all;
}

}  // namespace

TEST(MovingAveragesWindows, WarmupCounts) {
    for (const Member& m : members()) {
        SCOPED_TRACE(m.name);
        auto ind = make(m.name, m.params);
        ASSERT_TRUE(ind);
        EXPECT_EQ(ind->warmup_period(), m.warmup);
        const std::vector<double> values = run_any(m.name, m.params, 12);
        EXPECT_EQ(first_value_at(values), m.warmup);
        for (std::size_t i = m.warmup; i < values.size(); ++i) EXPECT_TRUE(std::isfinite(values[i])) << i;
    }
}

// Unusable inputs give no value and leave the state as it was.
TEST(MovingAveragesWindows, UnusableInputsChangeNoState) {
    const std::vector<double> closes = series(14);
    for (const Member& m : members()) {
        SCOPED_TRACE(m.name);
        const bool candles = is_candle_member(m.name);
        std::vector<double> clean, noisy;
        if (candles) {
            const std::vector<Candle> good = candles_of(closes);
            std::vector<Candle> mixed;
            for (std::size_t i = 0; i < good.size(); ++i) {
                mixed.push_back(good[i]);
                if (i % 3 == 1) {
                    mixed.push_back(candle(100, 99, 101, 100, 1, good[i].ts));  // high below low
                    mixed.push_back(candle(100, 101, 99, 100, -1, good[i].ts));  // negative volume
                    mixed.push_back(candle(100, 101, 99, 100, NaN, good[i].ts));
                }
            }
            clean = run_candles(m.name, m.params, good);
            noisy = run_candles(m.name, m.params, mixed);
        } else {
            std::vector<double> mixed;
            for (std::size_t i = 0; i < closes.size(); ++i) {
                mixed.push_back(closes[i]);
                if (i % 3 == 1) {
                    mixed.push_back(NaN);
                    mixed.push_back(Inf);
                    mixed.push_back(-Inf);
                }
            }
            clean = run_closes(m.name, m.params, closes);
            noisy = run_closes(m.name, m.params, mixed);
        }
        // Every clean step reappears in order; each injected step yields nothing.
        std::size_t j = 0;
        for (std::size_t i = 0; i < clean.size(); ++i) {
            ASSERT_LT(j, noisy.size());
            if (std::isnan(clean[i])) EXPECT_TRUE(std::isnan(noisy[j])) << i;
            else EXPECT_EQ(noisy[j], clean[i]) << i;
            ++j;
            if (i % 3 == 1) {
                for (int k = 0; k < 3; ++k, ++j) EXPECT_TRUE(std::isnan(noisy[j])) << "injected after " << i;
            }
        }
        EXPECT_EQ(j, noisy.size());
    }
}

TEST(MovingAveragesWindows, ConstructionMessages) {
    struct Case {
        const char* name;
        std::vector<double> params;
        std::string text;  // without the indicator prefix; "ok" for success
    };
    const Case cases[] = {
        {"Frama", {3}, "invalid period: FRAMA period must be even"},
        {"Frama", {1}, "invalid period: FRAMA period must be at least 2"},
        {"Frama", {TINY}, ZERO_TEXT},
        {"Frama", {16777217}, MAX_TEXT},
        {"Frama", {16777216}, "ok"},
        {"Frama", {2}, "ok"},
        {"Jma", {10, 0, 0}, "invalid period: JMA power must be in 1..=4"},
        {"Jma", {10, 0, 5}, "invalid period: JMA power must be in 1..=4"},
        {"Jma", {TINY, 0, 5}, ZERO_TEXT},
        {"Jma", {16777217, 0, 1}, MAX_TEXT},
        {"Jma", {1, -1000, 4}, "ok"},
        {"HoltWinters", {0, 0.5}, "invalid period: HoltWinters alpha must be in (0.0, 1.0]"},
        {"HoltWinters", {1.5, 0}, "invalid period: HoltWinters alpha must be in (0.0, 1.0]"},
        {"HoltWinters", {-0.1, 0.5}, "invalid period: HoltWinters alpha must be in (0.0, 1.0]"},
        {"HoltWinters", {0.5, 0}, "invalid period: HoltWinters beta must be in (0.0, 1.0]"},
        {"HoltWinters", {0.5, 1.0000001}, "invalid period: HoltWinters beta must be in (0.0, 1.0]"},
        {"HoltWinters", {1, 1}, "ok"},
        {"McGinleyDynamic", {TINY}, ZERO_TEXT},
        {"McGinleyDynamic", {16777217}, MAX_TEXT},
        {"GeometricMa", {TINY}, ZERO_TEXT},
        {"GeometricMa", {16777217}, MAX_TEXT},
        {"MedianMa", {TINY}, ZERO_TEXT},
        {"MedianMa", {16777217}, MAX_TEXT},
        {"MidPoint", {TINY}, ZERO_TEXT},
        {"MidPoint", {16777217}, MAX_TEXT},
        {"MidPrice", {TINY}, ZERO_TEXT},
        {"MidPrice", {1e19}, MAX_TEXT},
        {"Vwma", {TINY}, ZERO_TEXT},
        {"Vwma", {16777217}, MAX_TEXT},
        {"Evwma", {TINY}, ZERO_TEXT},
        {"Evwma", {16777217}, MAX_TEXT},
        {"RollingVwap", {TINY}, ZERO_TEXT},
        {"RollingVwap", {16777217}, MAX_TEXT},
        {"RollingVwap", {16777216}, "ok"},
        {"SessionVwap", {-2147483648.0}, "ok"},
        {"SessionVwap", {2147483647.0}, "ok"},
        {"Vwap", {}, "ok"},
        {"AnchoredVwap", {}, "ok"},
    };
    for (const Case& c : cases) {
        const std::string want = c.text == "ok" ? c.text : failure(c.name, c.text);
        EXPECT_EQ(create_error(c.name, c.params), want) << c.name;
    }
}

TEST(MovingAveragesWindows, ConstantSeriesGiveExactlyTheConstant) {
    const double c = 26.14;  // a value whose rounded blends and seed sums miss it
    const std::vector<double> flat(40, c);
    for (const Member& m : members()) {
        if (!m.recursive_or_ordered) continue;
        SCOPED_TRACE(m.name);
        std::vector<double> values;
        if (is_candle_member(m.name)) {
            std::vector<Candle> bars;
            for (std::size_t i = 0; i < flat.size(); ++i) bars.push_back(bar(c, 0.3 + 0.7 * (i % 5), 0.0));
            values = run_candles(m.name, m.params, bars);
        } else {
            values = run_closes(m.name, m.params, flat);
        }
        for (std::size_t i = m.warmup - 1; i < values.size(); ++i) EXPECT_EQ(values[i], c) << "step " << i + 1;
    }
}

TEST(MovingAveragesWindows, FramaAdaptsToTheFractalDimension) {
    // Window 1,2,2,1: halves of range 1 against a whole of range 1 give dimension 2,
    // a = exp(-4.6); the first value is the close.
    expect_values(run_closes("Frama", {4}, {1, 2, 2, 1, 2, 1}), {NaN, NaN, NaN, 1, 1.01, 1.0098994816425537}, 1e-12);
    // Window 2,3: the older half has no range, so a = 0.01.
    expect_values(run_closes("Frama", {2}, {1, 2, 3}), {NaN, 2, 0.99 * 2 + 0.01 * 3});
    // A straight line has dimension below 1: a is clamped to 1 and the value follows the close.
    expect_values(run_closes("Frama", {4}, {1, 2, 3, 4, 5}), {NaN, NaN, NaN, 4, 5});
    // Ranges overflowing to infinity leave no dimension: a = 0.01 rather than a NaN for ever.
    const auto wild = run_closes("Frama", {4}, {-1e308, 1e308, -1e308, 1e308, -1e308, 1e308});
    const double fifth = 0.99 * 1e308 + 0.01 * -1e308;
    expect_values(wild, {NaN, NaN, NaN, 1e308, fifth, 0.99 * fifth + 0.01 * 1e308});
}

TEST(MovingAveragesWindows, JmaFollowsItsStages) {
    expect_values(run_closes("Jma", {3, 0, 1}, {1, 2, 4}), {1, 1.480714171595165, 2.784395403689964}, 1e-12);
    // Period 1 has beta = alpha = 0: the filter is the close itself.
    expect_values(run_closes("Jma", {1, 100, 3}, {1, 5, 3}), {1, 5, 3});
    // Here the rounded first stage over a constant would settle one unit in the last place off.
    for (double v : run_closes("Jma", {2, 0, 1}, std::vector<double>(30, 101.7))) EXPECT_EQ(v, 101.7);
}

TEST(MovingAveragesWindows, McGinleyHoldsOnNonPositiveCloses) {
    const std::vector<double> closes = {1, 2, 3, 0, -1, 4};
    expect_values(run_closes("McGinleyDynamic", {3}, closes), {NaN, NaN, 2, 2, 2, 2.0694444444444446}, 1e-12);
}

TEST(MovingAveragesWindows, McGinleyKeepsItsValueWhenTheStepWouldBeInfinite) {
    // (x/prev)^4 underflows to 0 here; the value must not become infinite.
    const auto values = run_closes("McGinleyDynamic", {1}, {1e200, 1e-120, 5});
    expect_values(values, {1e200, 1e200, 1e200});
}

TEST(MovingAveragesWindows, HoltWintersLevelAndTrend) {
    expect_values(run_closes("HoltWinters", {1, 1}, {1, 2, 4}), {NaN, 3, 6});
    // alpha 0.5, beta 0.5 over 1, 2, 4: level (3 + 4)/2 = 3.5, trend (1 + 1.5)/2 = 1.25.
    expect_values(run_closes("HoltWinters", {0.5, 0.5}, {1, 2, 4}), {NaN, 3, 4.75});
}

TEST(MovingAveragesWindows, GeometricMaIgnoresNonPositiveCloses) {
    expect_values(run_closes("GeometricMa", {2}, {4, 0, -1, 9, 0, 1}), {NaN, NaN, NaN, 6, NaN, 3}, 1e-12);
}

TEST(MovingAveragesWindows, OrderStatisticAverages) {
    expect_values(run_closes("MedianMa", {4}, {1, 3, 2, 4, 10}), {NaN, NaN, NaN, 2.5, 3.5});
    expect_values(run_closes("MedianMa", {3}, {5, 1, 3, 2}), {NaN, NaN, 3, 2});
    expect_values(run_closes("MidPoint", {3}, {1, 5, 3, 2, 2}), {NaN, NaN, 3, 3.5, 2.5});
    expect_values(run_closes("MidPoint", {2}, {1.5e308, 1.5e308}), {NaN, 1.5e308});
    const std::vector<Candle> bars = {candle(5, 6, 4, 5), candle(5, 9, 5, 8), candle(3, 4, 1, 2)};
    expect_values(run_candles("MidPrice", {2}, bars), {NaN, 6.5, 5});
}

TEST(MovingAveragesWindows, VwmaWeightsByVolume) {
    const std::vector<Candle> bars = {bar(10, 1), bar(20, 3), bar(30, 0), bar(40, 0)};
    expect_values(run_candles("Vwma", {2}, bars), {NaN, 17.5, 20, 35});
}

// Volumes that leave a rounding residue in an incremental sum, then a run of zeros at
// prices near 104: a zero-volume window must read as exactly zero volume.
TEST(MovingAveragesWindows, ZeroVolumeWindowsReadNoResidue) {
    const std::vector<double> volumes = {0.1, 0.7, 0.3, 1.9, 0.3, 0.2, 0.6};
    std::vector<Candle> bars;
    for (std::size_t i = 0; i < 19; ++i) {
        const double close = 104.0 + 0.37 * static_cast<double>(i % 6);
        bars.push_back(bar(close, i < volumes.size() ? volumes[i] : 0.0, 0.25));
    }
    const auto vwma = run_candles("Vwma", {5}, bars);
    for (std::size_t i = 11; i < bars.size(); ++i) {
        double plain = 0.0;
        for (std::size_t k = i - 4; k <= i; ++k) plain += bars[k].close;
        EXPECT_NEAR(vwma[i], plain / 5.0, 1e-9) << "step " << i + 1;
    }
    const auto rolling = run_candles("RollingVwap", {10}, bars);
    EXPECT_TRUE(std::isfinite(rolling[15]));
    for (std::size_t i = 16; i < bars.size(); ++i) EXPECT_TRUE(std::isnan(rolling[i])) << "step " << i + 1;
}

TEST(MovingAveragesWindows, EvwmaMovesByVolumeShare) {
    const std::vector<Candle> bars = {bar(10, 1), bar(20, 3), bar(30, 1), bar(40, 0), bar(50, 0)};
    // Full at the 2nd: prev is that close. Then (1·30 + 3·20)/4; then volume 1 with v = 0;
    // then no volume at all: the value holds.
    expect_values(run_candles("Evwma", {2}, bars), {NaN, 20, 22.5, 22.5, 22.5});
    // No volume before any value: the close.
    expect_values(run_candles("Evwma", {2}, {bar(10, 0), bar(20, 0), bar(30, 2)}), {NaN, 20, 30});
}

TEST(MovingAveragesWindows, CumulativeVwapWaitsForVolume) {
    // Typical prices 10, 20, 30 (range symmetric about the close).
    const std::vector<Candle> bars = {bar(10, 0), bar(20, 0), bar(30, 2), bar(10, 2)};
    for (const char* name : {"Vwap", "AnchoredVwap"})
        expect_values(run_candles(name, {}, bars), {NaN, NaN, 30, 20});
    const std::vector<Candle> typical = {candle(2, 4, 1, 3, 1)};  // (4 + 1 + 3)/3
    expect_values(run_candles("Vwap", {}, typical), {8.0 / 3.0});
}

TEST(MovingAveragesWindows, RollingVwapOverItsWindow) {
    const std::vector<Candle> bars = {bar(10, 1), bar(20, 3), bar(30, 1), bar(40, 0), bar(50, 0)};
    expect_values(run_candles("RollingVwap", {2}, bars), {NaN, 17.5, 22.5, 30, NaN});
}

TEST(MovingAveragesWindows, SessionVwapRestartsEachDay) {
    const std::int64_t day = 20000 * DAY_MS;
    const std::vector<Candle> bars = {
        bar(10, 1, 1, day + 1 * HOUR_MS),
        bar(20, 3, 1, day + 23 * HOUR_MS),
        bar(40, 1, 1, day + DAY_MS + HOUR_MS / 2),  // next UTC day
        bar(50, 0, 1, day + DAY_MS + HOUR_MS),
    };
    expect_values(run_candles("SessionVwap", {0}, bars), {10, 17.5, 40, 40});
    // One hour behind UTC the 00:30 candle still belongs to the first day.
    expect_values(run_candles("SessionVwap", {-60}, bars), {10, 17.5, (10 + 60 + 40) / 5.0, 50});
    // Without volume the value is the typical price.
    expect_values(run_candles("SessionVwap", {0}, {bar(10, 0, 1, day), bar(12, 0, 1, day)}), {10, 12});
}

TEST(MovingAveragesWindows, SessionVwapAtExtremeTimestamps) {
    const std::vector<Candle> bars = {bar(10, 1, 1, INT64_MIN), bar(20, 1, 1, INT64_MIN + 1000),
                                      bar(30, 1, 1, INT64_MAX)};
    expect_values(run_candles("SessionVwap", {-2147483648.0}, bars), {10, 15, 30});
    expect_values(run_candles("SessionVwap", {2147483647.0}, bars), {10, 15, 30});
}
