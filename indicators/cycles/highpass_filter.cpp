#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/cycles/highpass.hpp"

namespace ostrel {
namespace {

class HighpassFilter {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<HighpassFilter, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return HighpassFilter(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        return hp_.push(x);
    }
    std::size_t warmup_period() const { return 1; }

private:
    explicit HighpassFilter(std::uint64_t n) : hp_(static_cast<double>(n)) {}
    TwoPoleHighpass hp_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HighpassFilter, ostrel::HighpassFilter::create(p.count(0)))
