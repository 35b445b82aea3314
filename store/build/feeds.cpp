#include "store/build/feeds.hpp"

#include <algorithm>
#include <string>

#include "indicators/core/registry.hpp"

namespace ostrel::store {

namespace {

constexpr std::string_view reference_names[] = {
    "Alpha",          "Beta",           "BetaNeutralSpread",  "Cointegration",       "DistanceSsd",
    "GrangerCausality", "HasbrouckInformationShare", "InformationRatio", "KalmanHedgeRatio", "KendallTau",
    "LeadLagCrossCorrelation", "OuHalfLife", "PairSpreadZScore", "PairwiseBeta", "PearsonCorrelation",
    "RelativeStrengthAB", "RollingCorrelation", "RollingCovariance", "SpearmanCorrelation",
    "SpreadAr1Coefficient", "SpreadBollingerBands", "SpreadHurst", "TreynorRatio", "VarianceRatio",
};

const char* need_text(FeedNeed n) {
    switch (n) {
        case FeedNeed::Reference: return "reference";
        case FeedNeed::Derivs: return "derivs";
        case FeedNeed::Books: return "books";
        case FeedNeed::Trades: return "trades";
        case FeedNeed::TradesAndBooks: return "trades and books";
        case FeedNeed::Sections: return "sections";
        case FeedNeed::None: break;
    }
    return "";
}

template <class T>
std::optional<StoreError> check_length(std::string_view symbol, const char* feed, const std::optional<T>& v,
                                       std::size_t candles) {
    if (!v || v->size() == candles) return std::nullopt;
    return StoreError::data(std::string(symbol) + ": " + feed + " feed length " + std::to_string(v->size()) +
                            " does not match " + std::to_string(candles) + " candles");
}

template <class T, class Validate>
std::optional<StoreError> check_records(std::string_view symbol, const std::optional<std::vector<T>>& feed,
                                        Validate validate) {
    if (!feed) return std::nullopt;
    for (const T& record : *feed) {
        if (auto ok = validate(record); !ok)
            return StoreError::data(std::string(symbol) + ": malformed feed entry: " + ok.error().display());
    }
    return std::nullopt;
}

bool satisfied(FeedNeed need, const SymbolSeries& s) {
    switch (need) {
        case FeedNeed::None: return true;
        case FeedNeed::Reference: return s.reference.has_value();
        case FeedNeed::Derivs: return s.derivs.has_value();
        case FeedNeed::Books: return s.books.has_value();
        case FeedNeed::Trades: return s.trades.has_value();
        case FeedNeed::TradesAndBooks: return s.trades.has_value() && s.books.has_value();
        case FeedNeed::Sections: return s.sections.has_value();
    }
    return true;
}

}  // namespace

FeedNeed feed_need(std::string_view name) {
    switch (input_class(name)) {
        case 0:
            return std::find(std::begin(reference_names), std::end(reference_names), name) != std::end(reference_names)
                       ? FeedNeed::Reference
                       : FeedNeed::None;
        case 1: return FeedNeed::Trades;
        case 2: return FeedNeed::Books;
        case 3: return FeedNeed::TradesAndBooks;
        case 4: return FeedNeed::Derivs;
        case 5: return FeedNeed::Sections;
        default: return FeedNeed::None;
    }
}

SeriesView AlignedFeeds::view() const {
    SeriesView v;
    v.candles = series->candles;
    v.closes = closes.data();
    if (reference) v.reference = reference->data();
    if (series->derivs) v.derivs = series->derivs->data();
    if (series->books) v.books = series->books->data();
    if (series->trades) v.trades = series->trades->data();
    if (series->sections) v.sections = series->sections->data();
    return v;
}

std::expected<AlignedFeeds, StoreError> assemble_feeds(std::string_view symbol, const SymbolSeries& s,
                                                       const std::vector<Feature>& features) {
    const std::size_t n = s.candles.size();
    if (auto e = check_length(symbol, "reference", s.reference, n)) return std::unexpected(std::move(*e));
    if (auto e = check_length(symbol, "derivs", s.derivs, n)) return std::unexpected(std::move(*e));
    if (auto e = check_length(symbol, "books", s.books, n)) return std::unexpected(std::move(*e));
    if (auto e = check_length(symbol, "trades", s.trades, n)) return std::unexpected(std::move(*e));
    if (auto e = check_length(symbol, "sections", s.sections, n)) return std::unexpected(std::move(*e));

    AlignedFeeds aligned;
    aligned.series = &s;
    aligned.closes.reserve(n);
    for (const Candle& c : s.candles) aligned.closes.push_back(c.close);
    if (s.reference) {
        aligned.reference.emplace();
        aligned.reference->reserve(n);
        for (const Candle& c : *s.reference) aligned.reference->push_back(c.close);
    }

    if (auto e = check_records(symbol, s.derivs, validate_derivatives_tick)) return std::unexpected(std::move(*e));
    if (auto e = check_records(symbol, s.books, validate_order_book)) return std::unexpected(std::move(*e));
    if (auto e = check_records(symbol, s.sections, validate_cross_section)) return std::unexpected(std::move(*e));
    if (s.trades) {
        for (const auto& step : *s.trades) {
            for (const TradePrint& t : step) {
                if (auto ok = validate_trade(t); !ok)
                    return std::unexpected(
                        StoreError::data(std::string(symbol) + ": malformed feed entry: " + ok.error().display()));
            }
        }
    }

    for (const Feature& f : features) {
        const std::string* name = nullptr;
        if (auto* ind = std::get_if<IndicatorFeature>(&f)) name = &ind->name;
        else if (auto* ms = std::get_if<MicrostructureFeature>(&f)) name = &ms->metric;
        if (!name) continue;
        const FeedNeed need = feed_need(*name);
        if (!satisfied(need, s)) return std::unexpected(StoreError::missing_feed(*name, need_text(need)));
    }
    return aligned;
}

}  // namespace ostrel::store
