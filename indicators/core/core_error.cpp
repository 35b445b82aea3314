#include "indicators/core/core_error.hpp"

#include <cstring>

namespace ostrel {

std::string CoreError::display() const {
    switch (kind) {
        case CoreErrorKind::ZeroPeriod: return "period must be greater than zero";
        case CoreErrorKind::InvalidPeriod: return std::string("invalid period: ") + text;
        case CoreErrorKind::NonFiniteInput: return "input value must be finite (got NaN or infinity)";
        case CoreErrorKind::InvalidCandle: return std::string("invalid candle: ") + text;
        case CoreErrorKind::InvalidTick: return std::string("invalid tick: ") + text;
        case CoreErrorKind::ZeroMultiplier: return "multiplier must be greater than zero";
        case CoreErrorKind::InvalidOrderBook: return std::string("invalid order book: ") + text;
        case CoreErrorKind::InvalidTrade: return std::string("invalid trade: ") + text;
        case CoreErrorKind::InvalidDerivativesTick: return std::string("invalid derivatives tick: ") + text;
        case CoreErrorKind::InvalidCrossSection: return std::string("invalid cross-section: ") + text;
        case CoreErrorKind::InvalidParameter: return std::string("invalid parameter: ") + text;
    }
    return {};
}

bool operator==(const CoreError& a, const CoreError& b) {
    return a.kind == b.kind && std::strcmp(a.text, b.text) == 0;
}

}  // namespace ostrel
