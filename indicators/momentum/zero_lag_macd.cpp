#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"
#include "indicators/moving_averages/zlema.hpp"

namespace ostrel {
namespace {

// MACD built from zero-lag averages: Zlema(fast) − Zlema(slow), with a Zlema(signal) signal.
class ZeroLagMacd {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<ZeroLagMacd, CoreError> create(std::uint64_t fast, std::uint64_t slow,
                                                        std::uint64_t signal) {
        if (auto e = convergence_error("ZeroLagMACD fast period must be strictly less than slow", fast, slow, signal))
            return std::unexpected(*e);
        return ZeroLagMacd(*Zlema::create(fast), *Zlema::create(slow), *Zlema::create(signal));
    }

    std::optional<MacdOutputs> update(double x) {
        const auto fast = fast_.update(x);
        const auto slow = slow_.update(x);
        if (!fast || !slow) return std::nullopt;
        const double macd = *fast - *slow;
        const auto signal = signal_.update(macd);  // a non-finite macd is not taken in
        if (!signal) return std::nullopt;
        return macd_outputs(macd, *signal);
    }

    // The slow line's warm-up, then the signal's over that many macd values.
    std::size_t warmup_period() const { return slow_.warmup_period() + signal_.warmup_period() - 1; }

private:
    ZeroLagMacd(Zlema fast, Zlema slow, Zlema signal) : fast_(fast), slow_(slow), signal_(signal) {}
    Zlema fast_;
    Zlema slow_;
    Zlema signal_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ZeroLagMacd, ostrel::ZeroLagMacd::create(p.count(0), p.count(1), p.count(2)))
