#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// An RSI whose averages follow the gains and losses with Kaufman's efficiency-ratio constant:
// fast (2/3) along a clean trend, slow (2/31) in noise, squared.
class AdaptiveRsi {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<AdaptiveRsi, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        // The close window holds N + 1; compared without adding so no value can wrap.
        if (n >= MAX_PERIOD) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return AdaptiveRsi(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (closes_.empty()) {
            closes_.push(x);
            return std::nullopt;
        }
        const double d = x - closes_.newest();
        if (!std::isfinite(d)) return std::nullopt;
        closes_.push(x);
        path_.push(std::fabs(d));
        const double gain = d > 0.0 ? d : 0.0;
        const double loss = d < 0.0 ? -d : 0.0;
        if (!seeded_) {
            gain_sum_ += gain;
            loss_sum_ += loss;
            if (!path_.full()) return std::nullopt;
            const double n = static_cast<double>(path_.period());
            avg_gain_ = gain_sum_ / n;
            avg_loss_ = loss_sum_ / n;
            seeded_ = true;
        } else {
            const double v = path_.sum();
            double sc = 0.004162330905306971;  // (2/31)², the slow constant
            if (v != 0.0) {
                const double er = std::clamp(std::fabs(x - closes_.oldest()) / v, 0.0, 1.0);
                const double t = er * 0.6021505376344085 + 0.06451612903225806;
                sc = t * t;
            }
            avg_gain_ += sc * (gain - avg_gain_);
            avg_loss_ += sc * (loss - avg_loss_);
        }
        const double s = avg_gain_ + avg_loss_;
        return s == 0.0 ? 50.0 : 100.0 * avg_gain_ / s;
    }

    std::size_t warmup_period() const { return closes_.capacity(); }

private:
    explicit AdaptiveRsi(std::uint64_t n) : closes_(n + 1), path_(n) {}

    RingWindow<double> closes_;
    RunningSum path_;  // the last N absolute changes
    double gain_sum_ = 0.0;
    double loss_sum_ = 0.0;
    double avg_gain_ = 0.0;
    double avg_loss_ = 0.0;
    bool seeded_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AdaptiveRsi, ostrel::AdaptiveRsi::create(p.count(0)))
