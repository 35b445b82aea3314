#pragma once

#include <cstdint>
#include <expected>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "indicators/core/indicator.hpp"
#include "indicators/core/params.hpp"

namespace ostrel {

struct RegistryError {
    enum class Kind : std::uint8_t { UnknownIndicatorType, InvalidParameters };
    Kind kind;
    std::string name;    // as received, or the alias-resolved name
    std::string detail;  // empty for UnknownIndicatorType

    std::string display() const;
};

std::expected<std::unique_ptr<Indicator>, RegistryError> create_indicator(std::string_view name,
                                                                           std::span<const double> params);

// 0 candle-based, 1 trades, 2 order book, 3 trades and order book, 4 derivatives,
// 5 cross-section, 255 anything else (aliases included).
std::uint8_t input_class(std::string_view name);

// Checks and converts the leading parameters by the comma-joined kinds ("count,float", ...);
// the failure is the parameter message of the first bad position.
std::expected<Params, std::string> convert_parameters(std::string_view kinds, std::span<const double> values);

// The alias target of a name, or the name itself.
std::string_view resolve_alias(std::string_view name);

}  // namespace ostrel
