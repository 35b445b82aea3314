#pragma once

#include <cmath>
#include <cstddef>
#include <expected>
#include <optional>

#include "indicators/core/indicator.hpp"
#include "indicators/volume/close_location.hpp"

namespace ostrel {

// Accumulation/distribution line: the running total of volume·CLV from 0, a value on every
// candle. A candle that would carry the total beyond the doubles is dropped whole.
// It is also the `Adl` member.
class AdLine {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AdLine, CoreError> create() { return AdLine(); }

    std::optional<double> update(const Candle& c) {
        const double next = total_ + c.volume * close_location(c.high, c.low, c.close);
        if (!std::isfinite(next)) return std::nullopt;
        total_ = next;
        return total_;
    }

    std::size_t warmup_period() const { return 1; }

private:
    double total_ = 0.0;
};

}  // namespace ostrel
