#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/bollinger_bands.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// (upper − lower)/middle of the Bollinger bands; no value while the middle is 0.
class BollingerBandwidth {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<BollingerBandwidth, CoreError> create(std::uint64_t period, double k) {
        auto bands = BollingerBands::create(period, k);
        if (!bands) return std::unexpected(bands.error());
        return BollingerBandwidth(*bands);
    }

    std::optional<double> update(double x) {
        const auto b = bands_.update(x);
        if (!b || (*b)[1] == 0.0) return std::nullopt;
        return ((*b)[0] - (*b)[2]) / (*b)[1];
    }

    std::size_t warmup_period() const { return bands_.warmup_period(); }

private:
    explicit BollingerBandwidth(BollingerBands bands) : bands_(bands) {}

    BollingerBands bands_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(BollingerBandwidth, ostrel::BollingerBandwidth::create(p.count(0), p.real(1)))
