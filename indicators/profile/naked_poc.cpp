#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/profile/profile_window.hpp"

namespace ostrel {
namespace {

// Points of control of consecutive blocks of N candles that no later candle has traded
// through; reports the one nearest to the close.
class NakedPoc {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<NakedPoc, CoreError> create(std::uint64_t period, std::uint64_t bins) {
        auto profile = ProfileWindow::create(period, bins);
        if (!profile) return std::unexpected(profile.error());
        return NakedPoc(std::move(*profile));
    }

    std::optional<double> update(const Candle& c) {
        std::erase_if(levels_, [&](double l) { return c.low <= l && l <= c.high; });
        // Once full, the window holds exactly the block that the N-th push completes.
        profile_.push(c);
        if (++in_block_ == profile_.period()) {
            in_block_ = 0;
            profile_.rebuild();
            levels_.push_back(profile_.centre(profile_.poc()));
            started_ = true;
        }
        if (!started_) return std::nullopt;
        if (levels_.empty()) return c.close;
        double best = levels_.front();
        for (double l : levels_)
            if (std::fabs(l - c.close) < std::fabs(best - c.close)) best = l;
        return best;
    }

    std::size_t warmup_period() const { return profile_.period(); }

private:
    explicit NakedPoc(ProfileWindow profile) : profile_(std::move(profile)) {}

    ProfileWindow profile_;
    std::size_t in_block_ = 0;
    bool started_ = false;
    std::vector<double> levels_;  // oldest first
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(NakedPoc, NakedPoc::create(p.count(0), p.count(1)))
