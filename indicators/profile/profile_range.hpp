#pragma once

#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/profile/profile_window.hpp"

namespace ostrel {

// The price span of a rolling profile: lowest low and highest high of its window, reported
// once the window is full; the profile itself stays inside.
template <ProfileWindow::Weight W>
class ProfileRange {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ProfileRange, CoreError> create(std::uint64_t period, std::uint64_t bins) {
        auto profile = ProfileWindow::create(period, bins, W);
        if (!profile) return std::unexpected(profile.error());
        return ProfileRange(std::move(*profile));
    }

    std::optional<std::array<double, 2>> update(const Candle& c) {
        if (!profile_.push(c)) return std::nullopt;
        profile_.rebuild();
        return std::array<double, 2>{profile_.lo(), profile_.hi()};
    }

    std::size_t warmup_period() const { return profile_.period(); }

private:
    explicit ProfileRange(ProfileWindow profile) : profile_(std::move(profile)) {}
    ProfileWindow profile_;
};

}  // namespace ostrel
