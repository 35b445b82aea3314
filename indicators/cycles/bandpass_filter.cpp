#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/cycles/bandpass.hpp"

namespace ostrel {
namespace {

class BandpassFilter {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<BandpassFilter, CoreError> create(std::uint64_t n, double bandwidth) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (!(std::isfinite(bandwidth) && bandwidth > 0.0 && bandwidth < 1.0))
            return std::unexpected(CoreError::invalid_parameter("bandpass bandwidth must be in (0, 1)"));
        return BandpassFilter(n, bandwidth);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        return bp_.push(x);
    }
    std::size_t warmup_period() const { return 1; }

private:
    BandpassFilter(std::uint64_t n, double bandwidth) : bp_(static_cast<double>(n), bandwidth) {}
    BandpassStage bp_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(BandpassFilter, ostrel::BandpassFilter::create(p.count(0), p.real(1)))
