#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/rvi_volatility.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// Inertia: the least-squares line of the last M relative-volatility values, at the newest.
class Inertia {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Inertia, CoreError> create(std::uint64_t n, std::uint64_t m) {
        auto rvi = RviVolatility::create(n);
        if (!rvi) return std::unexpected(rvi.error());
        if (auto e = period_error(m)) return std::unexpected(*e);
        if (m < 2) return std::unexpected(CoreError::invalid_period("linear regression needs period >= 2"));
        return Inertia(*rvi, m);
    }

    std::optional<double> update(const Candle& c) {
        const auto rvi = rvi_.update(c.close);
        if (!rvi || !line_.push(*rvi) || !line_.full()) return std::nullopt;
        return line_.end_value();
    }

    std::size_t warmup_period() const { return rvi_.warmup_period() + line_.period() - 1; }

private:
    Inertia(RviVolatility rvi, std::uint64_t m) : rvi_(rvi), line_(m) {}

    RviVolatility rvi_;
    RegressionWindow line_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Inertia, ostrel::Inertia::create(p.count(0), p.count(1)))
