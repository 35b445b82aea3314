#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/core/catalogue.hpp"
#include "indicators/trend/aroon.hpp"

namespace ostrel {
namespace {

// Aroon up minus Aroon down.
class AroonOscillator {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AroonOscillator, CoreError> create(std::uint64_t period) {
        auto aroon = Aroon::create(period);
        if (!aroon) return std::unexpected(aroon.error());
        return AroonOscillator(std::move(*aroon));
    }

    std::optional<double> update(const Candle& c) {
        const auto v = aroon_.update(c);
        if (!v) return std::nullopt;
        return (*v)[0] - (*v)[1];
    }

    std::size_t warmup_period() const { return aroon_.warmup_period(); }

private:
    explicit AroonOscillator(Aroon aroon) : aroon_(std::move(aroon)) {}
    Aroon aroon_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AroonOscillator, ostrel::AroonOscillator::create(p.count(0)))
