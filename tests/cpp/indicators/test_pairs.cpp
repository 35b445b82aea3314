#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "feed.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

std::vector<double> random_walk(std::size_t n, unsigned seed, double start = 100.0) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    std::vector<double> out;
    double x = start;
    for (std::size_t i = 0; i < n; ++i) out.push_back(x += step(rng));
    return out;
}

using Refs = std::vector<std::optional<double>>;
Refs refs(const std::vector<double>& ys) { return {ys.begin(), ys.end()}; }

// One row per step: the primary value then the named outputs; all NaN for a step without a value.
using Rows = std::vector<std::vector<double>>;

Rows run_pairs(Indicator& ind, const std::vector<double>& xs, const Refs& ys) {
    Rows rows;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        StepView s;
        s.candle = Candle{0, xs[i], xs[i], xs[i], xs[i], 0.0};
        s.reference = ys[i];
        std::vector<double> row(1 + ind.output_count(), NaN);
        if (auto v = ind.update(s)) {
            row[0] = *v;
            const auto named = ind.extra_outputs();
            for (std::size_t j = 0; j < named.size(); ++j) row[1 + j] = named[j].second;
        }
        rows.push_back(row);
    }
    return rows;
}

Rows run_pairs(const Case& c, const std::vector<double>& xs, const Refs& ys) {
    auto ind = make(c.name, c.params);
    return ind ? run_pairs(*ind, xs, ys) : Rows{};
}

// The primary column.
std::vector<double> primary(const Rows& rows) {
    std::vector<double> out;
    for (const auto& r : rows) out.push_back(r[0]);
    return out;
}

std::vector<double> run_primary(const Case& c, const std::vector<double>& xs, const std::vector<double>& ys) {
    return primary(run_pairs(c, xs, refs(ys)));
}

void expect_near(const std::vector<double>& got, const std::vector<double>& want, const std::string& what,
                 double tol) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << ": " << got[i];
        else if (tol == 0.0) EXPECT_EQ(got[i], want[i]) << what << " step " << i + 1;
        else EXPECT_NEAR(got[i], want[i], tol * std::max(1.0, std::fabs(want[i]))) << what << " step " << i + 1;
    }
}

// Every member with typical parameters and the step of its first value on data that always
// has one.
struct Member {
    Case c;
    std::size_t warmup;
};
const std::vector<Member> members{
    {{"Beta", {5}}, 5},
    {{"PairwiseBeta", {5}}, 6},
    {{"Alpha", {5, 0.01}}, 5},
    {{"RollingCovariance", {5}}, 5},
    {{"RollingCorrelation", {5}}, 5},
    {{"PearsonCorrelation", {5}}, 5},
    {{"SpearmanCorrelation", {5}}, 5},
    {{"KendallTau", {5}}, 5},
    {{"DistanceSsd", {5}}, 5},
    {{"BetaNeutralSpread", {5}}, 5},
    {{"PairSpreadZScore", {5, 4}}, 8},
    {{"SpreadBollingerBands", {5, 2}}, 5},
    {{"SpreadAr1Coefficient", {5}}, 5},
    {{"OuHalfLife", {5}}, 5},
    {{"SpreadHurst", {8}}, 8},
    {{"VarianceRatio", {6, 2}}, 6},
    {{"KalmanHedgeRatio", {0.1, 1}}, 1},
    {{"Cointegration", {8, 1}}, 8},
    {{"GrangerCausality", {8, 2}}, 8},
    {{"LeadLagCrossCorrelation", {5, 2}}, 9},
    {{"HasbrouckInformationShare", {6}}, 8},
    {{"RelativeStrengthAB", {5, 3}}, 5},
    {{"RelativeStrengthAB", {3, 5}}, 6},
};

// Population moments of xs and ys over [from, to), in two passes.
struct Moments {
    double mean_x, mean_y, var_x, var_y, cov;
    double beta() const { return var_y == 0.0 ? 0.0 : cov / var_y; }
};

Moments moments(const std::vector<double>& xs, const std::vector<double>& ys, std::size_t from, std::size_t to) {
    const double n = static_cast<double>(to - from);
    Moments m{0, 0, 0, 0, 0};
    for (std::size_t i = from; i < to; ++i) {
        m.mean_x += xs[i] / n;
        m.mean_y += ys[i] / n;
    }
    for (std::size_t i = from; i < to; ++i) {
        m.var_x += (xs[i] - m.mean_x) * (xs[i] - m.mean_x) / n;
        m.var_y += (ys[i] - m.mean_y) * (ys[i] - m.mean_y) / n;
        m.cov += (xs[i] - m.mean_x) * (ys[i] - m.mean_y) / n;
    }
    return m;
}

// Determinant by cofactor expansion and solutions by Cramer's rule: small systems only, and
// a method of its own against the members' elimination.
using Matrix = std::vector<std::vector<double>>;

double det(const Matrix& m) {
    if (m.size() == 1) return m[0][0];
    double d = 0.0;
    for (std::size_t j = 0; j < m.size(); ++j) {
        Matrix minor;
        for (std::size_t r = 1; r < m.size(); ++r) {
            minor.emplace_back();
            for (std::size_t c = 0; c < m.size(); ++c)
                if (c != j) minor.back().push_back(m[r][c]);
        }
        d += (j % 2 ? -1.0 : 1.0) * m[0][j] * det(minor);
    }
    return d;
}

struct Ols {
    std::vector<double> beta;
    double rss;
    Matrix a;
};

Ols ols(const Matrix& rows, const std::vector<double>& targets) {
    const std::size_t k = rows[0].size();
    Matrix a(k, std::vector<double>(k, 0.0));
    std::vector<double> b(k, 0.0);
    for (std::size_t t = 0; t < rows.size(); ++t)
        for (std::size_t i = 0; i < k; ++i) {
            for (std::size_t j = 0; j < k; ++j) a[i][j] += rows[t][i] * rows[t][j];
            b[i] += rows[t][i] * targets[t];
        }
    const double d = det(a);
    Ols out{{}, 0.0, a};
    for (std::size_t i = 0; i < k; ++i) {
        Matrix ai = a;
        for (std::size_t r = 0; r < k; ++r) ai[r][i] = b[r];
        out.beta.push_back(det(ai) / d);
    }
    for (std::size_t t = 0; t < rows.size(); ++t) {
        double e = targets[t];
        for (std::size_t i = 0; i < k; ++i) e -= out.beta[i] * rows[t][i];
        out.rss += e * e;
    }
    return out;
}

}  // namespace

TEST(PairsConstruction, Messages) {
    const std::string zero = "period must be greater than zero";
    const std::string maxp = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const double big = 1.8e19;
    struct Expect {
        Case c;
        std::string text;
    };
    const std::vector<Expect> cases{
        {{"Beta", {1}}, "invalid period: beta needs period >= 2"},
        {{"PairwiseBeta", {1}}, "invalid period: pairwise beta needs period >= 2"},
        {{"Alpha", {1, 0}}, "invalid period: alpha needs period >= 2"},
        {{"RollingCovariance", {1}}, "invalid period: rolling covariance needs period >= 2"},
        {{"RollingCorrelation", {1}}, "invalid period: rolling correlation needs period >= 2"},
        {{"PearsonCorrelation", {1}}, "invalid period: pearson correlation needs period >= 2"},
        {{"SpearmanCorrelation", {1}}, "invalid period: spearman correlation needs period >= 2"},
        {{"KendallTau", {1}}, "invalid period: Kendall tau needs period >= 2"},
        {{"DistanceSsd", {1}}, "invalid period: distance SSD needs period >= 2"},
        {{"BetaNeutralSpread", {1}}, "invalid period: beta-neutral spread needs period >= 2"},
        {{"PairSpreadZScore", {1, 5}}, "invalid period: pair spread z-score needs beta_period >= 2"},
        {{"PairSpreadZScore", {5, 1}}, "invalid period: pair spread z-score needs z_period >= 2"},
        {{"PairSpreadZScore", {1, 1e-20}}, zero},
        {{"PairSpreadZScore", {2, 16777217}}, maxp},
        {{"SpreadBollingerBands", {1, 2}}, "invalid period: spread bollinger bands needs period >= 2"},
        {{"SpreadBollingerBands", {2, 0}}, "ok"},
        {{"SpreadBollingerBands", {2, -1}}, "ok"},
        {{"SpreadAr1Coefficient", {2}}, "invalid period: AR(1) spread coefficient needs period >= 3"},
        {{"SpreadAr1Coefficient", {3}}, "ok"},
        {{"OuHalfLife", {2}}, "invalid period: OU half-life needs period >= 3"},
        {{"OuHalfLife", {3}}, "ok"},
        {{"SpreadHurst", {7}}, "invalid period: spread Hurst needs period >= 8"},
        {{"SpreadHurst", {8}}, "ok"},
        {{"VarianceRatio", {10, 1}}, "invalid period: variance ratio needs q >= 2"},
        {{"VarianceRatio", {3, 1}}, "invalid period: variance ratio needs q >= 2"},
        {{"VarianceRatio", {10, 1e-20}}, "invalid period: variance ratio needs q >= 2"},
        {{"VarianceRatio", {5, 4}}, "invalid period: variance ratio needs period >= q + 2"},
        {{"VarianceRatio", {1, 2}}, "invalid period: variance ratio needs period >= q + 2"},
        {{"VarianceRatio", {10, big}}, "invalid period: variance ratio needs period >= q + 2"},
        {{"VarianceRatio", {6, 4}}, "ok"},
        {{"KalmanHedgeRatio", {1, 1}}, "invalid parameter: kalman hedge ratio needs delta in (0, 1)"},
        {{"KalmanHedgeRatio", {0, 1}}, "invalid parameter: kalman hedge ratio needs delta in (0, 1)"},
        {{"KalmanHedgeRatio", {-0.5, 0}}, "invalid parameter: kalman hedge ratio needs delta in (0, 1)"},
        {{"KalmanHedgeRatio", {0.5, 0}}, "invalid parameter: kalman hedge ratio needs observation_var > 0"},
        {{"KalmanHedgeRatio", {0.5, -1}}, "invalid parameter: kalman hedge ratio needs observation_var > 0"},
        {{"KalmanHedgeRatio", {1e-300, 1e-300}}, "ok"},
        {{"Cointegration", {5, 1}}, "invalid period: cointegration needs period >= 2*adf_lags + 4"},
        {{"Cointegration", {6, 1}}, "ok"},
        {{"Cointegration", {3, 1e-20}}, "invalid period: cointegration needs period >= 2*adf_lags + 4"},
        {{"Cointegration", {4, 1e-20}}, "ok"},
        {{"Cointegration", {16777216, big}}, "invalid period: cointegration needs period >= 2*adf_lags + 4"},
        // The normal equations of (lags + 1)² entries are a buffer like any window.
        {{"Cointegration", {16777216, 4095}}, "ok"},
        {{"Cointegration", {16777216, 4096}}, maxp},
        {{"GrangerCausality", {10, 1e-20}}, "invalid period: granger causality needs lag >= 1"},
        {{"GrangerCausality", {7, 2}}, "invalid period: granger causality needs period >= 3*lag + 2"},
        {{"GrangerCausality", {1, 1}}, "invalid period: granger causality needs period >= 3*lag + 2"},
        {{"GrangerCausality", {10, big}}, "invalid period: granger causality needs period >= 3*lag + 2"},
        {{"GrangerCausality", {8, 2}}, "ok"},
        {{"GrangerCausality", {16777216, 2047}}, "ok"},
        {{"GrangerCausality", {16777216, 2048}}, maxp},
        {{"LeadLagCrossCorrelation", {1, 0.5}}, "parameter #1 must be a positive integer, got 0.5"},
        {{"LeadLagCrossCorrelation", {1, 1}}, "invalid period: lead-lag cross-correlation needs window >= 2"},
        {{"LeadLagCrossCorrelation", {1, 1e-20}}, "invalid period: lead-lag cross-correlation needs window >= 2"},
        {{"LeadLagCrossCorrelation", {2, 1e-20}}, "invalid period: lead-lag cross-correlation needs max_lag >= 1"},
        {{"LeadLagCrossCorrelation", {1e-20, 1}}, zero},
        // The rings hold W + 2L values.
        {{"LeadLagCrossCorrelation", {16777214, 1}}, "ok"},
        {{"LeadLagCrossCorrelation", {16777215, 1}}, maxp},
        {{"LeadLagCrossCorrelation", {2, big}}, maxp},
        {{"HasbrouckInformationShare", {5}}, "invalid period: information share needs period >= 6"},
        {{"HasbrouckInformationShare", {6}}, "ok"},
        {{"RelativeStrengthAB", {1e-20, 3}}, zero},
        {{"RelativeStrengthAB", {3, 16777217}}, maxp},
        {{"RelativeStrengthAB", {1, 1}}, "ok"},
        {{"Beta", {1e-20}}, zero},
        {{"SpreadHurst", {1e-20}}, zero},
        {{"KendallTau", {16777217}}, maxp},
        {{"Beta", {16777216}}, "ok"},
    };
    for (const auto& e : cases) {
        const std::string want =
            e.text == "ok" ? e.text : "invalid parameters for indicator " + std::string(e.c.name) + ": " + e.text;
        EXPECT_EQ(create_error(e.c.name, e.c.params), want) << label(e.c);
    }
}

TEST(PairsWarmup, FirstValueAtTheReportedWarmup) {
    const auto xs = random_walk(60, 1);
    const auto ys = random_walk(60, 2);
    for (const auto& m : members) {
        auto ind = make(m.c.name, m.c.params);
        ASSERT_TRUE(ind) << label(m.c);
        EXPECT_EQ(ind->warmup_period(), m.warmup) << label(m.c);
        const auto values = primary(run_pairs(*ind, xs, refs(ys)));
        EXPECT_EQ(first_value_at(values), m.warmup) << label(m.c);
        for (std::size_t i = m.warmup; i < values.size(); ++i) EXPECT_FALSE(std::isnan(values[i])) << label(m.c) << i;
    }
}

TEST(PairsOutputs, NamedInOrder) {
    const std::vector<std::pair<Case, std::vector<std::string>>> cases{
        {{"SpreadBollingerBands", {5, 2}}, {"middle", "upper", "lower", "percent_b"}},
        {{"KalmanHedgeRatio", {0.1, 1}}, {"hedge_ratio", "intercept", "spread"}},
        {{"Cointegration", {8, 1}}, {"hedge_ratio", "spread", "adf_stat"}},
        {{"LeadLagCrossCorrelation", {5, 2}}, {"correlation"}},
        {{"RelativeStrengthAB", {5, 3}}, {"ratio", "ratio_ma", "ratio_rsi"}},
    };
    const auto xs = random_walk(20, 3);
    const auto ys = random_walk(20, 4);
    for (const auto& [c, names] : cases) {
        auto ind = make(c.name, c.params);
        ASSERT_TRUE(ind) << label(c);
        const auto rows = run_pairs(*ind, xs, refs(ys));
        std::vector<std::string> got;
        for (const auto& [name, value] : ind->extra_outputs()) got.push_back(name);
        EXPECT_EQ(got, names) << label(c);
        EXPECT_EQ(rows.back()[0], rows.back()[1]) << label(c) << ": the primary value is the first output";
    }
}

// Steps without a reference, with a non-finite value on either side, or with a value a member
// cannot use, change nothing: the clean run's values come back at the clean steps.
TEST(PairsInputs, UnusableStepsAreSkippedWithoutStateChange) {
    const auto xs = random_walk(70, 5);
    const auto ys = random_walk(70, 6, 50.0);
    struct Bad {
        double x;
        std::optional<double> y;
    };
    const std::vector<Bad> always{{101, std::nullopt}, {101, NaN}, {NaN, 50}, {Inf, 50}, {101, -Inf}};
    // Non-positive values for the logarithmic members, a zero reference for the ratio.
    const std::vector<Bad> logs{{-1, 50}, {101, 0}, {0, 50}};
    const std::vector<Bad> ratio{{101, 0}};
    for (const auto& m : members) {
        const std::string name = m.c.name;
        std::vector<Bad> bad = always;
        if (name == "PairwiseBeta" || name == "PairSpreadZScore") bad.insert(bad.end(), logs.begin(), logs.end());
        if (name == "RelativeStrengthAB") bad.insert(bad.end(), ratio.begin(), ratio.end());
        std::vector<double> dirty_x;
        Refs dirty_y;
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < xs.size(); ++i) {
            if (i % 3 == 1) {
                const Bad& b = bad[(i / 3) % bad.size()];
                dirty_x.push_back(b.x);
                dirty_y.push_back(b.y);
            }
            at.push_back(dirty_x.size());
            dirty_x.push_back(xs[i]);
            dirty_y.push_back(ys[i]);
        }
        const Rows clean = run_pairs(m.c, xs, refs(ys));
        const Rows dirty = run_pairs(m.c, dirty_x, dirty_y);
        ASSERT_EQ(dirty.size(), dirty_x.size()) << label(m.c);
        std::size_t next = 0;
        for (std::size_t i = 0; i < dirty.size(); ++i) {
            if (next < at.size() && at[next] == i) {
                for (std::size_t j = 0; j < dirty[i].size(); ++j) {
                    if (std::isnan(clean[next][j])) EXPECT_TRUE(std::isnan(dirty[i][j])) << label(m.c) << " step " << i;
                    else EXPECT_EQ(dirty[i][j], clean[next][j]) << label(m.c) << " step " << i;
                }
                ++next;
            } else {
                EXPECT_TRUE(std::isnan(dirty[i][0])) << label(m.c) << " bad step " << i;
            }
        }
    }
}

// The moment members against a two-pass computation of each window.
TEST(PairsMoments, MatchTwoPassWindows) {
    const std::size_t n = 7;
    const auto xs = random_walk(200, 7, 1000.0);
    const auto ys = random_walk(200, 8, 20.0);
    struct Stat {
        Case c;
        std::function<double(const Moments&, double, double)> value;
    };
    const std::vector<Stat> stats{
        {{"Beta", {7}}, [](const Moments& m, double, double) { return m.beta(); }},
        {{"Alpha", {7, 0.5}},
         [](const Moments& m, double, double) { return m.mean_x - (0.5 + m.beta() * (m.mean_y - 0.5)); }},
        {{"RollingCovariance", {7}}, [](const Moments& m, double, double) { return m.cov; }},
        {{"RollingCorrelation", {7}},
         [](const Moments& m, double, double) { return m.cov / std::sqrt(m.var_x * m.var_y); }},
        {{"PearsonCorrelation", {7}},
         [](const Moments& m, double, double) { return m.cov / std::sqrt(m.var_x * m.var_y); }},
        {{"BetaNeutralSpread", {7}}, [](const Moments& m, double x, double y) { return x - m.beta() * y; }},
    };
    for (const auto& s : stats) {
        std::vector<double> want(xs.size(), NaN);
        for (std::size_t i = n - 1; i < xs.size(); ++i) want[i] = s.value(moments(xs, ys, i + 1 - n, i + 1), xs[i], ys[i]);
        expect_near(run_primary(s.c, xs, ys), want, label(s.c), 1e-9);
    }

    // Log returns for PairwiseBeta, log prices and their spread for PairSpreadZScore.
    std::vector<double> rx{NaN}, ry{NaN}, lx, ly;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (i > 0) {
            rx.push_back(std::log(xs[i] / xs[i - 1]));
            ry.push_back(std::log(ys[i] / ys[i - 1]));
        }
        lx.push_back(std::log(xs[i]));
        ly.push_back(std::log(ys[i]));
    }
    std::vector<double> pairwise(xs.size(), NaN);
    for (std::size_t i = n; i < xs.size(); ++i) pairwise[i] = moments(rx, ry, i + 1 - n, i + 1).beta();
    expect_near(run_primary({"PairwiseBeta", {7}}, xs, ys), pairwise, "PairwiseBeta(7)", 1e-9);

    const std::size_t b = 6, z = 4;
    std::vector<double> spread(xs.size(), NaN), zscore(xs.size(), NaN);
    for (std::size_t i = b - 1; i < xs.size(); ++i) spread[i] = lx[i] - moments(lx, ly, i + 1 - b, i + 1).beta() * ly[i];
    for (std::size_t i = b + z - 2; i < xs.size(); ++i) {
        const Moments m = moments(spread, spread, i + 1 - z, i + 1);
        zscore[i] = (spread[i] - m.mean_x) / std::sqrt(m.var_x);
    }
    expect_near(run_primary({"PairSpreadZScore", {6, 4}}, xs, ys), zscore, "PairSpreadZScore(6,4)", 1e-7);

    const Rows bands = run_pairs({"SpreadBollingerBands", {7, 1.5}}, xs, refs(ys));
    for (std::size_t i = n - 1; i < xs.size(); ++i) {
        std::vector<double> s;
        for (std::size_t j = i + 1 - n; j <= i; ++j) s.push_back(xs[j] - ys[j]);
        const Moments m = moments(s, s, 0, n);
        const double upper = m.mean_x + 1.5 * std::sqrt(m.var_x), lower = m.mean_x - 1.5 * std::sqrt(m.var_x);
        expect_near(bands[i], {m.mean_x, m.mean_x, upper, lower, (s.back() - lower) / (upper - lower)},
                    "SpreadBollingerBands step " + std::to_string(i), 1e-9);
    }
}

// A flat window reports its documented fallback exactly, never residue of the running sums.
TEST(PairsMoments, FlatWindowsTakeTheirFallbacks) {
    // Closes that move, then a reference that stops at 100.1 after its own moves.
    auto xs = random_walk(60, 9);
    auto ys = random_walk(60, 10);
    for (std::size_t i = 30; i < ys.size(); ++i) ys[i] = 100.1;
    const std::size_t n = 20;
    struct Flat {
        Case c;
        std::function<double(std::size_t)> want;  // at step i, once the window is flat
    };
    const std::vector<Flat> cases{
        {{"Beta", {20}}, [](std::size_t) { return 0.0; }},
        {{"RollingCovariance", {20}}, [](std::size_t) { return 0.0; }},
        {{"RollingCorrelation", {20}}, [](std::size_t) { return 0.0; }},
        {{"PearsonCorrelation", {20}}, [](std::size_t) { return 0.0; }},
        {{"SpearmanCorrelation", {20}}, [](std::size_t) { return 0.0; }},
        {{"BetaNeutralSpread", {20}}, [&](std::size_t i) { return xs[i]; }},
        {{"Alpha", {20, 0.25}}, [&](std::size_t i) { return moments(xs, ys, i + 1 - n, i + 1).mean_x - 0.25; }},
    };
    for (const auto& f : cases) {
        const auto got = run_primary(f.c, xs, ys);
        for (std::size_t i = 30 + n - 1; i < xs.size(); ++i) {
            if (std::string(f.c.name) == "Alpha") EXPECT_NEAR(got[i], f.want(i), 1e-12) << label(f.c) << i;
            else EXPECT_EQ(got[i], f.want(i)) << label(f.c) << " step " << i;
        }
    }
    // A flat spread: the bands coincide on its value.
    const std::vector<double> flat_x(12, 100.3), flat_y(12, 0.1);
    const Rows bands = run_pairs({"SpreadBollingerBands", {5, 2}}, flat_x, refs(flat_y));
    const double s = 100.3 - 0.1;
    expect_near(bands.back(), {s, s, s, s, 0.5}, "flat spread bands", 0.0);
}

TEST(PairsCorrelation, KnownValues) {
    struct Example {
        Case c;
        std::vector<double> xs, ys;
        double want;
    };
    const std::vector<Example> examples{
        {{"PearsonCorrelation", {4}}, {3, 5, 7, 13}, {1, 2, 3, 6}, 1.0},
        {{"RollingCorrelation", {4}}, {-1, -3, -5, -11}, {1, 2, 3, 6}, -1.0},
        {{"SpearmanCorrelation", {3}}, {1, 2, 3}, {10, 20, 30}, 1.0},
        {{"SpearmanCorrelation", {3}}, {1, 2, 3}, {30, 1, -5}, -1.0},
        // Ranks 1, 2.5, 2.5, 4 against 1 … 4.
        {{"SpearmanCorrelation", {4}}, {1, 2, 2, 3}, {1, 2, 3, 4}, 4.5 / std::sqrt(4.5 * 5.0)},
        // Monotone but not linear: rank correlation 1.
        {{"SpearmanCorrelation", {4}}, {1, 8, 27, 1000}, {1, 2, 3, 4}, 1.0},
        // Five concordant pairs, one discordant.
        {{"KendallTau", {4}}, {1, 2, 3, 4}, {1, 3, 2, 4}, 4.0 / 6.0},
        // One pair tied in x: tau-b = 5/√(5·6).
        {{"KendallTau", {4}}, {1, 1, 2, 3}, {1, 2, 3, 4}, 5.0 / std::sqrt(30.0)},
        {{"KendallTau", {3}}, {3, 2, 1}, {1, 2, 3}, -1.0},
        // Paths 1, 2, 4 and 1, 1, 1.
        {{"DistanceSsd", {3}}, {1, 2, 4}, {2, 2, 2}, 10.0},
        {{"DistanceSsd", {3}}, {5, 6, 9}, {10, 12, 18}, 0.0},
        {{"DistanceSsd", {3}}, {0, 2, 4}, {1, 2, 3}, 0.0},
        {{"DistanceSsd", {3}}, {1, 2, 4}, {0, 2, 3}, 0.0},
    };
    for (const auto& e : examples) {
        const auto got = run_primary(e.c, e.xs, e.ys);
        EXPECT_NEAR(got.back(), e.want, 1e-15) << label(e.c);
    }
    // Every pair tied in x: tau-b has no denominator and gives no value.
    EXPECT_TRUE(std::isnan(run_primary({"KendallTau", {3}}, {2, 2, 2}, {1, 2, 3}).back()));

    // Exactly ±1 for exact linear relations, and never beyond after rounding.
    const auto ys = random_walk(300, 11);
    std::vector<double> twice, inverse, scaled;
    for (double y : ys) {
        twice.push_back(2 * y + 1);
        inverse.push_back(-2 * y + 1);
        scaled.push_back(3.1 * y + 0.7);
    }
    for (const char* name : {"PearsonCorrelation", "RollingCorrelation"}) {
        const auto plus = run_primary({name, {4}}, twice, ys);
        const auto minus = run_primary({name, {4}}, inverse, ys);
        for (std::size_t i = 3; i < ys.size(); ++i) {
            EXPECT_EQ(plus[i], 1.0) << name << i;
            EXPECT_EQ(minus[i], -1.0) << name << i;
        }
        for (double v : run_primary({name, {4}}, scaled, ys)) {
            if (std::isnan(v)) continue;
            EXPECT_LE(std::fabs(v), 1.0) << name;
        }
    }
}

TEST(PairsSpread, KnownValues) {
    struct Example {
        Case c;
        std::vector<double> spread;  // x − y with y = 0
        double want;                 // at the last step; NaN for no value
    };
    std::vector<double> halving, linear, alternating, drift;
    for (int i = 0; i < 12; ++i) {
        halving.push_back(std::ldexp(1.0, 10 - i));
        linear.push_back(3.0 + 2.0 * i);
        alternating.push_back(i % 2);
        drift.push_back(0.5 * i);
    }
    const std::vector<double> flat(12, 4.25);
    const std::vector<Example> examples{
        {{"SpreadAr1Coefficient", {5}}, halving, 0.5},
        {{"SpreadAr1Coefficient", {5}}, linear, 1.0},
        {{"SpreadAr1Coefficient", {5}}, flat, 0.0},
        // Δs = −0.5·s: λ = −0.5.
        {{"OuHalfLife", {5}}, halving, 0.6931471805599453 / 0.5},
        {{"OuHalfLife", {5}}, flat, 0.0},
        // Equal changes: λ = 0 has no half-life.
        {{"OuHalfLife", {5}}, linear, NaN},
        {{"SpreadHurst", {8}}, flat, 0.5},
        // v(τ) = 4τ²: slope 2, H = 1.
        {{"SpreadHurst", {12}}, linear, 1.0},
        // Only the odd lags 1 and 3 vary, equally: H = 0.
        {{"SpreadHurst", {12}}, alternating, 0.0},
        // Only lag 1 varies: one point.
        {{"SpreadHurst", {8}}, alternating, 0.5},
        // The one-step variance is 0.
        {{"VarianceRatio", {6, 2}}, drift, 1.0},
        {{"VarianceRatio", {6, 3}}, linear, 1.0},
        // Changes 1, 2, 3, 1: v₁ = 0.6875, 2-step sums 3, 5, 4 about 3.5: v₂ = 2.75/3.
        {{"VarianceRatio", {5, 2}}, {0, 1, 3, 6, 7}, 2.0 / 3.0},
        {{"VarianceRatio", {5, 2}}, {0, 1, 0, 1, 0}, 0.0},
    };
    for (const auto& e : examples) {
        const std::vector<double> zeros(e.spread.size(), 0.0);
        const double got = run_primary(e.c, e.spread, zeros).back();
        if (std::isnan(e.want)) EXPECT_TRUE(std::isnan(got)) << label(e.c) << ": " << got;
        else EXPECT_NEAR(got, e.want, 1e-12) << label(e.c);
    }
    // The spread is x − y, not x alone.
    const auto ys = random_walk(40, 12);
    std::vector<double> xs;
    for (std::size_t i = 0; i < ys.size(); ++i) xs.push_back(ys[i] + halving[i % 12]);
    EXPECT_NE(run_primary({"SpreadAr1Coefficient", {5}}, xs, ys).back(), 0.5);
    for (std::size_t i = 0; i < ys.size(); ++i) xs[i] = ys[i] + linear[0] + 2.0 * static_cast<double>(i);
    EXPECT_NEAR(run_primary({"SpreadHurst", {12}}, xs, ys).back(), 1.0, 1e-9);
}

TEST(PairsKalman, FirstStepsByHand) {
    // delta 0.5: Vw = 1; Ve = 1. Step 1: P = 0, gain 0. Step 2: P = I, h = (2, 1), S = 6,
    // K = (1/3, 1/6), innovation 3.
    const Rows rows = run_pairs({"KalmanHedgeRatio", {0.5, 1}}, {7, 3}, refs({4, 2}));
    expect_near(rows[0], {0, 0, 0, 7}, "step 1", 0.0);
    expect_near(rows[1], {1, 1, 0.5, 3}, "step 2", 1e-15);
    // P after step 2 = I − K·hᵀ = [[1/3, −1/3], [−1/3, 5/6]]; step 3 adds Vw to the diagonal.
    const Rows three = run_pairs({"KalmanHedgeRatio", {0.5, 1}}, {7, 3, 5}, refs({4, 2, 1}));
    const double p00 = 1.0 / 3 + 1, p01 = -1.0 / 3, p10 = -1.0 / 3, p11 = 5.0 / 6 + 1;
    const double e = 5 - (1 * 1 + 0.5);
    const double h0 = p00 * 1 + p01, h1 = p10 * 1 + p11, s = h0 + h1 + 1;
    expect_near(three[2], {1 + e * h0 / s, 1 + e * h0 / s, 0.5 + e * h1 / s, e}, "step 3", 1e-15);
    // Values overflowing the covariance are dropped, not carried as NaN.
    const Rows huge = run_pairs({"KalmanHedgeRatio", {0.5, 1}}, {7, 3, 1, 5}, refs({4, 2, 1.7e308, 1}));
    EXPECT_TRUE(std::isnan(huge[2][0]));
    expect_near(huge[3], three[2], "after an overflowing step", 0.0);
}

// Engle–Granger with one ADF lag against Cramer's rule on the same residuals.
TEST(PairsCointegration, MatchesCramerSolution) {
    const std::size_t n = 12;
    const auto ys = random_walk(40, 13);
    auto xs = random_walk(40, 14, 0.0);
    for (std::size_t i = 0; i < xs.size(); ++i) xs[i] += 1.5 * ys[i];
    const Rows rows = run_pairs({"Cointegration", {12, 1}}, xs, refs(ys));
    for (std::size_t end = n; end <= xs.size(); ++end) {
        const Moments m = moments(xs, ys, end - n, end);
        const double hedge = m.beta(), intercept = m.mean_x - m.mean_y * hedge;
        std::vector<double> r;
        for (std::size_t i = end - n; i < end; ++i) r.push_back(xs[i] - (ys[i] * hedge + intercept));
        Matrix obs;
        std::vector<double> targets;
        for (std::size_t t = 2; t < n; ++t) {
            obs.push_back({r[t - 1], r[t - 1] - r[t - 2]});
            targets.push_back(r[t] - r[t - 1]);
        }
        const Ols fit = ols(obs, targets);
        const double inv00 = fit.a[1][1] / det(fit.a);
        const double adf = fit.beta[0] / std::sqrt(fit.rss / static_cast<double>(n - 4) * inv00);
        expect_near(rows[end - 1], {hedge, hedge, r.back(), adf}, "window ending " + std::to_string(end), 1e-8);
    }
}

TEST(PairsCointegration, SingularRegressionGivesZero) {
    // An exact linear relation leaves residuals of rounding size only; a flat close no change.
    const auto ys = random_walk(30, 15);
    std::vector<double> xs;
    for (double y : ys) xs.push_back(2.0 * y + 1.0);
    const Rows exact = run_pairs({"Cointegration", {10, 2}}, xs, refs(ys));
    const Rows flat = run_pairs({"Cointegration", {10, 2}}, std::vector<double>(30, 5.0), refs(ys));
    for (std::size_t i = 9; i < 30; ++i) {
        EXPECT_EQ(exact[i][3], 0.0) << i;
        EXPECT_NEAR(exact[i][0], 2.0, 1e-12) << i;
        expect_near(flat[i], {0, 0, 0, 0}, "flat close", 0.0);
    }
}

// F-statistics with one lag against Cramer's rule.
TEST(PairsGranger, MatchesCramerSolution) {
    const std::size_t n = 15;
    const auto ys = random_walk(50, 16);
    std::vector<double> xs{100.0};
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> noise(-0.5, 0.5);
    for (std::size_t i = 1; i < ys.size(); ++i) xs.push_back(0.5 * xs[i - 1] + 0.5 * ys[i - 1] + noise(rng));
    const auto got = run_primary({"GrangerCausality", {15, 1}}, xs, ys);
    for (std::size_t end = n; end <= xs.size(); ++end) {
        Matrix restricted, unrestricted;
        std::vector<double> targets;
        for (std::size_t t = end - n + 1; t < end; ++t) {
            restricted.push_back({1.0, xs[t - 1]});
            unrestricted.push_back({1.0, xs[t - 1], ys[t - 1]});
            targets.push_back(xs[t]);
        }
        const double rss_r = ols(restricted, targets).rss, rss_u = ols(unrestricted, targets).rss;
        const double f = (rss_r - rss_u) / (rss_u / static_cast<double>(n - 1 - 3));
        EXPECT_NEAR(got[end - 1], std::max(f, 0.0), 1e-6 * std::max(1.0, f)) << end;
        EXPECT_GT(got[end - 1], 1.0) << end;
    }
    // A flat close makes both fits singular.
    for (double v : run_primary({"GrangerCausality", {8, 2}}, std::vector<double>(20, 3.0), ys)) {
        if (std::isnan(v)) continue;
        EXPECT_EQ(v, 0.0);
    }
}

TEST(PairsLeadLag, StrongestLagKeepsItsSign) {
    const auto xs = random_walk(60, 18);
    // The reference follows the close inversely two steps later.
    std::vector<double> ys{0.0, 0.0};
    for (std::size_t i = 2; i < xs.size(); ++i) ys.push_back(-xs[i - 2]);
    const auto inverse = run_primary({"LeadLagCrossCorrelation", {10, 3}}, xs, ys);
    for (std::size_t i = 17; i < xs.size(); ++i) EXPECT_EQ(inverse[i], -1.0) << i;
    const auto same = run_primary({"LeadLagCrossCorrelation", {10, 3}}, xs, xs);
    for (std::size_t i = 15; i < xs.size(); ++i) EXPECT_EQ(same[i], 1.0) << i;
    // Two-value windows correlate ±1: lag 0 (−1) beats lags −1 and +1 (both +1); with lag 0
    // flat, lag −1 (−1) beats lag +1 (+1).
    EXPECT_EQ(run_primary({"LeadLagCrossCorrelation", {2, 1}}, {0, 1, 0, 1}, {0, 1, 2, 3}).back(), -1.0);
    EXPECT_EQ(run_primary({"LeadLagCrossCorrelation", {2, 1}}, {1, 0, 0, 1}, {0, 1, 2, 3}).back(), -1.0);
    // A flat reference correlates with nothing.
    for (double v : run_primary({"LeadLagCrossCorrelation", {4, 1}}, xs, std::vector<double>(60, 0.3))) {
        if (std::isnan(v)) continue;
        EXPECT_EQ(v, 0.0);
    }
}

TEST(PairsInformationShare, LeaderCarriesTheShare) {
    std::mt19937 rng(19);
    std::normal_distribution<double> noise(0.0, 1.0);
    // The leader is a random walk; the follower closes half its gap each step, with noise.
    std::vector<double> leader{100.0}, follower{100.0};
    for (int i = 1; i < 300; ++i) {
        leader.push_back(leader.back() + noise(rng));
        follower.push_back(follower.back() + 0.5 * (leader[i - 1] - follower.back()) + 0.1 * noise(rng));
    }
    const auto close_leads = run_primary({"HasbrouckInformationShare", {100}}, leader, follower);
    const auto close_follows = run_primary({"HasbrouckInformationShare", {100}}, follower, leader);
    for (std::size_t i = 101; i < leader.size(); ++i) {
        EXPECT_GT(close_leads[i], 0.8) << i;
        EXPECT_LT(close_follows[i], 0.2) << i;
        EXPECT_LE(close_leads[i], 1.0) << i;
        EXPECT_GE(close_follows[i], 0.0) << i;
    }
    // Flat prices: every regressor but the constant vanishes, the fit is singular.
    for (double v : run_primary({"HasbrouckInformationShare", {6}}, std::vector<double>(20, 5.0),
                                std::vector<double>(20, 4.0))) {
        if (std::isnan(v)) continue;
        EXPECT_EQ(v, 0.5);
    }
}

TEST(PairsRelativeStrength, RatioAverageAndRsi) {
    // Ratios 1, 2, 3, 2: SMA(2) 2.5, 2.5; RSI(2) 100, then gains and losses of 0.5 each: 50.
    const Rows rows = run_pairs({"RelativeStrengthAB", {2, 2}}, {2, 4, 6, 4}, refs({2, 2, 2, 2}));
    EXPECT_TRUE(std::isnan(rows[1][0]));
    expect_near(rows[2], {3, 3, 2.5, 100}, "step 3", 0.0);
    expect_near(rows[3], {2, 2, 2.5, 50}, "step 4", 0.0);
}
