#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// The least-squares line's end value ± k times the residual deviation √(SSE/N).
class LinRegChannel {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<LinRegChannel, CoreError> create(std::uint64_t n, double k) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (n < 2) return std::unexpected(CoreError::invalid_period("linear regression channel needs period >= 2"));
        return LinRegChannel(n, k);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        const double middle = line_.end_value();
        const double width = k_ * std::sqrt(line_.residual_sum_squares() / n_);
        return std::array<double, 3>{middle + width, middle, middle - width};
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    LinRegChannel(std::uint64_t n, double k) : line_(n), n_(static_cast<double>(n)), k_(k) {}

    RegressionWindow line_;
    double n_;
    double k_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(LinRegChannel, ostrel::LinRegChannel::create(p.count(0), p.real(1)))
