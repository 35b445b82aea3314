#include "store/documents/input_documents.hpp"

#include "store/documents/convert.hpp"

namespace ostrel::store {

namespace {

using doc::Ctx;
using doc::Status;
using json::Value;

constexpr std::string_view side_names[] = {"buy", "sell"};

template <class R, double R::*M>
Status f64_field(const Ctx& c, const Value& v, R& r) {
    return doc::read_f64(c, v, r.*M);
}
template <class R, std::int64_t R::*M>
Status i64_field(const Ctx& c, const Value& v, R& r) {
    return doc::read_i64(c, v, r.*M);
}
template <class R, bool R::*M>
Status bool_field(const Ctx& c, const Value& v, R& r) {
    return doc::read_bool(c, v, r.*M);
}

constexpr auto candle_desc = doc::describe_struct<Candle, 6>(
    "struct CandleInput", {{{"ts", true, true, i64_field<Candle, &Candle::ts>},
                            {"open", true, true, f64_field<Candle, &Candle::open>},
                            {"high", true, true, f64_field<Candle, &Candle::high>},
                            {"low", true, true, f64_field<Candle, &Candle::low>},
                            {"close", true, true, f64_field<Candle, &Candle::close>},
                            {"volume", true, true, f64_field<Candle, &Candle::volume>}}});

constexpr auto trade_desc = doc::describe_struct<TradePrint, 4>(
    "struct TradePrint",
    {{{"price", true, true, f64_field<TradePrint, &TradePrint::price>},
      {"size", true, true, f64_field<TradePrint, &TradePrint::size>},
      {"side", true, true,
       [](const Ctx& c, const Value& v, TradePrint& r) -> Status {
           std::uint8_t i = 0;
           if (auto e = doc::read_enum(c, v, side_names, i)) return e;
           r.side = i == 0 ? Side::Buy : Side::Sell;
           return std::nullopt;
       }},
      {"timestamp", false, false, i64_field<TradePrint, &TradePrint::timestamp>}}});

constexpr auto level_desc = doc::describe_struct<Level, 2>(
    "struct Level",
    {{{"price", true, true, f64_field<Level, &Level::price>}, {"size", true, true, f64_field<Level, &Level::size>}}});

Status read_level(const Ctx& c, const Value& v, Level& out) { return doc::read_struct(c, v, level_desc, out); }

constexpr auto book_desc = doc::describe_struct<OrderBook, 2>(
    "struct OrderBook",
    {{{"bids", true, true, [](const Ctx& c, const Value& v, OrderBook& r) { return doc::read_seq(c, v, r.bids, read_level); }},
      {"asks", true, true,
       [](const Ctx& c, const Value& v, OrderBook& r) { return doc::read_seq(c, v, r.asks, read_level); }}}});

using Tick = DerivativesTick;
constexpr auto tick_desc = doc::describe_struct<Tick, 12>(
    "struct DerivativesTick", {{{"funding_rate", true, true, f64_field<Tick, &Tick::funding_rate>},
                                {"mark_price", true, true, f64_field<Tick, &Tick::mark_price>},
                                {"index_price", true, true, f64_field<Tick, &Tick::index_price>},
                                {"futures_price", true, true, f64_field<Tick, &Tick::futures_price>},
                                {"open_interest", true, true, f64_field<Tick, &Tick::open_interest>},
                                {"long_size", true, true, f64_field<Tick, &Tick::long_size>},
                                {"short_size", true, true, f64_field<Tick, &Tick::short_size>},
                                {"taker_buy_volume", true, true, f64_field<Tick, &Tick::taker_buy_volume>},
                                {"taker_sell_volume", true, true, f64_field<Tick, &Tick::taker_sell_volume>},
                                {"long_liquidation", true, true, f64_field<Tick, &Tick::long_liquidation>},
                                {"short_liquidation", true, true, f64_field<Tick, &Tick::short_liquidation>},
                                {"timestamp", false, false, i64_field<Tick, &Tick::timestamp>}}});

using Member = CrossSectionMember;
constexpr auto member_desc = doc::describe_struct<Member, 4>(
    "struct CrossSectionMember", {{{"change", true, true, f64_field<Member, &Member::change>},
                                   {"volume", true, true, f64_field<Member, &Member::volume>},
                                   {"new_high", false, false, bool_field<Member, &Member::new_high>},
                                   {"new_low", false, false, bool_field<Member, &Member::new_low>}}});

Status read_member(const Ctx& c, const Value& v, Member& out) { return doc::read_struct(c, v, member_desc, out); }

constexpr auto section_desc = doc::describe_struct<CrossSection, 2>(
    "struct CrossSection",
    {{{"members", true, true,
       [](const Ctx& c, const Value& v, CrossSection& r) { return doc::read_seq(c, v, r.members, read_member); }},
      {"timestamp", false, false, i64_field<CrossSection, &CrossSection::timestamp>}}});

template <class T, auto& Desc>
Status read_record(const Ctx& c, const Value& v, T& out) {
    return doc::read_struct(c, v, Desc, out);
}

Status read_trade_list(const Ctx& c, const Value& v, std::vector<TradePrint>& out) {
    return doc::read_seq(c, v, out, read_record<TradePrint, trade_desc>);
}

template <class T, class Read>
auto optional_of(Read read) {
    return [read](const Ctx& c, const Value& v, std::optional<T>& out) { return doc::read_optional(c, v, out, read); };
}

constexpr auto feeds_desc = doc::describe_struct<StepFeeds, 5>(
    "struct StepFeeds",
    {{{"reference", false, false,
       [](const Ctx& c, const Value& v, StepFeeds& r) { return doc::read_optional(c, v, r.reference, doc::read_f64); }},
      {"deriv", false, false,
       [](const Ctx& c, const Value& v, StepFeeds& r) {
           return doc::read_optional(c, v, r.deriv, read_record<Tick, tick_desc>);
       }},
      {"orderbook", false, false,
       [](const Ctx& c, const Value& v, StepFeeds& r) {
           return doc::read_optional(c, v, r.orderbook, read_record<OrderBook, book_desc>);
       }},
      {"trades", false, false,
       [](const Ctx& c, const Value& v, StepFeeds& r) { return doc::read_optional(c, v, r.trades, read_trade_list); }},
      {"cross_section", false, false,
       [](const Ctx& c, const Value& v, StepFeeds& r) {
           return doc::read_optional(c, v, r.cross_section, read_record<CrossSection, section_desc>);
       }}}});

template <class T, auto& Desc>
Status read_record_list(const Ctx& c, const Value& v, std::vector<T>& out) {
    return doc::read_seq(c, v, out, read_record<T, Desc>);
}

template <class T, class Read>
Status read_optional_list(const Ctx& c, const Value& v, std::optional<std::vector<T>>& out, Read read) {
    return doc::read_optional(c, v, out, read);
}

constexpr auto series_desc = doc::describe_struct<SymbolSeries, 6>(
    "struct SeriesDoc",
    {{{"candles", true, true,
       [](const Ctx& c, const Value& v, SymbolSeries& r) { return read_record_list<Candle, candle_desc>(c, v, r.candles); }},
      {"reference", false, true,
       [](const Ctx& c, const Value& v, SymbolSeries& r) {
           return read_optional_list(c, v, r.reference, read_record_list<Candle, candle_desc>);
       }},
      {"derivs", false, true,
       [](const Ctx& c, const Value& v, SymbolSeries& r) {
           return read_optional_list(c, v, r.derivs, read_record_list<Tick, tick_desc>);
       }},
      {"books", false, true,
       [](const Ctx& c, const Value& v, SymbolSeries& r) {
           return read_optional_list(c, v, r.books, read_record_list<OrderBook, book_desc>);
       }},
      {"trades", false, true,
       [](const Ctx& c, const Value& v, SymbolSeries& r) {
           return read_optional_list(c, v, r.trades, [](const Ctx& c2, const Value& v2, auto& out) {
               return doc::read_seq(c2, v2, out, read_trade_list);
           });
       }},
      {"sections", false, true,
       [](const Ctx& c, const Value& v, SymbolSeries& r) {
           return read_optional_list(c, v, r.sections, read_record_list<CrossSection, section_desc>);
       }}}});

template <class T>
std::expected<T, std::string> finish(Status status, T value) {
    if (status) return std::unexpected(std::move(status->message));
    return value;
}

}  // namespace

std::expected<Candle, std::string> read_candle(const Value& v) {
    Candle c;
    return finish(doc::read_struct(Ctx{}, v, candle_desc, c), c);
}

std::expected<std::vector<Candle>, std::string> read_candles(const Value& v) {
    std::vector<Candle> out;
    Status s = read_record_list<Candle, candle_desc>(Ctx{}, v, out);
    return finish(std::move(s), std::move(out));
}

std::expected<StepFeeds, std::string> read_step_feeds(const Value& v) {
    StepFeeds f;
    Status s = doc::read_struct(Ctx{}, v, feeds_desc, f);
    return finish(std::move(s), std::move(f));
}

std::expected<SymbolSeries, std::string> read_symbol_input(const Value& v) {
    SymbolSeries series;
    // First shape: a bare candle array; then the series document; the reasons are not reported.
    if (v.is_array() && !read_record_list<Candle, candle_desc>(Ctx{}, v, series.candles)) return series;
    series = SymbolSeries{};
    if (!doc::read_struct(Ctx{}, v, series_desc, series)) return series;
    return std::unexpected(std::string("data did not match any variant of untagged enum SymbolInputDoc"));
}

std::expected<SeriesMap, std::string> read_series_map(const Value& v) {
    if (!v.is_object()) return std::unexpected("invalid type: " + doc::describe(v) + ", expected a map");
    // A repeated symbol key: the last occurrence wins, before anything is converted.
    std::map<std::string_view, const Value*> latest;
    for (const json::Member m : v.members()) latest.insert_or_assign(m.key.as_string(), m.value);
    SeriesMap out;
    for (const auto& [symbol, value] : latest) {
        auto series = read_symbol_input(*value);
        if (!series) return std::unexpected(std::move(series.error()));
        out.emplace(std::string(symbol), std::move(*series));
    }
    return out;
}

}  // namespace ostrel::store
