#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Triangular average: a simple average of length N − ⌊N/2⌋ smoothed again by one of
// length ⌊N/2⌋ + 1, so the first value comes at input N.
class Trima {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Trima, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Trima(period);
    }

    std::optional<double> update(double x) {
        if (!first_.push(x) || !first_.full()) return std::nullopt;
        if (!second_.push(first_.mean()) || !second_.full()) return std::nullopt;
        return second_.mean();
    }

    std::size_t warmup_period() const { return first_.period() + second_.period() - 1; }

private:
    explicit Trima(std::uint64_t n) : first_(n - n / 2, 16), second_(n / 2 + 1, 16) {}
    RunningSum first_;
    RunningSum second_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Trima, ostrel::Trima::create(p.count(0)))
