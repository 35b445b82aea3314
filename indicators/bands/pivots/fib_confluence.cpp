#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "indicators/bands/pivots/swing_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// price, strength: the mean and size of the largest cluster of inner retracement levels over
// the legs of the last six pivots; a later level wins ties.
struct ConfluenceRule {
    static constexpr std::size_t kept = 6, needed = 3;
    static constexpr std::size_t most_levels = (kept - 1) * INNER_RATIOS.size();
    static constexpr double tolerance = 0.03;
    static constexpr double smallest_normal = 2.2250738585072014e-308;

    static std::array<double, 2> of(const SwingTracker& t) {
        std::array<double, most_levels> levels;
        std::size_t n = 0;
        for (std::size_t i = 1; i < t.size(); ++i) {
            const double b = t[i].price;
            for (double x : ratio_levels(b, t[i - 1].price - b, INNER_RATIOS)) levels[n++] = x;
        }
        std::size_t best = 0, best_size = 0;
        for (std::size_t i = 0; i < n; ++i) {
            std::size_t size = 0;
            for (std::size_t j = 0; j < n; ++j) size += in_cluster(levels, i, j);
            if (size >= best_size) {
                best = i;
                best_size = size;
            }
        }
        double sum = 0.0;
        for (std::size_t j = 0; j < n; ++j)
            if (in_cluster(levels, best, j)) sum += levels[j];
        const double count = static_cast<double>(best_size);
        return {sum / count, count};
    }

    // A level always belongs to its own cluster, so an overflowed level still counts once.
    static bool in_cluster(const std::array<double, most_levels>& levels, std::size_t i, std::size_t j) {
        if (i == j) return true;
        const double x = levels[i], y = levels[j];
        const double scale = std::max({std::fabs(x), std::fabs(y), smallest_normal});
        return std::fabs(y - x) <= tolerance * scale;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FibConfluence, ostrel::SwingLevels<ostrel::ConfluenceRule>::create())
