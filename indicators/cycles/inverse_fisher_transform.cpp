#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

class InverseFisherTransform {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<InverseFisherTransform, CoreError> create(double scale) {
        if (!(std::isfinite(scale) && scale > 0.0))
            return std::unexpected(CoreError::invalid_period("scale must be a positive finite number"));
        return InverseFisherTransform(scale);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        return std::tanh(scale_ * x);
    }
    std::size_t warmup_period() const { return 1; }

private:
    explicit InverseFisherTransform(double scale) : scale_(scale) {}
    double scale_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(InverseFisherTransform, ostrel::InverseFisherTransform::create(p.real(0)))
