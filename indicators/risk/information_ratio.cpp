#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/risk/excess_ratio.hpp"

namespace ostrel {
namespace {

// Mean active return x − y over its sample standard deviation.
class InformationRatio {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<InformationRatio, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("information ratio needs period >= 2"));
        return InformationRatio(period);
    }

    // An active return that overflows is skipped like a missing pair.
    std::optional<double> update(double x, double y) {
        if (!active_.push(x - y) || !active_.full()) return std::nullopt;
        return excess_per_deviation(active_, 0.0).value_or(0.0);
    }

    std::size_t warmup_period() const { return active_.period(); }

private:
    explicit InformationRatio(std::size_t n) : active_(n) {}

    AnchoredMoments active_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(InformationRatio, ostrel::InformationRatio::create(p.count(0)))
