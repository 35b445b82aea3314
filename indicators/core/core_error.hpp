#pragma once

#include <cstdint>
#include <string>

namespace ostrel {

// Eleven variants, in display-table order; the numeric value is part of the contract.
enum class CoreErrorKind : std::uint8_t {
    ZeroPeriod,
    InvalidPeriod,
    NonFiniteInput,
    InvalidCandle,
    InvalidTick,
    ZeroMultiplier,
    InvalidOrderBook,
    InvalidTrade,
    InvalidDerivativesTick,
    InvalidCrossSection,
    InvalidParameter,
};

// The carried text is always a constant of the library, so a pointer suffices.
struct CoreError {
    CoreErrorKind kind;
    const char* text = "";

    static constexpr CoreError zero_period() { return {CoreErrorKind::ZeroPeriod, ""}; }
    static constexpr CoreError invalid_period(const char* t) { return {CoreErrorKind::InvalidPeriod, t}; }
    static constexpr CoreError non_finite_input() { return {CoreErrorKind::NonFiniteInput, ""}; }
    static constexpr CoreError zero_multiplier() { return {CoreErrorKind::ZeroMultiplier, ""}; }
    static constexpr CoreError invalid_parameter(const char* t) { return {CoreErrorKind::InvalidParameter, t}; }

    std::string display() const;
    friend bool operator==(const CoreError& a, const CoreError& b);
};

inline constexpr const char* MAX_PERIOD_MESSAGE =
    "period exceeds the maximum supported window length (see MAX_PERIOD)";

}  // namespace ostrel
