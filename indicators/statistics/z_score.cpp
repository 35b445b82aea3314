#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {
namespace {

// Distance of the newest close from the window mean in population standard deviations.
class ZScore {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<ZScore, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return ZScore(period);
    }

    std::optional<double> update(double x) {
        if (!moments_.push(x) || !moments_.full()) return std::nullopt;
        const double variance = moments_.variance();
        if (!(variance > 0.0)) return 0.0;
        return (x - moments_.mean()) / std::sqrt(variance);
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    explicit ZScore(std::size_t n) : moments_(n) {}

    AnchoredMoments moments_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ZScore, ostrel::ZScore::create(p.count(0)))
