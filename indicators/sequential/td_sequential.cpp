#include "indicators/sequential/td_countdown.hpp"

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Setup, countdown and direction; the setup is the primary value.
class TdSequential {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TdSequential, CoreError> create(std::uint64_t l1, std::uint64_t n1, std::uint64_t l2,
                                                         std::uint64_t n2) {
        auto core = TdCountdownCore<TdCountdownRule::Sequential>::create(l1, n1, l2, n2);
        if (!core) return std::unexpected(core.error());
        return TdSequential(std::move(*core));
    }

    std::optional<std::array<double, 3>> update(const Candle& k) {
        const auto step = core_.push(k);
        if (!step) return std::nullopt;
        return std::array<double, 3>{step->setup, step->countdown, step->direction};
    }

    std::size_t warmup_period() const { return core_.warmup_period(); }

private:
    explicit TdSequential(TdCountdownCore<TdCountdownRule::Sequential> core) : core_(std::move(core)) {}
    TdCountdownCore<TdCountdownRule::Sequential> core_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdSequential, TdSequential::create(p.count(0), p.count(1), p.count(2), p.count(3)))
