#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"
#include "indicators/momentum/ppo.hpp"

namespace ostrel {
namespace {

// PPO minus its exponential signal.
class PpoHistogram {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<PpoHistogram, CoreError> create(std::uint64_t fast, std::uint64_t slow,
                                                         std::uint64_t signal) {
        if (auto e = convergence_error(PPO_ORDER_MESSAGE, fast, slow, signal)) return std::unexpected(*e);
        return PpoHistogram(fast, slow, signal);
    }

    std::optional<double> update(double x) {
        const auto ppo = ppo_.update(x);
        if (!ppo) return std::nullopt;
        const auto out = signal_.push(*ppo);
        if (!out) return std::nullopt;
        return (*out)[2];
    }

    std::size_t warmup_period() const {
        return ppo_.warmup_period() + static_cast<std::size_t>(signal_.period()) - 1;
    }

private:
    PpoHistogram(std::uint64_t fast, std::uint64_t slow, std::uint64_t signal)
        : ppo_(fast, slow), signal_(signal) {}
    Ppo ppo_;
    SignalLine signal_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(PpoHistogram, ostrel::PpoHistogram::create(p.count(0), p.count(1), p.count(2)))
