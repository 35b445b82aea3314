#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "indicators/core/indicator.hpp"
#include "indicators/core/params.hpp"

namespace ostrel {

using Factory = FactoryResult (*)(const Params&);

struct CatalogueEntry {
    std::string_view name;
    std::string_view params;   // comma-joined kinds: "count", "float", "int32", "uint32"
    InputKind input;
    std::string_view outputs;  // comma-joined named outputs, empty for single-output members
    std::string_view family;   // folder under indicators/
    Factory factory;           // null until the member's family is built
};

std::string_view input_kind_name(InputKind kind);

// All indicators, sorted by name.
std::span<const CatalogueEntry> catalogue();

// Exact, case-sensitive lookup; aliases are not entries.
const CatalogueEntry* find_entry(std::string_view name);

}  // namespace ostrel

// Defines the factory of a catalogue row; the expression after the name builds the typed
// indicator from `p` (the converted parameters) and yields std::expected<T, CoreError>.
#define OSTREL_FACTORY(Name, ...)                                                           \
    namespace ostrel::factory {                                                             \
    ::ostrel::FactoryResult create_##Name([[maybe_unused]] const ::ostrel::Params& p) {     \
        return ::ostrel::adapt(__VA_ARGS__);                                                \
    }                                                                                       \
    }
