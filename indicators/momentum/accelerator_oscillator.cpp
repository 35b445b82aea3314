#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/awesome_oscillator.hpp"

namespace ostrel {
namespace {

// Accelerator oscillator: AO − SMA(signal)(AO). Its periods need no order; with fast > slow
// the fast average is the one that warms up last.
class AcceleratorOscillator {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AcceleratorOscillator, CoreError> create(std::uint64_t fast, std::uint64_t slow,
                                                                  std::uint64_t signal) {
        if (auto e = period_error(fast, slow, signal)) return std::unexpected(*e);
        return AcceleratorOscillator(fast, slow, signal);
    }

    std::optional<double> update(const Candle& c) { return gap_.update(c); }

    std::size_t warmup_period() const { return gap_.first_value_at(); }

private:
    AcceleratorOscillator(std::uint64_t fast, std::uint64_t slow, std::uint64_t signal) : gap_(fast, slow, signal) {}
    AwesomeOscillatorGap gap_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AcceleratorOscillator, ostrel::AcceleratorOscillator::create(p.count(0), p.count(1), p.count(2)))
