#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "feed.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

// Returns spread over [-1, 1]: every sign and size the ratios care about.
std::vector<double> random_returns(std::size_t n, unsigned seed = 7) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    std::vector<double> out;
    for (std::size_t i = 0; i < n; ++i) out.push_back(step(rng));
    return out;
}

// Feeds closes with a reference per step; nullopt is a step without a reference.
std::vector<double> run_pairs(Indicator& ind, const std::vector<double>& xs,
                              const std::vector<std::optional<double>>& ys) {
    std::vector<double> out;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        StepView s;
        s.candle = Candle{0, xs[i], xs[i], xs[i], xs[i], 0.0};
        s.reference = ys[i];
        out.push_back(ind.update(s).value_or(NaN));
    }
    return out;
}

std::vector<double> run_pairs(const Case& c, const std::vector<double>& xs, const std::vector<std::optional<double>>& ys) {
    auto ind = make(c.name, c.params);
    return ind ? run_pairs(*ind, xs, ys) : std::vector<double>{};
}

std::vector<std::optional<double>> refs(const std::vector<double>& ys) { return {ys.begin(), ys.end()}; }

// Relative closeness, infinities compared exactly.
void expect_close(double got, double want, const std::string& what) {
    if (std::isinf(want)) EXPECT_EQ(got, want) << what;
    else EXPECT_NEAR(got, want, 1e-9 * std::max(1.0, std::fabs(want))) << what;
}

void expect_near(const std::vector<double>& got, const std::vector<double>& want, const std::string& what,
                 double tol = 1e-12) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << ": " << got[i];
        else if (std::isinf(want[i])) EXPECT_EQ(got[i], want[i]) << what << " step " << i + 1;
        else EXPECT_NEAR(got[i], want[i], tol) << what << " step " << i + 1;
    }
}

// Every close-fed windowed member with typical parameters; the window is the first parameter.
const std::vector<Case> close_members{
    {"SharpeRatio", {5, 0.01}},  {"SortinoRatio", {5, 0}},       {"CalmarRatio", {5}},
    {"SterlingRatio", {5}},      {"BurkeRatio", {5}},            {"MartinRatio", {5}},
    {"M2Measure", {5, 0.01, 0.2}}, {"GainToPainRatio", {5}},     {"OmegaRatio", {5, 0.1}},
    {"UpsidePotentialRatio", {5, 0}}, {"TailRatio", {6}},        {"CommonSenseRatio", {6}},
    {"ValueAtRisk", {6, 0.9}},   {"ConditionalValueAtRisk", {6, 0.7}}, {"Expectancy", {5}},
    {"WinRate", {5}},            {"ProfitFactor", {5}},          {"GainLossRatio", {5}},
    {"KellyCriterion", {5}},     {"KRatio", {5}},                {"MaxDrawdown", {5}},
    {"AverageDrawdown", {5}},    {"PainIndex", {5}},
};
const std::vector<Case> pair_members{{"TreynorRatio", {5, 0.01}}, {"InformationRatio", {5}}};

// Positive levels for the drawdown members, returns for the others.
std::vector<double> series_for(const Case& c, std::size_t n) {
    std::vector<double> s = random_returns(n);
    const std::string name = c.name;
    if (name == "MaxDrawdown" || name == "AverageDrawdown" || name == "PainIndex") {
        double level = 100.0;
        for (double& v : s) v = level += 10.0 * v;
    }
    return s;
}

}  // namespace

TEST(RiskConstruction, Messages) {
    const std::string maxp = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string confidence = "invalid period: confidence must lie strictly between 0 and 1";
    struct Expect {
        Case c;
        std::string text;
    };
    const std::vector<Expect> cases{
        {{"SharpeRatio", {1, 0}}, "invalid period: sharpe ratio needs period >= 2"},
        {{"SortinoRatio", {1, 0}}, "invalid period: sortino ratio needs period >= 2"},
        {{"CalmarRatio", {1}}, "invalid period: calmar ratio needs period >= 2"},
        {{"SterlingRatio", {1}}, "invalid period: sterling ratio needs period >= 2"},
        {{"BurkeRatio", {1}}, "invalid period: burke ratio needs period >= 2"},
        {{"MartinRatio", {1}}, "invalid period: martin ratio needs period >= 2"},
        {{"TreynorRatio", {1, 0}}, "invalid period: treynor ratio needs period >= 2"},
        {{"InformationRatio", {1}}, "invalid period: information ratio needs period >= 2"},
        {{"M2Measure", {1, 0, 0.2}}, "invalid period: m2 measure needs period >= 2"},
        {{"M2Measure", {1, 0, -1}}, "invalid period: m2 measure needs period >= 2"},
        {{"M2Measure", {5, 0, -0.1}},
         "invalid parameter: risk_free must be finite and benchmark_stddev finite and non-negative"},
        {{"M2Measure", {5, 0, Inf}}, "parameter #2 must be finite"},
        {{"UpsidePotentialRatio", {1, 0}}, "invalid period: upside potential ratio needs period >= 2"},
        {{"TailRatio", {1}}, "invalid period: tail ratio needs period >= 2"},
        {{"CommonSenseRatio", {1}}, "invalid period: common sense ratio needs period >= 2"},
        {{"ValueAtRisk", {1, 0.95}}, "invalid period: value-at-risk needs period >= 2"},
        {{"ConditionalValueAtRisk", {1, 0.95}}, "invalid period: conditional value-at-risk needs period >= 2"},
        {{"KRatio", {2}}, "invalid period: k-ratio needs period >= 3"},
        // The confidence is checked before the minimum window.
        {{"ValueAtRisk", {5, 1}}, confidence},
        {{"ValueAtRisk", {1, 1}}, confidence},
        {{"ValueAtRisk", {5, 0}}, confidence},
        {{"ConditionalValueAtRisk", {5, 1.5}}, confidence},
        {{"ConditionalValueAtRisk", {1, -0.5}}, confidence},
        // A count that truncates to 0, and the window limit, come first.
        {{"SharpeRatio", {1e-20, 0}}, "period must be greater than zero"},
        {{"MaxDrawdown", {1e-20}}, "period must be greater than zero"},
        {{"ValueAtRisk", {1e-20, 2}}, "period must be greater than zero"},
        {{"WinRate", {16777217}}, maxp},
        {{"ValueAtRisk", {16777217, 2}}, maxp},
        {{"M2Measure", {16777217, 0, -1}}, maxp},
        {{"KRatio", {1.8e19}}, maxp},
        {{"SharpeRatio", {16777216, 0}}, "ok"},
        {{"MaxDrawdown", {1}}, "ok"},
        {{"WinRate", {1}}, "ok"},
        {{"KRatio", {3}}, "ok"},
        {{"M2Measure", {2, -0.5, 0}}, "ok"},
        {{"RecoveryFactor", {}}, "ok"},
    };
    for (const auto& e : cases) {
        const std::string want =
            e.text == "ok" ? e.text : "invalid parameters for indicator " + std::string(e.c.name) + ": " + e.text;
        EXPECT_EQ(create_error(e.c.name, e.c.params), want) << label(e.c);
    }
}

TEST(RiskWarmup, FirstValueAtTheWindowLength) {
    for (const Case& c : close_members) {
        auto ind = make(c.name, c.params);
        ASSERT_TRUE(ind) << label(c);
        const auto n = static_cast<std::size_t>(c.params[0]);
        EXPECT_EQ(ind->warmup_period(), n) << label(c);
        const auto values = run_closes(*ind, series_for(c, 3 * n));
        EXPECT_EQ(first_value_at(values), n) << label(c);
        for (std::size_t i = n - 1; i < values.size(); ++i) EXPECT_FALSE(std::isnan(values[i])) << label(c) << i;
    }
    for (const Case& c : pair_members) {
        auto ind = make(c.name, c.params);
        ASSERT_TRUE(ind) << label(c);
        EXPECT_EQ(ind->warmup_period(), 5u) << label(c);
        EXPECT_EQ(first_value_at(run_pairs(*ind, random_returns(12, 1), refs(random_returns(12, 2)))), 5u) << label(c);
    }
    auto recovery = make("RecoveryFactor", {});
    ASSERT_TRUE(recovery);
    EXPECT_EQ(recovery->warmup_period(), 1u);
    EXPECT_EQ(first_value_at(run_closes(*recovery, {10, 11})), 1u);
}

TEST(RiskExamples, KnownValues) {
    const double sharpe_a = 2.0 / std::sqrt(5.0 / 3.0);  // 1, 2, 3, 4 against rf 0.5
    const double sharpe_b = 3.25 / std::sqrt(8.75 / 3.0);  // 2, 3, 4, 6
    // Excesses over 0.5 of 0, 2, −1, 3: −0.5, 1.5, −1.5, 2.5.
    const double downside = std::sqrt((0.25 + 2.25) / 4.0);
    // Equity 0.5, 1, 1.5, 1.2, 1.32 under the peaks 1, 1, 1.5, 1.5, 1.5; mean return 0.18.
    const std::vector<double> compounding{-0.5, 1.0, 0.5, -0.2, 0.1};
    struct Example {
        Case c;
        std::vector<double> closes;
        std::vector<double> want;
    };
    const std::vector<Example> examples{
        {{"SharpeRatio", {4, 0.5}}, {1, 2, 3, 4, 6}, {NaN, NaN, NaN, sharpe_a, sharpe_b}},
        {{"M2Measure", {4, 0.5, 2}}, {1, 2, 3, 4, 6}, {NaN, NaN, NaN, sharpe_a * 2 + 0.5, sharpe_b * 2 + 0.5}},
        // Divided by all four observations, not by the two below the target.
        {{"SortinoRatio", {4, 0.5}}, {0, 2, -1, 3}, {NaN, NaN, NaN, 0.5 / downside}},
        {{"UpsidePotentialRatio", {4, 0.5}}, {0, 2, -1, 3}, {NaN, NaN, NaN, 1.0 / downside}},
        {{"CalmarRatio", {5}}, compounding, {NaN, NaN, NaN, NaN, 0.18 / 0.5}},
        // Two episodes: 0.5 (closed at equity 1) and 0.2 (trough 1.2, still open).
        {{"SterlingRatio", {5}}, compounding, {NaN, NaN, NaN, NaN, 0.18 / 0.35}},
        // Depths 0.5, 0, 0, 0.2, 0.12.
        {{"BurkeRatio", {5}}, compounding, {NaN, NaN, NaN, NaN, 0.18 / std::sqrt(0.3044)}},
        {{"MartinRatio", {5}}, compounding, {NaN, NaN, NaN, NaN, 0.18 / std::sqrt(3044.0 / 5)}},
        {{"CalmarRatio", {3}}, {0.5, -0.5, 0.2}, {NaN, NaN, 0.2 / 3 / 0.5}},
        {{"GainToPainRatio", {4}}, {0.3, -0.1, 0.2, -0.2}, {NaN, NaN, NaN, 0.2 / 0.3}},
        {{"Expectancy", {4}}, {0.3, -0.1, 0.2, -0.2}, {NaN, NaN, NaN, 0.05 / 0.15}},
        {{"ProfitFactor", {4}}, {0.3, -0.1, 0.2, -0.2}, {NaN, NaN, NaN, 0.5 / 0.3}},
        {{"GainLossRatio", {4}}, {0.3, -0.1, 0.2, -0.2, -0.5}, {NaN, NaN, NaN, 0.25 / 0.15, 0.2 / (0.8 / 3)}},
        // W = 0.5, R = 5/3.
        {{"KellyCriterion", {4}}, {0.3, -0.1, 0.2, -0.2}, {NaN, NaN, NaN, 0.2}},
        {{"WinRate", {4}}, {0.3, -0.1, 0, 0.2, 0.1}, {NaN, NaN, NaN, 0.5, 0.5}},
        // Excesses 0.2, −0.2, 0.1, 0: the zero excess sits on the gain side and adds nothing.
        {{"OmegaRatio", {4, 0.1}}, {0.3, -0.1, 0.2, 0.1}, {NaN, NaN, NaN, 0.3 / 0.2}},
        // q95 = 2.8, q5 = −0.8; gains 6 over losses 1.
        {{"TailRatio", {5}}, {-1, 0, 1, 2, 3}, {NaN, NaN, NaN, NaN, 3.5}},
        {{"CommonSenseRatio", {5}}, {3, 2, 1, 0, -1}, {NaN, NaN, NaN, NaN, 21}},
        // Position 4·0.1 = 0.4 of −3, −1, 0, 1, 2.
        {{"ValueAtRisk", {5, 0.9}}, {0, -3, 2, -1, 1}, {NaN, NaN, NaN, NaN, 2.2}},
        // floor(5·0.4) = 2 values; floor(5·0.1) = 0 still takes the smallest.
        {{"ConditionalValueAtRisk", {5, 0.6}}, {0, -3, 2, -1, 1}, {NaN, NaN, NaN, NaN, 2}},
        {{"ConditionalValueAtRisk", {5, 0.9}}, {0, -3, 2, -1, 1}, {NaN, NaN, NaN, NaN, 3}},
        // Cumulative 1, 3, 6, 10: slope 3, residuals ±0.5, SSR 1, Sxx 5.
        {{"KRatio", {4}}, {1, 2, 3, 4}, {NaN, NaN, NaN, 3 / std::sqrt(0.1)}},
        {{"MaxDrawdown", {5}}, {10, 8, 9, 11, 9, 12}, {NaN, NaN, NaN, NaN, 0.2, 2.0 / 11}},
        {{"AverageDrawdown", {5}}, {10, 8, 9, 11, 9, 12}, {NaN, NaN, NaN, NaN, (0.2 + 2.0 / 11) / 2, 2.0 / 11}},
        {{"PainIndex", {5}}, {10, 8, 9, 11, 9, 12}, {NaN, NaN, NaN, NaN, (0.3 + 2.0 / 11) / 5, 2.0 / 11 / 5}},
        // Nothing counts under a peak of −1; the fall from 1 to 0.5 does.
        {{"MaxDrawdown", {4}}, {-1, -2, 1, 0.5}, {NaN, NaN, NaN, 0.5}},
        {{"AverageDrawdown", {4}}, {-1, -2, 1, 0.5}, {NaN, NaN, NaN, 0.5}},
        {{"PainIndex", {4}}, {-1, -2, 1, 0.5}, {NaN, NaN, NaN, 0.125}},
        // Peak 12, drawdown 0.25; then returns of −10%, +10%, +30% since 10.
        {{"RecoveryFactor", {}}, {10, 12, 9, 11, 13}, {0, 0, -0.4, 0.4, 1.2}},
        {{"RecoveryFactor", {}}, {0, 1, 2, 1}, {NaN, NaN, NaN, NaN}},
    };
    for (const auto& e : examples) expect_near(run_closes(e.c.name, e.c.params, e.closes), e.want, label(e.c));
}

TEST(RiskExamples, PairMembers) {
    // Population beta of 1, 3, 2 on 1, 2, 3 is 0.5.
    expect_near(run_pairs({"TreynorRatio", {3, 1}}, {1, 3, 2}, refs({1, 2, 3})), {NaN, NaN, 2}, "TreynorRatio");
    // Active returns 2, 3, 1: mean 2, sample deviation 1.
    expect_near(run_pairs({"InformationRatio", {3}}, {3, 5, 4}, refs({1, 2, 3})), {NaN, NaN, 2}, "InformationRatio");
}

// Documented fallbacks where a denominator vanishes, also after varied values have left
// rounding residue in the running sums.
TEST(RiskDegenerate, Fallbacks) {
    const auto varied = random_returns(40, 3);
    auto then = [&](std::vector<double> tail) {
        std::vector<double> s = varied;
        s.insert(s.end(), tail.begin(), tail.end());
        return s;
    };
    const std::vector<double> gains{0.1, 0.3, 0.2, 0.1, 0.4};
    struct Expect {
        Case c;
        std::vector<double> closes;
        double want;
    };
    const std::vector<Expect> cases{
        {{"SharpeRatio", {5, 0}}, {0.1, 0.1, 0.1, 0.1, 0.1}, 0},
        {{"SharpeRatio", {5, 0}}, then({0.1, 0.1, 0.1, 0.1, 0.1}), 0},
        {{"M2Measure", {5, 0.01, 0.2}}, then({0.3, 0.3, 0.3, 0.3, 0.3}), 0},
        {{"SortinoRatio", {5, 0}}, gains, 0},
        {{"SortinoRatio", {5, 0}}, then(gains), 0},
        {{"UpsidePotentialRatio", {5, 0}}, then(gains), 0},
        {{"CalmarRatio", {5}}, then(gains), 0},
        {{"SterlingRatio", {5}}, then(gains), 0},
        {{"BurkeRatio", {5}}, then(gains), 0},
        {{"MartinRatio", {5}}, then(gains), 0},
        {{"GainToPainRatio", {5}}, then(gains), 0},
        {{"Expectancy", {5}}, then({0.1, 0, 0.2, 0, 0.3}), 0},
        {{"ProfitFactor", {5}}, then(gains), Inf},
        {{"ProfitFactor", {5}}, then({0, 0, 0, 0, 0}), 1},
        {{"GainLossRatio", {5}}, then(gains), Inf},
        {{"GainLossRatio", {5}}, then({0, 0, 0, 0, 0}), 1},
        {{"OmegaRatio", {5, 0.1}}, then(gains), Inf},
        {{"OmegaRatio", {5, 0.1}}, then({0.1, 0.1, 0.1, 0.1, 0.1}), 1},
        // Without losses the win rate; without gains −1; a window of zeros has no edge.
        {{"KellyCriterion", {5}}, then({0.1, 0, 0.2, 0, 0.3}), 0.6},
        {{"KellyCriterion", {5}}, then({-0.1, 0, -0.2, 0, -0.3}), -1},
        {{"KellyCriterion", {5}}, then({0, 0, 0, 0, 0}), 0},
        {{"WinRate", {5}}, then({0, 0, 0, 0, 0}), 0},
        {{"KRatio", {5}}, {0.1, 0.1, 0.1, 0.1, 0.1}, 0},
        {{"KRatio", {5}}, then({0.1, 0.1, 0.1, 0.1, 0.1}), 0},
        {{"TailRatio", {5}}, {0, 0, 0, 1, 2}, 0},
        {{"CommonSenseRatio", {5}}, {0.5, 1, 2, 3, 4}, 0},
        {{"ValueAtRisk", {5, 0.95}}, then({0, 0.1, 0.2, 0, 0.3}), 0},
        {{"ConditionalValueAtRisk", {5, 0.95}}, then({0, 0.1, 0.2, 0, 0.3}), 0},
        {{"MaxDrawdown", {5}}, {1, 2, 3, 4, 5}, 0},
        {{"AverageDrawdown", {5}}, {1, 2, 3, 4, 5}, 0},
        {{"PainIndex", {5}}, {1, 2, 2, 4, 5}, 0},
    };
    for (const auto& e : cases) {
        const auto values = run_closes(e.c.name, e.c.params, e.closes);
        ASSERT_FALSE(values.empty()) << label(e.c);
        EXPECT_EQ(values.back(), e.want) << label(e.c);
        // A zero loss is reported as 0, never −0.
        if (e.want == 0) {
            EXPECT_FALSE(std::signbit(values.back())) << label(e.c);
        }
    }

    // A flat reference has no beta; a flat close a beta of 0; a constant active return no deviation.
    const auto ys = random_returns(45, 4);
    std::vector<double> flat_y = ys, flat_x(45, 0.02);
    for (std::size_t i = 40; i < 45; ++i) flat_y[i] = 0.05;
    EXPECT_EQ(run_pairs({"TreynorRatio", {5, 0}}, ys, refs(flat_y)).back(), 0);
    EXPECT_EQ(run_pairs({"TreynorRatio", {5, 0}}, flat_x, refs(ys)).back(), 0);
    std::vector<double> shifted = ys;
    for (std::size_t i = 40; i < 45; ++i) shifted[i] = ys[i] + 0.25;
    EXPECT_EQ(run_pairs({"InformationRatio", {5}}, shifted, refs(ys)).back(), 0);
}

// A member's value after sliding equals that of a fresh member fed only the window.
TEST(RiskWindows, SlidingMatchesFreshWindow) {
    for (const Case& c : close_members) {
        const auto n = static_cast<std::size_t>(c.params[0]);
        const auto series = series_for(c, 60);
        const auto values = run_closes(c.name, c.params, series);
        for (std::size_t end = n; end <= series.size(); end += 7) {
            const std::vector<double> window(series.begin() + static_cast<std::ptrdiff_t>(end - n),
                                             series.begin() + static_cast<std::ptrdiff_t>(end));
            const double fresh = run_closes(c.name, c.params, window).back();
            expect_close(values[end - 1], fresh, label(c) + " at " + std::to_string(end));
        }
    }
    const auto xs = random_returns(60, 5), ys = random_returns(60, 6);
    for (const Case& c : pair_members) {
        const auto values = run_pairs(c, xs, refs(ys));
        for (std::size_t end = 5; end <= xs.size(); end += 7) {
            const std::vector<double> wx(xs.begin() + static_cast<std::ptrdiff_t>(end - 5), xs.begin() + static_cast<std::ptrdiff_t>(end));
            const std::vector<double> wy(ys.begin() + static_cast<std::ptrdiff_t>(end - 5), ys.begin() + static_cast<std::ptrdiff_t>(end));
            const double fresh = run_pairs(c, wx, refs(wy)).back();
            expect_close(values[end - 1], fresh, label(c) + " at " + std::to_string(end));
        }
    }
}

TEST(RiskSkipping, NonFiniteInputsChangeNothing) {
    std::vector<Case> members = close_members;
    members.push_back({"RecoveryFactor", {}});
    for (const Case& c : members) {
        const auto clean = series_for(c, 20);
        std::vector<double> dirty, want;
        const auto plain = run_closes(c.name, c.params, clean);
        for (std::size_t i = 0; i < clean.size(); ++i) {
            if (i == 0 || i == 3 || i == 11) {
                dirty.insert(dirty.end(), {NaN, Inf, -Inf});
                want.insert(want.end(), {NaN, NaN, NaN});
            }
            dirty.push_back(clean[i]);
            want.push_back(plain[i]);
        }
        const auto got = run_closes(c.name, c.params, dirty);
        ASSERT_EQ(got.size(), want.size()) << label(c);
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << label(c) << " step " << i + 1;
            else EXPECT_EQ(got[i], want[i]) << label(c) << " step " << i + 1;
        }
    }
    // Pair members: a missing or non-finite reference, or a non-finite close, is skipped.
    const auto xs = random_returns(12, 8), ys = random_returns(12, 9);
    for (const Case& c : pair_members) {
        const auto plain = run_pairs(c, xs, refs(ys));
        std::vector<double> dx;
        std::vector<std::optional<double>> dy;
        for (std::size_t i = 0; i < xs.size(); ++i) {
            if (i == 2 || i == 7) {
                dx.insert(dx.end(), {0.5, 0.5, NaN});
                dy.insert(dy.end(), {std::nullopt, NaN, 0.5});
            }
            dx.push_back(xs[i]);
            dy.push_back(ys[i]);
        }
        const auto got = run_pairs(c, dx, dy);
        std::vector<double> kept;
        for (std::size_t i = 0; i < got.size(); ++i)
            if (dy[i] && std::isfinite(*dy[i]) && std::isfinite(dx[i])) kept.push_back(got[i]);
            else EXPECT_TRUE(std::isnan(got[i])) << label(c) << " step " << i + 1;
        ASSERT_EQ(kept.size(), plain.size()) << label(c);
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (std::isnan(plain[i])) EXPECT_TRUE(std::isnan(kept[i])) << label(c) << " step " << i + 1;
            else EXPECT_EQ(kept[i], plain[i]) << label(c) << " step " << i + 1;
        }
    }
}
