#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "store/build/build.hpp"
#include "store/build/frame_writer.hpp"
#include "store/build/labels.hpp"
#include "store/build/number_text.hpp"
#include "store/build/scaling.hpp"

using namespace ostrel;
using namespace ostrel::store;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

std::string text(double v) {
    std::string out;
    return append_number_text(out, v) ? out : std::string("<none>");
}

std::vector<Candle> closes(std::vector<double> cs) {
    std::vector<Candle> out;
    for (double c : cs) out.push_back({0, c, c, c, c, 0});
    return out;
}

}  // namespace

TEST(Frame, NumberText) {
    const std::pair<double, std::string> cases[] = {
        {1.0, "1"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.33333333"},
        {2.0 / 3.0, "0.66666667"},
        {123.456789012345, "123.45678901000001"},
        {5e-9, "0.00000001"},
        {-4e-9, "-0"},
        {1e21, "1000000000000000000000"},
        {0.1 + 0.2, "0.3"},
        {1e-9, "0"},
        {-1e-9, "-0"},
        {-2.5, "-2.5"},
        {NaN, "<none>"},
        {std::numeric_limits<double>::infinity(), "<none>"},
        {2e300, "2" + std::string(300, '0')},
    };
    for (const auto& [v, expected] : cases) EXPECT_EQ(text(v), expected) << v;
    EXPECT_EQ(key_number_text(2.0), "2");
    EXPECT_EQ(key_number_text(-0.0), "0");
    EXPECT_EQ(key_number_text(0.5), "0.5");
    EXPECT_EQ(key_number_text(1e-7), "0.0000001");
    EXPECT_EQ(key_number_text(1e19), "9223372036854775807");
    EXPECT_EQ(key_number_text(-1e19), "-9223372036854775808");
    EXPECT_EQ(evaluation_key("BollingerBands", {20, 2}), "BollingerBands(20,2)");
    EXPECT_EQ(evaluation_key("Vwap", {}), "Vwap()");
}

TEST(Frame, Writers) {
    FeatureFrame empty;
    empty.columns = {"a", "b"};
    EXPECT_EQ(write_json(empty), R"({"columns":["a","b"],"index":[],"data":[],"rows":0})");
    EXPECT_EQ(write_csv(empty), "symbol,ts,a,b\n");

    FeatureFrame f;
    f.columns = {"x\"y", "BollingerBands(20,2)"};
    f.index = {{"X", 7}, {"Y", -3}};
    f.data = {NaN, 2.5, 1.0, -0.0};
    f.rows = 2;
    EXPECT_EQ(write_json(f),
              R"J({"columns":["x\"y","BollingerBands(20,2)"],"index":[{"symbol":"X","ts":7},{"symbol":"Y","ts":-3}],)J"
              R"J("data":[[null,2.5],[1,-0]],"rows":2})J");
    EXPECT_EQ(write_csv(f), "symbol,ts,\"x\"\"y\",\"BollingerBands(20,2)\"\nX,7,,2.5\nY,-3,1,-0\n");
}

TEST(Frame, ForwardReturns) {
    std::vector<double> out(3);
    label_values(ForwardReturnLabel{1, false}, closes({100, 110, 99}), out);
    EXPECT_NEAR(out[0], 0.1, 1e-12);
    EXPECT_NEAR(out[1], -0.1, 1e-12);
    EXPECT_TRUE(std::isnan(out[2]));
    label_values(ForwardReturnLabel{1, true}, closes({100, 110, 99}), out);
    EXPECT_EQ(out[0], std::log(110.0 / 100.0));
    label_values(ForwardReturnLabel{1, false}, closes({0, 1, 2}), out);
    EXPECT_TRUE(std::isnan(out[0]));
    label_values(ForwardReturnLabel{UINT64_MAX, false}, closes({1, 2, 3}), out);
    EXPECT_TRUE(std::isnan(out[0]) && std::isnan(out[2]));
    EXPECT_EQ(label_column_name(ForwardReturnLabel{5, true}), "fwd_log_return(5)");
    EXPECT_EQ(label_column_name(TripleBarrierLabel{10, 1.0, 0.5}), "tb(10,1,0.5)");
}

TEST(Frame, TripleBarrier) {
    const TripleBarrierLabel tb{2, 0.05, 0.05};
    struct Case {
        std::vector<Candle> candles;
        double expected;
    };
    const Case cases[] = {
        {{{0, 100, 100, 100, 100, 0}, {0, 100, 106, 94, 100, 0}, {0, 100, 100, 100, 100, 0}}, -1.0},
        {{{0, 100, 100, 100, 100, 0}, {0, 100, 105, 96, 100, 0}, {0, 100, 100, 100, 100, 0}}, 1.0},
        {{{0, 100, 100, 100, 100, 0}, {0, 100, 104, 96, 100, 0}, {0, 100, 104.9, 95.1, 100, 0}}, 0.0},
        {{{0, NaN, NaN, NaN, NaN, 0}, {0, 100, 200, 1, 100, 0}, {0, 100, 200, 1, 100, 0}}, 0.0},
    };
    for (const Case& c : cases) {
        std::vector<double> out(3);
        label_values(tb, c.candles, out);
        EXPECT_EQ(out[0], c.expected);
        EXPECT_TRUE(std::isnan(out[2]));
    }
}

// The block skipping must agree with a plain scan, hits far inside long horizons included.
TEST(Frame, TripleBarrierMatchesPlainScan) {
    std::vector<Candle> candles;
    double p = 100;
    for (int i = 0; i < 5000; ++i) {
        p += (i % 977 == 0) ? 3.0 : ((i * 7919) % 13 - 6) * 0.001;
        candles.push_back({0, p, p + 0.01, p - 0.01, p, 0});
    }
    const TripleBarrierLabel tb{700, 0.02, 0.03};
    std::vector<double> out(candles.size());
    label_values(tb, candles, out);
    for (std::size_t i = 0; i + tb.horizon < candles.size(); i += 37) {
        const double upper = candles[i].close * 1.02, lower = candles[i].close * 0.97;
        double expected = 0;
        for (std::size_t j = i + 1; j <= i + tb.horizon; ++j) {
            if (candles[j].low <= lower) { expected = -1; break; }
            if (candles[j].high >= upper) { expected = 1; break; }
        }
        ASSERT_EQ(out[i], expected) << i;
    }
}

TEST(Frame, Scaling) {
    auto scaled = [](std::vector<double> col, ScalingMode m) {
        scale_frame(col, 1, 1, m);
        return col;
    };
    EXPECT_EQ(scaled({1, 2, 3}, ScalingMode::MinMax), (std::vector<double>{0, 0.5, 1}));
    EXPECT_EQ(scaled({7, 7}, ScalingMode::MinMax), (std::vector<double>{0, 0}));
    auto z = scaled({1, 2, 3}, ScalingMode::ZScore);
    EXPECT_NEAR(z[0], -1.224744871391589, 1e-12);
    EXPECT_EQ(z[1], 0.0);
    EXPECT_EQ(scaled({0.1, 0.1, 0.1}, ScalingMode::ZScore), (std::vector<double>{0, 0, 0}));
    auto with_nan = scaled({NaN, 1, 3}, ScalingMode::MinMax);
    EXPECT_TRUE(std::isnan(with_nan[0]));
    EXPECT_EQ(with_nan[2], 1.0);
    EXPECT_EQ(scaled({NaN, 5}, ScalingMode::ZScore)[1], 0.0);
    // Label columns (beyond the feature count) stay raw.
    std::vector<double> frame{1, 10, 3, 30};
    scale_frame(frame, 2, 1, ScalingMode::MinMax);
    EXPECT_EQ(frame, (std::vector<double>{0, 10, 1, 30}));
}
