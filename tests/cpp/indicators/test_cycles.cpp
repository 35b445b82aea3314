#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "feed.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

// A trending series with two superposed cycles.
std::vector<double> wave(std::size_t n) {
    std::vector<double> xs;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i);
        xs.push_back(100.0 + 0.05 * t + 3.0 * std::sin(t * 0.3) + 1.5 * std::cos(t * 0.11));
    }
    return xs;
}

struct Member {
    Case c;
    std::size_t warmup;
    std::size_t first;  // first step with a value
};

const std::vector<Member> members{
    {{"SuperSmoother", {10}}, 1, 1},
    {{"HighpassFilter", {10}}, 1, 1},
    {{"Decycler", {10}}, 1, 1},
    {{"DecyclerOscillator", {10, 30}}, 1, 1},
    {{"RoofingFilter", {10, 48}}, 1, 1},
    {{"BandpassFilter", {20, 0.3}}, 1, 1},
    {{"InstantaneousTrendline", {20}}, 1, 1},
    {{"Reflex", {10}}, 11, 11},
    {{"Trendflex", {10}}, 11, 11},
    {{"CenterOfGravity", {10}}, 10, 10},
    {{"FisherTransform", {10}}, 10, 10},
    {{"InverseFisherTransform", {0.5}}, 1, 1},
    {{"EhlersStochastic", {20}}, 20, 20},
    {{"CyberneticCycle", {10}}, 1, 1},
    {{"EvenBetterSinewave", {40, 10}}, 3, 3},
    {{"UniversalOscillator", {20}}, 3, 3},
    {{"CorrelationTrendIndicator", {20}}, 20, 20},
    // Reported as the count of differences held; the first close gives no difference.
    {{"AdaptiveLaguerreFilter", {10}}, 10, 11},
    {{"AutocorrelationPeriodogram", {8, 48}}, 51, 51},
    {{"EmpiricalModeDecomposition", {20, 0.5}}, 50, 50},
    {{"EmpiricalModeDecomposition", {30, 0.5}}, 60, 60},
    {{"Mama", {0.5, 0.05}}, 33, 33},
    {{"Fama", {0.5, 0.05}}, 33, 33},
    {{"HtPhasor", {}}, 22, 22},
    {{"HilbertDominantCycle", {}}, 50, 50},
    {{"HtDcPhase", {}}, 50, 50},
    {{"HtTrendMode", {}}, 50, 50},
    {{"SineWave", {}}, 50, 50},
    {{"AdaptiveCycle", {}}, 50, 50},
    {{"WavePm", {10, 5}}, 24, 24},
};

void expect_near_all(const std::vector<double>& got, const std::vector<double>& want, const char* what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-12) << what << " step " << i + 1;
}

}  // namespace

TEST(CyclesWarmup, FirstValueAndReportedWarmup) {
    const auto xs = wave(200);
    for (const auto& m : members) {
        auto ind = make(m.c.name, m.c.params);
        ASSERT_TRUE(ind) << label(m.c);
        EXPECT_EQ(ind->warmup_period(), m.warmup) << label(m.c);
        const auto values = run_closes(*ind, xs);
        EXPECT_EQ(first_value_at(values), m.first) << label(m.c);
        for (std::size_t i = m.first; i < values.size(); ++i)
            EXPECT_TRUE(std::isfinite(values[i])) << label(m.c) << " step " << i + 1;
    }
}

TEST(CyclesSkip, NonFiniteClosesChangeNothing) {
    const auto xs = wave(150);
    std::vector<double> holes;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (i == 1 || i == 40 || i == 77) holes.push_back(NaN);
        if (i == 60) holes.push_back(Inf);
        holes.push_back(xs[i]);
    }
    for (const auto& m : members) {
        const auto clean = run_closes(m.c.name, m.c.params, xs);
        const auto gappy = run_closes(m.c.name, m.c.params, holes);
        std::vector<double> kept;
        for (std::size_t i = 0; i < holes.size(); ++i) {
            if (std::isfinite(holes[i])) kept.push_back(gappy[i]);
            else EXPECT_TRUE(std::isnan(gappy[i])) << label(m.c) << " step " << i + 1;
        }
        ASSERT_EQ(kept.size(), clean.size()) << label(m.c);
        for (std::size_t i = 0; i < clean.size(); ++i) {
            if (std::isnan(clean[i])) EXPECT_TRUE(std::isnan(kept[i])) << label(m.c) << " step " << i + 1;
            else EXPECT_EQ(kept[i], clean[i]) << label(m.c) << " step " << i + 1;
        }
    }
}

// Fed a constant, filters give exactly that constant and oscillators exactly their flat
// reading, never rounding residue.
TEST(CyclesFlat, ConstantSeriesGivesExactValues) {
    const double c = 100.1;
    const std::vector<double> xs(160, c);
    const std::vector<std::pair<Case, double>> table{
        {{"SuperSmoother", {10}}, c},
        {{"SuperSmoother", {3}}, c},
        {{"Decycler", {10}}, c},
        {{"InstantaneousTrendline", {10}}, c},
        {{"AdaptiveLaguerreFilter", {10}}, c},
        {{"Mama", {0.5, 0.05}}, c},
        {{"Fama", {0.5, 0.05}}, c},
        {{"HighpassFilter", {10}}, 0.0},
        {{"DecyclerOscillator", {10, 30}}, 0.0},
        {{"RoofingFilter", {10, 48}}, 0.0},
        {{"BandpassFilter", {20, 0.3}}, 0.0},
        {{"Reflex", {10}}, 0.0},
        {{"Trendflex", {10}}, 0.0},
        {{"Reflex", {7}}, 0.0},
        {{"CenterOfGravity", {10}}, 0.0},
        {{"FisherTransform", {10}}, 0.0},
        {{"CorrelationTrendIndicator", {20}}, 0.0},
        {{"EhlersStochastic", {20}}, 0.0},
        {{"CyberneticCycle", {10}}, 0.0},
        {{"EvenBetterSinewave", {40, 10}}, 0.0},
        {{"UniversalOscillator", {20}}, 0.0},
        {{"EmpiricalModeDecomposition", {20, 0.5}}, 0.0},
        {{"WavePm", {10, 5}}, 0.0},
        {{"HtPhasor", {}}, 0.0},
        {{"AutocorrelationPeriodogram", {8, 48}}, 8.0},
        {{"AdaptiveCycle", {}}, 3.0},
    };
    for (const auto& [cs, want] : table) {
        const auto values = run_closes(cs.name, cs.params, xs);
        const std::size_t first = first_value_at(values);
        ASSERT_GT(first, 0u) << label(cs);
        for (std::size_t i = first - 1; i < values.size(); ++i)
            ASSERT_EQ(values[i], want) << label(cs) << " step " << i + 1;
    }
}

TEST(CyclesFilters, RecursionsFromTheirStartValues) {
    const std::vector<double> xs{10, 11, 13, 12, 15, 14, 16, 18, 17, 19};
    // The super smoother passes its first two closes through.
    expect_near_all(run_closes("SuperSmoother", {10}, xs),
                    {10, 11, 11.664435503054584, 12.1492390124322, 12.690615607962771,
                     13.371378421034834, 14.063694315385543, 15.091860124685896,
                     16.124412251285698, 17.023928780046088},
                    "SuperSmoother(10)");
    const std::vector<double> hp{0.0, 0.0, 0.6654797153717678, -1.155886622098186,
                                 0.9365235901245318, -1.0180016151859836, 0.33709985883365595,
                                 0.8318043267231843, -1.0802550623935776, 0.30023528668872396};
    expect_near_all(run_closes("HighpassFilter", {10}, xs), hp, "HighpassFilter(10)");
    std::vector<double> decycled;
    for (std::size_t i = 0; i < xs.size(); ++i) decycled.push_back(xs[i] - hp[i]);
    expect_near_all(run_closes("Decycler", {10}, xs), decycled, "Decycler(10)");
    expect_near_all(run_closes("BandpassFilter", {10, 0.3}, xs),
                    {0.0, 0.0, 0.4806010526632103, 0.8132527763796301, 1.098852260057059,
                     1.2608619222612127, 1.1267110408441665, 1.3149229530359534,
                     1.1812376793804704, 0.8716741873816168},
                    "BandpassFilter(10,0.3)");
    // Until the eighth close the trendline is the 1-2-1 average, missing closes replaced by x.
    const auto it = run_closes("InstantaneousTrendline", {10}, xs);
    EXPECT_EQ(it[0], 10.0);
    EXPECT_EQ(it[1], (11.0 + 20.0 + 11.0) / 4.0);
    EXPECT_EQ(it[6], (16.0 + 28.0 + 15.0) / 4.0);
}

TEST(CyclesWindows, DocumentedValues) {
    struct W {
        Case c;
        std::vector<double> closes;
        double want;
    };
    const std::vector<W> table{
        {{"CenterOfGravity", {3}}, {10, 11, 13}, 2.0 - (13.0 + 22.0 + 30.0) / 34.0},
        {{"CenterOfGravity", {3}}, {0, 0, 0}, 0.0},
        {{"CenterOfGravity", {2}}, {1, -1}, 0.0},
        {{"CorrelationTrendIndicator", {4}}, {1, 2, 3, 5}, 0.9827076298239908},
        {{"CorrelationTrendIndicator", {3}}, {3, 2, 1}, -1.0},
        {{"FisherTransform", {3}}, {1, 2, 3}, 0.34282825441539394},
        {{"FisherTransform", {3}}, {1, 2, 3, 2}, 0.062080548537448946},
        {{"InverseFisherTransform", {1}}, {0}, 0.0},
        {{"InverseFisherTransform", {1}}, {50}, 1.0},
        {{"InverseFisherTransform", {2}}, {0.25}, std::tanh(0.5)},
    };
    for (const auto& w : table) {
        const auto values = run_closes(w.c.name, w.c.params, w.closes);
        ASSERT_FALSE(values.empty()) << label(w.c);
        EXPECT_NEAR(values.back(), w.want, 1e-12) << label(w.c);
    }
}

TEST(CyclesWindows, FisherDecaysOverAFlatWindow) {
    std::vector<double> xs{1, 2, 3, 4, 5};
    xs.insert(xs.end(), 30, 5.0);
    const auto values = run_closes("FisherTransform", {3}, xs);
    for (std::size_t i = 8; i < values.size(); ++i) {
        EXPECT_LT(std::fabs(values[i]), std::fabs(values[i - 1])) << "step " << i + 1;
    }
    EXPECT_LT(std::fabs(values.back()), 1e-3);
}

TEST(CyclesOscillators, BoundedOutputs) {
    const auto xs = wave(300);
    const std::vector<std::pair<Case, double>> table{
        {{"EvenBetterSinewave", {40, 10}}, 1.0},
        {{"UniversalOscillator", {20}}, 1.0},
        {{"EhlersStochastic", {20}}, 1.0},
        {{"CorrelationTrendIndicator", {20}}, 1.0},
        {{"SineWave", {}}, 1.0},
        {{"WavePm", {10, 5}}, 100.0},
    };
    for (const auto& [cs, bound] : table)
        for (double v : run_closes(cs.name, cs.params, xs))
            if (!std::isnan(v)) {
                EXPECT_LE(std::fabs(v), bound) << label(cs);
            }
    for (double v : run_closes("AdaptiveCycle", {}, xs))
        if (!std::isnan(v)) {
            EXPECT_TRUE(v >= 3.0 && v <= 25.0 && v == std::round(v)) << v;
        }
    for (double v : run_closes("HtTrendMode", {}, xs))
        if (!std::isnan(v)) {
            EXPECT_TRUE(v == 0.0 || v == 1.0) << v;
        }
    for (double v : run_closes("AutocorrelationPeriodogram", {8, 48}, xs))
        if (!std::isnan(v)) {
            EXPECT_TRUE(v >= 8.0 && v <= 48.0) << v;
        }
}

TEST(CyclesOutputs, NamedOutputsInOrder) {
    const auto xs = wave(60);
    auto mama = make("Mama", {0.5, 0.05});
    auto fama = make("Fama", {0.5, 0.05});
    auto phasor = make("HtPhasor", {});
    ASSERT_TRUE(mama && fama && phasor);
    for (double x : xs) {
        StepView s;
        s.candle = Candle{0, x, x, x, x, 0.0};
        const auto m = mama->update(s);
        const auto f = fama->update(s);
        ASSERT_EQ(m.has_value(), f.has_value());
        if (!m) continue;
        const auto named = mama->extra_outputs();
        ASSERT_EQ(named.size(), 2u);
        EXPECT_EQ(named[0].first, "mama");
        EXPECT_EQ(named[0].second, *m);
        EXPECT_EQ(named[1].first, "fama");
        EXPECT_EQ(named[1].second, *f);
    }
    StepView s;
    for (double x : xs) {
        s.candle = Candle{0, x, x, x, x, 0.0};
        phasor->update(s);
    }
    const auto named = phasor->extra_outputs();
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0].first, "inphase");
    EXPECT_EQ(named[1].first, "quadrature");
    EXPECT_NE(named[0].second, named[1].second);
}

TEST(CyclesConstruction, Messages) {
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string zero = "period must be greater than zero";
    const std::string roof = "invalid period: lp_period must be strictly less than hp_period";
    const std::string mama = "invalid period: fast_limit, slow_limit must satisfy 0 < slow_limit <= fast_limit <= 1";
    const std::string acp = "invalid period: autocorrelation periodogram needs AvgLength < min_period < max_period";
    const std::string scale = "invalid period: scale must be a positive finite number";
    const std::string fraction = "invalid period: fraction must be in (0, 1]";
    const std::string bw = "invalid parameter: bandpass bandwidth must be in (0, 1)";
    const std::string fast = "invalid period: fast period must be strictly less than slow period";
    const double big = 18446744073709551615.0;
    struct M {
        Case c;
        std::string want;  // after "invalid parameters for indicator NAME: ", or "ok"
    };
    const std::vector<M> table{
        {{"SuperSmoother", {1e-20}}, zero},
        {{"SuperSmoother", {16777216}}, "ok"},
        {{"SuperSmoother", {16777217}}, max},
        {{"HighpassFilter", {big}}, max},
        {{"DecyclerOscillator", {1e-20, big}}, zero},
        {{"DecyclerOscillator", {5, 5}}, fast},
        {{"DecyclerOscillator", {6, 5}}, fast},
        {{"DecyclerOscillator", {5, 16777217}}, max},
        {{"RoofingFilter", {10, 10}}, roof},
        {{"RoofingFilter", {10, 1e-20}}, zero},
        {{"RoofingFilter", {10, 16777217}}, max},
        {{"RoofingFilter", {16777217, big}}, max},
        {{"BandpassFilter", {20, 1}}, bw},
        {{"BandpassFilter", {20, 0}}, bw},
        {{"BandpassFilter", {20, -0.5}}, bw},
        {{"BandpassFilter", {20, 0.5}}, "ok"},
        {{"BandpassFilter", {1e-20, 2}}, zero},
        {{"CorrelationTrendIndicator", {1}}, "invalid period: CTI needs period >= 2"},
        {{"CorrelationTrendIndicator", {1e-20}}, zero},
        {{"CorrelationTrendIndicator", {2}}, "ok"},
        {{"InverseFisherTransform", {0}}, scale},
        {{"InverseFisherTransform", {-1}}, scale},
        {{"InverseFisherTransform", {1e300}}, "ok"},
        {{"Mama", {0.5, 0.05}}, "ok"},
        {{"Mama", {1, 1}}, "ok"},
        {{"Mama", {0.05, 0.5}}, mama},
        {{"Mama", {1.5, 0.5}}, mama},
        {{"Mama", {0.5, 0}}, mama},
        {{"Fama", {0.05, 0.5}}, mama},
        {{"EmpiricalModeDecomposition", {20, 0}}, fraction},
        {{"EmpiricalModeDecomposition", {20, 1.5}}, fraction},
        {{"EmpiricalModeDecomposition", {20, 1}}, "ok"},
        {{"EmpiricalModeDecomposition", {1e-20, 2}}, zero},
        // The band-pass window holds 2N.
        {{"EmpiricalModeDecomposition", {8388608, 1}}, "ok"},
        {{"EmpiricalModeDecomposition", {8388609, 1}}, max},
        {{"EvenBetterSinewave", {1e-20, 10}}, zero},
        {{"EvenBetterSinewave", {40, 1e-20}}, zero},
        {{"EvenBetterSinewave", {40, 16777217}}, max},
        {{"AutocorrelationPeriodogram", {3, 48}}, acp},
        {{"AutocorrelationPeriodogram", {8, 8}}, acp},
        {{"AutocorrelationPeriodogram", {9, 8}}, acp},
        {{"AutocorrelationPeriodogram", {4, 10}}, roof},
        {{"AutocorrelationPeriodogram", {1e-20, 48}}, zero},
        {{"AutocorrelationPeriodogram", {8, 1e-20}}, zero},
        // The filtered ring holds max_period + 3.
        {{"AutocorrelationPeriodogram", {8, 16777213}}, "ok"},
        {{"AutocorrelationPeriodogram", {8, 16777214}}, max},
        {{"AutocorrelationPeriodogram", {8, big}}, max},
        // The smoothed window holds N + 1.
        {{"Reflex", {16777215}}, "ok"},
        {{"Reflex", {16777216}}, max},
        {{"Trendflex", {16777216}}, max},
        {{"Trendflex", {1e-20}}, zero},
        {{"WavePm", {16777215, 16777216}}, "ok"},
        {{"WavePm", {16777216, 1}}, max},
        {{"WavePm", {10, 1e-20}}, zero},
        {{"WavePm", {10, 16777217}}, max},
        {{"CenterOfGravity", {16777217}}, max},
        {{"FisherTransform", {1e-20}}, zero},
        {{"EhlersStochastic", {16777217}}, max},
        {{"AdaptiveLaguerreFilter", {1e-20}}, zero},
        {{"HtTrendMode", {}}, "ok"},
    };
    for (const auto& m : table) expect_creation(m.c, m.want);
}
