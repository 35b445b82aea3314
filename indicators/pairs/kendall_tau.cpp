#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/window_check.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Kendall's tau-b over every pair of positions in the window, ties in x and in y counted
// separately. A window whose pairs are all tied in either series has no tau and no value.
class KendallTau {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<KendallTau, CoreError> create(std::uint64_t period) {
        if (auto e = window_error(period, 2, "Kendall tau needs period >= 2")) return std::unexpected(*e);
        return KendallTau(period);
    }

    std::optional<double> update(double x, double y) {
        window_.push({x, y});
        if (!window_.full()) return std::nullopt;
        pairs_.clear();
        window_.for_each([&](const std::pair<double, double>& v) { pairs_.push_back(v); });
        const std::size_t n = pairs_.size();
        std::uint64_t concordant = 0, discordant = 0, tied_x = 0, tied_y = 0;
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = i + 1; j < n; ++j) {
                // Signs by comparison: a product of two tiny differences would underflow to 0.
                const int sx = direction(pairs_[i].first, pairs_[j].first);
                const int sy = direction(pairs_[i].second, pairs_[j].second);
                if (sx == 0) ++tied_x;
                if (sy == 0) ++tied_y;
                if (sx * sy > 0) ++concordant;
                else if (sx * sy < 0) ++discordant;
            }
        }
        const std::uint64_t total = static_cast<std::uint64_t>(n) * (n - 1) / 2;
        const double untied = static_cast<double>(total - tied_x) * static_cast<double>(total - tied_y);
        if (untied == 0.0) return std::nullopt;
        const double tau = (static_cast<double>(concordant) - static_cast<double>(discordant)) / std::sqrt(untied);
        return std::clamp(tau, -1.0, 1.0);
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    static int direction(double a, double b) { return (a > b) - (a < b); }

    explicit KendallTau(std::size_t n) : window_(n) {}

    RingWindow<std::pair<double, double>> window_;
    std::vector<std::pair<double, double>> pairs_;  // the window oldest first; grows once to N
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(KendallTau, ostrel::KendallTau::create(p.count(0)))
