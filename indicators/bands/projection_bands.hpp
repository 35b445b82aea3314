#pragma once

#include <array>
#include <cstdint>
#include <expected>
#include <limits>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {

// Highs and lows of the last N candles carried forward to the current bar along their own
// least-squares slopes; the bands are the highest projected high and the lowest projected low.
class ProjectionBands {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ProjectionBands, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (n < 2) return std::unexpected(CoreError::invalid_period("projection bands need period >= 2"));
        return ProjectionBands(n);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(const Candle& c) {
        highs_.push(c.high);
        lows_.push(c.low);
        if (!highs_.full()) return std::nullopt;
        const double upper = project(highs_, -std::numeric_limits<double>::infinity(), true);
        const double lower = project(lows_, std::numeric_limits<double>::infinity(), false);
        return std::array<double, 3>{upper, midpoint(upper, lower), lower};
    }

    std::size_t warmup_period() const { return highs_.period(); }

private:
    explicit ProjectionBands(std::uint64_t n) : highs_(n), lows_(n) {}

    static double project(const RegressionWindow& w, double start, bool highest) {
        const double slope = w.slope();
        double bars_ahead = static_cast<double>(w.size() - 1);
        double best = start;
        w.window().for_each([&](double v) {
            const double p = v + slope * bars_ahead;
            if (highest ? p > best : p < best) best = p;
            bars_ahead -= 1.0;
        });
        return best;
    }

    RegressionWindow highs_;
    RegressionWindow lows_;
};

}  // namespace ostrel
