#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/wilder_smoother.hpp"

namespace ostrel {
namespace {

// Smoothed (Wilder) moving average of the closes.
class Smma {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Smma, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Smma(period);
    }

    std::optional<double> update(double x) { return smoother_.push(x); }

    std::size_t warmup_period() const { return smoother_.period(); }

private:
    explicit Smma(std::uint64_t n) : smoother_(n) {}
    WilderSmoother smoother_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Smma, ostrel::Smma::create(p.count(0)))
