#include "indicators/core/catalogue.hpp"

#include <algorithm>
#include <array>

namespace ostrel {

namespace factory {
#define OSTREL_DECLARE_BUILT(name) FactoryResult create_##name(const Params&);
#define OSTREL_DECLARE_NONE(name)
#define OSTREL_ROW(name, params, input, outputs, family, state) OSTREL_DECLARE_##state(name)
#include "indicators/core/catalogue.inc"
#undef OSTREL_ROW
}  // namespace factory

namespace {

#define OSTREL_FACTORY_BUILT(name) &factory::create_##name
#define OSTREL_FACTORY_NONE(name) nullptr
#define OSTREL_ROW(name, params, input, outputs, family, state) \
    CatalogueEntry{#name, params, InputKind::input, outputs, #family, OSTREL_FACTORY_##state(name)},

constexpr CatalogueEntry entries[] = {
#include "indicators/core/catalogue.inc"
};
#undef OSTREL_ROW

constexpr std::size_t entry_count = std::size(entries);

consteval bool valid_param_list(std::string_view list) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view kind = list.substr(0, comma);
        if (kind != "count" && kind != "float" && kind != "int32" && kind != "uint32") return false;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return true;
}

consteval bool catalogue_is_well_formed() {
    for (std::size_t i = 0; i < entry_count; ++i) {
        if (i > 0 && !(entries[i - 1].name < entries[i].name)) return false;
        if (!valid_param_list(entries[i].params)) return false;
    }
    return true;
}
static_assert(catalogue_is_well_formed(), "catalogue rows must be sorted and use known parameter kinds");

// Name lookup dispatches on length first: indices ordered by (length, name).
constexpr auto by_length = [] {
    std::array<std::uint16_t, entry_count> idx{};
    for (std::size_t i = 0; i < entry_count; ++i) idx[i] = static_cast<std::uint16_t>(i);
    std::sort(idx.begin(), idx.end(), [](std::uint16_t a, std::uint16_t b) {
        const auto& x = entries[a].name;
        const auto& y = entries[b].name;
        return x.size() != y.size() ? x.size() < y.size() : x < y;
    });
    return idx;
}();

}  // namespace

std::string_view input_kind_name(InputKind kind) {
    static constexpr std::string_view names[] = {"Close",  "Candle",    "Pair",         "Derivatives",
                                                 "Trades", "OrderBook", "CrossSection", "Microstructure"};
    return names[static_cast<std::size_t>(kind)];
}

std::span<const CatalogueEntry> catalogue() { return entries; }

const CatalogueEntry* find_entry(std::string_view name) {
    const auto it = std::lower_bound(by_length.begin(), by_length.end(), name,
                                     [](std::uint16_t i, std::string_view key) {
                                         const auto& n = entries[i].name;
                                         return n.size() != key.size() ? n.size() < key.size() : n < key;
                                     });
    if (it == by_length.end() || entries[*it].name != name) return nullptr;
    return &entries[*it];
}

}  // namespace ostrel
