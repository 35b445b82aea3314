#include <algorithm>
#include <cmath>
#include <cstddef>

#include "indicators/core/catalogue.hpp"
#include "indicators/risk/tail_quantiles.hpp"

namespace ostrel {
namespace {

// Expected shortfall: the loss at the mean of the lowest floor(n·(1 − confidence)) values
// of the window, at least the smallest one.
struct ConditionalValueAtRiskRule {
    static constexpr const char* too_short = "conditional value-at-risk needs period >= 2";

    static double value(const SortedWindow& w, double tail) {
        const auto& sorted = w.sorted();
        const double n = static_cast<double>(sorted.size());
        const auto count = std::max<std::size_t>(1, static_cast<std::size_t>(std::floor(n * tail)));
        double sum = 0.0;
        for (std::size_t i = 0; i < count; ++i) sum += sorted[i];
        return loss_beyond(sum / static_cast<double>(count));
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ConditionalValueAtRisk,
               ostrel::TailRiskMember<ostrel::ConditionalValueAtRiskRule>::create(p.count(0), p.real(1)))
