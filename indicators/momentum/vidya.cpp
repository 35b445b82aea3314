#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/change_window.hpp"

namespace ostrel {
namespace {

// Variable-index dynamic average: an exponential average whose constant 2/(N + 1) is scaled
// by |CMO|/100 of the last M changes, so it follows the close only while it trends.
class Vidya {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Vidya, CoreError> create(std::uint64_t n, std::uint64_t m) {
        if (auto e = period_error(n, m)) return std::unexpected(*e);
        return Vidya(n, m);
    }

    std::optional<double> update(double x) {
        if (!changes_.push(x) || !changes_.full()) return std::nullopt;
        if (!has_value_) {
            value_ = x;
            has_value_ = true;
        }
        const double k = std::fabs(changes_.cmo()) / 100.0 * alpha_;
        // A close equal to the average leaves it exactly in place.
        if (x != value_) value_ = (1.0 - k) * value_ + k * x;
        return value_;
    }

    std::size_t warmup_period() const { return changes_.period() + 1; }

private:
    Vidya(std::uint64_t n, std::uint64_t m) : changes_(m), alpha_(2.0 / (static_cast<double>(n) + 1.0)) {}

    ChangeWindow changes_;
    double alpha_;
    double value_ = 0.0;
    bool has_value_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Vidya, ostrel::Vidya::create(p.count(0), p.count(1)))
