#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/microstructure/breadth_counts.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// Exponential average of the advancers' share of advancers and decliners.
class BreadthThrust {
public:
    static constexpr InputKind input = InputKind::CrossSection;

    static std::expected<BreadthThrust, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return BreadthThrust(period);
    }

    std::optional<double> update(const CrossSection& s) {
        const BreadthCounts c = count_breadth(s);
        const double moving = c.advancers + c.decliners;
        return smoother_.push(moving > 0.0 ? c.advancers / moving : 0.0);
    }

    std::size_t warmup_period() const { return smoother_.period(); }

private:
    explicit BreadthThrust(std::uint64_t n) : smoother_(n) {}
    ExpSmoother smoother_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(BreadthThrust, BreadthThrust::create(p.count(0)))
