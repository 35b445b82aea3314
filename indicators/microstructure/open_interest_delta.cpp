#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/indicator.hpp"

namespace ostrel {
namespace {

class OpenInterestDelta {
public:
    static constexpr InputKind input = InputKind::Derivatives;

    static std::expected<OpenInterestDelta, CoreError> create() { return OpenInterestDelta{}; }

    std::optional<double> update(const DerivativesTick& t) {
        const std::optional<double> previous = previous_;
        previous_ = t.open_interest;
        if (!previous) return std::nullopt;
        return t.open_interest - *previous;
    }

    std::size_t warmup_period() const { return 2; }

private:
    std::optional<double> previous_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OpenInterestDelta, OpenInterestDelta::create())
