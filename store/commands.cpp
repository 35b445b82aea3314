// The command table and its handlers.
#include <optional>
#include <string>

#include "store/build/build.hpp"
#include "store/build/frame_writer.hpp"
#include "store/store.hpp"

namespace ostrel::store {

namespace {

using json::Value;
using Response = std::expected<std::string, StoreError>;

constexpr std::string_view OK = "{\"ok\":true}";

// The last occurrence of a key wins.
const Value* field(const Value& object, std::string_view key) {
    const Value* found = nullptr;
    for (const json::Member m : object.members())
        if (m.key.as_string() == key) found = m.value;
    return found;
}

std::expected<const Value*, StoreError> required(const Value& cmd, std::string_view key) {
    const Value* v = field(cmd, key);
    if (!v) return std::unexpected(StoreError::bad_spec("missing field \"" + std::string(key) + "\""));
    return v;
}

std::expected<std::string, StoreError> read_symbol(const Value& cmd) {
    const Value* v = field(cmd, "symbol");
    if (!v || !v->is_string()) return std::unexpected(StoreError::bad_spec("missing string field \"symbol\""));
    return std::string(v->as_string());
}

std::expected<OutputFormat, StoreError> resolve_format(const Value& cmd, const FeatureSpec& spec) {
    OutputFormat format = spec.output;
    if (const Value* v = field(cmd, "format"); v && v->is_string()) {
        if (v->as_string() == "json") format = OutputFormat::Json;
        else if (v->as_string() == "csv") format = OutputFormat::Csv;
        else return std::unexpected(StoreError::output("unsupported format over FFI: " + std::string(v->as_string())));
    }
    if (format == OutputFormat::Arrow || format == OutputFormat::Parquet)
        return std::unexpected(StoreError::output("use CLI/native API for parquet"));
    return format;
}

Response build_and_write(const FeatureSpec& spec, const SeriesMap& series, OutputFormat format) {
    auto frame = build(spec, series);
    if (!frame) return std::unexpected(std::move(frame.error()));
    return format == OutputFormat::Csv ? write_csv(*frame) : write_json(*frame);
}

Response cmd_version(Store&, const Value&) { return "{\"version\":\"" + std::string(VERSION) + "\"}"; }

Response cmd_push(Store& store, const Value& cmd) {
    auto symbol = read_symbol(cmd);
    if (!symbol) return std::unexpected(std::move(symbol.error()));
    auto candle_field = required(cmd, "candle");
    if (!candle_field) return std::unexpected(std::move(candle_field.error()));
    auto candle = read_candle(**candle_field);
    if (!candle) return std::unexpected(StoreError::parse(std::move(candle.error())));
    std::optional<StepFeeds> feeds;
    if (const Value* f = field(cmd, "feeds"); f && !f->is_null()) {
        auto read = read_step_feeds(*f);
        if (!read) return std::unexpected(StoreError::parse(std::move(read.error())));
        feeds = std::move(*read);
    }
    store.push(*symbol, *candle, feeds ? &*feeds : nullptr);
    return std::string(OK);
}

Response cmd_push_batch(Store& store, const Value& cmd) {
    auto symbol = read_symbol(cmd);
    if (!symbol) return std::unexpected(std::move(symbol.error()));
    auto candles_field = required(cmd, "candles");
    if (!candles_field) return std::unexpected(std::move(candles_field.error()));
    auto candles = read_candles(**candles_field);
    if (!candles) return std::unexpected(StoreError::parse(std::move(candles.error())));
    store.push_candles(*symbol, *candles);
    return std::string(OK);
}

Response cmd_build(Store& store, const Value& cmd) {
    auto format = resolve_format(cmd, store.spec());
    if (!format) return std::unexpected(std::move(format.error()));
    return build_and_write(store.spec(), store.series(), *format);
}

Response cmd_build_batch(Store& store, const Value& cmd) {
    auto data_field = required(cmd, "data");
    if (!data_field) return std::unexpected(std::move(data_field.error()));
    auto data = read_series_map(**data_field);
    if (!data) return std::unexpected(StoreError::parse(std::move(data.error())));
    auto format = resolve_format(cmd, store.spec());
    if (!format) return std::unexpected(std::move(format.error()));
    return build_and_write(store.spec(), *data, *format);
}

Response cmd_labels(Store& store, const Value&) {
    auto frame = build(store.spec(), store.series());
    if (!frame) return std::unexpected(std::move(frame.error()));
    drop_leading_columns(*frame, store.spec().features.size());
    return write_json(*frame);
}

Response cmd_reset(Store& store, const Value&) {
    store.reset();
    return std::string(OK);
}

Response cmd_set_spec(Store& store, const Value& cmd) {
    auto spec_field = required(cmd, "spec");
    if (!spec_field) return std::unexpected(std::move(spec_field.error()));
    auto spec = read_spec_value(**spec_field);
    if (!spec) return std::unexpected(std::move(spec.error()));
    if (auto e = check_spec(*spec)) return std::unexpected(std::move(*e));
    store.replace_spec(std::move(*spec));
    return std::string(OK);
}

struct Command {
    std::string_view name;
    Response (*handler)(Store&, const Value&);
};

constexpr Command commands[] = {
    {"version", cmd_version}, {"push", cmd_push},     {"push_batch", cmd_push_batch}, {"build", cmd_build},
    {"build_batch", cmd_build_batch}, {"labels", cmd_labels}, {"reset", cmd_reset},   {"set_spec", cmd_set_spec},
};

}  // namespace

std::expected<std::string, StoreError> Store::command(std::string_view text) {
    json::ParseResult parsed = json::parse(text);
    if (parsed.error) return std::unexpected(StoreError::parse(parsed.error->text()));
    const Value& root = *parsed.document.root();
    const Value* name = root.is_object() ? field(root, "cmd") : nullptr;
    if (!name || !name->is_string()) return std::unexpected(StoreError::bad_spec("missing \"cmd\""));
    for (const Command& c : commands)
        if (c.name == name->as_string()) return c.handler(*this, root);
    return std::unexpected(StoreError::bad_spec("unknown cmd: " + std::string(name->as_string())));
}

}  // namespace ostrel::store
