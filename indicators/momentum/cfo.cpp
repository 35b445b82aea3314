#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// Chande forecast oscillator: the close's distance from the least-squares line of the last
// N closes at the newest position, in percent of the close. A close of 0 repeats the
// previous value.
class Cfo {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Cfo, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (n < 2) return std::unexpected(CoreError::invalid_period("linear regression needs period >= 2"));
        return Cfo(n);
    }

    std::optional<double> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        if (x == 0.0) return last_;
        last_ = 100.0 * (x - line_.end_value()) / x;
        return last_;
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    explicit Cfo(std::size_t n) : line_(n) {}

    RegressionWindow line_;
    std::optional<double> last_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Cfo, ostrel::Cfo::create(p.count(0)))
