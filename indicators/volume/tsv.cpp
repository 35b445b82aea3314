#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Time-segmented volume: the sum over the last N candles of volume·(close − previous close),
// from the second candle. A window without any such flow sums to exactly 0.
class Tsv {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Tsv, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return Tsv(n);
    }

    std::optional<double> update(const Candle& c) {
        if (!prev_close_) {
            prev_close_ = c.close;
            return std::nullopt;
        }
        const double flow = c.volume * (c.close - *prev_close_);
        // A flow beyond the largest doubles drops the candle whole.
        if (!std::isfinite(flow)) return std::nullopt;
        prev_close_ = c.close;
        flows_.push(flow);
        if (!flows_.full()) return std::nullopt;
        return flows_.sum();
    }

    std::size_t warmup_period() const { return flows_.period() + 1; }

private:
    explicit Tsv(std::uint64_t n) : flows_(n) {}

    RunningSum flows_;
    std::optional<double> prev_close_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Tsv, ostrel::Tsv::create(p.count(0)))
