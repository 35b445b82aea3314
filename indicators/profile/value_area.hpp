#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>

#include "indicators/profile/profile_window.hpp"

namespace ostrel {

struct ValueAreaBins {
    std::size_t poc;
    std::size_t bottom;
    std::size_t top;
};

// Grows the area from the point of control one bin at a time while total·pct exceeds the
// volume taken, adding the larger neighbour (the upper one on equal volumes). It also stops
// once every non-empty bin is inside: the volume taken is summed in another order than the
// total, so at pct = 1 rounding alone would otherwise drag it over empty bins.
inline ValueAreaBins value_area_bins(std::span<const double> bins, std::size_t poc, double pct) {
    double total = 0.0;
    std::size_t nonzero = 0;
    for (double b : bins) {
        total += b;
        if (b != 0.0) ++nonzero;
    }
    const double target = total * pct;
    ValueAreaBins area{poc, poc, poc};
    double taken = bins[poc];
    std::size_t inside = bins[poc] != 0.0 ? 1 : 0;
    while (target > taken && inside < nonzero) {
        const bool above = area.top + 1 < bins.size();
        const bool below = area.bottom > 0;
        if (!above && !below) break;
        const bool up = above && (!below || bins[area.top + 1] >= bins[area.bottom - 1]);
        const std::size_t i = up ? ++area.top : --area.bottom;
        taken += bins[i];
        if (bins[i] != 0.0) ++inside;
    }
    return area;
}

// The rolling volume profile's point of control and value area. Edges reports the area by
// its outer bin edges (ValueArea), Centres by the centres of its end bins (CompositeProfile);
// the two also differ in the error variant of a fraction outside (0, 1].
enum class ValueAreaStyle : std::uint8_t { Edges, Centres };

template <ValueAreaStyle Style>
class ValueAreaIndicator {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ValueAreaIndicator, CoreError> create(std::uint64_t period, std::uint64_t bins, double pct) {
        auto profile = ProfileWindow::create(period, bins);
        if (!profile) return std::unexpected(profile.error());
        constexpr const char* message = "value_area_pct must be in (0, 1]";
        if (!(pct > 0.0 && pct <= 1.0))
            return std::unexpected(Style == ValueAreaStyle::Edges ? CoreError::invalid_period(message)
                                                                  : CoreError::invalid_parameter(message));
        return ValueAreaIndicator(std::move(*profile), pct);
    }

    // poc, vah, val.
    std::optional<std::array<double, 3>> update(const Candle& c) {
        if (!profile_.push(c)) return std::nullopt;
        profile_.rebuild();
        const ValueAreaBins area = value_area_bins(profile_.bins(), profile_.poc(), pct_);
        const ProfileWindow& p = profile_;
        if constexpr (Style == ValueAreaStyle::Centres)
            return std::array<double, 3>{p.centre(area.poc), p.centre(area.top), p.centre(area.bottom)};
        return std::array<double, 3>{p.centre(area.poc), p.lo() + static_cast<double>(area.top + 1) * p.width(),
                                     p.lo() + static_cast<double>(area.bottom) * p.width()};
    }

    std::size_t warmup_period() const { return profile_.period(); }

private:
    ValueAreaIndicator(ProfileWindow profile, double pct) : profile_(std::move(profile)), pct_(pct) {}

    ProfileWindow profile_;
    double pct_;
};

}  // namespace ostrel
