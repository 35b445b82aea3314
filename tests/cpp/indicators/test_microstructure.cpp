#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "feed.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

TradePrint buy(double price, double size) { return TradePrint{price, size, Side::Buy, 0}; }
TradePrint sell(double price, double size) { return TradePrint{price, size, Side::Sell, 0}; }

OrderBook book(std::vector<Level> bids, std::vector<Level> asks) { return OrderBook{std::move(bids), std::move(asks)}; }
OrderBook top(double bid, double ask, double bid_size = 1.0, double ask_size = 1.0) {
    return book({{bid, bid_size}}, {{ask, ask_size}});
}

DerivativesTick tick(double funding, double mark, double index, double futures, double oi) {
    DerivativesTick t;
    t.funding_rate = funding;
    t.mark_price = mark;
    t.index_price = index;
    t.futures_price = futures;
    t.open_interest = oi;
    return t;
}

CrossSectionMember member(double change, double volume = 1.0, bool high = false, bool low = false) {
    CrossSectionMember m;
    m.change = change;
    m.volume = volume;
    m.new_high = high;
    m.new_low = low;
    return m;
}

// A section of `up` advancers and `down` decliners of unit volume.
CrossSection breadth(int up, int down) {
    CrossSection s;
    for (int i = 0; i < up; ++i) s.members.push_back(member(1.0));
    for (int i = 0; i < down; ++i) s.members.push_back(member(-1.0));
    return s;
}

// One step; absent feeds stay absent.
struct Step {
    double close = 100.0;
    std::vector<TradePrint> trades;
    std::optional<OrderBook> book;
    std::optional<DerivativesTick> tick;
    std::optional<CrossSection> section;
    std::optional<double> reference;
};

Step trades(std::vector<TradePrint> t) { return Step{100.0, std::move(t), {}, {}, {}, {}}; }
Step with_book(OrderBook b) { return Step{100.0, {}, std::move(b), {}, {}, {}}; }
Step with_tick(DerivativesTick t) { return Step{100.0, {}, {}, t, {}, {}}; }
Step with_section(CrossSection s) { return Step{100.0, {}, {}, {}, std::move(s), {}}; }

StepView view(const Step& s) {
    StepView v;
    v.candle = Candle{0, s.close, s.close, s.close, s.close, 1.0};
    v.trades = s.trades;
    v.book = s.book ? &*s.book : nullptr;
    v.derivs = s.tick ? &*s.tick : nullptr;
    v.section = s.section ? &*s.section : nullptr;
    v.reference = s.reference;
    return v;
}

std::vector<double> run(Indicator& ind, const std::vector<Step>& steps) {
    std::vector<double> out;
    for (const Step& s : steps) out.push_back(ind.update(view(s)).value_or(NaN));
    return out;
}

std::vector<double> run(const Case& c, const std::vector<Step>& steps) {
    auto ind = make(c.name, c.params);
    return ind ? run(*ind, steps) : std::vector<double>{};
}

void expect_values(const std::vector<double>& got, const std::vector<double>& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i << " got " << got[i];
        else EXPECT_NEAR(got[i], want[i], 1e-9 * std::max(1.0, std::fabs(want[i]))) << what << " step " << i;
    }
}

struct Example {
    Case c;
    std::vector<Step> steps;
    std::vector<double> want;
};

void check(const std::vector<Example>& examples) {
    for (const Example& e : examples) expect_values(run(e.c, e.steps), e.want, label(e.c));
}

}  // namespace

TEST(MicrostructureConstruction, Messages) {
    const std::string too_long = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    const std::string zero = "period must be greater than zero";
    struct Row {
        Case c;
        std::string detail;  // after "invalid parameters for indicator {name}: "; "ok" for success
    };
    const std::vector<Row> rows = {
        {{"RollMeasure", {2}}, "invalid period: Roll measure needs period >= 3"},
        {{"RollMeasure", {1e-20}}, zero},
        {{"RollMeasure", {0}}, "parameter #0 must be a positive integer, got 0"},
        {{"RollMeasure", {3}}, "ok"},
        {{"TradeSignAutocorrelation", {1}}, "invalid period: trade-sign autocorrelation needs period >= 2"},
        {{"TradeSignAutocorrelation", {1e-20}}, zero},
        {{"TradeSignAutocorrelation", {16777217}}, too_long},
        {{"KylesLambda", {1}}, "invalid period: kyle's lambda needs window >= 2"},
        {{"KylesLambda", {2}}, "ok"},
        {{"Vpin", {0, 10}}, "invalid parameter: VPIN bucket_volume must be finite and positive"},
        {{"Vpin", {-1, 10}}, "invalid parameter: VPIN bucket_volume must be finite and positive"},
        {{"Vpin", {10, 1e-20}}, zero},
        {{"Vpin", {Inf, 10}}, "parameter #0 must be finite"},
        {{"Vpin", {10, 16777217}}, too_long},
        {{"FundingImpliedApr", {0}}, "invalid parameter: intervals_per_year must be finite and positive"},
        {{"FundingImpliedApr", {-3}}, "invalid parameter: intervals_per_year must be finite and positive"},
        {{"FundingImpliedApr", {1095}}, "ok"},
        {{"OrderBookImbalanceTopN", {1e-20}}, "ok"},
        {{"OrderBookImbalanceTopN", {1e12}}, "ok"},
    };
    for (const auto& r : rows) {
        const std::string want =
            r.detail == "ok" ? "ok" : "invalid parameters for indicator " + std::string(r.c.name) + ": " + r.detail;
        EXPECT_EQ(create_error(r.c.name, r.c.params), want) << label(r.c);
    }
    for (const char* name : {"TradeImbalance", "Pin", "AmihudIlliquidity", "OrderFlowImbalance", "RealizedSpread",
                             "FundingRateMean", "FundingRateZScore", "OpenInterestMomentum", "OIPriceDivergence",
                             "HighLowIndex", "BreadthThrust"}) {
        const std::string prefix = "invalid parameters for indicator " + std::string(name) + ": ";
        EXPECT_EQ(create_error(name, {16777217}), prefix + too_long) << name;
        EXPECT_EQ(create_error(name, {1e-20}), prefix + zero) << name;
        EXPECT_EQ(create_error(name, {16777216}), "ok") << name;
    }
}

TEST(MicrostructureTrades, KnownValues) {
    check({
        {{"SignedVolume", {}}, {trades({buy(10, 3), sell(10, 2)}), trades({}), trades({buy(10, 1)})}, {-2, NaN, 1}},
        {{"CumulativeVolumeDelta", {}}, {trades({buy(10, 3), sell(10, 2)}), trades({}), trades({sell(10, 4)})},
         {1, NaN, -3}},
        {{"TradeImbalance", {3}},
         {trades({buy(10, 1)}), trades({buy(10, 1), sell(10, 2)}), trades({buy(10, 4)})},
         {NaN, 0, 3.0 / 7.0}},
        {{"Pin", {4}}, {trades({buy(10, 1), buy(10, 1), buy(10, 1), sell(10, 1)})}, {0.5}},
        {{"TradeSignAutocorrelation", {3}}, {trades({buy(10, 1), sell(10, 1)}), trades({buy(10, 1)}), trades({buy(10, 1)})},
         {NaN, -1, 0}},
        {{"RollMeasure", {3}}, {trades({buy(10, 1), buy(11, 1), buy(10, 1), buy(11, 1)})}, {2 * std::sqrt(8.0 / 9.0)}},
        {{"RollMeasure", {4}},
         {trades({buy(10, 1), buy(11, 1), buy(10, 1), buy(11, 1)}), trades({buy(10, 1)})},
         {NaN, 2}},
        {{"Vpin", {10, 2}}, {trades({buy(1, 10)}), trades({sell(1, 10)})}, {NaN, 1}},
        {{"Vpin", {10, 2}}, {trades({buy(1, 25)}), trades({sell(1, 5)})}, {1, 0.5}},
        {{"Vpin", {10, 2}}, {trades({buy(1, 5), sell(1, 5)}), trades({buy(1, 10)})}, {NaN, 0.5}},
        // ln(11/10)/(11·2), then ln(10/11)/(10·1) joins the window of two.
        {{"AmihudIlliquidity", {2}},
         {trades({buy(10, 1), buy(11, 2)}), trades({buy(10, 1)})},
         {NaN, (std::log(1.1) / 22.0 + std::log(1.1) / 10.0) / 2.0}},
    });
}

TEST(MicrostructureTrades, ZeroSizeTradesInAmihudChangeNothing) {
    const double first = (std::log(1.1) / 22.0 + std::log(1.1) / 10.0) / 2.0;
    check({
        {{"AmihudIlliquidity", {2}},
         {trades({buy(10, 0)}), trades({buy(10, 1), buy(11, 2)}), trades({sell(500, 0)}), trades({buy(10, 1)}),
          trades({sell(999, 0)}), trades({buy(11, 1)})},
         {NaN, NaN, NaN, first, first, (std::log(1.1) / 10.0 + std::log(1.1) / 11.0) / 2.0}},
    });
}

TEST(MicrostructureTrades, DegenerateWindowsReadExactValues) {
    // Zero-size trades after real volume: the sums are exactly empty, not residue.
    auto imbalance = make("TradeImbalance", {3});
    ASSERT_TRUE(imbalance);
    run(*imbalance, {trades({buy(10, 0.1), sell(10, 0.7), buy(10, 0.3)})});
    EXPECT_EQ(run(*imbalance, {trades({buy(10, 0), sell(10, 0), buy(10, 0)})}), std::vector<double>{0.0});

    // A trending run has positive autocovariance: no spread, exactly 0.
    std::vector<TradePrint> drift;
    for (int i = 0; i < 8; ++i) drift.push_back(buy(100.0 + 0.1 * i * i, 1));
    EXPECT_EQ(run(Case{"RollMeasure", {5}}, {trades(drift)}), std::vector<double>{0.0});
}

TEST(MicrostructureTrades, VpinBucketsCompleteDespiteRounding) {
    // Three buys of 0.1 fill a bucket of 0.3 although 0.1 + 0.1 + 0.1 rounds above it.
    expect_values(run(Case{"Vpin", {0.3, 1}}, {trades({buy(1, 0.1), buy(1, 0.1)}), trades({buy(1, 0.1)})}),
                  {NaN, 1.0}, "Vpin(0.3,1)");
    // A trade of a billion buckets completes at most n + 1 of them.
    expect_values(run(Case{"Vpin", {1, 3}}, {trades({sell(1, 0.5)}), trades({buy(1, 1e9)})}), {NaN, 1.0},
                  "Vpin(1,3) huge");
    expect_values(run(Case{"Vpin", {2, 2}}, {trades({sell(1, 1)}), trades({buy(1, 2e9 + 1)})}), {NaN, 1.0},
                  "Vpin(2,2) huge");
}

TEST(MicrostructureBook, KnownValues) {
    const OrderBook deep = book({{99, 1}, {98, 2}}, {{101, 1}, {103, 1}});
    check({
        {{"QuotedSpread", {}}, {with_book(top(99, 101))}, {200}},
        {{"Microprice", {}}, {with_book(top(99, 101, 1, 3)), with_book(top(99, 101, 0, 0))}, {99.5, 100}},
        {{"OrderBookImbalanceTop1", {}}, {with_book(top(99, 101, 1, 3)), with_book(top(99, 101, 0, 0))}, {-0.5, 0}},
        {{"OrderBookImbalanceTopN", {1}}, {with_book(deep)}, {0}},
        {{"OrderBookImbalanceTopN", {2}}, {with_book(deep)}, {0.2}},
        {{"OrderBookImbalanceTopN", {50}}, {with_book(deep)}, {0.2}},
        {{"OrderBookImbalanceTopN", {1e-20}}, {with_book(deep)}, {0}},
        {{"OrderBookImbalanceFull", {}}, {with_book(deep), with_book(book({{99, 0}}, {{101, 0}}))}, {0.2, 0}},
        // Bid side slope 2, ask side 0.5.
        {{"DepthSlope", {}}, {with_book(deep), with_book(book({{99, 1}, {98, 1}}, {{101, 1}}))}, {1.25, 0}},
        // Increments 3 and 2.
        {{"OrderFlowImbalance", {2}},
         {with_book(top(99, 101, 1, 2)), with_book(top(99, 101, 3, 1)), with_book(top(100, 102, 1, 5)), Step{}},
         {NaN, NaN, 5, NaN}},
    });
}

TEST(MicrostructureBook, EmptySidesGiveTheirFallbacks) {
    const OrderBook no_asks = book({{99, 2}}, {});
    check({
        {{"QuotedSpread", {}}, {with_book(no_asks)}, {0}},
        {{"Microprice", {}}, {with_book(no_asks)}, {0}},
        {{"OrderBookImbalanceTop1", {}}, {with_book(no_asks)}, {0}},
        {{"DepthSlope", {}}, {with_book(no_asks)}, {0}},
        {{"OrderBookImbalanceFull", {}}, {with_book(no_asks)}, {1}},
        {{"OrderBookImbalanceTopN", {3}}, {with_book(no_asks)}, {1}},
        {{"OrderFlowImbalance", {1}},
         {with_book(top(99, 101)), with_book(no_asks), with_book(top(99, 101, 2, 1))},
         {NaN, NaN, 1}},
    });
}

TEST(MicrostructureTradesAndBook, KnownValues) {
    auto at = [](std::vector<TradePrint> t, std::optional<OrderBook> b, double close = 100.0) {
        return Step{close, std::move(t), std::move(b), {}, {}, {}};
    };
    check({
        {{"EffectiveSpread", {}},
         {at({buy(101, 1)}, top(99, 101)), at({buy(90, 1), sell(101, 1)}, top(99, 101)), at({}, top(99, 101)),
          at({buy(110, 1)}, std::nullopt, 100.0), at({buy(110, 1)}, std::nullopt, 0.0)},
         {200, -200, NaN, 2000, NaN}},
        // The buy at 101 realises against the next mid of 102; a close of 0 skips its step.
        {{"RealizedSpread", {1}},
         {at({buy(101, 1)}, top(99, 101)), at({sell(101, 1)}, top(101, 103)), at({buy(99, 1)}, std::nullopt, 0.0),
          at({buy(99, 1)}, std::nullopt, 99.0)},
         {NaN, -200, NaN, -2.0 * 2.0 / 102.0 * 10000.0}},
        // Pairs (2, 1), (−1, −1) then (1, 0).
        {{"KylesLambda", {2}},
         {at({buy(100, 1)}, top(99, 101)), at({buy(100, 2)}, top(100, 102)), at({sell(100, 1)}, top(99, 101)),
          at({buy(100, 1)}, top(99, 101))},
         {NaN, NaN, 2.0 / 3.0, 0.5}},
        // Later trades of one step see no price change.
        {{"KylesLambda", {2}}, {at({buy(100, 1)}, top(99, 101)), at({buy(100, 2), sell(100, 2)}, top(100, 102))},
         {NaN, 0.25}},
        // Equal signed sizes: no variance, fallback 0.
        {{"KylesLambda", {2}}, {at({buy(100, 1), buy(100, 1), buy(100, 1)}, top(99, 101))}, {0}},
    });
}

TEST(MicrostructureDerivatives, KnownValues) {
    DerivativesTick t = tick(0.0001, 101, 100, 102, 50);
    t.long_size = 30;
    t.short_size = 20;
    t.taker_buy_volume = 6;
    t.taker_sell_volume = 4;
    DerivativesTick empty = tick(0.0002, 101, 100, 102, 0);
    check({
        {{"FundingRate", {}}, {with_tick(t)}, {0.0001}},
        {{"FundingImpliedApr", {1095}}, {with_tick(t)}, {0.1095}},
        {{"PerpetualPremiumIndex", {}}, {with_tick(t)}, {0.01}},
        {{"FundingBasis", {}}, {with_tick(t)}, {0.01}},
        {{"TermStructureBasis", {}}, {with_tick(t)}, {0.02}},
        {{"CalendarSpread", {}}, {with_tick(t)}, {1.0 / 101.0}},
        {{"LongShortRatio", {}}, {with_tick(t), with_tick(empty)}, {1.5, 0}},
        {{"TakerBuySellRatio", {}}, {with_tick(t), with_tick(empty)}, {1.5, 0}},
        {{"OiToVolumeRatio", {}}, {with_tick(t), with_tick(empty)}, {5, 0}},
        {{"OpenInterestDelta", {}}, {with_tick(t), Step{}, with_tick(empty)}, {NaN, NaN, -50}},
        {{"OpenInterestMomentum", {1}}, {with_tick(t), with_tick(empty), with_tick(t)}, {NaN, -100, 0}},
        {{"OIPriceDivergence", {1}},
         {with_tick(tick(0, 100, 100, 100, 50)), with_tick(tick(0, 110, 100, 100, 60)), with_tick(tick(0, 110, 100, 100, 0)),
          with_tick(tick(0, 99, 100, 100, 5))},
         {NaN, 0.2 - 0.1, -1, 0.1}},
        {{"OIWeighted", {}},
         {with_tick(tick(0, 100, 100, 100, 0)), with_tick(tick(0, 110, 100, 100, 1)), with_tick(tick(0, 104, 100, 100, 3))},
         {100, 110, (110.0 + 312.0) / 4.0}},
        {{"FundingRateMean", {2}},
         {with_tick(tick(0.1, 1, 1, 1, 0)), Step{}, with_tick(tick(0.3, 1, 1, 1, 0)), with_tick(tick(0.8, 1, 1, 1, 0))},
         {NaN, NaN, 0.2, 0.55}},
        // Rates 1, 3: mean 2, deviation 1.
        {{"FundingRateZScore", {2}},
         {with_tick(tick(1, 1, 1, 1, 0)), with_tick(tick(3, 1, 1, 1, 0)), with_tick(tick(3, 1, 1, 1, 0))},
         {NaN, 1, 0}},
    });
}

TEST(MicrostructureDerivatives, FlatFundingGivesZeroScore) {
    std::vector<Step> steps;
    for (int i = 0; i < 12; ++i) steps.push_back(with_tick(tick(i < 3 ? 0.3 * i : 0.1, 1, 1, 1, 0)));
    const auto z = run(Case{"FundingRateZScore", {5}}, steps);
    EXPECT_EQ(z.back(), 0.0);
    EXPECT_EQ(run(Case{"FundingRateMean", {5}}, steps).back(), 0.1);
}

TEST(MicrostructureDerivatives, LiquidationOutputsInOrder) {
    auto ind = make("LiquidationFeatures", {});
    ASSERT_TRUE(ind);
    DerivativesTick t = tick(0, 1, 1, 1, 0);
    t.long_liquidation = 3;
    t.short_liquidation = 1;
    EXPECT_EQ(ind->update(view(with_tick(t))), std::optional<double>(3.0));
    const NamedOutputs want = {{"long", 3}, {"short", 1}, {"net", 2}, {"total", 4}, {"imbalance", 0.5}};
    EXPECT_EQ(ind->extra_outputs(), want);
    t.long_liquidation = 0;
    t.short_liquidation = 0;
    ind->update(view(with_tick(t)));
    EXPECT_EQ(ind->extra_outputs().back().second, 0.0);
}

TEST(MicrostructureBreadth, KnownValues) {
    CrossSection s;
    s.members = {member(1, 10, true), member(2, 5), member(-1, 3, false, true), member(0, 100, true)};
    s.members[0].above_ma = true;
    s.members[1].bullish = true;
    s.members[2].bullish = true;
    CrossSection trin;
    trin.members = {member(1, 0.25), member(1, 0.25)};
    CrossSection flat;
    flat.members = {member(0, 7)};
    check({
        {{"TickIndex", {}}, {with_section(s), with_section(breadth(1, 4))}, {1, -3}},
        {{"AbsoluteBreadthIndex", {}}, {with_section(s), with_section(breadth(1, 4))}, {1, 3}},
        {{"AdvanceDecline", {}}, {with_section(s), Step{}, with_section(breadth(1, 4))}, {1, NaN, -2}},
        {{"AdVolumeLine", {}}, {with_section(s), with_section(breadth(1, 4))}, {12, 9}},
        {{"CumulativeVolumeIndex", {}}, {with_section(s), with_section(breadth(1, 4))}, {12, 9}},
        {{"AdvanceDeclineRatio", {}}, {with_section(s), with_section(trin)}, {2, 2}},
        {{"UpDownVolumeRatio", {}}, {with_section(s), with_section(trin)}, {5, 0.5}},
        {{"Trin", {}}, {with_section(s), with_section(trin)}, {0.4, 2}},
        {{"NewHighsNewLows", {}}, {with_section(s)}, {1}},
        {{"PercentAboveMa", {}}, {with_section(s), with_section(breadth(2, 2))}, {25, 0}},
        {{"BullishPercentIndex", {}}, {with_section(s), with_section(breadth(2, 2))}, {50, 0}},
        {{"HighLowIndex", {2}}, {with_section(s), with_section(flat), with_section(s)}, {NaN, 100.0 / 3.0, 100.0 / 3.0}},
        {{"BreadthThrust", {2}},
         {with_section(breadth(3, 1)), with_section(flat), with_section(breadth(1, 1))},
         {NaN, 0.375, 0.375 + (2.0 / 3.0) * (0.5 - 0.375)}},
        {{"McClellanOscillator", {}}, {with_section(breadth(3, 1)), with_section(breadth(1, 3)), with_section(flat)},
         {0, -50, -50 + 0.1 * -400 - 0.05 * -450}},
        {{"McClellanSummationIndex", {}}, {with_section(breadth(3, 1)), with_section(breadth(1, 3))}, {0, -50}},
    });
}

TEST(MicrostructureReference, EstimatedLeverageRatio) {
    auto ref = [](double close, std::optional<double> r) { return Step{close, {}, {}, {}, {}, r}; };
    check({
        {{"EstimatedLeverageRatio", {}},
         {ref(10, 4), ref(10, std::nullopt), ref(10, 0), ref(10, -2), ref(10, NaN), ref(NaN, 4)},
         {2.5, NaN, 0, 0, NaN, NaN}},
    });
}

namespace {

// A step with every feed: one buy of size 1 and a section of one advancer.
Step full_step(double x) {
    Step s{x, {buy(x, 1)}, top(x - 1, x + 1), tick(0.001 * x, x, x, x, x), breadth(1, 0), 1.0};
    return s;
}

}  // namespace

TEST(MicrostructureWarmup, FirstValueMatchesWarmupPeriod) {
    const std::vector<std::pair<Case, std::size_t>> rows = {
        {{"SignedVolume", {}}, 1},          {{"CumulativeVolumeDelta", {}}, 1}, {{"TradeImbalance", {4}}, 4},
        {{"Pin", {4}}, 4},                  {{"TradeSignAutocorrelation", {4}}, 4}, {{"RollMeasure", {4}}, 5},
        {{"AmihudIlliquidity", {4}}, 5},    {{"Vpin", {1, 4}}, 4},              {{"QuotedSpread", {}}, 1},
        {{"Microprice", {}}, 1},            {{"OrderBookImbalanceTop1", {}}, 1}, {{"OrderBookImbalanceTopN", {4}}, 1},
        {{"OrderBookImbalanceFull", {}}, 1}, {{"DepthSlope", {}}, 1},          {{"OrderFlowImbalance", {4}}, 5},
        {{"EffectiveSpread", {}}, 1},       {{"RealizedSpread", {4}}, 5},       {{"KylesLambda", {4}}, 5},
        {{"FundingRate", {}}, 1},           {{"FundingImpliedApr", {3}}, 1},    {{"FundingRateMean", {4}}, 4},
        {{"FundingRateZScore", {4}}, 4},    {{"PerpetualPremiumIndex", {}}, 1}, {{"FundingBasis", {}}, 1},
        {{"TermStructureBasis", {}}, 1},    {{"CalendarSpread", {}}, 1},        {{"LongShortRatio", {}}, 1},
        {{"TakerBuySellRatio", {}}, 1},     {{"OiToVolumeRatio", {}}, 1},       {{"OpenInterestDelta", {}}, 2},
        {{"OpenInterestMomentum", {4}}, 5}, {{"OIPriceDivergence", {4}}, 5},    {{"OIWeighted", {}}, 1},
        {{"LiquidationFeatures", {}}, 1},   {{"TickIndex", {}}, 1},             {{"AbsoluteBreadthIndex", {}}, 1},
        {{"AdvanceDecline", {}}, 1},        {{"AdVolumeLine", {}}, 1},          {{"CumulativeVolumeIndex", {}}, 1},
        {{"AdvanceDeclineRatio", {}}, 1},   {{"UpDownVolumeRatio", {}}, 1},     {{"Trin", {}}, 1},
        {{"NewHighsNewLows", {}}, 1},       {{"HighLowIndex", {4}}, 4},         {{"PercentAboveMa", {}}, 1},
        {{"BullishPercentIndex", {}}, 1},   {{"BreadthThrust", {4}}, 4},        {{"McClellanOscillator", {}}, 1},
        {{"McClellanSummationIndex", {}}, 1}, {{"EstimatedLeverageRatio", {}}, 1},
    };
    EXPECT_EQ(rows.size(), 50u);
    std::vector<Step> steps;
    for (int i = 0; i < 9; ++i) steps.push_back(full_step(100.0 + (i % 3)));
    for (const auto& [c, at] : rows) {
        auto ind = make(c.name, c.params);
        ASSERT_TRUE(ind) << label(c);
        const auto values = run(*ind, steps);
        EXPECT_EQ(first_value_at(values), at) << label(c);
        EXPECT_EQ(ind->warmup_period(), at) << label(c);
        for (std::size_t i = at; i < values.size(); ++i) EXPECT_FALSE(std::isnan(values[i])) << label(c) << " step " << i;
    }
}

TEST(MicrostructureSkipping, StepsWithoutTheirFeedChangeNothing) {
    std::vector<Step> dense, sparse, bad_reference;
    for (int i = 0; i < 10; ++i) {
        Step s = full_step(100.0 + (i * 7 % 5));
        s.trades.push_back(sell(99.5 + i % 2, 0.5 + i));
        dense.push_back(s);
        sparse.push_back(Step{s.close, {}, {}, {}, {}, {}});
        sparse.push_back(s);
        // Trades with an unusable reference, which the members combining trades with the book skip.
        sparse.push_back(Step{-1.0, {}, {}, {}, {}, {}});
        bad_reference.push_back(Step{s.close, {}, {}, {}, {}, {}});
        bad_reference.push_back(s);
        bad_reference.push_back(Step{-1.0, s.trades, {}, {}, {}, {}});
    }
    for (const char* name : {"TradeImbalance", "RollMeasure", "AmihudIlliquidity", "Vpin", "OrderFlowImbalance",
                             "RealizedSpread", "KylesLambda", "FundingRateZScore", "OpenInterestMomentum",
                             "BreadthThrust", "McClellanSummationIndex", "HighLowIndex"}) {
        const Case c{name, std::string(name) == "Vpin" ? std::vector<double>{1.5, 3} : std::vector<double>{3}};
        const auto want = run(c, dense);
        const bool combined = std::string(name) == "RealizedSpread" || std::string(name) == "KylesLambda";
        const auto got = run(c, combined ? bad_reference : sparse);
        ASSERT_EQ(got.size(), 3 * want.size());
        for (std::size_t i = 0; i < want.size(); ++i) {
            EXPECT_TRUE(std::isnan(got[3 * i])) << name;
            EXPECT_TRUE(std::isnan(got[3 * i + 2])) << name;
            if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[3 * i + 1])) << name << " step " << i;
            else EXPECT_EQ(got[3 * i + 1], want[i]) << name << " step " << i;
        }
    }
}
