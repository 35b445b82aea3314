#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/indicator.hpp"

namespace ostrel {
namespace {

// Close over the reference value; 0 for a reference that is not positive.
class EstimatedLeverageRatio {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<EstimatedLeverageRatio, CoreError> create() { return EstimatedLeverageRatio{}; }

    std::optional<double> update(double close, double reference) {
        return reference > 0.0 ? close / reference : 0.0;
    }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(EstimatedLeverageRatio, EstimatedLeverageRatio::create())
