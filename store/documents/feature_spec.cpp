#include "store/documents/feature_spec.hpp"

#include <bit>
#include <map>

#include "indicators/core/registry.hpp"
#include "store/documents/convert.hpp"

namespace ostrel::store {

namespace {

using doc::Ctx;
using doc::Status;
using json::Value;

constexpr std::string_view output_names[] = {"json", "csv", "arrow", "parquet"};
constexpr std::string_view scaling_names[] = {"z_score", "min_max"};
constexpr std::string_view warmup_names[] = {"nan", "skip"};
constexpr std::string_view price_names[] = {"open", "high", "low", "close", "volume"};
constexpr std::string_view feature_kinds[] = {"indicator", "price", "microstructure"};
constexpr std::string_view label_kinds[] = {"forward_return", "triple_barrier"};

template <class E, std::size_t N>
Status read_enum_as(const Ctx& ctx, const Value& v, const std::string_view (&names)[N], E& out) {
    std::uint8_t i = 0;
    if (auto e = doc::read_enum(ctx, v, names, i)) return e;
    out = static_cast<E>(i);
    return std::nullopt;
}

Status read_params(const Ctx& ctx, const Value& v, std::vector<double>& out) {
    return doc::read_seq(ctx, v, out, doc::read_f64);
}

Status read_optional_string(const Ctx& ctx, const Value& v, std::optional<std::string>& out) {
    return doc::read_optional(ctx, v, out, doc::read_string);
}

constexpr auto indicator_desc = doc::describe_struct<IndicatorFeature, 3>(
    "struct variant Feature::Indicator",
    {{{"name", true, true, [](const Ctx& c, const Value& v, IndicatorFeature& r) { return doc::read_string(c, v, r.name); }},
      {"params", false, false, [](const Ctx& c, const Value& v, IndicatorFeature& r) { return read_params(c, v, r.params); }},
      {"field", false, false,
       [](const Ctx& c, const Value& v, IndicatorFeature& r) { return read_optional_string(c, v, r.field); }}}});

constexpr auto price_desc = doc::describe_struct<PriceFeature, 1>(
    "struct variant Feature::Price",
    {{{"field", true, true, [](const Ctx& c, const Value& v, PriceFeature& r) { return read_enum_as(c, v, price_names, r.field); }}}});

constexpr auto micro_desc = doc::describe_struct<MicrostructureFeature, 2>(
    "struct variant Feature::Microstructure",
    {{{"metric", true, true,
       [](const Ctx& c, const Value& v, MicrostructureFeature& r) { return doc::read_string(c, v, r.metric); }},
      {"params", false, false,
       [](const Ctx& c, const Value& v, MicrostructureFeature& r) { return read_params(c, v, r.params); }}}});

constexpr auto forward_desc = doc::describe_struct<ForwardReturnLabel, 2>(
    "struct variant Label::ForwardReturn",
    {{{"horizon", true, true,
       [](const Ctx& c, const Value& v, ForwardReturnLabel& r) { return doc::read_usize(c, v, r.horizon); }},
      {"log", false, false, [](const Ctx& c, const Value& v, ForwardReturnLabel& r) { return doc::read_bool(c, v, r.log); }}}});

constexpr auto barrier_desc = doc::describe_struct<TripleBarrierLabel, 3>(
    "struct variant Label::TripleBarrier",
    {{{"horizon", true, true,
       [](const Ctx& c, const Value& v, TripleBarrierLabel& r) { return doc::read_usize(c, v, r.horizon); }},
      {"up", true, true, [](const Ctx& c, const Value& v, TripleBarrierLabel& r) { return doc::read_f64(c, v, r.up); }},
      {"down", true, true, [](const Ctx& c, const Value& v, TripleBarrierLabel& r) { return doc::read_f64(c, v, r.down); }}}});

// A variant struct read from the rest of a tagged document: an object (whose tag key is an
// unknown field to the variant) or the array after the tag.
template <class R, std::size_t N>
Status read_variant(const Ctx& ctx, const Value& v, std::span<const Value> rest, const doc::StructDesc<R, N>& d,
                    R& out) {
    if (v.is_object()) return doc::read_struct_object(ctx, v, d, out);
    for (std::size_t i = 0; i < N; ++i) {
        if (i < rest.size()) {
            if (auto e = d.fields[i].read(ctx, rest[i], out)) return e;
        } else if (d.fields[i].array_required) {
            return doc::fail_at(ctx, ctx.anchor,
                                "invalid length " + std::to_string(i) + ", expected " + doc::with_elements(d.expecting, N));
        }
    }
    if (rest.size() > N)
        return doc::fail_at(ctx, ctx.anchor,
                            "invalid length " + std::to_string(rest.size()) + ", expected " + std::to_string(N) +
                                (N == 1 ? " element in sequence" : " elements in sequence"));
    return std::nullopt;
}

// Internally tagged document: the tag under `kind`, or first in the array form. Returns the
// variant index through `tag` and the context and elements the variant is read with.
Status read_tag(const Ctx& outer, const Value& v, std::string_view expecting, std::span<const std::string_view> kinds,
                Ctx& inner, std::uint8_t& tag, std::span<const Value>& rest) {
    if (!v.is_object() && !v.is_array()) return doc::invalid_type(outer, v, expecting);
    // The whole document is read before its variant, so a syntax error inside it comes first.
    if (outer.text && v.incomplete()) return doc::incomplete();
    inner = outer;
    inner.buffered = true;
    inner.anchor = outer.buffered ? outer.anchor : v.end();
    auto read_kind = [&](const Value& k) -> Status {
        if (!k.is_string()) return doc::invalid_type(inner, k, "variant identifier");
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            if (kinds[i] == k.as_string()) {
                tag = static_cast<std::uint8_t>(i);
                return std::nullopt;
            }
        }
        std::string names;
        for (std::size_t i = 0; i < kinds.size(); ++i) names += (i ? ", `" : "`") + std::string(kinds[i]) + "`";
        return doc::fail_at(inner, inner.anchor,
                            "unknown variant `" + std::string(k.as_string()) + "`, expected one of " + names);
    };
    if (v.is_array()) {
        const auto elements = v.elements();
        if (elements.empty()) return doc::fail_at(inner, inner.anchor, "missing field `kind`");
        rest = elements.subspan(1);
        return read_kind(elements[0]);
    }
    const Value* kind = nullptr;
    for (const json::Member m : v.members()) {
        if (m.key.as_string() != "kind") continue;
        if (kind && outer.text) return doc::fail_at(inner, inner.anchor, "duplicate field `kind`");
        kind = m.value;
        if (outer.text)
            if (auto e = read_kind(*kind)) return e;
    }
    if (!kind) return doc::fail_at(inner, inner.anchor, "missing field `kind`");
    if (!outer.text)
        if (auto e = read_kind(*kind)) return e;
    return std::nullopt;
}

Status read_feature(const Ctx& ctx, const Value& v, Feature& out) {
    Ctx inner;
    std::uint8_t tag = 0;
    std::span<const Value> rest;
    if (auto e = read_tag(ctx, v, "internally tagged enum Feature", feature_kinds, inner, tag, rest)) return e;
    switch (tag) {
        case 0: {
            IndicatorFeature f;
            if (auto e = read_variant(inner, v, rest, indicator_desc, f)) return e;
            out = std::move(f);
            return std::nullopt;
        }
        case 1: {
            PriceFeature f;
            if (auto e = read_variant(inner, v, rest, price_desc, f)) return e;
            out = f;
            return std::nullopt;
        }
        default: {
            MicrostructureFeature f;
            if (auto e = read_variant(inner, v, rest, micro_desc, f)) return e;
            out = std::move(f);
            return std::nullopt;
        }
    }
}

Status read_label(const Ctx& ctx, const Value& v, Label& out) {
    Ctx inner;
    std::uint8_t tag = 0;
    std::span<const Value> rest;
    if (auto e = read_tag(ctx, v, "internally tagged enum Label", label_kinds, inner, tag, rest)) return e;
    if (tag == 0) {
        ForwardReturnLabel l;
        if (auto e = read_variant(inner, v, rest, forward_desc, l)) return e;
        out = l;
    } else {
        TripleBarrierLabel l;
        if (auto e = read_variant(inner, v, rest, barrier_desc, l)) return e;
        out = l;
    }
    return std::nullopt;
}

constexpr auto spec_desc = doc::describe_struct<FeatureSpec, 8>(
    "struct FeatureSpec",
    {{{"universe", true, true,
       [](const Ctx& c, const Value& v, FeatureSpec& r) { return doc::read_seq(c, v, r.universe, doc::read_string); }},
      {"timeframe", false, true,
       [](const Ctx& c, const Value& v, FeatureSpec& r) { return read_optional_string(c, v, r.timeframe); }},
      {"features", true, true,
       [](const Ctx& c, const Value& v, FeatureSpec& r) { return doc::read_seq(c, v, r.features, read_feature); }},
      {"labels", false, false,
       [](const Ctx& c, const Value& v, FeatureSpec& r) { return doc::read_seq(c, v, r.labels, read_label); }},
      {"window", false, false,
       [](const Ctx& c, const Value& v, FeatureSpec& r) { return doc::read_optional(c, v, r.window, doc::read_usize); }},
      {"output", false, false,
       [](const Ctx& c, const Value& v, FeatureSpec& r) { return read_enum_as(c, v, output_names, r.output); }},
      {"scaling", false, false,
       [](const Ctx& c, const Value& v, FeatureSpec& r) {
           return doc::read_optional(c, v, r.scaling, [](const Ctx& c2, const Value& v2, ScalingMode& m) {
               return read_enum_as(c2, v2, scaling_names, m);
           });
       }},
      {"warmup", false, false,
       [](const Ctx& c, const Value& v, FeatureSpec& r) { return read_enum_as(c, v, warmup_names, r.warmup); }}}});

}  // namespace

std::string_view name_of(OutputFormat f) { return output_names[static_cast<std::size_t>(f)]; }
std::string_view name_of(PriceField f) { return price_names[static_cast<std::size_t>(f)]; }

std::expected<FeatureSpec, StoreError> read_spec_text(std::string_view text) {
    json::ParseResult parsed = json::parse(text);
    const Ctx ctx{true, false, 0, text};
    const Value* root = parsed.document.root();
    FeatureSpec spec;
    if (root) {
        Status status = doc::read_struct(ctx, *root, spec_desc, spec);
        if (status && !status->incomplete) {
            const json::Position at = json::position_at(text, status->offset);
            return std::unexpected(StoreError::parse(json::at_position(status->message, at)));
        }
    }
    if (parsed.error) return std::unexpected(StoreError::parse(parsed.error->text()));
    return spec;
}

std::expected<FeatureSpec, StoreError> read_spec_value(const Value& value) {
    FeatureSpec spec;
    if (Status status = doc::read_struct(Ctx{}, value, spec_desc, spec))
        return std::unexpected(StoreError::parse(status->message));
    return spec;
}

std::optional<StoreError> check_spec(const FeatureSpec& spec) {
    if (spec.universe.empty()) return StoreError::bad_spec("universe is empty");
    if (spec.features.empty()) return StoreError::bad_spec("features is empty");
    for (const Label& l : spec.labels) {
        const std::uint64_t h = std::visit([](const auto& x) { return x.horizon; }, l);
        if (h == 0) return StoreError::bad_spec("label horizon must be > 0");
    }
    if (spec.window && *spec.window == 0) return StoreError::bad_spec("window must be > 0");
    // Features with the same name and parameters are constructed once.
    std::map<std::pair<std::string_view, std::vector<std::uint64_t>>, bool> seen;
    for (const Feature& f : spec.features) {
        const std::string* name = nullptr;
        const std::vector<double>* params = nullptr;
        if (auto* ind = std::get_if<IndicatorFeature>(&f)) {
            name = &ind->name;
            params = &ind->params;
        } else if (auto* ms = std::get_if<MicrostructureFeature>(&f)) {
            name = &ms->metric;
            params = &ms->params;
        } else {
            continue;
        }
        std::vector<std::uint64_t> bits;
        for (double p : *params) bits.push_back(std::bit_cast<std::uint64_t>(p));
        auto [it, fresh] = seen.try_emplace({*name, std::move(bits)}, true);
        if (!fresh) continue;
        auto made = create_indicator(*name, *params);
        if (!made) return StoreError::unknown_indicator(*name + ": " + made.error().display());
    }
    return std::nullopt;
}

}  // namespace ostrel::store
