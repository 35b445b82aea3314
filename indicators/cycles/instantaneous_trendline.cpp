#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

class InstantaneousTrendline {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<InstantaneousTrendline, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return InstantaneousTrendline(2.0 / (static_cast<double>(n) + 1.0));
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const double x1 = count_ >= 1 ? x1_ : x;
        const double x2 = count_ >= 2 ? x2_ : x;
        double it;
        if (count_ < 7) {
            ++count_;
            it = x == x1 && x1 == x2 ? x : (x + 2.0 * x1 + x2) / 4.0;
        } else if (x == x1 && x1 == x2 && x2 == it1_ && it1_ == it2_) {
            // The coefficients do not sum to 1 in floating point: a settled constant stays exact.
            it = x;
        } else {
            const double a = alpha_;
            it = (a - a * a / 4.0) * x + 0.5 * a * a * x1 - (a - 0.75 * a * a) * x2 +
                 2.0 * (1.0 - a) * it1_ - (1.0 - a) * (1.0 - a) * it2_;
        }
        x2_ = x1_;
        x1_ = x;
        it2_ = it1_;
        it1_ = it;
        return it;
    }
    std::size_t warmup_period() const { return 1; }

private:
    explicit InstantaneousTrendline(double alpha) : alpha_(alpha) {}
    double alpha_;
    double x1_ = 0.0, x2_ = 0.0, it1_ = 0.0, it2_ = 0.0;
    std::size_t count_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(InstantaneousTrendline, ostrel::InstantaneousTrendline::create(p.count(0)))
