#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/bollinger_bands.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Position of the close within its Bollinger bands; 0.5 when the bands coincide.
class PercentB {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<PercentB, CoreError> create(std::uint64_t period, double k) {
        auto bands = BollingerBands::create(period, k);
        if (!bands) return std::unexpected(bands.error());
        return PercentB(*bands);
    }

    std::optional<double> update(double x) {
        const auto b = bands_.update(x);
        if (!b) return std::nullopt;
        const double width = (*b)[0] - (*b)[2];
        if (width == 0.0) return 0.5;
        return (x - (*b)[2]) / width;
    }

    std::size_t warmup_period() const { return bands_.warmup_period(); }

private:
    explicit PercentB(BollingerBands bands) : bands_(bands) {}

    BollingerBands bands_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(PercentB, ostrel::PercentB::create(p.count(0), p.real(1)))
