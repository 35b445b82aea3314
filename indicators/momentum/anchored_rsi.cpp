#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/indicator.hpp"

namespace ostrel {
namespace {

// RSI of every gain and loss since the first close, without smoothing or window.
class AnchoredRsi {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<AnchoredRsi, CoreError> create() { return AnchoredRsi(); }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!has_prev_) {
            prev_ = x;
            has_prev_ = true;
            return std::nullopt;
        }
        const double d = x - prev_;
        if (!std::isfinite(d)) return std::nullopt;
        prev_ = x;
        if (d > 0.0) gains_ += d;
        else if (d < 0.0) losses_ -= d;
        if (losses_ == 0.0) return gains_ != 0.0 ? 100.0 : 50.0;
        return 100.0 - 100.0 / (1.0 + gains_ / losses_);
    }

    std::size_t warmup_period() const { return 2; }

private:
    double prev_ = 0.0;
    bool has_prev_ = false;
    double gains_ = 0.0;
    double losses_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AnchoredRsi, ostrel::AnchoredRsi::create())
