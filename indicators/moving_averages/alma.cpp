#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Arnaud Legoux average: Gaussian weights centred at offset·(N − 1), normalised to sum one.
class Alma {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Alma, CoreError> create(std::uint64_t period, double offset, double sigma) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (!std::isfinite(offset) || offset < 0.0 || offset > 1.0)
            return std::unexpected(CoreError::invalid_period("ALMA offset must be a finite value in [0, 1]"));
        if (!std::isfinite(sigma) || !(sigma > 0.0))
            return std::unexpected(CoreError::invalid_period("ALMA sigma must be a finite positive value"));
        return Alma(period, offset, sigma);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        closes_.push(x);
        if (!closes_.full()) return std::nullopt;
        // Built when first needed so that a huge period costs nothing before data arrives.
        if (weights_.empty()) weights_ = make_weights();
        double sum = 0.0;
        std::size_t i = 0;
        closes_.for_each([&](double v) { sum += weights_[i++] * v; });
        return sum;
    }

    std::size_t warmup_period() const { return closes_.capacity(); }

private:
    Alma(std::uint64_t n, double offset, double sigma) : closes_(n), offset_(offset), sigma_(sigma) {}

    std::vector<double> make_weights() const {
        const std::size_t count = closes_.capacity();
        const double n = static_cast<double>(count);
        const double m = offset_ * (n - 1.0);
        const double c = (n / sigma_) * 2.0 * (n / sigma_);
        std::vector<double> w(count);
        double total = 0.0;
        for (std::size_t i = 0; i < count; ++i) {
            const double d = static_cast<double>(i) - m;
            w[i] = std::exp(-(d * d) / c);
            total += w[i];
        }
        if (total > 0.0) {
            for (double& v : w) v /= total;
            return w;
        }
        // A very large sigma makes the curve narrower than one step: every weight underflows
        // (or c is 0 and the centre gives 0/0). The limit puts all weight on the index or two
        // indices nearest the centre.
        double nearest = INFINITY;
        for (std::size_t i = 0; i < count; ++i) nearest = std::fmin(nearest, std::fabs(static_cast<double>(i) - m));
        double ties = 0.0;
        for (std::size_t i = 0; i < count; ++i) {
            w[i] = std::fabs(static_cast<double>(i) - m) == nearest ? 1.0 : 0.0;
            ties += w[i];
        }
        for (double& v : w) v /= ties;
        return w;
    }

    RingWindow<double> closes_;
    double offset_;
    double sigma_;
    std::vector<double> weights_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Alma, ostrel::Alma::create(p.count(0), p.real(1), p.real(2)))
