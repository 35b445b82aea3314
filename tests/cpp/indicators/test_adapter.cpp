#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "indicators/core/indicator.hpp"

using namespace ostrel;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Test-only members: each counts the inputs it accepted, so a skipped step is visible.
struct CountCandles {
    static constexpr InputKind input = InputKind::Candle;
    int seen = 0;
    std::optional<double> update(const Candle& c) { return c.close + 100.0 * ++seen; }
    std::size_t warmup_period() const { return 1; }
};

struct PairDiff {
    static constexpr InputKind input = InputKind::Pair;
    int seen = 0;
    std::optional<double> update(double x, double y) { return x - y + 100.0 * ++seen; }
    std::size_t warmup_period() const { return 1; }
};

struct LastTrade {
    static constexpr InputKind input = InputKind::Trades;
    int seen = 0;
    std::optional<double> update(const TradePrint& t) { return t.price + 100.0 * ++seen; }
    std::size_t warmup_period() const { return 1; }
};

struct BookSpread {
    static constexpr InputKind input = InputKind::OrderBook;
    std::optional<double> update(const OrderBook& b) { return b.asks[0].price - b.bids[0].price; }
    std::size_t warmup_period() const { return 1; }
};

struct TwoOutputs {
    static constexpr InputKind input = InputKind::Close;
    int seen = 0;
    std::optional<std::array<double, 2>> update(double x) {
        if (++seen < 2) return std::nullopt;
        return std::array<double, 2>{x, -x};
    }
    std::size_t warmup_period() const { return 2; }
};

template <class T>
std::unique_ptr<Indicator> make(T t = {}) {
    return std::make_unique<Adapter<T>>(std::move(t));
}

StepView candle_step(double o, double h, double l, double c) {
    StepView s;
    s.candle = {0, o, h, l, c, 1.0};
    return s;
}

}  // namespace

TEST(Adapter, InvalidCandleChangesNoState) {
    auto ind = make<CountCandles>();
    EXPECT_EQ(ind->update(candle_step(1, 2, 0.5, 1.5)), 101.5);
    EXPECT_FALSE(ind->update(candle_step(1, 0.5, 2, 1.5)));  // high below low
    EXPECT_FALSE(ind->update(candle_step(NaN, 2, 0.5, 1.5)));
    EXPECT_EQ(ind->update(candle_step(1, 2, 0.5, 1.0)), 201.0);
    EXPECT_EQ(ind->input_kind(), InputKind::Candle);
}

TEST(Adapter, PairNeedsAFiniteReference) {
    auto ind = make<PairDiff>();
    StepView s;
    s.candle.close = 10;
    EXPECT_FALSE(ind->update(s));
    s.reference = NaN;
    EXPECT_FALSE(ind->update(s));
    s.reference = 4;
    s.candle.close = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(ind->update(s));
    s.candle.close = 10;
    EXPECT_EQ(ind->update(s), 106.0);  // first accepted pair
}

TEST(Adapter, TradesYieldTheLastTradesResult) {
    auto ind = make<LastTrade>();
    std::vector<TradePrint> trades{{10, 1, Side::Buy, 0}, {11, 1, Side::Sell, 0}, {12, 1, Side::Buy, 0}};
    StepView s;
    EXPECT_FALSE(ind->update(s));
    s.trades = trades;
    EXPECT_EQ(ind->update(s), 312.0);  // every trade fed, third result kept
}

TEST(Adapter, AbsentFeedsYieldNothing) {
    auto ind = make<BookSpread>();
    StepView s;
    EXPECT_FALSE(ind->update(s));
    OrderBook book{{{99, 1}}, {{101, 1}}};
    s.book = &book;
    EXPECT_EQ(ind->update(s), 2.0);
}

TEST(Adapter, MultiOutputPrimaryIsTheFirstNamedOutput) {
    auto ind = make<TwoOutputs>();
    ind->set_output_names("up,down");
    StepView s;
    s.candle.close = 3;
    EXPECT_FALSE(ind->update(s));
    s.candle.close = 5;
    EXPECT_EQ(ind->update(s), 5.0);
    const NamedOutputs expected{{"up", 5.0}, {"down", -5.0}};
    EXPECT_EQ(ind->extra_outputs(), expected);
    EXPECT_EQ(ind->output_count(), 2u);
    EXPECT_EQ(ind->warmup_period(), 2u);
}

TEST(Adapter, RunFillsColumnsLikeRepeatedUpdates) {
    std::vector<Candle> candles{{0, 1, 2, 0.5, 1, 1}, {0, 1, 0.5, 2, 1, 1}, {0, 1, 3, 0.5, 3, 1}};
    SeriesView series;
    series.candles = candles;
    std::vector<double> out(3);
    double* cols[] = {out.data()};
    make<CountCandles>()->run(series, cols);
    EXPECT_EQ(out[0], 101.0);
    EXPECT_TRUE(std::isnan(out[1]));
    EXPECT_EQ(out[2], 203.0);

    std::vector<double> primary(3), up(3), down(3);
    double* multi[] = {primary.data(), up.data(), nullptr};
    make<TwoOutputs>()->run(series, multi);
    EXPECT_TRUE(std::isnan(primary[0]));
    EXPECT_EQ(primary[1], 1.0);
    EXPECT_EQ(up[2], 3.0);

    std::vector<double> refs{0.5, NaN, 1.0};
    series.reference = refs.data();
    std::vector<double> pair(3);
    double* pcols[] = {pair.data()};
    make<PairDiff>()->run(series, pcols);
    EXPECT_EQ(pair[0], 100.5);
    EXPECT_TRUE(std::isnan(pair[1]));
    EXPECT_EQ(pair[2], 202.0);

    // Columns a caller does not need may be null or missing altogether.
    double* none[] = {nullptr};
    make<CountCandles>()->run(series, none);
    make<CountCandles>()->run(series, {});
    make<TwoOutputs>()->run(series, {});
}
