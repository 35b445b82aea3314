#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/rolling/running_sum.hpp"
#include "indicators/rolling/sorted_window.hpp"

using namespace ostrel;

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
}

TEST(Rolling, RingWindowEvictsOldestAndIteratesInOrder) {
    RingWindow<int> w(3);
    EXPECT_FALSE(w.push(1));
    EXPECT_FALSE(w.push(2));
    EXPECT_FALSE(w.push(3));
    EXPECT_TRUE(w.full());
    EXPECT_EQ(w.push(4), 1);
    EXPECT_EQ(w.push(5), 2);
    std::vector<int> seen;
    w.for_each([&](int v) { seen.push_back(v); });
    EXPECT_EQ(seen, (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(w.oldest(), 3);
    EXPECT_EQ(w.newest(), 5);
    EXPECT_EQ(w[1], 4);
}

TEST(Rolling, HugeWindowCostsNothingUntilFilled) {
    RingWindow<double> w(16777216);
    for (int i = 0; i < 10; ++i) w.push(i);
    EXPECT_EQ(w.size(), 10u);
    EXPECT_EQ(w[9], 9.0);
}

TEST(Rolling, RunningSumAveragesAndResums) {
    RunningSum s(3, 16);
    std::vector<double> means;
    for (double x : {1.0, 2.0, 3.0, 4.0}) {
        s.push(x);
        if (s.full()) means.push_back(s.mean());
    }
    EXPECT_EQ(means, (std::vector<double>{2.0, 3.0}));
    EXPECT_FALSE(s.push(NaN));
    EXPECT_EQ(s.size(), 3u);
    for (int i = 4; i < 47; ++i) s.push(i);
    EXPECT_EQ(s.pushes_since_resum(), 47u);
    s.push(47);
    EXPECT_EQ(s.pushes_since_resum(), 0u);  // the 48th accepted input recomputed the sum
}

TEST(Rolling, RunningSumOfZerosIsExactlyZero) {
    RunningSum s(3);
    for (double x : {0.1, 0.7, 1e-3, 0.0, 0.0, 0.0}) s.push(x);
    EXPECT_TRUE(s.all_zero());
    EXPECT_EQ(s.sum(), 0.0);
    EXPECT_FALSE(std::signbit(s.sum()));
}

TEST(Rolling, FlatMomentsAreExact) {
    AnchoredMoments m(5);
    for (double x : {3.3, 1.7, 0.1, 0.1, 0.1, 0.1}) m.push(x);
    EXPECT_FALSE(m.flat());
    m.push(0.1);
    EXPECT_TRUE(m.flat());
    EXPECT_EQ(m.variance(), 0.0);
    EXPECT_EQ(m.mean(), 0.1);
    m.push(0.2);
    EXPECT_GT(m.variance(), 0.0);

    AnchoredPairMoments p(3);
    for (auto [x, y] : {std::pair{1.0, 5.0}, {2.0, 5.0}, {4.0, 5.0}}) p.push(x, y);
    EXPECT_TRUE(p.flat_y());
    EXPECT_EQ(p.covariance(), 0.0);
    EXPECT_EQ(p.variance_y(), 0.0);
    EXPECT_DOUBLE_EQ(p.mean_x(), 7.0 / 3.0);
}

// Re-anchoring keeps the variance of values around 1e9 close to a two-pass computation.
TEST(Rolling, MomentsStayStableOverLongRuns) {
    const std::size_t n = 50;
    AnchoredMoments m(n);
    AnchoredPairMoments p(n);
    std::mt19937_64 rng(7);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::vector<double> xs;
    double worst = 0.0;
    for (int i = 0; i < 1000000; ++i) {
        const double x = 1e9 + noise(rng);
        xs.push_back(x);
        m.push(x);
        p.push(x, 2.0 * x);
        if (i % 997 != 0 || !m.full()) continue;
        double mean = 0;
        for (std::size_t k = xs.size() - n; k < xs.size(); ++k) mean += xs[k];
        mean /= n;
        double var = 0;
        for (std::size_t k = xs.size() - n; k < xs.size(); ++k) var += (xs[k] - mean) * (xs[k] - mean);
        var /= n;
        worst = std::max(worst, std::fabs(m.variance() - var) / var);
        EXPECT_NEAR(p.covariance(), 2.0 * var, 1e-5 * var);
    }
    EXPECT_LT(worst, 1e-5);
}

TEST(Rolling, SortedWindowQuantilesAndMedians) {
    SortedWindow w(4);
    for (double x : {3.0, 1.0, 4.0, 2.0}) w.push(x);
    EXPECT_EQ(w.quantile(0.5), 2.5);
    EXPECT_EQ(w.quantile(0.25), 1.75);
    EXPECT_EQ(w.quantile(1.0), 4.0);
    EXPECT_EQ(w.quantile(0.0), 1.0);
    EXPECT_EQ(w.median(), 2.5);
    SortedWindow odd(3);
    for (double x : {3.0, 1.0, 2.0}) odd.push(x);
    EXPECT_EQ(odd.median(), 2.0);
    SortedWindow one(1);
    one.push(7.0);
    EXPECT_EQ(one.quantile(0.3), 7.0);
}

TEST(Rolling, SortedWindowEvictsOneOfEqualValuesAndOrdersSignedZeros) {
    SortedWindow w(3);
    for (double x : {5.0, 5.0, 1.0, 2.0}) w.push(x);
    EXPECT_EQ(w.sorted(), (std::vector<double>{1.0, 2.0, 5.0}));
    SortedWindow z(2);
    z.push(0.0);
    z.push(-0.0);
    EXPECT_TRUE(std::signbit(z.sorted()[0]));
    EXPECT_FALSE(std::signbit(z.sorted()[1]));
    z.push(3.0);  // evicts +0, leaving -0
    EXPECT_TRUE(std::signbit(z.sorted()[0]));
    EXPECT_EQ(z.sorted().size(), 2u);
}

TEST(Rolling, ExtremesIgnoreNaN) {
    RingWindow<double> w(4);
    for (double x : {2.0, NaN, 7.0, -1.0}) w.push(x);
    EXPECT_EQ(window_max(w), 7.0);
    EXPECT_EQ(window_min(w), -1.0);
    RingWindow<double> all_nan(2);
    all_nan.push(NaN);
    EXPECT_EQ(window_max(all_nan), -std::numeric_limits<double>::infinity());
}

TEST(Rolling, MidpointDoesNotOverflow) {
    EXPECT_EQ(midpoint(1.5e308, 1.5e308), 1.5e308);
    EXPECT_EQ(midpoint(-1.7e308, -1.7e308), -1.7e308);
    EXPECT_EQ(midpoint(1.0, 2.0), 1.5);
}
