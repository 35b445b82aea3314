#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/flat_run.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Slope of the least-squares line through the window's cumulative returns (positions
// 1 … N) over the slope's standard error. The cumulative sums are rebuilt from the window
// at every step, as each step moves their origin.
class KRatio {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<KRatio, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 3) return std::unexpected(CoreError::invalid_period("k-ratio needs period >= 3"));
        return KRatio(period);
    }

    std::optional<double> update(double r) {
        if (!std::isfinite(r)) return std::nullopt;
        returns_.push(r);
        flat_.push(r);
        if (!returns_.full()) return std::nullopt;
        // Equal returns lie on a straight line: the residual is 0, whatever rounding the
        // cumulative sums pick up.
        if (flat_.covers(returns_.size())) return 0.0;

        double c = 0.0, i = 1.0, sc = 0.0, sxc = 0.0;
        returns_.for_each([&](double v) {
            c += v;
            sc += c;
            sxc += (i - centre_) * c;
            i += 1.0;
        });
        const double b = sxc / sxx_;
        const double a = sc / n_ - b * centre_;

        double ssr = 0.0;
        c = 0.0;
        i = 1.0;
        returns_.for_each([&](double v) {
            c += v;
            const double e = c - (a + b * i);
            ssr += e * e;
            i += 1.0;
        });
        if (!(ssr > 0.0)) return 0.0;
        return b / std::sqrt(ssr / (n_ - 2.0) / sxx_);
    }

    std::size_t warmup_period() const { return returns_.capacity(); }

private:
    explicit KRatio(std::size_t n)
        : returns_(n), n_(static_cast<double>(n)), centre_((static_cast<double>(n) + 1.0) / 2.0) {
        // Σ(i − (N + 1)/2)² = N(N² − 1)/12, the product exact in 128 bits and rounded once.
        const auto big = static_cast<unsigned __int128>(n);
        sxx_ = static_cast<double>(big * (big * big - 1)) / 12.0;
    }

    RingWindow<double> returns_;
    FlatRun flat_;
    double n_;
    double centre_;
    double sxx_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(KRatio, ostrel::KRatio::create(p.count(0)))
