#pragma once

#include <expected>
#include <optional>

#include "indicators/core/indicator.hpp"

namespace ostrel {

// Cumulative volume-weighted typical price from the first candle it receives (also the
// anchored VWAP: nothing in a build moves its anchor, so it needs no reset).
class Vwap {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Vwap, CoreError> create() { return Vwap(); }

    std::optional<double> update(const Candle& c) {
        const double tp = (c.high + c.low + c.close) / 3.0;
        weighted_ += tp * c.volume;
        volume_ += c.volume;
        // Volumes are never negative, so the sum is 0 exactly while none has traded.
        if (volume_ == 0.0) return std::nullopt;
        return weighted_ / volume_;
    }

    std::size_t warmup_period() const { return 1; }

private:
    double weighted_ = 0.0;
    double volume_ = 0.0;
};

}  // namespace ostrel
