#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {
namespace {

// Population standard deviation of the last N closes.
class StdDev {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<StdDev, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return StdDev(period);
    }

    std::optional<double> update(double x) {
        if (!moments_.push(x) || !moments_.full()) return std::nullopt;
        return moments_.stddev();
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    explicit StdDev(std::size_t n) : moments_(n) {}

    AnchoredMoments moments_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(StdDev, ostrel::StdDev::create(p.count(0)))
