#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"

namespace ostrel {
namespace {

// Absolute price oscillator: EMA(fast) − EMA(slow).
class Apo {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Apo, CoreError> create(std::uint64_t fast, std::uint64_t slow) {
        if (auto e = convergence_error("APO fast period must be strictly less than slow", fast, slow))
            return std::unexpected(*e);
        return Apo(fast, slow);
    }

    std::optional<double> update(double x) {
        const auto pair = spread_.push(x);
        if (!pair) return std::nullopt;
        return pair->fast - pair->slow;
    }

    std::size_t warmup_period() const { return spread_.warmup_period(); }

private:
    Apo(std::uint64_t fast, std::uint64_t slow) : spread_(fast, slow) {}
    EmaSpread spread_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Apo, ostrel::Apo::create(p.count(0), p.count(1)))
