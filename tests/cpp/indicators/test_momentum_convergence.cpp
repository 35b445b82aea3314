#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <sstream>
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

std::string label(const Member& m) {
    std::ostringstream s;
    s << m.name << '(';
    for (std::size_t i = 0; i < m.params.size(); ++i) s << (i ? "," : "") << m.params[i];
    s << ')';
    return s.str();
}

// Positive prices that wander, with volume and a wick on both sides.
std::vector<Candle> wandering(std::size_t n, unsigned seed = 11) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    std::uniform_real_distribution<double> wick(0.05, 0.8);
    std::vector<Candle> out;
    double x = 50.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double open = x;
        x += step(rng);
        out.push_back(candle(open, std::max(open, x) + wick(rng), std::min(open, x) - wick(rng), x, 1.0 + wick(rng)));
    }
    return out;
}

std::vector<Candle> bars(const std::vector<double>& closes) {
    std::vector<Candle> out;
    for (double x : closes) out.push_back(bar(x));
    return out;
}

std::vector<double> closes_of(const std::vector<Candle>& candles) {
    std::vector<double> out;
    for (const Candle& c : candles) out.push_back(c.close);
    return out;
}

// One row per step: the primary value then the named outputs; a lone NaN without a value.
using Rows = std::vector<std::vector<double>>;

Rows collect(const Member& m, const std::vector<Candle>& candles) {
    auto ind = make(m.name, m.params);
    if (!ind) return {};
    Rows rows;
    for (const Candle& c : candles) {
        StepView s;
        s.candle = c;
        std::vector<double> row{NaN};
        if (auto v = ind->update(s)) {
            row = {*v};
            for (const auto& [name, value] : ind->extra_outputs()) row.push_back(value);
        }
        rows.push_back(row);
    }
    return rows;
}

void expect_values(const std::vector<double>& got, const std::vector<double>& want, const std::string& what,
                   double tolerance = 0.0) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << ": " << got[i];
        else if (tolerance == 0.0) EXPECT_EQ(got[i], want[i]) << what << " step " << i + 1;
        else EXPECT_NEAR(got[i], want[i], tolerance) << what << " step " << i + 1;
    }
}

// Every member with a reported warm-up.
struct Warmup {
    Member m;
    std::size_t reported;
    std::size_t first_value;
};

const std::vector<Warmup> warmups{
    {{"MacdIndicator", {12, 26, 9}}, 34, 34},
    {{"Macd", {3, 5, 4}}, 8, 8},
    {{"MacdFix", {9}}, 34, 34},
    {{"MacdFix", {1}}, 26, 26},
    {{"MacdHistogram", {4, 7, 3}}, 9, 9},
    {{"ZeroLagMacd", {4, 8, 5}}, 8 + 3 + 5 + 2 - 1, 17},
    {{"VolumeWeightedMacd", {3, 6, 4}}, 9, 9},
    {{"Apo", {3, 8}}, 8, 8},
    {{"Ppo", {3, 8}}, 8, 8},
    {{"PpoHistogram", {3, 8, 4}}, 11, 11},
    {{"Mom", {4}}, 5, 5},
    {{"Roc", {4}}, 5, 5},
    {{"Rocp", {1}}, 2, 2},
    {{"Rocr", {3}}, 4, 4},
    {{"Rocr100", {6}}, 7, 7},
    {{"Tsi", {6, 4}}, 10, 10},
    {{"Trix", {4}}, 11, 11},
    {{"Kst", {2, 3, 4, 5, 3, 3, 3, 4, 3}}, 11, 11},
    {{"Stc", {23, 50, 10, 0.5}}, 68, 68},
    {{"Stc", {2, 5, 3, 1}}, 9, 9},
    {{"Pmo", {5, 3}}, 2, 2},
    {{"Coppock", {5, 3, 4}}, 9, 9},
    {{"Cfo", {5}}, 5, 5},
    {{"AwesomeOscillator", {3, 7}}, 7, 7},
    {{"AcceleratorOscillator", {3, 7, 4}}, 10, 10},
    {{"AcceleratorOscillator", {7, 3, 4}}, 10, 10},  // no order among the periods
    {{"AwesomeOscillatorHistogram", {3, 7, 4}}, 11, 10},
    {{"DerivativeOscillator", {5, 3, 2, 4}}, 12, 12},
    {{"DisparityIndex", {6}}, 6, 6},
    {{"ElderImpulse", {13, 12, 26, 9}}, 35, 35},
    {{"ElderImpulse", {40, 3, 5, 2}}, 41, 41},
    {{"Inertia", {4, 3}}, 9, 9},
    {{"ChaikinMoneyFlow", {5}}, 5, 5},
};

}  // namespace

TEST(MomentumConvergenceWarmup, FirstValueAndReportedWarmup) {
    const auto candles = wandering(90);
    for (const auto& w : warmups) {
        auto ind = make(w.m.name, w.m.params);
        ASSERT_TRUE(ind) << label(w.m);
        EXPECT_EQ(ind->warmup_period(), w.reported) << label(w.m);
        Rows rows = collect(w.m, candles);
        std::vector<double> primary;
        for (const auto& r : rows) primary.push_back(r[0]);
        EXPECT_EQ(first_value_at(primary), w.first_value) << label(w.m);
        for (std::size_t i = w.first_value; i < primary.size(); ++i)
            EXPECT_FALSE(std::isnan(primary[i])) << label(w.m) << " step " << i + 1;
    }
}

TEST(MomentumConvergenceExamples, KnownValues) {
    struct Example {
        Member m;
        std::vector<Candle> candles;
        std::vector<double> want;
    };
    const std::vector<Example> examples{
        {{"Mom", {2}}, bars({1, 2, 4, 7}), {NaN, NaN, 3, 5}},
        {{"Roc", {1}}, bars({2, 3, 0, 5}), {NaN, 50, -100, 0}},  // from a base of 0: 0, not infinity
        {{"Rocp", {1}}, bars({2, 3, 0, 5}), {NaN, 0.5, -1, 0}},
        {{"Rocr", {1}}, bars({2, 3, 0, 5}), {NaN, 1.5, 0, 0}},
        {{"Rocr100", {1}}, bars({2, 3, 0, 5}), {NaN, 150, 0, 0}},
        // EMA(2) runs half a step behind a unit trend and EMA(3) one step: APO 0.5.
        {{"Apo", {2, 3}}, bars({1, 2, 3, 4, 5}), {NaN, NaN, 0.5, 0.5, 0.5}},
        {{"Ppo", {2, 3}}, bars({0, 0, 0, 3}), {NaN, NaN, 0, 100 * (2.0 - 1.5) / 1.5}},
        // EMA(1) is the close: TRIX is the one-bar rate of change, 0 from a base of 0.
        {{"Trix", {1}}, bars({1, 2, 4, 0, 5}), {NaN, 100, 100, -100, 0}},
        {{"Tsi", {1, 1}}, bars({1, 2, 1, 1}), {NaN, 100, -100, 0}},
        // alpha 1/2 in both stages: c = 10, then 0 (and 0 from a base of 0).
        {{"Pmo", {4, 4}}, bars({100, 110, 110}), {NaN, 100, 75}},
        {{"Pmo", {2, 2}}, bars({0, 5, 10}), {NaN, 0, 1000}},
        // ROC(1) + ROC(2): 10 + 21, then 0 + 10; WMA(2) = (31 + 2·10)/3.
        {{"Coppock", {1, 2, 2}}, bars({100, 110, 121, 121}), {NaN, NaN, NaN, 17}},
        // The least-squares line through 1, 2, 4 ends at 23/6; a close of 0 repeats the value.
        {{"Cfo", {3}},
         bars({1, 2, 4, 0, 7, 7, 7}),
         {NaN, NaN, 100 * (4 - 23.0 / 6) / 4, 100 * (4 - 23.0 / 6) / 4, 100 * (7 - 31.0 / 6) / 7,
          100 * (7 - 49.0 / 6) / 7, 0}},
        {{"Cfo", {2}}, bars({0, 0, 1}), {NaN, NaN, 0}},
        {{"DisparityIndex", {2}}, bars({1, 3, -3, 0.1, 0.1}), {NaN, 50, NaN, 100 * (0.1 + 1.45) / -1.45, 0}},
        // RSI(1) is 100 on a rise and 0 on a fall; EMA(1) passes it through.
        {{"DerivativeOscillator", {1, 1, 1, 2}}, bars({1, 2, 1, 1}), {NaN, NaN, -50, 25}},
        // Stage extremes over two MACD values; factor 1 is no smoothing.
        {{"Stc", {1, 2, 2, 1}}, bars({1, 2, 4, 3, 5}), {NaN, NaN, NaN, 0, 100}},
        {{"Stc", {1, 2, 2, 0.5}}, bars({1, 2, 4, 3, 5}), {NaN, NaN, NaN, 0, 50}},
        // Zlema(2) lags half a step; Zlema(3) de-lags 2x − x_{t−1} and seeds at 4.
        {{"ZeroLagMacd", {2, 3, 1}}, bars({1, 2, 3, 4}), {NaN, NaN, NaN, -0.5}},
        {{"MacdHistogram", {2, 3, 2}}, bars({1, 2, 3, 4, 5}), {NaN, NaN, NaN, 0, 0}},
        {{"ElderImpulse", {2, 2, 3, 2}}, bars({5, 5, 5, 5, 5, 5}), {NaN, NaN, NaN, NaN, 0, 0}},
        // Medians 1, 3, 8: AO(1, 2) = 1 then 2.5; their SMA(2) is 1.75.
        {{"AwesomeOscillator", {1, 2}}, bars({1, 3, 8}), {NaN, 1, 2.5}},
        {{"AcceleratorOscillator", {1, 2, 2}}, bars({1, 3, 8}), {NaN, NaN, 0.75}},
        {{"AwesomeOscillatorHistogram", {1, 2, 2}}, bars({1, 3, 8}), {NaN, NaN, 0.75}},
        // Close at the high (+1·1), at the low (−1·3), a candle without range (0).
        {{"ChaikinMoneyFlow", {2}}, {candle(5, 10, 0, 10, 1), candle(5, 10, 0, 0, 3), candle(4, 4, 4, 4, 5)},
         {NaN, -0.5, -3.0 / 8}},
        {{"ChaikinMoneyFlow", {2}}, {candle(5, 10, 0, 10, 0), candle(5, 10, 0, 0, 0)}, {NaN, 0}},
        // Vwma(2) = (10 + 60)/4.
        {{"VolumeWeightedMacd", {1, 2, 1}}, {bar(10, 1), bar(20, 3)}, {NaN, 2.5}},
    };
    for (const auto& e : examples)
        expect_values(run_candles(e.m.name, e.m.params, e.candles), e.want, label(e.m), 1e-12);
}

TEST(MomentumConvergenceOutputs, NamedOutputsInOrder) {
    struct Expect {
        Member m;
        std::vector<Candle> candles;
        std::vector<std::string> names;
        std::vector<double> values;  // primary first, then the named outputs
    };
    const std::vector<Expect> table{
        // macd 0.5 from the third close on; the signal EMA(2) seeds at 0.5, then follows 0.5.
        {{"MacdIndicator", {2, 3, 2}}, bars({1, 2, 3, 4, 5}), {"macd", "signal", "histogram"}, {0.5, 0.5, 0.5, 0}},
        {{"Macd", {2, 3, 2}}, bars({1, 2, 3, 4, 5}), {"macd", "signal", "histogram"}, {0.5, 0.5, 0.5, 0}},
        {{"ZeroLagMacd", {2, 3, 1}}, bars({1, 2, 3, 4}), {"macd", "signal", "histogram"}, {-0.5, -0.5, -0.5, 0}},
        // ROC(1) 10 and ROC(2) 21 with SMA(1) each: 10 + 2·10 + 3·10 + 4·21.
        {{"Kst", {1, 1, 1, 2, 1, 1, 1, 1, 1}}, bars({100, 110, 121}), {"kst", "signal"}, {144, 144, 144}},
        // Over zero volumes both averages are plain means: 20 − 15.
        {{"VolumeWeightedMacd", {1, 2, 1}}, {bar(10, 0), bar(20, 0)}, {"macd", "signal", "histogram"}, {5, 5, 5, 0}},
    };
    for (const auto& t : table) {
        auto ind = make(t.m.name, t.m.params);
        ASSERT_TRUE(ind) << label(t.m);
        std::optional<double> last;
        for (const Candle& c : t.candles) {
            StepView s;
            s.candle = c;
            last = ind->update(s);
        }
        ASSERT_TRUE(last) << label(t.m);
        const auto extra = ind->extra_outputs();
        ASSERT_EQ(extra.size(), t.names.size()) << label(t.m);
        EXPECT_NEAR(*last, t.values[0], 1e-12) << label(t.m);
        for (std::size_t j = 0; j < extra.size(); ++j) {
            EXPECT_EQ(extra[j].first, t.names[j]) << label(t.m);
            EXPECT_NEAR(extra[j].second, t.values[j + 1], 1e-12) << label(t.m) << " " << t.names[j];
        }
    }
}

namespace {

// Reference EMA: the average of the first n inputs, then alpha·x + (1 − alpha)·value.
std::vector<double> reference_ema(const std::vector<double>& xs, std::size_t n, double alpha) {
    std::vector<double> out(xs.size(), NaN);
    double value = 0.0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (i + 1 < n) {
            value += xs[i];
            continue;
        }
        value = i + 1 == n ? (value + xs[i]) / static_cast<double>(n) : alpha * xs[i] + (1 - alpha) * value;
        out[i] = value;
    }
    return out;
}

}  // namespace

TEST(MomentumConvergenceExamples, MacdAgainstPlainEmas) {
    const auto closes = closes_of(wandering(80));
    struct Line {
        Member m;
        std::size_t fast;
        double fast_alpha;
        std::size_t slow;
        double slow_alpha;
        std::size_t signal;
    };
    const std::vector<Line> lines{
        {{"MacdIndicator", {12, 26, 9}}, 12, 2.0 / 13, 26, 2.0 / 27, 9},
        {{"MacdFix", {9}}, 12, 0.15, 26, 0.075, 9},  // fixed alphas, not 2/13 and 2/27
        {{"MacdFix", {4}}, 12, 0.15, 26, 0.075, 4},
    };
    for (const auto& l : lines) {
        const auto fast = reference_ema(closes, l.fast, l.fast_alpha);
        const auto slow = reference_ema(closes, l.slow, l.slow_alpha);
        std::vector<double> macd;
        for (std::size_t i = l.slow - 1; i < closes.size(); ++i) macd.push_back(fast[i] - slow[i]);
        const auto signal = reference_ema(macd, l.signal, 2.0 / (static_cast<double>(l.signal) + 1));
        const Rows rows = collect(l.m, bars(closes));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::size_t k = i + 1 >= l.slow ? i + 1 - l.slow : 0;
            if (i + 1 < l.slow || std::isnan(signal[k])) {
                EXPECT_TRUE(std::isnan(rows[i][0])) << label(l.m) << " step " << i + 1;
                continue;
            }
            ASSERT_EQ(rows[i].size(), 4u) << label(l.m);
            EXPECT_NEAR(rows[i][1], macd[k], 1e-9) << label(l.m) << " step " << i + 1;
            EXPECT_NEAR(rows[i][2], signal[k], 1e-9) << label(l.m) << " step " << i + 1;
            EXPECT_NEAR(rows[i][3], macd[k] - signal[k], 1e-9) << label(l.m) << " step " << i + 1;
        }
    }
}

TEST(MomentumConvergenceExamples, TrendImpulseAndRegressionOfVolatility) {
    // A growing series lifts the EMA and the histogram together; its mirror drops both.
    std::vector<double> up;
    std::vector<double> down;
    for (int i = 0; i < 40; ++i) {
        up.push_back(std::pow(1.1, i));
        down.push_back(-std::pow(1.1, i));
    }
    const auto rising = run_closes("ElderImpulse", {5, 3, 6, 3}, up);
    const auto falling = run_closes("ElderImpulse", {5, 3, 6, 3}, down);
    for (std::size_t i = 9; i < up.size(); ++i) {
        EXPECT_EQ(rising[i], 1.0) << "step " << i + 1;
        EXPECT_EQ(falling[i], -1.0) << "step " << i + 1;
    }
    // A two-point line ends at its newest point: Inertia(N, 2) repeats RviVolatility(N).
    const auto candles = wandering(40);
    const auto rvi = run_closes("RviVolatility", {4}, closes_of(candles));
    const auto inertia = run_candles("Inertia", {4, 2}, candles);
    for (std::size_t i = 8; i < candles.size(); ++i) EXPECT_NEAR(inertia[i], rvi[i], 1e-9) << "step " << i + 1;
}

TEST(MomentumConvergenceExamples, FlatSeriesGiveExactValues) {
    const std::vector<double> flat(40, 0.1);
    const std::vector<Member> close_members{
        {"MacdHistogram", {3, 6, 4}}, {"Apo", {3, 6}},         {"Ppo", {3, 6}},      {"PpoHistogram", {3, 6, 4}},
        {"Trix", {3}},                {"Tsi", {4, 3}},         {"Pmo", {5, 3}},      {"Mom", {3}},
        {"Roc", {3}},                 {"Coppock", {3, 4, 3}},  {"Cfo", {4}},         {"DisparityIndex", {7}},
        {"Stc", {3, 6, 4, 0.5}},      {"ZeroLagMacd", {3, 6, 4}}, {"ElderImpulse", {4, 3, 6, 4}},
        {"DerivativeOscillator", {4, 3, 3, 4}}, {"MacdFix", {5}},
    };
    for (const auto& m : close_members) {
        const auto values = run_closes(m.name, m.params, flat);
        for (std::size_t i = 30; i < values.size(); ++i) EXPECT_EQ(values[i], 0.0) << label(m) << " step " << i + 1;
    }
    // Zero volumes over varying closes, then a flat close: both averages are the same mean.
    std::vector<Candle> quiet;
    for (int i = 0; i < 30; ++i) quiet.push_back(bar(i < 15 ? 100.0 + i % 3 : 104.3, 0.0));
    const auto vw = run_candles("VolumeWeightedMacd", {3, 6, 4}, quiet);
    EXPECT_EQ(vw.back(), 0.0);
    const auto cmf = run_candles("ChaikinMoneyFlow", {5}, quiet);
    EXPECT_EQ(cmf.back(), 0.0);
}

TEST(MomentumConvergenceInputs, UnusableInputsAreSkippedWithoutStateChange) {
    const auto clean = wandering(70);
    for (const auto& w : warmups) {
        const bool close_fed = make(w.m.name, w.m.params)->input_kind() == InputKind::Close;
        std::vector<Candle> dirty;
        std::vector<bool> inserted;
        for (std::size_t i = 0; i < clean.size(); ++i) {
            if (i % 7 == 3) {
                dirty.push_back(close_fed ? bar(NaN) : candle(10, 9, 11, 10));  // high below low
                inserted.push_back(true);
            }
            if (i % 11 == 5) {
                dirty.push_back(close_fed ? bar(-Inf) : candle(NaN, 11, 9, 10));
                inserted.push_back(true);
            }
            dirty.push_back(clean[i]);
            inserted.push_back(false);
        }
        const Rows want = collect(w.m, clean);
        const Rows got = collect(w.m, dirty);
        ASSERT_EQ(got.size(), dirty.size()) << label(w.m);
        std::size_t k = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (inserted[i]) {
                EXPECT_TRUE(std::isnan(got[i][0])) << label(w.m) << " inserted step " << i + 1;
                continue;
            }
            expect_values(got[i], want[k], label(w.m) + " step " + std::to_string(k + 1));
            ++k;
        }
    }
}

TEST(MomentumConvergenceConstruction, Messages) {
    const std::string zero = "period must be greater than zero";
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string fast_slow = "invalid period: fast period must be strictly less than slow period";
    const std::string ppo = "invalid period: PPO fast period must be < slow period";
    const std::string stc_factor = "invalid period: STC factor must be a finite value in (0, 1]";
    const std::string pmo = "invalid period: PMO smoothing periods must be >= 2";
    const std::string line = "invalid period: linear regression needs period >= 2";
    const double big = 2e7;
    const double tiny = 1e-20;  // passes the whole-number test and truncates to 0
    struct M {
        Member m;
        std::string want;  // after "invalid parameters for indicator NAME: ", or "ok"
        const char* shown = nullptr;  // the name in the message when it is not the one asked for
    };
    const std::vector<M> table{
        {{"MacdIndicator", {26, 12, 9}}, fast_slow},
        {{"Macd", {12, 12, 9}}, fast_slow, "MacdIndicator"},
        {{"MacdIndicator", {tiny, 26, 9}}, zero},
        {{"MacdIndicator", {12, 26, tiny}}, zero},
        {{"MacdIndicator", {26, tiny, 9}}, zero},  // a zero length before the order
        {{"MacdIndicator", {big, 26, 9}}, fast_slow},  // the order is checked before the bound
        {{"MacdIndicator", {12, big, 9}}, max},
        {{"MacdIndicator", {12, 26, big}}, max},
        {{"MacdHistogram", {5, 5, 3}}, fast_slow},
        {{"VolumeWeightedMacd", {5, 3, 2}}, fast_slow},
        {{"VolumeWeightedMacd", {3, 5, tiny}}, zero},
        {{"ElderImpulse", {13, 26, 12, 9}}, fast_slow},
        {{"ElderImpulse", {tiny, 26, 12, 9}}, zero},
        {{"ElderImpulse", {big, 26, 12, 9}}, max},  // the trend period comes first
        {{"ElderImpulse", {13, 12, 26, tiny}}, zero},
        {{"MacdFix", {tiny}}, zero},
        {{"MacdFix", {big}}, max},
        {{"ZeroLagMacd", {5, 3, 2}}, "invalid period: ZeroLagMACD fast period must be strictly less than slow"},
        {{"Apo", {3, 3}}, "invalid period: APO fast period must be strictly less than slow"},
        {{"Ppo", {5, 3}}, ppo},
        {{"PpoHistogram", {5, 3, 2}}, ppo},
        {{"AwesomeOscillator", {34, 5}}, "invalid period: AO fast period must be strictly less than slow"},
        {{"AwesomeOscillatorHistogram", {34, 5, 5}},
         "invalid period: AwesomeOscillatorHistogram fast must be strictly less than slow"},
        {{"AcceleratorOscillator", {34, 5, 5}}, "ok"},
        {{"AcceleratorOscillator", {5, 34, tiny}}, zero},
        {{"Stc", {50, 23, 10, 0.5}}, "invalid period: STC fast period must be strictly less than slow"},
        {{"Stc", {23, 50, 10, 0}}, stc_factor},
        {{"Stc", {23, 50, 10, 1.5}}, stc_factor},
        {{"Stc", {23, 50, 10, 1}}, "ok"},
        {{"Stc", {23, 50, tiny, 0.5}}, zero},
        {{"Stc", {23, 50, big, 0.5}}, max},
        {{"Pmo", {1, 20}}, pmo},
        {{"Pmo", {35, 1}}, pmo},
        {{"Pmo", {tiny, 20}}, zero},
        {{"Cfo", {1}}, line},
        {{"Cfo", {tiny}}, zero},
        {{"Inertia", {1, 5}}, "invalid period: RVI period must be >= 2"},
        {{"Inertia", {10, 1}}, line},
        {{"Mom", {16777216}}, max},  // a ring of N + 1 closes
        {{"Mom", {16777215}}, "ok"},
        {{"Roc", {tiny}}, zero},
        {{"Rocr100", {tiny}}, zero},
        {{"Kst", {10, 15, 20, 16777216, 10, 10, 10, 15, 9}}, max},
        {{"Kst", {10, 15, 20, 30, 10, 10, 10, 15, tiny}}, zero},
        {{"Coppock", {14, 16777216, 10}}, max},
        {{"Tsi", {25, tiny}}, zero},
        {{"Trix", {big}}, max},
        {{"DerivativeOscillator", {14, 5, 3, tiny}}, zero},
        {{"DisparityIndex", {big}}, max},
        {{"ChaikinMoneyFlow", {tiny}}, zero},
    };
    for (const auto& t : table) {
        const std::string name = t.shown ? t.shown : t.m.name;
        const std::string want = t.want == "ok" ? t.want : "invalid parameters for indicator " + name + ": " + t.want;
        EXPECT_EQ(create_error(t.m.name, t.m.params), want) << label(t.m);
    }
}
