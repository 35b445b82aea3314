#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/cycles/super_smoother.hpp"

namespace ostrel {
namespace {

class SuperSmoother {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<SuperSmoother, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return SuperSmoother(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        return stage_.push(x);
    }
    std::size_t warmup_period() const { return 1; }

private:
    explicit SuperSmoother(std::uint64_t n) : stage_(static_cast<double>(n)) {}
    SuperSmootherStage stage_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SuperSmoother, ostrel::SuperSmoother::create(p.count(0)))
