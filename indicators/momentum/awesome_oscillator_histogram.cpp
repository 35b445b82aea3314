#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/awesome_oscillator.hpp"

namespace ostrel {
namespace {

// AO minus its SMA(signal). It reports a warm-up of slow + signal, one more than the input
// that brings its first value.
class AwesomeOscillatorHistogram {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AwesomeOscillatorHistogram, CoreError> create(std::uint64_t fast, std::uint64_t slow,
                                                                       std::uint64_t signal) {
        if (auto e = convergence_error("AwesomeOscillatorHistogram fast must be strictly less than slow", fast, slow,
                                       signal))
            return std::unexpected(*e);
        return AwesomeOscillatorHistogram(fast, slow, signal);
    }

    std::optional<double> update(const Candle& c) { return gap_.update(c); }

    std::size_t warmup_period() const { return gap_.first_value_at() + 1; }

private:
    AwesomeOscillatorHistogram(std::uint64_t fast, std::uint64_t slow, std::uint64_t signal)
        : gap_(fast, slow, signal) {}
    AwesomeOscillatorGap gap_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AwesomeOscillatorHistogram,
               ostrel::AwesomeOscillatorHistogram::create(p.count(0), p.count(1), p.count(2)))
