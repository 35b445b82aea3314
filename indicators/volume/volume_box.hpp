#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/moving_averages/sma.hpp"

namespace ostrel {

// The candle's vertical extent: its signed body or its high − low range.
enum class CandleSpan { Body, Range };

// A candle drawn as a box: the span as its first output, and as its width the volume over the
// N-candle average volume (the current candle included), 0 when that average is not positive.
template <CandleSpan Span>
class VolumeBox {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<VolumeBox, CoreError> create(std::uint64_t period) {
        auto average = Sma::create(period);
        if (!average) return std::unexpected(average.error());
        return VolumeBox(std::move(*average));
    }

    std::optional<std::array<double, 2>> update(const Candle& c) {
        const auto average = average_.update(c.volume);
        if (!average) return std::nullopt;
        const double span = Span == CandleSpan::Body ? c.close - c.open : c.high - c.low;
        return std::array<double, 2>{span, *average > 0.0 ? c.volume / *average : 0.0};
    }

    std::size_t warmup_period() const { return average_.warmup_period(); }

private:
    explicit VolumeBox(Sma average) : average_(std::move(average)) {}
    Sma average_;
};

}  // namespace ostrel
