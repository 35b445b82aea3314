#pragma once

#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/wilder_atr.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {

// k·ATR(N), the distance the volatility stops keep from the price: N a window length, k a
// multiplier that must be positive. Nothing until the ATR is seeded at the N-th candle.
class ScaledAtr {
public:
    static std::expected<ScaledAtr, CoreError> create(std::uint64_t n, double k) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (auto e = multiplier_error(k)) return std::unexpected(*e);
        return ScaledAtr(n, k);
    }

    std::optional<double> update(const Candle& c) {
        const auto atr = atr_.update(c);
        if (!atr) return std::nullopt;
        return k_ * *atr;
    }

    std::size_t warmup_period() const { return atr_.warmup_period(); }

private:
    ScaledAtr(std::uint64_t n, double k) : atr_(n), k_(k) {}

    WilderAtr atr_;
    double k_;
};

}  // namespace ostrel
