#include "indicators/core/registry.hpp"

#include <cmath>
#include <string>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/number_text.hpp"

namespace ostrel {
namespace {

constexpr double WHOLE_TOLERANCE = 2.220446049250313e-16;

bool is_whole(double v) { return std::fabs(v - std::trunc(v)) <= WHOLE_TOLERANCE; }

RegistryError invalid(std::string_view name, std::string detail) {
    return {RegistryError::Kind::InvalidParameters, std::string(name), std::move(detail)};
}

std::string got(std::size_t i, const char* what, double v) {
    return "parameter #" + std::to_string(i) + " must be " + what + ", got " + shortest_positional(v);
}

// Checks and converts one position; returns the failure message, empty on success.
std::string convert(std::string_view kind, std::size_t i, std::span<const double> values, Params& out) {
    if (values.size() <= i) return "missing parameter #" + std::to_string(i);
    const double v = values[i];
    if (!std::isfinite(v)) return "parameter #" + std::to_string(i) + " must be finite";
    if (kind == "count") {
        if (!(v > 0.0) || !is_whole(v)) return got(i, "a positive integer", v);
        // 2^64 and above saturate; the cast would be undefined there.
        out.set_count(i, v >= 18446744073709551616.0 ? UINT64_MAX : static_cast<std::uint64_t>(v));
    } else if (kind == "float") {
        out.set_real(i, v);
    } else if (kind == "int32") {
        if (!is_whole(v) || v > 2147483647.0 || v < -2147483648.0) return got(i, "an i32", v);
        out.set_i32(i, static_cast<std::int32_t>(v));
    } else {
        if (v < 0.0 || v > 4294967295.0 || !is_whole(v)) return got(i, "a u32", v);
        out.set_u32(i, static_cast<std::uint32_t>(v));
    }
    return {};
}

}  // namespace

std::expected<Params, std::string> convert_parameters(std::string_view kinds, std::span<const double> values) {
    Params converted;
    for (std::size_t i = 0; !kinds.empty(); ++i) {
        const std::size_t comma = kinds.find(',');
        std::string message = convert(kinds.substr(0, comma), i, values, converted);
        if (!message.empty()) return std::unexpected(std::move(message));
        kinds = comma == std::string_view::npos ? std::string_view{} : kinds.substr(comma + 1);
    }
    return converted;
}

std::string RegistryError::display() const {
    if (kind == Kind::UnknownIndicatorType) return "unknown indicator type: " + name;
    return "invalid parameters for indicator " + name + ": " + detail;
}

std::string_view resolve_alias(std::string_view name) {
    if (name == "Macd") return "MacdIndicator";
    if (name == "Bollinger") return "BollingerBands";
    return name;
}

std::expected<std::unique_ptr<Indicator>, RegistryError> create_indicator(std::string_view name,
                                                                           std::span<const double> params) {
    const CatalogueEntry* entry = find_entry(resolve_alias(name));
    if (!entry || !entry->factory)
        return std::unexpected(RegistryError{RegistryError::Kind::UnknownIndicatorType, std::string(name), {}});

    auto converted = convert_parameters(entry->params, params);
    if (!converted) return std::unexpected(invalid(entry->name, std::move(converted.error())));

    FactoryResult made = entry->factory(*converted);
    if (!made) return std::unexpected(invalid(entry->name, made.error().display()));
    (*made)->set_output_names(entry->outputs);
    return std::move(*made);
}

std::uint8_t input_class(std::string_view name) {
    const CatalogueEntry* entry = find_entry(name);
    if (!entry) return 255;
    switch (entry->input) {
        case InputKind::Trades: return 1;
        case InputKind::OrderBook: return 2;
        case InputKind::Microstructure: return 3;
        case InputKind::Derivatives: return 4;
        case InputKind::CrossSection: return 5;
        default: return 0;
    }
}

}  // namespace ostrel
