#pragma once

// Conversion of parsed JSON values into typed documents, with one family of messages.
// Three readings share these rules:
//  - value: a document inside a parsed command; no positions, the last of repeated keys wins,
//    keys are visited in byte order (as a map would hold them);
//  - text: the constructor's spec text; errors carry the offset where reading stopped,
//    a repeated key is an error, keys are visited in text order;
//  - buffered: inside a tagged document (feature, label), which is read whole before its
//    variant is converted; in text reading its errors sit at the document's end.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/json/json_reader.hpp"

namespace ostrel::store::doc {

using json::Kind;
using json::Value;

struct Ctx {
    bool text = false;      // reading the spec's own text
    bool buffered = false;  // inside a tagged document
    std::size_t anchor = 0; // end offset of the enclosing tagged document (text reading)
    std::string_view source;  // the whole text (text reading)
};

struct ConvError {
    std::string message;
    std::size_t offset = 0;   // bytes consumed when reading stopped (text reading)
    bool incomplete = false;  // ran into the part of the text a syntax error cut off
};

// nullopt on success.
using Status = std::optional<ConvError>;

Status incomplete();
Status fail_at(const Ctx& ctx, std::size_t offset, std::string message);
// Offset after a scalar, or at the opening bracket of a container.
std::size_t offset_of(const Ctx& ctx, const Value& v);
std::size_t offset_after(const Ctx& ctx, const Value& v);
// The closing bracket of a container (where a missing field is noticed).
std::size_t offset_of_close(const Ctx& ctx, const Value& v);

std::string describe(const Value& v);
std::string float_text(double v);
Status invalid_type(const Ctx& ctx, const Value& v, std::string_view expected);

Status read_f64(const Ctx& ctx, const Value& v, double& out);
Status read_i64(const Ctx& ctx, const Value& v, std::int64_t& out);
Status read_usize(const Ctx& ctx, const Value& v, std::uint64_t& out);
Status read_bool(const Ctx& ctx, const Value& v, bool& out);
Status read_string(const Ctx& ctx, const Value& v, std::string& out);

// An enumeration written as "name" or {"name": null}; `out` receives the index in `names`.
Status read_enum(const Ctx& ctx, const Value& v, std::span<const std::string_view> names, std::uint8_t& out);

template <class T, class Read>
Status read_optional(const Ctx& ctx, const Value& v, std::optional<T>& out, Read read) {
    if (v.is_null()) {
        out.reset();
        return std::nullopt;
    }
    T value{};
    if (auto e = read(ctx, v, value)) return e;
    out = std::move(value);
    return std::nullopt;
}

template <class T, class Read>
Status read_seq(const Ctx& ctx, const Value& v, std::vector<T>& out, Read read) {
    if (!v.is_array()) return invalid_type(ctx, v, "a sequence");
    const auto elements = v.elements();
    out.clear();
    out.reserve(elements.size());
    for (const Value& e : elements) {
        T item{};
        if (auto err = read(ctx, e, item)) return err;
        out.push_back(std::move(item));
    }
    if (v.incomplete()) return incomplete();
    return std::nullopt;
}

template <class R>
struct FieldDesc {
    std::string_view name;
    bool required;        // in the object form
    bool array_required;  // in the array form (fields without a default)
    Status (*read)(const Ctx&, const Value&, R&);
};

template <class R, std::size_t N>
struct StructDesc {
    std::string_view expecting;  // "struct CandleInput"
    std::array<FieldDesc<R>, N> fields;
    // Field indices by name in byte order, the order a map visits them.
    std::array<std::uint8_t, N> by_name;
};

template <class R, std::size_t N>
constexpr StructDesc<R, N> describe_struct(std::string_view expecting, std::array<FieldDesc<R>, N> fields) {
    std::array<std::uint8_t, N> order{};
    for (std::size_t i = 0; i < N; ++i) order[i] = static_cast<std::uint8_t>(i);
    std::sort(order.begin(), order.end(),
              [&](std::uint8_t a, std::uint8_t b) { return fields[a].name < fields[b].name; });
    return {expecting, fields, order};
}

std::string with_elements(std::string_view expecting, std::size_t n);
Status surplus_elements(const Ctx& ctx, const Value& array, std::size_t expected);

template <class R, std::size_t N>
int field_index(const StructDesc<R, N>& d, std::string_view key) {
    for (std::size_t i = 0; i < N; ++i)
        if (d.fields[i].name == key) return static_cast<int>(i);
    return -1;
}

template <class R, std::size_t N>
Status read_struct_array(const Ctx& ctx, const Value& v, const StructDesc<R, N>& d, R& out) {
    const auto elements = v.elements();
    for (std::size_t i = 0; i < N; ++i) {
        if (i < elements.size()) {
            if (auto e = d.fields[i].read(ctx, elements[i], out)) return e;
        } else if (v.incomplete()) {
            return incomplete();
        } else if (d.fields[i].array_required) {
            return fail_at(ctx, offset_of_close(ctx, v),
                           "invalid length " + std::to_string(i) + ", expected " + with_elements(d.expecting, N));
        }
    }
    if (elements.size() > N) return surplus_elements(ctx, v, N);
    if (v.incomplete()) return incomplete();
    return std::nullopt;
}

template <class R, std::size_t N>
Status read_struct_object(const Ctx& ctx, const Value& v, const StructDesc<R, N>& d, R& out) {
    std::array<const Value*, N> found{};
    if (ctx.text) {
        for (const json::Member m : v.members()) {
            if (!m.value) return incomplete();
            const int f = field_index(d, m.key.as_string());
            if (f < 0) {
                if (m.value->incomplete()) return incomplete();
                continue;
            }
            if (found[f])
                return fail_at(ctx, ctx.buffered ? ctx.anchor : m.key.end(),
                               "duplicate field `" + std::string(d.fields[f].name) + "`");
            found[f] = m.value;
            if (auto e = d.fields[f].read(ctx, *m.value, out)) return e;
        }
        if (v.incomplete()) return incomplete();
    } else {
        for (const json::Member m : v.members()) {
            const int f = field_index(d, m.key.as_string());
            if (f >= 0) found[f] = m.value;  // the last occurrence wins
        }
        for (std::uint8_t f : d.by_name)
            if (found[f])
                if (auto e = d.fields[f].read(ctx, *found[f], out)) return e;
    }
    for (std::size_t f = 0; f < N; ++f)
        if (!found[f] && d.fields[f].required)
            return fail_at(ctx, offset_of_close(ctx, v), "missing field `" + std::string(d.fields[f].name) + "`");
    return std::nullopt;
}

template <class R, std::size_t N>
Status read_struct(const Ctx& ctx, const Value& v, const StructDesc<R, N>& d, R& out) {
    if (v.is_object()) return read_struct_object(ctx, v, d, out);
    if (v.is_array()) return read_struct_array(ctx, v, d, out);
    return invalid_type(ctx, v, d.expecting);
}

}  // namespace ostrel::store::doc
