#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/profile/profile_window.hpp"

namespace ostrel {
namespace {

// +1 when the point of control sits in the top third of the bins, −1 in the bottom third.
class ProfileShape {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ProfileShape, CoreError> create(std::uint64_t period, std::uint64_t bins) {
        auto profile = ProfileWindow::create(period, bins);
        if (!profile) return std::unexpected(profile.error());
        if (bins < 3) return std::unexpected(CoreError::invalid_period("profile shape needs bins >= 3"));
        return ProfileShape(std::move(*profile));
    }

    std::optional<double> update(const Candle& c) {
        if (!profile_.push(c)) return std::nullopt;
        profile_.rebuild();
        const std::size_t poc = profile_.poc();
        // A flat window or one without volume has no shape; its bin 0 is no bottom.
        if (profile_.zero_range() || profile_.bins()[poc] == 0.0) return 0.0;
        const std::size_t b = profile_.bin_count();
        if (poc >= b - b / 3) return 1.0;
        if (poc < b / 3) return -1.0;
        return 0.0;
    }

    std::size_t warmup_period() const { return profile_.period(); }

private:
    explicit ProfileShape(ProfileWindow profile) : profile_(std::move(profile)) {}
    ProfileWindow profile_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ProfileShape, ProfileShape::create(p.count(0), p.count(1)))
