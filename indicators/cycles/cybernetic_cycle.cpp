#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

class CyberneticCycle {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<CyberneticCycle, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return CyberneticCycle(2.0 / (static_cast<double>(n) + 1.0));
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        // Equal closes smooth to themselves exactly (the weighted sum would round).
        const bool flat = x == x1_ && x1_ == x2_ && x2_ == x3_;
        const double s = count_ >= 3 && !flat ? (x + 2.0 * x1_ + 2.0 * x2_ + x3_) / 6.0 : x;
        double cycle;
        if (count_ >= 2) {
            const double half = 1.0 - 0.5 * alpha_;
            cycle = half * half * (s - 2.0 * s1_ + s2_) + 2.0 * (1.0 - alpha_) * c1_ -
                    (1.0 - alpha_) * (1.0 - alpha_) * c2_;
        } else {
            const double x1 = count_ >= 1 ? x1_ : x;
            cycle = (x - 2.0 * x1 + x) / 4.0;
        }
        if (count_ < 3) ++count_;
        x3_ = x2_;
        x2_ = x1_;
        x1_ = x;
        s2_ = s1_;
        s1_ = s;
        c2_ = c1_;
        c1_ = cycle;
        return cycle;
    }
    std::size_t warmup_period() const { return 1; }

private:
    explicit CyberneticCycle(double alpha) : alpha_(alpha) {}
    double alpha_;
    double x1_ = 0.0, x2_ = 0.0, x3_ = 0.0, s1_ = 0.0, s2_ = 0.0, c1_ = 0.0, c2_ = 0.0;
    std::size_t count_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(CyberneticCycle, ostrel::CyberneticCycle::create(p.count(0)))
