#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"

namespace ostrel {
namespace {

// MACD with the classic fixed averages: 12 closes at alpha 0.15 and 26 at alpha 0.075
// (rounded constants, not 2/13 and 2/27); only the signal period is free.
class MacdFix {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<MacdFix, CoreError> create(std::uint64_t signal) {
        if (auto e = period_error(signal)) return std::unexpected(*e);
        return MacdFix(signal);
    }

    std::optional<MacdOutputs> update(double x) { return core_.push(x); }

    std::size_t warmup_period() const { return core_.warmup_period(); }

private:
    explicit MacdFix(std::uint64_t signal) : core_(ExpSmoother(12, 0.15), ExpSmoother(26, 0.075), signal) {}
    MacdCore core_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MacdFix, ostrel::MacdFix::create(p.count(0)))
