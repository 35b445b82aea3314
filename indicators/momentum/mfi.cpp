#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Money flow index: the share of the last N candles' money flow (typical price × volume) that
// came on a rising typical price. The window sums know when they hold only zeros, so a
// quiet window takes the documented 100 or 50 instead of comparing residues.
class Mfi {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Mfi, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return Mfi(n);
    }

    std::optional<double> update(const Candle& c) {
        const double tp = (c.high + c.low + c.close) / 3.0;
        const double flow = tp * c.volume;
        if (!std::isfinite(flow)) return std::nullopt;
        if (!has_prev_) {
            prev_tp_ = tp;
            has_prev_ = true;
            return std::nullopt;
        }
        positive_.push(tp > prev_tp_ ? flow : 0.0);
        negative_.push(tp < prev_tp_ ? flow : 0.0);
        prev_tp_ = tp;
        if (!positive_.full()) return std::nullopt;
        const double p = positive_.sum();
        const double m = negative_.sum();
        if (m == 0.0) return p == 0.0 ? 50.0 : 100.0;
        // Negative prices can make the flows cancel; that reads as balanced, not as a 0/0.
        if (p + m == 0.0) return 50.0;
        return 100.0 * p / (p + m);
    }

    std::size_t warmup_period() const { return positive_.period() + 1; }

private:
    explicit Mfi(std::uint64_t n) : positive_(n), negative_(n) {}

    RunningSum positive_;
    RunningSum negative_;
    double prev_tp_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Mfi, ostrel::Mfi::create(p.count(0)))
