#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Return from open to close.
class CloseVsOpen {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<CloseVsOpen, CoreError> create() { return CloseVsOpen(); }

    std::optional<double> update(const Candle& c) {
        if (c.open == 0.0) return 0.0;
        const double move = c.close - c.open;
        if (std::isfinite(move)) [[likely]] return move / c.open;
        // Open and close of opposite signs near the largest double: halve both terms.
        return (c.close * 0.5 - c.open * 0.5) / (c.open * 0.5);
    }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(CloseVsOpen, CloseVsOpen::create())
