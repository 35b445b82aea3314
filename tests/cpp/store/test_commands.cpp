#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/build/feeds.hpp"
#include "store/store.hpp"

using namespace ostrel::store;

namespace {

const char* MINIMAL = R"({"universe":["A"],"features":[{"kind":"price","field":"close"}]})";

std::string spec_error(std::string_view text) {
    auto s = Store::from_spec_text(text);
    return s ? std::string("ok") : s.error().text();
}

std::string run(Store& store, std::string_view cmd) {
    auto r = store.command(cmd);
    return r ? *r : "error: " + r.error().text();
}

Store make(std::string_view spec = MINIMAL) {
    auto s = Store::from_spec_text(spec);
    EXPECT_TRUE(s) << s.error().text();
    return std::move(*s);
}

}  // namespace

TEST(Commands, Envelope) {
    Store store = make();
    const std::pair<const char*, const char*> cases[] = {
        {R"({"cmd":"version"})", R"({"version":"0.2.0"})"},
        {"{\"cmd\":\"version\",\"x\":[1,{}]} \t\r\n", R"({"version":"0.2.0"})"},
        {R"({"cmd":"VERSION"})", "error: bad spec: unknown cmd: VERSION"},
        {R"({"cmd":"push","cmd":"version"})", R"({"version":"0.2.0"})"},
        {"[]", "error: bad spec: missing \"cmd\""},
        {"{}", "error: bad spec: missing \"cmd\""},
        {R"({"cmd":1})", "error: bad spec: missing \"cmd\""},
        {R"({"cmd":null})", "error: bad spec: missing \"cmd\""},
        {"x", "error: parse: expected value at line 1 column 1"},
        {R"({"cmd":"version"} x)", "error: parse: trailing characters at line 1 column 19"},
        {R"({"cmd":"push","candle":{}})", "error: bad spec: missing string field \"symbol\""},
        {R"({"cmd":"push","symbol":5,"candle":{}})", "error: bad spec: missing string field \"symbol\""},
        {R"({"cmd":"push","symbol":"A"})", "error: bad spec: missing field \"candle\""},
        {R"({"cmd":"push","symbol":"A","candle":{"ts":1,"open":1,"high":2,"low":0.5,"close":1.5}})",
         "error: parse: missing field `volume`"},
        {R"({"cmd":"push","symbol":"A","candle":{"ts":1.0,"open":1,"high":2,"low":0.5,"close":1.5,"volume":1}})",
         "error: parse: invalid type: floating point `1.0`, expected i64"},
        {R"({"cmd":"push","symbol":"A","candle":[9223372036854775808,1,2,0.5,1.5,1]})",
         "error: parse: invalid value: integer `9223372036854775808`, expected i64"},
        {R"({"cmd":"push","symbol":"A","candle":[1,1,2]})",
         "error: parse: invalid length 3, expected struct CandleInput with 6 elements"},
        {R"({"cmd":"push","symbol":"A","candle":[1,1,2,0.5,1.5,1,7]})",
         "error: parse: invalid length 7, expected fewer elements in array"},
        {R"({"cmd":"push","symbol":"A","candle":[1,1,2,0.5,1.5,1],"feeds":{"trades":[{"price":1,"size":1,"side":"BUY"}]}})",
         "error: parse: unknown variant `BUY`, expected one of `buy`, `sell`"},
        {R"({"cmd":"push_batch","symbol":"A","candles":5})", "error: parse: invalid type: integer `5`, expected a sequence"},
        {R"({"cmd":"build_batch"})", "error: bad spec: missing field \"data\""},
        {R"({"cmd":"build_batch","data":[]})", "error: parse: invalid type: sequence, expected a map"},
        {R"({"cmd":"build_batch","data":{"A":{}}})",
         "error: parse: data did not match any variant of untagged enum SymbolInputDoc"},
        {R"({"cmd":"build","format":"CSV"})", "error: output: unsupported format over FFI: CSV"},
        {R"({"cmd":"build","format":3})", R"({"columns":["price.close"],"index":[],"data":[],"rows":0})"},
        {R"({"cmd":"set_spec"})", "error: bad spec: missing field \"spec\""},
        {R"({"cmd":"set_spec","spec":{"universe":["A"],"features":[]}})", "error: bad spec: features is empty"},
        {R"({"cmd":"set_spec","spec":{"universe":["A"],"features":[{"kind":"price","field":"close"}],"output":{"csv":null,"json":null}}})",
         "error: parse: invalid value: map, expected map with a single key"},
        {R"({"cmd":"set_spec","spec":{"universe":["A"],"features":[{"kind":"price","field":"close"}],"output":{"csv":1}}})",
         "error: parse: invalid type: integer `1`, expected unit"},
        {R"({"cmd":"set_spec","spec":{"universe":["A"],"features":[{"kind":"price","field":"close"}],"warmup":null}})",
         "error: parse: invalid type: null, expected string or map"},
        {R"({"cmd":"set_spec","spec":{"universe":["A"],"universe":["B"],"features":[{"kind":"price","field":"close"}]}})",
         R"({"ok":true})"},
    };
    for (const auto& [cmd, expected] : cases) EXPECT_EQ(run(store, cmd), expected) << cmd;
}

TEST(Commands, NestingBudget) {
    Store store = make();
    const std::string ok = std::string(127, '[') + std::string(127, ']');
    EXPECT_EQ(run(store, ok), "error: bad spec: missing \"cmd\"");
    const std::string deep = std::string(128, '[') + std::string(128, ']');
    EXPECT_EQ(run(store, deep).rfind("error: parse: recursion limit exceeded at line 1 column ", 0), 0u);
}

TEST(Commands, SpecReadingFromText) {
    const std::pair<const char*, const char*> cases[] = {
        {MINIMAL, "ok"},
        {"", "parse: EOF while parsing a value at line 1 column 0"},
        {R"({"universe":[],"features":[]})", "bad spec: universe is empty"},
        {R"({"universe":["A"]})", "parse: missing field `features` at line 1 column 17"},
        {R"({"universe":["A"],"universe":["B"],"features":[]})", "parse: duplicate field `universe` at line 1 column 28"},
        {R"({"universe":["A"],"features":[{"kind":"price","field":"close"}],"warmup":null})",
         "parse: expected value at line 1 column 74"},
        {R"({"universe":["A"],"features":[{"kind":"price","field":"close"}],"output":"xml"})",
         "parse: unknown variant `xml`, expected one of `json`, `csv`, `arrow`, `parquet` at line 1 column 78"},
        {R"({"universe":["A"],"features":[{"kind":"price","field":"close"}],"labels":[{"kind":"forward_return","horizon":-1}]})",
         "parse: invalid value: integer `-1`, expected usize at line 1 column 112"},
        {R"({"universe":["A"],"features":[{"kind":"price","field":"close"}],"labels":[{"kind":"forward_return","horizon":1.5}]})",
         "parse: invalid type: floating point `1.5`, expected usize at line 1 column 113"},
        {R"({"universe":["A"],"features":[{"name":"Sma"}]})", "parse: missing field `kind` at line 1 column 44"},
        {R"({"universe":["A"],"features":[{"kind":"indicator","name":"NoSuchThing"}]})",
         "unknown indicator: NoSuchThing: unknown indicator type: NoSuchThing"},
        {R"({"universe":["A"],"features":[{"kind":"price","field":"close"}],"labels":[{"kind":"forward_return","horizon":0}]})",
         "bad spec: label horizon must be > 0"},
        {R"({"universe":["A"],"features":[{"kind":"price","field":"close"}],"window":0})", "bad spec: window must be > 0"},
        {R"({"universe":["A"],"features":[{"kind":"price","field":"close"}],"window":null,"scaling":null})", "ok"},
        {R"({"universe":["A"],"features":[{"kind":"price","field":"close"}],"output":{"parquet":null}})", "ok"},
        {R"([["A"],null,[["price","open"]]])", "ok"},
        {R"([["A"]])", "parse: invalid length 1, expected struct FeatureSpec with 8 elements at line 1 column 6"},
        // A type error early in the text wins over a syntax error later in it.
        {R"({"universe":5,"features":[})", "parse: invalid type: integer `5`, expected a sequence at line 1 column 13"},
        {R"({"universe":["A"],"features":[{"kind":"price","field":"close"})",
         "parse: EOF while parsing a list at line 1 column 62"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(spec_error(text), expected) << text;
}

TEST(Commands, PushAndBuild) {
    Store store = make(R"({"universe":["A"],"features":[{"kind":"indicator","name":"Sma","params":[2]},
        {"kind":"price","field":"close"}],"labels":[{"kind":"forward_return","horizon":1}]})");
    for (const char* symbol : {"B", "A", "a", "AB"}) {
        const std::string cmd = std::string(R"({"cmd":"push_batch","symbol":")") + symbol +
                                R"(","candles":[[1,1,2,0.5,1,1],[2,2,3,1.5,2,1],[3,3,4,2.5,4,1]]})";
        EXPECT_EQ(run(store, cmd), R"({"ok":true})");
    }
    auto starts = [](const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; };
    const std::string built = run(store, R"({"cmd":"build"})");
    EXPECT_PRED2(starts, built,
              R"J({"columns":["Sma(2)","price.close","fwd_return(1)"],"index":[{"symbol":"A","ts":1},{"symbol":"A","ts":2},)J"
              R"J({"symbol":"A","ts":3},{"symbol":"AB","ts":1},{"symbol":"AB","ts":2},{"symbol":"AB","ts":3},)J"
              R"J({"symbol":"B","ts":1},{"symbol":"B")J");
    EXPECT_NE(built.find(R"("data":[[null,1,1],[1.5,2,1],[3,4,null],)"), std::string::npos) << built;
    EXPECT_PRED2(starts, run(store, R"({"cmd":"labels"})"), R"J({"columns":["fwd_return(1)"],"index":[{"symbol":"A","ts":1},)J");
    EXPECT_PRED2(starts, run(store, R"({"cmd":"build","format":"csv"})"),
              "symbol,ts,Sma(2),price.close,fwd_return(1)\nA,1,,1,1\nA,2,1.5,2,1\nA,3,3,4,\nAB,1,");
    // A failed push changes nothing.
    EXPECT_EQ(run(store, R"({"cmd":"push","symbol":"A","candle":[4,1,1,1,1,1],"feeds":{"trades":5}})"),
              "error: parse: invalid type: integer `5`, expected a sequence");
    EXPECT_EQ(run(store, R"({"cmd":"build"})"), built);
    EXPECT_EQ(run(store, R"({"cmd":"reset"})"), R"({"ok":true})");
    EXPECT_EQ(run(store, R"({"cmd":"build"})"),
              R"J({"columns":["Sma(2)","price.close","fwd_return(1)"],"index":[],"data":[],"rows":0})J");
}

TEST(Commands, FeedChecks) {
    Store store = make(R"({"universe":["A"],"features":[{"kind":"price","field":"close"}]})");
    run(store, R"({"cmd":"push","symbol":"BTC","candle":[1,1,1,1,1,1],"feeds":{"trades":[]}})");
    run(store, R"({"cmd":"push","symbol":"BTC","candle":[2,1,1,1,1,1]})");
    EXPECT_EQ(run(store, R"({"cmd":"build"})"), "error: data: BTC: trades feed length 1 does not match 2 candles");
    EXPECT_EQ(run(store,
                  R"({"cmd":"build_batch","data":{"X":{"candles":[[1,1,1,1,1,1]],"books":[{"bids":[[100,1],[101,1]],"asks":[[102,1]]}]}}})"),
              "error: data: X: malformed feed entry: invalid order book: bids must be strictly descending in price");
}

// Feed needs are checked by name, whether or not the member is built yet.
TEST(Commands, FeedNeeds) {
    SymbolSeries with_trades;
    with_trades.candles = {ostrel::Candle{1, 1, 1, 1, 1, 1}};
    with_trades.trades.emplace(1);
    auto needs = [&](const char* name, const SymbolSeries& s) {
        auto r = assemble_feeds("BTC", s, {IndicatorFeature{name, {}, {}}});
        return r ? std::string("ok") : r.error().text();
    };
    EXPECT_EQ(needs("KylesLambda", with_trades),
              "KylesLambda needs the trades and books feed, which this build does not supply");
    EXPECT_EQ(needs("Vpin", with_trades), "ok");
    EXPECT_EQ(needs("Vpin", SymbolSeries{}), "Vpin needs the trades feed, which this build does not supply");
    EXPECT_EQ(needs("Beta", with_trades), "Beta needs the reference feed, which this build does not supply");
    EXPECT_EQ(needs("FundingRate", with_trades), "FundingRate needs the derivs feed, which this build does not supply");
    EXPECT_EQ(needs("Microprice", with_trades), "Microprice needs the books feed, which this build does not supply");
    EXPECT_EQ(needs("AdvanceDecline", with_trades),
              "AdvanceDecline needs the sections feed, which this build does not supply");
    EXPECT_EQ(needs("EstimatedLeverageRatio", with_trades), "ok");
    EXPECT_EQ(needs("Macd", with_trades), "ok");
    EXPECT_EQ(feed_need("NoSuchThing"), FeedNeed::None);
}
