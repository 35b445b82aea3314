#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/bands/projection_bands.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Where the close lies between the projection bands of the same candles, in percent; 50 when
// the bands meet.
class ProjectionOscillator {
public:
    static constexpr InputKind input = InputKind::Candle;

    // Shares the bands' construction checks, N ≥ 2 included (one point has no slope).
    static std::expected<ProjectionOscillator, CoreError> create(std::uint64_t period) {
        auto bands = ProjectionBands::create(period);
        if (!bands) return std::unexpected(bands.error());
        return ProjectionOscillator(std::move(*bands));
    }

    std::optional<double> update(const Candle& c) {
        const auto b = bands_.update(c);
        if (!b) return std::nullopt;
        const double upper = (*b)[0];
        const double lower = (*b)[2];
        if (upper == lower) return 50.0;
        return 100.0 * (c.close - lower) / (upper - lower);
    }

    std::size_t warmup_period() const { return bands_.warmup_period(); }

private:
    explicit ProjectionOscillator(ProjectionBands bands) : bands_(std::move(bands)) {}
    ProjectionBands bands_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ProjectionOscillator, ostrel::ProjectionOscillator::create(p.count(0)))
