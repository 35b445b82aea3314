#include <cmath>
#include <cstdint>
#include <expected>
#include <numbers>
#include <optional>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Average weighted by a half sine wave over the window, heaviest in the middle.
class SineWeightedMa {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<SineWeightedMa, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return SineWeightedMa(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        closes_.push(x);
        if (!closes_.full()) return std::nullopt;
        // Built when first needed so that a huge period costs nothing before data arrives.
        if (weights_.empty()) make_weights();
        double sum = 0.0;
        std::size_t i = 0;
        closes_.for_each([&](double v) { sum += weights_[i++] * v; });
        return sum / weight_sum_;
    }

    std::size_t warmup_period() const { return closes_.capacity(); }

private:
    explicit SineWeightedMa(std::uint64_t n) : closes_(n) {}

    void make_weights() {
        const std::size_t count = closes_.capacity();
        const double n_plus_1 = static_cast<double>(count) + 1.0;
        weights_.resize(count);
        weight_sum_ = 0.0;
        for (std::size_t i = 0; i < count; ++i) {
            weights_[i] = std::sin(static_cast<double>(i + 1) * std::numbers::pi / n_plus_1);
            weight_sum_ += weights_[i];
        }
    }

    RingWindow<double> closes_;
    std::vector<double> weights_;
    double weight_sum_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SineWeightedMa, ostrel::SineWeightedMa::create(p.count(0)))
