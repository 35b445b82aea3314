#include "store/documents/convert.hpp"

#include <cstdio>

#include "indicators/core/number_text.hpp"

namespace ostrel::store::doc {

Status incomplete() { return ConvError{{}, 0, true}; }

Status fail_at(const Ctx& ctx, std::size_t offset, std::string message) {
    return ConvError{std::move(message), ctx.text ? offset : 0, false};
}

std::size_t offset_after(const Ctx& ctx, const Value& v) { return ctx.buffered ? ctx.anchor : v.end(); }

std::size_t offset_of(const Ctx& ctx, const Value& v) {
    if (ctx.buffered) return ctx.anchor;
    return v.is_array() || v.is_object() ? v.begin() : v.end();
}

std::size_t offset_of_close(const Ctx& ctx, const Value& v) {
    return ctx.buffered ? ctx.anchor : v.end() - 1;
}

std::string float_text(double v) {
    std::string t = shortest_positional(v);
    if (t.find('.') == std::string::npos) t += ".0";
    return t;
}

namespace {

// Quoted with the escapes of a debug rendering.
std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\0': out += "\\0"; break;
            default:
                if (c < 0x20 || c == 0x7f) {
                    char buf[16];
                    std::snprintf(buf, sizeof buf, "\\u{%x}", c);
                    out += buf;
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    out += '"';
    return out;
}

}  // namespace

std::string describe(const Value& v) {
    switch (v.kind()) {
        case Kind::null: return "null";
        case Kind::boolean: return v.as_bool() ? "boolean `true`" : "boolean `false`";
        case Kind::u64: return "integer `" + std::to_string(v.as_u64()) + "`";
        case Kind::i64: return "integer `" + std::to_string(v.as_i64()) + "`";
        case Kind::f64: return "floating point `" + float_text(v.as_f64()) + "`";
        case Kind::string: return "string " + quoted(v.as_string());
        case Kind::array: return "sequence";
        case Kind::object: return "map";
    }
    return {};
}

Status invalid_type(const Ctx& ctx, const Value& v, std::string_view expected) {
    return fail_at(ctx, offset_of(ctx, v), "invalid type: " + describe(v) + ", expected " + std::string(expected));
}

Status read_f64(const Ctx& ctx, const Value& v, double& out) {
    switch (v.kind()) {
        case Kind::u64: out = static_cast<double>(v.as_u64()); return std::nullopt;
        case Kind::i64: out = static_cast<double>(v.as_i64()); return std::nullopt;
        case Kind::f64: out = v.as_f64(); return std::nullopt;
        default: return invalid_type(ctx, v, "f64");
    }
}

Status read_i64(const Ctx& ctx, const Value& v, std::int64_t& out) {
    if (v.kind() == Kind::i64) {
        out = v.as_i64();
        return std::nullopt;
    }
    if (v.kind() == Kind::u64) {
        if (v.as_u64() > static_cast<std::uint64_t>(INT64_MAX))
            return fail_at(ctx, offset_after(ctx, v), "invalid value: " + describe(v) + ", expected i64");
        out = static_cast<std::int64_t>(v.as_u64());
        return std::nullopt;
    }
    return invalid_type(ctx, v, "i64");
}

Status read_usize(const Ctx& ctx, const Value& v, std::uint64_t& out) {
    if (v.kind() == Kind::u64) {
        out = v.as_u64();
        return std::nullopt;
    }
    if (v.kind() == Kind::i64) {
        if (v.as_i64() < 0)
            return fail_at(ctx, offset_after(ctx, v), "invalid value: " + describe(v) + ", expected usize");
        out = static_cast<std::uint64_t>(v.as_i64());
        return std::nullopt;
    }
    return invalid_type(ctx, v, "usize");
}

Status read_bool(const Ctx& ctx, const Value& v, bool& out) {
    if (!v.is_bool()) return invalid_type(ctx, v, "a boolean");
    out = v.as_bool();
    return std::nullopt;
}

Status read_string(const Ctx& ctx, const Value& v, std::string& out) {
    if (!v.is_string()) return invalid_type(ctx, v, "a string");
    out.assign(v.as_string());
    return std::nullopt;
}

namespace {

std::string one_of(std::span<const std::string_view> names) {
    std::string out = "one of ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i) out += ", ";
        out += "`" + std::string(names[i]) + "`";
    }
    return out;
}

Status variant(const Ctx& ctx, const Value& name, std::size_t offset, std::span<const std::string_view> names,
               std::uint8_t& out) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name.as_string()) {
            out = static_cast<std::uint8_t>(i);
            return std::nullopt;
        }
    }
    return fail_at(ctx, offset, "unknown variant `" + std::string(name.as_string()) + "`, expected " + one_of(names));
}

std::size_t skip_whitespace(std::string_view text, std::size_t i) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    return i;
}

// The spec's own text accepts only a string or a one-key object where an enumeration stands.
Status read_enum_text(const Ctx& ctx, const Value& v, std::span<const std::string_view> names, std::uint8_t& out) {
    if (v.is_string()) return variant(ctx, v, v.end(), names, out);
    if (!v.is_object()) return fail_at(ctx, v.begin() + 1, "expected value");
    if (v.size() == 0) {
        if (v.incomplete()) return incomplete();
        return fail_at(ctx, v.end(), "expected value");
    }
    const json::Member first = v.member(0);
    if (auto e = variant(ctx, first.key, first.key.end(), names, out)) return e;
    if (!first.value || first.value->incomplete()) return incomplete();
    if (!first.value->is_null()) return invalid_type(ctx, *first.value, "unit");
    if (v.size() > 1) return fail_at(ctx, skip_whitespace(ctx.source, first.value->end()), "expected value");
    if (v.incomplete()) return incomplete();
    return std::nullopt;
}

}  // namespace

Status read_enum(const Ctx& ctx, const Value& v, std::span<const std::string_view> names, std::uint8_t& out) {
    if (ctx.text && !ctx.buffered) return read_enum_text(ctx, v, names, out);
    if (v.is_string()) return variant(ctx, v, offset_after(ctx, v), names, out);
    if (!v.is_object()) return invalid_type(ctx, v, "string or map");
    if (v.size() != 1) return fail_at(ctx, offset_of(ctx, v), "invalid value: map, expected map with a single key");
    const json::Member m = v.member(0);
    if (auto e = variant(ctx, m.key, offset_after(ctx, v), names, out)) return e;
    if (!m.value->is_null()) return invalid_type(ctx, *m.value, "unit");
    return std::nullopt;
}

std::string with_elements(std::string_view expecting, std::size_t n) {
    return std::string(expecting) + " with " + std::to_string(n) + (n == 1 ? " element" : " elements");
}

Status surplus_elements(const Ctx& ctx, const Value& array, std::size_t expected) {
    const std::size_t n = array.elements().size();
    if (ctx.text && !ctx.buffered) return fail_at(ctx, array.elements()[expected].begin() + 1, "trailing characters");
    if (ctx.buffered)
        return fail_at(ctx, ctx.anchor,
                       "invalid length " + std::to_string(n) + ", expected " + std::to_string(expected) +
                           (expected == 1 ? " element in sequence" : " elements in sequence"));
    return fail_at(ctx, 0, "invalid length " + std::to_string(n) + ", expected fewer elements in array");
}

}  // namespace ostrel::store::doc
