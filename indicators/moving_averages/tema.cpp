#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// Triple exponential average: (3·e1 − 3·e2) + e3 over three cascaded smoothers.
class Tema {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Tema, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Tema(period);
    }

    std::optional<double> update(double x) {
        const auto e1 = e1_.push(x);
        if (!e1) return std::nullopt;
        const auto e2 = e2_.push(*e1);
        if (!e2) return std::nullopt;
        const auto e3 = e3_.push(*e2);
        if (!e3) return std::nullopt;
        return (3.0 * *e1 - 3.0 * *e2) + *e3;
    }

    std::size_t warmup_period() const { return 3 * e1_.period() - 2; }

private:
    explicit Tema(std::uint64_t n) : e1_(n), e2_(n), e3_(n) {}
    ExpSmoother e1_;
    ExpSmoother e2_;
    ExpSmoother e3_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Tema, ostrel::Tema::create(p.count(0)))
