#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/profile/profile_window.hpp"

namespace ostrel {
namespace {

// Centres of the fullest bin and of the thinnest bin that holds any volume.
class HighLowVolumeNodes {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<HighLowVolumeNodes, CoreError> create(std::uint64_t period, std::uint64_t bins) {
        auto profile = ProfileWindow::create(period, bins);
        if (!profile) return std::unexpected(profile.error());
        return HighLowVolumeNodes(std::move(*profile));
    }

    std::optional<std::array<double, 2>> update(const Candle& c) {
        if (!profile_.push(c)) return std::nullopt;
        profile_.rebuild();
        const auto bins = profile_.bins();
        const std::size_t high = profile_.poc();
        std::size_t low = high;
        bool found = false;
        for (std::size_t i = 0; i < bins.size(); ++i) {
            if (bins[i] > 0.0 && (!found || bins[i] < bins[low])) {
                low = i;
                found = true;
            }
        }
        return std::array<double, 2>{profile_.centre(high), profile_.centre(low)};
    }

    std::size_t warmup_period() const { return profile_.period(); }

private:
    explicit HighLowVolumeNodes(ProfileWindow profile) : profile_(std::move(profile)) {}
    ProfileWindow profile_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HighLowVolumeNodes, HighLowVolumeNodes::create(p.count(0), p.count(1)))
