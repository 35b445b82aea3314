#include "store/store.hpp"

namespace ostrel::store {

std::expected<Store, StoreError> Store::from_spec_text(std::string_view spec_json) {
    auto spec = read_spec_text(spec_json);
    if (!spec) return std::unexpected(std::move(spec.error()));
    if (auto e = check_spec(*spec)) return std::unexpected(std::move(*e));
    return Store(std::move(*spec));
}

namespace {

template <class T>
void append(std::optional<std::vector<T>>& feed, const T& value) {
    if (!feed) feed.emplace();
    feed->push_back(value);
}

}  // namespace

void Store::push(const std::string& symbol, const Candle& candle, const StepFeeds* feeds) {
    SymbolSeries& s = series_[symbol];
    s.candles.push_back(candle);
    if (!feeds) return;
    if (feeds->reference) {
        const double v = *feeds->reference;
        append(s.reference, Candle{candle.ts, v, v, v, v, 0.0});
    }
    if (feeds->deriv) append(s.derivs, *feeds->deriv);
    if (feeds->orderbook) append(s.books, *feeds->orderbook);
    if (feeds->trades) append(s.trades, *feeds->trades);
    if (feeds->cross_section) append(s.sections, *feeds->cross_section);
}

void Store::push_candles(const std::string& symbol, const std::vector<Candle>& candles) {
    SymbolSeries& s = series_[symbol];
    s.candles.insert(s.candles.end(), candles.begin(), candles.end());
}

}  // namespace ostrel::store
