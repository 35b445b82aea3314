#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "feed.hpp"
#include "indicators/bands/true_range.hpp"
#include "indicators/bands/wilder_atr.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

// A candle spanning [low, high] that opens and closes at `close`.
Candle hlc(double high, double low, double close, double volume = 1.0) {
    return candle(close, high, low, close, volume);
}

std::vector<Candle> random_candles(std::size_t n, unsigned seed = 11) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    std::uniform_real_distribution<double> wick(0.0, 0.8);
    std::vector<Candle> out;
    double x = 100.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double open = x;
        x += step(rng);
        out.push_back(candle(open, std::max(open, x) + wick(rng), std::min(open, x) - wick(rng), x,
                             1.0 + wick(rng)));
    }
    return out;
}

std::vector<double> closes_of(const std::vector<Candle>& candles) {
    std::vector<double> out;
    for (const Candle& c : candles) out.push_back(c.close);
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

// Close members see only the close; feeding them candles whose fields all equal the close
// mirrors run_closes.
std::vector<Candle> as_candles(const std::vector<double>& closes) {
    std::vector<Candle> out;
    for (double c : closes) out.push_back(Candle{0, c, c, c, c, 0.0});
    return out;
}

Rows collect(const Case& c, const std::vector<Candle>& candles) {
    auto ind = make(c.name, c.params);
    if (!ind) return {};
    return collect(*ind, ind->input_kind() == InputKind::Close ? as_candles(closes_of(candles)) : candles);
}

std::vector<std::string> output_names(const Indicator& ind) {
    std::vector<std::string> names;
    for (const auto& [name, value] : ind.extra_outputs()) names.push_back(name);
    return names;
}

const double s23 = std::sqrt(2.0 / 3.0);

}  // namespace

TEST(BandsTrueRange, FirstCandleThenGapsFromThePreviousClose) {
    auto tr = TrueRange::create();
    ASSERT_TRUE(tr);
    EXPECT_EQ(tr->push(12, 9, 10), 3.0);     // high − low
    EXPECT_EQ(tr->push(15, 14, 14.5), 5.0);  // gap up: high − previous close
    EXPECT_EQ(tr->push(11, 10, 10), 4.5);    // gap down: previous close − low
    EXPECT_EQ(tr->push(12, 9, 11), 3.0);     // inside: high − low
    EXPECT_EQ(tr->push(12, 9, NaN), 3.0);
    EXPECT_EQ(tr->push(13, 10, 11), 3.0);    // the NaN gaps are ignored
    EXPECT_EQ(tr->warmup_period(), 1u);
}

TEST(BandsWilderAtr, SeedsWithTheMeanThenSmooths) {
    WilderAtr atr(3);
    EXPECT_FALSE(atr.push(1.0));
    EXPECT_FALSE(atr.push(NaN));  // ignored, not counted
    EXPECT_FALSE(atr.push(2.0));
    EXPECT_EQ(atr.push(6.0), 3.0);
    EXPECT_EQ(atr.push(Inf), std::nullopt);
    EXPECT_EQ(atr.value(), 3.0);
    EXPECT_EQ(atr.push(9.0), std::fma(3.0, 2.0, 9.0) * (1.0 / 3.0));
    EXPECT_EQ(atr.warmup_period(), 3u);

    // A constant range stays exactly that range, through the seed and afterwards.
    WilderAtr flat(3);
    for (int i = 0; i < 50; ++i) {
        const auto v = flat.push(0.1);
        if (i >= 2) {
            EXPECT_EQ(v, 0.1) << i;
        }
    }
}

TEST(BandsWilderAtr, CandlesGoThroughTheTrueRange) {
    auto atr = WilderAtr::create(2);
    ASSERT_TRUE(atr);
    EXPECT_FALSE(atr->update(hlc(11, 9, 10)));     // TR 2
    EXPECT_EQ(atr->update(hlc(12, 10, 11)), 2.0);  // TR 2
    EXPECT_EQ(atr->update(hlc(13, 10, 12)), 2.5);  // TR 3
    EXPECT_EQ(WilderAtr::create(0).error(), CoreError::zero_period());
    EXPECT_EQ(WilderAtr::create(MAX_PERIOD + 1).error(), CoreError::invalid_period(MAX_PERIOD_MESSAGE));
}

// The family's examples, every output checked: rows hold the primary value then the named outputs.
TEST(BandsExamples, KnownValues) {
    const std::vector<Candle> three{hlc(11, 9, 10), hlc(12, 10, 11), hlc(13, 10, 12)};
    struct Example {
        Case c;
        std::vector<Candle> input;
        std::vector<std::vector<double>> want;  // per step, {} for no value
    };
    const double ema3 = std::fma(2.0 / 3.0, 12.0, (1.0 - 2.0 / 3.0) * 10.5);
    const double acc_up = (11 * 1.2 + 12 * (1 + 2.0 / 11)) / 2;
    const double acc_lo = (9 * 0.8 + 10 * (1 - 2.0 / 11)) / 2;
    const std::vector<Example> examples{
        {{"BollingerBands", {3, 2}},
         as_candles({1, 2, 3}),
         {{}, {}, {2 + 2 * s23, 2 + 2 * s23, 2, 2 - 2 * s23, s23}}},
        {{"Bollinger", {3, 2}}, as_candles({1, 2, 3}), {{}, {}, {2 + 2 * s23, 2 + 2 * s23, 2, 2 - 2 * s23, s23}}},
        {{"BollingerBandwidth", {3, 2}}, as_candles({1, 2, 3}), {{}, {}, {2 * s23}}},
        // A zero middle has no bandwidth.
        {{"BollingerBandwidth", {3, 2}}, as_candles({-1, 0, 1, 5}), {{}, {}, {}, {2 * std::sqrt(14.0 / 3.0)}}},
        {{"PercentB", {3, 2}}, as_candles({1, 2, 3}), {{}, {}, {(1 + 2 * s23) / (4 * s23)}}},
        {{"PercentB", {2, 2}}, as_candles({4, 4, 4}), {{}, {0.5}, {0.5}}},
        {{"DoubleBollinger", {3, 1, 2}},
         as_candles({1, 2, 3}),
         {{}, {}, {2 + 2 * s23, 2 + 2 * s23, 2 + s23, 2, 2 - s23, 2 - 2 * s23}}},
        // EMA(2) seeds at 10.5 and moves to 11.5; ATR(2) of ranges 2, 2, 3 is 2 then 2.5.
        {{"Keltner", {2, 2, 1}}, three, {{}, {12.5, 12.5, 10.5, 8.5}, {ema3 + 2.5, ema3 + 2.5, ema3, ema3 - 2.5}}},
        {{"AtrBands", {2, 2}}, three, {{}, {15, 15, 11, 7}, {17, 17, 12, 7}}},
        {{"StarcBands", {2, 3, 1}}, three, {{}, {}, {11.5 + 7.0 / 3, 11.5 + 7.0 / 3, 11.5, 11.5 - 7.0 / 3}}},
        {{"MaEnvelope", {2, 0.1}}, as_candles({10, 20}), {{}, {16.5, 16.5, 15, 13.5}}},
        {{"AccelerationBands", {2, 2}}, {hlc(11, 9, 10), hlc(12, 10, 11)}, {{}, {acc_up, acc_up, 10.5, acc_lo}}},
        {{"Donchian", {2}}, three, {{}, {12, 12, 10.5, 9}, {13, 13, 11.5, 10}}},
        // Bar 2 is a strict high and low of bars 1-3; bar 3 is neither; bar 4 sets both anew.
        {{"FractalChaosBands", {1}},
         {hlc(10, 9, 9), hlc(12, 8, 8), hlc(11, 10, 10), hlc(13, 9.5, 10), hlc(12, 11, 11)},
         {{}, {}, {12, 12, 8}, {12, 12, 8}, {13, 13, 9.5}}},
        // Median 3, absolute deviations 2, 1, 1, 7: MAD 1.5.
        {{"MedianChannel", {4, 1}}, as_candles({1, 2, 4, 10}), {{}, {}, {}, {4.5, 4.5, 3, 1.5}}},
        {{"MedianChannel", {3, 2}}, as_candles({1, 2, 10}), {{}, {}, {4, 4, 2, 0}}},
        {{"QuartileBands", {4}}, as_candles({1, 2, 3, 4}), {{}, {}, {}, {3.25, 3.25, 2.5, 1.75}}},
        {{"QuartileBands", {1}}, as_candles({7}), {{7, 7, 7, 7}}},
        // Mean 5, relative deviations .2, .2, .6, .6; position 1.5 gives .4.
        {{"BomarBands", {4, 0.5}}, as_candles({2, 4, 6, 8}), {{}, {}, {}, {7, 7, 5, 3}}},
        {{"BomarBands", {3, 1}}, as_candles({1, 2, 3}), {{}, {}, {3, 3, 2, 1}}},
        {{"BomarBands", {2, 1}}, as_candles({-1, 1}), {{}, {0, 0, 0, 0}}},
        // High slope 2, low slope 2.5: projected highs 14, 14, 14 and lows 13, 11.5, 13.
        {{"ProjectionBands", {3}},
         {hlc(10, 8, 8), hlc(12, 9, 9), hlc(14, 13, 13)},
         {{}, {}, {14, 14, 12.75, 11.5}}},
        // Line 5/6 + 1.5x: end value 23/6, residual sum of squares 1/6.
        {{"LinRegChannel", {3, 1}},
         as_candles({1, 2, 4}),
         {{}, {}, {23.0 / 6 + std::sqrt(1.0 / 18), 23.0 / 6 + std::sqrt(1.0 / 18), 23.0 / 6, 23.0 / 6 - std::sqrt(1.0 / 18)}}},
        {{"StandardErrorBands", {3, 2}},
         as_candles({1, 2, 4}),
         {{}, {}, {23.0 / 6 + 2 * std::sqrt(1.0 / 6), 23.0 / 6 + 2 * std::sqrt(1.0 / 6), 23.0 / 6, 23.0 / 6 - 2 * std::sqrt(1.0 / 6)}}},
        {{"HurstChannel", {2, 0.5}}, {hlc(11, 9, 10), hlc(12, 10, 11)}, {{}, {12, 12, 10.5, 9}}},
        // Typical prices 10 (volume 1) and 12 (volume 3): mean 11.5, variance 0.75.
        {{"VwapStdDevBands", {2}},
         {hlc(11, 9, 10, 0), hlc(11, 9, 10, 1), hlc(14, 10, 12, 3)},
         {{}, {10, 10, 10, 10, 0}, {11.5 + 2 * std::sqrt(0.75), 11.5 + 2 * std::sqrt(0.75), 11.5, 11.5 - 2 * std::sqrt(0.75), std::sqrt(0.75)}}},
    };
    for (const auto& e : examples) {
        auto ind = make(e.c.name, e.c.params);
        ASSERT_TRUE(ind) << label(e.c);
        const Rows got = collect(*ind, e.input);
        ASSERT_EQ(got.size(), e.want.size()) << label(e.c);
        for (std::size_t i = 0; i < got.size(); ++i) {
            ASSERT_EQ(got[i].size(), e.want[i].size()) << label(e.c) << " step " << i + 1;
            for (std::size_t j = 0; j < got[i].size(); ++j)
                EXPECT_NEAR(got[i][j], e.want[i][j], 1e-12) << label(e.c) << " step " << i + 1 << " output " << j;
        }
    }
}

TEST(BandsOutputs, NamedOutputsInCatalogueOrderWithTheFirstAsPrimary) {
    struct Named {
        Case c;
        std::vector<std::string> names;
    };
    const std::vector<std::string> ulm{"upper", "middle", "lower"};
    const std::vector<Named> cases{
        {{"BollingerBands", {3, 2}}, {"upper", "middle", "lower", "stddev"}},
        {{"BollingerBandwidth", {3, 2}}, {}},
        {{"PercentB", {3, 2}}, {}},
        {{"DoubleBollinger", {3, 1, 2}}, {"upper_outer", "upper_inner", "middle", "lower_inner", "lower_outer"}},
        {{"Keltner", {3, 3, 2}}, ulm},
        {{"AtrBands", {3, 2}}, ulm},
        {{"StarcBands", {3, 3, 2}}, ulm},
        {{"MaEnvelope", {3, 0.02}}, ulm},
        {{"AccelerationBands", {3, 2}}, ulm},
        {{"Donchian", {3}}, ulm},
        {{"FractalChaosBands", {1}}, {"upper", "lower"}},
        {{"MedianChannel", {3, 2}}, ulm},
        {{"QuartileBands", {3}}, ulm},
        {{"BomarBands", {3, 0.9}}, ulm},
        {{"ProjectionBands", {3}}, ulm},
        {{"LinRegChannel", {3, 2}}, ulm},
        {{"StandardErrorBands", {3, 2}}, ulm},
        {{"HurstChannel", {3, 2}}, ulm},
        {{"VwapStdDevBands", {2}}, {"upper", "middle", "lower", "stddev"}},
    };
    const auto candles = random_candles(40);
    for (const auto& n : cases) {
        auto ind = make(n.c.name, n.c.params);
        ASSERT_TRUE(ind) << label(n.c);
        const Rows rows = collect(*ind, ind->input_kind() == InputKind::Close ? as_candles(closes_of(candles)) : candles);
        ASSERT_FALSE(rows.back().empty()) << label(n.c);
        EXPECT_EQ(output_names(*ind), n.names) << label(n.c);
        if (n.names.empty()) continue;
        EXPECT_EQ(rows.back()[0], rows.back()[1]) << label(n.c) << ": primary is the first output";
        // Bands are ordered from the top down (rows[j] is names[j - 1]).
        for (std::size_t j = 1; j + 1 < rows.back().size(); ++j) {
            if (n.names[j] == "stddev") continue;
            EXPECT_GE(rows.back()[j], rows.back()[j + 1]) << label(n.c) << " " << n.names[j - 1];
        }
    }
}

TEST(BandsWarmup, FirstValueAtWarmupPeriod) {
    struct W {
        Case c;
        std::size_t warmup;
    };
    const std::vector<W> cases{
        {{"BollingerBands", {5, 2}}, 5},      {{"BollingerBandwidth", {5, 2}}, 5},
        {{"PercentB", {5, 2}}, 5},            {{"DoubleBollinger", {5, 1, 2}}, 5},
        {{"Keltner", {3, 5, 1}}, 5},          {{"Keltner", {6, 2, 1}}, 6},
        {{"AtrBands", {4, 1}}, 4},            {{"StarcBands", {6, 3, 1}}, 6},
        {{"StarcBands", {2, 7, 1}}, 7},       {{"MaEnvelope", {4, 0.1}}, 4},
        {{"AccelerationBands", {4, 2}}, 4},   {{"Donchian", {4}}, 4},
        {{"MedianChannel", {4, 1}}, 4},       {{"QuartileBands", {4}}, 4},
        {{"BomarBands", {4, 0.9}}, 4},        {{"ProjectionBands", {4}}, 4},
        {{"LinRegChannel", {4, 1}}, 4},       {{"StandardErrorBands", {4, 1}}, 4},
        {{"HurstChannel", {4, 1}}, 4},        {{"VwapStdDevBands", {2}}, 1},
        {{"FractalChaosBands", {2}}, 5},      {{"Donchian", {1}}, 1},
    };
    // Bar 3 spans every other bar, so it is a fractal high and low as soon as 5 bars are held.
    auto candles = random_candles(30);
    candles[2] = hlc(1000, 1, 500);
    for (const auto& w : cases) {
        auto ind = make(w.c.name, w.c.params);
        ASSERT_TRUE(ind) << label(w.c);
        EXPECT_EQ(ind->warmup_period(), w.warmup) << label(w.c);
        const Rows rows = collect(w.c, candles);
        std::size_t first = 0;
        for (std::size_t i = 0; i < rows.size() && first == 0; ++i)
            if (!rows[i].empty()) first = i + 1;
        EXPECT_EQ(first, w.warmup) << label(w.c);
        for (std::size_t i = first; i < rows.size(); ++i) EXPECT_FALSE(rows[i].empty()) << label(w.c) << " step " << i + 1;
    }
}

// Equal highs are no fractal: the first upper band comes from bar 5, so the first value is at bar 6.
TEST(BandsWarmup, FractalChaosBandsWaitsForStrictFractalsOfBothKinds) {
    const Rows rows = collect({"FractalChaosBands", {1}}, {hlc(10, 9, 9), hlc(12, 8, 8), hlc(12, 10, 10), hlc(11, 9, 10),
                                                          hlc(13, 10, 12), hlc(12, 11, 11)});
    for (std::size_t i = 0; i < 5; ++i) EXPECT_TRUE(rows[i].empty()) << "step " << i + 1;
    EXPECT_EQ(rows[5], (std::vector<double>{13, 13, 9}));
}

TEST(BandsConstruction, Messages) {
    const std::string zero = "period must be greater than zero";
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string mult = "multiplier must be greater than zero";
    struct M {
        Case c;
        std::string want;  // "ok" or the detail after "invalid parameters for indicator {name}: "
        const char* shown = nullptr;  // the name in the message when it differs (aliases)
    };
    const std::vector<M> cases{
        {{"BollingerBands", {1e-20, 2}}, zero},
        {{"BollingerBands", {16777217, 2}}, max},
        {{"BollingerBands", {16777216, 2}}, "ok"},
        {{"BollingerBands", {20, 0}}, mult},
        {{"BollingerBands", {20, -2}}, mult},
        {{"Bollinger", {20, 0}}, mult, "BollingerBands"},
        {{"BollingerBandwidth", {20, -1}}, mult},
        {{"BollingerBandwidth", {1e-20, 2}}, zero},
        {{"PercentB", {20, 0}}, mult},
        {{"PercentB", {16777217, 2}}, max},
        {{"DoubleBollinger", {20, 2, 1}}, "invalid period: double bollinger requires k_outer > k_inner"},
        {{"DoubleBollinger", {20, 2, 2}}, "invalid period: double bollinger requires k_outer > k_inner"},
        {{"DoubleBollinger", {20, 0, 2}}, mult},
        {{"DoubleBollinger", {20, -3, -2}}, mult},
        {{"DoubleBollinger", {1e-20, 2, 1}}, zero},
        {{"DoubleBollinger", {20, 1, 2}}, "ok"},
        {{"Keltner", {1e-20, 10, 2}}, zero},
        {{"Keltner", {20, 16777217, 2}}, max},
        {{"Keltner", {20, 10, 0}}, mult},
        {{"AtrBands", {14, 0}}, "ok"},  // the multiplier is not required to be positive
        {{"AtrBands", {16777217, 2}}, max},
        {{"StarcBands", {5, 1e-20, 2}}, zero},
        {{"StarcBands", {5, 15, -1}}, "ok"},
        {{"MaEnvelope", {20, 0}}, mult},
        {{"MaEnvelope", {20, -0.02}}, mult},
        {{"MaEnvelope", {1e-20, 0.02}}, zero},
        {{"AccelerationBands", {20, 0}}, mult},
        {{"AccelerationBands", {16777217, 4}}, max},
        {{"Donchian", {1e-20}}, zero},
        {{"Donchian", {16777217}}, max},
        {{"FractalChaosBands", {1e-20}}, zero},
        {{"FractalChaosBands", {8388608}}, max},  // a ring of 2N + 1 = 16777217
        {{"FractalChaosBands", {8388607}}, "ok"},
        {{"FractalChaosBands", {1.8446744073709552e19}}, max},
        {{"MedianChannel", {5, 0}}, mult},
        {{"MedianChannel", {1e-20, 2}}, zero},
        {{"QuartileBands", {1e-20}}, zero},
        {{"QuartileBands", {16777217}}, max},
        {{"BomarBands", {20, 0}}, "invalid parameter: bomar bands coverage must be a finite value in (0.0, 1.0]"},
        {{"BomarBands", {20, 1.5}}, "invalid parameter: bomar bands coverage must be a finite value in (0.0, 1.0]"},
        {{"BomarBands", {20, -0.5}}, "invalid parameter: bomar bands coverage must be a finite value in (0.0, 1.0]"},
        {{"BomarBands", {20, 1}}, "ok"},
        {{"BomarBands", {1e-20, 1.5}}, zero},
        {{"ProjectionBands", {1}}, "invalid period: projection bands need period >= 2"},
        {{"ProjectionBands", {1e-20}}, zero},
        {{"ProjectionBands", {2}}, "ok"},
        {{"LinRegChannel", {1, 2}}, "invalid period: linear regression channel needs period >= 2"},
        {{"LinRegChannel", {2, 0}}, "ok"},
        {{"LinRegChannel", {16777217, 2}}, max},
        {{"StandardErrorBands", {2, 2}}, "invalid period: standard error bands need period >= 3"},
        {{"StandardErrorBands", {3, -2}}, "ok"},
        {{"StandardErrorBands", {3, 2}}, "ok"},
        {{"HurstChannel", {10, 0}}, mult},
        {{"HurstChannel", {1e-20, 1}}, zero},
        {{"VwapStdDevBands", {0}}, "ok"},
        {{"Donchian", {0}}, "parameter #0 must be a positive integer, got 0"},
        {{"VwapStdDevBands", {-1}}, "ok"},
        {{"VwapStdDevBands", {}}, "missing parameter #0"},
    };
    for (const auto& m : cases) {
        const std::string want = m.want == "ok" ? "ok"
                                                : std::string("invalid parameters for indicator ") +
                                                      (m.shown ? m.shown : m.c.name) + ": " + m.want;
        EXPECT_EQ(create_error(m.c.name, m.c.params), want) << label(m.c);
    }
}

// A non-finite close or an invalid candle changes nothing: the other steps are as without it.
TEST(BandsSkipping, UnusableInputsLeaveNoTrace) {
    const std::vector<Case> members{
        {"BollingerBands", {5, 2}},   {"BollingerBandwidth", {5, 2}}, {"PercentB", {5, 2}},
        {"DoubleBollinger", {5, 1, 2}}, {"Keltner", {3, 5, 1}},       {"AtrBands", {4, 1}},
        {"StarcBands", {3, 4, 1}},    {"MaEnvelope", {4, 0.1}},       {"AccelerationBands", {4, 2}},
        {"Donchian", {4}},            {"FractalChaosBands", {1}},     {"MedianChannel", {4, 1}},
        {"QuartileBands", {4}},       {"BomarBands", {4, 0.9}},       {"ProjectionBands", {4}},
        {"LinRegChannel", {4, 1}},    {"StandardErrorBands", {4, 1}}, {"HurstChannel", {4, 1}},
        {"VwapStdDevBands", {2}},
    };
    const auto clean = random_candles(60);
    const std::vector<std::size_t> at{0, 2, 3, 9, 30, 31};  // insertion points in the clean series
    for (const Case& c : members) {
        auto a = make(c.name, c.params);
        auto b = make(c.name, c.params);
        ASSERT_TRUE(a && b) << label(c);
        const bool closes = a->input_kind() == InputKind::Close;
        const auto base = closes ? as_candles(closes_of(clean)) : clean;
        std::vector<Candle> dirty;
        std::vector<bool> inserted;
        for (std::size_t i = 0, k = 0; i < base.size(); ++i) {
            for (; k < at.size() && at[k] == i; ++k) {
                Candle bad = base[i];
                if (closes) bad.close = k % 2 ? Inf : NaN;
                else if (k % 2) bad.low = bad.high + 1;  // low above high
                else bad.volume = -1;
                dirty.push_back(bad);
                inserted.push_back(true);
            }
            dirty.push_back(base[i]);
            inserted.push_back(false);
        }
        const Rows want = collect(*a, base);
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

// Identical inputs filling the window give bands that coincide exactly at that value, also
// after a varied history whose sums left rounding residue (three sums of 100.1 divided by 3
// miss 100.1 by an ulp).
TEST(BandsFlatWindows, BandsCoincideExactly) {
    const std::vector<Case> windowed{
        {"BollingerBands", {5, 2}},   {"DoubleBollinger", {5, 1, 2}}, {"AccelerationBands", {4, 2}},
        {"Donchian", {4}},            {"MedianChannel", {4, 1}},      {"QuartileBands", {4}},
        {"BomarBands", {3, 0.9}},     {"ProjectionBands", {4}},       {"LinRegChannel", {4, 1}},
        {"StandardErrorBands", {4, 1}}, {"HurstChannel", {3, 1}},
    };
    const std::vector<Case> from_start{{"Keltner", {3, 5, 1}}, {"AtrBands", {4, 1}}, {"StarcBands", {3, 4, 1}},
                                       {"VwapStdDevBands", {2}}};
    const double v = 100.1;
    auto varied = random_candles(37);
    for (int i = 0; i < 12; ++i) varied.push_back(hlc(v, v, v));
    const std::vector<Candle> flat(12, hlc(v, v, v));
    auto check = [&](const Case& c, const std::vector<Candle>& candles) {
        const Rows rows = collect(c, candles);
        ASSERT_FALSE(rows.back().empty()) << label(c);
        const auto& r = rows.back();
        const std::size_t bands = r.size() == 5 ? 4 : r.size();  // a trailing stddev is 0, not a band
        for (std::size_t j = 1; j < bands; ++j) EXPECT_EQ(r[j], r[1]) << label(c) << " output " << j;
        if (r.size() == 5) {
            EXPECT_EQ(r[4], 0.0) << label(c);
        }
        // The typical price (h + l + c)/3 of a flat candle may miss the close by an ulp.
        if (std::string(c.name) != "VwapStdDevBands") {
            EXPECT_EQ(r[1], v) << label(c);
        }
    };
    for (const Case& c : windowed) {
        check(c, varied);
        check(c, flat);
    }
    for (const Case& c : from_start) check(c, flat);
    for (const auto& candles : {varied, flat}) {
        EXPECT_EQ(collect({"BollingerBandwidth", {5, 2}}, candles).back(), std::vector<double>{0.0});
        EXPECT_EQ(collect({"PercentB", {5, 2}}, candles).back(), std::vector<double>{0.5});
    }
    // Outer and inner bands coincide too.
    const Rows dbl = collect({"DoubleBollinger", {5, 1, 2}}, varied);
    EXPECT_EQ(dbl.back(), std::vector<double>(6, v));
}

// The envelope scales the plain average; a flat window has its middle exactly at the close.
TEST(BandsFlatWindows, MaEnvelopeMiddleIsTheClose) {
    std::vector<double> closes{3, 1, 4, 1, 5, 9, 2, 6};
    closes.insert(closes.end(), 6, 0.1);
    const auto rows = collect({"MaEnvelope", {3, 0.5}}, as_candles(closes));
    EXPECT_EQ(rows.back(), (std::vector<double>{1.5 * 0.1, 1.5 * 0.1, 0.1, 0.5 * 0.1}));
}
