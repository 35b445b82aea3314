#include "store/build/build.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <memory>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/registry.hpp"
#include "store/build/feeds.hpp"
#include "store/build/labels.hpp"
#include "store/build/number_text.hpp"
#include "store/build/scaling.hpp"

namespace ostrel::store {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// One distinct indicator of the spec: features share it only when name and parameter
// values are identical (key texts saturate and would merge different parameters).
struct Evaluator {
    std::string_view name;
    const std::vector<double>* params;
    std::vector<std::string_view> outputs;  // the catalogue's named outputs
    bool primary_used = false;
    std::vector<bool> output_used;
};

// Where a feature's value comes from, resolved once per build.
struct Source {
    enum class Kind : std::uint8_t { Price, Primary, Output, Missing } kind;
    std::size_t evaluator = 0;
    std::size_t output = 0;
    PriceField field = PriceField::Close;
};

bool same_params(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::bit_cast<std::uint64_t>(a[i]) != std::bit_cast<std::uint64_t>(b[i])) return false;
    return true;
}

std::vector<std::string_view> output_names(std::string_view name) {
    std::vector<std::string_view> out;
    const CatalogueEntry* e = find_entry(resolve_alias(name));
    if (!e || e->outputs.empty()) return out;
    std::string_view rest = e->outputs;
    while (true) {
        const std::size_t comma = rest.find(',');
        out.push_back(rest.substr(0, comma));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return out;
}

double price_of(const Candle& c, PriceField f) {
    switch (f) {
        case PriceField::Open: return c.open;
        case PriceField::High: return c.high;
        case PriceField::Low: return c.low;
        case PriceField::Close: return c.close;
        case PriceField::Volume: return c.volume;
    }
    return NaN;
}

void resolve(const std::vector<Feature>& features, std::vector<Evaluator>& evaluators, std::vector<Source>& sources,
             std::vector<std::string>& columns) {
    for (const Feature& f : features) {
        if (auto* p = std::get_if<PriceFeature>(&f)) {
            sources.push_back({Source::Kind::Price, 0, 0, p->field});
            columns.push_back("price." + std::string(name_of(p->field)));
            continue;
        }
        const auto* ind = std::get_if<IndicatorFeature>(&f);
        const auto* ms = std::get_if<MicrostructureFeature>(&f);
        const std::string& name = ind ? ind->name : ms->metric;
        const std::vector<double>& params = ind ? ind->params : ms->params;
        std::size_t k = 0;
        while (k < evaluators.size() && !(evaluators[k].name == name && same_params(*evaluators[k].params, params)))
            ++k;
        if (k == evaluators.size()) {
            Evaluator e{name, &params, output_names(name), false, {}};
            e.output_used.assign(e.outputs.size(), false);
            evaluators.push_back(std::move(e));
        }
        Evaluator& e = evaluators[k];
        const std::string key = evaluation_key(name, params);
        if (ms) {
            columns.push_back("ms." + key);
        } else if (ind->field) {
            columns.push_back(key + "." + *ind->field);
        } else {
            columns.push_back(key);
        }
        if (ind && ind->field) {
            Source s{Source::Kind::Missing, k, 0, PriceField::Close};
            for (std::size_t j = 0; j < e.outputs.size(); ++j) {
                if (e.outputs[j] == *ind->field) {
                    s = {Source::Kind::Output, k, j, PriceField::Close};
                    e.output_used[j] = true;
                    break;
                }
            }
            sources.push_back(s);
        } else {
            e.primary_used = true;
            sources.push_back({Source::Kind::Primary, k, 0, PriceField::Close});
        }
    }
}

// Columns of one symbol's evaluation: per evaluator its primary column and one column per
// named output that a feature reads.
struct SymbolColumns {
    std::vector<std::vector<double>> primary;
    std::vector<std::vector<std::vector<double>>> outputs;
};

SymbolColumns evaluate(const std::vector<Evaluator>& evaluators, const SeriesView& view) {
    const std::size_t n = view.candles.size();
    SymbolColumns cols;
    cols.primary.resize(evaluators.size());
    cols.outputs.resize(evaluators.size());
    std::vector<double*> targets;
    for (std::size_t k = 0; k < evaluators.size(); ++k) {
        const Evaluator& e = evaluators[k];
        const bool needed = e.primary_used || std::find(e.output_used.begin(), e.output_used.end(), true) !=
                                                  e.output_used.end();
        if (!needed) continue;
        // The construction check already accepted these parameters.
        auto made = create_indicator(e.name, *e.params);
        if (!made) continue;
        Indicator& ind = **made;
        targets.assign(1 + ind.output_count(), nullptr);
        if (e.primary_used) {
            cols.primary[k].resize(n);
            targets[0] = cols.primary[k].data();
        }
        cols.outputs[k].resize(e.outputs.size());
        for (std::size_t j = 0; j < e.outputs.size() && j < ind.output_count(); ++j) {
            if (!e.output_used[j]) continue;
            cols.outputs[k][j].resize(n);
            targets[1 + j] = cols.outputs[k][j].data();
        }
        ind.run(view, targets);
    }
    return cols;
}

}  // namespace

std::string evaluation_key(std::string_view name, const std::vector<double>& params) {
    std::string key(name);
    key += '(';
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (i) key += ',';
        key += key_number_text(params[i]);
    }
    key += ')';
    return key;
}

std::expected<FeatureFrame, StoreError> build(const FeatureSpec& spec, const SeriesMap& series) {
    if (auto e = check_spec(spec)) return std::unexpected(std::move(*e));

    std::vector<AlignedFeeds> aligned;
    aligned.reserve(series.size());
    for (const auto& [symbol, s] : series) {
        auto a = assemble_feeds(symbol, s, spec.features);
        if (!a) return std::unexpected(std::move(a.error()));
        aligned.push_back(std::move(*a));
    }

    FeatureFrame frame;
    std::vector<Evaluator> evaluators;
    std::vector<Source> sources;
    resolve(spec.features, evaluators, sources, frame.columns);
    for (const Label& l : spec.labels) frame.columns.push_back(label_column_name(l));

    const std::size_t F = spec.features.size();
    const std::size_t L = spec.labels.size();
    const std::size_t width = F + L;
    const bool skip = spec.warmup == WarmupPolicy::Skip;

    std::size_t a = 0;
    std::vector<std::size_t> kept;
    for (const auto& [symbol, s] : series) {
        const SeriesView view = aligned[a++].view();
        const std::size_t n = view.candles.size();
        const SymbolColumns cols = evaluate(evaluators, view);
        auto feature_value = [&](std::size_t f, std::size_t i) {
            const Source& src = sources[f];
            switch (src.kind) {
                case Source::Kind::Price: return price_of(view.candles[i], src.field);
                case Source::Kind::Primary: return cols.primary[src.evaluator][i];
                case Source::Kind::Output: return cols.outputs[src.evaluator][src.output][i];
                case Source::Kind::Missing: break;
            }
            return NaN;
        };

        kept.clear();
        for (std::size_t i = 0; i < n; ++i) {
            bool complete = true;
            if (skip)
                for (std::size_t f = 0; f < F && complete; ++f) complete = !std::isnan(feature_value(f, i));
            if (complete) kept.push_back(i);
        }
        std::size_t from = 0;
        if (spec.window && kept.size() > *spec.window) from = kept.size() - static_cast<std::size_t>(*spec.window);

        std::vector<std::vector<double>> labels(L);
        for (std::size_t l = 0; l < L; ++l) {
            labels[l].resize(n);
            label_values(spec.labels[l], view.candles, labels[l]);
        }

        frame.data.reserve(frame.data.size() + (kept.size() - from) * width);
        for (std::size_t r = from; r < kept.size(); ++r) {
            const std::size_t i = kept[r];
            for (std::size_t f = 0; f < F; ++f) frame.data.push_back(feature_value(f, i));
            for (std::size_t l = 0; l < L; ++l) frame.data.push_back(labels[l][i]);
            frame.index.push_back({symbol, view.candles[i].ts});
        }
    }
    frame.rows = frame.index.size();
    if (spec.scaling) scale_frame(frame.data, width, F, *spec.scaling);
    return frame;
}

void drop_leading_columns(FeatureFrame& frame, std::size_t first) {
    const std::size_t width = frame.columns.size();
    first = std::min(first, width);
    std::size_t out = 0;
    for (std::size_t r = 0; r < frame.rows; ++r)
        for (std::size_t c = first; c < width; ++c) frame.data[out++] = frame.data[r * width + c];
    frame.data.resize(out);
    frame.columns.erase(frame.columns.begin(), frame.columns.begin() + static_cast<std::ptrdiff_t>(first));
}

}  // namespace ostrel::store
