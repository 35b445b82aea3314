#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/risk/gain_loss_window.hpp"
#include "indicators/risk/tail_quantiles.hpp"

namespace ostrel {
namespace {

// The tail ratio times the window's gross gain over gross loss; 0 when either denominator is.
class CommonSenseRatio {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<CommonSenseRatio, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("common sense ratio needs period >= 2"));
        return CommonSenseRatio(period);
    }

    std::optional<double> update(double r) {
        if (!sides_.push(r)) return std::nullopt;
        window_.push(r);
        if (!window_.full()) return std::nullopt;
        const auto tail = tail_ratio(window_);
        if (!tail || sides_.loss_count() == 0) return 0.0;
        return *tail * (sides_.gains() / sides_.losses());
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    explicit CommonSenseRatio(std::size_t n) : window_(n), sides_(n) {}

    SortedWindow window_;
    GainLossWindow sides_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(CommonSenseRatio, ostrel::CommonSenseRatio::create(p.count(0)))
