#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/profile/profile_window.hpp"

namespace ostrel {
namespace {

// Bins touched by exactly one candle of the window.
class SinglePrints {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<SinglePrints, CoreError> create(std::uint64_t period, std::uint64_t bins) {
        auto profile = ProfileWindow::create(period, bins, ProfileWindow::Weight::Time);
        if (!profile) return std::unexpected(profile.error());
        return SinglePrints(std::move(*profile));
    }

    std::optional<double> update(const Candle& c) {
        if (!profile_.push(c)) return std::nullopt;
        profile_.rebuild();
        if (profile_.zero_range()) return 0.0;
        double singles = 0.0;
        for (double n : profile_.bins())
            if (n == 1.0) singles += 1.0;
        return singles;
    }

    std::size_t warmup_period() const { return profile_.period(); }

private:
    explicit SinglePrints(ProfileWindow profile) : profile_(std::move(profile)) {}
    ProfileWindow profile_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SinglePrints, SinglePrints::create(p.count(0), p.count(1)))
