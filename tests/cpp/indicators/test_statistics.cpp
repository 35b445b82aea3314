#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "feed.hpp"
#include "indicators/rolling/sorted_window.hpp"
#include "indicators/statistics/median_absolute_deviation.hpp"
#include "indicators/statistics/moment_window.hpp"
#include "indicators/statistics/regression_window.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

std::vector<double> random_walk(std::size_t n, unsigned seed = 11, double start = 100.0) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    std::vector<double> out;
    double x = start;
    for (std::size_t i = 0; i < n; ++i) out.push_back(x += step(rng));
    return out;
}

// Same values, NaN standing for "no value" on both sides.
void expect_same(const std::vector<double>& got, const std::vector<double>& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << ": " << got[i];
        else EXPECT_EQ(got[i], want[i]) << what << " step " << i + 1;
    }
}

void expect_near(const std::vector<double>& got, const std::vector<double>& want, const std::string& what,
                 double tol = 1e-12) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << ": " << got[i];
        else EXPECT_NEAR(got[i], want[i], tol) << what << " step " << i + 1;
    }
}

// Every close-fed member of the family, with typical parameters.
const std::vector<Case> close_members{
    {"Variance", {5}},        {"StdDev", {5}},
    {"ZScore", {5}},          {"CoefficientOfVariation", {5}},
    {"Skewness", {5}},        {"Kurtosis", {6}},
    {"JarqueBera", {6}},      {"LinRegSlope", {5}},
    {"LinRegAngle", {5}},     {"LinRegIntercept", {5}},
    {"LinearRegression", {5}}, {"Tsf", {5}},
    {"TsfOscillator", {5}},   {"RSquared", {5}},
    {"StandardError", {5}},   {"DetrendedStdDev", {5}},
    {"RollingQuantile", {6, 0.3}}, {"RollingIqr", {6}},
    {"MedianAbsoluteDeviation", {6}}, {"RollingPercentileRank", {6}},
    {"RollingMinMaxScaler", {6}}, {"LogReturn", {4}},
    {"Autocorrelation", {8, 2}}, {"ShannonEntropy", {8, 3}},
    {"SampleEntropy", {10, 2, 0.2}}, {"HurstExponent", {16, 4}},
    {"TrendLabel", {5}},      {"RegimeLabel", {4, 5}},
    {"VerticalHorizontalFilter", {5}}, {"TrendStrengthIndex", {5}},
    {"PolarizedFractalEfficiency", {5, 3}},
};

// Reference rescaled-range Hurst exponent, written the plain way.
double hurst_reference(const std::vector<double>& x, std::size_t chunks) {
    const std::size_t n = x.size();
    std::vector<double> lx, ly;
    for (std::size_t c = 1; c <= chunks; ++c) {
        const std::size_t m = n / c;
        double total = 0.0;
        int counted = 0;
        for (std::size_t j = 0; j < c; ++j) {
            double mean = 0.0;
            for (std::size_t i = 0; i < m; ++i) mean += x[j * m + i];
            mean /= static_cast<double>(m);
            double y = 0.0, hi = -Inf, lo = Inf, ss = 0.0;
            for (std::size_t i = 0; i < m; ++i) {
                const double d = x[j * m + i] - mean;
                y += d;
                hi = std::max(hi, y);
                lo = std::min(lo, y);
                ss += d * d;
            }
            const double s = std::sqrt(ss / static_cast<double>(m));
            if (hi - lo == 0.0 || s == 0.0) continue;
            total += (hi - lo) / s;
            ++counted;
        }
        if (counted == 0) continue;
        lx.push_back(std::log(static_cast<double>(m)));
        ly.push_back(std::log(total / counted));
    }
    if (lx.size() < 2) return 0.5;
    double mx = 0.0, my = 0.0;
    for (std::size_t i = 0; i < lx.size(); ++i) mx += lx[i], my += ly[i];
    mx /= static_cast<double>(lx.size());
    my /= static_cast<double>(lx.size());
    double sxy = 0.0, sxx = 0.0;
    for (std::size_t i = 0; i < lx.size(); ++i) sxy += (lx[i] - mx) * (ly[i] - my), sxx += (lx[i] - mx) * (lx[i] - mx);
    return std::clamp(sxy / sxx, 0.0, 1.0);
}

}  // namespace

TEST(StatisticsExamples, KnownValues) {
    const double skew = 6.0 / std::pow(14.0 / 3.0, 1.5);           // 1, 2, 6
    const double kurt = 348.5 / (12.5 * 12.5) - 3.0;               // 1, 2, 3, 10
    const double jb_s = 45.0 / std::pow(12.5, 1.5);
    const double jb = (jb_s * jb_s + kurt * kurt / 4.0) * (4.0 / 6.0);
    const double pfe = 100.0 * std::sqrt(5.0) / (std::sqrt(5.0) + std::sqrt(2.0));
    struct Example {
        Case c;
        std::vector<double> closes;
        std::vector<double> want;
    };
    const std::vector<Example> examples{
        // Population, not the sample value 5/3.
        {{"Variance", {4}}, {1, 2, 3, 4, 6}, {NaN, NaN, NaN, 1.25, 2.1875}},
        {{"StdDev", {4}}, {1, 2, 3, 4}, {NaN, NaN, NaN, std::sqrt(1.25)}},
        {{"ZScore", {4}}, {1, 2, 3, 4}, {NaN, NaN, NaN, 1.5 / std::sqrt(1.25)}},
        {{"ZScore", {3}}, {7, 7, 7, 7}, {NaN, NaN, 0, 0}},
        {{"CoefficientOfVariation", {4}}, {1, 2, 3, 4}, {NaN, NaN, NaN, std::sqrt(1.25) / 2.5}},
        {{"CoefficientOfVariation", {2}}, {-1, 1}, {NaN, 0}},
        {{"Skewness", {3}}, {1, 2, 6}, {NaN, NaN, skew}},
        {{"Kurtosis", {4}}, {1, 2, 3, 10}, {NaN, NaN, NaN, kurt}},
        {{"JarqueBera", {4}}, {1, 2, 3, 10}, {NaN, NaN, NaN, jb}},
        {{"LinRegSlope", {3}}, {1, 2, 3, 1}, {NaN, NaN, 1, -0.5}},
        {{"LinRegIntercept", {3}}, {1, 2, 3}, {NaN, NaN, 1}},
        {{"LinearRegression", {3}}, {1, 2, 3}, {NaN, NaN, 3}},
        {{"Tsf", {3}}, {1, 2, 3}, {NaN, NaN, 4}},
        {{"LinRegAngle", {3}}, {1, 2, 3, 2, 1}, {NaN, NaN, 45, 0, -45}},
        {{"TsfOscillator", {3}}, {1, 2, 3}, {NaN, NaN, 100.0 * (3 - 4) / 3}},
        // A close of 0 repeats the previous value, or gives none before the first.
        {{"TsfOscillator", {2}}, {1, 2, 0, 1}, {NaN, -50, -50, 100.0 * (1 - 2) / 1}},
        {{"TsfOscillator", {2}}, {1, 0, 1}, {NaN, NaN, -100}},
        {{"RSquared", {3}}, {1, 2, 3, 3, 3, 3, 1}, {NaN, NaN, 1, 0.75, 1, 1, 0.75}},
        // Line 1.5 + 0.5·x through 1, 3, 2: residuals −0.5, 1, −0.5.
        {{"StandardError", {3}}, {1, 3, 2}, {NaN, NaN, std::sqrt(1.5)}},
        {{"DetrendedStdDev", {3}}, {1, 3, 2}, {NaN, NaN, std::sqrt(0.5)}},
        {{"RollingQuantile", {4, 0.5}}, {1, 2, 3, 4}, {NaN, NaN, NaN, 2.5}},
        {{"RollingQuantile", {4, 0.25}}, {4, 3, 2, 1}, {NaN, NaN, NaN, 1.75}},
        {{"RollingQuantile", {4, 1}}, {1, 2, 3, 4}, {NaN, NaN, NaN, 4}},
        {{"RollingQuantile", {4, 0}}, {1, 2, 3, 4}, {NaN, NaN, NaN, 1}},
        {{"RollingQuantile", {3, 0.5}}, {3, 1, 2, 9}, {NaN, NaN, 2, 2}},
        {{"RollingIqr", {4}}, {1, 2, 3, 4}, {NaN, NaN, NaN, 1.5}},
        {{"RollingIqr", {5}}, {5, 1, 4, 2, 3}, {NaN, NaN, NaN, NaN, 2}},
        // Odd: median 2, deviations 1, 0, 8. Even: median 3, deviations 2, 1, 1, 7.
        {{"MedianAbsoluteDeviation", {3}}, {1, 2, 10}, {NaN, NaN, 1}},
        {{"MedianAbsoluteDeviation", {4}}, {1, 2, 4, 10}, {NaN, NaN, NaN, 1.5}},
        {{"MedianAbsoluteDeviation", {5}}, {1, 1, 9, 1, 1}, {NaN, NaN, NaN, NaN, 0}},
        {{"RollingPercentileRank", {4}}, {1, 3, 2, 4}, {NaN, NaN, NaN, 87.5}},
        {{"RollingPercentileRank", {4}}, {2, 2, 1, 2, 0}, {NaN, NaN, NaN, 62.5, 12.5}},
        {{"RollingMinMaxScaler", {3}}, {5, 5, 5, 1, 3, 4, 1}, {NaN, NaN, 0.5, 0, 0.5, 1, 0}},
        // Non-positive closes are ignored.
        {{"LogReturn", {2}}, {1, 2, 0, -3, 4, 8}, {NaN, NaN, NaN, NaN, std::log(4.0), std::log(4.0)}},
        // Mean 2.5; numerator 0.75 − 0.25 + 0.75 over denominator 5.
        {{"Autocorrelation", {4, 1}}, {1, 2, 3, 4}, {NaN, NaN, NaN, 0.25}},
        {{"Autocorrelation", {3, 2}}, {1, 2, 3}, {NaN, NaN, -0.5}},
        {{"ShannonEntropy", {4, 2}}, {1, 1, 2, 2}, {NaN, NaN, NaN, 1}},
        {{"ShannonEntropy", {4, 4}}, {1, 2, 3, 4, 4}, {NaN, NaN, NaN, 2, 1.5}},
        // More bins than values.
        {{"ShannonEntropy", {3, 10}}, {1, 2, 3, 3}, {NaN, NaN, std::log2(3.0), 2.0 / 3 * std::log2(1.5) + std::log2(3.0) / 3}},
        // Templates 1, 2, 1, 2: B = 2 pairs, of which (0, 2) still matches at length 2.
        {{"SampleEntropy", {5, 1, 0.1}}, {1, 2, 1, 2, 2}, {NaN, NaN, NaN, NaN, std::log(2.0)}},
        // Three matching pairs, none extending: ln B.
        {{"SampleEntropy", {6, 1, 0.1}}, {1, 1, 5, 1, 7, 9}, {NaN, NaN, NaN, NaN, NaN, std::log(3.0)}},
        // No matching pair at all.
        {{"SampleEntropy", {4, 1, 0.1}}, {1, 2, 3, 4}, {NaN, NaN, NaN, 0}},
        {{"TrendLabel", {3}}, {1, 2, 3, 2, 1, 2}, {NaN, NaN, 1, 0, -1, 0}},
        // 2, 3, 1: Sxy = −3, Syy = 6, Sxx = 6. 3, 1, 4: Sxy = 3, Syy = 14.
        {{"TrendStrengthIndex", {3}}, {1, 2, 3, 1, 4}, {NaN, NaN, 1, -0.25, 9.0 / 84}},
        {{"VerticalHorizontalFilter", {3}}, {1, 2, 3, 2, 2, 2, 2}, {NaN, NaN, NaN, 1.0 / 3, 0.5, 0, 0}},
        {{"PolarizedFractalEfficiency", {2, 1}}, {1, 2, 3, 2, 1, 2, 1}, {NaN, NaN, 100, 0, -100, 0, 0}},
        {{"PolarizedFractalEfficiency", {2, 1}}, {1, 3, 2}, {NaN, NaN, pfe}},
        // EMA(2) of raw 100, 0, −100 seeded with the average of the first two.
        {{"PolarizedFractalEfficiency", {2, 2}}, {1, 2, 3, 2, 1}, {NaN, NaN, NaN, 50, 50.0 / 3 - 200.0 / 3}},
    };
    for (const auto& e : examples) expect_near(run_closes(e.c.name, e.c.params, e.closes), e.want, label(e.c));
}

TEST(StatisticsExamples, HurstExponentAgainstPlainComputation) {
    const auto closes = random_walk(300, 5);
    for (const Case& c : {Case{"HurstExponent", {32, 4}}, Case{"HurstExponent", {10, 5}}, Case{"HurstExponent", {40, 2}}}) {
        const auto n = static_cast<std::size_t>(c.params[0]);
        const auto got = run_closes(c.name, c.params, closes);
        for (std::size_t i = n - 1; i < closes.size(); ++i) {
            const std::vector<double> window(closes.begin() + static_cast<long>(i + 1 - n), closes.begin() + static_cast<long>(i + 1));
            ASSERT_NEAR(got[i], hurst_reference(window, static_cast<std::size_t>(c.params[1])), 1e-12) << label(c) << " step " << i + 1;
        }
    }
    // A trend is persistent, a sawtooth anti-persistent.
    std::vector<double> trend, saw;
    for (int i = 0; i < 64; ++i) trend.push_back(i * 0.5 + (i % 3) * 0.1), saw.push_back(i % 2 ? 1.0 : -1.0);
    EXPECT_GT(run_closes("HurstExponent", {64, 8}, trend).back(), 0.8);
    EXPECT_LT(run_closes("HurstExponent", {64, 8}, saw).back(), 0.2);
}

TEST(StatisticsExamples, SeasonalZScoreScoresAgainstTheSameHour) {
    constexpr std::int64_t hour = 3'600'000;
    auto at = [](double close, std::int64_t ts) { return Candle{ts, close, close, close, close, 1.0}; };
    // One slot: returns 1, 0.5, then 1 scored against {1, 0.5}, then −0.5 against {1, 0.5, 1}.
    {
        std::vector<Candle> cs;
        for (double c : {1.0, 2.0, 3.0, 6.0, 3.0}) cs.push_back(at(c, 5 * hour));
        expect_near(run_candles("SeasonalZScore", {0}, cs),
                    {NaN, NaN, NaN, 0.25 / std::sqrt(0.125), (-0.5 - 5.0 / 6) / std::sqrt(1.0 / 12)}, "one slot");
    }
    // Alternating hours fill two slots; an offset only renames them. Slot 23 sees returns
    // 1, 1, 1, then 0 after a previous close of 0, then 1; slot 22 sees 0, 0, −1, 1. Equal
    // returns have no spread and score 0.
    {
        std::vector<Candle> cs;
        const std::vector<double> closes{1, 2, 2, 4, 4, 8, 0, 8, 16, 32};
        for (std::size_t i = 0; i < closes.size(); ++i) cs.push_back(at(closes[i], (i % 2 ? 23 : 22) * hour));
        const std::vector<double> want{NaN, NaN, NaN, NaN, NaN, 0, 0, 0, 4.0 / 3 * std::sqrt(3.0), 0.5};
        expect_near(run_candles("SeasonalZScore", {0}, cs), want, "two slots");
        for (double offset : {60.0, -1380.0, 2147483647.0, -2147483648.0})
            expect_near(run_candles("SeasonalZScore", {offset}, cs), want, "offset " + std::to_string(offset));

        // 22:30 and 23:10 share the local hour 23 at an offset of 30 minutes.
        std::vector<Candle> split, same;
        for (std::size_t i = 0; i < closes.size(); ++i) {
            split.push_back(at(closes[i], 22 * hour + (i % 2 ? 70 : 30) * 60'000));
            same.push_back(at(closes[i], 23 * hour));
        }
        expect_near(run_candles("SeasonalZScore", {0}, split), want, "two hours at offset 0");
        const auto merged = run_candles("SeasonalZScore", {0}, same);
        expect_near(run_candles("SeasonalZScore", {30}, split), merged, "one hour at offset 30");
        EXPECT_NE(merged.back(), want.back());
    }
}

TEST(StatisticsExamples, RegimeLabelRanksTheVolatility) {
    // Returns ln 2, ln 2, 0, 0: deviations 0, a, 0 over pairs; first label at close V + L.
    expect_same(run_closes("RegimeLabel", {2, 2}, {1, 2, 4, 4, 4, 4}), {NaN, NaN, NaN, 1, -1, 0}, "RegimeLabel(2,2)");
    // Non-positive closes are ignored, not read as returns.
    expect_same(run_closes("RegimeLabel", {2, 2}, {1, 0, 2, -1, 4, 4, 4}), {NaN, NaN, NaN, NaN, NaN, 1, -1},
                "RegimeLabel(2,2) with gaps");
}

TEST(StatisticsWarmup, FirstValueAtWarmupPeriod) {
    struct W {
        Case c;
        std::size_t warmup;
    };
    std::vector<W> table;
    for (const Case& c : close_members) table.push_back({c, static_cast<std::size_t>(c.params[0])});
    for (W& w : table) {
        const std::string name = w.c.name;
        if (name == "LogReturn" || name == "VerticalHorizontalFilter") w.warmup += 1;
        if (name == "RegimeLabel" || name == "PolarizedFractalEfficiency") w.warmup += static_cast<std::size_t>(w.c.params[1]);
    }
    table.push_back({{"Variance", {1}}, 1});
    table.push_back({{"LogReturn", {1}}, 2});
    table.push_back({{"PolarizedFractalEfficiency", {1, 1}}, 2});
    const auto closes = random_walk(60);
    for (const auto& w : table) {
        auto ind = make(w.c.name, w.c.params);
        ASSERT_TRUE(ind) << label(w.c);
        EXPECT_EQ(ind->warmup_period(), w.warmup) << label(w.c);
        const auto values = run_closes(*ind, closes);
        EXPECT_EQ(first_value_at(values), w.warmup) << label(w.c);
        for (std::size_t i = w.warmup; i < values.size(); ++i) EXPECT_FALSE(std::isnan(values[i])) << label(w.c);
    }
    // The documented count, although a score needs two earlier returns of its hour.
    auto seasonal = make("SeasonalZScore", {0});
    ASSERT_TRUE(seasonal);
    EXPECT_EQ(seasonal->warmup_period(), 2u);
    std::vector<Candle> same_hour;
    for (double c : closes) same_hour.push_back(bar(c));
    EXPECT_EQ(first_value_at(run_candles(*seasonal, same_hour)), 4u);
}

TEST(StatisticsConstruction, Messages) {
    const std::string max = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string zero = "period must be greater than zero";
    const double big = 18446744073709551615.0;
    struct M {
        Case c;
        std::string want;  // after "invalid parameters for indicator NAME: ", or "ok"
    };
    const std::vector<M> table{
        {{"Variance", {1e-20}}, zero},
        {{"Variance", {16777217}}, max},
        {{"Variance", {16777216}}, "ok"},
        {{"StdDev", {16777217}}, max},
        {{"ZScore", {1e-20}}, zero},
        {{"CoefficientOfVariation", {16777216}}, "ok"},
        {{"Skewness", {2}}, "invalid period: skewness needs period >= 3"},
        {{"Skewness", {3}}, "ok"},
        {{"Skewness", {1e-20}}, zero},
        {{"Kurtosis", {3}}, "invalid period: kurtosis needs period >= 4"},
        {{"Kurtosis", {16777217}}, max},
        {{"JarqueBera", {3}}, "invalid period: Jarque-Bera needs period >= 4"},
        {{"JarqueBera", {4}}, "ok"},
        {{"LinRegSlope", {1}}, "invalid period: linear regression slope needs period >= 2"},
        {{"LinRegAngle", {1}}, "invalid period: linear regression slope needs period >= 2"},
        {{"LinRegIntercept", {1}}, "invalid period: linear regression intercept needs period >= 2"},
        {{"LinearRegression", {1}}, "invalid period: linear regression needs period >= 2"},
        {{"LinearRegression", {16777216}}, "ok"},
        {{"LinearRegression", {big}}, max},
        {{"Tsf", {1}}, "invalid period: time series forecast needs period >= 2"},
        {{"TsfOscillator", {1}}, "invalid period: TSF oscillator needs period >= 2"},
        {{"RSquared", {1}}, "invalid period: R² needs period >= 2"},
        {{"RSquared", {1e-20}}, zero},
        {{"StandardError", {2}}, "invalid period: standard error needs period >= 3"},
        {{"DetrendedStdDev", {1}}, "invalid period: detrended stddev needs period >= 2"},
        {{"RollingQuantile", {5, 1.5}}, "invalid parameter: rolling quantile must be a finite value in [0.0, 1.0]"},
        {{"RollingQuantile", {5, -0.01}}, "invalid parameter: rolling quantile must be a finite value in [0.0, 1.0]"},
        {{"RollingQuantile", {1e-20, 2}}, zero},
        {{"RollingQuantile", {16777217, 2}}, max},
        {{"RollingQuantile", {1, 1}}, "ok"},
        {{"RollingIqr", {16777217}}, max},
        {{"MedianAbsoluteDeviation", {1e-20}}, zero},
        {{"RollingPercentileRank", {16777216}}, "ok"},
        {{"RollingMinMaxScaler", {1}}, "invalid period: min-max scaler needs period >= 2"},
        // The ring holds N + 1 closes.
        {{"LogReturn", {16777215}}, "ok"},
        {{"LogReturn", {16777216}}, max},
        {{"LogReturn", {big}}, max},
        {{"Autocorrelation", {3, 3}}, "invalid period: autocorrelation needs period > lag"},
        {{"Autocorrelation", {3, 1e-20}}, "invalid period: autocorrelation lag must be >= 1"},
        {{"Autocorrelation", {2, big}}, "invalid period: autocorrelation needs period > lag"},
        {{"Autocorrelation", {1e-20, 1}}, zero},
        {{"Autocorrelation", {16777217, 1}}, max},
        {{"Autocorrelation", {4, 3}}, "ok"},
        {{"ShannonEntropy", {10, 1}}, "invalid period: Shannon entropy needs bins >= 2"},
        {{"ShannonEntropy", {10, 1e-20}}, zero},
        {{"ShannonEntropy", {10, 16777217}}, max},
        {{"ShannonEntropy", {10, 16777216}}, "ok"},
        {{"SampleEntropy", {3, 2, 0.2}}, "invalid period: sample entropy needs period >= m + 2"},
        {{"SampleEntropy", {4, 2, 0.2}}, "ok"},
        {{"SampleEntropy", {4, big, 0.2}}, "invalid period: sample entropy needs period >= m + 2"},
        {{"SampleEntropy", {1, 1e-20, 0.2}}, "invalid period: sample entropy needs period >= m + 2"},
        {{"SampleEntropy", {4, 2, 0}}, "invalid parameter: sample entropy r_factor must be finite and positive"},
        {{"SampleEntropy", {4, 2, -1}}, "invalid parameter: sample entropy r_factor must be finite and positive"},
        // The period check comes first.
        {{"SampleEntropy", {3, 2, 0}}, "invalid period: sample entropy needs period >= m + 2"},
        {{"SampleEntropy", {16777217, 2, 0}}, max},
        {{"HurstExponent", {10, 1}}, "invalid period: Hurst chunks must be >= 2"},
        {{"HurstExponent", {9, 5}}, "invalid period: Hurst period must be >= 2 * chunks"},
        {{"HurstExponent", {10, 5}}, "ok"},
        {{"HurstExponent", {10, big}}, "invalid period: Hurst period must be >= 2 * chunks"},
        {{"HurstExponent", {16777217, 2}}, max},
        {{"TrendLabel", {1}}, "invalid period: trend label needs period >= 2"},
        {{"RegimeLabel", {1, 1}}, "invalid period: regime label needs vol_period >= 2"},
        {{"RegimeLabel", {2, 1}}, "invalid period: regime label needs lookback >= 2"},
        {{"RegimeLabel", {2, 1e-20}}, zero},
        {{"RegimeLabel", {2, 16777217}}, max},
        {{"RegimeLabel", {16777216, 16777216}}, "ok"},
        {{"VerticalHorizontalFilter", {16777216}}, "ok"},
        {{"VerticalHorizontalFilter", {1e-20}}, zero},
        {{"TrendStrengthIndex", {1}}, "invalid period: period must be >= 2 for a regression"},
        {{"PolarizedFractalEfficiency", {16777215, 16777216}}, "ok"},
        {{"PolarizedFractalEfficiency", {16777216, 3}}, max},
        {{"PolarizedFractalEfficiency", {10, 16777217}}, max},
        {{"PolarizedFractalEfficiency", {10, 1e-20}}, zero},
        {{"SeasonalZScore", {-1440}}, "ok"},
        {{"SeasonalZScore", {2.5}}, "parameter #0 must be an i32, got 2.5"},
    };
    for (const auto& m : table) expect_creation(m.c, m.want);
}

TEST(StatisticsInputs, UnusableInputsAreSkippedWithoutStateChange) {
    const auto clean = random_walk(80);
    std::vector<double> dirty;
    std::vector<std::size_t> at;  // position of each clean close in the dirty series
    for (std::size_t i = 0; i < clean.size(); ++i) {
        if (i % 7 == 3) dirty.push_back(NaN);
        if (i % 11 == 5) dirty.push_back(Inf);
        if (i % 13 == 0) dirty.push_back(-Inf);
        at.push_back(dirty.size());
        dirty.push_back(clean[i]);
    }
    for (const auto& c : close_members) {
        const auto expected = run_closes(c.name, c.params, clean);
        std::vector<double> want(dirty.size(), NaN);
        for (std::size_t i = 0; i < clean.size(); ++i) want[at[i]] = expected[i];
        expect_same(run_closes(c.name, c.params, dirty), want, label(c));
    }
    // The logarithmic members also ignore closes that are not positive.
    for (const Case& c : {Case{"LogReturn", {3}}, Case{"RegimeLabel", {3, 4}}}) {
        std::vector<double> with_zeros = clean;
        std::vector<double> want = run_closes(c.name, c.params, clean);
        for (std::size_t i : {40u, 20u, 5u}) {
            with_zeros.insert(with_zeros.begin() + static_cast<long>(i), i % 2 ? 0.0 : -1.0);
            want.insert(want.begin() + static_cast<long>(i), NaN);
        }
        expect_same(run_closes(c.name, c.params, with_zeros), want, label(c) + " non-positive");
    }
    // Invalid candles do not reach the seasonal score.
    std::vector<Candle> good, mixed;
    for (std::size_t i = 0; i < clean.size(); ++i) good.push_back(bar(clean[i], 1.0, 1.0, static_cast<std::int64_t>(i % 3) * 3'600'000));
    std::vector<double> want;
    const auto expected = run_candles("SeasonalZScore", {0}, good);
    for (std::size_t i = 0; i < good.size(); ++i) {
        if (i % 5 == 2) {
            mixed.push_back(candle(10, 9, 11, 10));  // high below low
            want.push_back(NaN);
        }
        mixed.push_back(good[i]);
        want.push_back(expected[i]);
    }
    expect_same(run_candles("SeasonalZScore", {0}, mixed), want, "SeasonalZScore");
}

// Flat stretches give the documented fallbacks exactly, not rounding residue of the sums.
TEST(StatisticsInputs, FlatWindowsGiveTheDocumentedFallbacks) {
    for (double v : {0.1, 3.3, 104.37, 1e9 + 0.3, -2.7}) {
        struct F {
            Case c;
            double want;
        };
        const std::vector<F> table{
            {{"Variance", {20}}, 0},         {{"StdDev", {20}}, 0},
            {{"ZScore", {20}}, 0},           {{"CoefficientOfVariation", {20}}, 0},
            {{"Skewness", {3}}, 0},          {{"Skewness", {20}}, 0},
            {{"Kurtosis", {10}}, 0},         {{"JarqueBera", {10}}, 0},
            {{"LinRegSlope", {10}}, 0},      {{"LinRegAngle", {10}}, 0},
            {{"LinRegIntercept", {10}}, v}, {{"LinearRegression", {10}}, v},
            {{"Tsf", {10}}, v},             {{"TsfOscillator", {10}}, 0},
            {{"RSquared", {10}}, 1},         {{"StandardError", {10}}, 0},
            {{"DetrendedStdDev", {10}}, 0},  {{"RollingQuantile", {10, 0.3}}, v},
            {{"RollingIqr", {10}}, 0},       {{"MedianAbsoluteDeviation", {10}}, 0},
            {{"RollingPercentileRank", {10}}, 50}, {{"RollingMinMaxScaler", {10}}, 0.5},
            {{"Autocorrelation", {10, 3}}, 0}, {{"ShannonEntropy", {10, 4}}, 0},
            {{"SampleEntropy", {10, 2, 0.2}}, 0}, {{"HurstExponent", {16, 4}}, 0.5},
            {{"TrendLabel", {10}}, 0},       {{"TrendStrengthIndex", {10}}, 0},
            {{"VerticalHorizontalFilter", {10}}, 0},
        };
        // A lively stretch first, so the running sums carry residue into the flat one; every
        // step whose window (and change window) is flat is checked, before and after re-anchoring.
        constexpr std::size_t lively = 97;
        std::vector<double> closes = random_walk(lively, 3, v);
        closes.resize(lively + 60, v);
        for (const auto& f : table) {
            const auto got = run_closes(f.c.name, f.c.params, closes);
            for (std::size_t i = lively + static_cast<std::size_t>(f.c.params[0]); i < got.size(); ++i)
                ASSERT_EQ(got[i], f.want) << label(f.c) << " at " << v << " step " << i + 1;
        }
        if (v > 0) {
            EXPECT_EQ(run_closes("LogReturn", {10}, closes).back(), 0.0) << v;
            EXPECT_EQ(run_closes("RegimeLabel", {5, 10}, closes).back(), 0.0) << v;
        }
        const std::vector<double> flat(30, v);
        EXPECT_EQ(run_closes("PolarizedFractalEfficiency", {5, 3}, flat).back(), 0.0) << v;
    }
}

// The anchors follow the window, so values near 1e9 keep their precision over a long run.
TEST(StatisticsInputs, ReanchoringKeepsLongRunsAccurate) {
    constexpr std::size_t n = 50;
    const auto closes = random_walk(1'000'000, 17, 1e9);
    const std::vector<Case> members{{"Variance", {n}}, {"ZScore", {n}},        {"Skewness", {n}},
                                    {"Kurtosis", {n}}, {"LinRegSlope", {n}},   {"LinearRegression", {n}},
                                    {"RSquared", {n}}, {"DetrendedStdDev", {n}}};
    std::vector<std::unique_ptr<Indicator>> inds;
    for (const auto& c : members) inds.push_back(make(c.name, c.params));
    std::vector<double> last(members.size());
    for (std::size_t i = 0; i < closes.size(); ++i) {
        StepView s;
        s.candle.close = closes[i];
        for (std::size_t k = 0; k < inds.size(); ++k) last[k] = inds[k]->update(s).value_or(NaN);
        if ((i + 1) % 250'000 != 0 && i + 1 != 499'999) continue;

        // Two passes over the window: mean (about the oldest value, exactly), then central sums.
        const double* w = closes.data() + (i + 1 - n);
        double offset = 0.0;
        for (std::size_t j = 0; j < n; ++j) offset += w[j] - w[0];
        const double mean = w[0] + offset / n;
        double m2 = 0, m3 = 0, m4 = 0, sxy = 0, sxx = 0;
        const double xbar = (n - 1) / 2.0;
        auto dev = [&](std::size_t j) { return (w[j] - w[0]) - offset / n; };
        for (std::size_t j = 0; j < n; ++j) {
            const double d = dev(j);
            m2 += d * d, m3 += d * d * d, m4 += d * d * d * d;
            sxy += (j - xbar) * d, sxx += (j - xbar) * (j - xbar);
        }
        const double slope = sxy / sxx;
        double sse = 0.0;
        for (std::size_t j = 0; j < n; ++j) {
            const double e = dev(j) - slope * (j - xbar);
            sse += e * e;
        }
        m2 /= n, m3 /= n, m4 /= n;
        const std::vector<double> want{m2,
                                       (w[n - 1] - mean) / std::sqrt(m2),
                                       m3 / std::pow(m2, 1.5),
                                       m4 / (m2 * m2) - 3,
                                       slope,
                                       mean + slope * xbar,
                                       slope * slope * sxx / (m2 * n),
                                       std::sqrt(sse / n)};
        const std::vector<double> tol{1e-9 * m2, 1e-6, 1e-7, 1e-6, 1e-9, 1e-6, 1e-9, 1e-6};
        for (std::size_t k = 0; k < members.size(); ++k)
            EXPECT_NEAR(last[k], want[k], tol[k]) << label(members[k]) << " at input " << i + 1;
    }
}

// Quantile, median and deviation windows against sorting, over data with many ties and
// over a random walk.
TEST(StatisticsBlocks, OrderStatisticsAgainstSorting) {
    std::mt19937 rng(23);
    std::uniform_int_distribution<int> pick(0, 9);
    std::vector<double> closes;
    for (int i = 0; i < 400; ++i) closes.push_back(pick(rng) * 0.5);
    const auto walk = random_walk(400, 29);
    closes.insert(closes.end(), walk.begin(), walk.end());
    for (std::size_t n : {1u, 2u, 5u, 8u, 13u, 40u, 41u}) {
        const auto mad = run_closes("MedianAbsoluteDeviation", {static_cast<double>(n)}, closes);
        const auto iqr = run_closes("RollingIqr", {static_cast<double>(n)}, closes);
        const auto rank = run_closes("RollingPercentileRank", {static_cast<double>(n)}, closes);
        for (std::size_t i = n - 1; i < closes.size(); ++i) {
            std::vector<double> w(closes.begin() + static_cast<long>(i + 1 - n), closes.begin() + static_cast<long>(i + 1));
            std::sort(w.begin(), w.end());
            auto median = [](const std::vector<double>& s) {
                const std::size_t k = s.size();
                return k % 2 ? s[k / 2] : (s[k / 2 - 1] + s[k / 2]) / 2;
            };
            auto quantile = [&](double q) {
                const double p = (n - 1) * q;
                const auto j = static_cast<std::size_t>(p);
                return j + 1 >= n ? w[n - 1] : w[j] + (w[j + 1] - w[j]) * (p - j);
            };
            const double m = median(w);
            std::vector<double> dev;
            for (double x : w) dev.push_back(std::fabs(x - m));
            std::sort(dev.begin(), dev.end());
            ASSERT_EQ(mad[i], median(dev)) << "MAD(" << n << ") step " << i + 1;
            ASSERT_EQ(iqr[i], quantile(0.75) - quantile(0.25)) << "IQR(" << n << ") step " << i + 1;
            const double x = closes[i];
            const auto less = std::count_if(w.begin(), w.end(), [&](double v) { return v < x; });
            const auto equal = std::count(w.begin(), w.end(), x);
            ASSERT_EQ(rank[i], 100.0 * (less + 0.5 * equal) / n) << "rank(" << n << ") step " << i + 1;
        }
    }
}

TEST(StatisticsBlocks, RegressionWindow) {
    RegressionWindow w(4);
    EXPECT_FALSE(w.push(NaN));
    for (double y : {2.0, 4.0, 3.0}) EXPECT_TRUE(w.push(y));
    EXPECT_FALSE(w.full());
    w.push(7);
    ASSERT_TRUE(w.full());
    // Positions 0..3, values 2, 4, 3, 7: slope (4·Σxy − 6·Σy)/20 with Σxy = 31, Σy = 16.
    EXPECT_DOUBLE_EQ(w.slope(), 1.4);
    EXPECT_DOUBLE_EQ(w.intercept(), 1.9);
    EXPECT_DOUBLE_EQ(w.end_value(), 1.9 + 3 * 1.4);
    EXPECT_DOUBLE_EQ(w.forecast(), 1.9 + 4 * 1.4);
    EXPECT_DOUBLE_EQ(w.value_at(2), 1.9 + 2 * 1.4);
    EXPECT_EQ(w.denominator(), 20.0);
    EXPECT_DOUBLE_EQ(w.centered_syy(), 4 + 0 + 1 + 9);
    // Residuals 0.1, 0.7, −1.7, 0.9.
    EXPECT_NEAR(w.residual_sum_squares(), 0.01 + 0.49 + 2.89 + 0.81, 1e-12);
    w.push(5);  // 4, 3, 7, 5: the evicted value shifts every position down
    EXPECT_DOUBLE_EQ(w.slope(), 0.7);
    EXPECT_DOUBLE_EQ(w.intercept(), 3.7);

    // Identical values: an exactly flat line through them, also after lively ones.
    for (int i = 0; i < 4; ++i) w.push(0.1 * 3);
    EXPECT_TRUE(w.flat());
    EXPECT_EQ(w.slope(), 0.0);
    EXPECT_EQ(w.intercept(), 0.1 * 3);
    EXPECT_EQ(w.end_value(), 0.1 * 3);
    EXPECT_EQ(w.centered_syy(), 0.0);
    EXPECT_EQ(w.slope_numerator(), 0.0);
    EXPECT_EQ(w.residual_sum_squares(), 0.0);
    w.push(1);
    EXPECT_FALSE(w.flat());
    EXPECT_GT(w.slope(), 0.0);

    // The largest window's constants stay exact: D = N²(N² − 1)/12.
    const double big = 16777216.0;
    EXPECT_EQ(RegressionWindow(16777216).denominator(), big * big * (big * big - 1) / 12);
}

TEST(StatisticsBlocks, MomentWindow) {
    MomentWindow w(4);
    for (double x : {1.0, 2.0, 3.0, 10.0}) w.push(x);
    const auto c = w.central();
    EXPECT_DOUBLE_EQ(w.mean(), 4.0);
    EXPECT_DOUBLE_EQ(c.m2, 12.5);
    EXPECT_DOUBLE_EQ(c.m3, 45.0);
    EXPECT_DOUBLE_EQ(c.m4, 348.5);
    EXPECT_FALSE(w.push(Inf));
    for (int i = 0; i < 4; ++i) w.push(0.7);
    EXPECT_TRUE(w.flat());
    EXPECT_EQ(w.mean(), 0.7);
    EXPECT_EQ(w.central().m2, 0.0);
    EXPECT_EQ(w.central().m4, 0.0);
}

TEST(StatisticsBlocks, MedianAbsoluteDeviationOfASortedWindow) {
    SortedWindow w(6);
    for (double x : {1.0, 9.0, 2.0, 4.0, 10.0, 3.0}) w.push(x);
    // Median 3.5; deviations 2.5, 5.5, 1.5, 0.5, 6.5, 0.5.
    EXPECT_EQ(median_absolute_deviation(w), 2.0);
    w.push(3.5);  // 9, 2, 4, 10, 3, 3.5: median 3.75
    EXPECT_EQ(median_absolute_deviation(w), 1.25);
}
