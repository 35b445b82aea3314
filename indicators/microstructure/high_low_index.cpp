#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/breadth_counts.hpp"
#include "indicators/moving_averages/sma.hpp"

namespace ostrel {
namespace {

// Simple average over N sections of the new-high share of new extremes, in percent.
class HighLowIndex {
public:
    static constexpr InputKind input = InputKind::CrossSection;

    static std::expected<HighLowIndex, CoreError> create(std::uint64_t period) {
        auto sma = Sma::create(period);
        if (!sma) return std::unexpected(sma.error());
        return HighLowIndex(std::move(*sma));
    }

    std::optional<double> update(const CrossSection& s) {
        const BreadthCounts c = count_breadth(s);
        const double extremes = c.new_highs + c.new_lows;
        return sma_.update(extremes > 0.0 ? 100.0 * c.new_highs / extremes : 0.0);
    }

    std::size_t warmup_period() const { return sma_.warmup_period(); }

private:
    explicit HighLowIndex(Sma sma) : sma_(std::move(sma)) {}
    Sma sma_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HighLowIndex, HighLowIndex::create(p.count(0)))
