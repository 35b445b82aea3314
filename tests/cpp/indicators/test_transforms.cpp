#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "feed.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

constexpr std::int64_t MINUTE_MS = 60000;
constexpr std::int64_t HOUR_MS = 60 * MINUTE_MS;
constexpr std::int64_t DAY_MS = 24 * HOUR_MS;
constexpr std::int64_t I64_MIN = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t I64_MAX = std::numeric_limits<std::int64_t>::max();

// Midnight UTC of a few days.
constexpr std::int64_t JAN_30_2024 = 1706572800000;
constexpr std::int64_t FEB_27_1900 = -2204064000000;
constexpr std::int64_t FEB_27_2000 = 951609600000;

// A candle at a time with open = close = price.
Candle at(std::int64_t ts, double price) { return Candle{ts, price, price + 1, price - 1, price, 1.0}; }
Candle at(std::int64_t ts, double open, double close) {
    return Candle{ts, open, std::max(open, close) + 1, std::min(open, close) - 1, close, 1.0};
}

std::string label(const char* name, const std::vector<double>& params) {
    std::ostringstream s;
    s << name << '(';
    for (std::size_t i = 0; i < params.size(); ++i) s << (i ? "," : "") << params[i];
    s << ')';
    return s.str();
}

// Same values, NaN standing for "no value" on both sides.
void expect_same(const std::vector<double>& got, const std::vector<double>& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << ": " << got[i];
        else EXPECT_EQ(got[i], want[i]) << what << " step " << i + 1;
    }
}

// Every output of every step: the primary value, then the named outputs.
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

}  // namespace

TEST(TransformsCandle, KnownValues) {
    const Candle plain = candle(10, 12, 9, 11);
    const Candle flat = candle(7, 7, 7, 7);
    // Sums of these overflow although every result is finite.
    const Candle huge = candle(1.2e308, 1.6e308, 1.0e308, 1.4e308);
    const Candle wide = candle(-1e308, 1.6e308, -1.6e308, 1.2e308);
    struct Example {
        const char* name;
        Candle c;
        double want;
        double tolerance;  // relative; 0 for exact
    };
    const std::vector<Example> examples{
        {"AvgPrice", plain, 10.5, 0},
        {"AvgPrice", huge, 1.3e308, 1e-15},
        {"TypicalPrice", plain, ((12.0 + 9.0) + 11.0) / 3.0, 0},
        {"TypicalPrice", huge, 4.0 / 3.0 * 1e308, 1e-15},
        {"WeightedClose", plain, 10.75, 0},
        {"WeightedClose", huge, 1.35e308, 1e-15},
        {"MedianPrice", plain, 10.5, 0},
        {"MedianPrice", flat, 7, 0},
        {"MedianPrice", huge, 1.3e308, 1e-15},
        {"BodySizePct", plain, 1.0 / 3.0, 0},
        {"BodySizePct", flat, 0, 0},
        {"BodySizePct", wide, 2.2 / 3.2, 1e-15},
        {"CloseVsOpen", plain, 0.1, 0},
        {"CloseVsOpen", candle(0, 1, 0, 1), 0, 0},
        {"CloseVsOpen", candle(-2, -1, -2, -1), -0.5, 0},
        {"CloseVsOpen", wide, -2.2, 1e-15},
        {"HighLowRange", plain, 3.0 / 11.0, 0},
        {"HighLowRange", candle(0, 1, -1, 0), 0, 0},
        {"HighLowRange", wide, 3.2 / 1.2, 1e-15},
        {"WickRatio", candle(10, 13, 9, 11), 0.25, 0},
        {"WickRatio", candle(11, 12, 8, 10), -0.25, 0},
        {"WickRatio", flat, 0, 0},
        {"WickRatio", wide, -0.2 / 3.2, 1e-15},
    };
    for (const auto& e : examples) {
        const auto got = run_candles(e.name, {}, {e.c});
        ASSERT_EQ(got.size(), 1u) << e.name;
        if (e.tolerance == 0) EXPECT_EQ(got[0], e.want) << e.name << " open " << e.c.open;
        else EXPECT_NEAR(got[0], e.want, std::fabs(e.want) * e.tolerance) << e.name << " open " << e.c.open;
    }
}

TEST(TransformsHeikinAshi, Recurrence) {
    // The first candle starts from its own open and close, later ones from the previous
    // Heikin-Ashi open and close.
    auto ind = make("HeikinAshi", {});
    ASSERT_TRUE(ind);
    const auto rows = run_all(*ind, {candle(10, 12, 9, 11), candle(11, 14, 10, 13), candle(13, 13, 8, 9)});
    const std::vector<std::vector<double>> want{
        {10.5, 10.5, 12, 9, 10.5},
        {10.5, 10.5, 14, 10, 12},
        {11.25, 11.25, 13, 8, 10.75},
    };
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(rows[i], want[i]) << "step " << i + 1;
    const auto named = ind->extra_outputs();
    ASSERT_EQ(named.size(), 4u);
    EXPECT_EQ(named[0].first, "open");
    EXPECT_EQ(named[1].first, "high");
    EXPECT_EQ(named[2].first, "low");
    EXPECT_EQ(named[3].first, "close");
}

TEST(TransformsHeikinAshi, ConstantAndHugeCandles) {
    for (const char* name : {"HeikinAshi", "SmoothedHeikinAshi"}) {
        auto ind = make(name, {3});
        ASSERT_TRUE(ind);
        const auto rows = run_all(*ind, std::vector<Candle>(6, candle(0.1, 0.1, 0.1, 0.1)));
        for (std::size_t i = 2; i < rows.size(); ++i)
            EXPECT_EQ(rows[i], (std::vector<double>{0.1, 0.1, 0.1, 0.1, 0.1})) << name << " step " << i + 1;
    }
    // The close of four huge prices stays finite, so later opens stay finite too.
    auto ind = make("HeikinAshi", {});
    ASSERT_TRUE(ind);
    const auto rows = run_all(*ind, std::vector<Candle>(3, candle(1.2e308, 1.6e308, 1.0e308, 1.4e308)));
    for (const auto& row : rows)
        for (double v : row) EXPECT_TRUE(std::isfinite(v)) << v;
    EXPECT_NEAR(rows[2][4], 1.3e308, 1.3e293);
}

TEST(TransformsHeikinAshi, SmoothedFollowsSmoothedPrices) {
    const std::vector<Candle> candles{
        candle(10, 12, 9, 11),   candle(11, 14, 10, 13), candle(13, 13, 8, 9), candle(9, 10, 7, 8),
        candle(8, 12, 8, 11.5), candle(11.5, 12, 11, 11), candle(11, 15, 10, 14),
    };
    ExpSmoother o(3), h(3), l(3), c(3);
    bool has_previous = false;
    double prev_open = 0, prev_close = 0;
    std::vector<std::vector<double>> want;
    for (const Candle& k : candles) {
        const auto so = o.push(k.open), sh = h.push(k.high), sl = l.push(k.low), sc = c.push(k.close);
        if (!sc) {
            want.push_back({NaN});
            continue;
        }
        const double ha_close = (((*so + *sh) + *sl) + *sc) * 0.25;
        const double ha_open = has_previous ? (prev_open + prev_close) * 0.5 : (*so + *sc) * 0.5;
        const double ha_high = std::max(std::max(*sh, ha_open), ha_close);
        const double ha_low = std::min(std::min(*sl, ha_open), ha_close);
        want.push_back({ha_open, ha_open, ha_high, ha_low, ha_close});
        has_previous = true;
        prev_open = ha_open;
        prev_close = ha_close;
    }
    auto ind = make("SmoothedHeikinAshi", {3});
    ASSERT_TRUE(ind);
    const auto rows = run_all(*ind, candles);
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (std::isnan(want[i][0])) EXPECT_TRUE(std::isnan(rows[i][0])) << "step " << i + 1;
        else EXPECT_EQ(rows[i], want[i]) << "step " << i + 1;
    }
}

TEST(TransformsWarmup, FirstValuesAndReportedPeriods) {
    struct W {
        const char* name;
        std::vector<double> params;
        std::size_t warmup;
        std::size_t first;  // on one candle per day
    };
    const std::vector<W> table{
        {"AvgPrice", {}, 1, 1},        {"TypicalPrice", {}, 1, 1},   {"WeightedClose", {}, 1, 1},
        {"MedianPrice", {}, 1, 1},     {"BodySizePct", {}, 1, 1},    {"CloseVsOpen", {}, 1, 1},
        {"HighLowRange", {}, 1, 1},    {"WickRatio", {}, 1, 1},      {"HeikinAshi", {}, 1, 1},
        {"SmoothedHeikinAshi", {3}, 3, 3},  {"SmoothedHeikinAshi", {1}, 1, 1},
        {"OvernightGap", {0}, 2, 2},   {"OvernightIntradayReturn", {0}, 2, 2},
        // Every day counts; the first return is counted when the third day begins.
        {"TurnOfMonth", {0, 40, 0}, 2, 3},
    };
    std::vector<Candle> daily;
    for (int i = 0; i < 6; ++i) daily.push_back(at(JAN_30_2024 + i * DAY_MS, 100 + i));
    for (const auto& w : table) {
        auto ind = make(w.name, w.params);
        ASSERT_TRUE(ind) << w.name;
        EXPECT_EQ(ind->warmup_period(), w.warmup) << w.name;
        EXPECT_EQ(first_value_at(run_candles(*ind, daily)), w.first) << w.name;
    }
}

TEST(TransformsSkipping, InvalidCandlesChangeNothing) {
    const std::vector<std::pair<const char*, std::vector<double>>> members{
        {"AvgPrice", {}},        {"TypicalPrice", {}},      {"WeightedClose", {}},
        {"MedianPrice", {}},     {"BodySizePct", {}},       {"CloseVsOpen", {}},
        {"HighLowRange", {}},    {"WickRatio", {}},         {"HeikinAshi", {}},
        {"SmoothedHeikinAshi", {3}}, {"OvernightGap", {0}}, {"OvernightIntradayReturn", {0}},
        {"TurnOfMonth", {1, 1, 0}},
    };
    // Two candles a day across a month end; the invalid ones fall on other days and carry
    // prices that would change every value.
    std::vector<Candle> valid;
    for (int i = 0; i < 8; ++i) {
        valid.push_back(at(JAN_30_2024 + i * DAY_MS + HOUR_MS, 100 + i, 101 + 2 * i));
        valid.push_back(at(JAN_30_2024 + i * DAY_MS + 20 * HOUR_MS, 102 - i, 99 + i));
    }
    const std::int64_t elsewhere = JAN_30_2024 + 40 * DAY_MS;
    const std::vector<Candle> invalid{
        Candle{elsewhere, 5, 4, 6, 5, 1},       // high below low
        Candle{elsewhere, 5, 6, 4, NaN, 1},     // non-finite close
        Candle{elsewhere, 5, 6, 4, 5, -1},      // negative volume
        Candle{elsewhere, 7, 6, 4, 5, 1},       // open above high
        Candle{elsewhere, Inf, Inf, 4, 5, 1},   // non-finite open and high
    };
    for (const auto& [name, params] : members) {
        auto clean = make(name, params);
        auto mixed = make(name, params);
        ASSERT_TRUE(clean && mixed) << name;
        for (std::size_t i = 0; i < valid.size(); ++i) {
            const Candle& bad = invalid[i % invalid.size()];
            StepView s;
            s.candle = bad;
            EXPECT_FALSE(mixed->update(s)) << name << " step " << i + 1;
            const auto want = run_all(*clean, {valid[i]});
            const auto got = run_all(*mixed, {valid[i]});
            if (std::isnan(want[0][0])) EXPECT_TRUE(std::isnan(got[0][0])) << name << " step " << i + 1;
            else EXPECT_EQ(got, want) << name << " step " << i + 1;
        }
    }
}

TEST(TransformsHeikinAshi, SmoothedCountsValidCandlesOnly) {
    auto ind = make("SmoothedHeikinAshi", {3});
    ASSERT_TRUE(ind);
    const auto got = run_candles(*ind, {candle(10, 12, 9, 11), candle(5, 4, 6, 5), candle(11, 14, 10, 13),
                                        candle(13, 13, 8, 9)});
    EXPECT_EQ(first_value_at(got), 4u);
}

TEST(TransformsCalendar, OvernightGapRepeatsThroughTheDay) {
    const std::int64_t d1 = JAN_30_2024, d2 = d1 + DAY_MS, d3 = d2 + DAY_MS;
    const auto got = run_candles("OvernightGap", {0},
                                 {at(d1 + HOUR_MS, 10, 11), at(d1 + 2 * HOUR_MS, 11, 8),
                                  at(d2 + HOUR_MS, 10, 12), at(d2 + 5 * HOUR_MS, 12, 0),
                                  at(d3, 3, 4), at(d3 + HOUR_MS, 4, 5),
                                  // Back to an earlier day: any change of date starts a day.
                                  at(d1, 7.5, 7)});
    expect_same(got, {NaN, NaN, 0.25, 0.25, 0, 0, 0.5}, "OvernightGap");
}

TEST(TransformsCalendar, OvernightIntradayReturnOutputs) {
    const std::int64_t d1 = JAN_30_2024, d2 = d1 + DAY_MS, d3 = d2 + DAY_MS;
    auto ind = make("OvernightIntradayReturn", {0});
    ASSERT_TRUE(ind);
    const auto rows = run_all(*ind, {at(d1, 10, 11), at(d1 + HOUR_MS, 11, 8), at(d2, 10, 12.5), at(d2 + HOUR_MS, 12, 15),
                                     // A first open of 0 gives an intraday return of 0.
                                     at(d3, 0, 4), at(d3 + HOUR_MS, 4, 5)});
    const std::vector<std::vector<double>> want{
        {NaN}, {NaN}, {0.25, 0.25, 0.25}, {0.25, 0.25, 0.5}, {-1, -1, 0}, {-1, -1, 0},
    };
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (std::isnan(want[i][0])) EXPECT_TRUE(std::isnan(rows[i][0])) << "step " << i + 1;
        else EXPECT_EQ(rows[i], want[i]) << "step " << i + 1;
    }
    const auto named = ind->extra_outputs();
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0].first, "overnight");
    EXPECT_EQ(named[1].first, "intraday");
    // A previous close of 0 gives an overnight return of 0.
    expect_same(run_candles("OvernightGap", {0}, {at(d1, 1, 0), at(d2, 5, 5)}), {NaN, 0}, "zero close");
}

TEST(TransformsCalendar, DayBoundaries) {
    const std::int64_t midnight = JAN_30_2024 + DAY_MS;
    struct B {
        std::int32_t offset;
        std::int64_t first, second;
        bool new_day;
    };
    const std::vector<B> table{
        {0, midnight - MINUTE_MS, midnight + MINUTE_MS, true},
        {-120, midnight - MINUTE_MS, midnight + MINUTE_MS, false},
        // -120 moves the boundary to 02:00 UTC.
        {-120, midnight + 119 * MINUTE_MS, midnight + 121 * MINUTE_MS, true},
        {90, midnight - 91 * MINUTE_MS, midnight - 89 * MINUTE_MS, true},
        {90, midnight - MINUTE_MS, midnight + MINUTE_MS, false},
        // Before the epoch: -1 ms is 1969-12-31, floor division rather than truncation.
        {0, -1, 0, true},
        {0, -DAY_MS, -1, false},
        {0, -DAY_MS - 1, -DAY_MS, true},
        {0, -999, -1, false},
        {1, -MINUTE_MS - 1, -MINUTE_MS, true},
        // The extremes of the timestamp and of the offset.
        {0, I64_MIN, I64_MAX, true},
        {std::numeric_limits<std::int32_t>::min(), I64_MIN, I64_MIN + 1, false},
        {std::numeric_limits<std::int32_t>::max(), I64_MAX - 1, I64_MAX, false},
    };
    for (const auto& b : table) {
        const std::vector<Candle> candles{at(b.first, 10, 10), at(b.second, 20, 20)};
        const auto gap = run_candles("OvernightGap", {static_cast<double>(b.offset)}, candles);
        const auto oir = run_candles("OvernightIntradayReturn", {static_cast<double>(b.offset)}, candles);
        const auto what = "offset " + std::to_string(b.offset) + " at " + std::to_string(b.first) + ", " +
                          std::to_string(b.second);
        expect_same(gap, {NaN, b.new_day ? 1.0 : NaN}, "OvernightGap " + what);
        expect_same(oir, {NaN, b.new_day ? 1.0 : NaN}, "OvernightIntradayReturn " + what);
    }
}

TEST(TransformsTurnOfMonth, CountingOrder) {
    // Closes at the end of each day: Jan 30 100, Jan 31 110, Feb 1 121, Feb 2 133.1, Feb 3 100.
    const std::int64_t jan30 = JAN_30_2024, jan31 = jan30 + DAY_MS, feb1 = jan31 + DAY_MS, feb2 = feb1 + DAY_MS,
                       feb3 = feb2 + DAY_MS;
    const std::vector<Candle> candles{
        at(jan30, 90),  at(jan30 + HOUR_MS, 100), at(jan31, 105), at(jan31 + HOUR_MS, 110),
        at(feb1, 50),   at(feb1 + HOUR_MS, 121),  at(feb2, 1000), at(feb2 + HOUR_MS, 133.1),
        at(feb3, 100),
    };
    const double r_jan31 = 110.0 / 100.0 - 1.0, r_feb1 = 121.0 / 110.0 - 1.0, r_feb2 = 133.1 / 121.0 - 1.0;
    struct T {
        std::vector<double> params;
        std::vector<double> want;
    };
    const std::vector<T> table{
        // First day of the month only: Feb 1 is counted when Feb 2 begins.
        {{1, 0, 0}, {NaN, NaN, NaN, NaN, NaN, NaN, r_feb1, r_feb1, r_feb1}},
        // Last day only: Jan 31 is counted when Feb 1 begins, against Jan 30's last close.
        {{0, 1, 0}, {NaN, NaN, NaN, NaN, r_jan31, r_jan31, r_jan31, r_jan31, r_jan31}},
        {{2, 1, 0}, {NaN, NaN, NaN, NaN, r_jan31, r_jan31, (r_jan31 + r_feb1) / 2, (r_jan31 + r_feb1) / 2,
                     ((r_jan31 + r_feb1) + r_feb2) / 3}},
        // L beyond any month counts every day; Jan 30 itself has no previous close.
        {{0, 40, 0}, {NaN, NaN, NaN, NaN, r_jan31, r_jan31, (r_jan31 + r_feb1) / 2, (r_jan31 + r_feb1) / 2,
                      ((r_jan31 + r_feb1) + r_feb2) / 3}},
        // Half an hour behind UTC a candle at 00:00 belongs to the day before, so Feb 1
        // runs from the 121 to the 1000 and its return is taken against the 50.
        {{1, 0, -30}, {NaN, NaN, NaN, NaN, NaN, NaN, NaN, 1000.0 / 50.0 - 1.0, 1000.0 / 50.0 - 1.0}},
    };
    for (const auto& t : table)
        expect_same(run_candles("TurnOfMonth", t.params, candles), t.want, label("TurnOfMonth", t.params));
}

TEST(TransformsTurnOfMonth, LeapYears) {
    // One candle a day from Feb 27; closes 100, 110, 121, ...
    auto daily = [](std::int64_t from, int days) {
        std::vector<Candle> out;
        double close = 100;
        for (int i = 0; i < days; ++i, close *= 1.1) out.push_back(at(from + i * DAY_MS, close));
        return out;
    };
    const auto y1900 = run_candles("TurnOfMonth", {0, 1, 0}, daily(FEB_27_1900, 4));  // 27, 28, Mar 1, 2
    const auto y2000 = run_candles("TurnOfMonth", {0, 1, 0}, daily(FEB_27_2000, 4));  // 27, 28, 29, Mar 1
    // 1900 is no leap year: Feb 28 is the month's last day, counted when Mar 1 begins.
    EXPECT_EQ(first_value_at(y1900), 3u);
    EXPECT_NEAR(y1900[2], 0.1, 1e-12);
    // 2000 is: Feb 28 is not counted, Feb 29 is.
    EXPECT_EQ(first_value_at(y2000), 4u);
    EXPECT_NEAR(y2000[3], 0.1, 1e-12);
    // The first day counts under F = 1 in both years: Mar 1 ends when Mar 2 begins.
    EXPECT_EQ(first_value_at(run_candles("TurnOfMonth", {1, 0, 0}, daily(FEB_27_1900, 4))), 4u);
    EXPECT_EQ(first_value_at(run_candles("TurnOfMonth", {1, 0, 0}, daily(FEB_27_2000, 5))), 5u);
    // From Feb 26, L = 2 takes Feb 27 in 1900 but only Feb 28 in 2000.
    EXPECT_EQ(first_value_at(run_candles("TurnOfMonth", {0, 2, 0}, daily(FEB_27_1900 - DAY_MS, 4))), 3u);
    EXPECT_EQ(first_value_at(run_candles("TurnOfMonth", {0, 2, 0}, daily(FEB_27_2000 - DAY_MS, 4))), 4u);
}

TEST(TransformsTurnOfMonth, ZeroPreviousCloseCountsZero) {
    const auto got = run_candles("TurnOfMonth", {0, 40, 0},
                                 {at(JAN_30_2024, 0, 0), at(JAN_30_2024 + DAY_MS, 5), at(JAN_30_2024 + 2 * DAY_MS, 5)});
    expect_same(got, {NaN, NaN, 0}, "zero close");
}

TEST(TransformsTurnOfMonth, ExtremeTimestamps) {
    // The largest timestamp is 292278994-08-17 07:12:55.807 UTC, the smallest
    // -292275055-05-16 16:47:04.192 UTC (proleptic Gregorian).
    const std::vector<std::int64_t> top{I64_MAX - 2 * DAY_MS, I64_MAX - DAY_MS, I64_MAX};     // Aug 15, 16, 17
    const std::vector<std::int64_t> bottom{I64_MIN, I64_MIN + DAY_MS, I64_MIN + 2 * DAY_MS};  // May 16, 17, 18
    struct E {
        const std::vector<std::int64_t>* days;
        std::vector<double> params;
        bool counted;  // the return of the middle day
    };
    const std::vector<E> table{
        {&top, {16, 0, 0}, true},
        {&top, {15, 0, 0}, false},
        {&top, {0, 16, 0}, true},  // August has 31 days
        {&top, {0, 15, 0}, false},
        // 7 h 13 min behind UTC the days are Aug 14, 15, 16.
        {&top, {15, 0, -433}, true},
        {&top, {14, 0, -433}, false},
        {&top, {15, 0, -432}, false},
        {&bottom, {17, 0, 0}, true},
        {&bottom, {16, 0, 0}, false},
        {&bottom, {0, 15, 0}, true},  // May has 31 days
        {&bottom, {0, 14, 0}, false},
        // 7 h 13 min ahead of UTC the days are May 17, 18, 19; 7 h 12 min is not enough.
        {&bottom, {18, 0, 433}, true},
        {&bottom, {17, 0, 433}, false},
        {&bottom, {17, 0, 432}, true},
    };
    for (const auto& e : table) {
        std::vector<Candle> candles;
        for (std::int64_t ts : *e.days) candles.push_back(at(ts, 100 + candles.size()));
        const auto got = run_candles("TurnOfMonth", e.params, candles);
        const std::string what = label("TurnOfMonth", e.params) + " from " + std::to_string(e.days->front());
        expect_same(got, {NaN, NaN, e.counted ? 101.0 / 100.0 - 1.0 : NaN}, what);
    }
}

TEST(TransformsConstruction, Messages) {
    const std::string zero = "period must be greater than zero";
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    struct M {
        const char* name;
        std::vector<double> params;
        std::string want;  // after "invalid parameters for indicator NAME: ", or "ok"
    };
    const std::vector<M> table{
        {"AvgPrice", {}, "ok"},
        {"WickRatio", {3, 4}, "ok"},  // parameters are ignored
        {"HeikinAshi", {}, "ok"},
        {"SmoothedHeikinAshi", {1e-20}, zero},
        {"SmoothedHeikinAshi", {16777217}, max},
        {"SmoothedHeikinAshi", {18446744073709551615.0}, max},
        {"SmoothedHeikinAshi", {16777216}, "ok"},
        {"OvernightGap", {-2147483648.0}, "ok"},
        {"OvernightGap", {2147483647.0}, "ok"},
        {"OvernightGap", {2147483648.0}, "parameter #0 must be an i32, got 2147483648"},
        {"OvernightIntradayReturn", {-2147483648.0}, "ok"},
        {"TurnOfMonth", {0, 0, 0}, zero},
        {"TurnOfMonth", {0, 0, -60}, zero},
        {"TurnOfMonth", {1, 0, 0}, "ok"},
        {"TurnOfMonth", {0, 1, 0}, "ok"},
        {"TurnOfMonth", {4294967295.0, 4294967295.0, -2147483648.0}, "ok"},
        {"TurnOfMonth", {-1, 1, 0}, "parameter #0 must be a u32, got -1"},
    };
    for (const auto& m : table) {
        const std::string want = m.want == "ok" ? "ok" : "invalid parameters for indicator " + std::string(m.name) + ": " + m.want;
        EXPECT_EQ(create_error(m.name, m.params), want) << m.name;
    }
}
