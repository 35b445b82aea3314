#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/indicator.hpp"

namespace ostrel {
namespace {

// Mark price weighted by open interest over every tick since creation.
class OIWeighted {
public:
    static constexpr InputKind input = InputKind::Derivatives;

    static std::expected<OIWeighted, CoreError> create() { return OIWeighted{}; }

    std::optional<double> update(const DerivativesTick& t) {
        weighted_ += t.open_interest * t.mark_price;
        interest_ += t.open_interest;
        if (interest_ == 0.0) return t.mark_price;
        return weighted_ / interest_;
    }

    std::size_t warmup_period() const { return 1; }

private:
    double weighted_ = 0.0;
    double interest_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OIWeighted, OIWeighted::create())
